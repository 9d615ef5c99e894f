// The manager's side of the saved layout: what each bar exports and applies, the dock rows, the
// customised bars (in the profile, or in the side file when large) and the options.
#include "commandbars/TkCommandBars.h"

#include "commandbars/TkBarArchive.h"
#include "commandbars/TkBarDragTracker.h"
#include "commandbars/TkBarState.h"
#include "commandbars/TkDockBar.h"
#include "commandbars/TkMenuBar.h"
#include "commandbars/TkToolBar.h"
#include "painters/TkDrawTools.h"

#include <vector>

namespace {

// Memory archives grow in steps of this, through an archive buffer of that.
const UINT kMemoryStep = 1024;
const int kArchiveBuffer = 4096;
// A side file larger than this is not a layout of ours.
const DWORD kMaxSideFile = 16 * 1024 * 1024;

// The stored options, in the order they are written.
struct COptionValue {
    const char* name;
    int CTkCommandBarsSettings::*member;
};
const COptionValue kOptions[] = {
    {"AlwaysShowFullMenus", &CTkCommandBarsSettings::m_bAlwaysShowFullMenus},
    {"ShowFullAfterDelay", &CTkCommandBarsSettings::m_bShowFullAfterDelay},
    {"ToolBarScreenTips", &CTkCommandBarsSettings::m_bToolBarScreenTips},
    {"ToolBarAccelTips", &CTkCommandBarsSettings::m_bToolBarAccelTips},
    {"LargeIcons", &CTkCommandBarsSettings::m_bLargeIcons},
    {"Animation", &CTkCommandBarsSettings::m_nAnimationType},
};

// ---------------------------------------------------------------------------------------------
// Bars and entries.

// The side of the dock bar with that child-window id; -1 for none.
int SideOfDockId(const CTkCommandBars* manager, UINT id) {
    for (int side = 0; side < 4; ++side)
        if (CTkDockBar* dockBar = manager->GetDockBar(side))
            if (dockBar->GetSafeHwnd() && (UINT)dockBar->GetDlgCtrlID() == id) return side;
    return -1;
}

CTkBarStateEntry ExportEntry(const CTkCommandBars* manager, CTkCommandBar* bar) {
    CTkBarStateEntry entry;
    entry.nBarId = bar->m_nBarId;
    entry.bVisible = bar->IsVisible() ? 1 : 0;
    entry.bFloating = bar->m_nPosition == TK_BAR_POSITION_FLOATING ? 1 : 0;
    entry.nMRUWidth = bar->m_nMRUWidth;
    auto* toolbar = dynamic_cast<CTkToolBar*>(bar);
    CTkBarDragTracker* tracker = toolbar ? toolbar->GetDragTracker() : nullptr;
    if (bar->GetSafeHwnd()) {
        CRect window;
        TkGetWindowRect(bar, window);
        if (!entry.bFloating)
            if (HWND parent = ::GetParent(bar->m_hWnd))
                ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&window), 2);
        entry.ptPos = window.TopLeft();
    } else if (tracker && tracker->HasLastFloatPoint()) {
        entry.ptPos = tracker->m_ptLastFloat;
    }
    if (tracker) {
        if (CTkDockBar* dockBar = manager->GetDockBar(tracker->m_nLastDockSide))
            if (dockBar->GetSafeHwnd()) entry.nMRUDockId = (UINT)dockBar->GetDlgCtrlID();
        entry.rcMRUDock = tracker->m_rcLastDock;
        entry.ptMRUFloat = tracker->m_ptLastFloat;
    }
    return entry;
}

// Floats or docks the bar as the entry says, then gives it the entry's visibility, place and
// docking memory.
void ApplyEntry(CTkCommandBars* manager, const CTkBarStateEntry& entry) {
    CTkCommandBar* bar = entry.pBar;
    auto* toolbar = dynamic_cast<CTkToolBar*>(bar);
    if (toolbar) {
        CTkBarDragTracker* tracker = toolbar->GetDragTracker();
        const int mruSide = SideOfDockId(manager, entry.nMRUDockId);
        if (tracker) {
            if (mruSide >= 0) tracker->m_nLastDockSide = mruSide;
            tracker->m_rcLastDock = entry.rcMRUDock;
            if (entry.bFloating || entry.ptMRUFloat != CPoint(0, 0)) tracker->SetLastFloatPoint(entry.ptMRUFloat);
        }
        if (entry.nMRUWidth > 0 && entry.nMRUWidth <= 32767) toolbar->m_nMRUWidth = entry.nMRUWidth;
        if (entry.bFloating && (toolbar->m_dwFlags & TK_BAR_FLAG_FLOAT)) {
            manager->FloatCommandBar(toolbar);
        } else if (toolbar->IsFloating() || !toolbar->GetDockBar()) {
            const int side = mruSide >= 0 && (toolbar->m_dwFlags & (1 << mruSide)) ? mruSide : TK_DOCK_TOP;
            manager->DockCommandBar(toolbar, manager->GetDockBar(side), nullptr);
        }
        if (toolbar->GetSafeHwnd() && entry.ptPos != CPoint(-1, -1)) {
            ::SetWindowPos(toolbar->m_hWnd, nullptr, entry.ptPos.x, entry.ptPos.y, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            if (toolbar->IsFloating()) toolbar->OnRecalcLayout();
        }
    }
    bar->SetVisible(entry.bVisible != 0);
}

// ---------------------------------------------------------------------------------------------
// The side file.

// The full path of the program's file.
CString ModulePath() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return CString();
    return CString(path);
}

// Creates the folders of a path that are missing, from `from` (the length of the part that
// must exist already) on.
bool CreateFoldersOf(const CString& path, int from) {
    for (int slash = path.Find('\\', from); slash >= 0; slash = path.Find('\\', slash + 1)) {
        const std::wstring folder = path.Left(slash).Wide();
        const DWORD attributes = ::GetFileAttributesW(folder.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
            continue;
        }
        if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
    return true;
}

// A path a side file may be read from: a plain local file of a sensible size.
bool ReadSideFile(const CString& path, std::vector<BYTE>& bytes) {
    bytes.clear();
    if (path.IsEmpty() || path.GetLength() >= MAX_PATH || path.Find("\\\\") == 0 || path.Find("//") == 0) return false;
    const std::wstring name = path.Wide();
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)))
        return false;
    HANDLE file = ::CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size = {};
    bool ok = ::GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart <= kMaxSideFile;
    if (ok) {
        bytes.resize((size_t)size.QuadPart);
        DWORD read = 0;
        ok = ::ReadFile(file, bytes.data(), (DWORD)bytes.size(), &read, nullptr) && read == bytes.size();
    }
    ::CloseHandle(file);
    if (!ok) bytes.clear();
    return ok;
}

// Writes the side file under its temporary name and puts it in place of the old one only once
// it is written whole; the old file stays when anything fails.
bool WriteSideFile(const CString& path, const std::vector<BYTE>& bytes) {
    const CString temporary = TkSideFileTemporaryName(path);
    if (temporary.IsEmpty()) return false;
    const std::wstring temporaryName = temporary.Wide();
    HANDLE file = ::CreateFileW(temporaryName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = ::WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr) && written == bytes.size();
    ok = ::FlushFileBuffers(file) && ok;
    ::CloseHandle(file);
    const std::wstring name = path.Wide();
    if (ok) {
        // A hidden or read-only old file would refuse to be replaced.
        if (::GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES)
            ::SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);
        ok = ::MoveFileExW(temporaryName.c_str(), name.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }
    if (!ok) {
        ::DeleteFileW(temporaryName.c_str());
        return false;
    }
    ::SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_HIDDEN);
    return true;
}

}  // namespace

CString TkSideFileTemporaryName(const CString& path) {
    if (path.IsEmpty()) return CString();
    CString temporary = path + ".new";
    return temporary.GetLength() < MAX_PATH ? temporary : CString();
}

CString CTkCommandBars::GetSideFilePath(const char* profile) const {
    if (!m_strSideFile.IsEmpty()) return m_strSideFile.GetLength() < MAX_PATH ? m_strSideFile : CString();
    const CString module = ModulePath();
    if (module.IsEmpty() || !profile || !*profile) return CString();
    CString path;
    path.Format("%s-%s", (const char*)module, profile);
    return path.GetLength() < MAX_PATH ? path : CString();
}

// ---------------------------------------------------------------------------------------------
// The layout.

void CTkCommandBars::SaveBarState(const char* profile) {
    if (!AfxGetApp() || TkBarStateSection(profile, "-Summary").IsEmpty()) return;
    CHoldRef hold(this);
    CTkBarsState state;
    for (CTkCommandBar* bar : m_bars) state.m_entries.push_back(ExportEntry(this, bar));
    state.Write(profile);

    for (int side = 0; side < 4; ++side) {
        std::vector<UINT> ids;
        if (CTkDockBar* dockBar = m_pDockBars[side].get())
            for (CTkToolBar* bar : dockBar->GetBars()) ids.push_back(bar ? bar->m_nBarId : 0);
        TkWriteDockBarSection(TkBarStateSection(profile, "-DockBar%d", side), ids);
    }

    if (m_bCustomizationEnabled) SaveControls(profile);

    for (CTkCommandBar* bar : m_bars)
        if (auto* menuBar = dynamic_cast<CTkMenuBar*>(bar))
            if (menuBar->m_bSwitchedToDefault && m_pSite && m_pSite->GetSafeHwnd()) RecalcFrameLayout();
}

void CTkCommandBars::SaveControls(const char* profile) {
    CWinApp* app = AfxGetApp();
    const CString section = TkBarStateSection(profile, "-Controls");
    if (section.IsEmpty()) return;
    CMemFile file(kMemoryStep);
    bool written = false;
    {
        CTkBarList stored;
        TkCollectBars(std::vector<CTkCommandBar*>(m_bars.begin(), m_bars.end()), stored);
        try {
            CArchive ar(&file, CArchive::store, kArchiveBuffer);
            ar.m_pDocument = this;
            TkWriteBarsArchive(ar, stored);
            ar.Flush();
            written = true;
        } catch (CArchiveException* e) {
            e->Delete();
        }
    }
    if (!written) {
        app->WriteProfileString(section, nullptr, nullptr);
        return;
    }
    const std::vector<BYTE>& bytes = file.GetData();
    const CString path = GetSideFilePath(profile);
    if (bytes.size() > TK_BAR_STATE_PROFILE_ARCHIVE_LIMIT && !path.IsEmpty()) {
        // The default file lies in a folder named after the program and the profile.
        const bool folders = !m_strSideFile.IsEmpty() || CreateFoldersOf(path, ModulePath().GetLength());
        if (folders && WriteSideFile(path, bytes)) {
            app->WriteProfileString(section, "Controls", path);
            app->WriteProfileInt(section, "LoadFromFile", 1);
            return;
        }
    }
    // In the profile itself (also when no side file could be made); the side file of this
    // profile goes only once the profile no longer names it.
    if (!app->WriteProfileBinary(section, "Controls", bytes.data(), (UINT)bytes.size())) return;
    app->WriteProfileInt(section, "LoadFromFile", 0);
    if (!path.IsEmpty()) {
        const std::wstring name = path.Wide();
        if (::GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES) {
            ::SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(name.c_str());
        }
    }
}

void CTkCommandBars::LoadControls(const char* profile, bool silent) {
    CWinApp* app = AfxGetApp();
    const CString section = TkBarStateSection(profile, "-Controls");
    if (section.IsEmpty()) return;
    std::vector<BYTE> bytes;
    if (app->GetProfileInt(section, "LoadFromFile", 0)) {
        if (!ReadSideFile(app->GetProfileString(section, "Controls", ""), bytes)) return;
    } else if (!app->GetProfileBinary(section, "Controls", bytes) || bytes.empty()) {
        return;
    }
    CMemFile file(bytes.data(), (UINT)bytes.size());
    bytes.clear();
    CTkBarList loaded;
    bool read = false;
    {
        CArchive ar(&file, CArchive::load, kArchiveBuffer);
        ar.m_pDocument = this;
        read = TkReadBarsArchive(ar, loaded);
    }
    // A damaged customisation is dropped whole: the program's own bars stay as they are.
    if (read) MergeLoadedBars(loaded, silent);
}

void CTkCommandBars::LoadBarState(const char* profile, bool silent) {
    if (!AfxGetApp() || TkBarStateSection(profile, "-Summary").IsEmpty()) return;
    CHoldRef hold(this);
    if (m_bCustomizationEnabled) LoadControls(profile, silent);

    CTkBarsState state;
    if (!state.Read(profile)) return;

    // One layout at the end, not one per bar moved.
    const int wasLocked = m_bLayoutLocked;
    m_bLayoutLocked = 1;
    for (int side = 0; side < 4; ++side) {
        CTkDockBar* dockBar = m_pDockBars[side].get();
        const std::vector<UINT> ids = TkReadDockBarSection(TkBarStateSection(profile, "-DockBar%d", side));
        if (!dockBar || !dockBar->GetSafeHwnd() || ids.empty()) continue;
        for (size_t index = 0; index < ids.size(); ++index) {
            CTkToolBar* bar = nullptr;
            if (ids[index]) {
                bar = dynamic_cast<CTkToolBar*>(FindBar(ids[index]));
                // A bar that may not dock on this side, or is no toolbar, stays where it is.
                if (!bar || !(bar->m_dwFlags & (1 << side))) continue;
            }
            dockBar->RestoreEntry((int)index, bar);
        }
        dockBar->NormaliseRows();
    }

    for (CTkBarStateEntry& entry : state.m_entries) {
        entry.pBar = FindBar(entry.nBarId);
        if (entry.pBar) ApplyEntry(this, entry);
    }
    m_bLayoutLocked = wasLocked;
    if (auto* frame = dynamic_cast<CFrameWnd*>(m_pSite)) frame->DelayRecalcLayout();
}

// ---------------------------------------------------------------------------------------------
// The options.

void CTkCommandBars::SaveOptions(const char* profile) {
    CWinApp* app = AfxGetApp();
    const CString section = TkBarStateSection(profile, "-Options");
    if (!app || section.IsEmpty()) return;
    app->WriteProfileString(section, nullptr, nullptr);
    for (const COptionValue& option : kOptions) app->WriteProfileInt(section, option.name, m_pSettings->*option.member);
    CMap<UINT, UINT, int, int>& used = m_pSettings->m_mapUsedCommands;
    if (used.IsEmpty()) return;
    try {
        CMemFile file(kMemoryStep);
        {
            CArchive ar(&file, CArchive::store, kArchiveBuffer);
            ar.WriteCount((DWORD_PTR)used.GetCount());
            used.ForEach([&ar](UINT id, int) { ar << (DWORD)id << (DWORD)1; });
            ar.Flush();
        }
        app->WriteProfileBinary(section, "UsedCommands", file.GetData().data(), (UINT)file.GetData().size());
    } catch (CArchiveException* e) {
        e->Delete();
    }
}

void CTkCommandBars::LoadOptions(const char* profile) {
    CWinApp* app = AfxGetApp();
    const CString section = TkBarStateSection(profile, "-Options");
    if (!app || section.IsEmpty()) return;
    for (const COptionValue& option : kOptions) {
        int& value = m_pSettings->*option.member;
        const int stored = (int)app->GetProfileInt(section, option.name, value);
        if (option.member == &CTkCommandBarsSettings::m_nAnimationType)
            value = stored >= TK_MENU_ANIMATION_SYSTEM && stored <= TK_MENU_ANIMATION_NONE ? stored : value;
        else
            value = stored ? 1 : 0;
    }
    std::vector<BYTE> bytes;
    if (!app->GetProfileBinary(section, "UsedCommands", bytes) || bytes.empty()) return;
    // Read whole before anything is added: a damaged value adds nothing.
    std::vector<UINT> ids;
    try {
        CMemFile file(bytes.data(), (UINT)bytes.size());
        CArchive ar(&file, CArchive::load, kArchiveBuffer);
        const DWORD_PTR count = ar.ReadCount();
        if (count > bytes.size() / 8) AfxThrowArchiveException(CArchiveException::endOfFile);
        for (DWORD_PTR i = 0; i < count; ++i) {
            DWORD id = 0, value = 0;
            ar >> id >> value;
            ids.push_back((UINT)id);
        }
    } catch (CArchiveException* e) {
        e->Delete();
        return;
    }
    for (UINT id : ids) m_pSettings->m_mapUsedCommands[id] = 1;
}
