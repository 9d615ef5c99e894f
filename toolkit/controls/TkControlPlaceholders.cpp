#include "controls/TkControlPlaceholders.h"

#include "afxarchive.h"
#include "commandbars/TkCommandBar.h"
#include "commandbars/TkCommandBars.h"
#include "controls/TkControls.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CTkControlPlaceholder, CTkControlButton)
IMPLEMENT_SERIAL(CTkControlToolbars, CTkControlPlaceholder, VERSIONABLE_SCHEMA | 7)
IMPLEMENT_SERIAL(CTkControlOleItems, CTkControlPlaceholder, VERSIONABLE_SCHEMA | 7)
IMPLEMENT_SERIAL(CTkControlRecentFileList, CTkControlPlaceholder, VERSIONABLE_SCHEMA | 7)
IMPLEMENT_SERIAL(CTkControlWindowList, CTkControlPlaceholder, VERSIONABLE_SCHEMA | 7)
IMPLEMENT_SERIAL(CTkControlWorkspaceActions, CTkControlPlaceholder, VERSIONABLE_SCHEMA | 7)

namespace {

// The check item of one bar in the Toolbars list: choosing it shows or hides that bar.
class CTkControlToolbar : public CTkControlButton {
public:
    explicit CTkControlToolbar(int barIndex) : m_nBarIndex(barIndex) {}
    void Execute() override {
        CTkCommandBars* manager = m_pParent ? m_pParent->GetManager() : nullptr;
        const int index = m_nBarIndex;
        CHoldRef holdManager(manager);
        CTkControlButton::Execute();  // no command: the popups close
        if (manager) manager->ToggleBarVisible(index);
    }

private:
    int m_nBarIndex;
};

CTkControl* NewItem(CTkControl* item, int id, const CString& caption) {
    item->m_nId = id;
    item->m_strCaption = caption;
    return item;
}

CTkControlRecentFileList::Source g_recentFiles = nullptr;

// The longest window title a window-list item shows.
const int kMaxTitle = 255;
// The MDI child ids of frames whose active child was numbered from the class library's second range.
const int kSecondFirstChildId = 0x8000;
const int kSecondLastChildId = 0x800F;

}  // namespace

// ---------------------------------------------------------------------------------------------

CWnd* CTkControlPlaceholder::GetFrame() const {
    if (m_pParent) return m_pParent->GetSite();
    CTkCommandBars* manager = m_pControls ? m_pControls->GetManager() : nullptr;
    return manager ? manager->GetSite() : nullptr;
}

void CTkControlPlaceholder::RemoveItems() {
    std::vector<CTkControl*> items;
    items.swap(m_items);
    if (!m_pControls) return;
    for (CTkControl* item : items) {
        const auto& controls = m_pControls->m_controls;
        if (std::find(controls.begin(), controls.end(), item) != controls.end()) m_pControls->RemoveControl(item);
    }
}

void CTkControlPlaceholder::OnCalcDynamicSize(DWORD) {
    RemoveItems();
    const bool inPopup = m_pParent && m_pParent->m_nBarType == TK_BAR_TYPE_POPUP;
    const bool expand = inPopup && m_pControls && !m_pParent->IsCustomizeMode();
    ModifyHideFlags(TK_CONTROL_HIDE_EXPANDED, expand || !inPopup);
    if (!expand) return;
    std::vector<CTkControl*> items;
    GenerateItems(items);
    int before = m_nIndex + 1;
    for (CTkControl* item : items) {
        m_pControls->Add(item, item->m_nId, CString(), before++, true);
        m_items.push_back(item);
    }
}

void CTkControlPlaceholder::SetParent(CTkCommandBar* bar) {
    if (!bar) m_items.clear();  // the collection that held them is letting go of this control
    CTkControlButton::SetParent(bar);
    if (!bar || bar->m_nBarType != TK_BAR_TYPE_POPUP) ModifyHideFlags(TK_CONTROL_HIDE_EXPANDED, true);
}

// ---------------------------------------------------------------------------------------------

void CTkControlToolbars::GenerateItems(std::vector<CTkControl*>& items) {
    CTkCommandBars* manager = m_pParent ? m_pParent->GetManager() : nullptr;
    if (!manager) return;
    for (int index = 0; index < manager->GetCount(); ++index) {
        CTkCommandBar* bar = manager->GetBar(index);
        if (!bar) continue;
        CTkControl* item = NewItem(new CTkControlToolbar(index), 0, bar->m_strTitle);
        item->m_bChecked = bar->IsVisible() ? 1 : 0;
        items.push_back(item);
    }
}

// ---------------------------------------------------------------------------------------------

void CTkControlRecentFileList::SetSource(Source source) {
    g_recentFiles = source;
}

CString CTkControlRecentFileList::DisplayName(const CString& path, const CString& directory) {
    if (directory.IsEmpty()) return path;
    CString prefix = directory;
    if (prefix[prefix.GetLength() - 1] != '\\') prefix += "\\";
    if (path.GetLength() > prefix.GetLength() && _strnicmp(path, prefix, (size_t)prefix.GetLength()) == 0)
        return path.Mid(prefix.GetLength());
    return path;
}

void CTkControlRecentFileList::GenerateItems(std::vector<CTkControl*>& items) {
    if (!g_recentFiles) return;
    const std::vector<CString> files = g_recentFiles();
    char directory[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, directory);
    const int count = std::min((int)files.size(), kMaxFiles);
    for (int i = 0; i < count; ++i) {
        CString caption;
        caption.Format("&%d %s", (i + 1) % 10, (const char*)DisplayName(files[(size_t)i], directory));
        items.push_back(NewItem(new CTkControlButton, kFirstFileId + i, caption));
    }
}

// ---------------------------------------------------------------------------------------------

void CTkControlWindowList::GenerateItems(std::vector<CTkControl*>& items) {
    CWnd* frame = GetFrame();
    HWND client = frame ? ::FindWindowExA(frame->GetSafeHwnd(), nullptr, "MDIClient", nullptr) : nullptr;
    if (!client) return;
    int id = kFirstChildId;
    if (HWND active = (HWND)::SendMessageW(client, WM_MDIGETACTIVE, 0, 0)) {
        const int activeId = ::GetDlgCtrlID(active);
        if (activeId >= kSecondFirstChildId && activeId <= kSecondLastChildId) id = kSecondFirstChildId;
    }
    int number = 1;
    for (HWND child = ::GetDlgItem(client, id); child; child = ::GetDlgItem(client, ++id)) {
        if (!(::GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE)) continue;  // shown, even in a hidden frame
        char title[kMaxTitle + 1] = "";
        ::GetWindowTextA(child, title, sizeof title);
        CString caption;
        caption.Format("&%i %s", number++, title);
        CTkControl* item = NewItem(new CTkControlButton, id, caption);
        item->m_nFlags = TK_CONTROL_FLAG_NO_UPDATE;
        item->m_bBeginGroup = items.empty() ? 1 : 0;
        items.push_back(item);
    }
}
