// Connection: the bar and its six buttons as the mail client sees them being added, by version,
// and what the add-in does when the mail client refuses a step.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AddinTestSupport.h"
#include "ComTestSupport.h"

namespace {

using addintest::AddinTest;
using addintest::MessageBoxes;
using addintest::MessageBoxLine;
using addintest::ModelLines;
using addintest::SatelliteText;
using testsupport::Narrow;

struct Row {
    long parameter;
    UINT caption, tooltip;
    long faceId;
};
// Toolbar order: start page, send, inbox, sent items, account options (7), purchase (8).
const Row kRows[] = {{1, 104, 105, 2892}, {2, 106, 107, 5596}, {5, 2, 3, 325},
                     {6, 4, 5, 578},      {7, 8, 9, 3270},     {8, 6, 7, 52}};

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

// Everything the add-in asks of the mail client for one button, in order.
std::vector<std::wstring> ButtonLines(int number, const Row& row, bool pictures) {
    const std::wstring b = L"Button" + std::to_wstring(number);
    const std::wstring caption = SatelliteText(row.caption);
    std::vector<std::wstring> lines = {
        L"Controls.Add(Type=I4:1, Id=I4:1, Parameter=I4:" + std::to_wstring(row.parameter) +
            L", Before=missing, Temporary=I2:0) -> " + b,
        b + L".Visible=true",
        b + L".Caption=" + Quoted(caption),
        b + L".Enabled=true",
        b + L".TooltipText=" + Quoted(SatelliteText(row.tooltip)),
        b + L".Tag=" + Quoted(caption)};
    if (pictures) {
        lines.push_back(b + L".Picture=bitmap 16x16");
        lines.push_back(b + L".Mask=bitmap 16x16");
    } else {
        lines.push_back(b + L".FaceId=" + std::to_wstring(row.faceId));
    }
    lines.push_back(b + L".Style=3");
    lines.push_back(b + L".Advise");
    return lines;
}

std::vector<std::wstring> ConnectionLines(const std::wstring& version, bool pictures) {
    std::vector<std::wstring> lines = {
        L"Application.Version -> " + Quoted(version),
        L"Application.ActiveExplorer",
        L"Explorer.CommandBars",
        L"CommandBars.Add(Name=BSTR:" + Quoted(SatelliteText(101)) + L", Position=I4:1, MenuBar=missing, Temporary=I2:-1)",
        L"CommandBar.Controls"};
    int number = 0;
    for (const Row& row : kRows) {
        std::vector<std::wstring> button = ButtonLines(++number, row, pictures);
        lines.insert(lines.end(), button.begin(), button.end());
    }
    lines.push_back(L"CommandBar.Visible=true");
    return lines;
}

void ExpectLines(const std::vector<std::wstring>& expected, const std::vector<std::wstring>& actual) {
    const size_t count = std::max(expected.size(), actual.size());
    for (size_t i = 0; i < count; ++i) {
        const std::wstring e = i < expected.size() ? expected[i] : L"<none>";
        const std::wstring a = i < actual.size() ? actual[i] : L"<none>";
        if (e != a) {
            ADD_FAILURE() << "line " << i << ": expected [" << Narrow(e) << "] got [" << Narrow(a) << "]";
            return;
        }
    }
}

class ToolbarTest : public AddinTest {};

TEST_F(ToolbarTest, VersionElevenGetsTheBarWithSixPictureButtonsInOrder) {
    ASSERT_FALSE(SatelliteText(101).empty()) << "the satellite library is beside the program";
    switches.version = L"11.0";
    ASSERT_HRESULT_SUCCEEDED(Connect());
    ExpectLines(ConnectionLines(L"11.0", true), ModelLines(log));
    EXPECT_TRUE(MessageBoxes(log).empty());

    ASSERT_TRUE(outlook->HasBar());
    EXPECT_EQ(SatelliteText(101), outlook->BarName());
    EXPECT_TRUE(outlook->BarVisible());
    ASSERT_EQ(6u, outlook->ButtonCount());
    for (size_t i = 0; i < 6; ++i) {
        const auto button = outlook->Button(i);
        EXPECT_EQ(std::to_wstring(kRows[i].parameter), button.parameter);
        EXPECT_EQ(SatelliteText(kRows[i].caption), button.caption);
        EXPECT_EQ(button.caption, button.tag);
        EXPECT_TRUE(button.visible && button.enabled);
        EXPECT_EQ(3, button.style);
        EXPECT_EQ(0, button.faceId);
        EXPECT_EQ(16, button.picture.cx);
        EXPECT_EQ(16, button.mask.cy);
        EXPECT_EQ(1u, button.sinks) << "each button has its holder listening";
    }
}

TEST_F(ToolbarTest, VersionNineGetsBuiltInFaces) {
    switches.version = L"9.0";
    ASSERT_HRESULT_SUCCEEDED(Connect());
    ExpectLines(ConnectionLines(L"9.0", false), ModelLines(log));
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(kRows[i].faceId, outlook->Button(i).faceId);
        EXPECT_EQ(0, outlook->Button(i).picture.cx);
    }
}

TEST_F(ToolbarTest, TheMajorVersionIsTheNumberBeforeTheFirstDot) {
    struct Case {
        const wchar_t* version;
        bool pictures;
    } cases[] = {{L"10", true}, {L"9", false}, {L"12.0.4518.1014", true}, {L"9.0.0.2711", false},
                 {L"", false},  {L"x", false}};
    for (const Case& c : cases) {
        log.Clear();
        host.reset();
        switches.version = c.version;
        ASSERT_HRESULT_SUCCEEDED(Connect()) << Narrow(c.version);
        size_t pictures = 0;
        for (const std::wstring& line : log.Lines())
            if (line.find(L".Picture=bitmap") != std::wstring::npos) ++pictures;
        EXPECT_EQ(c.pictures ? 6u : 0u, pictures) << Narrow(c.version);
        EXPECT_EQ(c.pictures ? 0 : kRows[0].faceId, outlook->Button(0).faceId) << Narrow(c.version);
    }
}

TEST_F(ToolbarTest, AFaceTheMailClientRefusesLeavesTheButtonWithoutOne) {
    switches.version = L"9.0";
    switches.failingMember = L"Button.FaceId";
    ASSERT_EQ(S_OK, Connect());
    EXPECT_EQ(6u, outlook->ButtonCount());
    EXPECT_TRUE(outlook->BarVisible());
    EXPECT_TRUE(MessageBoxes(log).empty());
    EXPECT_EQ(3, outlook->Button(5).style);
}

TEST_F(ToolbarTest, ARefusedButtonStepEndsTheConnectionWithOneErrorBox) {
    switches.failingMember = L"Button3.Style";
    EXPECT_EQ(E_FAIL, Connect());
    EXPECT_EQ((std::vector<std::wstring>{MessageBoxLine(SatelliteText(101), L"The mail client refused Button3.Style.",
                                                        MB_ICONERROR)}),
              MessageBoxes(log));
    EXPECT_EQ(3u, outlook->ButtonCount()) << "buttons not yet added stay missing";
    EXPECT_FALSE(outlook->BarVisible());
    EXPECT_TRUE(log.LinesStartingWith(L"Button3.Advise").empty());
    // The add-in the mail client dropped let go of the buttons it had.
    EXPECT_EQ(0u, outlook->Button(0).sinks);
    EXPECT_EQ(0u, outlook->Button(1).sinks);
}

TEST_F(ToolbarTest, ARefusedBarIsReportedAndReturned) {
    switches.failingMember = L"CommandBars.Add";
    EXPECT_EQ(E_FAIL, Connect());
    EXPECT_EQ(1u, MessageBoxes(log).size());
    EXPECT_FALSE(outlook->HasBar());
    EXPECT_EQ(0u, outlook->ButtonCount());
}

TEST_F(ToolbarTest, FailuresBeforeTheBarAreReturnedWithoutABox) {
    for (const wchar_t* member : {L"Explorer.CommandBars", L"Application.ActiveExplorer", L"Application.Version"}) {
        log.Clear();
        host.reset();
        switches.failingMember = member;
        EXPECT_EQ(E_FAIL, Connect()) << Narrow(member);
        EXPECT_TRUE(MessageBoxes(log).empty()) << Narrow(member);
        EXPECT_FALSE(outlook->HasBar()) << Narrow(member);
    }
}

TEST_F(ToolbarTest, WithoutAnExplorerWindowTheAddinConnectsAndAddsNoBar) {
    switches.noActiveExplorer = true;
    EXPECT_EQ(S_OK, Connect());
    EXPECT_FALSE(outlook->HasBar());
    EXPECT_TRUE(log.LinesStartingWith(L"Explorer.").empty());
    EXPECT_TRUE(MessageBoxes(log).empty());
}

// A class object for the button holder's class that refuses every object.
class RefusingFactory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
        *ppv = (iid == IID_IUnknown || iid == IID_IClassFactory) ? this : nullptr;
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown*, REFIID, void** ppv) override {
        *ppv = nullptr;
        return E_OUTOFMEMORY;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

TEST_F(ToolbarTest, AButtonHolderThatCannotBeCreatedIsAFailedStep) {
    const CLSID holderClass = {0xB823EBFD, 0x5B53, 0x453E, {0x80, 0xDD, 0x72, 0xE8, 0xAA, 0xFC, 0xAC, 0xBB}};
    RefusingFactory factory;
    DWORD cookie = 0;
    ASSERT_HRESULT_SUCCEEDED(
        ::CoRegisterClassObject(holderClass, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie));
    const HRESULT hr = Connect();
    ::CoRevokeClassObject(cookie);
    EXPECT_EQ(E_OUTOFMEMORY, hr);
    EXPECT_EQ((std::vector<std::wstring>{MessageBoxLine(SatelliteText(101), SatelliteText(103), MB_ICONERROR)}),
              MessageBoxes(log));
    EXPECT_EQ(1u, outlook->ButtonCount());
    EXPECT_FALSE(outlook->BarVisible());
}

TEST_F(ToolbarTest, TheConnectionInterfaceIsNotInTheAddinsTypeLibrary) {
    ITypeLib* library = nullptr;
    ASSERT_HRESULT_SUCCEEDED(
        ::LoadTypeLibEx(testsupport::BesideProgram(L"TarvockOfficePlugin.dll").c_str(), REGKIND_NONE, &library));
    const IID extensibility = {0xB65AD801, 0xABAF, 0x11D0, {0xBB, 0x8B, 0x00, 0xA0, 0xC9, 0x0F, 0x27, 0x44}};
    ITypeInfo* info = nullptr;
    EXPECT_EQ(TYPE_E_ELEMENTNOTFOUND, library->GetTypeInfoOfGuid(extensibility, &info));
    if (info) info->Release();
    EXPECT_EQ(4u, library->GetTypeInfoCount()) << "IAddin, IButtonHolder and the two classes";
    library->Release();
}

}  // namespace
