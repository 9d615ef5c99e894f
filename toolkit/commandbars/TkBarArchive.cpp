#include "commandbars/TkBarArchive.h"

#include "commandbars/TkCommandBars.h"
#include "commandbars/TkMenuBar.h"
#include "commandbars/TkToolBar.h"
#include "images/TkIconStore.h"

#include <algorithm>
#include <set>

namespace {

const UINT kCurrentSchema = TK_ARCHIVE_SCHEMA & ~VERSIONABLE_SCHEMA;
// Original collections nest one level in what is written; deeper nesting is damage.
const int kMaxNestedCollections = 2;
// Sizes, widths and margins beyond these are damage.
const LONG kMaxExtent = 4096;
const LONG kMaxMargin = 256;

// A word written with Write: the same bytes as an int, kept apart for the fields stored raw.
void WriteRaw(CArchive& ar, int value) {
    const DWORD raw = (DWORD)value;
    ar.Write(&raw, sizeof raw);
}

DWORD ReadRaw(CArchive& ar) {
    DWORD raw = 0;
    ar.Read(&raw, sizeof raw);
    return raw;
}

void CheckExtent(LONG value, LONG lowest = 0, LONG highest = kMaxExtent) {
    if (value < lowest || value > highest) AfxThrowArchiveException(CArchiveException::badSchema);
}

// Two words: width, height.
void WriteSize(CArchive& ar, const SIZE& size) {
    ar << (LONG)size.cx << (LONG)size.cy;
}

CSize ReadSize(CArchive& ar, LONG lowest = 0, LONG highest = kMaxExtent) {
    LONG cx = 0, cy = 0;
    ar >> cx >> cy;
    CheckExtent(cx, lowest, highest);
    CheckExtent(cy, lowest, highest);
    return CSize(cx, cy);
}

// Four words: left, top, right, bottom.
void WriteMargins(CArchive& ar, const RECT& margins) {
    ar << (LONG)margins.left << (LONG)margins.top << (LONG)margins.right << (LONG)margins.bottom;
}

CRect ReadMargins(CArchive& ar) {
    LONG side[4] = {};
    for (LONG& value : side) {
        ar >> value;
        CheckExtent(value, 0, kMaxMargin);
    }
    return CRect(side[0], side[1], side[2], side[3]);
}

// The fields of a popup bar after the bar record: the tear-off switch, caption, bar id and
// width; since schema 4 the border margins and the shadow switch.
struct CPopupFields {
    int tearOff = 0;
    CString caption;
    UINT id = 0;
    int width = 0;
    CRect borders = CRect(2, 4, 2, 4);
    int shadow = 1;

    void Serialize(CArchive& ar) {
        if (ar.IsStoring()) {
            ar << tearOff << caption << (int)id << width;
            WriteMargins(ar, borders);
            ar << shadow;
            return;
        }
        ar >> tearOff >> caption >> id >> width;
        CheckExtent(width);
        if (TkArchiveSchema(ar) > 3) {
            borders = ReadMargins(ar);
            ar >> shadow;
        }
    }
};

// The manager's icon store (its own, else the process-wide one).
CTkIconStore* IconStoreOf(CArchive& ar) {
    if (auto* manager = dynamic_cast<CTkCommandBars*>(ar.m_pDocument)) return manager->GetImageManager();
    return &CTkIconStore::Global();
}

bool IsCustomIconId(int id) {
    return id >= (int)CTkIconStore::kFirstCustomBase && id <= (int)TK_ARCHIVE_LAST_CUSTOM_ICON_ID;
}

// A context set: a count, then per id the id and the value 1.
void SerializeContexts(CArchive& ar, std::set<int>& ids) {
    if (ar.IsStoring()) {
        ar.WriteCount(ids.size());
        for (int id : ids) ar << (DWORD)id << (DWORD)1;
        return;
    }
    ids.clear();
    const DWORD_PTR count = ar.ReadCount();
    for (DWORD_PTR i = 0; i < count; ++i) {
        DWORD id = 0, value = 0;
        ar >> id >> value;
        ids.insert((int)id);
    }
}

// Whether `target` is `from` or a bar reachable from it through popup controls.
bool Reaches(CTkCommandBar* from, const CTkCommandBar* target) {
    std::set<const CTkCommandBar*> seen;
    std::vector<CTkCommandBar*> pending{from};
    while (!pending.empty()) {
        CTkCommandBar* bar = pending.back();
        pending.pop_back();
        if (bar == target) return true;
        if (!seen.insert(bar).second) continue;
        for (CTkControl* control : bar->GetControls()->m_controls)
            if (CTkCommandBar* child = control->GetCommandBar()) pending.push_back(child);
    }
    return false;
}

// Every stored bar that is not a toolbar is a popup bar.
bool IsPopupBar(const CTkCommandBar* bar) {
    return !bar->IsKindOf(RUNTIME_CLASS(CTkToolBar));
}

// Whether a bar of the manager goes into the archive: the program's toolbars (built in, not torn
// off) only when they may be customised and their controls differ from the original ones.
bool NeedsStoring(const CTkCommandBar* bar) {
    auto* toolbar = dynamic_cast<const CTkToolBar*>(bar);
    if (!toolbar || toolbar->m_bUserToolbar || toolbar->m_bTearOff) return true;
    if (!toolbar->IsCustomizable()) return false;
    // A menu bar goes back to the frame's own menu first, and is stored while it keeps sets.
    if (auto* menuBar = dynamic_cast<CTkMenuBar*>(const_cast<CTkToolBar*>(toolbar))) {
        menuBar->PrepareForSave();
        if (menuBar->GetMenuSetCount()) return true;
    }
    const CTkControls* original = toolbar->GetControls()->GetOriginal();
    return !original || !toolbar->GetControls()->SameAs(original);
}

}  // namespace

UINT TkArchiveSchema(CArchive& ar) {
    const UINT schema = ar.GetObjectSchema();
    if (schema == (UINT)-1) return kCurrentSchema;
    if (schema > kCurrentSchema) AfxThrowArchiveException(CArchiveException::badSchema);
    return schema;
}

// ---------------------------------------------------------------------------------------------
// Controls.

void CTkControl::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        WriteRaw(ar, m_nType);
        ar << m_nId << m_nIconId << m_bBeginGroup << m_nUserValue << m_nFlags << m_nHideFlags;
        ar << m_strCaption << m_strShortcutText << m_strTooltip << m_strDescription << m_strParameter;
        ar << m_nCustomIconId << m_strCustomCaption << m_strCategory;
        if (m_nCustomIconId > 0) IconStoreOf(ar)->SerializeIconSet((UINT)m_nCustomIconId, ar);
        SerializeContexts(ar, m_shownIn);
        SerializeContexts(ar, m_hiddenIn);
        ar << m_bDefaultItem << m_bCloseOnExecute;
        return;
    }
    const UINT schema = TkArchiveSchema(ar);
    m_nType = (int)ReadRaw(ar);
    ar >> m_nId >> m_nIconId >> m_bBeginGroup >> m_nUserValue >> m_nFlags >> m_nHideFlags;
    ar >> m_strCaption >> m_strShortcutText >> m_strTooltip >> m_strDescription >> m_strParameter;
    ar >> m_nCustomIconId >> m_strCustomCaption;
    if (schema > 1) ar >> m_strCategory;
    if (m_nCustomIconId > 0) {
        if (IsCustomIconId(m_nCustomIconId)) {
            IconStoreOf(ar)->SerializeIconSet((UINT)m_nCustomIconId, ar);
        } else {
            // An id outside the custom range would replace a program picture: read the pictures
            // past and keep none of them.
            CTkIconStore discarded;
            discarded.SerializeIconSet((UINT)m_nCustomIconId, ar);
        }
    }
    if (!IsCustomIconId(m_nCustomIconId)) m_nCustomIconId = 0;
    if (schema > 3) {
        SerializeContexts(ar, m_shownIn);
        SerializeContexts(ar, m_hiddenIn);
        ar >> m_bDefaultItem;
    }
    if (schema > 6) ar >> m_bCloseOnExecute;
}

void CTkControlButton::Serialize(CArchive& ar) {
    CTkControl::Serialize(ar);
    if (ar.IsStoring())
        WriteRaw(ar, m_nStyle);
    else
        m_nStyle = (int)ReadRaw(ar);
}

void CTkControlPopup::Serialize(CArchive& ar) {
    CTkControl::Serialize(ar);
    if (ar.IsStoring()) {
        ar << (int)(m_pChildBar ? m_pChildBar->m_nBarId : 0);
        WriteRaw(ar, m_nStyle);
        return;
    }
    ar >> m_nChildBarId;
    if (TkArchiveSchema(ar) > 4) m_nStyle = (int)ReadRaw(ar);
}

void CTkControls::Serialize(CArchive& ar) {
    SerializeNested(ar, 0);
}

void CTkControls::SerializeNested(CArchive& ar, int depth) {
    if (ar.IsStoring()) {
        const int count = (int)std::count_if(m_controls.begin(), m_controls.end(),
                                             [](const CTkControl* control) { return !control->m_bTemporary; });
        ar << count;
        for (CTkControl* control : m_controls)
            if (!control->m_bTemporary) ar.WriteObject(control);
        ar << (int)(m_pOriginal != nullptr);
        if (m_pOriginal) m_pOriginal->SerializeNested(ar, depth + 1);
        ar << (int)0;
        return;
    }
    if (depth > kMaxNestedCollections) AfxThrowArchiveException(CArchiveException::badSchema);
    const UINT schema = TkArchiveSchema(ar);
    RemoveAllControls();
    int count = 0;
    ar >> count;
    for (int i = 0; i < count; ++i) {
        CObject* object = ar.ReadNewObject(RUNTIME_CLASS(CTkControl));
        if (!object) AfxThrowArchiveException(CArchiveException::badClass);
        m_controls.push_back(static_cast<CTkControl*>(object));
    }
    Reindex();
    if (schema < 3) return;
    // The original controls, then a reserved collection that is read and dropped.
    for (int slot = 0; slot < 2; ++slot) {
        int present = 0;
        ar >> present;
        if (!present) continue;
        auto* collection = new CTkControls;
        collection->m_pOwnerManager = GetManager();
        try {
            collection->SerializeNested(ar, depth + 1);
        } catch (...) {
            collection->InternalRelease();
            throw;
        }
        if (slot == 0) std::swap(collection, m_pOriginal);
        if (collection) collection->InternalRelease();
    }
}

// ---------------------------------------------------------------------------------------------
// Bars.

void CTkCommandBar::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        WriteRaw(ar, m_nBarType);
        WriteRaw(ar, m_nPosition);
        ar << (int)m_nBarId << m_dwFlags << m_dwStyle << m_strTitle << m_bCustomizable << m_nMRUWidth;
        WriteSize(ar, m_szButton);
        m_pControls->Serialize(ar);
        return;
    }
    const UINT schema = TkArchiveSchema(ar);
    m_pManager = dynamic_cast<CTkCommandBars*>(ar.m_pDocument);
    const DWORD type = ReadRaw(ar), position = ReadRaw(ar);
    if (type > TK_BAR_TYPE_POPUP || position > TK_BAR_POSITION_NONE)
        AfxThrowArchiveException(CArchiveException::badSchema);
    m_nBarType = (int)type;
    m_nPosition = (int)position;
    ar >> m_nBarId >> m_dwFlags >> m_dwStyle >> m_strTitle >> m_bCustomizable >> m_nMRUWidth;
    if (schema > 2) m_szButton = ReadSize(ar);
    m_pControls->Serialize(ar);
}

void CTkToolBar::Serialize(CArchive& ar) {
    CTkCommandBar::Serialize(ar);
    if (ar.IsStoring()) {
        ar << (int)!m_bUserToolbar << m_bTearOff << m_bInToolbarsMenu;
        return;
    }
    int builtIn = 1;
    ar >> builtIn >> m_bTearOff;
    m_bUserToolbar = builtIn ? 0 : 1;
    if (TkArchiveSchema(ar) > 6) ar >> m_bInToolbarsMenu;
}

void CTkMenuBar::Serialize(CArchive& ar) {
    CTkToolBar::Serialize(ar);
    if (ar.IsStoring()) {
        ar << (int)m_nMenuResourceId;
        ar.WriteCount(m_menuSets.size());
        for (auto& entry : m_menuSets) {
            ar << entry.first;
            entry.second->Serialize(ar);
        }
        return;
    }
    ar >> m_nMenuResourceId;
    if (TkArchiveSchema(ar) < 5) return;
    const DWORD_PTR count = ar.ReadCount();
    for (DWORD_PTR i = 0; i < count; ++i) {
        int key = 0;
        ar >> key;
        auto* controls = new CTkControls;
        controls->m_pOwnerManager = m_pManager;
        try {
            controls->Serialize(ar);
        } catch (...) {
            controls->InternalRelease();
            throw;
        }
        // A key met twice: the set read later replaces (and releases) the earlier one.
        SetMenuSet(key, controls);
    }
}

// ---------------------------------------------------------------------------------------------
// Lists of bars and the archive of a layout.

bool CTkBarList::Add(CTkCommandBar* bar) {
    if (!bar || Contains(bar)) return false;
    bar->InternalAddRef();
    m_bars.push_back(bar);
    return true;
}

bool CTkBarList::Contains(const CTkCommandBar* bar) const {
    return std::find(m_bars.begin(), m_bars.end(), bar) != m_bars.end();
}

CTkCommandBar* CTkBarList::FindById(UINT id) const {
    if (id == 0) return nullptr;
    for (CTkCommandBar* bar : m_bars)
        if (bar->m_nBarId == id) return bar;
    return nullptr;
}

void CTkBarList::RemoveAll() {
    std::vector<CTkCommandBar*> bars;
    bars.swap(m_bars);
    for (CTkCommandBar* bar : bars) bar->InternalRelease();
}

void TkCollectBars(const std::vector<CTkCommandBar*>& bars, CTkBarList& stored) {
    UINT nextPopupId = TK_ARCHIVE_FIRST_POPUP_ID;
    std::vector<CTkCommandBar*> pending;
    for (CTkCommandBar* root : bars) {
        if (!root || !NeedsStoring(root)) continue;
        // Depth first: each bar, then the popup bars of its controls in order.
        pending.assign(1, root);
        while (!pending.empty()) {
            CTkCommandBar* bar = pending.back();
            pending.pop_back();
            if (!stored.Add(bar)) continue;
            if (IsPopupBar(bar)) bar->m_nBarId = nextPopupId++;
            const std::vector<CTkControl*>& controls = bar->GetControls()->m_controls;
            for (auto control = controls.rbegin(); control != controls.rend(); ++control)
                if (!(*control)->m_bTemporary)
                    if (CTkCommandBar* child = (*control)->GetCommandBar()) pending.push_back(child);
        }
    }
}

void TkWriteBarsArchive(CArchive& ar, const CTkBarList& bars) {
    ar << (int)bars.GetCount();
    for (CTkCommandBar* bar : bars.Bars()) ar.WriteObject(bar);
}

bool TkReadBarsArchive(CArchive& ar, CTkBarList& loaded) {
    try {
        int count = 0;
        ar >> count;
        if (count < 0) return false;
        for (int i = 0; i < count; ++i) {
            CObject* object = ar.ReadNewObject(RUNTIME_CLASS(CTkCommandBar));
            if (!object) return false;
            loaded.Adopt(static_cast<CTkCommandBar*>(object));
        }
    } catch (CArchiveException* e) {
        e->Delete();
        return false;
    }
    for (CTkCommandBar* bar : loaded.Bars()) TkLinkPopupBars(bar, loaded);
    return true;
}

void TkLinkPopupBars(CTkCommandBar* root, const CTkBarList& loaded) {
    std::set<CTkCommandBar*> seen;
    std::vector<CTkCommandBar*> pending{root};
    while (!pending.empty()) {
        CTkCommandBar* bar = pending.back();
        pending.pop_back();
        if (!seen.insert(bar).second) continue;
        for (CTkControl* control : bar->GetControls()->m_controls) {
            auto* popup = dynamic_cast<CTkControlPopup*>(control);
            if (!popup) continue;
            if (!popup->m_pChildBar)
                if (CTkCommandBar* child = loaded.FindById(popup->m_nChildBarId))
                    if (!Reaches(child, bar)) popup->AttachChildBar(child);
            if (popup->m_pChildBar) pending.push_back(popup->m_pChildBar);
        }
    }
}
