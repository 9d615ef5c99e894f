// The window every command bar derives from, with the data its controls and the painters read.
// Tracking, navigation, command updates and tooltips are added to this class by the bars'
// behaviour; the painters depend only on the data declared here.
#pragma once

#include "afxwin.h"
#include "commandbars/TkHooks.h"
#include "commandbars/TkRefHolder.h"
#include "controls/TkControls.h"

class CTkCommandBars;
class CTkControlDragSource;
class CTkIconStore;
class CTkThemePainter;

// Where a bar sits. Left, right and popup bars are vertical.
enum TkBarPosition : int {
    TK_BAR_POSITION_TOP = 0,
    TK_BAR_POSITION_BOTTOM = 1,
    TK_BAR_POSITION_LEFT = 2,
    TK_BAR_POSITION_RIGHT = 3,
    TK_BAR_POSITION_FLOATING = 4,
    TK_BAR_POSITION_POPUP = 5,
    TK_BAR_POSITION_LIST = 6,
    TK_BAR_POSITION_NONE = 7,
};

enum TkBarType : int {
    TK_BAR_TYPE_MENUBAR = 0,
    TK_BAR_TYPE_TOOLBAR = 1,
    TK_BAR_TYPE_POPUP = 2,
};

// Bar flags: where the bar may dock, whether it floats, hides what does not fit, stretches.
enum TkBarFlag : int {
    TK_BAR_FLAG_DOCK_TOP = 0x1,
    TK_BAR_FLAG_DOCK_BOTTOM = 0x2,
    TK_BAR_FLAG_DOCK_LEFT = 0x4,
    TK_BAR_FLAG_DOCK_RIGHT = 0x8,
    TK_BAR_FLAG_FLOAT = 0x10,
    TK_BAR_FLAG_HIDE_WRAP = 0x20,
    TK_BAR_FLAG_STRETCH = 0x40,
};

// Bar style bits.
enum TkBarStyle : int {
    TK_BAR_STYLE_TOOLTIPS = 0x10,
    TK_BAR_STYLE_GRIPPER = 0x400000,
};

// Pending updates of a bar.
enum TkBarPending : int {
    TK_BAR_PENDING_LAYOUT = 0x1,
    TK_BAR_PENDING_REDRAW = 0x2,
};

// What a bar is doing with the keyboard and mouse.
enum TkTrackingMode : int {
    TK_TRACKING_NONE = 0,    // idle
    TK_TRACKING_ACTIVE = 1,  // tracking, no popup open
    TK_TRACKING_POPUP = 2,   // tracking with a popup open
};

// The moves of keyboard navigation while a bar tracks.
enum TkNavigation : int {
    TK_NAVIGATE_NEXT = 0,
    TK_NAVIGATE_PREVIOUS = 1,
    TK_NAVIGATE_CLOSE = 2,    // closes the open popup
    TK_NAVIGATE_OPEN = 3,     // opens the hot control's popup
    TK_NAVIGATE_ESCAPE = 4,   // leaves this bar for its parent
    TK_NAVIGATE_EXECUTE = 5,  // clicks the hot control
    TK_NAVIGATE_FIRST = 6,
    TK_NAVIGATE_LAST = 7,
};

// Messages the bars and controls send to the site window that owns the bars.
enum TkSiteMessage : UINT {
    TK_WM_EXECUTE = 0x052D,        // wParam the command id, lParam a CTkExecuteRecord
    TK_WM_CONTROL_CREATE = 0x052F, // lParam a CTkControlRequest: a menu item becomes a control
    TK_WM_POPUPBAR_CREATE = 0x0530,// lParam a CTkPopupBarRequest: the child bar of a popup control
    TK_WM_CONTROL_SELECTED = 0x0531,
    TK_WM_SELECTED_CONTROL_CHANGED = 0x0532,  // wParam the control selected in customise mode, or 0
    // lParam a popup bar (or a combo box's list) about to lay itself out and open; the site may prepare it.
    TK_WM_POPUP_PREPARE = 0x0533,
    TK_WM_MENUBAR_TRACKING = 0x0534,
};

// The notification code of CTkExecuteRecord when a control executes its command.
const UINT TK_CONTROL_EXECUTED = 100;

// What TK_WM_EXECUTE carries: the header of a notification and the control that executed.
struct CTkExecuteRecord {
    NMHDR header;
    CTkControl* pControl;
};

// What TK_WM_CONTROL_CREATE asks: the site may return a control, or change the id, type and caption.
struct CTkControlRequest {
    int nId;
    CTkCommandBar* pBar;
    int nType;
    CString strCaption;
    CTkControl* pControl;
    HMENU hMenu;
    int nPosition;
};

// The kinds of popup bar a CTkPopupBarRequest asks for; every request asks for the standard one.
enum TkPopupBarRequestKind : int {
    TK_POPUPBAR_REQUEST_STANDARD = 1,
};

// What TK_WM_POPUPBAR_CREATE carries, by pointer in lParam: the site may supply the child popup
// bar of a popup control (pBar none), or prepare a new user toolbar (pBar the toolbar, bFloating
// set when it floats).
struct CTkPopupBarRequest {
    CTkCommandBar* pBar = nullptr;
    int nKind = TK_POPUPBAR_REQUEST_STANDARD;
    int bFloating = 0;
    const char* pszCaption = nullptr;
    int nId = 0;
};

inline bool TkIsVerticalPosition(int position) {
    return position == TK_BAR_POSITION_LEFT || position == TK_BAR_POSITION_RIGHT || position == TK_BAR_POSITION_POPUP;
}
inline bool TkIsDockedPosition(int position) {
    return position >= TK_BAR_POSITION_TOP && position <= TK_BAR_POSITION_RIGHT;
}

class CTkCommandBar : public CWnd, public ITkTrackedBar {
    DECLARE_SERIAL(CTkCommandBar)
public:
    CTkCommandBar();
    ~CTkCommandBar() override;
    // The bar record of the bar archive and the bar's controls (TkBarArchive.h). Reading makes
    // the archive's context object the bar's manager.
    void Serialize(CArchive& ar) override;

    // What the thread's mouse tracker asks of a bar whose popups are open.
    HWND GetTrackedWindow() const override { return m_hWnd; }
    void LeaveTracking() override { SetTrackingMode(TK_TRACKING_NONE, true, false); }
    bool IsCustomizing() const override { return IsCustomizeMode(); }
    void ClearHotItem() override { SetSelected(-1, false); }

    CTkControls* GetControls() const { return m_pControls; }
    CTkControl* GetControl(int index) const { return m_pControls->GetControl(index); }
    bool IsVertical() const { return TkIsVerticalPosition(m_nPosition); }
    bool IsRightToLeft() const;

    // The bar that opened this one (popup bars); none for a root bar.
    virtual CTkCommandBar* GetParentBar() const { return nullptr; }
    CTkCommandBar* GetRootBar() const;
    // The manager's site window; without a manager the root bar's owner, else its parent,
    // else the application's main window.
    CWnd* GetSite() const;
    // The root bar's command-target window, else the site.
    CWnd* GetCommandTarget() const;
    // Marks the bar for a new layout or a redraw.
    virtual void DelayRedraw() { m_nPendingUpdate |= TK_BAR_PENDING_REDRAW; }
    void DelayLayout() { m_nPendingUpdate |= TK_BAR_PENDING_LAYOUT; }
    // No hot and no open control, and a new layout pending; returns -1.
    virtual int ResetTracking();
    // Takes the type, position, ids, flags, texts and sizes of another bar and a copy of its controls.
    virtual void Copy(const CTkCommandBar* from, bool recursive);
    // A new bar of the same class holding a copy of this one.
    virtual CTkCommandBar* Clone(bool recursive) const;
    // Adds a control for every item of a menu; a separator makes the next one begin a group.
    void BuildFromMenu(HMENU menu, bool removeAll);

    // --- Tracking, selection and keyboard navigation.
    // Sets a TkTrackingMode; 1 when the mode changed.
    virtual int SetTrackingMode(int mode, bool selectFirst, bool byKeyboard);
    // Makes a control hot (-1 none); 1 when it changed. An index that names no control changes nothing.
    virtual int SetSelected(int index, bool byKeyboard);
    // Shows the bar as the popup of a control (popup bars); the base shows nothing.
    virtual int Popup(CTkControl* control, bool byKeyboard);
    // Opens the bar as a context menu at a screen point, clear of a rectangle (popup bars);
    // the base opens nothing and returns 0.
    virtual int PopupAt(int x, int y, int flags, const RECT& excludeRect) {
        (void)x, (void)y, (void)flags, (void)excludeRect;
        return 0;
    }
    // Shows or hides a toolbar; the base does nothing and counts as hidden.
    virtual void SetVisible(bool) {}
    virtual bool IsVisible() const { return false; }
    // Docks (0 to 3) or floats (4) a toolbar; 1 on success, the base 0.
    virtual int SetPosition(int) { return 0; }
    virtual bool IsCustomizable() const { return m_bCustomizable != 0; }
    // Opens the popup of the control at an index (-1 closes the open one); 1 when it changed.
    int SetPopuped(int index, bool byKeyboard);
    // Keyboard navigation while tracking; non-zero when the key was handled.
    virtual int OnHookKeyDown(UINT virtualKey);
    // One TkNavigation move; non-zero when it applied.
    virtual int OnNavigate(int code);
    // The control whose caption has the character as mnemonic (or first letter), -1 for none.
    int FindMnemonic(char character, bool* ambiguous) const;
    // Paints the background, the gripper, separators and the visible controls.
    virtual void DrawCommandBar(CDC* dc);
    // Feeds the controls their command states from the bar's and the command target's handlers.
    virtual void UpdateCommandUI(bool disableIfNoHandler);
    // Hides the controls that the manager's current context leaves out (hide bit 0x40) and shows
    // the others; true when any control changed.
    bool ApplyContextVisibility();
    // Context help: what the item at a client point is, as the help system numbers it (a
    // control's id + 0x10000, else the bar's child id + 0x50000, else 0).
    LRESULT HelpHitTest(POINT point) const;
    // True while the site frame runs context help (clicks ask what an item is).
    bool IsSiteInHelpMode() const;
    // Lays the controls out again (the toolbar's and popup bar's own layouts).
    virtual void OnRecalcLayout() {}
    // Builds the controls from a toolbar resource (toolbars); 1 on success, the base 0.
    virtual int LoadToolBar(UINT resourceId, bool loadImages) { (void)resourceId, (void)loadImages; return 0; }
    // The size of the bar laid out at a length in a layout mode (floating toolbars, popup bars).
    virtual CSize CalcDynamicLayout(int length, DWORD mode) { (void)length, (void)mode; return CSize(0, 0); }
    // Invalidates this bar and every bar up the parent chain.
    void InvalidateChain();
    // The tooltip of the visible control under a point: its tooltip text (with the command's
    // shortcut when the settings ask for it) over its rectangle; the control id, -1 for none.
    INT_PTR OnToolHitTest(POINT point, TOOLINFOW* info) const override;

    // --- Customise mode: a control dragged over the bar (points in client coordinates).
    // Where a control dropped at a point goes: before or after the control at the index (-1:
    // none, at the start), and the mark shown there (empty over the dragged control itself).
    struct CDropPlace {
        int index = -1;
        bool after = true;
        CRect mark;
        bool vertical = false;
    };
    CDropPlace CalcDropPlace(const CTkControl* dragged, POINT point) const;
    // The drag enters the bar: the mark is cleared, then as a drag over. True when the bar takes it.
    virtual bool OnCustomizeDragEnter(CTkControl* dragged, POINT point);
    // Only a visible, customisable bar takes a control that agrees; the mark follows the point
    // and the control under it hears of the drag (a popup control opens its popup).
    virtual bool OnCustomizeDragOver(CTkControl* dragged, POINT point);
    virtual void OnCustomizeDragLeave();
    // The control dropped at a point (start: where the drag began) with the drag's result: a
    // copy goes in at the mark and becomes the selected control. Dropped onto itself after
    // moving more than 4 pixels, it begins a group when dropped on its far half, and the result
    // becomes 5 (nothing moves).
    virtual int OnCustomizeDrop(CTkControl* dragged, int result, POINT drop, POINT start);
    // Shows the mark (inverted pixels), or none for an empty rectangle.
    void SetDropMark(const CRect& mark, bool vertical);
    void DrawDropMark(CDC* dc) const;
    // The drag source the bar is a drop target of while its window lives (none otherwise), and
    // its neighbours in that source's targets.
    CTkControlDragSource* m_pDropSource = nullptr;
    CTkCommandBar* m_pPrevDropTarget = nullptr;
    CTkCommandBar* m_pNextDropTarget = nullptr;

    static const UINT_PTR kHoverTimer = 112223;
    static const UINT_PTR kShowFullTimer = 112224;
    // The manager of the first bar up the parent chain that has one, or none.
    CTkCommandBars* GetManager() const;
    // Own painter, else the manager's, else the root bar's own, else the current painter.
    CTkThemePainter* GetPainter() const;
    // Own store, else the manager's, else the root bar's own, else the process-wide store.
    CTkIconStore* GetIconStore() const;
    // Replace the bar's own painter or store (a reference is added; the old one released).
    void SetPainter(CTkThemePainter* painter);
    void SetIconStore(CTkIconStore* store);

    // The bar's own sizes when set, else derived: 16 x 16 icons, buttons 7 larger.
    CSize GetIconSize() const;
    CSize GetButtonSize() const;
    // Whether captions go below the icons (mode 2 asks the manager's settings).
    bool IsTextBelowIcons() const;
    // Whether a control of this bar went behind the expand button.
    bool HasWrappedControls() const;
    // The control that opened this bar, for popup bars.
    virtual CTkControl* GetOwnerControl() const { return nullptr; }
    // Whether a control is shown as a rarely used one (popup bars that expanded).
    virtual bool IsRarelyUsed(const CTkControl*) const { return false; }

    int m_nMRUWidth = 32767;
    int m_nHotIndex = -1;
    int m_nPopupIndex = -1;
    HWND m_hwndSavedFocus = nullptr;
    UINT m_nBarId = 0;
    int m_bVisible = 1;
    int m_nTrackingMode = TK_TRACKING_NONE;
    CWnd* m_pOwnerWnd = nullptr;
    int m_nPendingUpdate = 0;
    int m_dwFlags = 0;
    int m_dwStyle = 0;
    CString m_strTitle;
    int m_nBarType = TK_BAR_TYPE_TOOLBAR;
    CTkRef<CTkControls> m_pControls;
    int m_nPosition = TK_BAR_POSITION_NONE;
    CTkCommandBars* m_pManager = nullptr;
    HWND m_hwndCommandTarget = nullptr;
    CSize m_szIcon;
    CSize m_szButton;
    int m_nTextBelowIcons = 2;
    int m_bRightButtonAsLeft = 0;
    int m_bNoCommandUpdate = 0;
    int m_bCloseButton = 0;
    int m_bCustomizable = 1;
    CRect m_rcDropMark;
    int m_bDropMarkVertical = 0;
    int m_bMouseDownPending = 0;
    int* m_pReturnCommand = nullptr;
    int m_bStartedByMouse = 0;

protected:
    // Gives the keyboard hook's key presses to the bar while it tracks.
    class CKeyboardSink : public ITkHookSink {
    public:
        explicit CKeyboardSink(CTkCommandBar* bar) : m_pBar(bar) {}
        int OnHookMessage(HWND, UINT message, WPARAM* wParam, LPARAM*, LRESULT*) override {
            if (message != WM_KEYDOWN || !m_pBar->m_nTrackingMode) return TK_HOOK_IGNORED;
            // Keys go to the deepest open popup first.
            if (CTkControl* open = m_pBar->GetControl(m_pBar->m_nPopupIndex))
                if (open->GetCommandBar() && open->GetCommandBar()->m_nTrackingMode) return TK_HOOK_IGNORED;
            return m_pBar->OnHookKeyDown((UINT)*wParam) ? TK_HOOK_HANDLED : TK_HOOK_IGNORED;
        }

    private:
        CTkCommandBar* m_pBar;
    };
    CKeyboardSink m_keyboardSink{this};

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnMouseMove(POINT point);
    // Customise mode: the visible, movable control under the point becomes the selected one and
    // the customise sheet shows its context menu there.
    void OnCustomizeContextMenu(POINT point);
    void OnPaint();

public:
    bool IsCustomizeMode() const;
    // A press at a client point: the control under it is clicked, or, Alt held over a toolbar
    // button that customising allows, dragged elsewhere at once.
    void OnLButtonDown(POINT point);
    // The Alt+press drag of a toolbar control outside customise mode; false when it does not apply.
    bool StartAltDrag(CTkControl* control);

protected:

    CTkRef<CTkThemePainter> m_pPainter;
    CTkRef<CTkIconStore> m_pIconStore;
};
