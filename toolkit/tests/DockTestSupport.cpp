#include "DockTestSupport.h"

#include "painters/TkDrawTools.h"

#include <algorithm>

CSize CTkFixedToolBar::CalcDockingLayout(int length, DWORD mode, int minimum) {
    calls.push_back(CCall{length, mode, minimum});
    CSize size = full;
    if (mode & TK_LAYOUT_HIDE_WRAP) size.cx = std::max(least, std::min((int)full.cx, length));
    if (!(mode & TK_LAYOUT_HORZ_DOCK)) std::swap(size.cx, size.cy);
    return size;
}

CSize CTkFixedToolBar::CalcDynamicLayout(int length, DWORD mode) {
    const int buttons = std::max(1, (int)full.cx / 20);
    int columns = buttons;
    if (length > 0 && (mode & TK_LAYOUT_LENGTH_IS_HEIGHT)) {
        const int rows = std::min(buttons, std::max(1, length / 20));
        columns = (buttons + rows - 1) / rows;
    } else if (length > 0) {
        columns = std::min(buttons, std::max(1, length / 20));
    } else if ((mode & TK_LAYOUT_MRU_WIDTH) && m_nMRUWidth < 32767) {
        columns = std::min(buttons, std::max(1, m_nMRUWidth / 20));
    }
    const int rows = (buttons + columns - 1) / columns;
    return CSize(columns * 20, rows * 20);
}

CTkDockScene::~CTkDockScene() {
    for (CTkFixedToolBar* bar : bars) {
        if (bar->m_pDockBar) bar->m_pDockBar->RemoveBar(bar);
        bar->m_pDockBar = nullptr;
        if (bar->GetSafeHwnd()) bar->DestroyWindow();
        bar->InternalRelease();
    }
    if (frame && frame->GetSafeHwnd()) frame->DestroyWindow();
    if (manager) manager->InternalRelease();
}

bool CTkDockScene::Create(const RECT& client) {
    CRect outer(client);
    ::AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, FALSE, 0);
    frame = new CFrameWnd;
    if (!frame->CreateEx(0, nullptr, "dock test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, outer.left, outer.top,
                         outer.Width(), outer.Height(), nullptr, nullptr)) {
        delete frame;
        frame = nullptr;
        return false;
    }
    // The frame's client area is where the tests expect it, whatever the frame's decoration.
    CRect got;
    frame->GetClientRect(&got);
    view = new CWnd;
    view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), frame, AFX_IDW_PANE_FIRST);
    manager = new CTkCommandBars;
    manager->AttachFrame(frame);
    manager->EnableDocking();
    Layout();
    return got.Width() == client.right - client.left && got.Height() == client.bottom - client.top;
}

CTkFixedToolBar* CTkDockScene::NewBar(CSize size, int flags) {
    auto* bar = new CTkFixedToolBar;
    bar->full = size;
    bar->least = size.cx;
    bar->m_pManager = manager;
    bar->Create(WS_CHILD | WS_VISIBLE, frame, 0xE820 + (UINT)bars.size());
    bar->EnableDocking(flags);
    bars.push_back(bar);
    return bar;
}

CTkFixedToolBar* CTkDockScene::AddBar(CTkDockBar* dockBar, CSize size, int along, bool intoFirstRow) {
    CTkFixedToolBar* bar = NewBar(size);
    const CSize docked = dockBar->IsHorizontal() ? size : CSize(size.cy, size.cx);
    const CRect client = dockBar->IsHorizontal() ? CRect(CPoint(along, 0), docked) : CRect(CPoint(0, along), docked);
    if (intoFirstRow) {
        Layout();
        CRect screen = ScreenRectInDock(dockBar, client);
        dockBar->DockBarAt(bar, &screen);
    } else {
        dockBar->DockBarAt(bar, nullptr);
        bar->GetDragTracker()->m_rcLastDock = client;
    }
    bar->m_nPosition = dockBar->GetDockSide();
    Layout();
    return bar;
}

void CTkDockScene::Layout() {
    frame->RecalcLayout();
}

CRect CTkDockScene::PlaceInDock(CWnd* bar) const {
    CRect rect;
    TkGetWindowRect(bar, rect);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(bar->m_hWnd), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

CRect CTkDockScene::PlaceInFrame(CWnd* child) const {
    CRect rect;
    TkGetWindowRect(child, rect);
    frame->ScreenToClient(&rect);
    return rect;
}

CRect CTkDockScene::ScreenRectInDock(CTkDockBar* dockBar, const CRect& client) const {
    CRect rect(client);
    ::MapWindowPoints(dockBar->m_hWnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
