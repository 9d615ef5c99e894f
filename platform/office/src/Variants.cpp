#include "Variants.h"

#include <atlbase.h>
#include <olectl.h>

#include <cstdio>

namespace officehost {
namespace detail {

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

std::wstring Quoted(BSTR text) { return Quoted(text ? std::wstring(text, ::SysStringLen(text)) : std::wstring()); }

std::wstring BoolText(VARIANT_BOOL value) { return value ? L"true" : L"false"; }

std::wstring HResultText(HRESULT hr) {
    wchar_t text[16];
    std::swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

bool IsMissing(const VARIANT& value) { return value.vt == VT_ERROR && value.scode == DISP_E_PARAMNOTFOUND; }

std::wstring VariantText(const VARIANT& value) {
    if (value.vt == (VT_VARIANT | VT_BYREF) && value.pvarVal) return VariantText(*value.pvarVal);
    switch (value.vt) {
    case VT_BSTR: return L"BSTR:" + Quoted(value.bstrVal);
    case VT_I4: return L"I4:" + std::to_wstring(value.lVal);
    case VT_I2: return L"I2:" + std::to_wstring(value.iVal);
    case VT_BOOL: return L"BOOL:" + BoolText(value.boolVal);
    default:
        if (IsMissing(value)) return L"missing";
        return L"VT" + std::to_wstring(value.vt);
    }
}

std::wstring PictureText(IPictureDisp* picture, SIZE* size) {
    *size = {0, 0};
    if (!picture) return L"none";
    CComPtr<IPicture> pic;
    if (FAILED(picture->QueryInterface(IID_IPicture, reinterpret_cast<void**>(&pic))) || !pic) return L"not a picture";
    SHORT type = PICTYPE_UNINITIALIZED;
    pic->get_Type(&type);
    std::wstring text = L"picture " + std::to_wstring(type);
    OLE_HANDLE handle = 0;
    BITMAP bitmap = {};
    if (type == PICTYPE_BITMAP && SUCCEEDED(pic->get_Handle(&handle)) &&
        ::GetObjectW(reinterpret_cast<HGDIOBJ>(static_cast<UINT_PTR>(handle)), sizeof bitmap, &bitmap) == sizeof bitmap) {
        *size = {bitmap.bmWidth, bitmap.bmHeight};
        text = L"bitmap " + std::to_wstring(bitmap.bmWidth) + L"x" + std::to_wstring(bitmap.bmHeight);
    }
    return text;
}

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(size, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &narrow[0], size, nullptr, nullptr);
    return narrow;
}

std::wstring FromCodePage(const char* text, UINT codePage) {
    if (!text || !*text) return std::wstring();
    const int size = ::MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    std::wstring wide(size, L'\0');
    ::MultiByteToWideChar(codePage, 0, text, -1, &wide[0], size);
    wide.resize(size - 1);
    return wide;
}

}  // namespace detail
}  // namespace officehost
