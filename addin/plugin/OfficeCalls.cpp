#include "OfficeCalls.h"

#include <vector>

namespace office {

namespace {

// The failure of a dispatch call as the object reported it: an exception's code and text, or
// the call's own result.
[[noreturn]] void RaiseDispatchFailure(HRESULT hr, EXCEPINFO& exception) {
    if (hr == DISP_E_EXCEPTION) {
        if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
        HRESULT code = exception.scode;
        if (code == S_OK) code = exception.wCode ? MAKE_HRESULT(SEVERITY_ERROR, FACILITY_DISPATCH, exception.wCode) : E_FAIL;
        CComBSTR description;
        description.Attach(exception.bstrDescription);
        ::SysFreeString(exception.bstrSource);
        ::SysFreeString(exception.bstrHelpFile);
        Raise(code, description);
    }
    Raise(hr);
}

CComVariant Invoke(IDispatch* object, const wchar_t* name, WORD flags, std::vector<VARIANTARG>& reversedArgs) {
    if (!object) Raise(E_POINTER);
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) Raise(hr);

    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params = {reversedArgs.data(), nullptr, static_cast<UINT>(reversedArgs.size()), 0};
    if (flags & DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
    }
    CComVariant result;
    EXCEPINFO exception = {};
    UINT argError = 0;
    hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                        (flags & DISPATCH_PROPERTYPUT) ? nullptr : &result, &exception, &argError);
    if (FAILED(hr)) RaiseDispatchFailure(hr, exception);
    return result;
}

}  // namespace

void Raise(HRESULT hr, const wchar_t* description) {
    IErrorInfo* info = nullptr;
    if (description && *description) {
        CComPtr<ICreateErrorInfo> create;
        if (SUCCEEDED(::CreateErrorInfo(&create))) {
            create->SetDescription(const_cast<LPOLESTR>(description));
            create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info));
        }
    }
    throw _com_error(hr, info);  // takes over the reference
}

CComVariant Get(IDispatch* object, const wchar_t* name) {
    std::vector<VARIANTARG> none;
    return Invoke(object, name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, none);
}

CComPtr<IDispatch> GetObject(IDispatch* object, const wchar_t* name) {
    CComVariant value = Get(object, name);
    CComPtr<IDispatch> result;
    if (value.vt == VT_DISPATCH) result = value.pdispVal;
    else if (value.vt == VT_UNKNOWN && value.punkVal)
        value.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&result));
    return result;
}

void Put(IDispatch* object, const wchar_t* name, const VARIANT& value) {
    std::vector<VARIANTARG> args(1, value);  // borrowed, not cleared
    Invoke(object, name, DISPATCH_PROPERTYPUT, args);
}

CComVariant Call(IDispatch* object, const wchar_t* name, std::initializer_list<CComVariant> arguments) {
    std::vector<VARIANTARG> args(arguments.begin(), arguments.end());  // borrowed, not cleared
    std::vector<VARIANTARG> reversed(args.rbegin(), args.rend());
    return Invoke(object, name, DISPATCH_METHOD, reversed);
}

CComVariant Missing() {
    CComVariant v;
    v.vt = VT_ERROR;
    v.scode = DISP_E_PARAMNOTFOUND;
    return v;
}

CComVariant Short(short value) {
    CComVariant v;
    v.vt = VT_I2;
    v.iVal = value;
    return v;
}

CComVariant Object(IDispatch* value) {
    CComVariant v;
    v.vt = VT_DISPATCH;
    v.pdispVal = CComPtr<IDispatch>(value).Detach();
    return v;
}

}  // namespace office
