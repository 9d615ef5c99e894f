// The options every bar of one command-bars manager shares: how menus show their commands,
// screen tips, icon sizes, the menu animation, and which commands count as rarely used.
#pragma once

#include "afxwin.h"

class CTkCommandBars;

// How popup menus open.
enum TkMenuAnimation : int {
    TK_MENU_ANIMATION_SYSTEM = 0,  // as the system's menu animation setting says
    TK_MENU_ANIMATION_RANDOM = 1,
    TK_MENU_ANIMATION_UNFOLD = 2,
    TK_MENU_ANIMATION_SLIDE = 3,
    TK_MENU_ANIMATION_FADE = 4,
    TK_MENU_ANIMATION_NONE = 5,
};

class CTkCommandBarsSettings : public CCmdTarget {
    DECLARE_DYNCREATE(CTkCommandBarsSettings)
public:
    CTkCommandBarsSettings() = default;
    explicit CTkCommandBarsSettings(CTkCommandBars* owner) : m_pCommandBars(owner) {}

    // Stored options (the profile's "%s-Options" section).
    int m_bAlwaysShowFullMenus = 1;
    int m_bShowFullAfterDelay = 1;
    int m_bToolBarScreenTips = 1;
    int m_bToolBarAccelTips = 0;
    int m_bLargeIcons = 0;
    // Display switches that are not stored.
    int m_bSyncFloatingBars = 1;        // floating bars hide and show with their frame
    int m_bShowExpandButtonAlways = 1;  // toolbars offer the expand button
    int m_bDblClickFloat = 0;           // double-clicking a docked toolbar floats it
    int m_bShowTextBelowIcons = 0;      // captions below the icons, for bars that ask
    int m_bAltDragCustomization = 1;    // Alt+drag moves toolbar buttons outside customise mode
    int m_nAnimationType = TK_MENU_ANIMATION_SYSTEM;
    // Icon sizes: toolbars (0 x 0: 16 x 16), large icons (0 x 0: double), popup menus.
    CSize m_szIcons;
    CSize m_szLargeIcons;
    CSize m_szPopupIcons = CSize(16, 16);

    // Commands that popup menus hide until expanded, unless the user used them.
    CMap<UINT, UINT, int, int> m_mapHiddenCommands{17};
    CMap<UINT, UINT, int, int> m_mapUsedCommands{17};
    CTkCommandBars* m_pCommandBars = nullptr;

    // Listed as hidden and not used.
    bool IsCommandHidden(UINT id) const;
    void HideCommand(UINT id) { m_mapHiddenCommands[id] = 1; }
    // Records a use of a hidden command (others are not recorded); true when recorded.
    bool RecordUsed(UINT id);
    void ResetUsageData() { m_mapUsedCommands.RemoveAll(); }
};
