#include "commandbars/TkDockBar.h"

#include "commandbars/TkBarDragTracker.h"
#include "commandbars/TkCommandBars.h"
#include "commandbars/TkToolBar.h"
#include "painters/TkDrawTools.h"
#include "painters/TkThemePainter.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CTkDockBar, CWnd)

int TkGetBarDockSide(DWORD dockStyle) {
    if (dockStyle & (TK_DOCK_STYLE_TOP | TK_DOCK_STYLE_BORDER_BOTTOM)) return 0;
    if (dockStyle & (TK_DOCK_STYLE_BOTTOM | TK_DOCK_STYLE_BORDER_TOP)) return 1;
    if (dockStyle & (TK_DOCK_STYLE_LEFT | TK_DOCK_STYLE_BORDER_RIGHT)) return 2;
    return 3;
}

CTkDockBar::~CTkDockBar() {
    for (CTkToolBar* bar : m_bars)
        if (bar && bar->m_pDockBar == this) bar->m_pDockBar = nullptr;
    if (m_hWnd) DestroyWindow();
}

bool CTkDockBar::Create(CWnd* parentFrame, DWORD style, UINT id) {
    m_dwDockStyle = style & TK_DOCK_STYLE_MASK;
    const char* cls = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW));
    return CWnd::Create(cls, nullptr, style & ~TK_DOCK_STYLE_MASK, CRect(0, 0, 0, 0), parentFrame, id);
}

bool CTkDockBar::PreCreateWindow(CREATESTRUCTW& cs) {
    cs.style |= WS_CLIPSIBLINGS;
    return CWnd::PreCreateWindow(cs);
}

// ---------------------------------------------------------------------------------------------
// The row list.

int CTkDockBar::FindBar(const CTkToolBar* bar, int skipIndex) const {
    for (int i = 0; i < (int)m_bars.size(); ++i)
        if (i != skipIndex && m_bars[(size_t)i] == bar && bar) return i;
    return -1;
}

int CTkDockBar::InsertBar(CTkToolBar* bar, const RECT& rect, POINT centre) {
    (void)rect;
    const bool horizontal = IsHorizontal();
    const int across = horizontal ? centre.y : centre.x;
    // A centre before the dock bar's own edge starts a new first row.
    if (across < 0) {
        m_bars.insert(m_bars.begin() + 1, {bar, nullptr});
        return 1;
    }
    int previousBreak = 0;
    int previousFar = 0;
    int farEdge = 0;
    for (int i = 1; i < (int)m_bars.size(); ++i) {
        CTkToolBar* other = m_bars[(size_t)i];
        if (other) {
            if (other != bar && other->GetSafeHwnd() && other->IsVisible()) {
                CRect window;
                TkGetWindowRect(other, window);
                ScreenToClient(&window);
                farEdge = std::max<int>(farEdge, horizontal ? window.bottom : window.right);
            }
            continue;
        }
        if (across < farEdge) {
            const auto at = m_bars.begin() + previousBreak + 1;
            if (across == previousFar)
                m_bars.insert(at, {bar, nullptr});
            else
                m_bars.insert(at, bar);
            return previousBreak + 1;
        }
        previousBreak = i;
        previousFar = farEdge;
    }
    m_bars.insert(m_bars.end(), {bar, nullptr});
    return (int)m_bars.size() - 2;
}

void CTkDockBar::RemoveBar(CTkToolBar* bar, int skipIndex) {
    const int index = FindBar(bar, skipIndex);
    if (index < 0) return;
    m_bars.erase(m_bars.begin() + index);
    if (index < (int)m_bars.size() && !m_bars[(size_t)index] && !m_bars[(size_t)index - 1])
        m_bars.erase(m_bars.begin() + index);
    DelayFrameLayout();
}

void CTkDockBar::DockBarAt(CTkToolBar* bar, const RECT* screenRect) {
    if (!bar) return;
    CTkDockBar* previous = bar->m_pDockBar;
    if (previous == this) {
        if (!screenRect) return;
        CRect window;
        TkGetWindowRect(bar, window);
        if (window == *screenRect) return;
    }
    CTkBarDragTracker* tracker = bar->GetDragTracker();
    int index;
    if (screenRect) {
        CRect client(*screenRect);
        ScreenToClient(&client);
        index = InsertBar(bar, client, client.CenterPoint());
        if (tracker) tracker->m_rcLastDock = client;
    } else {
        m_bars.insert(m_bars.end(), {bar, nullptr});
        index = (int)m_bars.size() - 2;
        if (tracker) TkSetRectEmpty(tracker->m_rcLastDock);
    }
    if (bar->GetSafeHwnd() && ::GetParent(bar->m_hWnd) != m_hWnd) ::SetParent(bar->m_hWnd, m_hWnd);
    if (previous == this)
        RemoveBar(bar, index);
    else if (previous)
        previous->RemoveBar(bar);
    bar->m_pDockBar = this;
    NormaliseRows();
    DelayFrameLayout();
}

void CTkDockBar::RestoreEntry(int index, CTkToolBar* bar) {
    if (bar) {
        if (bar->m_pDockBar && bar->m_pDockBar != this) bar->m_pDockBar->RemoveBar(bar);
        RemoveBar(bar);
        if (bar->IsFloating()) bar->SetFloatingMode(m_pManager ? m_pManager->GetSite() : nullptr, false);
        if (bar->GetSafeHwnd() && ::GetParent(bar->m_hWnd) != m_hWnd) ::SetParent(bar->m_hWnd, m_hWnd);
        bar->m_pDockBar = this;
        bar->m_nPosition = GetDockSide();
    }
    index = std::min(std::max(index, 1), (int)m_bars.size());
    m_bars.insert(m_bars.begin() + index, bar);
    DelayFrameLayout();
}

void CTkDockBar::NormaliseRows() {
    if (m_bars.empty() || m_bars.front()) m_bars.insert(m_bars.begin(), nullptr);
    if (m_bars.back()) m_bars.push_back(nullptr);
    for (size_t i = 1; i < m_bars.size();) {
        if (!m_bars[i] && !m_bars[i - 1])
            m_bars.erase(m_bars.begin() + (long)i);
        else
            ++i;
    }
    for (size_t i = 1; i < m_bars.size(); ++i) {
        CTkToolBar* bar = m_bars[i];
        if (!bar || !(bar->m_dwFlags & TK_BAR_FLAG_STRETCH)) continue;
        if (m_bars[i - 1]) m_bars.insert(m_bars.begin() + (long)i++, nullptr);
        if (i + 1 < m_bars.size() && m_bars[i + 1]) m_bars.insert(m_bars.begin() + (long)i + 1, nullptr);
    }
}

void CTkDockBar::GetRowBars(int index, std::vector<CTkToolBar*>& list) const {
    if (index < 0 || index >= (int)m_bars.size()) return;
    int first = index;
    while (first > 0 && m_bars[(size_t)first - 1]) --first;
    std::vector<std::pair<int, CTkToolBar*>> row;
    for (int i = first; i < (int)m_bars.size() && m_bars[(size_t)i]; ++i) {
        CTkToolBar* bar = m_bars[(size_t)i];
        if (bar->m_nBarType != TK_BAR_TYPE_TOOLBAR || !bar->IsVisible()) continue;
        CRect window;
        if (bar->GetSafeHwnd()) TkGetWindowRect(bar, window);
        row.emplace_back(IsHorizontal() ? window.left : window.top, bar);
    }
    std::stable_sort(row.begin(), row.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& entry : row) list.push_back(entry.second);
}

void CTkDockBar::DelayFrameLayout() {
    if (!m_hWnd) return;
    if (CFrameWnd* frame = GetParentFrame()) frame->DelayRecalcLayout();
}

// ---------------------------------------------------------------------------------------------
// Layout.

CSize CTkDockBar::CalcDockBarLayout(int length, DWORD mode, AFX_SIZEPARENTPARAMS* layout) {
    const bool horizontal = (mode & TK_LAYOUT_HORIZONTAL) != 0;
    CSize result(0, 0);
    if (mode & TK_LAYOUT_STRETCH) result = horizontal ? CSize(32767, 0) : CSize(0, 32767);
    HDWP own = nullptr;
    AFX_SIZEPARENTPARAMS moves = {};
    if (layout && layout->hDWP) own = ::BeginDeferWindowPos((int)m_bars.size());
    moves.hDWP = own;
    int offset = 0;
    std::vector<CTkToolBar*> row;
    for (size_t i = 1; i < m_bars.size(); ++i) {
        CTkToolBar* bar = m_bars[i];
        if (bar) {
            if (bar->IsVisible()) row.push_back(bar);
            continue;
        }
        if (row.empty()) continue;
        CTkDockRow rowLayout(this, length, own ? &moves : nullptr);
        offset += rowLayout.Layout(row, offset);
        row.clear();
        if (horizontal)
            result.cy = std::max<LONG>(result.cy, offset);
        else
            result.cx = std::max<LONG>(result.cx, offset);
    }
    if (moves.hDWP) ::EndDeferWindowPos(moves.hDWP);
    return result;
}

void CTkDockBar::OnSizeParent(AFX_SIZEPARENTPARAMS* layout) {
    if (!layout || !(GetStyle() & WS_VISIBLE)) return;
    const bool horizontal = IsHorizontal();
    DWORD mode;
    if ((m_dwDockStyle & 0x4) && (m_dwDockStyle & 0x1))
        mode = TK_LAYOUT_MRU_WIDTH | TK_LAYOUT_HORIZONTAL;
    else if (horizontal)
        mode = TK_LAYOUT_HORZ_DOCK | TK_LAYOUT_HORIZONTAL;
    else
        mode = TK_LAYOUT_VERT_DOCK;
    if (layout->bStretch) mode |= TK_LAYOUT_STRETCH;
    CRect rest(layout->rect);
    const int length = horizontal ? rest.Width() : rest.Height();
    CSize size = CalcDockBarLayout(length, mode, layout);
    size.cx = std::min<LONG>(size.cx, rest.Width());
    size.cy = std::min<LONG>(size.cy, rest.Height());
    CRect place(rest);
    if (horizontal) {
        layout->sizeTotal.cy += size.cy;
        layout->sizeTotal.cx = std::max(layout->sizeTotal.cx, size.cx);
        if (GetDockSide() == 0) {
            place.bottom = place.top + size.cy;
            layout->rect.top += size.cy;
        } else {
            place.top = place.bottom - size.cy;
            layout->rect.bottom -= size.cy;
        }
    } else {
        layout->sizeTotal.cx += size.cx;
        layout->sizeTotal.cy = std::max(layout->sizeTotal.cy, size.cy);
        if (GetDockSide() == 2) {
            place.right = place.left + size.cx;
            layout->rect.left += size.cx;
        } else {
            place.left = place.right - size.cx;
            layout->rect.right -= size.cx;
        }
    }
    if (layout->hDWP) {
        AfxRepositionWindow(layout, m_hWnd, place);
        Invalidate();
    }
}

// ---------------------------------------------------------------------------------------------
// Messages.

LRESULT CTkDockBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZEPARENT:
        OnSizeParent(reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam));
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_RBUTTONDOWN:
        if (m_pManager) {
            POINT point = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
            ::ClientToScreen(m_hWnd, &point);
            m_pManager->ShowToolbarsMenu(point.x, point.y);
            return 0;
        }
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CTkDockBar::OnPaint() {
    CPaintDC paint(this);
    CTkThemePainter* painter = m_pManager ? m_pManager->GetPaintManager() : CTkThemePainter::GetCurrent();
    if (painter) painter->PaintDockBarBackground(&paint, this);
}

// ---------------------------------------------------------------------------------------------
// One row.

int CTkDockRow::Layout(std::vector<CTkToolBar*> bars, int offset) {
    std::vector<CTkToolBar*> overflow;
    int thickness = 0;
    for (;;) {
        CTkToolBar* over = nullptr;
        thickness = LayoutOnce(bars, offset, &over);
        if (!over) break;
        bars.erase(std::find(bars.begin(), bars.end(), over));
        overflow.insert(overflow.begin(), over);
    }
    if (!overflow.empty()) thickness += Layout(overflow, offset + thickness);
    return thickness;
}

int CTkDockRow::LayoutOnce(const std::vector<CTkToolBar*>& bars, int offset, CTkToolBar** overflow) {
    const bool horizontal = m_pDockBar->IsHorizontal();
    CTkCommandBars* manager = m_pDockBar->GetManager();
    const bool fullCustomize = manager && manager->IsCustomizeMode() && !manager->IsQuickCustomizeMode();
    std::vector<CItem> items;
    for (size_t i = 0; i < bars.size(); ++i) {
        CTkToolBar* bar = bars[i];
        DWORD mode = horizontal ? TK_LAYOUT_HORZ_DOCK | TK_LAYOUT_HORIZONTAL : TK_LAYOUT_VERT_DOCK;
        if (bar->m_dwFlags & TK_BAR_FLAG_STRETCH) mode |= TK_LAYOUT_STRETCH;
        if ((bar->m_dwFlags & TK_BAR_FLAG_HIDE_WRAP) && !fullCustomize) mode |= TK_LAYOUT_HIDE_WRAP;
        CSize size = bar->CalcDockingLayout(m_nLength, mode, 0);
        if (!horizontal) std::swap(size.cx, size.cy);
        int along = 0;
        if (CTkBarDragTracker* tracker = bar->GetDragTracker())
            along = horizontal ? tracker->m_rcLastDock.left : tracker->m_rcLastDock.top;
        CItem item = {bar, CRect(along, offset, along + size.cx, offset + size.cy), CRect(), (int)i, 0, mode, false};
        item.original = item.rect;
        items.push_back(item);
    }
    // Along the row; equal edges keep the row's own order.
    std::stable_sort(items.begin(), items.end(), [](const CItem& a, const CItem& b) {
        return a.rect.left != b.rect.left ? a.rect.left < b.rect.left : a.order < b.order;
    });
    // A bar that overlaps the one before moves right, unless the one before gives way to it
    // (it comes later in the row's list and has not been moved itself).
    for (CItem& item : items) item.moved = false;
    for (size_t i = 1; i < items.size(); ++i) {
        const CItem& before = items[i - 1];
        if (items[i].rect.left >= before.rect.right) continue;
        if (before.order >= items[i].order && !before.moved) continue;
        items[i].rect.OffsetRect(before.rect.right - items[i].rect.left, 0);
        items[i].moved = true;
    }
    // From the right: a bar past the limit moves left, with the same way of giving way.
    for (CItem& item : items) item.moved = false;
    int limit = m_nLength;
    for (size_t i = items.size(); i-- > 0;) {
        CItem& item = items[i];
        const bool yields = i + 1 < items.size() && items[i + 1].order >= item.order && !items[i + 1].moved;
        if (item.rect.right - limit >= 1 && !(i + 1 < items.size() && yields)) {
            item.rect.OffsetRect(limit - item.rect.right, 0);
            item.moved = true;
        }
        limit = item.rect.left;
    }
    // What still overlaps (the row's start included) moves right.
    int edge = 0;
    for (CItem& item : items) {
        if (item.rect.left < edge) item.rect.OffsetRect(edge - item.rect.left, 0);
        edge = item.rect.right;
    }
    if (!items.empty() && items.back().rect.right > m_nLength && !Squeeze(items)) {
        *overflow = items.back().bar;
        return 0;
    }
    int thickness = 0;
    for (const CItem& item : items) thickness = std::max(thickness, item.rect.Height());
    Commit(items, thickness);
    return thickness;
}

bool CTkDockRow::Squeeze(std::vector<CItem>& items) {
    const bool horizontal = m_pDockBar->IsHorizontal();
    std::vector<int> before(items.size(), 0);
    int sum = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        CItem& item = items[i];
        if (item.mode & TK_LAYOUT_HIDE_WRAP) {
            CSize least = item.bar->CalcDockingLayout(1, item.mode, 0);
            item.minimum = horizontal ? least.cx : least.cy;
        } else {
            item.minimum = m_nLength;
        }
        before[i] = sum;
        sum += item.minimum;
    }
    int limit = m_nLength;
    for (size_t i = items.size(); i-- > 0;) {
        CItem& item = items[i];
        int left = std::max({std::min<int>(item.original.left, item.rect.left),
                             (int)(item.rect.left - (item.rect.right - limit)), before[i]});
        left = std::min(left, limit - item.minimum);
        if (!(limit - left >= item.minimum && left >= before[i]) && items.size() > 1) return false;
        item.rect.left = left;
        item.rect.right = limit;
        limit = std::max(left, 0);
    }
    return true;
}

void CTkDockRow::Commit(std::vector<CItem>& items, int thickness) {
    const bool horizontal = m_pDockBar->IsHorizontal();
    const int side = m_pDockBar->GetDockSide();
    for (CItem& item : items) {
        CTkToolBar* bar = item.bar;
        CSize size = bar->CalcDockingLayout(item.rect.Width(), item.mode | TK_LAYOUT_COMMIT, thickness);
        CRect place = horizontal ? CRect(item.rect.left, item.rect.top, item.rect.left + size.cx, item.rect.top + size.cy)
                                 : CRect(item.rect.top, item.rect.left, item.rect.top + size.cx, item.rect.left + size.cy);
        if (CTkBarDragTracker* tracker = bar->GetDragTracker()) tracker->m_nLastDockSide = side;
        if (!bar->GetSafeHwnd()) continue;
        if (m_pLayout && m_pLayout->hDWP)
            AfxRepositionWindow(m_pLayout, bar->m_hWnd, place);
        else
            ::SetWindowPos(bar->m_hWnd, nullptr, place.left, place.top, place.Width(), place.Height(),
                           SWP_NOACTIVATE | SWP_NOZORDER);
        bar->Invalidate();
    }
}
