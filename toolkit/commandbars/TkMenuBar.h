// The toolbar that stands in for a frame's native menu: filled from a menu resource, entered with
// the menu key (Alt or F10), and keeping one customisable control set per menu.
#pragma once

#include "commandbars/TkToolBar.h"

#include <map>

// The command ids of the active MDI child's caption controls on the menu bar, and the timer the
// bar follows the active child with.
enum : int {
    TK_ID_MDI_CLOSE = 9403,
    TK_ID_MDI_RESTORE = 9404,
    TK_ID_MDI_MINIMIZE = 9405,
    TK_ID_MDI_SYSMENU = 9406,
};
enum : UINT_PTR { TK_MDI_CHILD_TIMER = 12223 };

// Menu-bar flags of the MDI support (in the bar's flags word).
enum TkMenuBarFlag : int {
    TK_MENUBAR_NO_MINIMIZE = 0x100,
    TK_MENUBAR_NO_RESTORE = 0x200,
    TK_MENUBAR_IGNORE_MDISETMENU = 0x400,
    TK_MENUBAR_NO_CLOSE = 0x1000,
    TK_MENUBAR_SYSMENU = 0x2000,
};

// A caption button of the active MDI child (minimise, restore, close): a Marlett glyph in a
// 16 x 16 button; executing it sends the system command to the child.
class CTkControlMdiButton : public CTkControlButton {
    DECLARE_DYNCREATE(CTkControlMdiButton)
public:
    CSize GetSize(CDC* dc) override;
    void Draw(CDC* dc) override;
    void Execute() override;
    // The system command the button sends: close, restore, else minimise.
    UINT GetSysCommand() const;
};

// The active MDI child's system menu: its small icon, and a popup of the menu's items.
class CTkControlMdiSysMenu : public CTkControlPopup {
    DECLARE_DYNCREATE(CTkControlMdiSysMenu)
public:
    ~CTkControlMdiSysMenu() override;
    CSize GetSize(CDC* dc) override;
    void Draw(CDC* dc) override;
    // Takes the child's icon and fills the popup from the child's system menu.
    void Fill(HWND child, HMENU systemMenu);
    HMENU GetSystemMenu() const { return m_hSystemMenu; }
    HICON GetChildIcon() const { return m_hIcon; }

private:
    HMENU m_hSystemMenu = nullptr;
    HICON m_hIcon = nullptr;  // our own 16 x 16 copy
};

class CTkMenuBar : public CTkToolBar {
    DECLARE_SERIAL(CTkMenuBar)
public:
    CTkMenuBar();
    ~CTkMenuBar() override;
    // The toolbar record, the menu resource id and the control sets per menu (TkBarArchive.h).
    void Serialize(CArchive& ar) override;

    // Fills the bar from a menu resource (0 keeps the controls), takes the frame's menu key and
    // the frame's native menu (which the bar owns from then on). 0 when the menu cannot be loaded.
    int LoadMenu(UINT menuId);
    // Shows the control set of another menu: the current set is stored under the current key
    // (with customisation), the new key's stored set comes back or one is built from the menu.
    void SwitchMenu(HMENU menu);
    // Before the bar is stored: back to the frame's own menu, and the sets nobody changed dropped.
    void PrepareForSave();
    // Reloads the current menu (after asking) when the bar keeps sets per menu or has no
    // originals; otherwise the toolbar's reset.
    void ResetToOriginal() override;
    void Copy(const CTkCommandBar* from, bool recursive) override;

    // Follows the MDI client's active child: moves the child sink to it and refreshes the
    // caption controls (what timer 12223 runs).
    void OnActiveChildTimer();
    // Shows the caption controls of a maximised active child, removes them otherwise.
    void RefreshCaptionButtons();
    HWND GetActiveChild() const { return m_hwndActiveChild; }
    HWND GetMdiClient() const { return m_hwndMdiClient; }

    // The stored control set of a menu key, none when there is none.
    CTkControls* GetMenuSet(int key) const;
    // Stores a set under a key, taking the caller's reference; a set stored there before is released.
    void SetMenuSet(int key, CTkControls* controls);
    int GetMenuSetCount() const { return (int)m_menuSets.size(); }
    // Takes over the sets of another menu bar (a loaded one): each replaces the set of its key.
    void TakeMenuSets(CTkMenuBar* from);
    // The frame's own menu, taken from it when the bar was loaded.
    HMENU GetNativeMenu() const { return m_hNativeMenu; }
    // The frame whose menu key the bar takes.
    HWND GetFrameWindow() const { return m_hwndFrame; }

    int m_bMdiFrame = 0;
    HWND m_hwndActiveChild = nullptr;
    UINT m_nMenuResourceId = 0;
    int m_nCurrentKey = 0;
    int m_bSwitchedToDefault = 0;

protected:
    // The frame's WM_SYSCOMMAND with SC_KEYMENU (the menu key alone) starts keyboard tracking;
    // the MDI client's messages and the active child's moves make the bar follow the child.
    class CFrameSink : public ITkHookSink {
    public:
        explicit CFrameSink(CTkMenuBar* bar) : m_pBar(bar) {}
        int OnHookMessage(HWND hwnd, UINT message, WPARAM* wParam, LPARAM* lParam, LRESULT* result) override;

    private:
        CTkMenuBar* m_pBar;
    };
    // Replaces the controls with a new collection built from a menu, kept as its own originals.
    void BuildControls(HMENU menu);
    void ReleaseMenuSets();
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // WM_MDISETMENU of the MDI client: the bar shows the new menu; the frame keeps no native menu.
    void OnMdiSetMenu(HMENU menu);
    void PostActiveChildTimer();
    // Takes the caption controls off the current set; true when there were any.
    bool RemoveCaptionControls();

    CFrameSink m_frameSink{this};
    HWND m_hwndFrame = nullptr;
    HWND m_hwndMdiClient = nullptr;
    HMENU m_hNativeMenu = nullptr;
    std::map<int, CTkRef<CTkControls>> m_menuSets;
};
