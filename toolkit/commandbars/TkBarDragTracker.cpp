#include "commandbars/TkBarDragTracker.h"

#include "commandbars/TkCommandBars.h"
#include "commandbars/TkDockBar.h"
#include "commandbars/TkHooks.h"
#include "commandbars/TkToolBar.h"
#include "painters/TkDrawTools.h"

#include <algorithm>

namespace {

const DWORD kFloatingMode = TK_LAYOUT_MRU_WIDTH | TK_LAYOUT_HORIZONTAL | TK_LAYOUT_COMMIT;  // 0x46

// Moves the rectangle the least distance that makes it hold the point.
void MoveToHold(CRect& rect, POINT point) {
    if (point.x < rect.left) rect.OffsetRect(point.x - rect.left, 0);
    if (point.x >= rect.right) rect.OffsetRect(point.x - rect.right + 1, 0);
    if (point.y < rect.top) rect.OffsetRect(0, point.y - rect.top);
    if (point.y >= rect.bottom) rect.OffsetRect(0, point.y - rect.bottom + 1);
}

}  // namespace

CFrameWnd* CTkBarDragTracker::GetFrame() const {
    if (m_pFrame) return m_pFrame;
    if (CTkCommandBars* manager = m_pBar->GetManager())
        if (CWnd* site = manager->GetSite())
            if (site->IsFrameWnd()) return static_cast<CFrameWnd*>(site);
    return m_pBar->GetSafeHwnd() ? m_pBar->GetParentFrame() : nullptr;
}

bool CTkBarDragTracker::RunLoop() {
    const HWND hwnd = m_pBar->GetSafeHwnd();
    if (!hwnd || ::GetCapture()) return false;
    ::SetCapture(hwnd);
    while (::GetCapture() == hwnd && ::IsWindow(hwnd)) {
        MSG msg;
        if (!TkNextCaptureMessage(msg)) break;
        bool end = false;
        switch (msg.message) {
        case WM_LBUTTONUP:
            end = true;
            break;
        case WM_MOUSEMOVE:
            if (msg.pt.x != m_ptLast.x || msg.pt.y != m_ptLast.y) {
                if (m_nMode == 1)
                    MoveStep(msg.pt);
                else
                    ResizeStep(msg.pt);
            } else {
                ::DispatchMessageW(&msg);
            }
            break;
        case WM_KEYDOWN:
            if (msg.wParam == VK_ESCAPE)
                end = true;
            else
                ::DispatchMessageW(&msg);
            break;
        default:
            ::DispatchMessageW(&msg);
            break;
        }
        if (end) break;
        // A layout the frame asked for while the bar moved is made at once, so the next step
        // sees the rows where they are.
        CFrameWnd* frame = GetFrame();
        if (frame && frame->GetSafeHwnd() && (frame->m_nIdleFlags & CFrameWnd::idleLayout)) {
            frame->RecalcLayout();
            frame->m_nIdleFlags &= ~CFrameWnd::idleLayout;
        }
    }
    if (::GetCapture() == hwnd) ::ReleaseCapture();
    return true;
}

void CTkBarDragTracker::TrackMove(POINT screenPoint) {
    if (!m_pBar->GetSafeHwnd()) return;
    CHoldRef hold(m_pBar);
    m_nMode = 1;
    const CRect savedDock = m_rcLastDock;
    const int savedSide = m_nLastDockSide;
    const bool floatedAtStart = m_pBar->m_nPosition == TK_BAR_POSITION_FLOATING;
    CRect window;
    TkGetWindowRect(m_pBar, window);
    MoveToHold(window, screenPoint);
    m_rcDrag = m_rcWindow = window;
    m_ptLast = screenPoint;
    ::SetCursor(::LoadCursor(nullptr, IDC_SIZEALL));
    {
        CTkBarDragScope dragging;
        RunLoop();
    }
    if (!m_pBar->GetSafeHwnd() || !::IsWindow(m_pBar->m_hWnd)) return;
    if (m_pBar->m_nPosition == TK_BAR_POSITION_FLOATING) {
        TkGetWindowRect(m_pBar, window);
        SetLastFloatPoint(window.TopLeft());
        // A bar torn off a dock bar goes back to its old place there on a double click; a bar
        // moved to another docked place keeps the place it was dropped at.
        if (!floatedAtStart) {
            m_rcLastDock = savedDock;
            m_nLastDockSide = savedSide;
        }
    }
}

void CTkBarDragTracker::MoveStep(POINT screenPoint) {
    const int dx = screenPoint.x - m_ptLast.x;
    const int dy = screenPoint.y - m_ptLast.y;
    m_rcDrag.OffsetRect(dx, dy);
    m_rcWindow.OffsetRect(dx, dy);
    m_ptLast = screenPoint;
    CTkCommandBars* manager = m_pBar->GetManager();
    if (!manager) return;
    CTkDockBar* dockBar = manager->FindDockBar(screenPoint, m_pBar->m_pDockBar);
    if (dockBar && (m_pBar->m_dwFlags & (1 << dockBar->GetDockSide()))) {
        CTkDockBar* before = m_pBar->m_pDockBar;
        const bool wasFloating = m_pBar->m_nPosition == TK_BAR_POSITION_FLOATING;
        manager->DockCommandBar(m_pBar, dockBar, &m_rcDrag);
        if (before != m_pBar->m_pDockBar || wasFloating) {
            if (CFrameWnd* frame = GetFrame()) frame->RecalcLayout();
            if (m_pBar->GetSafeHwnd()) TkGetWindowRect(m_pBar, m_rcDrag);
        }
        return;
    }
    if (!(m_pBar->m_dwFlags & TK_BAR_FLAG_FLOAT)) return;
    if (m_pBar->m_nPosition != TK_BAR_POSITION_FLOATING) {
        FloatAt(m_rcWindow.TopLeft(), screenPoint);
        return;
    }
    if (m_pBar->GetSafeHwnd())
        ::SetWindowPos(m_pBar->m_hWnd, nullptr, m_rcWindow.left, m_rcWindow.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CTkBarDragTracker::FloatAt(POINT topLeft, POINT keepInside) {
    CTkCommandBars* manager = m_pBar->GetManager();
    if (!manager || !manager->FloatCommandBar(m_pBar)) return;
    const CSize size = m_pBar->CalcDynamicLayout(0, kFloatingMode);
    m_rcWindow = CRect(topLeft, size);
    MoveToHold(m_rcWindow, keepInside);
    if (m_pBar->GetSafeHwnd())
        ::SetWindowPos(m_pBar->m_hWnd, nullptr, m_rcWindow.left, m_rcWindow.top, m_rcWindow.Width(),
                       m_rcWindow.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void CTkBarDragTracker::TrackResize(int hitCode, POINT screenPoint) {
    if (!m_pBar->GetSafeHwnd()) return;
    CHoldRef hold(m_pBar);
    m_nMode = hitCode;
    TkGetWindowRect(m_pBar, m_rcWindow);
    m_rcDrag = m_rcWindow;
    m_ptLast = screenPoint;
    RunLoop();
    if (!m_pBar->GetSafeHwnd() || !::IsWindow(m_pBar->m_hWnd)) return;
    CRect window;
    TkGetWindowRect(m_pBar, window);
    SetLastFloatPoint(window.TopLeft());
    m_pBar->m_nMRUWidth = window.Width();
}

void CTkBarDragTracker::ResizeStep(POINT screenPoint) {
    const int dx = screenPoint.x - m_ptLast.x;
    const int dy = screenPoint.y - m_ptLast.y;
    m_ptLast = screenPoint;
    // The dragged edge follows the mouse; the window takes the nearest size the bar can lay
    // itself out at.
    CSize size;
    switch (m_nMode) {
    case HTLEFT:
        m_rcDrag.left += dx;
        size = m_pBar->CalcDynamicLayout(std::max(0, (int)m_rcDrag.Width()), TK_LAYOUT_HORIZONTAL | TK_LAYOUT_COMMIT);
        break;
    case HTRIGHT:
        m_rcDrag.right += dx;
        size = m_pBar->CalcDynamicLayout(std::max(0, (int)m_rcDrag.Width()), TK_LAYOUT_HORIZONTAL | TK_LAYOUT_COMMIT);
        break;
    case HTTOP:
        m_rcDrag.top += dy;
        size = m_pBar->CalcDynamicLayout(std::max(0, (int)m_rcDrag.Height()),
                                         TK_LAYOUT_HORIZONTAL | TK_LAYOUT_LENGTH_IS_HEIGHT | TK_LAYOUT_COMMIT);
        break;
    case HTBOTTOM:
        m_rcDrag.bottom += dy;
        size = m_pBar->CalcDynamicLayout(std::max(0, (int)m_rcDrag.Height()),
                                         TK_LAYOUT_HORIZONTAL | TK_LAYOUT_LENGTH_IS_HEIGHT | TK_LAYOUT_COMMIT);
        break;
    default:
        return;
    }
    if (size == m_rcWindow.Size()) return;
    CRect rect;
    switch (m_nMode) {
    case HTLEFT:
        rect = CRect(m_rcWindow.right - size.cx, m_rcWindow.top, m_rcWindow.right, m_rcWindow.top + size.cy);
        break;
    case HTTOP:
        rect = CRect(m_rcWindow.left, m_rcWindow.bottom - size.cy, m_rcWindow.left + size.cx, m_rcWindow.bottom);
        break;
    default:
        rect = CRect(m_rcWindow.TopLeft(), size);
        break;
    }
    CRect desktop, common;
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    if (!common.IntersectRect(&rect, &desktop)) return;
    m_rcWindow = rect;
    if (!m_pBar->GetSafeHwnd()) return;
    ::SetWindowPos(m_pBar->m_hWnd, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    m_pBar->Invalidate();
}

int CTkBarDragTracker::ApplyLastPosition() {
    CTkCommandBars* manager = m_pBar->GetManager();
    if (!manager) return 0;
    if (m_pBar->m_nPosition == TK_BAR_POSITION_FLOATING) {
        // Back to the side it was last docked at, when the bar may dock there.
        if (!(m_pBar->m_dwFlags & (1 << m_nLastDockSide))) return 0;
        CTkDockBar* dockBar = manager->GetDockBar(m_nLastDockSide);
        if (!dockBar || !dockBar->GetSafeHwnd()) return 0;
        CRect screen = m_rcLastDock;
        ::MapWindowPoints(dockBar->m_hWnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&screen), 2);
        if (!manager->DockCommandBar(m_pBar, dockBar, m_rcLastDock.IsRectEmpty() ? nullptr : &screen)) return 0;
        if (CFrameWnd* frame = GetFrame()) frame->RecalcLayout();
        return 1;
    }
    if (!TkIsDockedPosition(m_pBar->m_nPosition) || !(m_pBar->m_dwFlags & TK_BAR_FLAG_FLOAT)) return 0;
    CTkCommandBarsSettings* settings = manager->GetCommandBarsOptions();
    if (!settings || !settings->m_bDblClickFloat) return 0;
    CPoint at = m_ptLastFloat;
    if (!m_bHasFloatPoint) {
        CRect window;
        TkGetWindowRect(m_pBar, window);
        at = window.TopLeft();
    }
    if (!manager->FloatCommandBar(m_pBar)) return 0;
    const CSize size = m_pBar->CalcDynamicLayout(0, kFloatingMode);
    m_rcWindow = CRect(at, size);
    if (m_pBar->GetSafeHwnd())
        ::SetWindowPos(m_pBar->m_hWnd, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    return 1;
}
