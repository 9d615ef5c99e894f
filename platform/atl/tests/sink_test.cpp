// Event sinks: the sink map dispatches by id with arguments coerced to their declared types, the
// sink keeps an identity of its own that does not hold its object, and it advises and unadvises
// itself on a source's connection point.
#include <atlcom.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

const IID DIID_TestEvents = {0x5d0e3c21, 0x7a4b, 0x4c8e, {0x9f, 0x10, 0x21, 0x32, 0x43, 0x54, 0x65, 0x76}};

// A source with one connection point for DIID_TestEvents that keeps what it is given.
class Source : public IConnectionPointContainer, public IConnectionPoint {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
        if (iid == IID_IUnknown || iid == IID_IConnectionPointContainer) *ppv = static_cast<IConnectionPointContainer*>(this);
        else if (iid == IID_IConnectionPoint) *ppv = static_cast<IConnectionPoint*>(this);
        else *ppv = nullptr;
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
        *point = nullptr;
        if (iid != DIID_TestEvents) return CONNECT_E_NOCONNECTION;
        *point = this;
        return S_OK;
    }
    STDMETHODIMP GetConnectionInterface(IID* iid) override { *iid = DIID_TestEvents; return S_OK; }
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** c) override { *c = this; return S_OK; }
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override {
        IDispatch* dispatch = nullptr;
        if (FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) return CONNECT_E_CANNOTCONNECT;
        sinks.push_back(dispatch);
        *cookie = static_cast<DWORD>(sinks.size());
        return S_OK;
    }
    STDMETHODIMP Unadvise(DWORD cookie) override {
        if (cookie == 0 || cookie > sinks.size() || !sinks[cookie - 1]) return CONNECT_E_NOCONNECTION;
        sinks[cookie - 1]->Release();
        sinks[cookie - 1] = nullptr;
        return S_OK;
    }
    STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

    // Fires event 1 as a mail client's button does: the control, then a by-reference flag.
    HRESULT Fire(DISPID id, IDispatch* control) {
        VARIANT_BOOL cancel = VARIANT_FALSE;
        VARIANTARG args[2];
        args[1].vt = VT_DISPATCH;
        args[1].pdispVal = control;
        args[0].vt = VT_BOOL | VT_BYREF;
        args[0].pboolVal = &cancel;
        DISPPARAMS params = {args, nullptr, 2, 0};
        HRESULT last = S_OK;
        for (IDispatch* sink : sinks)
            if (sink) last = sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
        return last;
    }

    std::vector<IDispatch*> sinks;
};

// The control an event names: counts the references the sink takes while it handles the event.
class Control : public IDispatch {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
        *ppv = (iid == IID_IUnknown || iid == IID_IDispatch) ? this : nullptr;
        if (*ppv) AddRef();
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    STDMETHODIMP GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }
    ULONG refs = 1;
};

ATL::_ATL_FUNC_INFO ClickInfo = {CC_STDCALL, VT_EMPTY, 2, {VT_DISPATCH, VT_BOOL}};
ATL::_ATL_FUNC_INFO CountInfo = {CC_STDCALL, VT_EMPTY, 1, {VT_I4}};

class Listener : public IUnknown, public IDispEventSimpleImpl<7, Listener, &DIID_TestEvents> {
public:
    BEGIN_SINK_MAP(Listener)
    SINK_ENTRY_INFO(7, DIID_TestEvents, 1, &Listener::OnClick, &ClickInfo)
    SINK_ENTRY_INFO(7, DIID_TestEvents, 2, &Listener::OnCount, &CountInfo)
    END_SINK_MAP()

    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
        *ppv = iid == IID_IUnknown ? this : nullptr;
        if (*ppv) AddRef();
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }

    void __stdcall OnClick(IDispatch* control, VARIANT_BOOL cancel) {
        controls.push_back(control);
        cancels.push_back(cancel);
    }
    void __stdcall OnCount(long value) { counts.push_back(value); }

    ULONG refs = 1;
    std::vector<IDispatch*> controls;
    std::vector<VARIANT_BOOL> cancels;
    std::vector<long> counts;
};

TEST(AtlSink, AdvisedSinkReceivesItsEventsWithTheirArguments) {
    Source source;
    Listener listener;
    ASSERT_EQ(S_OK, listener.DispEventAdvise(static_cast<IConnectionPointContainer*>(&source)));
    ASSERT_TRUE(listener.IsAdvised());
    EXPECT_EQ(1u, listener.refs) << "the connection point's reference is the sink's, not the object's";

    Control control;
    EXPECT_EQ(S_OK, source.Fire(1, &control));
    EXPECT_EQ(std::vector<IDispatch*>{&control}, listener.controls);
    EXPECT_EQ(1u, control.refs) << "the sink let go of the control after the event";
    EXPECT_EQ(std::vector<VARIANT_BOOL>{VARIANT_FALSE}, listener.cancels);

    // Another id reaches its own handler; an id nobody handles is accepted and ignored.
    VARIANTARG number;
    number.vt = VT_BSTR;
    number.bstrVal = ::SysAllocString(L"42");
    DISPPARAMS params = {&number, nullptr, 1, 0};
    EXPECT_EQ(S_OK, source.sinks[0]->Invoke(2, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr));
    EXPECT_EQ(std::vector<long>{42}, listener.counts) << "coerced to the declared VT_I4";
    EXPECT_EQ(S_OK, source.sinks[0]->Invoke(99, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr));
    ::SysFreeString(number.bstrVal);
}

TEST(AtlSink, WrongArgumentsAreRefusedWithoutCallingTheHandler) {
    Source source;
    Listener listener;
    ASSERT_EQ(S_OK, listener.DispEventAdvise(static_cast<IConnectionPointContainer*>(&source)));
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, source.sinks[0]->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
    VARIANTARG text;
    text.vt = VT_BSTR;
    text.bstrVal = ::SysAllocString(L"not a number");
    DISPPARAMS params = {&text, nullptr, 1, 0};
    EXPECT_EQ(DISP_E_TYPEMISMATCH, source.sinks[0]->Invoke(2, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr));
    ::SysFreeString(text.bstrVal);
    EXPECT_TRUE(listener.controls.empty());
    EXPECT_TRUE(listener.counts.empty());
}

TEST(AtlSink, TheSinkAnswersForItselfNotForItsObject) {
    Listener listener;
    IDispatch* sink = listener.GetSink();
    IUnknown* unknown = nullptr;
    ASSERT_EQ(S_OK, sink->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)));
    EXPECT_EQ(static_cast<IUnknown*>(sink), unknown);
    EXPECT_NE(static_cast<IUnknown*>(&listener), unknown);
    void* events = nullptr;
    EXPECT_EQ(S_OK, sink->QueryInterface(DIID_TestEvents, &events));
    EXPECT_EQ(sink, events);
    EXPECT_EQ(E_NOINTERFACE, sink->QueryInterface(IID_IConnectionPoint, &events));
    EXPECT_EQ(1u, listener.refs);
}

TEST(AtlSink, UnadviseDisconnectsOnceAndASourceWithoutThePointIsRefused) {
    Source source;
    Listener listener;
    ASSERT_EQ(S_OK, listener.DispEventAdvise(static_cast<IConnectionPointContainer*>(&source)));
    EXPECT_EQ(S_OK, listener.DispEventUnadvise(static_cast<IConnectionPointContainer*>(&source)));
    EXPECT_FALSE(listener.IsAdvised());
    EXPECT_EQ(nullptr, source.sinks[0]);
    EXPECT_EQ(CONNECT_E_NOCONNECTION, listener.DispEventUnadvise(static_cast<IConnectionPointContainer*>(&source)));
    source.Fire(1, nullptr);
    EXPECT_TRUE(listener.controls.empty());

    Listener other;
    EXPECT_EQ(E_NOINTERFACE, other.DispEventAdvise(&other)) << "no connection points";
    EXPECT_EQ(E_POINTER, other.DispEventAdvise(nullptr));
    EXPECT_FALSE(other.IsAdvised());
}

}  // namespace
