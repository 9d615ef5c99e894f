#include "MailErrors.h"

#include <atlbase.h>
#include <log4cpp/Category.hh>
#include <oleauto.h>

#include <cstdio>

#include "MailModule.h"
#include "resource.h"

namespace {

void SetDescription(const std::wstring& text) {
    CComPtr<ICreateErrorInfo> create;
    if (FAILED(::CreateErrorInfo(&create))) return;
    create->SetDescription(const_cast<LPOLESTR>(text.c_str()));
    CComPtr<IErrorInfo> info;
    if (SUCCEEDED(create.QueryInterface(&info))) ::SetErrorInfo(0, info);
}

// The pattern of text id formatted by the platform's message formatter; empty on failure.
std::string Format(UINT id, const char* insert) {
    const std::string pattern = LoadMailStringA(id);
    if (pattern.empty()) return std::string();
    DWORD_PTR args[] = {reinterpret_cast<DWORD_PTR>(insert ? insert : ""), 0};
    char* formatted = nullptr;
    const DWORD len = ::FormatMessageA(
        FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY | FORMAT_MESSAGE_ALLOCATE_BUFFER, pattern.c_str(), 0, 0,
        reinterpret_cast<LPSTR>(&formatted), 0, reinterpret_cast<va_list*>(args));
    if (len == 0 || !formatted) return std::string();
    std::string text(formatted, len);
    ::LocalFree(formatted);
    return text;
}

}  // namespace

void ThrowHResult(HRESULT hr) {
    ::SetErrorInfo(0, nullptr);
    throw CMailError(hr);
}

void ThrowResourceError(HRESULT hr, UINT id, const char* insert) {
    SetDescription(WideFromAnsi(Format(id, insert).c_str()));
    throw CMailError(hr);
}

void ThrowInvalidArgument(const char* name) {
    ThrowResourceError(E_INVALIDARG, IDS_MISSING_ARGUMENT, name);
}

void SetCallFailureDescription(HRESULT hr, UINT id) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%08lX", static_cast<unsigned long>(hr));
    SetDescription(WideFromAnsi(Format(id, hex).c_str()));
}

void ThrowCallFailure(HRESULT hr, UINT id) {
    SetCallFailureDescription(hr, id);
    throw CMailError(hr);
}

void CheckCall(HRESULT hr, UINT id) {
    if (FAILED(hr)) ThrowCallFailure(hr, id);
}

HRESULT LogMethodFailure(log4cpp::Category& category, const char* className, const char* operation, HRESULT hr) {
    const std::wstring text = L"An error occurred.  " + WideFromAnsi(className) + L"::" + WideFromAnsi(operation);
    category.error("%S", text.c_str());
    return hr;
}

std::wstring LoadMailString(UINT id) {
    const wchar_t* text = nullptr;
    const int len = ::LoadStringW(MailResourceInstance(), id, reinterpret_cast<LPWSTR>(&text), 0);
    return len > 0 && text ? std::wstring(text, len) : std::wstring();
}

std::string LoadMailStringA(UINT id) {
    return AnsiFromWide(LoadMailString(id).c_str());
}

std::wstring WideFromAnsi(const char* text) {
    if (!text || !*text) return std::wstring();
    const int len = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(len > 0 ? len - 1 : 0, L'\0');
    if (len > 1) ::MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], len);
    return wide;
}

std::string AnsiFromWide(const wchar_t* text) {
    if (!text || !*text) return std::string();
    const int len = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(len > 0 ? len - 1 : 0, '\0');
    if (len > 1) ::WideCharToMultiByte(CP_ACP, 0, text, -1, &narrow[0], len, nullptr, nullptr);
    return narrow;
}
