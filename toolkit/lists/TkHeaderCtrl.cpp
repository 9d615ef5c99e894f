#include "lists/TkHeaderCtrl.h"

#include "commandbars/TkResourceHandles.h"
#include "painters/TkColors.h"
#include "painters/TkSystemData.h"

namespace {

void Line(HDC dc, HPEN pen, int x1, int y1, int x2, int y2) {
    CTkSelectObject select(dc, pen);
    ::MoveToEx(dc, x1, y1, nullptr);
    ::LineTo(dc, x2, y2);
}

bool IsListControl(HWND hwnd) {
    wchar_t name[32] = {};
    ::GetClassNameW(hwnd, name, 32);
    return ::lstrcmpiW(name, WC_LISTVIEWW) == 0;
}
}  // namespace

// ---------------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CTkMemDC, CObject)

CTkMemDC::CTkMemDC(CDC* target, const RECT* rect, COLORREF background)
    : CTkOffscreenDC(target->GetSafeHdc(), TargetRect(target, rect)) {
    CRect area = TargetRect(target, rect);
    if (m_hDC) {
        ::SetMapMode(m_hDC, ::GetMapMode(target->GetSafeHdc()));
        FillSolidRect(area, background);
    }
}

CRect CTkMemDC::TargetRect(CDC* target, const RECT* rect) {
    CRect area;
    if (rect) area = *rect;
    if (area.IsRectEmpty()) ::GetClipBox(target->GetSafeHdc(), &area);
    return area;
}

// ---------------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CTkHeaderCtrl, CWnd)

BEGIN_MESSAGE_MAP(CTkHeaderCtrl, CHeaderCtrl)
    ON_MESSAGE(WM_WINDOWPOSCHANGING, OnWindowPosChanging)
    ON_MESSAGE(WM_SETCURSOR, OnSetCursor)
    ON_NOTIFY_REFLECT_EX(HDN_ITEMCHANGINGW, OnItemChanging)
    ON_NOTIFY_REFLECT_EX(HDN_ITEMCHANGINGA, OnItemChanging)
END_MESSAGE_MAP()

CTkHeaderCtrl::CTkHeaderCtrl() {
    HDC screen = ::GetDC(nullptr);
    m_bRightToLeft = (::GetTextAlign(screen) & TA_RTLREADING) != 0;
    ::ReleaseDC(nullptr, screen);
}

bool CTkHeaderCtrl::IsFixedColumn(int column) const {
    for (UINT fixed : m_fixedColumns)
        if ((int)fixed == column) return true;
    return false;
}

void CTkHeaderCtrl::FitColumnsToWidth(int width) {
    int count = GetItemCount();
    int fitted = 0;
    for (int i = 0; i < count; ++i)
        if (!IsFixedColumn(i)) ++fitted;
    if (fitted == 0) return;
    int share = width / fitted;
    if (share <= m_nMinColumnWidth) return;
    for (int i = 0; i < count; ++i) {
        if (IsFixedColumn(i)) continue;
        HDITEMW item = {};
        item.mask = HDI_WIDTH;
        item.cxy = share;
        SetItem(i, &item);
    }
}

int CTkHeaderCtrl::GetFixedColumnsWidth() {
    int width = 0;
    for (UINT column : m_fixedColumns) {
        CRect rect;
        if (GetItemRect((int)column, &rect)) width += rect.Width();
    }
    return width;
}

void CTkHeaderCtrl::FitColumns(int width) {
    if (width == 0) {
        CRect client;
        GetClientRect(&client);
        width = client.Width() - ::GetSystemMetrics(SM_CXVSCROLL) - GetFixedColumnsWidth();
    }
    FitColumnsToWidth(width);
}

LRESULT CTkHeaderCtrl::OnWindowPosChanging(WPARAM, LPARAM lParam) {
    auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
    if (m_bFitToWidth && GetItemCount() > 0 && !(pos->flags & SWP_NOSIZE)) {
        CRect window;
        GetWindowRect(&window);
        if (pos->cx != window.Width())
            FitColumnsToWidth(pos->cx - ::GetSystemMetrics(SM_CXVSCROLL) - GetFixedColumnsWidth());
    }
    return Default();
}

LRESULT CTkHeaderCtrl::OnSetCursor(WPARAM, LPARAM) {
    HDHITTESTINFO hit = {};
    ::GetCursorPos(&hit.pt);
    ::ScreenToClient(m_hWnd, &hit.pt);
    SendMessage(HDM_HITTEST, 0, (LPARAM)&hit);
    if ((hit.flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) && IsFixedColumn(hit.iItem)) {
        ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
        return TRUE;
    }
    return Default();
}

bool CTkHeaderCtrl::OnItemChanging(NMHDR* header, LRESULT* result) {
    auto* change = reinterpret_cast<NMHEADERW*>(header);
    bool tooNarrow = change->pitem && (change->pitem->mask & HDI_WIDTH) && change->pitem->cxy < m_nMinColumnWidth;
    if (IsFixedColumn(change->iItem) || tooNarrow) {
        *result = TRUE;  // refused
        return true;
    }
    return false;
}

// ---------------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CTkFlatHeaderCtrl, CTkHeaderCtrl)

BEGIN_MESSAGE_MAP(CTkFlatHeaderCtrl, CTkHeaderCtrl)
    ON_WM_PAINT()
    ON_WM_CREATE()
    ON_WM_DRAWITEM_REFLECT()
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_LBUTTONUP, OnLButtonUp)
    ON_MESSAGE(WM_RBUTTONDOWN, OnRButtonDown)
    ON_MESSAGE(WM_WINDOWPOSCHANGED, OnWindowPosChanged)
    ON_MESSAGE(WM_SYSCOLORCHANGE, OnSysColorChange)
    ON_MESSAGE(WM_TK_FIRSTPAINT, OnFirstPaint)
    ON_COMMAND(ID_SORT_ASCENDING, OnSortAscending)
    ON_COMMAND(ID_SORT_DESCENDING, OnSortDescending)
    ON_COMMAND(ID_ALIGN_LEFT, OnAlignLeft)
    ON_COMMAND(ID_ALIGN_CENTER, OnAlignCenter)
    ON_COMMAND(ID_ALIGN_RIGHT, OnAlignRight)
END_MESSAGE_MAP()

CTkFlatHeaderCtrl::CTkFlatHeaderCtrl() {
    CreatePens();
}

void CTkFlatHeaderCtrl::CreatePens() {
    m_penHighlight.DeleteObject();
    m_penShadow.DeleteObject();
    m_penFace.DeleteObject();
    m_penHighlight.CreatePen(PS_SOLID, 1, TkGetColor(TK_COLOR_BTNHIGHLIGHT));
    m_penShadow.CreatePen(PS_SOLID, 1, TkGetColor(TK_COLOR_BTNSHADOW));
    m_penFace.CreatePen(PS_SOLID, 1, TkGetColor(TK_COLOR_BTNFACE));
}

void CTkFlatHeaderCtrl::PreSubclassWindow() {
    PostMessage(WM_TK_FIRSTPAINT);
}

int CTkFlatHeaderCtrl::OnCreate(LPCREATESTRUCT) {
    int result = (int)Default();
    PostMessage(WM_TK_FIRSTPAINT);
    return result;
}

LRESULT CTkFlatHeaderCtrl::OnFirstPaint(WPARAM, LPARAM) {
    if (m_bFirstPaint) {
        m_bFirstPaint = false;
        HWND parent = ::GetParent(m_hWnd);
        if (parent)
            ::SetWindowLongPtrW(parent, GWL_STYLE, ::GetWindowLongPtrW(parent, GWL_STYLE) | WS_CLIPCHILDREN);
    }
    return 0;
}

bool CTkFlatHeaderCtrl::SortHeaderDisabled() const {
    HWND parent = ::GetParent(m_hWnd);
    return parent && (::GetWindowLongPtrW(parent, GWL_STYLE) & LVS_NOSORTHEADER);
}

CWnd* CTkFlatHeaderCtrl::GetListOwner() const {
    HWND list = ::GetParent(m_hWnd);
    HWND owner = list ? ::GetParent(list) : nullptr;
    return CWnd::FromHandle(owner ? owner : list);
}

void CTkFlatHeaderCtrl::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CTkMemDC memory(&dc, &client, ::GetSysColor(COLOR_BTNFACE));
    DefWindowProc(WM_PAINT, (WPARAM)memory.GetSafeHdc(), 0);
    DrawBorders(&memory, client);
}

LRESULT CTkFlatHeaderCtrl::OnLButtonDown(WPARAM, LPARAM) {
    m_bPressed = true;
    return Default();
}

LRESULT CTkFlatHeaderCtrl::OnLButtonUp(WPARAM, LPARAM) {
    m_bPressed = false;
    return Default();
}

LRESULT CTkFlatHeaderCtrl::OnWindowPosChanged(WPARAM, LPARAM) {
    LRESULT result = Default();
    Invalidate();
    return result;
}

LRESULT CTkFlatHeaderCtrl::OnSysColorChange(WPARAM, LPARAM) {
    LRESULT result = Default();
    CreatePens();
    return result;
}

void CTkFlatHeaderCtrl::SetContextMenu(UINT menuId, int subMenu) {
    m_nMenuId = menuId;
    m_nSubMenu = subMenu;
}

void CTkFlatHeaderCtrl::ApplyBoldFont(bool bold) {
    CTkSystemData& data = CTkSystemData::Instance();
    HFONT font = bold ? (HFONT)data.m_fontBold : (HFONT)data.m_fontRegular;
    if (font) SendMessage(WM_SETFONT, (WPARAM)font, FALSE);
}

void CTkFlatHeaderCtrl::SetBoldFont(bool bold) {
    ApplyBoldFont(bold);
    Invalidate();
}

int CTkFlatHeaderCtrl::SetSortImage(int column, bool ascending) {
    int previous = m_nSortColumn;
    m_nSortColumn = column;
    m_nSortDirection = ascending ? 1 : 0;
    HDITEMW item = {};
    item.mask = HDI_FORMAT;
    if (column >= 0 && GetItem(column, &item)) {
        item.fmt |= HDF_OWNERDRAW;
        SetItem(column, &item);
    }
    Invalidate();
    return previous;
}

int CTkFlatHeaderCtrl::HitTest(int x, int y) {
    HDHITTESTINFO hit = {};
    hit.pt = {x, y};
    int item = (int)SendMessage(HDM_HITTEST, 0, (LPARAM)&hit);
    if (item < 0 || !(hit.flags & (HHT_ONHEADER | HHT_ONDIVIDER | HHT_ONDIVOPEN))) return -1;
    return item;
}

void CTkFlatHeaderCtrl::SetColumnAlignment(int alignment) {
    int column = HitTest(m_ptLastRightClick.x, m_ptLastRightClick.y);
    if (column < 0) return;
    HWND parent = ::GetParent(m_hWnd);
    if (parent && IsListControl(parent)) {
        LVCOLUMNW info = {};
        info.mask = LVCF_FMT;
        ::SendMessageW(parent, LVM_GETCOLUMNW, column, (LPARAM)&info);
        info.fmt = (info.fmt & ~LVCFMT_JUSTIFYMASK) | alignment;
        ::SendMessageW(parent, LVM_SETCOLUMNW, column, (LPARAM)&info);
    } else {
        HDITEMW item = {};
        item.mask = HDI_FORMAT;
        GetItem(column, &item);
        item.fmt = (item.fmt & ~HDF_JUSTIFYMASK) | alignment;
        SetItem(column, &item);
    }
    Invalidate();
}

void CTkFlatHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT draw) {
    HDC dc = draw->hDC;
    CRect rect = draw->rcItem;
    ::FillRect(dc, &rect, ::GetSysColorBrush(COLOR_BTNFACE));
    int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    ::SetBkMode(dc, TRANSPARENT);

    wchar_t text[256] = {};
    HDITEMW item = {};
    item.mask = HDI_TEXT | HDI_FORMAT;
    item.pszText = text;
    item.cchTextMax = 256;
    GetItem((int)draw->itemID, &item);

    UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_LEFT;
    if (item.fmt & HDF_CENTER) format = (format & ~DT_LEFT) | DT_CENTER;
    else if (item.fmt & HDF_RIGHT) format = (format & ~DT_LEFT) | DT_RIGHT;

    bool sortable = !SortHeaderDisabled();
    if (sortable && m_bPressed && (draw->itemState & ODS_SELECTED)) rect.OffsetRect(1, 2);
    bool arrow = m_bShowSortArrow && sortable && (int)draw->itemID == m_nSortColumn;
    CRect textRect = rect;
    if (arrow) textRect.right -= 3 * m_nArrowSize;
    ::InflateRect(&textRect, -m_nArrowSize, 0);
    if (textRect.Width() > 0) {
        HGDIOBJ oldFont = ::SelectObject(dc, (HFONT)SendMessage(WM_GETFONT));
        ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
        ::DrawTextW(dc, text, -1, &textRect, format);
        ::SelectObject(dc, oldFont);
    }
    if (arrow) {
        // A small triangle near the right edge: up for ascending, down for descending.
        int size = m_nArrowSize;
        int x = rect.right - 2 * size;
        int top = rect.top + (rect.Height() - size) / 2;
        int bottom = top + size;
        if (m_nSortDirection == 1) {
            Line(dc, m_penHighlight, x + size / 2, top, x + size, bottom);
            Line(dc, m_penHighlight, x + size, bottom, x, bottom);
            Line(dc, m_penShadow, x, bottom, x + size / 2, top);
        } else {
            Line(dc, m_penHighlight, x + size / 2, bottom, x + size, top);
            Line(dc, m_penShadow, x + size, top, x, top);
            Line(dc, m_penShadow, x, top, x + size / 2, bottom);
        }
    }
    ::RestoreDC(dc, saved);
}

void CTkFlatHeaderCtrl::DrawBorders(CDC* dc, const RECT& rect) {
    HDC hdc = dc->GetSafeHdc();
    CRect outer = rect;
    Line(hdc, m_penHighlight, outer.left, outer.bottom - 1, outer.left, outer.top);
    Line(hdc, m_penHighlight, outer.left, outer.top, outer.right - 1, outer.top);
    Line(hdc, m_penShadow, outer.right - 1, outer.top, outer.right - 1, outer.bottom - 1);
    Line(hdc, m_penShadow, outer.right - 1, outer.bottom - 1, outer.left - 1, outer.bottom - 1);
    CRect inner = outer;
    ::InflateRect(&inner, -1, -1);
    HBRUSH face = ::CreateSolidBrush(TkGetColor(TK_COLOR_BTNFACE));
    ::FrameRect(hdc, &inner, face);
    ::DeleteObject(face);

    int count = GetItemCount();
    int right = 0;
    for (int i = 0; i < count; ++i) {
        int index = (int)SendMessage(HDM_ORDERTOINDEX, i);
        CRect item;
        if (!GetItemRect(index, &item)) continue;
        right = item.right;
        Line(hdc, m_penShadow, right - 1, 2, right - 1, outer.bottom);
        Line(hdc, m_penHighlight, right, 2, right, outer.bottom);
        Line(hdc, m_penFace, right - 2, 2, right - 2, outer.bottom);
        Line(hdc, m_penFace, right - 3, 2, right - 3, outer.bottom);
    }
    if (!m_bPressed) Line(hdc, m_penShadow, right + 1, 2, right + 1, outer.bottom);
}

HMENU CTkFlatHeaderCtrl::LoadColumnMenu(int column) {
    HINSTANCE resources = GetToolkitResourceHandle();
    if (!resources) resources = AfxGetResourceHandle();
    HMENU menu = ::LoadMenuW(resources, MAKEINTRESOURCEW(kContextMenuId));
    HMENU popup = menu ? ::GetSubMenu(menu, kColumnSubMenu) : nullptr;
    if (!popup) {
        if (menu) ::DestroyMenu(menu);
        return nullptr;
    }
    if (column == m_nSortColumn && m_nSortDirection >= 0)
        ::CheckMenuItem(popup, m_nSortDirection == 1 ? ID_SORT_ASCENDING : ID_SORT_DESCENDING,
                        MF_BYCOMMAND | MF_CHECKED);
    HWND parent = ::GetParent(m_hWnd);
    if (parent && IsListControl(parent)) {
        LVCOLUMNW info = {};
        info.mask = LVCF_FMT;
        if (::SendMessageW(parent, LVM_GETCOLUMNW, column, (LPARAM)&info)) {
            int align = info.fmt & LVCFMT_JUSTIFYMASK;
            UINT id = align == LVCFMT_CENTER ? ID_ALIGN_CENTER : align == LVCFMT_RIGHT ? ID_ALIGN_RIGHT : ID_ALIGN_LEFT;
            ::CheckMenuItem(popup, id, MF_BYCOMMAND | MF_CHECKED);
        }
    }
    return menu;
}

LRESULT CTkFlatHeaderCtrl::OnRButtonDown(WPARAM, LPARAM lParam) {
    if (SortHeaderDisabled() || !m_bMenuEnabled) return Default();
    m_ptLastRightClick = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    POINT screen = m_ptLastRightClick;
    ::ClientToScreen(m_hWnd, &screen);
    if (m_nMenuId) {
        HMENU menu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nMenuId));
        HMENU popup = menu ? ::GetSubMenu(menu, m_nSubMenu) : nullptr;
        CWnd* owner = GetListOwner();
        if (!popup || !owner) {
            if (menu) ::DestroyMenu(menu);
            return Default();
        }
        ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner->m_hWnd, nullptr);
        ::DestroyMenu(menu);
        return 0;
    }
    int column = HitTest(m_ptLastRightClick.x, m_ptLastRightClick.y);
    if (column < 0) return 0;
    HMENU menu = LoadColumnMenu(column);
    if (!menu) return Default();
    ::TrackPopupMenu(::GetSubMenu(menu, kColumnSubMenu), TPM_RIGHTBUTTON, screen.x, screen.y, 0, m_hWnd, nullptr);
    ::DestroyMenu(menu);
    return 0;
}

void CTkFlatHeaderCtrl::SortFromMenu(bool ascending) {
    int column = HitTest(m_ptLastRightClick.x, m_ptLastRightClick.y);
    if (column < 0) return;
    if (column == m_nSortColumn && m_nSortDirection == (ascending ? 1 : 0)) return;
    m_nSortDirection = ascending ? 1 : 0;
    m_nSortColumn = column;
    // The owner sorts as after a click; button 1 says the direction is the header's.
    NMHEADERW click = {};
    click.hdr.hwndFrom = m_hWnd;
    click.hdr.idFrom = (UINT_PTR)GetDlgCtrlID();
    click.hdr.code = HDN_ITEMCLICKW;
    click.iItem = column;
    click.iButton = 1;
    CWnd* owner = GetListOwner();
    if (!owner) return;
    owner->SendMessage(WM_NOTIFY, click.hdr.idFrom, (LPARAM)&click);
    owner->SendMessageToDescendants(WM_NOTIFY, click.hdr.idFrom, (LPARAM)&click, true);
}
