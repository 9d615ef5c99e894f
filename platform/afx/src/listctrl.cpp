// The list view and header control wrappers.
#include "afxcmn.h"

#include <algorithm>

CString CHeaderCtrl::GetItemText(int index, int maxChars) const {
    std::wstring text(maxChars + 1, L'\0');
    HDITEMW item = {};
    item.mask = HDI_TEXT;
    item.pszText = &text[0];
    item.cchTextMax = maxChars + 1;
    if (!GetItem(index, &item)) return CString();
    return CString(item.pszText);
}

int CListCtrl::InsertItem(int index, const char* text) {
    std::wstring wide = CString(text).Wide();
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = &wide[0];
    return (int)SendMessage(LVM_INSERTITEMW, 0, (LPARAM)&item);
}

bool CListCtrl::SetItemText(int index, int subItem, const char* text) {
    std::wstring wide = CString(text).Wide();
    LVITEMW item = {};
    item.iSubItem = subItem;
    item.pszText = &wide[0];
    return SendMessage(LVM_SETITEMTEXTW, index, (LPARAM)&item) != 0;
}

CString CListCtrl::GetItemText(int index, int subItem) const {
    // The control says how many characters it copied; a full buffer may have cut the text.
    for (int size = 256;; size *= 2) {
        std::wstring text(size, L'\0');
        LVITEMW item = {};
        item.iSubItem = subItem;
        item.pszText = &text[0];
        item.cchTextMax = size;
        int copied = (int)SendMessage(LVM_GETITEMTEXTW, index, (LPARAM)&item);
        if (copied < size - 1 || size >= (1 << 20)) {
            text.resize(std::max(0, std::min(copied, size - 1)));
            return CString(text.c_str());
        }
    }
}

bool CListCtrl::SetItemData(int index, DWORD_PTR data) {
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = (LPARAM)data;
    return SendMessage(LVM_SETITEMW, 0, (LPARAM)&item) != 0;
}

DWORD_PTR CListCtrl::GetItemData(int index) const {
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (!SendMessage(LVM_GETITEMW, 0, (LPARAM)&item)) return 0;
    return (DWORD_PTR)item.lParam;
}

bool CListCtrl::SetItemState(int index, UINT state, UINT mask) {
    LVITEMW item = {};
    item.state = state;
    item.stateMask = mask;
    return SendMessage(LVM_SETITEMSTATE, index, (LPARAM)&item) != 0;
}

bool CListCtrl::GetItemRect(int index, RECT* rect, UINT code) const {
    rect->left = (LONG)code;
    return SendMessage(LVM_GETITEMRECT, index, (LPARAM)rect) != 0;
}

int CListCtrl::InsertColumn(int column, const char* heading, int format, int width) {
    std::wstring wide = CString(heading).Wide();
    LVCOLUMNW info = {};
    info.mask = LVCF_TEXT | LVCF_FMT | LVCF_SUBITEM;
    info.fmt = format;
    info.pszText = &wide[0];
    info.iSubItem = column;
    if (width >= 0) {
        info.mask |= LVCF_WIDTH;
        info.cx = width;
    }
    return (int)SendMessage(LVM_INSERTCOLUMNW, column, (LPARAM)&info);
}
