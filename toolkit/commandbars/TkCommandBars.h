// The command-bars manager a frame owns: it creates the frame's menu bar, toolbars and dock bars,
// keeps the ordered list of its bars, holds the shared settings, shows the Toolbars menu, runs
// popup menus modally, switches customise mode and filters the frame's messages so that the
// bars get the keyboard and the mouse. Bars ask it for its painter, icon store and site.
#pragma once

#include "afxwin.h"
#include "commandbars/TkCommandBarsSettings.h"
#include "commandbars/TkRefHolder.h"
#include "controls/TkControl.h"

#include <memory>
#include <vector>

class CTkBarList;
class CTkCommandBar;
class CTkControl;
class CTkControlDragSource;
class CTkDockBar;
class CTkIconStore;
class CTkThemePainter;
class CTkToolBar;
class ITkControlDragSource;

// The customise command: opens the customise sheet.
const UINT TK_ID_CUSTOMIZE = 35001;

// TrackPopupMenu flags.
enum TkTrackPopupFlag : UINT {
    TK_TPM_RIGHTALIGN = 0x8,
    TK_TPM_RIGHTBUTTON = 0x2,
    TK_TPM_NONOTIFY = 0x80,
    TK_TPM_RETURNCMD = 0x100,
};

// The four dock bars, in the manager's order.
enum TkDockSide : int { TK_DOCK_TOP = 0, TK_DOCK_BOTTOM = 1, TK_DOCK_LEFT = 2, TK_DOCK_RIGHT = 3 };

class CTkCommandBars : public CCmdTarget {
    DECLARE_DYNCREATE(CTkCommandBars)
public:
    CTkCommandBars();
    ~CTkCommandBars() override;
    CTkCommandBars(const CTkCommandBars&) = delete;
    CTkCommandBars& operator=(const CTkCommandBars&) = delete;

    // --- Operations a frame's manager may override, declared in the order of their entries in the
    // virtual-function table.
    // Listed as hidden in the settings and not used since.
    virtual bool IsCommandHidden(UINT id) const;
    // The id that selects per-menu control sets: the menu resource id of the frame (the frames
    // of this program are not MDI frames, so 0 there).
    virtual int GetContextId() const;
    // The Toolbars menu at a screen point, run until it closes (nothing in customise mode).
    virtual void ShowToolbarsMenu(int x, int y);
    // A new popup bar of this manager with a check item per listed toolbar and the customise
    // command (one reference; none when no popup bar can be made).
    virtual CTkCommandBar* BuildToolbarsMenu();
    // Copies into the popup the controls of the bar's dock row that did not fit.
    virtual void FillRowOverflowPopup(CTkCommandBar* bar, CTkCommandBar* popup);
    // One item per bar of the row with its add-or-remove-buttons list, then the customise command.
    virtual void FillToolbarOptionsPopup(CTkCommandBar* bar, CTkCommandBar* popup);

    // --- The frame and its bars.
    // Stores the frame; customisation is enabled when the frame handles the customise command.
    void AttachFrame(CWnd* frame);
    // The menu bar, docked at the top, its controls from the menu resource (kept as the
    // original controls when menuId is not 0). None when its window cannot be made.
    CTkToolBar* CreateMenuBar(const char* caption, UINT menuId, CRuntimeClass* runtimeClass = nullptr);
    // A toolbar of the program at a position (0 to 3 docked, 4 floating); none on failure.
    CTkToolBar* AddBar(const char* caption, int position, CRuntimeClass* runtimeClass = nullptr);
    // A toolbar the user makes (customise sheet, torn-off popup): the frame may prepare it
    // (TK_WM_POPUPBAR_CREATE); it floats or docks at the top. None on failure.
    CTkToolBar* AddUserBar(const char* caption, UINT id, bool floating);
    CWnd* GetSite() const { return m_pSite; }
    // The bars in order; none outside 0 .. count-1.
    int GetCount() const { return (int)m_bars.size(); }
    CTkCommandBar* GetBar(int index) const;
    int FindIndex(const CTkCommandBar* bar) const;
    // The bar with that id, none for 0.
    CTkCommandBar* FindBar(UINT id) const;
    CTkCommandBar* GetMenuBar() const { return m_pMenuBar; }
    // Makes a bar of the list the active menu bar (none clears it).
    void SetMenuBar(CTkCommandBar* bar) { m_pMenuBar = FindIndex(bar) >= 0 ? bar : nullptr; }
    CTkDockBar* GetDockBar(int side) const { return side >= 0 && side < 4 ? m_pDockBars[side].get() : nullptr; }
    // --- Docking.
    // Makes the four dock bars of the frame (top, bottom, left, right); a dock bar that cannot
    // be made raises the resource exception.
    void EnableDocking();
    // The dock bar a bar dragged to a screen point falls into: the current one first, then the
    // four in order, each reaching 20 pixels beyond its window; none when no dock bar is near.
    CTkDockBar* FindDockBar(POINT screenPoint, CTkDockBar* current) const;
    // Docks the toolbar in the dock bar at a screen rectangle (none: as a new last row).
    bool DockCommandBar(CTkToolBar* bar, CTkDockBar* dockBar, const RECT* screenRect);
    // Floats the toolbar in its own window (its dock bar lets it go).
    bool FloatCommandBar(CTkToolBar* bar);
    // Appends a bar to the list (the list takes one reference of its own) and sets its manager.
    void AppendBar(CTkCommandBar* bar);
    // Hides the bar, takes it out of its dock row and out of the list (the list's reference is
    // released). A bar that is not in the list is left alone.
    void RemoveBar(CTkCommandBar* bar);
    // Merges the bars read from a stored layout (TkReadBarsArchive) into the bar list. Each
    // loaded toolbar replaces the controls of the bar with its id, unless the program's own
    // controls of that bar changed since the layout was stored: then, unless silent, the user is
    // asked whether to use the program's new controls (string 9394). A loaded toolbar the
    // program does not have (a user's bar) joins the list, docked. What is not merged stays in
    // `loaded` and goes with it. Hosted windows are attached to the merged custom controls.
    void MergeLoadedBars(CTkBarList& loaded, bool silent);
    // Shows or hides the bar at an index; an index that names no bar does nothing.
    void ToggleBarVisible(int index);
    // A user toolbar was hidden (its close button, the Toolbars menu): a running customise sheet
    // shows it unchecked in its toolbars list.
    virtual void OnUserBarHidden(CTkCommandBar* bar);
    // The first control of that type (0 any) and id (-1 any) over the bars in order; hidden bars
    // are skipped when visibleOnly; recursive searches the popups too, each bar once.
    CTkControl* FindControl(int type, int id, bool visibleOnly, bool recursive) const;
    // Lays out every visible bar, then the frame.
    void RecalcAll();
    // Asks the frame to lay out its bars and view again, unless the layout is locked.
    void RecalcFrameLayout();
    bool IsLayoutLocked() const { return m_bLayoutLocked != 0; }

    // --- Customise mode.
    bool IsCustomizationEnabled() const { return m_bCustomizationEnabled != 0; }
    void SetCustomizationEnabled(bool on) { m_bCustomizationEnabled = on ? 1 : 0; }
    bool IsCustomizeMode() const { return m_bCustomizeMode != 0; }
    // Switches customise mode: the selected control is cleared and every bar redrawn and laid out.
    void SetCustomizeMode(bool on);
    // The same switch without redrawing (a drag with Alt held outside customise mode).
    void SetCustomizeModeQuick(bool on);
    bool IsQuickCustomizeMode() const { return m_bQuickCustomizeMode != 0; }
    // The control selected in customise mode (TK_WM_SELECTED_CONTROL_CHANGED tells the customise
    // sheet, else the frame).
    void SetSelectedControl(CTkControl* control);
    CTkControl* GetSelectedControl() const { return m_pSelectedControl; }
    // The customise sheet's window while it is open (WM_CLOSE of the frame is refused then).
    void SetCustomizeSheet(CWnd* sheet) { m_pCustomizeSheet = sheet; }
    CWnd* GetCustomizeSheet() const { return m_pCustomizeSheet; }

    // --- Painter, icons, settings.
    // The manager's own painter, none when its bars use the current painter.
    CTkThemePainter* GetOwnPainter() const { return m_pPainter; }
    // Replace the manager's own painter (a reference is added; the old one released).
    void SetPainter(CTkThemePainter* painter);
    CTkIconStore* GetOwnIconStore() const { return m_pIconStore; }
    void SetIconStore(CTkIconStore* store);
    // The own painter or icon store, else the current painter or the process-wide store.
    CTkThemePainter* GetPaintManager() const;
    CTkIconStore* GetImageManager() const;
    CTkCommandBarsSettings* GetCommandBarsOptions() const { return m_pSettings; }
    void ResetUsageData();
    // A control ran its command: a hidden command is recorded as used and shows from now on.
    void OnCommandExecuted(UINT id);
    // The frame's shortcuts (destroyed with the manager).
    void SetAccelTable(HACCEL accel);
    HACCEL GetAccelTable() const { return m_hAccelTable; }
    // When set, Alt+letter with Shift held is left to the frame.
    void SetShiftGuard(bool on) { m_bShiftGuard = on ? 1 : 0; }
    UINT GetMenuResourceId() const { return m_nMenuResourceId; }
    // The file that holds large customisations; empty for the default name.
    CString m_strSideFile;

    // A new popup bar for a popup control the site supplied none for (one reference).
    virtual CTkCommandBar* CreateDefaultPopupBar();
    // The frame (site) the bars report to; set by AttachFrame.
    CWnd* m_pSite = nullptr;
    // Runs the customise drag of a control (none: controls cannot be dragged); the manager's own
    // drag source unless replaced.
    ITkControlDragSource* m_pControlDragSource = nullptr;
    // The manager's own drag source: its bars are its drop targets while their windows live.
    CTkControlDragSource* GetControlDragSource() const { return m_pDragSource.get(); }

    // Runs a popup bar modally at a screen point (TkTrackPopupFlag bits). 0 when it cannot be
    // opened; else the chosen command with TK_TPM_RETURNCMD (0 for none), or 1.
    int TrackPopupMenu(CTkCommandBar* popup, UINT flags, int x, int y, CWnd* owner = nullptr,
                       const RECT* excludeRect = nullptr);

    // --- The layout and the options in the program's profile (sections in TkBarState.h).
    // Writes where the bars are, whether they show, the dock rows and, with customisation on,
    // the customised bars (into the side file when their archive is large).
    void SaveBarState(const char* profile);
    // Brings back what SaveBarState wrote, rescaled to the screen when its size changed. A
    // profile without a layout changes nothing; a damaged customisation is dropped whole. Unless
    // silent, the user is asked before a customisation of older program buttons is taken.
    void LoadBarState(const char* profile, bool silent = true);
    // The settings' stored options and the used hidden commands.
    void SaveOptions(const char* profile);
    // Takes the stored options (a missing or senseless value keeps the current one) and adds
    // the stored used commands.
    void LoadOptions(const char* profile);
    // The side file of a profile: m_strSideFile when set, else "<program path>-<profile>";
    // empty when the name would be too long.
    CString GetSideFilePath(const char* profile) const;

    // --- The frame's messages.
    // Before translation: Alt+letter for the menu bar, keys of a focused bar edit, swallowed
    // context menus while popups are open, the mouse wheel for the keyboard sinks. True when
    // the message was consumed.
    bool FilterFrameMessage(MSG* msg);
    // From the frame's window procedure; true when handled (result set).
    bool HandleFrameMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // --- Toolkit-wide resource helpers.
    static int MessageBoxFromResource(UINT stringId, UINT type = MB_OK);
    // A menu of the current resource module; the caller destroys it.
    static HMENU LoadMenuFromResource(UINT menuId);

protected:
    // Whether any popup chain is open (the mouse tracker holds bars).
    static bool ArePopupsTracked();
    // Whether the bar has an item in the Toolbars menu.
    static bool IsListedInToolbarsMenu(const CTkCommandBar* bar);
    // The visible bars of the dock row that holds the bar, in their order along the row; the bar
    // alone when it is not docked.
    std::vector<CTkCommandBar*> RowOf(CTkCommandBar* bar) const;
    // A new toolbar of a runtime class (a CTkToolBar by default) owned by this manager, titled,
    // with its bar flags and window at a position; none (and the bar released) on failure.
    CTkRef<CTkToolBar> NewToolBar(CRuntimeClass* runtimeClass, const char* caption, int flags, int position);
    // Creates the window of a toolbar, a child of the frame; false without a frame or window.
    bool CreateToolBarWindow(CTkToolBar* bar);
    // Puts the bar at a position: 0 to 3 docked on that side, 4 floating.
    void PlaceBar(CTkToolBar* bar, int position);
    // Opens the popup at the point and pumps messages until it closes, the program quits or
    // the frame goes; the manager and the popup are held meanwhile. False when it did not open.
    bool RunPopup(CTkCommandBar* popup, int x, int y, int popupFlags, const RECT& excludeRect);
    void DeleteDockBars();
    // The customised bars into "<profile>-Controls" (or the side file), and back.
    void SaveControls(const char* profile);
    void LoadControls(const char* profile, bool silent);

    CTkRef<CCmdTarget> m_pReferencedTarget;
    HACCEL m_hAccelTable = nullptr;
    int m_bShiftGuard = 0;
    CWnd* m_pCustomizeSheet = nullptr;
    CTkRef<CTkThemePainter> m_pPainter;
    CTkRef<CTkIconStore> m_pIconStore;
    CTkRef<CTkControl> m_pSelectedControl;
    int m_bCustomizeMode = 0;
    int m_bCustomizationEnabled = 0;
    UINT m_nMenuResourceId = 0;
    int m_bLayoutLocked = 0;
    int m_bQuickCustomizeMode = 0;
    CTkRef<CTkCommandBarsSettings> m_pSettings;
    std::vector<CTkRef<CTkCommandBar>> m_bars;
    std::unique_ptr<CTkDockBar> m_pDockBars[4];
    CTkCommandBar* m_pMenuBar = nullptr;
    std::unique_ptr<CTkControlDragSource> m_pDragSource;
};

// One item of the Toolbars menu: checked while its bar shows; choosing it shows or hides the bar.
// The item remembers the index of the bar in the manager's list and which bar that was, so an
// item of a menu built before the list changed does nothing.
class CTkToolbarsMenuItem : public CTkControlButton {
    DECLARE_DYNCREATE(CTkToolbarsMenuItem)
public:
    CTkToolbarsMenuItem();
    // Closes the menu, then toggles the bar.
    void Execute() override;
    void Copy(const CTkControl* from, bool recursive) override;

    const CTkCommandBar* m_pBar = nullptr;  // compared only, never used to reach the bar
};
