#include "SdkTestSupport.h"

#include "ComTestSupport.h"

namespace sdktest {

std::wstring SdkText(UINT id, const wchar_t* insert1) {
    HMODULE library = ::LoadLibraryExW(testsupport::BesideProgram(L"TarvockSDK_en.dll").c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE);
    if (!library) return L"<no satellite>";
    const wchar_t* text = nullptr;
    const int len = ::LoadStringW(library, id, reinterpret_cast<LPWSTR>(&text), 0);
    std::wstring pattern = len > 0 ? std::wstring(text, len) : L"<no text>";
    ::FreeLibrary(library);
    if (!insert1) return pattern;
    const size_t at = pattern.find(L"%1");
    return at == std::wstring::npos ? pattern : pattern.replace(at, 2, insert1);
}

}  // namespace sdktest
