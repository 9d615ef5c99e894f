#include "commandbars/TkBarState.h"

#include <algorithm>

namespace {

const int kNoPosition = -1;
const int kNoWidth = 32767;

CWinApp* Profile() {
    return AfxGetApp();
}

int ReadInt(const char* section, const char* entry, int defaultValue) {
    return (int)Profile()->GetProfileInt(section, entry, defaultValue);
}

// A count read from the profile: negative counts are none, large ones are capped.
int ReadCount(const char* section, const char* entry) {
    const int count = ReadInt(section, entry, 0);
    return std::min(std::max(count, 0), TK_BAR_STATE_MAX_COUNT);
}

// Whether the stored value is there at all.
bool HasValue(const char* section, const char* entry) {
    return ReadInt(section, entry, 0) != 0 || ReadInt(section, entry, 1) != 1;
}

void WriteInt(const char* section, const char* entry, int value) {
    Profile()->WriteProfileInt(section, entry, value);
}

}  // namespace

CString TkBarStateSection(const char* profile, const char* suffix, int index) {
    if (!profile || !*profile) return CString();
    CString tail;
    tail.Format(suffix, index);
    CString name(profile);
    name += tail;
    // Each part of a key path is one registry key name.
    int start = 0;
    for (;;) {
        const int slash = name.Find('\\', start);
        const int end = slash < 0 ? name.GetLength() : slash;
        if (end - start > TK_BAR_STATE_MAX_SECTION || end == start) return CString();
        if (slash < 0) break;
        start = slash + 1;
    }
    return name;
}

// ---------------------------------------------------------------------------------------------

CTkBarsState::CTkBarsState()
    : CTkBarsState(CSize(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)),
                   CSize(::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON))) {}

CTkBarsState::CTkBarsState(CSize screen, CSize icon)
    : m_rcScreen(0, 0, screen.cx, screen.cy), m_szLimit(screen.cx - icon.cx, screen.cy - icon.cy) {}

void CTkBarsState::Write(const char* profile) const {
    CWinApp* app = Profile();
    if (!app) return;
    int written = 0;
    for (const CTkBarStateEntry& entry : m_entries) {
        const CString section = TkBarStateSection(profile, "-Bar%d", written);
        if (section.IsEmpty()) return;
        app->WriteProfileString(section, nullptr, nullptr);
        WriteInt(section, "BarID", (int)entry.nBarId);
        if (!entry.bVisible) WriteInt(section, "Visible", 0);
        if (entry.bFloating) WriteInt(section, "Floating", entry.bFloating);
        if (entry.ptPos.x != kNoPosition) WriteInt(section, "XPos", entry.ptPos.x);
        if (entry.ptPos.y != kNoPosition) WriteInt(section, "YPos", entry.ptPos.y);
        if (entry.nMRUWidth != kNoWidth) WriteInt(section, "MRUWidth", entry.nMRUWidth);
        WriteInt(section, "MRUDockID", (int)entry.nMRUDockId);
        WriteInt(section, "MRUDockLeftPos", entry.rcMRUDock.left);
        WriteInt(section, "MRUDockTopPos", entry.rcMRUDock.top);
        WriteInt(section, "MRUDockRightPos", entry.rcMRUDock.right);
        WriteInt(section, "MRUDockBottomPos", entry.rcMRUDock.bottom);
        WriteInt(section, "MRUFloatXPos", entry.ptMRUFloat.x);
        WriteInt(section, "MRUFloatYPos", entry.ptMRUFloat.y);
        ++written;
    }
    const CString summary = TkBarStateSection(profile, "-Summary");
    if (summary.IsEmpty()) return;
    WriteInt(summary, "Bars", written);
    WriteInt(summary, "ScreenCX", m_rcScreen.Width());
    WriteInt(summary, "ScreenCY", m_rcScreen.Height());
}

bool CTkBarsState::Read(const char* profile) {
    m_entries.clear();
    const CString summary = TkBarStateSection(profile, "-Summary");
    if (summary.IsEmpty() || !Profile() || !HasValue(summary, "Bars")) return false;
    const int count = ReadCount(summary, "Bars");
    m_szStoredScreen = CSize(ReadInt(summary, "ScreenCX", 0), ReadInt(summary, "ScreenCY", 0));
    // A size that is not there (or makes no sense) is not divided by.
    m_bRescale = m_szStoredScreen.cx > 0 && m_szStoredScreen.cy > 0 &&
                 (m_szStoredScreen.cx != m_rcScreen.Width() || m_szStoredScreen.cy != m_rcScreen.Height());
    for (int i = 0; i < count; ++i) {
        const CString section = TkBarStateSection(profile, "-Bar%d", i);
        // A count larger than the sections written ends at the first one missing (no bar has
        // the id -1).
        const int id = ReadInt(section, "BarID", -1);
        if (id == -1) break;
        CTkBarStateEntry entry;
        entry.nBarId = (UINT)id;
        entry.bVisible = ReadInt(section, "Visible", 1) ? 1 : 0;
        entry.bFloating = ReadInt(section, "Floating", 0) ? 1 : 0;
        entry.ptPos = AdjustPoint(CPoint(ReadInt(section, "XPos", kNoPosition), ReadInt(section, "YPos", kNoPosition)));
        entry.nMRUWidth = ReadInt(section, "MRUWidth", kNoWidth);
        entry.nMRUDockId = (UINT)ReadInt(section, "MRUDockID", 0);
        entry.rcMRUDock = AdjustRect(CRect(ReadInt(section, "MRUDockLeftPos", 0), ReadInt(section, "MRUDockTopPos", 0),
                                           ReadInt(section, "MRUDockRightPos", 0),
                                           ReadInt(section, "MRUDockBottomPos", 0)));
        entry.ptMRUFloat = AdjustPoint(CPoint(ReadInt(section, "MRUFloatXPos", 0), ReadInt(section, "MRUFloatYPos", 0)));
        m_entries.push_back(entry);
    }
    return true;
}

CPoint CTkBarsState::AdjustPoint(CPoint point) const {
    if (m_bRescale) {
        point.x = ::MulDiv(point.x, m_rcScreen.Width(), m_szStoredScreen.cx);
        point.y = ::MulDiv(point.y, m_rcScreen.Height(), m_szStoredScreen.cy);
    }
    point.x = std::min<LONG>(point.x, m_szLimit.cx);
    point.y = std::min<LONG>(point.y, m_szLimit.cy);
    return point;
}

CRect CTkBarsState::AdjustRect(const CRect& rect) const {
    const CPoint corner = AdjustPoint(rect.TopLeft());
    CRect moved(rect);
    moved.OffsetRect(corner.x - rect.left, corner.y - rect.top);
    return moved;
}

// ---------------------------------------------------------------------------------------------
// Dock-bar rows.

void TkWriteDockBarSection(const char* section, const std::vector<UINT>& entryIds) {
    CWinApp* app = Profile();
    if (!app || !section || !*section) return;
    app->WriteProfileString(section, nullptr, nullptr);
    if (entryIds.size() <= 1) return;
    int written = 0;
    UINT previous = 1;
    for (UINT id : entryIds) {
        if (id == 0 && previous == 0) continue;
        CString entry;
        entry.Format("Bar#%d", written++);
        WriteInt(section, entry, (int)id);
        previous = id;
    }
    WriteInt(section, "Bars", written);
}

std::vector<UINT> TkReadDockBarSection(const char* section) {
    std::vector<UINT> ids;
    if (!Profile() || !section || !*section) return ids;
    const int count = ReadCount(section, "Bars");
    if (count <= 1) return ids;
    for (int i = 0; i < count; ++i) {
        CString entry;
        entry.Format("Bar#%d", i);
        const int id = ReadInt(section, entry, -1);
        if (id == -1) break;
        ids.push_back((UINT)id);
    }
    return ids;
}
