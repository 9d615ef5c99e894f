#include "ComTestSupport.h"

namespace testsupport {

std::wstring TakeErrorDescription() {
    IErrorInfo* info = nullptr;
    if (::GetErrorInfo(0, &info) != S_OK || !info) return L"<none>";
    BSTR description = nullptr;
    info->GetDescription(&description);
    std::wstring text = description ? std::wstring(description, ::SysStringLen(description)) : std::wstring();
    ::SysFreeString(description);
    info->Release();
    return text;
}

bool HasErrorInfo() {
    IErrorInfo* info = nullptr;
    if (::GetErrorInfo(0, &info) != S_OK || !info) return false;
    ::SetErrorInfo(0, info);
    info->Release();
    return true;
}

void SetErrorDescription(const wchar_t* text) {
    ICreateErrorInfo* create = nullptr;
    if (FAILED(::CreateErrorInfo(&create))) return;
    create->SetDescription(const_cast<LPOLESTR>(text));
    IErrorInfo* info = nullptr;
    create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info));
    ::SetErrorInfo(0, info);
    info->Release();
    create->Release();
}

std::string Narrow(const std::wstring& text) {
    const int len = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(len, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &narrow[0], len, nullptr, nullptr);
    return narrow;
}

std::string Narrow(BSTR text) {
    return text ? Narrow(std::wstring(text, ::SysStringLen(text))) : std::string("<null>");
}

namespace {

template <class Fill>
VARIANT MakeVariant(VARTYPE type, Fill fill) {
    VARIANT value;
    ::VariantInit(&value);
    value.vt = type;
    fill(value);
    return value;
}

}  // namespace

VARIANT Omitted() {
    return MakeVariant(VT_ERROR, [](VARIANT& v) { v.scode = DISP_E_PARAMNOTFOUND; });
}

VARIANT VariantBool(bool flag) {
    return MakeVariant(VT_BOOL, [flag](VARIANT& v) { v.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE; });
}

VARIANT VariantText(const wchar_t* text) {
    return MakeVariant(VT_BSTR, [text](VARIANT& v) { v.bstrVal = ::SysAllocString(text); });
}

VARIANT VariantI4(LONG number) {
    return MakeVariant(VT_I4, [number](VARIANT& v) { v.lVal = number; });
}

VARIANT VariantI2(SHORT number) {
    return MakeVariant(VT_I2, [number](VARIANT& v) { v.iVal = number; });
}

VARIANT VariantInt(int number) {
    return MakeVariant(VT_INT, [number](VARIANT& v) { v.intVal = number; });
}

VARIANT VariantDispatch(IDispatch* object) {
    return MakeVariant(VT_DISPATCH, [object](VARIANT& v) { v.pdispVal = object; });
}

DISPID DispIdOf(IDispatch* object, const wchar_t* name) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return DISPID_UNKNOWN;
    return id;
}

HRESULT InvokeByName(IDispatch* object, const wchar_t* name, WORD flags, std::vector<VARIANT> args,
                     VARIANT* result, EXCEPINFO* excep) {
    const DISPID id = DispIdOf(object, name);
    if (id == DISPID_UNKNOWN) return DISP_E_UNKNOWNNAME;
    // IDispatch takes arguments in reverse order.
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    DISPID putId = DISPID_PROPERTYPUT;
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    EXCEPINFO local = {};
    UINT argErr = 0;
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, excep ? excep : &local, &argErr);
}

std::wstring BesideProgram(const wchar_t* fileName) {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring full(path);
    return full.substr(0, full.find_last_of(L'\\') + 1) + fileName;
}

}  // namespace testsupport
