#include "lists/TkListView.h"

#include "commandbars/TkResourceHandles.h"
#include "lists/TkSettingsStore.h"
#include "painters/TkSystemData.h"
#include "painters/TkWindowsVersion.h"

#include <mbstring.h>

#include <algorithm>
#include <cstdlib>

namespace {
CString LoadToolkitString(UINT id) {
    CString text;
    HINSTANCE resources = GetToolkitResourceHandle();
    if (!resources || !text.LoadString(resources, id)) text.LoadString(id);
    return text;
}

int Sign(int value) {
    return value < 0 ? -1 : value > 0 ? 1 : 0;
}
}  // namespace

// ---------------------------------------------------------------------------------------------

CTkListHelper::CTkListHelper(CListCtrl* list)
    : m_nMaxColumnWidth(::GetSystemMetrics(SM_CXFULLSCREEN)),
      m_clrText(::GetSysColor(COLOR_WINDOWTEXT)),
      m_clrBackground(::GetSysColor(COLOR_WINDOW)),
      m_pList(list) {}

bool CTkListHelper::IsReport() const {
    return m_pList->m_hWnd && (m_pList->GetStyle() & LVS_TYPEMASK) == LVS_REPORT;
}

CTkFlatHeaderCtrl* CTkListHelper::GetFlatHeader() const {
    CWnd* header = CWnd::FromHandlePermanent(m_pList->GetHeaderHwnd());
    return header && header->IsKindOf(RUNTIME_CLASS(CTkFlatHeaderCtrl)) ? static_cast<CTkFlatHeaderCtrl*>(header)
                                                                         : nullptr;
}

int CTkListHelper::GetSortedColumn() const {
    CTkFlatHeaderCtrl* header = GetFlatHeader();
    return header ? header->GetSortedColumn() : m_nSortColumn;
}

int CTkListHelper::GetSavedColumnWidth(int column) {
    CString widths = CTkSettingsStore(HKEY_CURRENT_USER).GetString(m_strSection, m_strEntry, m_strDefault);
    int start = 0;
    for (int field = 0; start <= widths.GetLength(); ++field) {
        int comma = widths.Find(',', start);
        int end = comma < 0 ? widths.GetLength() : comma;
        if (field == column) return std::atoi(widths.Mid(start, end - start));
        if (comma < 0) break;
        start = comma + 1;
    }
    return 0;
}

void CTkListHelper::ApplySavedColumnWidth(int column) {
    int width = GetSavedColumnWidth(column);
    if (width > 0) m_pList->SetColumnWidth(column, width);
}

void CTkListHelper::ApplySavedColumnWidths() {
    int count = GetColumnCount();
    for (int i = 0; i < count; ++i) ApplySavedColumnWidth(i);
}

void CTkListHelper::SaveColumnWidths() {
    if (!IsReport()) return;
    CString widths;
    int count = GetColumnCount();
    for (int i = 0; i < count; ++i) {
        CString field;
        field.Format("%d,", m_pList->GetColumnWidth(i));
        widths += field;
    }
    CTkSettingsStore(HKEY_CURRENT_USER).WriteString(m_strSection, m_strEntry, widths);
}

void CTkListHelper::SetColumnWidthsKey(const char* section, const char* entry, const char* defaultText) {
    m_bRememberWidths = true;
    m_strSection = section ? CString(section) : LoadToolkitString(IDS_COLUMN_WIDTHS_SECTION);
    m_strEntry = entry ? CString(entry) : LoadToolkitString(IDS_COLUMN_WIDTHS_ENTRY);
    m_strDefault = defaultText ? defaultText : "";
    ApplySavedColumnWidths();
}

void CTkListHelper::AutoSizeColumn(int column) {
    int count = GetColumnCount();
    if (count <= 0) return;
    CTkFlatHeaderCtrl* flat = GetFlatHeader();
    HWND header = m_pList->GetHeaderHwnd();
    m_pList->SendMessage(WM_SETREDRAW, FALSE);
    int first = column < 0 ? 0 : column, last = column < 0 ? count - 1 : std::min(column, count - 1);
    for (int i = first; i <= last; ++i) {
        m_pList->SetColumnWidth(i, LVSCW_AUTOSIZE);
        int width = m_pList->GetColumnWidth(i);
        HDC dc = ::GetDC(header);
        HGDIOBJ old = ::SelectObject(dc, (HFONT)::SendMessageW(header, WM_GETFONT, 0, 0));
        std::wstring heading;
        {
            CHeaderCtrl wrapper;
            wrapper.m_hWnd = header;
            heading = wrapper.GetItemText(i).Wide();
            wrapper.m_hWnd = nullptr;
        }
        SIZE extent = {};
        ::GetTextExtentPoint32W(dc, heading.c_str(), (int)heading.size(), &extent);
        ::SelectObject(dc, old);
        ::ReleaseDC(header, dc);
        int headingWidth = extent.cx + 12;
        if (flat && flat->IsSortArrowShown() && flat->GetSortedColumn() == i) headingWidth += 24;
        width = std::max(width, headingWidth);
        width = std::min(std::max(width, m_nMinColumnWidth), m_nMaxColumnWidth);
        m_pList->SetColumnWidth(i, width);
    }
    m_pList->SendMessage(WM_SETREDRAW, TRUE);
    m_pList->Invalidate();
}

bool CTkListHelper::SubclassHeader(bool bold) {
    if (!IsReport()) return false;
    HWND header = m_pList->GetHeaderHwnd();
    if (!header || !m_header.SubclassWindow(header)) return false;
    m_header.ApplyBoldFont(bold);
    return true;
}

bool CTkListHelper::SortList(int, bool) {
    return true;
}

DWORD CTkListHelper::SetExtendedStyle(DWORD style) {
    return m_pList->SetExtendedStyle(m_pList->GetExtendedStyle() | style);
}

DWORD CTkListHelper::GetExtendedStyle() const {
    return m_pList->GetExtendedStyle();
}

bool CTkListHelper::HitTestCell(POINT point, int& row, int& column) {
    LVHITTESTINFO hit = {};
    hit.pt = point;
    m_pList->SubItemHitTest(&hit);
    if (hit.iItem < 0 || !(hit.flags & LVHT_ONITEM)) {
        row = column = -1;
        return false;
    }
    row = hit.iItem;
    column = hit.iSubItem;
    return true;
}

int CTkListHelper::AddColumn(const char* text, int format, int width) {
    int count = std::max(0, GetColumnCount());
    if (format == -1 || width == -1) {
        int lastFormat = LVCFMT_LEFT, lastWidth = 100;
        if (count > 0) {
            LVCOLUMNW last = {};
            last.mask = LVCF_FMT | LVCF_WIDTH;
            if (m_pList->GetColumn(count - 1, &last)) {
                lastFormat = last.fmt & LVCFMT_JUSTIFYMASK;
                lastWidth = last.cx;
            }
        }
        if (format == -1) format = lastFormat;
        if (width == -1) width = lastWidth;
    }
    return m_pList->InsertColumn(count, text, format, width);
}

bool CTkListHelper::AddColumnsFromStringIds(int count, const int* widths, const UINT* stringIds) {
    for (int i = 0; i < count; ++i) {
        CString text;
        text.LoadString(stringIds[i]);
        if (AddColumn(text, LVCFMT_LEFT, widths ? widths[i] : -1) < 0) return false;
    }
    return true;
}

bool CTkListHelper::AddColumns(int count, const int* widths, const char* const* texts) {
    for (int i = 0; i < count; ++i)
        if (AddColumn(texts[i], LVCFMT_LEFT, widths ? widths[i] : -1) < 0) return false;
    return true;
}

void CTkListHelper::SetColors(COLORREF text, COLORREF background) {
    m_clrText = text;
    m_clrBackground = background;
    m_pList->SetTextColor(text);
    m_pList->SetBkColor(background);
    m_pList->Invalidate();
}

int CTkListHelper::GetColumnCount() const {
    if (!IsReport()) return -1;
    return (int)::SendMessageW(m_pList->GetHeaderHwnd(), HDM_GETITEMCOUNT, 0, 0);
}

int CTkListHelper::MoveRow(int from, int to) {
    int columns = std::max(1, GetColumnCount());
    std::vector<CString> texts;
    for (int c = 0; c < columns; ++c) texts.push_back(m_pList->GetItemText(from, c));
    LVITEMW item = {};
    item.mask = LVIF_PARAM | LVIF_STATE | LVIF_IMAGE | LVIF_INDENT;
    item.iItem = from;
    item.stateMask = (UINT)-1;
    if (!m_pList->SendMessage(LVM_GETITEMW, 0, (LPARAM)&item)) return -1;
    std::wstring text = texts[0].Wide();
    item.mask |= LVIF_TEXT;
    item.iItem = to;
    item.pszText = &text[0];
    int index = (int)m_pList->SendMessage(LVM_INSERTITEMW, 0, (LPARAM)&item);
    if (index < 0) return -1;
    for (int c = 1; c < columns; ++c) m_pList->SetItemText(index, c, texts[c]);
    return index;
}

int CTkListHelper::MoveRowAndDelete(int from, int to) {
    int index = MoveRow(from, to);
    if (index < 0) return -1;
    // Inserting at or above the old row moved it down by one.
    m_pList->DeleteItem(index <= from ? from + 1 : from);
    return index < from ? index : index - 1;
}

bool CTkListHelper::OnHeaderNotify(NMHDR* notify, LRESULT* result) {
    auto* header = reinterpret_cast<NMHEADERW*>(notify);
    switch (notify->code) {
    case HDN_ITEMCLICKA:
    case HDN_ITEMCLICKW: {
        if (!m_bSortOnHeaderClick) return false;
        CTkFlatHeaderCtrl* flat = GetFlatHeader();
        if (header->iButton == 0) {
            m_bAscending = header->iItem == m_nSortColumn ? !m_bAscending : true;
        } else if (header->iButton == 1 && flat) {
            m_bAscending = flat->GetSortDirection() != 0;
        } else {
            return false;
        }
        m_nSortColumn = header->iItem;
        if (flat) flat->SetSortImage(m_nSortColumn, m_bAscending);
        SortList(m_nSortColumn, m_bAscending);
        return false;
    }
    case HDN_ITEMCHANGINGA:
    case HDN_ITEMCHANGINGW:
        if (header->pitem && (header->pitem->mask & HDI_WIDTH) && header->pitem->cxy < m_nMinColumnWidth)
            header->pitem->cxy = m_nMinColumnWidth;
        return false;
    default:
        (void)result;
        return false;
    }
}

void CTkListHelper::ApplyFont() {
    HFONT font = CTkSystemData::Instance().m_fontRegular;
    if (!font) return;
    if (CTkWindowsVersion::Instance().IsWin95Family())
        m_pList->PostMessage(WM_SETFONT, (WPARAM)font, TRUE);
    else
        m_pList->SendMessage(WM_SETFONT, (WPARAM)font, TRUE);
}

void CTkListHelper::Paint() {
    CPaintDC dc(m_pList);
    CRect client;
    m_pList->GetClientRect(&client);
    HWND header = m_pList->GetHeaderHwnd();
    if (header && ::IsWindowVisible(header)) {
        CRect headerRect;
        ::GetWindowRect(header, &headerRect);
        m_pList->ScreenToClient(&headerRect);
        client.top = std::max(client.top, headerRect.bottom);
    }
    if (client.IsRectEmpty()) return;
    {
        CTkMemDC memory(&dc, &client, m_clrBackground);
        int sorted = GetSortedColumn();
        CRect item;
        if (sorted >= 0 && header && ::SendMessageW(header, HDM_GETITEMRECT, sorted, (LPARAM)&item)) {
            ::MapWindowPoints(header, m_pList->m_hWnd, reinterpret_cast<POINT*>(&item), 2);
            CRect band(item.left, client.top, item.right, client.bottom);
            memory.FillSolidRect(band, kSortedColumnColor);
        }
        m_pList->DefWindowProc(WM_PAINT, (WPARAM)memory.GetSafeHdc(), 0);
    }
    if (header) ::RedrawWindow(header, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CTkListHelper::OnCustomDraw(NMHDR* notify, LRESULT* result) {
    auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(notify);
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        *result = CDRF_NOTIFYITEMDRAW;
        break;
    case CDDS_ITEMPREPAINT:
        *result = CDRF_NOTIFYSUBITEMDRAW;
        break;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
        if (m_pList->IsWindowEnabled() && !m_pList->GetItemState((int)draw->nmcd.dwItemSpec, LVIS_SELECTED)) {
            draw->clrText = m_clrText;
            draw->clrTextBk = draw->iSubItem == GetSortedColumn() ? kSortedColumnColor : m_clrBackground;
        }
        *result = CDRF_DODEFAULT;
        break;
    default:
        *result = CDRF_DODEFAULT;
        break;
    }
}

// ---------------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CTkListView, CWnd)

BEGIN_MESSAGE_MAP(CTkListView, CListCtrl)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
    ON_MESSAGE(WM_SETTINGCHANGE, OnSettingChange)
END_MESSAGE_MAP()

bool CTkListView::CreateEx(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::CreateEx(exStyle, WC_LISTVIEWA, "", style | WS_CHILD | WS_VISIBLE | WS_BORDER, rect.left, rect.top,
                          rect.right - rect.left, rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr,
                          (HMENU)(UINT_PTR)id);
}

int CTkListView::OnCreate(LPCREATESTRUCT) {
    int result = (int)Default();
    if (result == 0 && m_helper.m_bUseSystemFont) m_helper.ApplyFont();
    return result;
}

void CTkListView::OnDestroy() {
    if (m_helper.m_bRememberWidths) m_helper.SaveColumnWidths();
    Default();
}

LRESULT CTkListView::OnSettingChange(WPARAM, LPARAM) {
    m_helper.RefreshMaxColumnWidth();
    return Default();
}

bool CTkListView::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto* notify = reinterpret_cast<NMHDR*>(lParam);
    if (notify->hwndFrom == GetHeaderHwnd()) {
        if (CWnd::OnNotify(wParam, lParam, result)) return true;  // the header's own (reflected) answer
        if (m_helper.OnHeaderNotify(notify, result)) return true;
        // The list control passes the header's clicks on to its owner. The header's sort
        // commands (button 1) have told the owner already: they stop here.
        if ((notify->code == HDN_ITEMCLICKW || notify->code == HDN_ITEMCLICKA) &&
            reinterpret_cast<NMHEADERW*>(notify)->iButton == 1)
            return true;
        return false;
    }
    return CWnd::OnNotify(wParam, lParam, result);
}

// ---------------------------------------------------------------------------------------------

CTkListSorter::CTkListSorter(CListCtrl* list, int column) : m_pList(list) {
    int count = list->GetItemCount();
    for (int i = 0; i < count; ++i) {
        auto* pair = new CPair{(LPARAM)list->GetItemData(i), list->GetItemText(i, column)};
        m_pairs.push_back(pair);
        list->SetItemData(i, (DWORD_PTR)pair);
    }
}

CTkListSorter::~CTkListSorter() {
    int count = m_pList->GetItemCount();
    for (int i = 0; i < count; ++i) {
        auto* pair = reinterpret_cast<CPair*>(m_pList->GetItemData(i));
        if (std::find(m_pairs.begin(), m_pairs.end(), pair) != m_pairs.end()) m_pList->SetItemData(i, pair->data);
    }
    for (CPair* pair : m_pairs) delete pair;
}

bool CTkListSorter::Sort(bool ascending, int kind) {
    LPARAM parameter = ascending ? (LPARAM)kind : -(LPARAM)kind;
    return m_pList->SortItems(&CTkListSorter::Compare, parameter);
}

int CALLBACK CTkListSorter::Compare(LPARAM first, LPARAM second, LPARAM kind) {
    int sign = kind >= 0 ? 1 : -1;
    auto* a = reinterpret_cast<const CPair*>(first);
    auto* b = reinterpret_cast<const CPair*>(second);
    return CompareTexts(a->text, b->text, (int)(kind * sign)) * sign;
}

int CTkListSorter::CompareTexts(const char* a, const char* b, int kind) {
    switch (kind) {
    case kNumber: {
        long long na = std::strtoll(a, nullptr, 10), nb = std::strtoll(b, nullptr, 10);
        return na < nb ? -1 : na > nb ? 1 : 0;
    }
    case kText:
        return Sign(::_mbsicmp(reinterpret_cast<const unsigned char*>(a), reinterpret_cast<const unsigned char*>(b)));
    case kDateTime: {
        DATE da = 0, db = 0;
        std::wstring wa = CString(a).Wide(), wb = CString(b).Wide();
        if (FAILED(::VarDateFromStr(&wa[0], LOCALE_USER_DEFAULT, 0, &da)) ||
            FAILED(::VarDateFromStr(&wb[0], LOCALE_USER_DEFAULT, 0, &db)))
            return 0;
        return da < db ? -1 : da > db ? 1 : 0;
    }
    case kFloat: {
        double fa = std::atof(a), fb = std::atof(b);
        return fa < fb ? -1 : fa > fb ? 1 : 0;
    }
    default:
        return 0;
    }
}
