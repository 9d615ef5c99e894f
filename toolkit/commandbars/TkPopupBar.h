// The drop-down menu of the command bars: a top-most tool window that opens beside the control
// that owns it, lays its controls out in a column, hides rarely used commands until expanded,
// scrolls when it is taller than the work area, animates when it opens and casts a drop shadow.
// CTkPopupToolBar is the same window laid out as a toolbar.
#pragma once

#include "commandbars/TkCommandBar.h"

#include <set>

class CTkToolBar;

// Where a popup opens from its anchor.
enum TkPopupFlag : int {
    TK_POPUP_LEFT = 0x1,   // towards the left (right to left, or flipped at the screen edge)
    TK_POPUP_BELOW = 0x2,  // below the opening control, else beside it
};

// The command id of the button that shows a popup's hidden commands.
const int TK_ID_POPUP_EXPAND = 9402;

// What decides where a popup goes, and where it went: a function of the work area, the opening
// control's rectangle (empty for a context menu opened at a point), the anchor, the flags and the
// size, so it can be checked without windows.
struct CTkPopupPlacement {
    CRect work;        // the work area of the monitor the popup opens on
    CRect exclude;     // the opening control's rectangle, screen coordinates; empty for a point
    CPoint anchor;     // from CalcAnchor, or the point of a context menu
    int flags = 0;     // TkPopupFlag bits; bit 0 may change when the popup flips
    CSize size;        // the popup's width and height; the height shrinks when it scrolls
    // Results.
    CPoint position;
    bool scrolling = false;
};
// Places the popup on the work area: below or beside the control, flipped above it or to its
// other side where it does not fit, scrolling where it fits nowhere.
void TkPlacePopup(CTkPopupPlacement& placement);

// The opening anchor and flags for a control of a bar (screen coordinates).
struct CTkPopupAnchor {
    CPoint anchor;
    CRect exclude;
    int flags = 0;
};
// From the control's rectangle in screen coordinates and the bar it sits on.
CTkPopupAnchor TkCalcPopupAnchor(const CRect& controlScreenRect, const CTkControl* control, const CTkCommandBar* bar,
                                 bool siteRightToLeft);

// The kind of animation a popup plays: the manager's "Animation" setting (0 follows the system's
// preference mask, 1 picks one at random, 2 unfold, 3 slide, 4 fade, 5 none).
int TkPopupAnimationKind(int setting, DWORD preferencesMask, int random);

// The expand button at the bottom of a popup with hidden commands: a full-width strip with a
// double chevron.
class CTkControlExpandMenu : public CTkControlButton {
    DECLARE_DYNCREATE(CTkControlExpandMenu)
public:
    static const int kHeight = 16;
    CSize GetSize(CDC*) override { return CSize(20, kHeight); }
    void Draw(CDC* dc) override;
    // Expands the popup instead of running a command.
    void Execute() override;
    void OnMouseHover() override;
};

class CTkPopupBar : public CTkCommandBar {
    DECLARE_SERIAL(CTkPopupBar)
public:
    static const UINT_PTR kScrollDownTimer = 5001;
    static const UINT_PTR kScrollUpTimer = 5002;
    static const UINT_PTR kTearOffTimer = 5003;
    static const UINT kScrollPeriod = 80;
    static const int kScrollButtonHeight = 16;
    static const int kMinimumSize = 22;

    CTkPopupBar();
    ~CTkPopupBar() override;

    // A popup bar of a manager, or of a bar that owns it (an overflow popup, a combo list).
    static CTkPopupBar* CreatePopupBar(CTkCommandBars* manager);
    static CTkPopupBar* CreatePopupBar(CTkCommandBar* owner);

    // --- What the bar base asks of a popup.
    CTkCommandBar* GetParentBar() const override;
    CTkControl* GetOwnerControl() const override { return m_pControlPopup; }
    bool IsRarelyUsed(const CTkControl* control) const override;
    int SetTrackingMode(int mode, bool selectFirst, bool byKeyboard) override;
    // Also scrolls the control into view.
    int SetSelected(int index, bool byKeyboard) override;
    // Opens the popup for a control (none: at the anchor PopupAt stored). 0 when no window.
    int Popup(CTkControl* control, bool byKeyboard) override;
    int OnHookKeyDown(UINT virtualKey) override;
    void OnRecalcLayout() override { Reposition(); }
    void DrawCommandBar(CDC* dc) override;
    void Copy(const CTkCommandBar* from, bool recursive) override;
    bool DestroyWindow() override;
    // The bar record, then the tear-off fields, the border margins and the shadow switch.
    void Serialize(CArchive& ar) override;

    // A context menu at a screen point, not covering the rectangle (screen coordinates, may be
    // empty); flags are TkPopupFlag bits.
    int PopupAt(int x, int y, int flags, const RECT& excludeRect);
    // Pumps the thread's messages until the popup closes. A WM_QUIT met on the way is posted
    // again and ends the loop; false then.
    bool TrackModal();
    // Lays out and places the open popup again after its controls changed.
    void Reposition();
    // Shows the hidden commands; later popups of this session open expanded.
    void Expand();

    // The popup's size for its controls (laid out as a column, or as a toolbar for type 1).
    virtual CSize CalcSize();
    // Each visible command shows its shortcut from the manager's accelerators (else the frame's).
    void UpdateShortcutTexts();
    // The window's place, from the anchor and the size; lays the visible range out.
    void AdjustPosition(int width, int height);
    void CalcAnchor();
    // The animation the popup plays when it opens (5 none).
    int GetAnimationKind() const;
    // Where the user's preference mask is read (under the current user); tests point elsewhere.
    static const wchar_t* s_pszPreferencesKey;

    bool IsScrolling() const { return m_bScrolling != 0; }
    int GetFirstShown() const { return m_nFirstShown; }
    int GetLastShown() const { return m_nLastShown; }
    const CRect& GetScrollUpRect() const { return m_rcScrollUp; }
    const CRect& GetScrollDownRect() const { return m_rcScrollDown; }
    bool HasHiddenControls() const { return m_bHasHidden != 0; }
    bool IsExpanded() const { return m_bExpanded != 0; }

    // --- Tearing the popup off into a floating toolbar.
    static const int kTearOffReach = 10;  // how far around the gripper the cursor still counts as on it
    // The gripper strip at the top of a popup that can be torn off (client coordinates; empty
    // when it cannot).
    const CRect& GetGripperRect() const { return m_rcGripper; }
    bool IsGripperHot() const { return m_bGripperHot != 0; }
    // The drag that starts with a press on the gripper at a screen point: the cursor moved out of
    // the gripper's reach hides the popup and shows its controls in a floating toolbar under the
    // cursor; moved back in, the popup shows again. The button going up, Escape, a quit or the
    // capture taken away end it; a floating toolbar left shown closes the popups.
    void TrackTearOff(POINT screenPoint);
    // One step of that drag, the cursor at a new screen point.
    void TearOffStep(POINT screenPoint);
    // The floating toolbar while the drag runs (none before it leaves the gripper's reach).
    CTkToolBar* GetTearOffBar() const { return m_pTearOffBar; }
    // Moves the visible range by one control (down or up); false at the end.
    bool ScrollBy(int step);

    // The animation of the last opening (for tests and the benchmark); -1 before the first.
    int m_nLastAnimation = -1;

    CTkCommandBar* m_pOwnerPopup = nullptr;  // whose keyboard and timers drive this one
    HWND m_hwndScrollTimer = nullptr;
    CTkControl* m_pControlPopup = nullptr;
    int m_nPopupFlags = 0;
    CPoint m_ptAnchor;
    CRect m_rcExclude;
    int m_bScrolling = 0;
    int m_nFirstShown = 0;
    int m_nLastShown = 0;
    CRect m_rcScrollUp;
    CRect m_rcScrollDown;
    int m_bHasHidden = 0;
    int m_bExpanded = 0;
    int m_bReanimate = 0;
    int m_bTearOff = 0;
    CString m_strTearOffCaption;
    UINT m_nTearOffId = 0;
    int m_nTearOffWidth = 0;
    CRect m_rcGripper;
    int m_bGripperHot = 0;
    int m_bTearOffDragging = 0;
    CTkRef<CTkToolBar> m_pTearOffBar;  // held for the length of the drag
    CSize m_szTearOffBar;
    CRect m_rcBorders = CRect(2, 4, 2, 4);
    int m_bShadow = 1;
    int m_bCalcRunning = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool CreatePopupWindow();
    // Which commands are rarely used and hidden until the popup expands; the expand button.
    void UpdateHiddenControls();
    // Lays the controls from the first shown one down into the height; marks the rest 0x8.
    void LayoutVisibleRange(int height);
    void PaintWithAnimation();
    void AddShadows();
    void StopScrollTimers();
    void OnScrollHover(POINT point);
    bool IsHiddenCommand(int id) const;
    // The gripper's strip height (0 when the popup cannot be torn off).
    int GripperHeight(CDC* dc);
    void OnGripperHover(POINT point);
    void StopGripperTimer();
    // The bar with the tear-off id made floating, else a new floating user bar with copies of
    // the controls; none when no bar can be made. Remembers how to undo it.
    CTkRef<CTkToolBar> MakeTearOffBar();
    // After the drag: a bar left hidden goes back to what it was (a new one is removed).
    void EndTearOff();

    std::set<const CTkControl*> m_usageHidden;
    bool m_bFirstPaintDone = false;
    int m_nColumnWidth = 0;
    // What the drag found: whether it made the floating bar, else where the bar was and whether it showed.
    bool m_bTearOffMade = false;
    int m_nTearOffBarPosition = TK_BAR_POSITION_NONE;
    bool m_bTearOffBarVisible = false;
    bool m_bTearOffCancel = false;
};

// A popup laid out as a toolbar, in rows at most 322 pixels wide.
class CTkPopupToolBar : public CTkPopupBar {
    DECLARE_SERIAL(CTkPopupToolBar)
public:
    static const int kMaxRowWidth = 322;
    CTkPopupToolBar() { m_nBarType = TK_BAR_TYPE_TOOLBAR; }
    CSize CalcSize() override;
};
