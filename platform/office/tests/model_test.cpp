// The fake object model as our add-in sees it: late-bound calls by name, the exact log lines,
// refusals reaching the caller as DISP_E_EXCEPTION, and the buttons' Click event.
#include <olectl.h>

#include <algorithm>
#include <memory>

#include "ComTestSupport.h"
#include "OfficeTestSupport.h"

using namespace officetest;
using officehost::CallLog;
using officehost::FakeOutlook;
using officehost::HostSwitches;
using testsupport::Narrow;
using Lines = std::vector<std::wstring>;

namespace {

std::vector<std::string> Narrowed(const Lines& lines) {
    std::vector<std::string> narrow;
    for (const auto& line : lines) narrow.push_back(Narrow(line));
    return narrow;
}

// The lines that contain any of the words, in order.
Lines Containing(const CallLog& log, std::initializer_list<const wchar_t*> words) {
    Lines found;
    for (const auto& line : log.Lines()) {
        for (const wchar_t* word : words) {
            if (line.find(word) != std::wstring::npos) {
                found.push_back(line);
                break;
            }
        }
    }
    return found;
}

const std::vector<ButtonPlan> kTwoButtons = {{L"Inbox", 7, 2892, 3}, {L"Outbox", 8, 0, 1}};

class ModelTest : public testsupport::ComTest {
protected:
    std::unique_ptr<FakeOutlook> Start(const HostSwitches& switches = HostSwitches()) {
        return std::make_unique<FakeOutlook>(switches, log);
    }
    HostSwitches Failing(const wchar_t* member) {
        HostSwitches switches;
        switches.failingMember = member;
        return switches;
    }
    CallLog log;
};

TEST_F(ModelTest, AddinCallsByNameAreLoggedExactly) {
    auto outlook = Start();
    ToolbarScript script;
    ASSERT_HRESULT_SUCCEEDED(script.Build(outlook->Application(), kTwoButtons));

    const Lines expected = {
        L"Application.Version -> \"11.0\"",
        L"Application.ActiveExplorer",
        L"Explorer.CommandBars",
        L"CommandBars.Add(Name=BSTR:\"Tarvock Brindlepost\", Position=I4:1, MenuBar=missing, Temporary=I2:-1)",
        L"CommandBar.Controls",
        L"CommandBar.Visible=true",
        L"Controls.Add(Type=I4:1, Id=I4:1, Parameter=I4:7, Before=missing, Temporary=I2:0) -> Button1",
        L"Button1.Visible=true",
        L"Button1.Caption=\"Inbox\"",
        L"Button1.Enabled=true",
        L"Button1.TooltipText=\"Open Inbox\"",
        L"Button1.Tag=\"Inbox\"",
        L"Button1.FaceId=2892",
        L"Button1.Style=3",
        L"Button1.Advise",
        L"Controls.Add(Type=I4:1, Id=I4:1, Parameter=I4:8, Before=missing, Temporary=I2:0) -> Button2",
        L"Button2.Visible=true",
        L"Button2.Caption=\"Outbox\"",
        L"Button2.Enabled=true",
        L"Button2.TooltipText=\"Open Outbox\"",
        L"Button2.Tag=\"Outbox\"",
        L"Button2.Picture=bitmap 16x16",
        L"Button2.Mask=bitmap 16x16",
        L"Button2.Style=1",
        L"Button2.Advise",
    };
    EXPECT_EQ(Narrowed(expected), Narrowed(log.Lines()));
}

TEST_F(ModelTest, StateFollowsWhatTheAddinSet) {
    HostSwitches switches;
    switches.version = L"12.0";
    auto outlook = Start(switches);
    ToolbarScript script;
    ASSERT_HRESULT_SUCCEEDED(script.Build(outlook->Application(), kTwoButtons));

    EXPECT_EQ(Lines{L"Application.Version -> \"12.0\""}, log.LinesStartingWith(L"Application.Version"));
    EXPECT_TRUE(outlook->HasBar());
    EXPECT_EQ("Tarvock Brindlepost", Narrow(outlook->BarName()));
    EXPECT_TRUE(outlook->BarVisible());
    ASSERT_EQ(2u, outlook->ButtonCount());
    const auto first = outlook->Button(0);
    EXPECT_EQ("Inbox", Narrow(first.caption));
    EXPECT_EQ("Open Inbox", Narrow(first.tooltip));
    EXPECT_EQ("Inbox", Narrow(first.tag));
    EXPECT_EQ("7", Narrow(first.parameter));
    EXPECT_EQ(2892, first.faceId);
    EXPECT_EQ(3, first.style);
    EXPECT_TRUE(first.visible);
    EXPECT_TRUE(first.enabled);
    EXPECT_EQ(0, first.picture.cx);
    EXPECT_EQ(1u, first.sinks);
    const auto second = outlook->Button(1);
    EXPECT_EQ(16, second.picture.cx);
    EXPECT_EQ(16, second.picture.cy);
    EXPECT_EQ(16, second.mask.cx);
    EXPECT_EQ(0, second.faceId);
    EXPECT_THROW(outlook->Button(2), std::out_of_range);
}

TEST_F(ModelTest, NothingIsMadeBeforeTheAddinAsks) {
    auto outlook = Start();
    EXPECT_FALSE(outlook->HasBar());
    EXPECT_FALSE(outlook->BarVisible());
    EXPECT_EQ(0u, outlook->ButtonCount());
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(ModelTest, ArgumentsOfOtherTypesAreLoggedByVariantType) {
    auto outlook = Start();
    IDispatch* explorer = GetObjectOf(outlook->Application(), L"ActiveExplorer", DISPATCH_METHOD);
    ASSERT_NE(nullptr, explorer);
    IDispatch* bars = GetObjectOf(explorer, L"CommandBars");
    ASSERT_NE(nullptr, bars);
    VARIANT real;
    ::VariantInit(&real);
    real.vt = VT_R8;
    real.dblVal = 1.5;
    Var bar;
    ASSERT_HRESULT_SUCCEEDED(
        Call(bars, L"Add", DISPATCH_METHOD, {VariantText(L"Second"), testsupport::VariantBool(true), real}, &bar.v));
    EXPECT_EQ(Lines{L"CommandBars.Add(Name=BSTR:\"Second\", Position=BOOL:true, MenuBar=VT5, Temporary=missing)"},
              log.LinesStartingWith(L"CommandBars.Add"));
    EXPECT_EQ("Second", Narrow(outlook->BarName()));
    EXPECT_FALSE(outlook->BarVisible());
    bars->Release();
    explorer->Release();
}

TEST_F(ModelTest, RefusalReachesTheCallerAsAnExceptionWithDescription) {
    auto outlook = Start(Failing(L"Application.Version"));
    Var version;
    EXCEPINFO excep = {};
    const HRESULT hr = Call(outlook->Application(), L"Version", DISPATCH_PROPERTYGET, {}, &version.v, &excep);
    EXPECT_EQ(DISP_E_EXCEPTION, hr);
    EXPECT_EQ(E_FAIL, excep.scode);
    EXPECT_EQ("The mail client refused Application.Version.", Narrow(excep.bstrDescription));
    EXPECT_EQ(Lines{L"Application.Version -> failed"}, log.Lines());
    ::SysFreeString(excep.bstrDescription);
    ::SysFreeString(excep.bstrSource);
    ::SysFreeString(excep.bstrHelpFile);
}

TEST_F(ModelTest, ObjectsSupportErrorInfoOnTheirInterface) {
    auto outlook = Start();
    ISupportErrorInfo* support = nullptr;
    ASSERT_HRESULT_SUCCEEDED(outlook->Application()->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)));
    EXPECT_EQ(S_OK, support->InterfaceSupportsErrorInfo(IID__Application));
    EXPECT_EQ(S_FALSE, support->InterfaceSupportsErrorInfo(IID_IConnectionPointContainer));
    support->Release();
}

struct Refusal {
    const wchar_t* member;
    const wchar_t* failedLine;
    HRESULT seen = DISP_E_EXCEPTION;   // what the add-in gets: late-bound calls see the exception
};

class RefusalTest : public ModelTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusalTest, StopsTheAddinAtThatMember) {
    auto outlook = Start(Failing(GetParam().member));
    ToolbarScript script;
    EXPECT_EQ(GetParam().seen, script.Build(outlook->Application(), kTwoButtons));
    const Lines lines = log.Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(Narrow(GetParam().failedLine), Narrow(lines.back()));
    EXPECT_EQ(1, std::count_if(lines.begin(), lines.end(), [](const std::wstring& line) {
                  return line.find(L" -> failed") != std::wstring::npos;
              }));
}

INSTANTIATE_TEST_SUITE_P(
    Members, RefusalTest,
    ::testing::Values(
        Refusal{L"Application.Version", L"Application.Version -> failed"},
        Refusal{L"Application.ActiveExplorer", L"Application.ActiveExplorer -> failed"},
        Refusal{L"Explorer.CommandBars", L"Explorer.CommandBars -> failed"},
        Refusal{L"CommandBars.Add",
                L"CommandBars.Add(Name=BSTR:\"Tarvock Brindlepost\", Position=I4:1, MenuBar=missing, Temporary=I2:-1) -> failed"},
        Refusal{L"CommandBar.Controls", L"CommandBar.Controls -> failed"},
        Refusal{L"CommandBar.Visible", L"CommandBar.Visible=true -> failed"},
        Refusal{L"Controls.Add",
                L"Controls.Add(Type=I4:1, Id=I4:1, Parameter=I4:7, Before=missing, Temporary=I2:0) -> failed"},
        Refusal{L"Button.Caption", L"Button1.Caption=\"Inbox\" -> failed"},
        Refusal{L"Button.FaceId", L"Button1.FaceId=2892 -> failed"},
        Refusal{L"Button.Picture", L"Button2.Picture=bitmap 16x16 -> failed"},
        Refusal{L"Button.Mask", L"Button2.Mask=bitmap 16x16 -> failed"},
        Refusal{L"Button.Style", L"Button1.Style=3 -> failed"},
        Refusal{L"Button2.Style", L"Button2.Style=1 -> failed"},
        Refusal{L"Button.Advise", L"Button1.Advise -> failed", E_FAIL}));

TEST_F(ModelTest, RefusalOfOneButtonLeavesTheOthersAlone) {
    auto outlook = Start(Failing(L"Button3.Style"));
    ToolbarScript script;
    EXPECT_EQ(DISP_E_EXCEPTION,
              script.Build(outlook->Application(), {{L"A", 1, 1, 3}, {L"B", 2, 2, 3}, {L"C", 3, 3, 3}}));
    EXPECT_EQ((Lines{L"Button1.Style=3", L"Button2.Style=3", L"Button3.Style=3 -> failed"}), Containing(log, {L".Style"}));
    EXPECT_EQ(0, outlook->Button(2).style);
}

TEST_F(ModelTest, NoActiveExplorerAnswersNothing) {
    HostSwitches switches;
    switches.noActiveExplorer = true;
    auto outlook = Start(switches);
    Var explorer;
    ASSERT_EQ(S_OK, Call(outlook->Application(), L"ActiveExplorer", DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, &explorer.v));
    EXPECT_EQ(VT_DISPATCH, explorer.v.vt);
    EXPECT_EQ(nullptr, explorer.v.pdispVal);
    EXPECT_EQ(Lines{L"Application.ActiveExplorer"}, log.Lines());
}

TEST_F(ModelTest, ClickReachesTheSinkWithTheButton) {
    auto outlook = Start();
    ToolbarScript script;
    ASSERT_HRESULT_SUCCEEDED(script.Build(outlook->Application(), kTwoButtons));
    log.Clear();

    EXPECT_EQ(1u, outlook->Click(0));
    ClickSink* sink = script.Sink(0);
    EXPECT_EQ(1, sink->clicks);
    EXPECT_EQ("", Narrow(sink->problem));
    EXPECT_EQ(std::vector<std::wstring>{L"7"}, sink->parameters);
    EXPECT_EQ(0, script.Sink(1)->clicks);
    EXPECT_EQ((Lines{L"Button1.Click", L"Button1.Parameter -> \"7\""}), log.Lines());

    outlook->SetParameter(0, L"not a number");
    outlook->Click(0);
    EXPECT_EQ((std::vector<std::wstring>{L"7", L"not a number"}), sink->parameters);
}

TEST_F(ModelTest, ClickAfterUnadviseReachesNobody) {
    auto outlook = Start();
    ToolbarScript script;
    ASSERT_HRESULT_SUCCEEDED(script.Build(outlook->Application(), kTwoButtons));
    ClickSink* sink = script.Sink(0);
    sink->AddRef();
    log.Clear();
    script.Teardown();
    EXPECT_EQ((Lines{L"Button1.Unadvise", L"Button2.Unadvise"}), log.Lines());
    EXPECT_EQ(0u, outlook->Button(0).sinks);
    EXPECT_EQ(1u, sink->refs());   // the button let go of it
    EXPECT_EQ(0u, outlook->Click(0));
    EXPECT_EQ(0, sink->clicks);
    sink->Release();
}

TEST_F(ModelTest, RefusedParameterReachesTheSinkAsAFailure) {
    auto outlook = Start(Failing(L"Button.Parameter"));
    ToolbarScript script;
    ASSERT_HRESULT_SUCCEEDED(script.Build(outlook->Application(), kTwoButtons));
    EXPECT_EQ(1u, outlook->Click(1));
    EXPECT_EQ("Ctrl.Parameter unreadable; ", Narrow(script.Sink(1)->problem));
    EXPECT_EQ(Lines{L"Button2.Parameter -> failed"}, log.LinesStartingWith(L"Button2.Parameter"));
}

// A button, made by name through the model, for the connection point tests.
class ButtonTest : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        outlook = Start();
        IDispatch* explorer = GetObjectOf(outlook->Application(), L"ActiveExplorer", DISPATCH_METHOD);
        IDispatch* bars = GetObjectOf(explorer, L"CommandBars");
        Var bar;
        ASSERT_HRESULT_SUCCEEDED(Call(bars, L"Add", DISPATCH_METHOD, {VariantText(L"Bar")}, &bar.v));
        IDispatch* controls = GetObjectOf(bar.v.pdispVal, L"Controls");
        Var added;
        ASSERT_HRESULT_SUCCEEDED(Call(controls, L"Add", DISPATCH_METHOD, {VariantI4(1)}, &added.v));
        ASSERT_HRESULT_SUCCEEDED(added.v.pdispVal->QueryInterface(IID__CommandBarButton, reinterpret_cast<void**>(&button)));
        controls->Release();
        bars->Release();
        explorer->Release();
        IConnectionPointContainer* container = nullptr;
        ASSERT_HRESULT_SUCCEEDED(button->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)));
        ASSERT_EQ(S_OK, container->FindConnectionPoint(DIID__CommandBarButtonEvents, &point));
        container->Release();
    }
    void TearDown() override {
        if (point) point->Release();
        if (button) button->Release();
        outlook.reset();
        ModelTest::TearDown();
    }
    std::unique_ptr<FakeOutlook> outlook;
    _CommandBarButton* button = nullptr;
    IConnectionPoint* point = nullptr;
};

TEST_F(ButtonTest, OnlyTheButtonEventsHaveAConnectionPoint) {
    IConnectionPointContainer* container = nullptr;
    ASSERT_HRESULT_SUCCEEDED(button->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)));
    IConnectionPoint* other = reinterpret_cast<IConnectionPoint*>(1);
    EXPECT_EQ(CONNECT_E_NOCONNECTION, container->FindConnectionPoint(IID_IPropertyNotifySink, &other));
    EXPECT_EQ(nullptr, other);
    IID events = {};
    EXPECT_EQ(S_OK, point->GetConnectionInterface(&events));
    EXPECT_TRUE(IsEqualIID(DIID__CommandBarButtonEvents, events));
    container->Release();
}

TEST_F(ButtonTest, CookiesCountFromOneAndUnknownOnesAreRefused) {
    ClickSink* first = new ClickSink;
    ClickSink* second = new ClickSink;
    DWORD cookie1 = 0, cookie2 = 0;
    EXPECT_EQ(S_OK, point->Advise(first, &cookie1));
    EXPECT_EQ(S_OK, point->Advise(second, &cookie2));
    EXPECT_EQ(1u, cookie1);
    EXPECT_EQ(2u, cookie2);
    EXPECT_EQ(2u, outlook->Click(0));
    EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(7));
    EXPECT_EQ(S_OK, point->Unadvise(cookie1));
    EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(cookie1));
    EXPECT_EQ(1u, outlook->Click(0));
    EXPECT_EQ(1, first->clicks);
    EXPECT_EQ(2, second->clicks);
    EXPECT_EQ(S_OK, point->Unadvise(cookie2));
    EXPECT_EQ((Lines{L"Button1.Advise", L"Button1.Advise", L"Button1.Unadvise -> failed", L"Button1.Unadvise",
                     L"Button1.Unadvise -> failed", L"Button1.Unadvise"}),
              Containing(log, {L".Advise", L".Unadvise"}));
    first->Release();
    second->Release();
}

// An object that is no dispatch sink.
class PlainObject : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        *object = iid == IID_IUnknown ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

TEST_F(ButtonTest, ASinkWithoutIDispatchCannotConnect) {
    PlainObject plain;
    DWORD cookie = 99;
    EXPECT_EQ(CONNECT_E_CANNOTCONNECT, point->Advise(&plain, &cookie));
    EXPECT_EQ(0u, cookie);
    EXPECT_EQ(0u, outlook->Button(0).sinks);
}

TEST_F(ButtonTest, ThePictureSetIsKeptAndAnIconIsNotABitmap) {
    IPictureDisp* bitmap = BitmapPicture(24, 20);
    ASSERT_NE(nullptr, bitmap);
    ASSERT_HRESULT_SUCCEEDED(Put(button, L"Picture", VariantDispatch(bitmap)));
    bitmap->Release();   // the button holds the only reference now
    Var got;
    ASSERT_HRESULT_SUCCEEDED(Call(button, L"Picture", DISPATCH_PROPERTYGET, {}, &got.v));
    ASSERT_EQ(VT_DISPATCH, got.v.vt);
    IPicture* picture = nullptr;
    ASSERT_HRESULT_SUCCEEDED(got.v.pdispVal->QueryInterface(IID_IPicture, reinterpret_cast<void**>(&picture)));
    SHORT type = 0;
    picture->get_Type(&type);
    EXPECT_EQ(PICTYPE_BITMAP, type);
    picture->Release();
    EXPECT_EQ(24, outlook->Button(0).picture.cx);
    EXPECT_EQ(20, outlook->Button(0).picture.cy);

    IPictureDisp* icon = IconPicture();
    ASSERT_NE(nullptr, icon);
    ASSERT_HRESULT_SUCCEEDED(Put(button, L"Mask", VariantDispatch(icon)));
    icon->Release();
    EXPECT_EQ((Lines{L"Button1.Picture=bitmap 24x20", L"Button1.Picture -> bitmap 24x20", L"Button1.Mask=picture 3"}),
              Containing(log, {L".Picture", L".Mask"}));
    EXPECT_EQ(0, outlook->Button(0).mask.cx);
}

TEST_F(ButtonTest, UnknownNamesAreNotFound) {
    EXPECT_EQ(DISPID_UNKNOWN, testsupport::DispIdOf(button, L"Explode"));
    EXPECT_NE(DISPID_UNKNOWN, testsupport::DispIdOf(button, L"caption"));   // names ignore case
}

TEST_F(ButtonTest, ObjectsKeptPastTheModelStaySafe) {
    const size_t before = log.Lines().size();
    outlook.reset();
    EXPECT_EQ(S_OK, Put(button, L"Caption", VariantText(L"Late")));
    EXPECT_EQ(before, log.Lines().size());
}

}  // namespace
