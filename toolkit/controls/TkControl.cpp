#include "controls/TkControl.h"

#include "commandbars/TkCommandBar.h"
#include "controls/TkControls.h"
#include "images/TkIconStore.h"
#include "painters/TkThemePainter.h"

IMPLEMENT_DYNCREATE(CTkControl, CCmdTarget)
IMPLEMENT_DYNCREATE(CTkControlButton, CTkControl)
IMPLEMENT_DYNCREATE(CTkControlPopup, CTkControl)
IMPLEMENT_DYNCREATE(CTkControls, CCmdTarget)

CTkControl::~CTkControl() = default;

int CTkControl::GetEffectiveIconId() const {
    if (m_nCustomIconId != 0) return m_nCustomIconId;
    if (m_nIconId > 0) return m_nIconId;
    return m_nId;
}

CTkIconStore* CTkControl::GetIconStore() const {
    if (m_pParent) return m_pParent->GetIconStore();
    return &CTkIconStore::Global();
}

CTkIconEntry* CTkControl::GetIcon(int width) const {
    const int id = GetEffectiveIconId();
    if (id <= 0) return nullptr;
    return GetIconStore()->GetImage((UINT)id, width);
}

CTkThemePainter* CTkControl::GetPainter() const {
    if (m_pParent) return m_pParent->GetPainter();
    if (m_pControls && m_pControls->m_pOwnerManager) return CTkThemePainter::PainterFor(m_pControls->m_pOwnerManager);
    return CTkThemePainter::GetCurrent();
}

CTkControlPopup::~CTkControlPopup() {
    if (m_pChildBar) m_pChildBar->InternalRelease();
}

// ---------------------------------------------------------------------------------------------

CTkControls::~CTkControls() {
    RemoveAllControls();
}

CTkControl* CTkControls::Append(CTkControl* control) {
    if (!control) return nullptr;
    m_controls.push_back(control);
    Reindex();
    return control;
}

void CTkControls::Reindex() {
    for (size_t i = 0; i < m_controls.size(); ++i) {
        m_controls[i]->m_nIndex = (int)i;
        m_controls[i]->m_pControls = this;
        m_controls[i]->m_pParent = m_pOwnerBar;
    }
}

void CTkControls::RemoveAllControls() {
    std::vector<CTkControl*> controls;
    controls.swap(m_controls);
    for (CTkControl* control : controls) {
        control->m_pControls = nullptr;
        control->m_pParent = nullptr;
        control->InternalRelease();
    }
}
