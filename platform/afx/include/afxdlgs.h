// Common dialogs of our small class library: colour and file choosers.
#pragma once

#include "afxwin.h"

#include <commdlg.h>

#include <string>

class CColorDialog {
public:
    explicit CColorDialog(COLORREF initial = 0, DWORD flags = 0, CWnd* parent = nullptr);
    virtual ~CColorDialog() = default;
    virtual INT_PTR DoModal();
    COLORREF GetColor() const { return m_cc.rgbResult; }

    CHOOSECOLORW m_cc = {};

private:
    COLORREF m_custom[16] = {};
};

class CFileDialog {
public:
    // filter: pairs of description and pattern separated by "|", ended by "||".
    CFileDialog(bool openFileDialog, const char* defaultExt = nullptr, const char* fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* filter = nullptr,
                CWnd* parent = nullptr);
    virtual ~CFileDialog() = default;
    virtual INT_PTR DoModal();
    CString GetPathName() const { return CString(m_file.c_str()); }
    const std::wstring& GetPathNameWide() const { return m_file; }
    // The filter with its "|" separators turned into the zeros the system expects.
    static std::wstring MakeFilter(const char* filter);

    OPENFILENAMEW m_ofn = {};

private:
    bool m_bOpen;
    std::wstring m_filter, m_defaultExt, m_file;
    wchar_t m_buffer[MAX_PATH] = {};
};
