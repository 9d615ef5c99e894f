#include "commandbars/TkCommandBars.h"

#include "afxmdi.h"
#include "commandbars/TkCommandBar.h"
#include "commandbars/TkDockBar.h"
#include "commandbars/TkHooks.h"
#include "commandbars/TkMenuBar.h"
#include "commandbars/TkMenuSound.h"
#include "commandbars/TkRefHolder.h"
#include "commandbars/TkToolBar.h"
#include "controls/TkControlEdit.h"
#include "customize/TkCustomizeDrag.h"
#include "customize/TkCustomizePages.h"
#include "customize/TkCustomizeSheet.h"
#include "images/TkIconStore.h"
#include "painters/TkColors.h"
#include "painters/TkThemePainter.h"

#include <set>

IMPLEMENT_DYNCREATE(CTkCommandBars, CCmdTarget)
IMPLEMENT_DYNCREATE(CTkToolbarsMenuItem, CTkControlButton)

namespace {

// Whether the window is one of the toolkit's edit boxes hosted on a bar.
CWnd* BarEditOf(HWND hwnd) {
    return hwnd ? dynamic_cast<CTkEdit*>(CWnd::FromHandlePermanent(hwnd)) : nullptr;
}

// Bar flags of the program's bars: every side and floating, hiding what does not fit; the menu
// bar also stretches over its row.
const int kToolBarFlags = 0x3F;
const int kMenuBarFlags = 0x5F;
// Toolbar windows: child, visible, docked at the top, gripper and tooltips.
const DWORD kToolBarStyle = WS_CHILD | WS_VISIBLE | 0x2000 | TK_BAR_STYLE_GRIPPER | TK_BAR_STYLE_TOOLTIPS;
// The child ids the toolbars' windows get.
const UINT kFirstToolBarId = 0xE800;

// Opens a context menu to the left of its point.
const int kPopupToTheLeft = 0x1;

}  // namespace

CTkCommandBars::CTkCommandBars()
    : m_pSettings(TkAdoptRef(new CTkCommandBarsSettings(this))),
      m_pDragSource(std::make_unique<CTkControlDragSource>(this)) {
    m_pControlDragSource = m_pDragSource.get();
}

CTkCommandBars::~CTkCommandBars() {
    // The references are let go in this order, before the members themselves go.
    m_pSelectedControl.Reset();
    m_pReferencedTarget.Reset();
    std::vector<CTkRef<CTkCommandBar>> bars;
    bars.swap(m_bars);
    m_pMenuBar = nullptr;
    for (CTkRef<CTkCommandBar>& bar : bars) {
        if (bar->m_pManager == this) bar->m_pManager = nullptr;
        bar.Reset();
    }
    DeleteDockBars();
    m_pPainter.Reset();
    m_pIconStore.Reset();
    if (m_hAccelTable) ::DestroyAcceleratorTable(m_hAccelTable);
    CTkMenuSoundPlayer::Instance().Stop();
    m_pSettings->m_pCommandBars = nullptr;
    m_pSettings.Reset();
    m_pControlDragSource = nullptr;
    m_pDragSource.reset();
}

// ---------------------------------------------------------------------------------------------
// Settings, painter, icons.

void CTkCommandBars::SetPainter(CTkThemePainter* painter) {
    m_pPainter.Reset(painter);
}

void CTkCommandBars::SetIconStore(CTkIconStore* store) {
    m_pIconStore.Reset(store);
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

void CTkCommandBars::OnUserBarHidden(CTkCommandBar*) {
    auto* sheet = dynamic_cast<CTkCustomizeSheet*>(m_pCustomizeSheet);
    if (!sheet || !sheet->GetSafeHwnd()) return;
    CTkCustomizeToolbarsPage* page = sheet->GetToolbarsPage();
    if (page && page->GetSafeHwnd()) page->RefreshList();
}

int CTkCommandBars::GetContextId() const {
    auto* frame = dynamic_cast<CMDIFrameWnd*>(m_pSite);
    if (!frame || !frame->GetSafeHwnd()) return 0;
    HWND active = frame->MDIGetActiveHwnd();
    if (!active) return (int)m_nMenuResourceId;
    // The document type of the active child names its menu.
    auto* child = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(active));
    return child ? (int)child->m_nIDResource : 0;
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

CTkRef<CTkToolBar> CTkCommandBars::NewToolBar(CRuntimeClass* runtimeClass, const char* caption, int flags,
                                              int position) {
    if (!runtimeClass) runtimeClass = RUNTIME_CLASS(CTkToolBar);
    CObject* object = runtimeClass->CreateObject();
    auto* created = dynamic_cast<CTkToolBar*>(object);
    if (!created) {
        delete object;
        return {};
    }
    CTkRef<CTkToolBar> bar = TkAdoptRef(created);
    bar->m_pManager = this;
    bar->m_strTitle = caption ? caption : "";
    bar->EnableDocking(flags);
    if (!CreateToolBarWindow(bar)) {
        bar->m_pManager = nullptr;
        return {};
    }
    PlaceBar(bar, position);
    return bar;
}

bool CTkCommandBars::CreateToolBarWindow(CTkToolBar* bar) {
    return m_pSite && m_pSite->GetSafeHwnd() &&
           bar->Create(kToolBarStyle, m_pSite, kFirstToolBarId + (UINT)m_bars.size());
}

void CTkCommandBars::PlaceBar(CTkToolBar* bar, int position) {
    if (bar->SetPosition(position)) return;
    if (position == TK_BAR_POSITION_FLOATING) bar->SetFloatingMode(m_pSite, true);
    bar->m_nPosition = position;
}

CTkToolBar* CTkCommandBars::CreateMenuBar(const char* caption, UINT menuId, CRuntimeClass* runtimeClass) {
    CTkRef<CTkToolBar> bar = NewToolBar(runtimeClass, caption, kMenuBarFlags, TK_BAR_POSITION_TOP);
    if (!bar) return nullptr;
    bar->m_nBarId = 1;
    // A menu bar loads its menu itself: it also takes the frame's menu key and native menu.
    if (auto* menuBar = dynamic_cast<CTkMenuBar*>(bar.Get())) {
        menuBar->LoadMenu(menuId);
    } else if (menuId) {
        if (HMENU menu = LoadMenuFromResource(menuId)) {
            bar->BuildFromMenu(menu, true);
            ::DestroyMenu(menu);
        }
    }
    if (menuId) {
        bar->GetControls()->KeepOriginal();
        m_nMenuResourceId = menuId;
    }
    AppendBar(bar);
    m_pMenuBar = bar;
    return bar;
}

CTkToolBar* CTkCommandBars::AddBar(const char* caption, int position, CRuntimeClass* runtimeClass) {
    CTkRef<CTkToolBar> bar = NewToolBar(runtimeClass, caption, kToolBarFlags, position);
    if (!bar) return nullptr;
    AppendBar(bar);
    return bar;
}

CTkToolBar* CTkCommandBars::AddUserBar(const char* caption, UINT id, bool floating) {
    CTkRef<CTkToolBar> bar = TkAdoptRef(new CTkToolBar);
    bar->m_pManager = this;
    CTkPopupBarRequest request;
    request.pBar = bar;
    request.bFloating = floating ? 1 : 0;
    request.pszCaption = caption;
    request.nId = (int)id;
    if (m_pSite && m_pSite->GetSafeHwnd()) m_pSite->SendMessage(TK_WM_POPUPBAR_CREATE, 0, (LPARAM)&request);
    bar->m_strTitle = caption ? caption : "";
    bar->EnableDocking(bar->m_dwFlags ? bar->m_dwFlags : kToolBarFlags);
    if (!CreateToolBarWindow(bar)) {
        bar->m_pManager = nullptr;
        return nullptr;
    }
    PlaceBar(bar, floating ? TK_BAR_POSITION_FLOATING : TK_BAR_POSITION_TOP);
    AppendBar(bar);
    bar->m_nBarId = id;
    bar->m_bUserToolbar = 1;
    bar->m_bTearOff = floating ? 1 : 0;
    if (!floating) RecalcFrameLayout();
    return bar;
}

CTkCommandBar* CTkCommandBars::GetBar(int index) const {
    return index >= 0 && index < GetCount() ? m_bars[(size_t)index].Get() : nullptr;
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
    bar->m_pManager = this;
    m_bars.push_back(CTkRef<CTkCommandBar>(bar));
}

void CTkCommandBars::RemoveBar(CTkCommandBar* bar) {
    const int index = FindIndex(bar);
    if (index < 0) return;
    if (bar->GetSafeHwnd()) bar->ShowWindow(SW_HIDE);
    bar->m_bVisible = 0;
    RecalcFrameLayout();
    bar->SetPosition(TK_BAR_POSITION_NONE);
    // The list's reference goes last, once nothing of the manager points at the bar.
    CTkRef<CTkCommandBar> removed = std::move(m_bars[(size_t)index]);
    m_bars.erase(m_bars.begin() + index);
    if (m_pMenuBar == bar) m_pMenuBar = nullptr;
    if (m_pSelectedControl && m_pSelectedControl->GetParentBar() == bar) SetSelectedControl(nullptr);
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
    m_pSelectedControl.Reset(control);
    if (control)
        if (CTkCommandBar* bar = control->GetParentBar())
            if (bar->GetSafeHwnd()) bar->Invalidate(false);
    CWnd* target = m_pCustomizeSheet && m_pCustomizeSheet->GetSafeHwnd() ? m_pCustomizeSheet : m_pSite;
    if (target && target->GetSafeHwnd()) target->SendMessage(TK_WM_SELECTED_CONTROL_CHANGED, (WPARAM)control);
}

// ---------------------------------------------------------------------------------------------
// The Toolbars menu and the toolbar popups.

CTkToolbarsMenuItem::CTkToolbarsMenuItem() {
    m_nFlags = TK_CONTROL_FLAG_NO_UPDATE;
}

void CTkToolbarsMenuItem::Execute() {
    CTkCommandBar* parent = GetParentBar();
    CTkCommandBars* manager = parent ? parent->GetManager() : nullptr;
    const int index = m_nUserValue;
    const CTkCommandBar* bar = m_pBar;
    CHoldRef holdManager(manager);
    CTkControlButton::Execute();  // id 0: closes the menu and sends nothing
    if (manager && bar && manager->GetBar(index) == bar) manager->ToggleBarVisible(index);
}

void CTkToolbarsMenuItem::Copy(const CTkControl* from, bool recursive) {
    CTkControlButton::Copy(from, recursive);
    if (auto* item = dynamic_cast<const CTkToolbarsMenuItem*>(from)) m_pBar = item->m_pBar;
}

bool CTkCommandBars::IsListedInToolbarsMenu(const CTkCommandBar* bar) {
    if (bar->m_nBarType != TK_BAR_TYPE_TOOLBAR || !bar->m_bCloseButton) return false;
    auto* toolbar = dynamic_cast<const CTkToolBar*>(bar);
    return !toolbar || toolbar->m_bInToolbarsMenu;
}

CTkCommandBar* CTkCommandBars::BuildToolbarsMenu() {
    CTkCommandBar* menu = CreateDefaultPopupBar();
    if (!menu) return nullptr;
    for (int index = 0; index < GetCount(); ++index) {
        CTkCommandBar* bar = m_bars[(size_t)index];
        if (!IsListedInToolbarsMenu(bar)) continue;
        auto* item = new CTkToolbarsMenuItem;
        item->m_pBar = bar;
        item->m_nUserValue = index;
        item->m_strCaption = bar->m_strTitle;
        item->m_bChecked = bar->IsVisible() ? 1 : 0;
        menu->GetControls()->Append(item);
    }
    if (m_bCustomizationEnabled && !m_bars.empty())
        if (CTkControl* customize = menu->GetControls()->AddNew(TK_CONTROL_TYPE_BUTTON, TK_ID_CUSTOMIZE))
            customize->m_bBeginGroup = 1;
    return menu;
}

void CTkCommandBars::ShowToolbarsMenu(int x, int y) {
    if (m_bCustomizeMode) return;
    CHoldRef hold(this);
    CTkRef<CTkCommandBar> menu = TkAdoptRef(BuildToolbarsMenu());
    if (!menu) return;
    if (menu->GetControls()->GetCount() > 0) RunPopup(menu, x, y, 0, CRect());
}

bool CTkCommandBars::RunPopup(CTkCommandBar* popup, int x, int y, int popupFlags, const RECT& excludeRect) {
    CHoldRef holdManager(this);
    CHoldRef holdPopup(popup);
    if (!popup->PopupAt(x, y, popupFlags, excludeRect)) return false;
    const HWND frame = m_pSite ? m_pSite->GetSafeHwnd() : nullptr;
    while (popup->m_nTrackingMode && popup->GetSafeHwnd() && (!frame || ::IsWindow(frame))) {
        MSG msg;
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            // The program is ending: the loop that runs the program must see the quit too.
            ::PostQuitMessage(got == 0 ? (int)msg.wParam : 0);
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    if (popup->m_nTrackingMode) {
        CTkMouseTracker::ForThread().CloseTracked();
        if (popup->m_nTrackingMode) popup->SetTrackingMode(TK_TRACKING_NONE, true, false);
    }
    return true;
}

int CTkCommandBars::TrackPopupMenu(CTkCommandBar* popup, UINT flags, int x, int y, CWnd* owner,
                                   const RECT* excludeRect) {
    if (!popup) return 0;
    CHoldRef holdManager(this);
    CHoldRef hold(popup);
    CTkMouseTracker::ForThread().CloseTracked();
    ::ReleaseCapture();
    int command = 0;
    if (!popup->m_pManager) popup->m_pManager = this;
    popup->m_pReturnCommand = (flags & TK_TPM_RETURNCMD) ? &command : nullptr;
    CWnd* target = owner ? owner : m_pSite;
    popup->m_hwndCommandTarget = target ? target->GetSafeHwnd() : nullptr;
    popup->m_bRightButtonAsLeft = (flags & TK_TPM_RIGHTBUTTON) ? 1 : 0;
    popup->m_bNoCommandUpdate = (flags & TK_TPM_NONOTIFY) ? 1 : 0;
    const CRect exclude = excludeRect ? CRect(*excludeRect) : CRect();
    const bool opened = RunPopup(popup, x, y, (flags & TK_TPM_RIGHTALIGN) ? kPopupToTheLeft : 0, exclude);
    popup->m_pReturnCommand = nullptr;
    if (!opened) return 0;
    return (flags & TK_TPM_RETURNCMD) ? command : 1;
}

void CTkCommandBars::FillRowOverflowPopup(CTkCommandBar* bar, CTkCommandBar* popup) {
    if (!popup) return;
    for (CTkCommandBar* rowBar : RowOf(bar))
        for (int i = 0; i < rowBar->GetControls()->GetCount(); ++i) {
            CTkControl* control = rowBar->GetControl(i);
            if (control->m_nHideFlags != TK_CONTROL_HIDE_WRAP) continue;
            if (CTkControl* copy = popup->GetControls()->InsertCopy(control, -1, true)) {
                copy->m_nHideFlags = 0;
                copy->m_bBeginGroup = 0;
            }
        }
}

void CTkCommandBars::FillToolbarOptionsPopup(CTkCommandBar* bar, CTkCommandBar* popup) {
    if (!popup) return;
    for (CTkCommandBar* rowBar : RowOf(bar)) {
        CTkControl* item = popup->GetControls()->AddNew(TK_CONTROL_TYPE_POPUP, 0);
        if (!item) continue;
        item->m_strCaption = rowBar->m_strTitle;
        item->m_nFlags = TK_CONTROL_FLAG_NO_UPDATE;
        auto* toolbar = dynamic_cast<CTkToolBar*>(rowBar);
        const bool editable = m_bCustomizationEnabled && toolbar && !toolbar->m_bUserToolbar && toolbar->IsCustomizable();
        item->m_bEnabled = editable ? 1 : 0;
        if (editable && item->GetCommandBar()) toolbar->AddHiddenControls(item->GetCommandBar());
    }
    if (m_bCustomizationEnabled)
        if (CTkControl* customize = popup->GetControls()->AddNew(TK_CONTROL_TYPE_BUTTON, TK_ID_CUSTOMIZE))
            customize->m_bBeginGroup = 1;
}

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
                // A unique mnemonic opens its title's popup; a shared one only makes the first hot.
                m_pMenuBar->SetTrackingMode(TK_TRACKING_ACTIVE, false, true);
                if (ambiguous)
                    m_pMenuBar->SetSelected(found, true);
                else
                    m_pMenuBar->SetPopuped(found, true);
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
    // While popups are tracked the release of Alt never reaches the default handling, which would
    // take it for Alt pressed alone (it never saw the letter of an Alt+letter that opened the menu)
    // and start the system's menu loop. The release comes as WM_KEYUP once the letter was handled.
    const bool altRelease = msg->message == WM_SYSKEYUP || (msg->message == WM_KEYUP && msg->wParam == VK_MENU);
    if (tracked && (msg->message == WM_CONTEXTMENU || altRelease)) return true;
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
