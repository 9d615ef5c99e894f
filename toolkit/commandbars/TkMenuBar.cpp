#include "commandbars/TkMenuBar.h"

#include "commandbars/TkBarArchive.h"
#include "commandbars/TkCommandBars.h"

IMPLEMENT_SERIAL(CTkMenuBar, CTkToolBar, TK_ARCHIVE_SCHEMA)

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

}  // namespace

CTkMenuBar::CTkMenuBar() {
    m_nBarType = TK_BAR_TYPE_MENUBAR;
}

CTkMenuBar::~CTkMenuBar() {
    CTkSubclassRegistry::Instance().RemoveSinkEverywhere(&m_frameSink);
    ReleaseMenuSets();
    if (m_hNativeMenu) ::DestroyMenu(m_hNativeMenu);
}

void CTkMenuBar::ReleaseMenuSets() {
    std::map<int, CTkControls*> sets;
    sets.swap(m_menuSets);
    for (auto& entry : sets) entry.second->InternalRelease();
}

CTkControls* CTkMenuBar::GetMenuSet(int key) const {
    auto found = m_menuSets.find(key);
    return found == m_menuSets.end() ? nullptr : found->second;
}

void CTkMenuBar::SetMenuSet(int key, CTkControls* controls) {
    CTkControls*& slot = m_menuSets[key];
    if (slot == controls) return;
    CTkControls* old = slot;
    slot = controls;
    if (!controls) m_menuSets.erase(key);
    if (old) old->InternalRelease();
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
    m_pControls->InternalRelease();
    m_pControls = controls;
    controls->SetOwnerBar(this);
    BuildFromMenu(menu, true);
    controls->KeepOriginal();
}

void CTkMenuBar::SwitchMenu(HMENU menu) {
    CTkCommandBars* manager = GetManager();
    const int key = menu && menu == m_hNativeMenu ? (int)m_nMenuResourceId : (manager ? manager->GetContextId() : 0);
    if (!key || key == m_nCurrentKey || !menu || ::GetMenuItemCount(menu) <= 0) return;
    SetTrackingMode(0, true, false);
    if (manager && manager->IsCustomizationEnabled()) {
        // The current set is kept for its menu; the new menu's set comes back out of the map.
        m_pControls->SetOwnerBar(nullptr);
        SetMenuSet(m_nCurrentKey, m_pControls);
        auto found = m_menuSets.find(key);
        if (found != m_menuSets.end()) {
            m_pControls = found->second;
            m_menuSets.erase(found);
            m_pControls->SetOwnerBar(this);
        } else {
            m_pControls = new CTkControls;
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
    DelayLayout();
    if (m_hWnd) Invalidate(false);
    OnRecalcLayout();
}

void CTkMenuBar::PrepareForSave() {
    if (!m_menuSets.empty() && m_hNativeMenu) {
        SwitchMenu(m_hNativeMenu);
        m_bSwitchedToDefault = 1;
    }
    for (auto it = m_menuSets.begin(); it != m_menuSets.end();) {
        if (it->second->GetOriginal() && !it->second->IsCustomized()) {
            it->second->InternalRelease();
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
    for (const auto& entry : menuBar->m_menuSets) m_menuSets[entry.first] = entry.second->Clone(true);
}

int CTkMenuBar::CFrameSink::OnHookMessage(HWND, UINT message, WPARAM* wParam, LPARAM* lParam, LRESULT* result) {
    if (message != WM_SYSCOMMAND || (*wParam & 0xFFF0) != SC_KEYMENU || *lParam != 0) return TK_HOOK_IGNORED;
    CTkMenuBar* bar = m_pBar;
    if (!bar->IsVisible() || !bar->GetSafeHwnd() || ::GetKeyState(VK_SHIFT) < 0 || bar->IsCustomizeMode() ||
        CTkMouseTracker::ForThread().HasTrackedBars())
        return TK_HOOK_IGNORED;
    bar->SetTrackingMode(1, true, true);
    *result = 0;
    return TK_HOOK_HANDLED;
}
