// Loading add-ins as the mail client does: the registered add-ins key, creation by ProgID, the
// _IDTExtensibility2 calls and their order, failures, and the add-in's message boxes.
// These tests write HKCR class keys and HKCU add-in entries (ctest lock outlook_addins).
#include <algorithm>

#include "ComTestSupport.h"
#include "OfficeTestSupport.h"

using namespace officetest;
using officehost::AddinHost;
using officehost::CallLog;
using officehost::FakeOutlook;
using officehost::HostSwitches;
using testsupport::Narrow;
using Lines = std::vector<std::wstring>;

namespace {

// {6F1C2D3E-8A4B-4C5D-9E6F-7A8B9C0D1E21} .. 23
const CLSID kGoodClsid = {0x6f1c2d3e, 0x8a4b, 0x4c5d, {0x9e, 0x6f, 0x7a, 0x8b, 0x9c, 0x0d, 0x1e, 0x21}};
const CLSID kFailingClsid = {0x6f1c2d3e, 0x8a4b, 0x4c5d, {0x9e, 0x6f, 0x7a, 0x8b, 0x9c, 0x0d, 0x1e, 0x22}};
const CLSID kNoExtensibilityClsid = {0x6f1c2d3e, 0x8a4b, 0x4c5d, {0x9e, 0x6f, 0x7a, 0x8b, 0x9c, 0x0d, 0x1e, 0x23}};

// What the test add-ins were called with, in order, across instances.
Lines journal;
int liveAddins = 0;

std::wstring Hex(HRESULT hr) {
    wchar_t text[16];
    swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

std::wstring DescribeCustom(SAFEARRAY** custom) {
    if (!custom || !*custom) return L"none";
    VARTYPE type = VT_EMPTY;
    ::SafeArrayGetVartype(*custom, &type);
    LONG upper = 0, lower = 0;
    ::SafeArrayGetUBound(*custom, 1, &upper);
    ::SafeArrayGetLBound(*custom, 1, &lower);
    return L"dims=" + std::to_wstring(::SafeArrayGetDim(*custom)) + L" vt=" + std::to_wstring(type) +
           L" count=" + std::to_wstring(upper - lower + 1);
}

// The reference counting of a test object made with new: it starts with its creator's reference
// and deletes itself at the last release.
template <class Interface>
class HeapObject : public Interface {
public:
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

protected:
    HeapObject() = default;
    virtual ~HeapObject() = default;

private:
    ULONG refs_ = 1;
};

// A test add-in: builds one button in OnConnection (or fails as told), shows a box when told,
// and unadvises in OnDisconnection.
class TestAddin final : public HeapObject<_IDTExtensibility2> {
public:
    TestAddin(HRESULT connectResult, bool showBox) : connectResult_(connectResult), showBox_(showBox) { ++liveAddins; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid != IID_IUnknown && iid != IID_IDispatch && iid != IID__IDTExtensibility2) return E_NOINTERFACE;
        *object = static_cast<_IDTExtensibility2*>(this);
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* application, ext_ConnectMode mode, IDispatch* addin,
                                           SAFEARRAY** custom) override {
        Var progId;
        Call(addin, L"ProgId", DISPATCH_PROPERTYGET, {}, &progId.v);
        journal.push_back(L"OnConnection mode=" + std::to_wstring(mode) + L" progId=" +
                          (progId.v.vt == VT_BSTR ? std::wstring(progId.v.bstrVal) : L"?") + L" custom " +
                          DescribeCustom(custom));
        if (showBox_) ::MessageBoxW(nullptr, L"Connected", L"Test add-in", MB_OK);
        if (FAILED(connectResult_)) return connectResult_;
        return script_.Build(application, {{L"Inbox", 7, 2892, 3}});
    }
    HRESULT STDMETHODCALLTYPE OnDisconnection(ext_DisconnectMode mode, SAFEARRAY** custom) override {
        journal.push_back(L"OnDisconnection mode=" + std::to_wstring(mode) + L" custom " + DescribeCustom(custom));
        script_.Teardown();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY**) override {
        journal.push_back(L"OnAddInsUpdate");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) override {
        journal.push_back(L"OnStartupComplete custom " + DescribeCustom(custom));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) override {
        journal.push_back(L"OnBeginShutdown custom " + DescribeCustom(custom));
        return S_OK;
    }

private:
    ~TestAddin() { --liveAddins; }
    HRESULT connectResult_;
    bool showBox_;
    ToolbarScript script_;
};

// A class that is no add-in at all.
class NotAnAddin final : public HeapObject<IUnknown> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        *object = iid == IID_IUnknown ? static_cast<IUnknown*>(this) : nullptr;
        if (!*object) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
};

class Factory : public IClassFactory {
public:
    enum Kind { Good, Failing, Boxing, Plain };
    explicit Factory(Kind kind) : kind_(kind) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        *object = (iid == IID_IUnknown || iid == IID_IClassFactory) ? static_cast<IClassFactory*>(this) : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }   // lives on the test's stack
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (outer) return CLASS_E_NOAGGREGATION;
        IUnknown* made = kind_ == Plain ? static_cast<IUnknown*>(new NotAnAddin)
                                        : new TestAddin(kind_ == Failing ? E_FAIL : S_OK, kind_ == Boxing);
        const HRESULT hr = made->QueryInterface(iid, object);
        made->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    Kind kind_;
};

const wchar_t kGood[] = L"TarvockOfficeTest.Good";
const wchar_t kFailing[] = L"TarvockOfficeTest.Failing";
const wchar_t kDormant[] = L"TarvockOfficeTest.Dormant";
const wchar_t kPlain[] = L"TarvockOfficeTest.Plain";

class AddinHostTest : public testsupport::ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        journal.clear();
        liveAddins = 0;
        outlook = std::make_unique<FakeOutlook>(HostSwitches(), log);
    }
    void TearDown() override {
        outlook.reset();
        ComTest::TearDown();
    }
    static bool Has(const Lines& lines, const std::wstring& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    // Lines of the host and the add-in protocol, without the model's calls.
    Lines HostLines() const { return log.LinesStartingWith(L"Host."); }

    CallLog log;
    std::unique_ptr<FakeOutlook> outlook;
    Factory goodFactory{Factory::Good};
    Factory failingFactory{Factory::Failing};
};

TEST_F(AddinHostTest, RegisteredAddinsAreThoseLoadedAtStartup) {
    RegisteredClass good(kGood, kGoodClsid, &goodFactory, 3);
    RegisteredClass dormant(kDormant, kFailingClsid, &failingFactory, 2);
    ASSERT_TRUE(good.ok());
    ASSERT_TRUE(dormant.ok());
    const Lines registered = AddinHost::RegisteredAddins();
    EXPECT_TRUE(Has(registered, kGood));
    EXPECT_FALSE(Has(registered, kDormant));
}

TEST_F(AddinHostTest, ConnectAndDisconnectFollowTheMailClientsOrder) {
    RegisteredClass good(kGood, kGoodClsid, &goodFactory, 3);
    ASSERT_TRUE(good.ok());
    {
        AddinHost host(*outlook, log);
        // By name: other add-ins registered in the prefix (ours) would join a ConnectAll.
        EXPECT_EQ(S_OK, host.Connect(kGood));
        EXPECT_EQ(1u, outlook->ButtonCount());
        EXPECT_EQ(1u, outlook->Button(0).sinks);
        EXPECT_EQ(1u, outlook->Click(0));

        EXPECT_EQ(S_OK, host.DisconnectAll());
        EXPECT_EQ(0, liveAddins);
        EXPECT_EQ(0u, outlook->Button(0).sinks);
    }
    const Lines expectedJournal = {
        L"OnConnection mode=1 progId=TarvockOfficeTest.Good custom dims=1 vt=12 count=0",
        L"OnStartupComplete custom dims=1 vt=12 count=0",
        L"OnBeginShutdown custom dims=1 vt=12 count=0",
        L"OnDisconnection mode=0 custom dims=1 vt=12 count=0",
    };
    EXPECT_EQ(expectedJournal, journal);
    const Lines expectedHost = {
        L"Host.Connect TarvockOfficeTest.Good -> 0x00000000",
        L"Host.OnStartupComplete TarvockOfficeTest.Good -> 0x00000000",
        L"Host.OnBeginShutdown TarvockOfficeTest.Good -> 0x00000000",
        L"Host.OnDisconnection TarvockOfficeTest.Good -> 0x00000000",
    };
    EXPECT_EQ(expectedHost, HostLines());
    // The add-in's own calls come between, in order.
    const Lines lines = log.Lines();
    const auto at = [&](const wchar_t* line) { return std::find(lines.begin(), lines.end(), line) - lines.begin(); };
    EXPECT_LT(at(L"AddIn.ProgId -> \"TarvockOfficeTest.Good\""), at(L"Application.Version -> \"11.0\""));
    EXPECT_LT(at(L"Button1.Advise"), at(L"Host.Connect TarvockOfficeTest.Good -> 0x00000000"));
    EXPECT_LT(at(L"Button1.Click"), at(L"Host.OnBeginShutdown TarvockOfficeTest.Good -> 0x00000000"));
    EXPECT_LT(at(L"Host.OnBeginShutdown TarvockOfficeTest.Good -> 0x00000000"), at(L"Button1.Unadvise"));
    EXPECT_LT(at(L"Button1.Unadvise"), at(L"Host.OnDisconnection TarvockOfficeTest.Good -> 0x00000000"));
}

TEST_F(AddinHostTest, TheHostDisconnectsWhatIsLeftWhenItCloses) {
    RegisteredClass good(kGood, kGoodClsid, &goodFactory, 3);
    ASSERT_TRUE(good.ok());
    {
        AddinHost host(*outlook, log);
        ASSERT_EQ(S_OK, host.Connect(kGood));
    }
    EXPECT_EQ(0, liveAddins);
    EXPECT_EQ(Lines{L"Host.OnDisconnection TarvockOfficeTest.Good -> 0x00000000"},
              log.LinesStartingWith(L"Host.OnDisconnection"));
}

TEST_F(AddinHostTest, AFailedConnectionReleasesTheAddin) {
    RegisteredClass failing(kFailing, kFailingClsid, &failingFactory, 0);
    ASSERT_TRUE(failing.ok());
    AddinHost host(*outlook, log);
    EXPECT_EQ(E_FAIL, host.Connect(kFailing));
    EXPECT_EQ(0, liveAddins);
    EXPECT_EQ(Lines{L"Host.Connect TarvockOfficeTest.Failing -> 0x80004005"}, HostLines());
    EXPECT_EQ(S_OK, host.DisconnectAll());
    EXPECT_EQ(1u, journal.size());   // OnConnection only
}

TEST_F(AddinHostTest, AnUnknownProgIdFailsAndIsLogged) {
    AddinHost host(*outlook, log);
    const HRESULT hr = host.Connect(L"TarvockOfficeTest.Missing");
    EXPECT_TRUE(FAILED(hr));
    EXPECT_EQ(Lines{L"Host.Connect TarvockOfficeTest.Missing -> " + Hex(hr)}, HostLines());
}

TEST_F(AddinHostTest, AClassWithoutTheConnectionInterfaceIsRefused) {
    Factory plainFactory(Factory::Plain);
    RegisteredClass plain(kPlain, kNoExtensibilityClsid, &plainFactory, 0);
    ASSERT_TRUE(plain.ok());
    AddinHost host(*outlook, log);
    EXPECT_EQ(E_NOINTERFACE, host.Connect(kPlain));
    EXPECT_EQ(Lines{L"Host.Connect TarvockOfficeTest.Plain -> 0x80004002"}, HostLines());
}

TEST_F(AddinHostTest, ConnectAllTriesEveryAddinAndReturnsTheFirstFailure) {
    RegisteredClass good(kGood, kGoodClsid, &goodFactory, 3);
    RegisteredClass failing(kFailing, kFailingClsid, &failingFactory, 3);
    ASSERT_TRUE(good.ok());
    ASSERT_TRUE(failing.ok());
    AddinHost host(*outlook, log);
    EXPECT_EQ(E_FAIL, host.ConnectAll());
    EXPECT_TRUE(Has(log.Lines(), L"Host.Connect TarvockOfficeTest.Failing -> 0x80004005"));
    EXPECT_TRUE(Has(log.Lines(), L"Host.Connect TarvockOfficeTest.Good -> 0x00000000"));
    EXPECT_EQ(1, liveAddins);
}

TEST_F(AddinHostTest, TheAddinsMessageBoxesAreRecorded) {
    Factory boxingFactory(Factory::Boxing);
    RegisteredClass boxing(kGood, kGoodClsid, &boxingFactory, 0);
    ASSERT_TRUE(boxing.ok());
    AddinHost host(*outlook, log);
    ASSERT_EQ(S_OK, host.Connect(kGood));
    EXPECT_EQ(Lines{L"MessageBox caption=\"Test add-in\" text=\"Connected\" type=0x00000000"},
              log.LinesStartingWith(L"MessageBox"));
}

}  // namespace
