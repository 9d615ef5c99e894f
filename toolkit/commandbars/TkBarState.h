// The saved layout of a manager's bars in the program's profile: which bars there are, whether
// they show or float, where they sit, their docking memory, and the rows of the dock bars.
//
// A profile name gives the sections "<profile>-Summary" (the bar count and the screen size at
// saving), "<profile>-Bar<n>" (one per bar, in the manager's order), "<profile>-DockBar<n>" (the
// rows of the top, bottom, left and right dock bars), "<profile>-Controls" (the customised bars'
// archive, or the name of the side file holding it) and "<profile>-Options" (the settings).
//
// Nothing read is trusted: counts are capped, insert places clamped, sizes checked before they
// divide, and positions kept on the screen.
#pragma once

#include "afxwin.h"

#include <vector>

class CTkCommandBar;

// The most bars, or dock-bar entries, a profile section may list; more is damage.
const int TK_BAR_STATE_MAX_COUNT = 1024;
// An archive longer than this goes to the side file instead of the profile.
const UINT TK_BAR_STATE_PROFILE_ARCHIVE_LIMIT = 16000;
// Registry key names are at most this long.
const int TK_BAR_STATE_MAX_SECTION = 255;

// One bar of a saved layout.
struct CTkBarStateEntry {
    UINT nBarId = 0;
    int bVisible = 0;
    int bFloating = 0;
    // Docked: the window's place in its dock bar; floating: on the screen; without a window the
    // last floating place. -1, -1 for none.
    CPoint ptPos = CPoint(-1, -1);
    int nMRUWidth = 32767;
    UINT nMRUDockId = 0;   // the dock bar the bar was last docked in (its child-window id)
    CRect rcMRUDock;       // where, in that dock bar's client coordinates
    CPoint ptMRUFloat;     // the last floating place
    CTkCommandBar* pBar = nullptr;  // the bar found for the id when loading (not held)
};

// The layout in memory between the profile and the bars.
class CTkBarsState {
public:
    // The primary screen's size and the icon size of the system now.
    CTkBarsState();
    // A given screen and icon size (for a layout carried to another screen).
    CTkBarsState(CSize screen, CSize icon);

    // Writes the bar sections (each deleted first) and then the summary.
    void Write(const char* profile) const;
    // Reads the summary and the bar sections; false when the profile holds no summary.
    bool Read(const char* profile);

    // A stored point on the current screen: rescaled when the screen changed, then pulled back
    // to the upper limits. There is no lower limit.
    CPoint AdjustPoint(CPoint point) const;
    // A stored rectangle: moved (never resized) the way its top-left corner is.
    CRect AdjustRect(const CRect& rect) const;

    CRect m_rcScreen;          // 0, 0 and the screen's size now
    bool m_bRescale = false;   // the stored screen size is known and differs from the current one
    CSize m_szStoredScreen;    // the screen size when saved
    CSize m_szLimit;           // the largest x and y a position may have
    std::vector<CTkBarStateEntry> m_entries;
};

// "<profile><suffix>" with "%d" in the suffix replaced by the index; empty when the profile is
// empty or the name would be longer than a registry key name may be.
CString TkBarStateSection(const char* profile, const char* suffix, int index = 0);

// Writes the rows of a dock bar: "Bar#<n>" = the bar id of each entry, 0 for a row break (a run
// of breaks written as one), then "Bars" = the number written. A dock bar holding no more than
// its leading break leaves the section empty. The section is deleted first.
void TkWriteDockBarSection(const char* section, const std::vector<UINT>& entryIds);
// Reads the "Bar#<n>" values of a dock-bar section (none when "Bars" is 1 or less; at most
// TK_BAR_STATE_MAX_COUNT).
std::vector<UINT> TkReadDockBarSection(const char* section);

// The name a side file is written under before it replaces the old one; empty when too long.
CString TkSideFileTemporaryName(const CString& path);
