#include "shared/ModuleVersionInfo.h"

void CModuleVersionInfo::Clear() {
    m_block.clear();
    m_fixed = {};
    m_valid = false;
    m_translations.clear();
}

bool CModuleVersionInfo::Create(HMODULE module) {
    Clear();
    wchar_t path[MAX_PATH] = {};
    if (!::GetModuleFileNameW(module, path, MAX_PATH)) return false;
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeW(path, &ignored);
    if (!size) return false;
    m_block.resize(size);
    if (!::GetFileVersionInfoW(path, 0, size, m_block.data())) {
        Clear();
        return false;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(m_block.data(), L"\\", (void**)&fixed, &length) || length < sizeof(VS_FIXEDFILEINFO)) {
        Clear();
        return false;
    }
    m_fixed = *fixed;
    m_valid = m_fixed.dwSignature == 0xFEEF04BD;
    Translation* table = nullptr;
    if (::VerQueryValueW(m_block.data(), L"\\VarFileInfo\\Translation", (void**)&table, &length) && table)
        m_translations.assign(table, table + length / 4);
    return true;
}

CString CModuleVersionInfo::GetFileVersionString() const {
    CString text;
    text.Format("%u.%u.%u.%u", HIWORD(m_fixed.dwFileVersionMS), LOWORD(m_fixed.dwFileVersionMS),
                HIWORD(m_fixed.dwFileVersionLS), LOWORD(m_fixed.dwFileVersionLS));
    return text;
}
