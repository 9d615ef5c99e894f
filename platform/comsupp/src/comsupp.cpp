#include "comsupp.h"

#include <cstring>

namespace {

IErrorInfo* TakeErrorInfo(IUnknown* unk, REFIID iid) {
    if (unk && !InlineIsEqualGUID(iid, IID_NULL)) {
        ISupportErrorInfo* support = nullptr;
        if (FAILED(unk->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)))) return nullptr;
        HRESULT supported = support->InterfaceSupportsErrorInfo(iid);
        support->Release();
        if (supported != S_OK) return nullptr;
    }
    IErrorInfo* info = nullptr;
    if (::GetErrorInfo(0, &info) != S_OK) return nullptr;
    return info;
}

}  // namespace

namespace comsupp {

void ThrowComError(HRESULT hr, IUnknown* unk, REFIID iid) {
    // _com_error takes over the reference to the error info.
    throw _com_error(hr, TakeErrorInfo(unk, iid));
}

}  // namespace comsupp

void WINAPI _com_issue_errorex(HRESULT hr, IUnknown* unk, REFIID iid) {
    comsupp::ThrowComError(hr, unk, iid);
}

namespace _com_util {

BSTR WINAPI ConvertStringToBSTR(const char* src) {
    if (!src) return nullptr;
    const int len = ::MultiByteToWideChar(CP_ACP, 0, src, -1, nullptr, 0);
    if (len <= 0) {
        _com_issue_error(HRESULT_FROM_WIN32(::GetLastError()));
    }
    BSTR result = ::SysAllocStringLen(nullptr, len - 1);
    if (!result) _com_issue_error(E_OUTOFMEMORY);
    ::MultiByteToWideChar(CP_ACP, 0, src, -1, result, len);
    return result;
}

char* WINAPI ConvertBSTRToString(BSTR src) {
    if (!src) return nullptr;
    const int wlen = static_cast<int>(::SysStringLen(src));
    const int len = ::WideCharToMultiByte(CP_ACP, 0, src, wlen, nullptr, 0, nullptr, nullptr);
    char* result = new char[len + 1];
    if (len > 0) ::WideCharToMultiByte(CP_ACP, 0, src, wlen, result, len, nullptr, nullptr);
    result[len] = '\0';
    return result;
}

}  // namespace _com_util
