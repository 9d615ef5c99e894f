// Reads the version resource of a module file.
#pragma once

#include "afx.h"

#include <vector>

class CModuleVersionInfo {
public:
    struct Translation {
        WORD language;
        WORD codePage;
    };

    // Reads the version block of the module's file; false (and cleared) on any failure.
    bool Create(HMODULE module);
    bool IsValid() const { return m_valid; }
    const VS_FIXEDFILEINFO& GetFixedFileInfo() const { return m_fixed; }
    const std::vector<Translation>& GetTranslations() const { return m_translations; }
    // The file version as four decimal numbers joined by "." (most significant first).
    CString GetFileVersionString() const;

private:
    void Clear();
    std::vector<BYTE> m_block;
    VS_FIXEDFILEINFO m_fixed = {};
    bool m_valid = false;
    std::vector<Translation> m_translations;
};
