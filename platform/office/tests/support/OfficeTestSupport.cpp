#include "OfficeTestSupport.h"

#include <olectl.h>

#include "ComTestSupport.h"

namespace officetest {

void FreeArgs(std::vector<VARIANT>& args) {
    for (auto& arg : args) {
        if (arg.vt == VT_BSTR) ::VariantClear(&arg);
    }
}

HRESULT Call(IDispatch* object, const wchar_t* name, WORD flags, std::vector<VARIANT> args, VARIANT* result,
             EXCEPINFO* excep) {
    const HRESULT hr = testsupport::InvokeByName(object, name, flags, args, result, excep);
    FreeArgs(args);
    return hr;
}

HRESULT Put(IDispatch* object, const wchar_t* name, VARIANT value, EXCEPINFO* excep) {
    return Call(object, name, DISPATCH_PROPERTYPUT, {value}, nullptr, excep);
}

HRESULT Fetch(IDispatch* object, const wchar_t* name, WORD flags, IDispatch** got) {
    *got = nullptr;
    Var result;
    const HRESULT hr = Call(object, name, flags, {}, &result.v);
    if (FAILED(hr)) return hr;
    if (result.v.vt != VT_DISPATCH || !result.v.pdispVal) return E_POINTER;
    *got = result.v.pdispVal;
    (*got)->AddRef();
    return S_OK;
}

IDispatch* GetObjectOf(IDispatch* object, const wchar_t* name, WORD flags) {
    IDispatch* got = nullptr;
    Fetch(object, name, flags, &got);
    return got;
}

IPictureDisp* BitmapPicture(int width, int height) {
    PICTDESC desc = {};
    desc.cbSizeofstruct = sizeof desc;
    desc.picType = PICTYPE_BITMAP;
    desc.bmp.hbitmap = ::CreateBitmap(width, height, 1, 32, nullptr);
    IPictureDisp* picture = nullptr;
    if (FAILED(::OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE, reinterpret_cast<void**>(&picture)))) {
        ::DeleteObject(desc.bmp.hbitmap);
        return nullptr;
    }
    return picture;
}

IPictureDisp* IconPicture() {
    PICTDESC desc = {};
    desc.cbSizeofstruct = sizeof desc;
    desc.picType = PICTYPE_ICON;
    desc.icon.hicon = ::LoadIconW(nullptr, MAKEINTRESOURCEW(32512));   // the stock application icon
    IPictureDisp* picture = nullptr;
    ::OleCreatePictureIndirect(&desc, IID_IPictureDisp, FALSE, reinterpret_cast<void**>(&picture));
    return picture;
}

// --- ClickSink ---

HRESULT ClickSink::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != DIID__CommandBarButtonEvents) return E_NOINTERFACE;
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

ULONG ClickSink::Release() {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
}

HRESULT ClickSink::GetTypeInfoCount(UINT* count) {
    *count = 0;
    return S_OK;
}

HRESULT ClickSink::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }

HRESULT ClickSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return DISP_E_UNKNOWNNAME; }

HRESULT ClickSink::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) {
    if (id != 1) return DISP_E_MEMBERNOTFOUND;
    ++clicks;
    if (!(flags & DISPATCH_METHOD)) problem += L"not called as a method; ";
    if (!params || params->cArgs != 2) {
        problem += L"not two arguments; ";
        return DISP_E_BADPARAMCOUNT;
    }
    const VARIANT& ctrl = params->rgvarg[1];
    const VARIANT& cancel = params->rgvarg[0];
    if (cancel.vt != (VT_BOOL | VT_BYREF) || !cancel.pboolVal) problem += L"CancelDefault is not a VT_BOOL reference; ";
    if (ctrl.vt != VT_DISPATCH || !ctrl.pdispVal) {
        problem += L"Ctrl is not an object; ";
        return DISP_E_TYPEMISMATCH;
    }
    Var parameter;
    if (FAILED(Call(ctrl.pdispVal, L"Parameter", DISPATCH_PROPERTYGET, {}, &parameter.v)) || parameter.v.vt != VT_BSTR) {
        problem += L"Ctrl.Parameter unreadable; ";
        return S_OK;
    }
    parameters.emplace_back(parameter.v.bstrVal, ::SysStringLen(parameter.v.bstrVal));
    return S_OK;
}

// --- ToolbarScript ---

ToolbarScript::~ToolbarScript() { Teardown(); }

namespace {

// Releases what it holds when the scope ends.
struct Held {
    IDispatch* object = nullptr;
    ~Held() {
        if (object) object->Release();
    }
};

HRESULT SetupButton(IDispatch* controls, const ButtonPlan& plan, IDispatch** made) {
    Var added;
    HRESULT hr = Call(controls, L"Add", DISPATCH_METHOD,
                      {VariantI4(1), VariantI4(1), VariantI4(plan.parameter), testsupport::Omitted(), VariantI2(0)}, &added.v);
    if (FAILED(hr)) return hr;
    if (added.v.vt != VT_DISPATCH || !added.v.pdispVal) return E_UNEXPECTED;
    _CommandBarButton* typed = nullptr;
    hr = added.v.pdispVal->QueryInterface(IID__CommandBarButton, reinterpret_cast<void**>(&typed));
    if (FAILED(hr)) return hr;
    Held button{typed};
    const std::wstring tip = L"Open " + plan.caption;
    if (FAILED(hr = Put(button.object, L"Visible", testsupport::VariantBool(true)))) return hr;
    if (FAILED(hr = Put(button.object, L"Caption", VariantText(plan.caption.c_str())))) return hr;
    if (FAILED(hr = Put(button.object, L"Enabled", testsupport::VariantBool(true)))) return hr;
    if (FAILED(hr = Put(button.object, L"TooltipText", VariantText(tip.c_str())))) return hr;
    if (FAILED(hr = Put(button.object, L"Tag", VariantText(plan.caption.c_str())))) return hr;
    if (plan.faceId) {
        if (FAILED(hr = Put(button.object, L"FaceId", VariantI4(plan.faceId)))) return hr;
    } else {
        IPictureDisp* picture = BitmapPicture(16, 16);
        IPictureDisp* mask = BitmapPicture(16, 16);
        hr = Put(button.object, L"Picture", VariantDispatch(picture));
        if (SUCCEEDED(hr)) hr = Put(button.object, L"Mask", VariantDispatch(mask));
        // The button keeps its own references.
        picture->Release();
        mask->Release();
        if (FAILED(hr)) return hr;
    }
    if (FAILED(hr = Put(button.object, L"Style", VariantI4(plan.style)))) return hr;
    *made = button.object;
    button.object = nullptr;
    return S_OK;
}

}  // namespace

HRESULT ToolbarScript::Build(IDispatch* application, const std::vector<ButtonPlan>& plan) {
    _Application* typed = nullptr;
    HRESULT hr = application->QueryInterface(IID__Application, reinterpret_cast<void**>(&typed));
    if (FAILED(hr)) return hr;
    Held app{typed};
    Var version;
    if (FAILED(hr = Call(app.object, L"Version", DISPATCH_PROPERTYGET, {}, &version.v))) return hr;
    Held explorer;
    if (FAILED(hr = Fetch(app.object, L"ActiveExplorer", DISPATCH_METHOD | DISPATCH_PROPERTYGET, &explorer.object))) return hr;
    Held bars;
    if (FAILED(hr = Fetch(explorer.object, L"CommandBars", DISPATCH_PROPERTYGET, &bars.object))) return hr;
    Var added;
    hr = Call(bars.object, L"Add", DISPATCH_METHOD,
              {VariantText(L"Tarvock Brindlepost"), VariantI4(1), testsupport::Omitted(), VariantI2(-1)}, &added.v);
    if (FAILED(hr)) return hr;
    IDispatch* bar = added.v.pdispVal;
    Held controls;
    if (FAILED(hr = Fetch(bar, L"Controls", DISPATCH_PROPERTYGET, &controls.object))) return hr;
    if (FAILED(hr = Put(bar, L"Visible", testsupport::VariantBool(true)))) return hr;
    for (const auto& step : plan) {
        IDispatch* raw = nullptr;
        if (FAILED(hr = SetupButton(controls.object, step, &raw))) return hr;
        Held button{raw};
        IConnectionPointContainer* container = nullptr;
        if (FAILED(hr = button.object->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)))) return hr;
        IConnectionPoint* point = nullptr;
        hr = container->FindConnectionPoint(DIID__CommandBarButtonEvents, &point);
        container->Release();
        if (FAILED(hr)) return hr;
        ClickSink* sink = new ClickSink;
        DWORD cookie = 0;
        if (FAILED(hr = point->Advise(static_cast<IDispatch*>(sink), &cookie))) {
            sink->Release();
            point->Release();
            return hr;
        }
        sinks_.push_back({point, cookie, sink});
    }
    return S_OK;
}

void ToolbarScript::Teardown() {
    for (auto& advised : sinks_) {
        advised.point->Unadvise(advised.cookie);
        advised.point->Release();
        advised.sink->Release();
    }
    sinks_.clear();
}

// --- RegisteredClass ---

std::wstring AddinsKey() { return L"Software\\Microsoft\\Office\\Outlook\\Addins"; }

namespace {

bool SetString(HKEY root, const std::wstring& key, const std::wstring& value) {
    return ::RegSetKeyValueW(root, key.c_str(), nullptr, REG_SZ, value.c_str(),
                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace

RegisteredClass::RegisteredClass(const wchar_t* progId, REFCLSID clsid, IClassFactory* factory, DWORD loadBehavior)
    : progId_(progId) {
    wchar_t text[40] = {};
    ::StringFromGUID2(clsid, text, 40);
    clsidText_ = text;
    wchar_t program[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    ok_ = SetString(HKEY_CLASSES_ROOT, progId_ + L"\\CLSID", clsidText_) &&
          SetString(HKEY_CLASSES_ROOT, L"CLSID\\" + clsidText_ + L"\\InprocServer32", program) &&
          SUCCEEDED(::CoRegisterClassObject(clsid, factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_));
    if (ok_ && loadBehavior) {
        const std::wstring key = AddinsKey() + L"\\" + progId_;
        ok_ = ::RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"LoadBehavior", REG_DWORD, &loadBehavior,
                                sizeof loadBehavior) == ERROR_SUCCESS;
    }
}

RegisteredClass::~RegisteredClass() {
    if (cookie_) ::CoRevokeClassObject(cookie_);
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, progId_.c_str());
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + clsidText_).c_str());
    ::RegDeleteTreeW(HKEY_CURRENT_USER, (AddinsKey() + L"\\" + progId_).c_str());
}

}  // namespace officetest
