// The manager's side of docking: the four dock bars of its frame, the dock bar a dragged bar
// falls into, and docking and floating a toolbar on request of its drag tracker or position.
#include "commandbars/TkCommandBars.h"

#include "commandbars/TkDockBar.h"
#include "commandbars/TkToolBar.h"
#include "painters/TkDrawTools.h"

#include <algorithm>

namespace {

struct CDockBarPlace {
    UINT id;
    DWORD style;
};
// Top, bottom, left, right: the class library's dock bar ids and the side and border styles.
const CDockBarPlace kDockBarPlaces[4] = {
    {59419, TK_DOCK_STYLE_TOP | TK_DOCK_STYLE_BORDER_BOTTOM},
    {59422, TK_DOCK_STYLE_BOTTOM | TK_DOCK_STYLE_BORDER_TOP},
    {59420, TK_DOCK_STYLE_LEFT | TK_DOCK_STYLE_BORDER_RIGHT},
    {59421, TK_DOCK_STYLE_RIGHT | TK_DOCK_STYLE_BORDER_LEFT},
};

// How near to a dock bar a dragged bar's point docks it.
const int kDockReach = 20;

}  // namespace

void CTkCommandBars::EnableDocking() {
    for (int side = 0; side < 4; ++side) {
        if (m_pDockBars[side]) continue;
        auto dockBar = std::make_unique<CTkDockBar>(this);
        if (!m_pSite || !dockBar->Create(m_pSite, 0x56000000 | kDockBarPlaces[side].style, kDockBarPlaces[side].id))
            AfxThrowResourceException();
        m_pDockBars[side] = std::move(dockBar);
    }
}

void CTkCommandBars::DeleteDockBars() {
    for (std::unique_ptr<CTkDockBar>& dockBar : m_pDockBars) dockBar.reset();
}

CTkDockBar* CTkCommandBars::FindDockBar(POINT screenPoint, CTkDockBar* current) const {
    auto reaches = [&](CTkDockBar* dockBar) {
        if (!dockBar || !dockBar->GetSafeHwnd()) return false;
        CRect rect;
        TkGetWindowRect(dockBar, rect);
        rect.InflateRect(kDockReach, kDockReach);
        return rect.PtInRect(screenPoint) != FALSE;
    };
    if (reaches(current)) return current;
    for (const std::unique_ptr<CTkDockBar>& dockBar : m_pDockBars)
        if (reaches(dockBar.get())) return dockBar.get();
    return nullptr;
}

bool CTkCommandBars::DockCommandBar(CTkToolBar* bar, CTkDockBar* dockBar, const RECT* screenRect) {
    if (!bar || !dockBar || !dockBar->GetSafeHwnd()) return false;
    if (bar->m_nPosition == TK_BAR_POSITION_FLOATING && !bar->SetFloatingMode(m_pSite, false)) return false;
    dockBar->DockBarAt(bar, screenRect);
    bar->m_nPosition = dockBar->GetDockSide();
    bar->DelayLayout();
    return true;
}

bool CTkCommandBars::FloatCommandBar(CTkToolBar* bar) {
    if (!bar) return false;
    if (bar->m_nPosition == TK_BAR_POSITION_FLOATING) return true;
    if (!bar->SetFloatingMode(m_pSite, true)) return false;
    if (CTkDockBar* dockBar = bar->m_pDockBar) dockBar->RemoveBar(bar);
    bar->m_pDockBar = nullptr;
    bar->m_nPosition = TK_BAR_POSITION_FLOATING;
    bar->DelayLayout();
    return true;
}

std::vector<CTkCommandBar*> CTkCommandBars::RowOf(CTkCommandBar* bar) const {
    auto* toolbar = dynamic_cast<CTkToolBar*>(bar);
    std::vector<CTkToolBar*> rowBars;
    if (toolbar && toolbar->m_pDockBar) toolbar->m_pDockBar->GetRowBars(toolbar->m_pDockBar->FindBar(toolbar), rowBars);
    // A bar that is not docked, or that its dock bar does not hold, is a row of its own.
    if (std::find(rowBars.begin(), rowBars.end(), toolbar) == rowBars.end())
        return bar ? std::vector<CTkCommandBar*>{bar} : std::vector<CTkCommandBar*>{};
    return std::vector<CTkCommandBar*>(rowBars.begin(), rowBars.end());
}
