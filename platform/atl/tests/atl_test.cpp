// Objects, interface tables, aggregation, class factories and the module lock count.
#include <atlcom.h>

#include <gtest/gtest.h>

// Two small interfaces of the test's own.
struct ICounter : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Increment(LONG* value) = 0;
};
struct INamed : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Name(const wchar_t** name) = 0;
};
__CRT_UUID_DECL(ICounter, 0x8c1f7a10, 0x2b3d, 0x4e5f, 0x90, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x01)
__CRT_UUID_DECL(INamed, 0x8c1f7a10, 0x2b3d, 0x4e5f, 0x90, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x02)

namespace {

const CLSID CLSID_Counter = {0x8c1f7a10, 0x2b3d, 0x4e5f, {0x90, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x03}};
int g_destroyed = 0;

class CCounter : public CComObjectRootEx<CComSingleThreadModel>,
                 public CComCoClass<CCounter, &CLSID_Counter>,
                 public ICounter,
                 public INamed {
public:
    DECLARE_AGGREGATABLE(CCounter)
    static HRESULT WINAPI UpdateRegistry(BOOL) { return S_OK; }

    BEGIN_COM_MAP(CCounter)
    COM_INTERFACE_ENTRY(ICounter)
    COM_INTERFACE_ENTRY(INamed)
    END_COM_MAP()

    HRESULT FinalConstruct() {
        m_value = 100;
        return S_OK;
    }
    void FinalRelease() { ++g_destroyed; }

    STDMETHOD(Increment)(LONG* value) override {
        *value = ++m_value;
        return S_OK;
    }
    STDMETHOD(Name)(const wchar_t** name) override {
        *name = L"counter";
        return S_OK;
    }

private:
    LONG m_value = 0;
};

BEGIN_OBJECT_MAP(ObjectMap)
OBJECT_ENTRY(CLSID_Counter, CCounter)
END_OBJECT_MAP()

CComModule g_module;

class AtlTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_module.Init(ObjectMap, ::GetModuleHandleW(nullptr), nullptr);
        g_destroyed = 0;
    }
    void TearDown() override {
        EXPECT_EQ(0, g_module.GetLockCount()) << "every object and factory released";
        g_module.Term();
    }
};

// A controlling unknown that counts its own references and hands out the inner object's
// interfaces, as an aggregator does.
class Outer : public IUnknown {
public:
    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override {
        if (InlineIsEqualGUID(iid, IID_IUnknown)) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        return inner ? inner->QueryInterface(iid, ppv) : E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++refs; }
    STDMETHOD_(ULONG, Release)() override { return --refs; }
    ULONG refs = 1;
    IUnknown* inner = nullptr;
};

TEST_F(AtlTest, ObjectServesItsTableAndCountsReferences) {
    CComPtr<ICounter> counter;
    ASSERT_HRESULT_SUCCEEDED(CCounter::CreateInstance(&counter));
    EXPECT_EQ(1, g_module.GetLockCount());

    LONG value = 0;
    counter->Increment(&value);
    EXPECT_EQ(101, value) << "FinalConstruct ran";

    CComPtr<INamed> named;
    ASSERT_HRESULT_SUCCEEDED(counter.QueryInterface(&named));
    const wchar_t* name = nullptr;
    named->Name(&name);
    EXPECT_STREQ(L"counter", name);

    // IUnknown is the same pointer whichever interface it is asked through.
    CComPtr<IUnknown> a, b;
    counter->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&a));
    named->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&b));
    EXPECT_EQ(a.p, b.p);

    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, counter->QueryInterface(IID_IDispatch, &none));
    EXPECT_EQ(nullptr, none);

    counter.Release();
    named.Release();
    a.Release();
    EXPECT_EQ(0, g_destroyed);
    b.Release();
    EXPECT_EQ(1, g_destroyed);
}

TEST_F(AtlTest, ClassFactoryCreatesByClsidAndLocksTheModule) {
    CComPtr<IClassFactory> factory;
    ASSERT_HRESULT_SUCCEEDED(g_module.GetClassObject(CLSID_Counter, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
    EXPECT_EQ(S_FALSE, g_module.CanUnloadNow());

    CComPtr<ICounter> counter;
    ASSERT_HRESULT_SUCCEEDED(factory->CreateInstance(nullptr, __uuidof(ICounter), reinterpret_cast<void**>(&counter)));
    factory->LockServer(TRUE);
    factory.Release();
    counter.Release();
    EXPECT_EQ(S_FALSE, g_module.CanUnloadNow()) << "LockServer keeps the module";
    CComPtr<IClassFactory> again;
    g_module.GetClassObject(CLSID_Counter, IID_IClassFactory, reinterpret_cast<void**>(&again));
    again->LockServer(FALSE);
    again.Release();
    EXPECT_EQ(S_OK, g_module.CanUnloadNow());

    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, g_module.GetClassObject(IID_IUnknown, IID_IClassFactory, &none));
    EXPECT_EQ(nullptr, none);
}

TEST_F(AtlTest, AggregatedObjectDelegatesToItsOuterUnknown) {
    CComPtr<IClassFactory> factory;
    ASSERT_HRESULT_SUCCEEDED(g_module.GetClassObject(CLSID_Counter, IID_IClassFactory, reinterpret_cast<void**>(&factory)));

    Outer outer;
    void* refused = nullptr;
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(&outer, __uuidof(ICounter), &refused))
        << "an aggregator may only ask for the inner unknown";

    ASSERT_HRESULT_SUCCEEDED(factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&outer.inner)));
    ICounter* counter = nullptr;
    ASSERT_HRESULT_SUCCEEDED(outer.QueryInterface(__uuidof(ICounter), reinterpret_cast<void**>(&counter)));
    const ULONG before = outer.refs;
    counter->AddRef();
    EXPECT_EQ(before + 1, outer.refs) << "the inner object's interfaces count on the outer unknown";
    counter->Release();
    counter->Release();

    // Asked through an inner interface, IUnknown is the outer one.
    IUnknown* identity = nullptr;
    outer.QueryInterface(__uuidof(INamed), reinterpret_cast<void**>(&counter));
    counter->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity));
    EXPECT_EQ(static_cast<IUnknown*>(&outer), identity);
    identity->Release();
    counter->Release();

    outer.inner->Release();
    outer.inner = nullptr;
    EXPECT_EQ(1, g_destroyed);
}

TEST(AtlSmartTypes, BstrAndPointerOwnership) {
    CComBSTR text(L"hello");
    CComBSTR copy(text);
    EXPECT_NE(text.m_str, copy.m_str);
    EXPECT_EQ(5u, copy.Length());
    CComBSTR moved(std::move(copy));
    EXPECT_EQ(nullptr, copy.m_str);
    BSTR out = nullptr;
    EXPECT_EQ(S_OK, moved.CopyTo(&out));
    EXPECT_STREQ(L"hello", out);
    ::SysFreeString(out);
    CComBSTR empty;
    EXPECT_EQ(S_OK, empty.CopyTo(&out));
    EXPECT_EQ(nullptr, out);
    text = text;  // self-assignment keeps the value
    EXPECT_STREQ(L"hello", text.m_str);
}

TEST(AtlSmartTypes, VariantConstructorsKeepTheirAutomationTypes) {
    CComVariant flag(true), off(false), number(7), wide(7L), text(L"x");
    EXPECT_EQ(VT_BOOL, flag.vt);
    EXPECT_EQ(VARIANT_TRUE, flag.boolVal);
    EXPECT_EQ(VARIANT_FALSE, off.boolVal);
    EXPECT_EQ(VT_I4, number.vt);
    EXPECT_EQ(VT_I4, wide.vt);
    EXPECT_EQ(VT_BSTR, text.vt);
}

}  // namespace
