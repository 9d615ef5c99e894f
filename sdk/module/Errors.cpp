#include "Errors.h"

#include <atlbase.h>
#include <log4cpp/Category.hh>
#include <oleauto.h>

#include <vector>

#include "SdkModule.h"

namespace {

std::wstring Widen(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int len = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(len, L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], len);
    return wide;
}

// Formats string id of the resource source with the inserts; empty when either fails.
std::string FormatResourceString(UINT id, std::initializer_list<CInsert> inserts) {
    char pattern[1024] = {};
    if (::LoadStringA(SdkResourceInstance(), id, pattern, sizeof pattern) <= 0) return std::string();
    std::vector<DWORD_PTR> args;
    for (const CInsert& insert : inserts) args.push_back(insert.Value());
    args.resize(args.size() + 1, 0);  // never an empty array

    char* formatted = nullptr;
    const DWORD len = ::FormatMessageA(
        FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY | FORMAT_MESSAGE_ALLOCATE_BUFFER, pattern, 0, 0,
        reinterpret_cast<LPSTR>(&formatted), 0, reinterpret_cast<va_list*>(args.data()));
    if (len == 0 || !formatted) return std::string();
    std::string result(formatted, len);
    ::LocalFree(formatted);
    return result;
}

void SetErrorDescription(const wchar_t* text) {
    CComPtr<ICreateErrorInfo> create;
    if (FAILED(::CreateErrorInfo(&create))) return;
    create->SetDescription(const_cast<LPOLESTR>(text ? text : L""));
    CComPtr<IErrorInfo> info;
    if (SUCCEEDED(create.QueryInterface(&info))) ::SetErrorInfo(0, info);
}

}  // namespace

void RaiseHResult(HRESULT hr) {
    throw CRaisedError(hr);
}

void RaiseError(const wchar_t* text, HRESULT hr) {
    SetErrorDescription(text);
    throw CRaisedError(hr);
}

void RaiseErrorById(UINT id, HRESULT hr) {
    RaiseError(LoadResourceString(id).c_str(), hr);
}

void RaiseFormattedError(HRESULT hr, UINT id, std::initializer_list<CInsert> inserts) {
    RaiseError(Widen(FormatResourceString(id, inserts)).c_str(), hr);
}

void RaiseMissingArgument(const char* name) {
    RaiseFormattedError(E_INVALIDARG, 5004, {name});
}

void RaiseInvalidArgument(const char* text) {
    RaiseFormattedError(E_INVALIDARG, 5007, {text});
}

void RaiseXmlHttpError(const char* callName, UINT id) {
    const std::wstring description = CurrentErrorDescription();
    const int len = ::WideCharToMultiByte(CP_ACP, 0, description.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(len > 0 ? len - 1 : 0, '\0');
    if (len > 1) ::WideCharToMultiByte(CP_ACP, 0, description.c_str(), -1, &narrow[0], len, nullptr, nullptr);
    RaiseFormattedError(kConnectionFailed, id, {callName, narrow});
}

HRESULT HandleMethodError(log4cpp::Category& category, const char* className, const char* methodName, HRESULT hr) {
    category.error("An error occurred.  %s::%s", className, methodName);
    return hr;
}

std::wstring LoadResourceString(UINT id) {
    const wchar_t* text = nullptr;
    const int len = ::LoadStringW(SdkResourceInstance(), id, reinterpret_cast<LPWSTR>(&text), 0);
    return len > 0 && text ? std::wstring(text, len) : std::wstring();
}

std::wstring CurrentErrorDescription() {
    CComPtr<IErrorInfo> info;
    if (::GetErrorInfo(0, &info) != S_OK || !info) return std::wstring();
    CComBSTR description;
    std::wstring result;
    if (SUCCEEDED(info->GetDescription(&description)) && description) result.assign(description, description.Length());
    // GetErrorInfo took the error info off the thread; put it back for the caller.
    ::SetErrorInfo(0, info);
    return result;
}
