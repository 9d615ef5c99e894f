#include <windows.h>

#include "DataTestSupport.h"

namespace datatest {

std::wstring SdkText(UINT id) {
    HMODULE library = ::LoadLibraryExW(testsupport::BesideProgram(L"TarvockSDK_en.dll").c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE);
    if (!library) return L"<no satellite>";
    const wchar_t* text = nullptr;
    const int len = ::LoadStringW(library, id, reinterpret_cast<LPWSTR>(&text), 0);
    std::wstring result = len > 0 ? std::wstring(text, len) : L"<no text>";
    ::FreeLibrary(library);
    return result;
}

HRESULT NewContact(const wchar_t* id, IContact** contact) {
    HRESULT hr = Create(CLSID_Contact, IID_IContact, contact);
    if (FAILED(hr)) return hr;
    Text value(id);
    return (*contact)->put_ID(value);
}

}  // namespace datatest
