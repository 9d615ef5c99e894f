#include "TypeLibrary.h"

#include <string>

namespace officehost {
namespace detail {

namespace {

std::wstring FolderOf(HMODULE module) {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(module, path, MAX_PATH);
    if (length == 0 || length == MAX_PATH) return std::wstring();
    std::wstring full(path, length);
    return full.substr(0, full.find_last_of(L"\\/") + 1);
}

}  // namespace

HRESULT LoadModelTypeLibrary(ITypeLib** library) {
    *library = nullptr;
    const std::wstring folder = FolderOf(nullptr);
    if (folder.empty()) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    // REGKIND_NONE: the shared prefix's interface registrations stay untouched.
    return ::LoadTypeLibEx((folder + L"OfficeModel.tlb").c_str(), REGKIND_NONE, library);
}

}  // namespace detail
}  // namespace officehost
