#include "controls/TkControls.h"

#include "commandbars/TkCommandBar.h"
#include "commandbars/TkCommandBars.h"
#include "controls/TkControlComboBox.h"
#include "controls/TkControlCustom.h"
#include "controls/TkControlEdit.h"
#include "controls/TkControlPlaceholders.h"
#include "res/TkResource.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <map>

IMPLEMENT_DYNCREATE(CTkControls, CCmdTarget)

namespace {

std::map<std::pair<int, int>, CRuntimeClass*>& ControlClasses() {
    static std::map<std::pair<int, int>, CRuntimeClass*> classes = {
        {{TK_CONTROL_TYPE_BUTTON, 0}, RUNTIME_CLASS(CTkControlButton)},
        {{TK_CONTROL_TYPE_POPUP, 0}, RUNTIME_CLASS(CTkControlPopup)},
        {{TK_CONTROL_TYPE_BUTTON_POPUP, 0}, RUNTIME_CLASS(CTkControlPopup)},
        {{TK_CONTROL_TYPE_SPLIT_BUTTON_POPUP, 0}, RUNTIME_CLASS(CTkControlPopup)},
        {{TK_CONTROL_TYPE_BUTTON_POPUP, ID_TK_EXPAND_BUTTON}, RUNTIME_CLASS(CTkControlExpand)},
        {{TK_CONTROL_TYPE_COMBO, 0}, RUNTIME_CLASS(CTkControlComboBox)},
        {{TK_CONTROL_TYPE_EDIT, 0}, RUNTIME_CLASS(CTkControlEdit)},
        {{TK_CONTROL_TYPE_CUSTOM, 0}, RUNTIME_CLASS(CTkControlCustom)},
        {{TK_CONTROL_TYPE_LABEL, 0}, RUNTIME_CLASS(CTkControlLabel)},
        // Buttons that stand for lists made when their menu opens.
        {{TK_CONTROL_TYPE_BUTTON, 35000}, RUNTIME_CLASS(CTkControlWindowList)},
        {{TK_CONTROL_TYPE_BUTTON, 35002}, RUNTIME_CLASS(CTkControlWorkspaceActions)},
        {{TK_CONTROL_TYPE_BUTTON, 59392}, RUNTIME_CLASS(CTkControlToolbars)},
    };
    return classes;
}

// The recent-file list goes by a command of its own when added by id, and by the first file's
// id when read from a menu; the OLE verbs stand in a menu as the first verb id with this text.
const int kRecentFileListId = 35003;
const char kOleVerbsMenuText[] = "<<OLE VERBS GO HERE>>";

CRuntimeClass* AddedClassFor(int type, int id) {
    if (type == TK_CONTROL_TYPE_BUTTON && id == kRecentFileListId) return RUNTIME_CLASS(CTkControlRecentFileList);
    return CTkControls::ControlClassFor(type, id);
}

CRuntimeClass* MenuItemClassFor(int type, int id, const CString& text) {
    if (type == TK_CONTROL_TYPE_BUTTON) {
        if (id == CTkControlRecentFileList::kFirstFileId) return RUNTIME_CLASS(CTkControlRecentFileList);
        if (id == CTkControlOleItems::kFirstVerbId && text == kOleVerbsMenuText) return RUNTIME_CLASS(CTkControlOleItems);
    }
    return CTkControls::ControlClassFor(type, id);
}

CTkControl* CreateControl(CRuntimeClass* cls) {
    if (!cls) return nullptr;
    CObject* object = cls->CreateObject();
    auto* control = dynamic_cast<CTkControl*>(object);
    if (!control) delete object;
    return control;
}

const int kMenuTextLength = 1024;
const int kSkippedMenuId = 0xFF00;

}  // namespace

CTkControls::~CTkControls() {
    RemoveAllControls();
    m_pOriginal.Reset();
}

void CTkControls::RegisterControlClass(int type, int id, CRuntimeClass* cls) {
    ControlClasses()[{type, id}] = cls;
}

CRuntimeClass* CTkControls::ControlClassFor(int type, int id) {
    auto& classes = ControlClasses();
    auto exact = classes.find({type, id});
    if (exact != classes.end()) return exact->second;
    auto any = classes.find({type, 0});
    return any != classes.end() ? any->second : nullptr;
}

CTkCommandBars* CTkControls::GetManager() const {
    if (m_pOwnerBar)
        if (CTkCommandBars* manager = m_pOwnerBar->GetManager()) return manager;
    return m_pOwnerManager;
}

void CTkControls::SetOwnerBar(CTkCommandBar* bar) {
    m_pOwnerBar = bar;
    if (!m_controls.empty()) Reindex();
}

void CTkControls::Reindex() {
    for (size_t i = 0; i < m_controls.size(); ++i) {
        m_controls[i]->m_nIndex = (int)i;
        m_controls[i]->m_pControls = this;
        m_controls[i]->SetParent(m_pOwnerBar);
    }
    if (m_pOwnerBar) m_pOwnerBar->ResetTracking();
}

CTkControl* CTkControls::Insert(CTkControl* control, int before) {
    if (before < 0 || before >= GetCount())
        m_controls.push_back(TkAdoptRef(control));
    else
        m_controls.insert(m_controls.begin() + before, TkAdoptRef(control));
    Reindex();
    return control;
}

CTkCommandBar* CTkControls::RequestChildBar(CWnd* site, const CString& caption, int id) {
    if (site && site->GetSafeHwnd()) {
        CTkPopupBarRequest request;
        request.pszCaption = caption;
        request.nId = id;
        if (site->SendMessage(TK_WM_POPUPBAR_CREATE, 0, (LPARAM)&request) && request.pBar)
            return CTkRef<CTkCommandBar>(request.pBar).Detach();
    }
    return GetManager() ? GetManager()->CreateDefaultPopupBar() : nullptr;
}

CTkControl* CTkControls::Add(CTkControl* control, int id, const CString& parameter, int before, bool temporary) {
    if (!control) return nullptr;
    control->m_strParameter = parameter;
    control->m_bTemporary = temporary ? 1 : 0;
    control->SetID(id);
    return Insert(control, before);
}

CTkControl* CTkControls::AddNew(int type, int id, const CString& parameter, int before, bool temporary) {
    CTkControl* control = CreateControl(AddedClassFor(type, id));
    if (!control) return nullptr;
    // A combo box is a popup control too, but its child bar is its own list.
    auto* popup = control->IsPopupType() ? dynamic_cast<CTkControlPopup*>(control) : nullptr;
    if (popup) {
        CString caption;
        HMENU loaded = nullptr;
        HMENU submenu = nullptr;
        if (id > 0) {
            loaded = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id));
            if (loaded) {
                submenu = ::GetSubMenu(loaded, 0);
                char text[kMenuTextLength] = "";
                ::GetMenuStringA(loaded, 0, text, kMenuTextLength, MF_BYPOSITION);
                caption = text;
            }
        }
        CWnd* site = m_pOwnerBar ? m_pOwnerBar->GetSite() : (GetManager() ? GetManager()->GetSite() : nullptr);
        CTkCommandBar* child = RequestChildBar(site, caption, id);
        popup->m_strCaption = caption;
        if (child) {
            if (submenu) child->BuildFromMenu(submenu, true);
            popup->AttachChildBar(TkAdoptRef(child));
        }
        if (loaded) ::DestroyMenu(loaded);
        if (type != TK_CONTROL_TYPE_POPUP) control->SetID(id);
    } else if (type != TK_CONTROL_TYPE_LABEL) {
        control->SetID(id);
    }
    control->m_nType = type;
    control->m_strParameter = parameter;
    control->m_bTemporary = temporary ? 1 : 0;
    return Insert(control, before);
}

CTkControl* CTkControls::AddMenuItem(HMENU menu, int position) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STATE;
    if (!::GetMenuItemInfoA(menu, (UINT)position, TRUE, &info)) return nullptr;
    // An item that opens a submenu runs no command. The platform reports the submenu's handle as
    // its id; kept, it would be taken for a command that nothing handles and the item greyed.
    int id = info.hSubMenu ? 0 : (int)info.wID;
    if (id == kSkippedMenuId) return nullptr;
    const bool isDefault = (info.fState & MFS_DEFAULT) != 0;
    char buffer[kMenuTextLength] = "";
    ::GetMenuStringA(menu, (UINT)position, buffer, kMenuTextLength, MF_BYPOSITION);
    CTkControlRequest request = {id, m_pOwnerBar, info.hSubMenu ? TK_CONTROL_TYPE_POPUP : TK_CONTROL_TYPE_BUTTON,
                                 CString(buffer), nullptr, menu, position};
    CWnd* site = nullptr;
    if (m_pOwnerManager)
        site = m_pOwnerManager->GetSite();
    else if (m_pOwnerBar)
        site = m_pOwnerBar->GetCommandTarget();
    CTkControl* control = nullptr;
    if (site && site->GetSafeHwnd() && site->SendMessage(TK_WM_CONTROL_CREATE, 0, (LPARAM)&request)) {
        control = request.pControl;
        id = request.nId;
    }
    if (!control) {
        if (request.nType < TK_CONTROL_TYPE_BUTTON || request.nType > TK_CONTROL_TYPE_EDIT ||
            request.nType == TK_CONTROL_TYPE_CUSTOM)
            return nullptr;
        control = CreateControl(MenuItemClassFor(request.nType, id, CString(buffer)));
        if (!control) return nullptr;
        auto* popup = control->IsPopupType() ? dynamic_cast<CTkControlPopup*>(control) : nullptr;
        if (popup) {
            CTkCommandBar* child = RequestChildBar(site, request.strCaption, id);
            if (child) {
                HMENU loaded = nullptr;
                HMENU source = info.hSubMenu;
                if (!source && id > 0) {
                    loaded = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id));
                    if (loaded) source = ::GetSubMenu(loaded, 0);
                }
                if (source) child->BuildFromMenu(source, true);
                if (loaded) ::DestroyMenu(loaded);
                popup->AttachChildBar(TkAdoptRef(child));
            }
        }
        control->m_nType = request.nType;
    }
    control->SetID(id);
    control->SetCaption(request.strCaption);
    control->m_bDefaultItem = isDefault ? 1 : 0;
    m_controls.push_back(TkAdoptRef(control));
    Reindex();
    return control;
}

CTkControl* CTkControls::InsertCopy(CTkControl* control, int index, bool recursive) {
    if (!control) return nullptr;
    return Insert(control->Clone(recursive), index);
}

void CTkControls::RemoveControl(CTkControl* control) {
    auto found = std::find(m_controls.begin(), m_controls.end(), control);
    if (found == m_controls.end()) return;
    if (control->m_nSelected != TK_CONTROL_SELECTION_NONE && m_pOwnerBar) m_pOwnerBar->m_nHotIndex = -1;
    CTkRef<CTkControl> removed = std::move(*found);
    m_controls.erase(found);
    control->m_pControls = nullptr;
    control->SetParent(nullptr);
    removed.Reset();
    Reindex();
}

void CTkControls::RemoveControlAt(int index) {
    if (CTkControl* control = GetControl(index)) RemoveControl(control);
}

void CTkControls::RemoveAllControls() {
    std::vector<CTkRef<CTkControl>> controls;
    controls.swap(m_controls);
    for (CTkRef<CTkControl>& control : controls) {
        control->m_pControls = nullptr;
        control->SetParent(nullptr);
        control.Reset();
    }
}

// ---------------------------------------------------------------------------------------------
// Finding and navigating.

CTkControl* CTkControls::FindByTypeAndId(int type, int id, bool visibleOnly, bool recursive) const {
    std::vector<const CTkControls*> path;  // the collections being searched, against cycles
    std::function<CTkControl*(const CTkControls*)> search = [&](const CTkControls* controls) -> CTkControl* {
        if (std::find(path.begin(), path.end(), controls) != path.end()) return nullptr;
        path.push_back(controls);
        for (CTkControl* control : controls->m_controls) {
            if ((type == 0 || control->m_nType == type) && (id == -1 || control->m_nId == id) &&
                (!visibleOnly || control->m_nHideFlags == 0)) {
                path.pop_back();
                return control;
            }
            if (recursive && control->IsPopupType())
                if (CTkCommandBar* child = control->GetCommandBar())
                    if (CTkControl* found = search(child->GetControls())) {
                        path.pop_back();
                        return found;
                    }
        }
        path.pop_back();
        return nullptr;
    };
    return search(this);
}

CTkControl* CTkControls::FindById(int id) const {
    if (id == -1) return First();
    for (CTkControl* control : m_controls)
        if (control->m_nId == id) return control;
    return nullptr;
}

CTkControl* CTkControls::ControlAtPoint(int x, int y) const {
    POINT point = {x, y};
    for (CTkControl* control : m_controls)
        if (control->m_nHideFlags == 0 && ::PtInRect(&control->m_rcControl, point)) return control;
    return nullptr;
}

int CTkControls::NextNavigable(int from, int step, bool skipNoNavigate, bool skipTemporary, bool strict) const {
    const int count = GetCount();
    if (count == 0 || (step != 1 && step != -1)) return -1;
    const bool started = from >= 0 && from < count;
    const int ignored = strict ? TK_CONTROL_HIDE_SCROLL : (TK_CONTROL_HIDE_SCROLL | TK_CONTROL_HIDE_USAGE);
    int candidate = started ? from : (step > 0 ? -1 : count);
    for (int visited = 0; visited < count; ++visited) {
        candidate += step;
        if (candidate >= count) {
            if (!started) return -1;
            candidate = 0;
        } else if (candidate < 0) {
            if (!started) return -1;
            candidate = count - 1;
        }
        if (started && candidate == from) break;
        const CTkControl* control = m_controls[(size_t)candidate];
        if (control->m_nHideFlags & ~ignored) continue;
        if (skipNoNavigate && (control->m_nFlags & TK_CONTROL_FLAG_NO_NAVIGATE)) continue;
        if (skipTemporary && control->m_bTemporary) continue;
        return candidate;
    }
    return started ? from : -1;
}

// ---------------------------------------------------------------------------------------------
// Copies and originals.

CTkControls* CTkControls::Clone(bool recursive) const {
    auto* copy = new CTkControls;
    copy->m_pOwnerManager = m_pOwnerManager;
    for (CTkControl* control : m_controls)
        if (!control->m_bTemporary) copy->m_controls.push_back(TkAdoptRef(control->Clone(recursive)));
    copy->Reindex();
    if (m_pOriginal) copy->m_pOriginal.Attach(m_pOriginal->Clone(true));
    return copy;
}

void CTkControls::KeepOriginal() {
    CTkControls* original = Clone(true);
    original->m_pOriginal.Reset();
    m_pOriginal.Attach(original);
}

void CTkControls::SetOriginal(CTkControls* original) {
    m_pOriginal.Reset(original);
}

bool CTkControls::SameAs(const CTkControls* other) const {
    if (!other) return false;
    size_t a = 0, b = 0;
    for (;;) {
        while (a < m_controls.size() && m_controls[a]->m_bTemporary) ++a;
        while (b < other->m_controls.size() && other->m_controls[b]->m_bTemporary) ++b;
        const bool endA = a == m_controls.size(), endB = b == other->m_controls.size();
        if (endA || endB) return endA && endB;
        if (!m_controls[a]->Compare(other->m_controls[b])) return false;
        ++a;
        ++b;
    }
}

bool CTkControls::IsCustomized() const {
    return m_pOriginal && !SameAs(m_pOriginal);
}

// ---------------------------------------------------------------------------------------------
// Row layout.

int CTkControls::Wrap(std::vector<CLayoutItem>& items, int length, DWORD& mode) {
    const bool vertical = (mode & TK_LAYOUT_VERT_DOCK) != 0;
    auto extent = [&](const CLayoutItem& item) { return vertical ? item.size.cy : item.size.cx; };
    for (CLayoutItem& item : items) item.wrap = item.hidden = false;
    int rows = 1, running = 0;
    bool firstVisible = true, anyHidden = false;
    size_t rowStart = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        CLayoutItem& item = items[i];
        if (!item.visible) continue;
        const int gap = item.beginGroup && !firstVisible ? TK_SEPARATOR_SIZE : 0;
        const bool rowFirst = firstVisible || i == rowStart;
        if (rowFirst) rowStart = i;
        if (!rowFirst && running + gap + extent(item) > length) {
            if (mode & TK_LAYOUT_HIDE_WRAP) {
                for (size_t j = i; j < items.size(); ++j)
                    if (items[j].visible) items[j].hidden = true;
                anyHidden = true;
                break;
            }
            // Break before the last group of the row that begins after its first item, when
            // that group and this item fit on the next row; else before this item.
            size_t breakAt = i;
            for (size_t k = i; k-- > rowStart + 1;) {
                if (!items[k].visible || !items[k].beginGroup) continue;
                int sum = extent(items[k]);
                for (size_t j = k + 1; j <= i; ++j)
                    if (items[j].visible) sum += (items[j].beginGroup ? TK_SEPARATOR_SIZE : 0) + extent(items[j]);
                if (sum <= length) breakAt = k;
                break;
            }
            items[breakAt].wrap = true;
            rowStart = breakAt;
            running = 0;
            for (size_t j = breakAt; j <= i; ++j)
                if (items[j].visible)
                    running += (j != breakAt && items[j].beginGroup ? TK_SEPARATOR_SIZE : 0) + extent(items[j]);
            ++rows;
            mode |= TK_LAYOUT_STRETCH;
        } else {
            running += (rowFirst ? 0 : gap) + extent(item);
        }
        firstVisible = false;
    }
    if (anyHidden) mode |= TK_LAYOUT_STRETCH;
    return rows;
}

CSize CTkControls::Measure(std::vector<CLayoutItem>& items, bool vertical) {
    int along = 0, across = 0, line = 0, widest = 0;
    bool firstVisible = true;
    for (CLayoutItem& item : items) {
        if (!item.visible || item.hidden) continue;
        const int gap = item.beginGroup && !firstVisible ? TK_SEPARATOR_SIZE : 0;
        const int w = vertical ? item.size.cy : item.size.cx, h = vertical ? item.size.cx : item.size.cy;
        if (item.wrap && !firstVisible) {
            across += line + gap;
            along = 0;
            line = 0;
        } else {
            along += gap;
        }
        if (vertical)
            item.rect = CRect(-across - item.size.cx, along, -across, along + item.size.cy);
        else
            item.rect = CRect(along, across, along + item.size.cx, across + item.size.cy);
        along += w;
        line = std::max(line, h);
        widest = std::max(widest, along);
        firstVisible = false;
    }
    const int total = firstVisible ? 0 : across + line;
    return vertical ? CSize(total, widest) : CSize(widest, total);
}

void CTkControls::Arrange(std::vector<CLayoutItem>& items, bool vertical, const CRect& margins, CSize& size) {
    const int dx = margins.left + (vertical ? size.cx : 0), dy = margins.top;
    // Rows (columns) in order: their extent across is the tallest (widest) item.
    size_t start = 0;
    while (start < items.size()) {
        while (start < items.size() && (!items[start].visible || items[start].hidden)) ++start;
        if (start >= items.size()) break;
        size_t end = start + 1;
        while (end < items.size() && (!items[end].visible || items[end].hidden || !items[end].wrap)) ++end;
        int lineTop = INT_MAX, lineBottom = INT_MIN;
        for (size_t i = start; i < end; ++i) {
            if (!items[i].visible || items[i].hidden) continue;
            items[i].rect.OffsetRect(dx, dy);
            lineTop = std::min<int>(lineTop, vertical ? items[i].rect.left : items[i].rect.top);
            lineBottom = std::max<int>(lineBottom, vertical ? items[i].rect.right : items[i].rect.bottom);
        }
        for (size_t i = start; i < end; ++i) {
            CLayoutItem& item = items[i];
            if (!item.visible || item.hidden) continue;
            if (vertical) {
                item.row = CRect(lineTop, margins.top, lineBottom, margins.top + size.cy);
                const int shift = (lineBottom - lineTop - item.size.cx) / 2;
                item.rect = CRect(lineTop + shift, item.rect.top, lineTop + shift + item.size.cx, item.rect.bottom);
            } else {
                item.row = CRect(margins.left, lineTop, margins.left + size.cx, lineBottom);
                const int shift = (lineBottom - lineTop - item.size.cy) / 2;
                item.rect = CRect(item.rect.left, lineTop + shift, item.rect.right, lineTop + shift + item.size.cy);
            }
        }
        start = end;
    }
    size.cx += margins.left + margins.right;
    size.cy += margins.top + margins.bottom;
}

CSize CTkControls::BestFitByWidth(std::vector<CLayoutItem>& items, int length, DWORD& mode) {
    DWORD scratch = mode;
    const int rows = Wrap(items, length, scratch);
    const int most = Wrap(items, 0, scratch);
    if (rows != most && length > 0) {
        int lo = 0, hi = length;  // rows(hi) == rows; find the smallest such length
        for (int guard = 0; guard < 40 && hi - lo > 1; ++guard) {
            const int mid = lo + (hi - lo) / 2;
            if (Wrap(items, mid, scratch) == rows)
                hi = mid;
            else
                lo = mid;
        }
        Wrap(items, hi, scratch);
        CSize measured = Measure(items, false);
        Wrap(items, measured.cx, scratch);
    } else {
        Wrap(items, length, scratch);
    }
    mode |= scratch & ~TK_LAYOUT_STRETCH;  // a floating bar keeps its best width
    return Measure(items, false);
}

CSize CTkControls::BestFitByHeight(std::vector<CLayoutItem>& items, int height, DWORD& mode) {
    DWORD scratch = mode;
    Wrap(items, 0, scratch);
    int lo = Measure(items, false).cx;
    Wrap(items, 32767, scratch);
    int hi = Measure(items, false).cx;
    bool exact = false;
    for (int guard = 0; guard < 40 && hi - lo > 1; ++guard) {
        const int mid = lo + (hi - lo) / 2;
        Wrap(items, mid, scratch);
        const CSize measured = Measure(items, false);
        if (measured.cy > height) {
            lo = mid;
        } else if (measured.cy == height) {
            exact = true;
            break;
        } else {
            hi = mid;
        }
    }
    if (!exact) Wrap(items, hi, scratch);
    mode |= scratch & ~TK_LAYOUT_STRETCH;
    return Measure(items, false);
}

CSize CTkControls::LayoutRows(CDC* dc, int length, DWORD mode, const CRect& margins, int minimum) {
    for (size_t i = m_controls.size(); i-- > 0;) m_controls[i]->OnCalcDynamicSize(mode);
    const int horizontalMargins = margins.left + margins.right, verticalMargins = margins.top + margins.bottom;

    std::vector<CLayoutItem> items(m_controls.size());
    bool anyVisible = false;
    for (size_t i = 0; i < m_controls.size(); ++i) {
        CTkControl* control = m_controls[i];
        CLayoutItem& item = items[i];
        item.visible = (control->m_nHideFlags & ~TK_CONTROL_HIDE_WRAP) == 0;
        item.beginGroup = control->m_bBeginGroup != 0;
        item.rect = control->m_rcControl;
        if (item.visible) {
            item.size = control->GetSize(dc);
            anyVisible = true;
        }
    }
    if (!anyVisible) {
        CSize size(horizontalMargins + 23, verticalMargins + 22);
        if (mode & TK_LAYOUT_HORZ_DOCK) {
            if (minimum > size.cy) size.cy = minimum;
        } else if (minimum > size.cx) {
            size.cx = minimum;
        }
        return size;
    }

    const bool vertical = (mode & TK_LAYOUT_VERT_DOCK) != 0;
    const int mruWidth = m_pOwnerBar ? m_pOwnerBar->m_nMRUWidth : length;
    CSize size;
    if (mode & TK_LAYOUT_MRU_WIDTH) {
        length = mruWidth;
        Wrap(items, length, mode);
        size = Measure(items, vertical);
    } else if (mode & TK_LAYOUT_WRAP_MRU) {
        Wrap(items, mruWidth, mode);
        Wrap(items, Measure(items, vertical).cx, mode);
        size = Measure(items, vertical);
    } else if (mode & TK_LAYOUT_HORZ_DOCK) {
        Wrap(items, length - horizontalMargins, mode);
        size = Measure(items, vertical);
    } else if (mode & TK_LAYOUT_VERT_DOCK) {
        Wrap(items, length - verticalMargins, mode);
        size = Measure(items, vertical);
    } else if (mode & TK_LAYOUT_LENGTH_IS_HEIGHT) {
        size = BestFitByHeight(items, length - verticalMargins, mode);
    } else {
        size = BestFitByWidth(items, length - horizontalMargins, mode);
    }

    if (minimum > 0) {
        if (mode & TK_LAYOUT_HORZ_DOCK)
            size.cy = std::max<int>(size.cy, minimum - verticalMargins);
        else
            size.cx = std::max<int>(size.cx, minimum - horizontalMargins);
    }
    if (mode & TK_LAYOUT_STRETCH) {
        if (vertical)
            size.cy = std::max<int>(size.cy, length - verticalMargins);
        else
            size.cx = std::max<int>(size.cx, length - horizontalMargins);
    }
    Arrange(items, vertical, margins, size);

    if (mode & TK_LAYOUT_COMMIT) {
        // Far-end alignment of the last row's trailing controls.
        int limit = vertical ? size.cy - margins.bottom : size.cx - margins.right;
        for (size_t i = items.size(); i-- > 0;) {
            CLayoutItem& item = items[i];
            if (!item.visible || item.hidden) continue;
            if (!(m_controls[i]->m_nFlags & TK_CONTROL_FLAG_RIGHT_ALIGN)) break;
            const int extent = vertical ? item.rect.Height() : item.rect.Width();
            const int nearEdge = limit - extent;
            if (nearEdge < (vertical ? margins.top : margins.left)) break;
            if (vertical)
                item.rect = CRect(item.rect.left, nearEdge, item.rect.right, limit);
            else
                item.rect = CRect(nearEdge, item.rect.top, limit, item.rect.bottom);
            limit = nearEdge;
            if (item.wrap) break;
        }
        for (size_t i = 0; i < items.size(); ++i) {
            CTkControl* control = m_controls[i];
            const CLayoutItem& item = items[i];
            if (!item.visible) continue;
            control->ModifyHideFlags(TK_CONTROL_HIDE_WRAP, item.hidden);
            if (item.hidden) continue;
            control->m_rcRow = item.row;
            control->SetRect(item.rect.left, item.rect.top, item.rect.right, item.rect.bottom);
            control->m_bWrap = item.wrap ? 1 : 0;
        }
    }
    return size;
}
