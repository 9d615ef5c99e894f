#include "afxdlgs.h"

namespace {

HWND OwnerOf(CWnd* parent) {
    if (parent) return parent->GetSafeHwnd();
    CWnd* main = AfxGetMainWnd();
    return main ? main->GetSafeHwnd() : nullptr;
}

}  // namespace

CColorDialog::CColorDialog(COLORREF initial, DWORD flags, CWnd* parent) {
    for (auto& colour : m_custom) colour = RGB(255, 255, 255);
    m_cc.lStructSize = sizeof m_cc;
    m_cc.hwndOwner = OwnerOf(parent);
    m_cc.rgbResult = initial;
    m_cc.lpCustColors = m_custom;
    m_cc.Flags = flags | CC_RGBINIT;
}

INT_PTR CColorDialog::DoModal() {
    return ::ChooseColorW(&m_cc) ? IDOK : IDCANCEL;
}

CFileDialog::CFileDialog(bool openFileDialog, const char* defaultExt, const char* fileName, DWORD flags,
                         const char* filter, CWnd* parent)
    : m_bOpen(openFileDialog) {
    m_filter = MakeFilter(filter);
    if (defaultExt) m_defaultExt = CString(defaultExt).Wide();
    if (fileName) lstrcpynW(m_buffer, CString(fileName).Wide().c_str(), MAX_PATH);
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.hwndOwner = OwnerOf(parent);
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
    m_ofn.lpstrFile = m_buffer;
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.lpstrDefExt = m_defaultExt.empty() ? nullptr : m_defaultExt.c_str();
    m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLESIZING;
}

std::wstring CFileDialog::MakeFilter(const char* filter) {
    if (!filter || !*filter) return std::wstring();
    std::wstring wide = CString(filter).Wide();
    for (auto& ch : wide)
        if (ch == L'|') ch = L'\0';
    // Two zeros end the list, whether or not the text ended with "||".
    wide.push_back(L'\0');
    return wide;
}

INT_PTR CFileDialog::DoModal() {
    const BOOL chosen = m_bOpen ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
    if (!chosen) return IDCANCEL;
    m_file = m_buffer;
    return IDOK;
}
