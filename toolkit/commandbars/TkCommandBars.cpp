#include "commandbars/TkCommandBars.h"

#include "commandbars/TkCommandBar.h"
#include "commandbars/TkHooks.h"
#include "images/TkIconStore.h"
#include "painters/TkColors.h"
#include "painters/TkThemePainter.h"

#include <set>

IMPLEMENT_DYNCREATE(CTkCommandBars, CCmdTarget)

namespace {

template <class T>
void Replace(T*& slot, T* value) {
    if (slot == value) return;
    if (value) value->InternalAddRef();
    T* old = slot;
    slot = value;
    if (old) old->InternalRelease();
}

// Whether the window is one of the toolkit's edit boxes hosted on a bar.
CWnd* BarEditOf(HWND hwnd) {
    static CRuntimeClass* editClass = CRuntimeClass::FromName("CTkEdit");
    if (!editClass) editClass = CRuntimeClass::FromName("CTkEdit");
    CWnd* wnd = hwnd ? CWnd::FromHandlePermanent(hwnd) : nullptr;
    return wnd && editClass && wnd->GetRuntimeClass()->IsDerivedFrom(editClass) ? wnd : nullptr;
}

}  // namespace

CTkCommandBars::CTkCommandBars() : m_pSettings(new CTkCommandBarsSettings(this)) {}

CTkCommandBars::~CTkCommandBars() {
    Replace<CTkControl>(m_pSelectedControl, nullptr);
    if (m_pReferencedTarget) m_pReferencedTarget->InternalRelease();
    m_pReferencedTarget = nullptr;
    std::vector<CTkCommandBar*> bars;
    bars.swap(m_bars);
    m_pMenuBar = nullptr;
    for (CTkCommandBar* bar : bars) {
        if (bar->m_pManager == this) bar->m_pManager = nullptr;
        bar->InternalRelease();
    }
    DeleteDockBars();
    Replace<CTkThemePainter>(m_pPainter, nullptr);
    Replace<CTkIconStore>(m_pIconStore, nullptr);
    if (m_hAccelTable) ::DestroyAcceleratorTable(m_hAccelTable);
    m_pSettings->m_pCommandBars = nullptr;
    m_pSettings->InternalRelease();
}

// ---------------------------------------------------------------------------------------------
// Settings, painter, icons.

void CTkCommandBars::SetPainter(CTkThemePainter* painter) {
    Replace(m_pPainter, painter);
}

void CTkCommandBars::SetIconStore(CTkIconStore* store) {
    Replace(m_pIconStore, store);
}

CTkThemePainter* CTkCommandBars::GetPaintManager() const {
    return m_pPainter ? m_pPainter : CTkThemePainter::GetCurrent();
}

CTkIconStore* CTkCommandBars::GetImageManager() const {
    return m_pIconStore ? m_pIconStore : &CTkIconStore::Global();
}

bool CTkCommandBars::IsCommandHidden(UINT id) const {
    return m_pSettings->IsCommandHidden(id);
}

void CTkCommandBars::ResetUsageData() {
    m_pSettings->ResetUsageData();
}

void CTkCommandBars::OnCommandExecuted(UINT id) {
    if (IsCommandHidden(id)) m_pSettings->m_mapUsedCommands[id] = 1;
}

void CTkCommandBars::SetAccelTable(HACCEL accel) {
    if (m_hAccelTable && m_hAccelTable != accel) ::DestroyAcceleratorTable(m_hAccelTable);
    m_hAccelTable = accel;
}

int CTkCommandBars::GetContextId() const {
    return 0;
}

// ---------------------------------------------------------------------------------------------
// The frame and the bar list.

void CTkCommandBars::AttachFrame(CWnd* frame) {
    m_pSite = frame;
    m_bCustomizationEnabled = 0;
    if (frame && frame->GetSafeHwnd()) {
        AFX_CMDHANDLERINFO info = {};
        m_bCustomizationEnabled = frame->OnCmdMsg(TK_ID_CUSTOMIZE, CN_COMMAND, &info) ? 1 : 0;
    }
}

CTkCommandBar* CTkCommandBars::GetBar(int index) const {
    return index >= 0 && index < GetCount() ? m_bars[(size_t)index] : nullptr;
}

int CTkCommandBars::FindIndex(const CTkCommandBar* bar) const {
    for (size_t i = 0; i < m_bars.size(); ++i)
        if (m_bars[i] == bar) return (int)i;
    return -1;
}

CTkCommandBar* CTkCommandBars::FindBar(UINT id) const {
    if (id == 0) return nullptr;
    for (CTkCommandBar* bar : m_bars)
        if (bar->m_nBarId == id) return bar;
    return nullptr;
}

void CTkCommandBars::AppendBar(CTkCommandBar* bar) {
    if (!bar || FindIndex(bar) >= 0) return;
    bar->InternalAddRef();
    bar->m_pManager = this;
    m_bars.push_back(bar);
}

void CTkCommandBars::RemoveBar(CTkCommandBar* bar) {
    const int index = FindIndex(bar);
    if (index < 0) return;
    if (bar->GetSafeHwnd()) bar->ShowWindow(SW_HIDE);
    bar->m_bVisible = 0;
    RecalcFrameLayout();
    bar->SetPosition(TK_BAR_POSITION_NONE);
    m_bars.erase(m_bars.begin() + index);
    if (m_pMenuBar == bar) m_pMenuBar = nullptr;
    if (m_pSelectedControl && m_pSelectedControl->GetParentBar() == bar) SetSelectedControl(nullptr);
    bar->InternalRelease();
}

void CTkCommandBars::ToggleBarVisible(int index) {
    CTkCommandBar* bar = GetBar(index);
    if (!bar) return;
    bar->SetVisible(!bar->IsVisible());
    RecalcFrameLayout();
}

CTkControl* CTkCommandBars::FindControl(int type, int id, bool visibleOnly, bool recursive) const {
    std::set<const CTkCommandBar*> visited;
    for (CTkCommandBar* bar : m_bars) {
        if (visibleOnly && !bar->IsVisible()) continue;
        // Depth first, in control order: the popups of a control are searched before the
        // controls after it; a bar reached twice (shared popups, cycles) is searched once.
        std::vector<std::pair<const CTkCommandBar*, int>> stack;
        if (!visited.insert(bar).second) continue;
        stack.emplace_back(bar, 0);
        while (!stack.empty()) {
            auto& top = stack.back();
            CTkControl* control = top.first->GetControl(top.second++);
            if (!control) {
                stack.pop_back();
                continue;
            }
            if ((type == 0 || control->m_nType == type) && (id == -1 || control->m_nId == id) &&
                (!visibleOnly || control->m_nHideFlags == 0))
                return control;
            if (recursive && control->IsPopupType())
                if (CTkCommandBar* child = control->GetCommandBar())
                    if (visited.insert(child).second) stack.emplace_back(child, 0);
        }
    }
    return nullptr;
}

void CTkCommandBars::RecalcFrameLayout() {
    if (m_bLayoutLocked || !m_pSite || !m_pSite->GetSafeHwnd()) return;
    if (auto* frame = dynamic_cast<CFrameWnd*>(m_pSite)) frame->RecalcLayout();
}

void CTkCommandBars::RecalcAll() {
    m_bLayoutLocked = 1;
    for (CTkCommandBar* bar : m_bars)
        if (bar->IsVisible()) bar->OnRecalcLayout();
    m_bLayoutLocked = 0;
    RecalcFrameLayout();
}

// ---------------------------------------------------------------------------------------------
// Customise mode.

void CTkCommandBars::SetCustomizeMode(bool on) {
    m_bCustomizeMode = on ? 1 : 0;
    SetSelectedControl(nullptr);
    for (CTkCommandBar* bar : m_bars) {
        if (!bar->GetSafeHwnd()) continue;
        bar->ResetTracking();
        bar->Invalidate(false);
        bar->OnRecalcLayout();
    }
    RecalcFrameLayout();
}

void CTkCommandBars::SetCustomizeModeQuick(bool on) {
    m_bCustomizeMode = m_bQuickCustomizeMode = on ? 1 : 0;
    SetSelectedControl(nullptr);
}

void CTkCommandBars::SetSelectedControl(CTkControl* control) {
    if (control == m_pSelectedControl) return;
    if (m_pSelectedControl)
        if (CTkCommandBar* bar = m_pSelectedControl->GetParentBar())
            if (bar->GetSafeHwnd()) bar->Invalidate(false);
    Replace(m_pSelectedControl, control);
    if (control)
        if (CTkCommandBar* bar = control->GetParentBar())
            if (bar->GetSafeHwnd()) bar->Invalidate(false);
    CWnd* target = m_pCustomizeSheet && m_pCustomizeSheet->GetSafeHwnd() ? m_pCustomizeSheet : m_pSite;
    if (target && target->GetSafeHwnd()) target->SendMessage(TK_WM_SELECTED_CONTROL_CHANGED, (WPARAM)control);
}

// ---------------------------------------------------------------------------------------------
// The Toolbars menu and the toolbar popups.

void CTkCommandBars::ShowToolbarsMenu(int, int) {}

CTkCommandBar* CTkCommandBars::BuildToolbarsMenu() {
    return nullptr;
}

void CTkCommandBars::FillRowOverflowPopup(CTkCommandBar*, CTkCommandBar*) {}

void CTkCommandBars::FillToolbarOptionsPopup(CTkCommandBar*, CTkCommandBar*) {}

// ---------------------------------------------------------------------------------------------
// The frame's messages.

bool CTkCommandBars::ArePopupsTracked() {
    const auto& tracked = CTkMouseTracker::ForThread().GetTrackedBars();
    if (tracked.empty()) return false;
    for (ITkTrackedBar* bar : tracked)
        if (!bar) return false;
    return true;
}

bool CTkCommandBars::FilterFrameMessage(MSG* msg) {
    CTkMouseTracker& tracker = CTkMouseTracker::ForThread();
    const bool tracked = ArePopupsTracked();
    if (!tracked && !tracker.IsModalLoopRunning() && msg->message == WM_SYSKEYDOWN && (msg->lParam & 0x20000000) &&
        m_pMenuBar && m_pMenuBar->GetSafeHwnd() && m_pSite && m_pSite->GetSafeHwnd() &&
        ::GetActiveWindow() == m_pSite->GetSafeHwnd() && (!m_bShiftGuard || ::GetKeyState(VK_SHIFT) >= 0)) {
        const UINT character = ::MapVirtualKeyA((UINT)msg->wParam, MAPVK_VK_TO_CHAR) & 0xFFFF;
        if (character) {
            bool ambiguous = false;
            const int found = m_pMenuBar->FindMnemonic((char)character, &ambiguous);
            if (found >= 0) {
                if (ambiguous) {
                    m_pMenuBar->SetTrackingMode(1, false, true);
                    m_pMenuBar->SetSelected(found, true);
                } else {
                    m_pMenuBar->SetTrackingMode(1, false, true);
                    m_pMenuBar->SetPopuped(found, true);
                }
                return true;
            }
        }
    }
    const bool editKey = ((msg->message == WM_KEYDOWN || msg->message == WM_KEYUP) &&
                          (msg->wParam == VK_TAB || msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE)) ||
                         msg->message == WM_CHAR;
    if (editKey && BarEditOf(::GetFocus())) {
        ::TranslateMessage(msg);
        ::DispatchMessageW(msg);
        return true;
    }
    if (tracked && (msg->message == WM_CONTEXTMENU || msg->message == WM_SYSKEYUP)) return true;
    if (msg->message == WM_MOUSEWHEEL && CTkKeyboardHook::ForThread().HasSinks()) {
        CTkKeyboardHook::ForThread().RouteKey(msg->message, msg->wParam, msg->lParam);
        return true;
    }
    return false;
}

bool CTkCommandBars::HandleFrameMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    switch (message) {
    case WM_CLOSE:
        if (m_pCustomizeSheet && m_pCustomizeSheet->GetSafeHwnd()) {
            if (result) *result = 0;
            return true;
        }
        break;
    case WM_SYSCOLORCHANGE:
        CTkSysColors::Instance().Refresh();
        GetImageManager()->RefreshDerivedImages();
        // fall through: the metrics and the layout follow the colours
    case WM_SETTINGCHANGE:
        GetPaintManager()->RefreshColorsAndFonts();
        RecalcFrameLayout();
        if (m_pSite && m_pSite->GetSafeHwnd())
            ::RedrawWindow(m_pSite->GetSafeHwnd(), nullptr, nullptr,
                           RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        break;
    case WM_COMMAND:
        if (CWnd* edit = BarEditOf(::GetFocus()))
            if (edit->OnCmdMsg(LOWORD(wParam), CN_COMMAND, nullptr)) {
                if (result) *result = 1;
                return true;
            }
        break;
    case WM_IDLEUPDATECMDUI:
        for (size_t i = 0; i < m_bars.size(); ++i)
            if (m_bars[i]->m_nPosition == TK_BAR_POSITION_FLOATING) m_bars[i]->UpdateCommandUI(wParam != 0);
        break;
    default:
        break;
    }
    if (ArePopupsTracked()) {
        const bool close =
            (message == WM_ACTIVATEAPP && wParam == 0) ||
            (message == WM_COMMAND && (wParam == 0 || (LOWORD(wParam) != 0 && HIWORD(wParam) == 0))) ||
            (message == WM_SYSCOMMAND && (wParam & 0xFFF0) != SC_KEYMENU && (wParam == 0 || LOWORD(wParam) != 0) &&
             !m_bCustomizeMode);
        if (close) CTkMouseTracker::ForThread().CloseTracked();
    }
    (void)lParam;
    return false;
}

// ---------------------------------------------------------------------------------------------
// Resource helpers.

int CTkCommandBars::MessageBoxFromResource(UINT stringId, UINT type) {
    return AfxMessageBox(stringId, type);
}

HMENU CTkCommandBars::LoadMenuFromResource(UINT menuId) {
    return ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(menuId));
}
