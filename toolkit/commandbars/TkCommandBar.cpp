#include "commandbars/TkCommandBar.h"

#include "commandbars/TkCommandBars.h"
#include "images/TkIconStore.h"
#include "painters/TkThemePainter.h"

IMPLEMENT_DYNCREATE(CTkCommandBar, CWnd)
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
}  // namespace

CTkCommandBar::CTkCommandBar() {
    m_pControls = new CTkControls;
    m_pControls->m_pOwnerBar = this;
}

CTkCommandBar::~CTkCommandBar() {
    m_pControls->m_pOwnerBar = nullptr;
    m_pControls->InternalRelease();
    Replace<CTkThemePainter>(m_pPainter, nullptr);
    Replace<CTkIconStore>(m_pIconStore, nullptr);
}

CWnd* CTkCommandBar::GetSite() const {
    if (CTkCommandBars* manager = GetManager())
        if (manager->GetSite()) return manager->GetSite();
    CTkCommandBar* root = GetRootBar();
    if (root->m_pOwnerWnd) return root->m_pOwnerWnd;
    if (root->m_hWnd)
        if (HWND parent = ::GetParent(root->m_hWnd)) return CWnd::FromHandle(parent);
    return AfxGetMainWnd();
}

CWnd* CTkCommandBar::GetCommandTarget() const {
    CTkCommandBar* root = GetRootBar();
    if (root->m_hwndCommandTarget && ::IsWindow(root->m_hwndCommandTarget))
        return CWnd::FromHandle(root->m_hwndCommandTarget);
    return GetSite();
}

int CTkCommandBar::ResetTracking() {
    m_nHotIndex = m_nPopupIndex = -1;
    DelayLayout();
    return -1;
}

void CTkCommandBar::Copy(const CTkCommandBar* from, bool recursive) {
    m_nBarType = from->m_nBarType;
    m_nPosition = from->m_nPosition;
    m_nBarId = from->m_nBarId;
    m_dwFlags = from->m_dwFlags;
    m_dwStyle = from->m_dwStyle;
    m_strTitle = from->m_strTitle;
    m_bCustomizable = from->m_bCustomizable;
    m_nMRUWidth = from->m_nMRUWidth;
    m_szIcon = from->m_szIcon;
    m_szButton = from->m_szButton;
    CTkControls* controls = from->m_pControls->Clone(recursive);
    m_pControls->m_pOwnerBar = nullptr;
    m_pControls->InternalRelease();
    m_pControls = controls;
    m_pControls->SetOwnerBar(this);
    m_pManager = from->m_pManager;
}

CTkCommandBar* CTkCommandBar::Clone(bool recursive) const {
    CObject* object = GetRuntimeClass()->CreateObject();
    auto* copy = dynamic_cast<CTkCommandBar*>(object);
    if (!copy) {
        delete object;
        return nullptr;
    }
    copy->Copy(this, recursive);
    return copy;
}

void CTkCommandBar::BuildFromMenu(HMENU menu, bool removeAll) {
    if (removeAll) m_pControls->RemoveAllControls();
    bool group = false;
    const int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        if (::GetMenuItemInfoA(menu, (UINT)position, TRUE, &info) && (info.fType & MFT_SEPARATOR)) {
            group = m_pControls->GetCount() > 0;
            continue;
        }
        if (CTkControl* control = m_pControls->AddMenuItem(menu, position)) {
            if (group) control->m_bBeginGroup = 1;
            group = false;
        }
    }
    DelayLayout();
}

bool CTkCommandBar::IsRightToLeft() const {
    return m_hWnd && (::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
}

CTkCommandBar* CTkCommandBar::GetRootBar() const {
    const CTkCommandBar* bar = this;
    for (int depth = 0; depth < 64 && bar->GetParentBar(); ++depth) bar = bar->GetParentBar();
    return const_cast<CTkCommandBar*>(bar);
}

CTkCommandBars* CTkCommandBar::GetManager() const {
    const CTkCommandBar* bar = this;
    for (int depth = 0; depth < 64 && bar; ++depth, bar = bar->GetParentBar())
        if (bar->m_pManager) return bar->m_pManager;
    return nullptr;
}

CTkThemePainter* CTkCommandBar::GetPainter() const {
    if (m_pPainter) return m_pPainter;
    if (CTkCommandBars* manager = GetManager())
        if (manager->GetOwnPainter()) return manager->GetOwnPainter();
    if (CTkThemePainter* root = GetRootBar()->m_pPainter) return root;
    return CTkThemePainter::GetCurrent();
}

CTkIconStore* CTkCommandBar::GetIconStore() const {
    if (m_pIconStore) return m_pIconStore;
    if (CTkCommandBars* manager = GetManager())
        if (manager->GetOwnIconStore()) return manager->GetOwnIconStore();
    if (CTkIconStore* root = GetRootBar()->m_pIconStore) return root;
    return &CTkIconStore::Global();
}

void CTkCommandBar::SetPainter(CTkThemePainter* painter) {
    Replace(m_pPainter, painter);
}

void CTkCommandBar::SetIconStore(CTkIconStore* store) {
    Replace(m_pIconStore, store);
}

CSize CTkCommandBar::GetIconSize() const {
    if (m_szIcon.cx || m_szIcon.cy) return m_szIcon;
    CTkCommandBars* manager = GetManager();
    if (!manager) return CSize(16, 16);
    if (m_nBarType == TK_BAR_TYPE_POPUP) return manager->m_szPopupIcons;
    CSize size = manager->m_szToolbarIcons;
    if (!size.cx && !size.cy) size = CSize(16, 16);
    if (manager->m_bLargeIcons) {
        if (manager->m_szLargeIcons.cx || manager->m_szLargeIcons.cy) return manager->m_szLargeIcons;
        return CSize(size.cx * 2, size.cy * 2);
    }
    return size;
}

CSize CTkCommandBar::GetButtonSize() const {
    if (m_szButton.cx || m_szButton.cy) return m_szButton;
    CSize icon = GetIconSize();
    return CSize(icon.cx + 7, icon.cy + 7);
}

bool CTkCommandBar::IsTextBelowIcons() const {
    if (m_nTextBelowIcons != 2) return m_nTextBelowIcons != 0;
    CTkCommandBars* manager = GetManager();
    return manager && manager->m_bTextBelowIcons;
}

bool CTkCommandBar::HasWrappedControls() const {
    for (int i = 0; i < m_pControls->GetCount(); ++i)
        if (m_pControls->GetControl(i)->m_nHideFlags & TK_CONTROL_HIDE_WRAP) return true;
    return false;
}

// ---------------------------------------------------------------------------------------------

CTkCommandBars::~CTkCommandBars() {
    Replace<CTkThemePainter>(m_pPainter, nullptr);
    Replace<CTkIconStore>(m_pIconStore, nullptr);
}

void CTkCommandBars::SetPainter(CTkThemePainter* painter) {
    Replace(m_pPainter, painter);
}

void CTkCommandBars::SetIconStore(CTkIconStore* store) {
    Replace(m_pIconStore, store);
}
