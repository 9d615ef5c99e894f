// How values appear in the call log.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>

#include <string>

namespace officehost {
namespace detail {

std::wstring Quoted(const std::wstring& text);   // "text"
std::wstring Quoted(BSTR text);
std::wstring BoolText(VARIANT_BOOL value);       // true / false
std::wstring HResultText(HRESULT hr);            // 0x8000FFFF
// BSTR:"text", I4:1, I2:-1, BOOL:true, missing (VT_ERROR DISP_E_PARAMNOTFOUND), else VT<number>.
std::wstring VariantText(const VARIANT& value);
// True when an optional argument was left out.
bool IsMissing(const VARIANT& value);

// "bitmap WxH" for a bitmap picture (size receives its size), "picture <type>" for another kind,
// "none" for null and "not a picture" when it has no IPicture.
std::wstring PictureText(IPictureDisp* picture, SIZE* size);

std::string ToUtf8(const std::wstring& text);
std::wstring FromCodePage(const char* text, UINT codePage);

}  // namespace detail
}  // namespace officehost
