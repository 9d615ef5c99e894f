// One "XML" request template of the module's resource source, held while it is read.
#pragma once

#include <windows.h>

#include <string>

class CXmlResource {
public:
    // Finds, loads and locks resource id of the given type; each failing step raises 5000.
    void Load(UINT id, const wchar_t* type);
    // The resource's bytes, as many as its size, converted from the ANSI code page.
    std::wstring Text() const;
    DWORD Size() const { return m_size; }

private:
    HRSRC m_resource = nullptr;
    const char* m_bytes = nullptr;
    DWORD m_size = 0;
};
