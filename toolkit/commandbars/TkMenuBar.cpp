#include "commandbars/TkMenuBar.h"

#include "commandbars/TkBarArchive.h"
#include "commandbars/TkCommandBars.h"
#include "images/TkIconStore.h"
#include "painters/TkThemePainter.h"
#include "res/TkResource.h"

IMPLEMENT_SERIAL(CTkMenuBar, CTkToolBar, TK_ARCHIVE_SCHEMA)
IMPLEMENT_DYNCREATE(CTkControlMdiButton, CTkControlButton)
IMPLEMENT_DYNCREATE(CTkControlMdiSysMenu, CTkControlPopup)

namespace {

// A menu of the resource module, destroyed when the scope ends.
class CResourceMenu {
public:
    explicit CResourceMenu(UINT id) : m_menu(id ? ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id)) : nullptr) {}
    ~CResourceMenu() {
        if (m_menu) ::DestroyMenu(m_menu);
    }
    CResourceMenu(const CResourceMenu&) = delete;
    CResourceMenu& operator=(const CResourceMenu&) = delete;
    HMENU get() const { return m_menu; }

private:
    HMENU m_menu;
};

const int kCaptionControlSize = 16;
// The system commands a child's system menu holds (the range SC_SIZE to SC_CONTEXTHELP).
const UINT kFirstSysCommand = 61440, kLastSysCommand = 61935;

// The active child of the bar a caption control sits on; none when it is gone.
HWND ActiveChildOf(const CTkControl* control) {
    auto* bar = dynamic_cast<CTkMenuBar*>(control->GetParentBar());
    HWND child = bar ? bar->GetActiveChild() : nullptr;
    return child && ::IsWindow(child) ? child : nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The caption controls of the active MDI child.

CSize CTkControlMdiButton::GetSize(CDC*) {
    return CSize(kCaptionControlSize, kCaptionControlSize);
}

void CTkControlMdiButton::Draw(CDC* dc) {
    GetPainter()->PaintControlFace(dc, this);
    HDC hdc = dc->GetSafeHdc();
    HGDIOBJ oldFont = ::SelectObject(hdc, CTkThemePainter::Fonts().glyph.GetSafeHandle());
    const int oldMode = ::SetBkMode(hdc, TRANSPARENT);
    const COLORREF oldColour = ::SetTextColor(hdc, ::GetSysColor(m_bEnabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    RECT rect = m_rcControl;
    ::DrawTextA(hdc, m_strCaption, m_strCaption.GetLength(), &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::SetTextColor(hdc, oldColour);
    ::SetBkMode(hdc, oldMode);
    ::SelectObject(hdc, oldFont);
}

UINT CTkControlMdiButton::GetSysCommand() const {
    return m_nId == TK_ID_MDI_CLOSE ? SC_CLOSE : m_nId == TK_ID_MDI_RESTORE ? SC_RESTORE : SC_MINIMIZE;
}

void CTkControlMdiButton::Execute() {
    HWND child = ActiveChildOf(this);
    m_nExecuted = 2;
    CTkMouseTracker::ForThread().CloseTracked();
    if (CTkCommandBar* bar = GetParentBar()) bar->SetTrackingMode(TK_TRACKING_NONE, true, false);
    if (child) ::PostMessageW(child, WM_SYSCOMMAND, GetSysCommand(), 0);
}

CTkControlMdiSysMenu::~CTkControlMdiSysMenu() {
    if (m_hIcon) ::DestroyIcon(m_hIcon);
}

CSize CTkControlMdiSysMenu::GetSize(CDC*) {
    return CSize(kCaptionControlSize + 4, kCaptionControlSize + 4);
}

void CTkControlMdiSysMenu::Draw(CDC* dc) {
    GetPainter()->PaintControlFace(dc, this);
    if (!m_hIcon) return;
    const CRect& rect = m_rcControl;
    ::DrawIconEx(dc->GetSafeHdc(), rect.left + (rect.Width() - kCaptionControlSize) / 2,
                 rect.top + (rect.Height() - kCaptionControlSize) / 2, m_hIcon, kCaptionControlSize,
                 kCaptionControlSize, 0, nullptr, DI_NORMAL);
}

void CTkControlMdiSysMenu::Fill(HWND child, HMENU systemMenu) {
    HICON icon = (HICON)::SendMessageW(child, WM_GETICON, ICON_SMALL, 0);
    if (!icon) icon = (HICON)::SendMessageW(child, WM_GETICON, ICON_BIG, 0);
    if (!icon) icon = (HICON)::GetClassLongPtrW(child, GCLP_HICONSM);
    if (!icon) icon = ::LoadIcon(nullptr, IDI_WINLOGO);
    if (m_hIcon) ::DestroyIcon(m_hIcon);
    m_hIcon = icon ? (HICON)::CopyImage(icon, IMAGE_ICON, kCaptionControlSize, kCaptionControlSize, 0) : nullptr;
    m_hSystemMenu = systemMenu;

    CTkCommandBar* bar = GetParentBar();
    if (!m_pChildBar && m_pControls && bar) {
        CTkCommandBar* popup = m_pControls->RequestChildBar(bar->GetSite(), CString(), m_nId);
        if (!popup) return;
        AttachChildBar(TkAdoptRef(popup));
    }
    if (!m_pChildBar) return;
    m_pChildBar->m_bCustomizable = 0;
    CTkControls* items = m_pChildBar->GetControls();
    items->RemoveAllControls();
    const UINT defaultId = ::GetMenuDefaultItem(systemMenu, FALSE, 0);
    const int count = ::GetMenuItemCount(systemMenu);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        MENUITEMINFOA info = {sizeof info};
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_STRING | MIIM_FTYPE;
        info.dwTypeData = text;
        info.cch = sizeof text - 1;
        if (!::GetMenuItemInfoA(systemMenu, i, TRUE, &info)) continue;
        CTkControl* item = nullptr;
        if (info.wID >= kFirstSysCommand && info.wID <= kLastSysCommand && !(info.fType & MFT_SEPARATOR)) {
            item = items->AddNew(TK_CONTROL_TYPE_BUTTON, (int)info.wID);
            if (!item) continue;
            item->m_strCaption = text;
            item->m_bEnabled = (info.fState & (MFS_GRAYED | MFS_DISABLED)) ? 0 : 1;
            item->m_nFlags |= TK_CONTROL_FLAG_NO_UPDATE;
        } else {
            item = items->AddMenuItem(systemMenu, i);
        }
        if (item && defaultId != (UINT)-1 && info.wID == defaultId) item->m_bDefaultItem = 1;
    }
}

// ---------------------------------------------------------------------------------------------
// CTkMenuBar.

CTkMenuBar::CTkMenuBar() {
    m_nBarType = TK_BAR_TYPE_MENUBAR;
}

CTkMenuBar::~CTkMenuBar() {
    CTkSubclassRegistry::Instance().RemoveSinkEverywhere(&m_frameSink);
    ReleaseMenuSets();
    if (m_hNativeMenu) ::DestroyMenu(m_hNativeMenu);
}

void CTkMenuBar::ReleaseMenuSets() {
    std::map<int, CTkRef<CTkControls>> sets;
    sets.swap(m_menuSets);
    for (auto& entry : sets) entry.second.Reset();
}

CTkControls* CTkMenuBar::GetMenuSet(int key) const {
    auto found = m_menuSets.find(key);
    return found == m_menuSets.end() ? nullptr : found->second.Get();
}

void CTkMenuBar::SetMenuSet(int key, CTkControls* controls) {
    CTkRef<CTkControls>& slot = m_menuSets[key];
    if (slot == controls) return;
    CTkRef<CTkControls> old = std::move(slot);
    slot.Attach(controls);
    if (!controls) m_menuSets.erase(key);
}

int CTkMenuBar::LoadMenu(UINT menuId) {
    if (menuId) {
        CResourceMenu menu(menuId);
        if (!menu.get()) return 0;
        BuildFromMenu(menu.get(), true);
    }
    m_nMenuResourceId = menuId;
    m_nCurrentKey = (int)menuId;
    CWnd* site = GetSite();
    HWND frame = site ? site->GetSafeHwnd() : nullptr;
    if (!frame) return 1;
    m_bMdiFrame = ::FindWindowExA(frame, nullptr, "MDIClient", nullptr) != nullptr;
    if (m_hwndFrame && m_hwndFrame != frame) CTkSubclassRegistry::Instance().RemoveSink(m_hwndFrame, &m_frameSink);
    m_hwndFrame = frame;
    if (!CTkSubclassRegistry::Instance().HasSink(frame, &m_frameSink))
        CTkSubclassRegistry::Instance().AddSink(frame, &m_frameSink);
    // An MDI frame: the bar follows the client's children and takes the menus they set.
    HWND client = m_bMdiFrame ? ::FindWindowExA(frame, nullptr, "MDIClient", nullptr) : nullptr;
    if (m_hwndMdiClient && m_hwndMdiClient != client)
        CTkSubclassRegistry::Instance().RemoveSink(m_hwndMdiClient, &m_frameSink);
    m_hwndMdiClient = client;
    if (client && !CTkSubclassRegistry::Instance().HasSink(client, &m_frameSink))
        CTkSubclassRegistry::Instance().AddSink(client, &m_frameSink);
    // The pictures of the window commands, for customising.
    static const UINT windowCommands[] = {SC_RESTORE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE};
    GetIconStore()->AddIconsFromBitmapResource(IDB_TK_MDI_BUTTONS, windowCommands, 4, kCaptionControlSize,
                                               kCaptionControlSize, CTkIconStore::StateNormal);
    if (HMENU native = ::GetMenu(frame)) {
        if (m_hNativeMenu && m_hNativeMenu != native) ::DestroyMenu(m_hNativeMenu);
        m_hNativeMenu = native;
        ::SetMenu(frame, nullptr);
    }
    return 1;
}

void CTkMenuBar::BuildControls(HMENU menu) {
    auto* controls = new CTkControls;
    controls->m_pOwnerManager = GetManager();
    m_pControls->SetOwnerBar(nullptr);
    m_pControls.Attach(controls);
    controls->SetOwnerBar(this);
    BuildFromMenu(menu, true);
    controls->KeepOriginal();
}

void CTkMenuBar::SwitchMenu(HMENU menu) {
    CTkCommandBars* manager = GetManager();
    const int key = menu && menu == m_hNativeMenu ? (int)m_nMenuResourceId : (manager ? manager->GetContextId() : 0);
    if (!key || key == m_nCurrentKey || !menu || ::GetMenuItemCount(menu) <= 0) return;
    SetTrackingMode(TK_TRACKING_NONE, true, false);
    // The child's caption controls belong to no menu: they come back on the new set.
    RemoveCaptionControls();
    if (manager && manager->IsCustomizationEnabled()) {
        // The current set is kept for its menu; the new menu's set comes back out of the map.
        m_pControls->SetOwnerBar(nullptr);
        SetMenuSet(m_nCurrentKey, m_pControls.Detach());
        auto found = m_menuSets.find(key);
        if (found != m_menuSets.end()) {
            m_pControls = std::move(found->second);
            m_menuSets.erase(found);
            m_pControls->SetOwnerBar(this);
        } else {
            m_pControls.Attach(new CTkControls);
            m_pControls->m_pOwnerManager = manager;
            m_pControls->SetOwnerBar(this);
            BuildFromMenu(menu, true);
            m_pControls->KeepOriginal();
        }
    } else {
        BuildFromMenu(menu, true);
    }
    ResetTracking();
    m_nCurrentKey = key;
    RefreshCaptionButtons();
    DelayLayout();
    if (m_hWnd) Invalidate(false);
    OnRecalcLayout();
}

bool CTkMenuBar::RemoveCaptionControls() {
    bool removed = false;
    for (int id : {TK_ID_MDI_SYSMENU, TK_ID_MDI_MINIMIZE, TK_ID_MDI_RESTORE, TK_ID_MDI_CLOSE}) {
        while (CTkControl* control = m_pControls->FindById(id)) {
            m_pControls->RemoveControl(control);
            removed = true;
        }
    }
    return removed;
}

void CTkMenuBar::RefreshCaptionButtons() {
    HWND child = m_hwndActiveChild && ::IsWindow(m_hwndActiveChild) ? m_hwndActiveChild : nullptr;
    const LONG style = child ? ::GetWindowLongW(child, GWL_STYLE) : 0;
    // A child's own caption shows its buttons until it is maximised.
    const bool shown = child && (style & WS_MAXIMIZE);
    HMENU systemMenu = shown && (m_dwFlags & TK_MENUBAR_SYSMENU) ? ::GetSystemMenu(child, FALSE) : nullptr;
    if (systemMenu && !::IsMenu(systemMenu)) systemMenu = nullptr;
    struct CWanted {
        int id;
        bool wanted;
        const char* glyph;
    } const buttons[] = {
        {TK_ID_MDI_MINIMIZE, shown && (style & WS_MINIMIZEBOX) && !(m_dwFlags & TK_MENUBAR_NO_MINIMIZE), "0"},
        {TK_ID_MDI_RESTORE, shown && (style & WS_MAXIMIZEBOX) && !(m_dwFlags & TK_MENUBAR_NO_RESTORE), "2"},
        {TK_ID_MDI_CLOSE, shown && !(m_dwFlags & TK_MENUBAR_NO_CLOSE), "r"},
    };
    auto* sysMenu = dynamic_cast<CTkControlMdiSysMenu*>(m_pControls->FindById(TK_ID_MDI_SYSMENU));
    bool match = systemMenu ? sysMenu != nullptr : m_pControls->FindById(TK_ID_MDI_SYSMENU) == nullptr;
    for (const CWanted& button : buttons) match = match && (m_pControls->FindById(button.id) != nullptr) == button.wanted;
    if (match) {
        if (!systemMenu || sysMenu->GetSystemMenu() == systemMenu) return;
        // The same control shows another child's system menu.
        sysMenu->Fill(child, systemMenu);
    } else {
        RemoveCaptionControls();
        if (systemMenu) {
            auto* control = new CTkControlMdiSysMenu;
            m_pControls->Add(control, TK_ID_MDI_SYSMENU, CString(), 0, true);
            control->m_strCaption = "-";
            control->m_nFlags = TK_CONTROL_FLAG_NO_UPDATE | TK_CONTROL_FLAG_NO_MOVE;
            control->Fill(child, systemMenu);
        }
        for (const CWanted& button : buttons) {
            if (!button.wanted) continue;
            auto* control = new CTkControlMdiButton;
            m_pControls->Add(control, button.id, CString(), -1, true);
            control->m_strCaption = button.glyph;
            control->m_nFlags = TK_CONTROL_FLAG_RIGHT_ALIGN | TK_CONTROL_FLAG_NO_NAVIGATE | TK_CONTROL_FLAG_NO_UPDATE |
                                TK_CONTROL_FLAG_NO_MOVE;
        }
    }
    DelayLayout();
    if (m_hWnd) Invalidate(false);
    OnRecalcLayout();
}

void CTkMenuBar::OnActiveChildTimer() {
    HWND active = m_hwndMdiClient && ::IsWindow(m_hwndMdiClient)
                      ? (HWND)::SendMessageW(m_hwndMdiClient, WM_MDIGETACTIVE, 0, 0)
                      : nullptr;
    if (active != m_hwndActiveChild) {
        CTkSubclassRegistry& registry = CTkSubclassRegistry::Instance();
        // The old child may be gone already, its record with it.
        if (m_hwndActiveChild && registry.HasSink(m_hwndActiveChild, &m_frameSink))
            registry.RemoveSink(m_hwndActiveChild, &m_frameSink);
        m_hwndActiveChild = active;
        if (active && !registry.HasSink(active, &m_frameSink)) registry.AddSink(active, &m_frameSink);
    }
    if (IsVisible()) RefreshCaptionButtons();
}

void CTkMenuBar::OnMdiSetMenu(HMENU menu) {
    SwitchMenu(menu ? menu : m_hNativeMenu);
    if (m_hwndFrame && ::GetMenu(m_hwndFrame)) ::SetMenu(m_hwndFrame, nullptr);
    RefreshCaptionButtons();
}

void CTkMenuBar::PostActiveChildTimer() {
    if (m_hWnd) ::PostMessageW(m_hWnd, WM_TIMER, TK_MDI_CHILD_TIMER, 0);
}

LRESULT CTkMenuBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == TK_MDI_CHILD_TIMER) {
        OnActiveChildTimer();
        return 0;
    }
    return CTkToolBar::WindowProc(message, wParam, lParam);
}

void CTkMenuBar::PrepareForSave() {
    if (!m_menuSets.empty() && m_hNativeMenu) {
        SwitchMenu(m_hNativeMenu);
        m_bSwitchedToDefault = 1;
    }
    for (auto it = m_menuSets.begin(); it != m_menuSets.end();) {
        if (it->second->GetOriginal() && !it->second->IsCustomized()) {
            it = m_menuSets.erase(it);
        } else {
            ++it;
        }
    }
}

void CTkMenuBar::ResetToOriginal() {
    if ((!m_menuSets.empty() || !m_pControls->GetOriginal()) && m_nCurrentKey) {
        CString format, prompt;
        TkLoadString(IDS_TK_RESET_TOOLBAR_PROMPT, format);
        prompt.Format(format, (const char*)m_strTitle);
        if (AfxMessageBox(prompt, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) return;
        CResourceMenu menu((UINT)m_nCurrentKey);
        if (!menu.get()) return;
        BuildControls(menu.get());
    } else if (m_pControls->GetOriginal()) {
        CTkToolBar::ResetToOriginal();
        return;
    } else {
        return;
    }
    OnActiveChildTimer();
    UpdateCommandUI(true);
    if (m_hWnd) Invalidate(false);
    OnRecalcLayout();
}

void CTkMenuBar::Copy(const CTkCommandBar* from, bool recursive) {
    CTkToolBar::Copy(from, recursive);
    const auto* menuBar = dynamic_cast<const CTkMenuBar*>(from);
    if (!menuBar) return;
    m_nMenuResourceId = menuBar->m_nMenuResourceId;
    ReleaseMenuSets();
    for (const auto& entry : menuBar->m_menuSets) m_menuSets[entry.first].Attach(entry.second->Clone(true));
}

int CTkMenuBar::CFrameSink::OnHookMessage(HWND hwnd, UINT message, WPARAM* wParam, LPARAM* lParam, LRESULT* result) {
    CTkMenuBar* const owner = m_pBar;
    if (hwnd && hwnd == owner->m_hwndMdiClient) {
        switch (message) {
        case WM_MDICREATE:
        case WM_MDIDESTROY:
        case WM_MDIACTIVATE:
            owner->PostActiveChildTimer();
            return TK_HOOK_IGNORED;
        case WM_MDISETMENU:
            if (owner->m_dwFlags & TK_MENUBAR_IGNORE_MDISETMENU) return TK_HOOK_IGNORED;
            owner->OnMdiSetMenu(reinterpret_cast<HMENU>(*wParam));
            // No native menu is installed.
            *wParam = 0;
            *result = 0;
            return TK_HOOK_HANDLED;
        default:
            return TK_HOOK_IGNORED;
        }
    }
    if (hwnd && hwnd == owner->m_hwndActiveChild) {
        if (message == WM_SIZE || message == WM_WINDOWPOSCHANGED) owner->PostActiveChildTimer();
        return TK_HOOK_IGNORED;
    }
    if (message != WM_SYSCOMMAND || (*wParam & 0xFFF0) != SC_KEYMENU || *lParam != 0) return TK_HOOK_IGNORED;
    // While a bar tracks, the menu key belongs to the toolkit's menus: the system's menu loop would
    // take the keyboard from them.
    if (CTkMouseTracker::ForThread().HasTrackedBars()) {
        *result = 0;
        return TK_HOOK_HANDLED;
    }
    CTkMenuBar* bar = m_pBar;
    if (!bar->IsVisible() || !bar->GetSafeHwnd() || ::GetKeyState(VK_SHIFT) < 0 || bar->IsCustomizeMode())
        return TK_HOOK_IGNORED;
    bar->SetTrackingMode(TK_TRACKING_ACTIVE, true, true);
    *result = 0;
    return TK_HOOK_HANDLED;
}
