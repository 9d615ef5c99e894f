#include "TestApp.h"
#include "afxdisp.h"

#include <gtest/gtest.h>

namespace {

// {6E0F3C52-2B7A-4C44-9B1E-7A1D3C9E5F01}
const CLSID CLSID_AfxTestObject = {0x6e0f3c52, 0x2b7a, 0x4c44, {0x9b, 0x1e, 0x7a, 0x1d, 0x3c, 0x9e, 0x5f, 0x01}};

int g_liveObjects = 0;

// An automation-style object serving IPersist through a nested interface object.
class CPersistTarget : public CCmdTarget {
    DECLARE_DYNCREATE(CPersistTarget)
public:
    CPersistTarget() {
        EnableAutomation();
        AfxOleLockApp();
        ++g_liveObjects;
    }
    ~CPersistTarget() override {
        AfxOleUnlockApp();
        --g_liveObjects;
    }
    BEGIN_INTERFACE_PART(Persist, IPersist)
        STDMETHOD(GetClassID)(CLSID* clsid) override;
    END_INTERFACE_PART(Persist)
    DECLARE_INTERFACE_MAP()
};

IMPLEMENT_DYNCREATE(CPersistTarget, CCmdTarget)

BEGIN_INTERFACE_MAP(CPersistTarget, CCmdTarget)
    INTERFACE_PART(CPersistTarget, IID_IPersist, Persist)
END_INTERFACE_MAP()

IMPLEMENT_NESTED_IUNKNOWN(CPersistTarget, Persist)

STDMETHODIMP CPersistTarget::XPersist::GetClassID(CLSID* clsid) {
    METHOD_PROLOGUE(CPersistTarget, Persist)
    *clsid = CLSID_AfxTestObject;
    return pThis->m_dwRef > 0 ? S_OK : E_UNEXPECTED;
}

class OleTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(AfxOleInit()); }
    void TearDown() override { AfxOleTerm(); }
};

}  // namespace

TEST_F(OleTest, TheFactoryMakesObjectsThatLockTheApplicationWhileHeld) {
    COleObjectFactory factory(CLSID_AfxTestObject, RUNTIME_CLASS(CPersistTarget), true, "Tarvock.AfxTestObject");
    EXPECT_TRUE(AfxOleCanExitApp());
    IPersist* persist = nullptr;
    ASSERT_HRESULT_SUCCEEDED(factory.GetClassFactory()->CreateInstance(nullptr, IID_IPersist, (void**)&persist));
    EXPECT_EQ(1, g_liveObjects);
    EXPECT_FALSE(AfxOleCanExitApp());
    CLSID clsid = {};
    EXPECT_HRESULT_SUCCEEDED(persist->GetClassID(&clsid));
    EXPECT_TRUE(::IsEqualCLSID(CLSID_AfxTestObject, clsid));
    IUnknown* unknown = nullptr;
    ASSERT_HRESULT_SUCCEEDED(persist->QueryInterface(IID_IUnknown, (void**)&unknown));
    IDispatch* dispatch = nullptr;
    EXPECT_EQ(E_NOINTERFACE, persist->QueryInterface(IID_IDispatch, (void**)&dispatch));
    unknown->Release();
    EXPECT_EQ(0u, persist->Release());
    EXPECT_EQ(0, g_liveObjects);
    EXPECT_TRUE(AfxOleCanExitApp());
}

TEST_F(OleTest, AnUnknownInterfaceMakesNoObjectThatLives) {
    COleObjectFactory factory(CLSID_AfxTestObject, RUNTIME_CLASS(CPersistTarget), true, "Tarvock.AfxTestObject");
    IDispatch* dispatch = nullptr;
    EXPECT_EQ(E_NOINTERFACE, factory.GetClassFactory()->CreateInstance(nullptr, IID_IDispatch, (void**)&dispatch));
    EXPECT_EQ(0, g_liveObjects);
    EXPECT_TRUE(AfxOleCanExitApp());
}

TEST_F(OleTest, ARegisteredFactoryServesLocalServerRequestsOfThisProcess) {
    COleObjectFactory factory(CLSID_AfxTestObject, RUNTIME_CLASS(CPersistTarget), true, "Tarvock.AfxTestObject");
    ASSERT_TRUE(factory.Register());
    IClassFactory* found = nullptr;
    ASSERT_HRESULT_SUCCEEDED(::CoGetClassObject(CLSID_AfxTestObject, CLSCTX_LOCAL_SERVER, nullptr, IID_IClassFactory,
                                                (void**)&found));
    found->Release();
    factory.Revoke();
    EXPECT_FALSE(factory.IsRegistered());
    EXPECT_EQ(REGDB_E_CLASSNOTREG, ::CoGetClassObject(CLSID_AfxTestObject, CLSCTX_LOCAL_SERVER, nullptr,
                                                      IID_IClassFactory, (void**)&found));
}

TEST_F(OleTest, RegistryEntriesNameTheLocalServerAndProgId) {
    COleObjectFactory factory(CLSID_AfxTestObject, RUNTIME_CLASS(CPersistTarget), true, "Tarvock.AfxTestObject");
    const GUID libId = {0x11111111, 0x2222, 0x3333, {4, 4, 4, 4, 4, 4, 4, 4}};
    factory.SetTypeLib(libId);
    ASSERT_TRUE(factory.UpdateRegistry(true));
    wchar_t value[MAX_PATH] = {};
    LONG size = sizeof value;
    EXPECT_EQ(ERROR_SUCCESS, ::RegQueryValueW(HKEY_CLASSES_ROOT, L"Tarvock.AfxTestObject\\CLSID", value, &size));
    EXPECT_STREQ(L"{6E0F3C52-2B7A-4C44-9B1E-7A1D3C9E5F01}", value);
    size = sizeof value;
    EXPECT_EQ(ERROR_SUCCESS, ::RegQueryValueW(HKEY_CLASSES_ROOT,
                                              L"CLSID\\{6E0F3C52-2B7A-4C44-9B1E-7A1D3C9E5F01}\\LocalServer32", value,
                                              &size));
    wchar_t program[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    EXPECT_STREQ(program, value);
    size = sizeof value;
    EXPECT_EQ(ERROR_SUCCESS, ::RegQueryValueW(HKEY_CLASSES_ROOT,
                                              L"CLSID\\{6E0F3C52-2B7A-4C44-9B1E-7A1D3C9E5F01}\\TypeLib", value, &size));
    EXPECT_STREQ(L"{11111111-2222-3333-0404-040404040404}", value);
    ASSERT_TRUE(factory.UpdateRegistry(false));
    size = sizeof value;
    EXPECT_NE(ERROR_SUCCESS, ::RegQueryValueW(HKEY_CLASSES_ROOT, L"Tarvock.AfxTestObject\\CLSID", value, &size));
}

TEST(OleLock, TheLastUnlockClosesAProgramTheUserDoesNotControl) {
    AfxOleSetUserCtrl(false);
    AfxOleLockApp();
    EXPECT_EQ(1, AfxOleGetLockCount());
    AfxOleUnlockApp();  // no main window here: nothing to close, and nothing breaks
    EXPECT_EQ(0, AfxOleGetLockCount());
    AfxOleSetUserCtrl(true);
}
