#include "customize/TkCustomizeContext.h"

#include "commandbars/TkCommandBars.h"
#include "commandbars/TkToolBar.h"
#include "customize/TkCustomizePages.h"

CWnd* CTkCustomizeContext::GetFrame() {
    return m_pManager->GetSite();
}

int CTkCustomizeContext::GetBarCount() const {
    return m_pManager->GetCount();
}

CTkCommandBar* CTkCustomizeContext::GetBar(int index) const {
    return m_pManager->GetBar(index);
}

void CTkCustomizeContext::SetCustomizeMode(bool on) {
    m_pManager->SetCustomizeMode(on);
}

bool CTkCustomizeContext::IsCustomizeMode() const {
    return m_pManager->IsCustomizeMode();
}

void CTkCustomizeContext::SetCustomizeSheet(CWnd* sheet) {
    m_pManager->SetCustomizeSheet(sheet);
}

bool CTkCustomizeContext::IsBuiltInBar(const CTkCommandBar* bar) const {
    auto* toolbar = dynamic_cast<const CTkToolBar*>(bar);
    return !toolbar || !toolbar->m_bUserToolbar;
}

bool CTkCustomizeContext::CanHideBar(const CTkCommandBar* bar) const {
    auto* toolbar = dynamic_cast<const CTkToolBar*>(bar);
    return toolbar && toolbar->m_nBarType == TK_BAR_TYPE_TOOLBAR && toolbar->m_bCloseButton &&
           toolbar->m_bInToolbarsMenu;
}

bool CTkCustomizeContext::IsBarVisible(const CTkCommandBar* bar) const {
    return bar->IsVisible();
}

void CTkCustomizeContext::SetBarVisible(CTkCommandBar* bar, bool visible) {
    bar->SetVisible(visible);
}

void CTkCustomizeContext::ResetBar(CTkCommandBar* bar) {
    if (auto* toolbar = dynamic_cast<CTkToolBar*>(bar)) toolbar->ResetToOriginal();
}

CTkCommandBar* CTkCustomizeContext::AddUserBar(const CString& caption, UINT id) {
    CWnd* frame = GetFrame();
    if (!frame || !frame->GetSafeHwnd()) return nullptr;
    CTkRef<CTkToolBar> bar = TkAdoptRef(new CTkToolBar);
    bar->m_pManager = m_pManager;
    bar->m_strTitle = caption;
    bar->m_bUserToolbar = 1;
    bar->m_nBarId = id;
    if (!bar->Create(WS_CHILD | WS_VISIBLE | TK_BAR_STYLE_GRIPPER | TK_BAR_STYLE_TOOLTIPS, frame, id)) return nullptr;
    m_pManager->AppendBar(bar);  // the list's reference keeps it
    m_pManager->RecalcFrameLayout();
    return bar;
}

void CTkCustomizeContext::RemoveBar(CTkCommandBar* bar) {
    m_pManager->RemoveBar(bar);
}

int* CTkCustomizeContext::OptionField(TkCustomizeOption option) const {
    CTkCommandBarsSettings* settings = m_pManager->GetCommandBarsOptions();
    if (!settings) return nullptr;
    switch (option) {
    case TK_OPTION_ALWAYS_SHOW_FULL_MENUS: return &settings->m_bAlwaysShowFullMenus;
    case TK_OPTION_SHOW_FULL_AFTER_DELAY: return &settings->m_bShowFullAfterDelay;
    case TK_OPTION_LARGE_ICONS: return &settings->m_bLargeIcons;
    case TK_OPTION_TOOLBAR_SCREEN_TIPS: return &settings->m_bToolBarScreenTips;
    case TK_OPTION_TOOLBAR_ACCEL_TIPS: return &settings->m_bToolBarAccelTips;
    case TK_OPTION_ANIMATION: return &settings->m_nAnimationType;
    }
    return nullptr;
}

int CTkCustomizeContext::GetOption(TkCustomizeOption option) const {
    int* field = OptionField(option);
    return field ? *field : 0;
}

void CTkCustomizeContext::SetOption(TkCustomizeOption option, int value) {
    if (int* field = OptionField(option)) *field = value;
}

void CTkCustomizeContext::ResetUsageData() {
    m_pManager->ResetUsageData();
}

void CTkCustomizeContext::RecalcLayout() {
    m_pManager->RecalcAll();
}

INT_PTR TkRunFrameCustomizeSheet(CTkCommandBars* manager, UINT menuId) {
    if (!manager) return IDCANCEL;
    CTkCustomizeContext context(manager);
    return TkRunFrameCustomizeSheet(&context, menuId);
}
