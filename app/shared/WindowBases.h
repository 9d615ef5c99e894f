// Bases of the program's windows: the top-level frame, the dialog with its icon and the form
// view that stretches its controls.
#pragma once

#include "afxcmn.h"
#include "commandbars/TkThemedStatusBar.h"

class CTkCommandBars;
class CTkControl;
class CTkToolBar;

// The base of every top-level frame. One resource id (asked by kind) names the frame's title
// string, icon, menu and toolbar. The frame registers with the application when made and
// leaves its frame set when destroyed. It carries the toolkit's menu bar, one toolbar and a
// themed status bar; the bars' layout is kept per kind of window (per title) in the profile.
class CFrameBase : public CFrameWnd {
    DECLARE_DYNAMIC(CFrameBase)
public:
    enum BarResourceKind { kTitle = 0, kIcon = 1, kMenu = 2, kToolbar = 3 };

    ~CFrameBase() override;

    // Creates the window (500 x 400, centred on the screen, no parent) and its client view,
    // shows it and registers it with the application. On failure the object stays alive and
    // belongs to the caller.
    virtual bool Create(CWnd* parent);
    virtual bool CreateClientView() = 0;
    virtual UINT GetBarResourceId(int kind) = 0;
    // Asked before the frame is closed: by the user (the close box, File > Close) and by the
    // application at exit or sign-out.
    virtual bool CanClose() { return true; }
    // The status bar along the bottom (none when it could not be made).
    CStatusBar* GetStatusBar() { return m_statusBar.GetSafeHwnd() ? &m_statusBar : nullptr; }
    // The command-bars manager, the menu bar and the toolbar; none when they could not be made.
    CTkCommandBars* GetCommandBars() const { return m_pCommandBars; }
    CTkToolBar* GetMenuBar() const { return m_pMenuBar; }
    CTkToolBar* GetToolBar() const { return m_pToolBar; }
    // Where the bars' layout is kept: "CommandBars\<title>" below the program's profile; empty
    // when the window's bars could not all be made.
    const CString& GetProfileKey() const { return m_strProfileKey; }
    // The first control of a command on any of the frame's bars, wherever the user put it
    // (popups searched too); none without bars or such a control.
    CTkControl* FindBarControl(UINT id, bool visibleOnly = false) const;

    bool PreTranslateMessage(MSG* msg) override;
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    void PostNcDestroy() override;
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    afx_msg void OnFileClose();
    // 35001: the customise sheet for the frame's bars.
    afx_msg void OnCustomize();
    // 59392 and 59393: shows or hides the toolbar and the status bar.
    afx_msg void OnBarCheck(UINT id);
    afx_msg void OnUpdateBarCheck(CCmdUI* cmdUI);
    // Selects a theme when none is yet, makes the manager, attaches it to the frame and makes
    // its dock bars. False when the manager cannot be made.
    virtual bool InitCommandBars();
    // Restores the bars' layout and options kept under the profile key.
    virtual void LoadCommandBars(const CString& profileKey);
    // Makes the view the frame's client pane (first-pane id, without the client edge) and its
    // active view; a view that cannot be created is deleted and false is returned.
    bool CreateFormClientView(CFormView* view);
    // Destroys the window when CanClose agrees; not asked again while the application closes
    // all frames (it has asked already).
    void CloseIfAllowed();

    bool m_bAutoDelete = true;
    // Two text panes: the first takes the width the second leaves.
    CTkThemedStatusBar m_statusBar;
    CTkCommandBars* m_pCommandBars = nullptr;
    CTkToolBar* m_pMenuBar = nullptr;
    CTkToolBar* m_pToolBar = nullptr;
    // Set when the stored layout was read, and only then written back: a window whose bars
    // failed leaves the user's stored layout and customisations alone.
    CString m_strProfileKey;
    DECLARE_MESSAGE_MAP()
};

// Gives the window the icon (from the satellite library) as its large and its small icon.
void SetWindowIcon(CWnd& window, UINT iconId);

// A dialog that sets its icon (from the satellite library) on itself.
class CDialogBase : public CDialog {
public:
    CDialogBase(UINT templateId, CWnd* parent, UINT iconId) : CDialog(templateId, parent), m_iconId(iconId) {}
    bool OnInitDialog() override;

protected:
    UINT m_iconId;
};

// A form view whose size handlers stretch controls to the client size.
class CFormViewBase : public CFormView {
public:
    explicit CFormViewBase(UINT templateId) : CFormView(templateId) {}
    // Right edge to right - 4 (right not 0) and bottom edge to bottom - 6 (bottom not 0),
    // keeping the top-left corner.
    void StretchControl(UINT controlId, int right, int bottom);
};
