// The customise sheet: a property sheet over a frame whose command bars the user changes while
// the frame stays visible. While it runs the manager is in customise mode and the thread's
// mouse and keyboard hooks keep the rest of the frame from reacting.
#pragma once

#include "afxdlgs.h"

#include <commctrl.h>
#include <memory>

class CTkCommandBar;
class CTkCommandBars;
class CTkControl;
class CTkCustomizeCommandsPage;
class CTkCustomizeToolbarsPage;

// The manager's settings the settings page shows and changes.
enum TkCustomizeOption : int {
    TK_OPTION_ALWAYS_SHOW_FULL_MENUS = 0,
    TK_OPTION_SHOW_FULL_AFTER_DELAY = 1,
    TK_OPTION_LARGE_ICONS = 2,
    TK_OPTION_TOOLBAR_SCREEN_TIPS = 3,
    TK_OPTION_TOOLBAR_ACCEL_TIPS = 4,
    TK_OPTION_ANIMATION = 5,  // 0 system, 1 random, 2 unfold, 3 slide, 4 fade, 5 none
};

// What the customise sheet asks of the command-bars manager whose bars it customises.
class ITkCustomizeBars {
public:
    // The manager itself: its painter draws the sheet's lists and it owns the command categories.
    virtual CTkCommandBars* GetCommandBars() = 0;
    // The frame window whose bars these are; the sheet's owner.
    virtual CWnd* GetFrame() = 0;
    // The bars in the manager's order.
    virtual int GetBarCount() const = 0;
    virtual CTkCommandBar* GetBar(int index) const = 0;
    virtual void SetCustomizeMode(bool on) = 0;
    virtual bool IsCustomizeMode() const = 0;
    // The sheet window while a sheet runs, none after (the customise context holds it).
    virtual void SetCustomizeSheet(CWnd* sheet) = 0;
    // Built-in bars were made by the program; the others by the user.
    virtual bool IsBuiltInBar(const CTkCommandBar* bar) const = 0;
    // Whether the user may hide the bar (a normal bar listed in the toolbars menu).
    virtual bool CanHideBar(const CTkCommandBar* bar) const = 0;
    virtual bool IsBarVisible(const CTkCommandBar* bar) const = 0;
    virtual void SetBarVisible(CTkCommandBar* bar, bool visible) = 0;
    // Gives a built-in bar its original controls back (asking the user first).
    virtual void ResetBar(CTkCommandBar* bar) = 0;
    // A new user toolbar docked at the top; none when it cannot be made.
    virtual CTkCommandBar* AddUserBar(const CString& caption, UINT id) = 0;
    virtual void RemoveBar(CTkCommandBar* bar) = 0;
    virtual int GetOption(TkCustomizeOption option) const = 0;
    virtual void SetOption(TkCustomizeOption option, int value) = 0;
    // Forgets which commands the user has used.
    virtual void ResetUsageData() = 0;
    // Lays the frame and its bars out again.
    virtual void RecalcLayout() = 0;

protected:
    ~ITkCustomizeBars() = default;
};

// What the hook filters know of the running sheet and the moment of the message.
struct CTkCustomizeFilterState {
    HWND frame = nullptr;
    HWND sheet = nullptr;
    HWND foreground = nullptr;
    HWND focus = nullptr;
    HWND capture = nullptr;
    const CTkCommandBars* manager = nullptr;
};

class CTkCustomizeSheet : public CPropertySheet {
    DECLARE_DYNAMIC(CTkCustomizeSheet)
public:
    // The toolbars page, then the commands page; firstPage is the page shown first.
    explicit CTkCustomizeSheet(ITkCustomizeBars* bars, int firstPage = 0);
    ~CTkCustomizeSheet() override;

    // Runs the sheet with the manager in customise mode: IDCANCEL at once when a sheet already
    // runs, -1 when the sheet cannot be made (with everything set up for it undone).
    INT_PTR DoModal() override;
    // The sheet that runs now, none when none does.
    static CTkCustomizeSheet* GetRunning();

    ITkCustomizeBars* GetBars() const { return m_pBars; }
    CWnd* GetFrame() const { return m_pFrame; }
    CTkCustomizeToolbarsPage* GetToolbarsPage() const { return m_pToolbarsPage.get(); }
    CTkCustomizeCommandsPage* GetCommandsPage() const { return m_pCommandsPage.get(); }
    // The pictures offered for buttons (none when the bitmap is missing).
    HIMAGELIST GetImageList() const { return m_hImages; }

    bool OnInitDialog() override;
    bool PreTranslateMessage(MSG* msg) override;
    // The index of the first tab whose caption's mnemonic is the key, -1 for none.
    int FindTabForKey(UINT virtualKey) const;
    // The upper-cased character after the last real "&" of a caption; 0 when it has none.
    static char MnemonicOf(const CString& caption);

    // The hooks' rules: true lets the message through.
    static bool MousePasses(const CTkCustomizeFilterState& state, UINT message, HWND target, POINT point);
    static bool KeyPasses(const CTkCustomizeFilterState& state);
    // The hook procedures (the running sheet's filters; negative codes go on untouched).
    static LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam);
    CTkCustomizeFilterState GetFilterState() const;

    // --- The context menu of the manager's selected control (menu 9336).
    // Shows it at a screen point and runs it until it closes.
    void ShowContextMenu(POINT screen);
    // The control the menu gets for one of its items (TK_WM_CONTROL_CREATE, lParam a CTkControlRequest): the
    // name field, the palette of pictures, or a button that reports here; 1 when one was made.
    LRESULT OnCreateMenuControl(WPARAM, LPARAM lParam);
    // The name field and the palette's buttons report here (TK_WM_EXECUTE, lParam a CTkExecuteRecord):
    // the selected control takes the name or the picture; 1 when handled.
    LRESULT OnExecuteMenuControl(WPARAM id, LPARAM lParam);
    // The menu's commands (9315 to 9326) and their states, on the selected control.
    bool OnCmdMsg(UINT id, int code, void* extra) override;
    void OnCustomizeCommand(UINT id);
    void OnUpdateCustomizeCommand(CCmdUI* ui);
    // The control the menu works on: the manager's selected control, none without one.
    CTkControl* GetSelectedControl() const;

protected:
    // Makes the sheet window (modeless, hidden until the loop's first idle time).
    virtual bool CreateSheetWindow();
    // Undoes what DoModal set up, in order, for the steps that were done.
    void EndCustomizing(bool hooked);

    ITkCustomizeBars* m_pBars;
    CWnd* m_pFrame;
    std::unique_ptr<CTkCustomizeToolbarsPage> m_pToolbarsPage;
    std::unique_ptr<CTkCustomizeCommandsPage> m_pCommandsPage;
    HIMAGELIST m_hImages = nullptr;
    DECLARE_MESSAGE_MAP()
};
