#include "commandbars/TkBarArchive.h"

#include "commandbars/TkCommandBars.h"
#include "commandbars/TkMenuBar.h"
#include "commandbars/TkPopupBar.h"
#include "commandbars/TkToolBar.h"
#include "controls/TkControlComboBox.h"
#include "controls/TkControlCustom.h"
#include "controls/TkControlEdit.h"
#include "controls/TkControlSelector.h"
#include "images/TkIconStore.h"

#include <algorithm>
#include <climits>
#include <functional>
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

// The manager's frame, none without one.
HWND FrameOf(CArchive& ar) {
    auto* manager = dynamic_cast<CTkCommandBars*>(ar.m_pDocument);
    CWnd* site = manager ? manager->GetSite() : nullptr;
    return site ? site->GetSafeHwnd() : nullptr;
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

// Calls `visit` for the bar and every bar reachable from it through popup controls, each once,
// until `visit` returns true; true then. The child bars of a bar are looked up after its visit.
bool VisitBars(CTkCommandBar* root, const std::function<bool(CTkCommandBar*)>& visit) {
    std::set<const CTkCommandBar*> seen;
    std::vector<CTkCommandBar*> pending{root};
    while (!pending.empty()) {
        CTkCommandBar* bar = pending.back();
        pending.pop_back();
        if (!seen.insert(bar).second) continue;
        if (visit(bar)) return true;
        for (CTkControl* control : bar->GetControls()->m_controls)
            if (CTkCommandBar* child = control->GetCommandBar()) pending.push_back(child);
    }
    return false;
}

// Whether `target` is `from` or a bar reachable from it through popup controls.
bool Reaches(CTkCommandBar* from, const CTkCommandBar* target) {
    return VisitBars(from, [target](CTkCommandBar* bar) { return bar == target; });
}

// Calls `visit` for every custom control of the bar and of the bars reachable from it.
void VisitCustomControls(CTkCommandBar* root, const std::function<void(CTkControlCustom*)>& visit) {
    VisitBars(root, [&visit](CTkCommandBar* bar) {
        for (CTkControl* control : bar->GetControls()->m_controls)
            if (auto* custom = dynamic_cast<CTkControlCustom*>(control)) visit(custom);
        return false;
    });
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

void CTkControlEdit::Serialize(CArchive& ar) {
    CTkControl::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_bShowCaption << m_nWidth;
        return;
    }
    if (TkArchiveSchema(ar) < 6) return;
    int showCaption = 1, width = 0;
    ar >> showCaption >> width;
    CheckExtent(width);
    m_bShowCaption = showCaption ? 1 : 0;
    m_nWidth = width;
}

void CTkControlSelector::Serialize(CArchive& ar) {
    CTkControl::Serialize(ar);
    if (ar.IsStoring()) {
        WriteSize(ar, m_szInitial);
        WriteSize(ar, m_szMaximum);
        WriteSize(ar, m_szCell);
        return;
    }
    const CSize initial = ReadSize(ar, INT_MIN, INT_MAX), maximum = ReadSize(ar, INT_MIN, INT_MAX),
                cell = ReadSize(ar, INT_MIN, INT_MAX);
    if (!SetGrid(initial, maximum, cell)) AfxThrowArchiveException(CArchiveException::badSchema);
}

void CTkControlComboBox::Serialize(CArchive& ar) {
    CTkControlPopup::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_bEditable << m_nWidth;
        WriteRaw(ar, m_nThirdWord);
        return;
    }
    int editable = 0, width = 0;
    ar >> editable >> width;
    CheckExtent(width);
    m_nWidth = width;
    m_nThirdWord = (int)ReadRaw(ar);
    SetEditable(editable != 0);
}

void CTkControlCustom::Serialize(CArchive& ar) {
    CTkControlButton::Serialize(ar);
    if (ar.IsStoring()) {
        WriteMargins(ar, m_rcMargins);
        WriteSize(ar, m_szControl);
        WriteRaw(ar, m_nVerticalOption);
        ar << m_nHostedId;
        return;
    }
    m_rcMargins = ReadMargins(ar);
    m_szControl = ReadSize(ar);
    m_nVerticalOption = (int)ReadRaw(ar);
    if (TkArchiveSchema(ar) < 6) return;
    // The window itself is attached when the control is merged into a bar of the frame.
    ar >> m_nHostedId;
    if (m_nHostedId && !MayHostId(FrameOf(ar), m_nHostedId)) AfxThrowArchiveException(CArchiveException::badSchema);
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
        m_controls.push_back(TkAdoptRef(static_cast<CTkControl*>(object)));
    }
    Reindex();
    if (schema < 3) return;
    // The original controls, then a reserved collection that is read and dropped.
    for (int slot = 0; slot < 2; ++slot) {
        int present = 0;
        ar >> present;
        if (!present) continue;
        CTkRef<CTkControls> collection = TkAdoptRef(new CTkControls);
        collection->m_pOwnerManager = GetManager();
        collection->SerializeNested(ar, depth + 1);
        if (slot == 0) std::swap(collection, m_pOriginal);
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

void CTkPopupBar::Serialize(CArchive& ar) {
    CTkCommandBar::Serialize(ar);
    CPopupFields popup{m_bTearOff, m_strTearOffCaption, m_nTearOffId, m_nTearOffWidth, m_rcBorders, m_bShadow};
    popup.Serialize(ar);
    if (ar.IsStoring()) return;
    m_bTearOff = popup.tearOff;
    m_strTearOffCaption = popup.caption;
    m_nTearOffId = popup.id;
    m_nTearOffWidth = popup.width;
    m_rcBorders = popup.borders;
    m_bShadow = popup.shadow;
}

void CTkControlComboBoxList::Serialize(CArchive& ar) {
    CTkCommandBar::Serialize(ar);
    // A list neither tears off nor casts a shadow: its popup fields keep their defaults.
    CPopupFields popup;
    popup.Serialize(ar);
    if (ar.IsStoring()) {
        const int count = GetCount();
        ar.WriteCount((DWORD_PTR)count);
        for (int i = 0; i < count; ++i) ar << GetString(i);
        return;
    }
    ResetContent();
    const DWORD_PTR count = ar.ReadCount();
    CString text;
    for (DWORD_PTR i = 0; i < count; ++i) {
        ar >> text;
        if (AddString(text) < 0) AfxThrowArchiveException(CArchiveException::genericException);
    }
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
        CTkRef<CTkControls> controls = TkAdoptRef(new CTkControls);
        controls->m_pOwnerManager = m_pManager;
        controls->Serialize(ar);
        // A key met twice: the set read later replaces (and releases) the earlier one.
        SetMenuSet(key, controls.Detach());
    }
}

// ---------------------------------------------------------------------------------------------
// Lists of bars and the archive of a layout.

bool CTkBarList::Add(CTkCommandBar* bar) {
    if (!bar || Contains(bar)) return false;
    m_bars.push_back(CTkRef<CTkCommandBar>(bar));
    return true;
}

bool CTkBarList::Remove(CTkCommandBar* bar) {
    auto found = std::find(m_bars.begin(), m_bars.end(), bar);
    if (found == m_bars.end()) return false;
    CTkRef<CTkCommandBar> removed = std::move(*found);
    m_bars.erase(found);
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
    std::vector<CTkRef<CTkCommandBar>> bars;
    bars.swap(m_bars);
    for (CTkRef<CTkCommandBar>& bar : bars) bar.Reset();
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
            const auto& controls = bar->GetControls()->m_controls;
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
    // The stored lists only carried their strings to the combo boxes' own lists.
    const std::vector<CTkCommandBar*> bars(loaded.Bars().begin(), loaded.Bars().end());
    for (CTkCommandBar* bar : bars)
        if (dynamic_cast<CTkControlComboBoxList*>(bar)) loaded.Remove(bar);
    // A window is hosted by one control: two stored controls naming the same one is damage.
    std::set<int> hostedIds;
    for (CTkCommandBar* bar : loaded.Bars())
        for (CTkControl* control : bar->GetControls()->m_controls)
            if (auto* custom = dynamic_cast<CTkControlCustom*>(control))
                if (custom->m_nHostedId && !hostedIds.insert(custom->m_nHostedId).second) return false;
    return true;
}

void TkLinkPopupBars(CTkCommandBar* root, const CTkBarList& loaded) {
    VisitBars(root, [&loaded](CTkCommandBar* bar) {
        for (CTkControl* control : bar->GetControls()->m_controls) {
            // A combo box keeps its own list, which takes the stored list's strings.
            if (auto* combo = dynamic_cast<CTkControlComboBox*>(control)) {
                auto* list = dynamic_cast<CTkControlComboBoxList*>(loaded.FindById(combo->m_nChildBarId));
                if (list && list != combo->GetList()) combo->GetList()->CopyStrings(list);
                combo->m_nChildBarId = 0;
                continue;
            }
            auto* popup = dynamic_cast<CTkControlPopup*>(control);
            if (!popup || popup->m_pChildBar) continue;
            if (CTkCommandBar* child = loaded.FindById(popup->m_nChildBarId))
                if (!Reaches(child, bar)) popup->AttachChildBar(child);
        }
        return false;
    });
}

// ---------------------------------------------------------------------------------------------
// Merging a loaded layout into the manager's bars.

namespace {

// The existing bar takes the loaded bar's controls (and a menu bar its sets per menu); the
// loaded bar keeps the ones they replace, which go with it. The existing bar's original
// controls stay when it has any. The windows the replaced controls hosted are let go first, so
// that the taken controls can host them again.
void TakeOverControls(CTkToolBar* existing, CTkToolBar* loaded) {
    existing->ResetTracking();
    VisitCustomControls(existing, [](CTkControlCustom* custom) { custom->SetHostedWindow(nullptr); });
    CTkControls* taken = loaded->m_pControls;
    CTkControls* replaced = existing->m_pControls;
    if (CTkControls* original = replaced->GetOriginal()) taken->SetOriginal(original);
    std::swap(loaded->m_pControls, existing->m_pControls);
    replaced->SetOwnerBar(loaded);
    taken->SetOwnerBar(existing);
    auto* menuBar = dynamic_cast<CTkMenuBar*>(existing);
    auto* loadedMenuBar = dynamic_cast<CTkMenuBar*>(loaded);
    if (menuBar && loadedMenuBar) menuBar->TakeMenuSets(loadedMenuBar);
    existing->DelayLayout();
    if (existing->GetSafeHwnd()) existing->Invalidate(false);
}

// Whether the existing bar takes the loaded controls: always when either carries no original
// controls or both carry the same; otherwise the program's controls of the bar changed since
// the layout was stored, and (unless silent) the user chooses.
bool TakesLoadedControls(const CTkCommandBar* existing, const CTkCommandBar* loaded, bool silent) {
    const CTkControls* existingOriginal = existing->GetControls()->GetOriginal();
    const CTkControls* loadedOriginal = loaded->GetControls()->GetOriginal();
    if (!existingOriginal || !loadedOriginal || loadedOriginal->SameAs(existingOriginal)) return true;
    if (silent) return false;
    CString format, prompt;
    TkLoadString(IDS_TK_TOOLBAR_CHANGED_PROMPT, format);
    prompt.Format(format, (const char*)existing->m_strTitle);
    // Yes takes the program's new controls: the bar stays as it is.
    return AfxMessageBox(prompt, MB_YESNO | MB_ICONQUESTION) == IDNO;
}

}  // namespace

void CTkMenuBar::TakeMenuSets(CTkMenuBar* from) {
    std::map<int, CTkRef<CTkControls>> sets;
    sets.swap(from->m_menuSets);
    for (auto& entry : sets) SetMenuSet(entry.first, entry.second.Detach());
}

void CTkCommandBars::MergeLoadedBars(CTkBarList& loaded, bool silent) {
    HWND frame = m_pSite ? m_pSite->GetSafeHwnd() : nullptr;
    // The list may not change while it is walked; the bars stay in it (and are released with it).
    const std::vector<CTkCommandBar*> bars(loaded.Bars().begin(), loaded.Bars().end());
    for (CTkCommandBar* bar : bars) {
        auto* toolbar = dynamic_cast<CTkToolBar*>(bar);
        if (!toolbar || FindIndex(toolbar) >= 0) continue;
        TkLinkPopupBars(toolbar, loaded);
        if (CTkCommandBar* found = FindBar(toolbar->m_nBarId)) {
            auto* existing = dynamic_cast<CTkToolBar*>(found);
            if (!existing || !TakesLoadedControls(existing, toolbar, silent)) continue;
            TakeOverControls(existing, toolbar);
            VisitCustomControls(existing, [frame](CTkControlCustom* custom) { custom->AttachHostedById(frame); });
            continue;
        }
        // A bar of the user's: it joins the list, docked where it was (else at the top; a
        // floating bar floats again when its position is restored).
        toolbar->m_pManager = this;
        const int style = toolbar->m_dwStyle, position = toolbar->m_nPosition;
        toolbar->EnableDocking(toolbar->m_dwFlags);
        if (!CreateToolBarWindow(toolbar)) {
            toolbar->m_pManager = nullptr;
            continue;
        }
        toolbar->m_dwStyle = style;
        PlaceBar(toolbar, TkIsDockedPosition(position) ? position : TK_BAR_POSITION_TOP);
        AppendBar(toolbar);
        VisitCustomControls(toolbar, [frame](CTkControlCustom* custom) { custom->AttachHostedById(frame); });
    }
    RecalcFrameLayout();
}
