// The command bar that docks on a side of its frame or floats in a small window of its own, is
// loaded from a toolbar resource, can be reset to its first buttons and lists the buttons that
// did not fit behind its expand button. Also the two buttons a toolbar makes for itself: the
// close button of a floating toolbar and the items that show or hide one of its buttons.
#pragma once

#include "commandbars/TkCommandBar.h"
#include "images/TkIconStore.h"
#include "res/TkResource.h"

#include <memory>
#include <vector>

class CTkDockBar;
class CTkBarDragTracker;

class CTkToolBar : public CTkCommandBar {
    DECLARE_SERIAL(CTkToolBar)
public:
    CTkToolBar();
    ~CTkToolBar() override;
    // The bar record, then the built-in, torn-off and Toolbars-menu switches (TkBarArchive.h).
    void Serialize(CArchive& ar) override;

    // --- Overrides of the bar.
    // The bar id becomes the resource id; the buttons come from the resource (and the pictures
    // from its bitmap when asked); the loaded buttons are kept as the original ones.
    int LoadToolBar(UINT resourceId, bool loadImages) override;
    void SetVisible(bool show) override;
    bool IsVisible() const override { return m_bVisible != 0; }
    // 0 to 3 dock the bar at that side, 4 floats it: through the manager; 7 takes it out of its
    // dock row.
    int SetPosition(int position) override;
    void OnRecalcLayout() override;
    // Without a drag tracker (a toolbar in a dialog) Tab moves between the parent's items.
    int OnHookKeyDown(UINT key) override;
    // The floating layout: a caption strip with the close and expand buttons, 3-pixel borders.
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    void Copy(const CTkCommandBar* from, bool recursive) override;

    // --- Operations the toolbar adds, declared in the order of their entries in the virtual-function table.
    // The docked layout (the dock bar asks for each row; WM_SIZEPARENT without a dock bar).
    virtual CSize CalcDockingLayout(int length, DWORD mode, int minimum);
    // Asks the user, then brings back the original buttons (or reloads them from the resource).
    virtual void ResetToOriginal();
    // Makes the window a floating popup of the frame, or a child again; false when it cannot be made.
    virtual bool SetFloatingMode(CWnd* frame, bool floating);

    // Creates the window, a child of the frame, with the toolbar style bits of style.
    bool Create(DWORD style, CWnd* parentFrame, UINT id);
    // Makes the bar dockable (creates its drag tracker) with the sides and float permission.
    void EnableDocking(int flags);
    // Replaces the controls by buttons for the ids; 0 makes the next button begin a group.
    void SetButtons(const UINT* ids, int count);
    // Fills the add-or-remove-buttons list of the expand button's options with toggle items.
    void AddHiddenControls(CTkCommandBar* popupBar);
    // Whether a control went behind the expand button.
    bool HasHiddenControls() const { return HasWrappedControls(); }

    CTkDockBar* GetDockBar() const { return m_pDockBar; }
    CTkBarDragTracker* GetDragTracker() const { return m_pDragTracker.get(); }
    bool IsFloating() const { return m_nPosition == TK_BAR_POSITION_FLOATING; }
    // The expand-button switch of the manager's settings (on without a manager).
    bool IsExpandButtonOn() const;

    CTkDockBar* m_pDockBar = nullptr;           // none when floating or not docked
    std::unique_ptr<CTkBarDragTracker> m_pDragTracker;  // none when the bar is not dockable
    int m_bResettable = 1;
    int m_bUserToolbar = 0;       // made by the user in customise mode
    int m_bTearOff = 0;           // made floating from a torn-off popup
    int m_bInToolbarsMenu = 1;    // listed in the Toolbars menu

    // The window class of toolbars (double clicks, arrow cursor).
    static const char* WindowClass();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnNcHitTest(POINT screen);
    LRESULT OnFloatStatus(WPARAM flags);
    void OnSizeParent(AFX_SIZEPARENTPARAMS* layout);
    // The mode a docked layout uses for this bar's flags.
    DWORD DockedMode() const;
    // The button with this id (found, else made temporary), hidden while the bar measures.
    CTkControl* TemporaryButton(int type, UINT id);
    // The manager lays the frame out again, else the site frame itself.
    void RecalcFrameLayout();
    // The floating caption's height from the painter.
    int CaptionHeight(CDC* dc);
};

// The close button of a floating toolbar: hides the bar instead of running a command.
class CTkControlClose : public CTkControlButton {
    DECLARE_DYNCREATE(CTkControlClose)
public:
    CTkControlClose() { m_nFlags = 0x1A; }
    void SetBeginGroup(bool) override {}
    CSize GetSize(CDC* dc) override;
    void Draw(CDC* dc) override;
    void Execute() override;
};

// One item of the add-or-remove-buttons list: shows or hides a button of a toolbar, or (with a
// toolbar as target) resets that toolbar.
class CTkControlToggle : public CTkControlButton {
    DECLARE_DYNCREATE(CTkControlToggle)
public:
    CTkControlToggle() = default;
    ~CTkControlToggle() override;
    CSize GetSize(CDC* dc) override;
    void Draw(CDC* dc) override;
    void Execute() override;
    void Copy(const CTkControl* from, bool recursive) override;

    // A reference is held on the target control; the toolbar is the control's bar or the reset target.
    void SetTargetControl(CTkControl* control);
    void SetTargetToolBar(CTkToolBar* bar) { m_pTargetBar = bar; }
    CTkControl* GetTargetControl() const { return m_pTargetControl; }
    CTkToolBar* GetTargetToolBar() const { return m_pTargetBar; }

private:
    CTkRef<CTkControl> m_pTargetControl;
    CTkToolBar* m_pTargetBar = nullptr;
};
