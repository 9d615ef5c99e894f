// The items of a command bar: the control base with the data its bar and the painters read.
// What the controls do when clicked, hovered or executed is added to these classes by their
// behaviour; the painters depend only on the data declared here.
#pragma once

#include "afxwin.h"
#include "commandbars/TkRefHolder.h"

#include <set>

class CTkCommandBar;
class CTkControl;
class CTkControls;
class CTkThemePainter;
class CTkIconEntry;
class CTkIconStore;

// The kinds of control a collection creates by type.
enum TkControlType : int {
    TK_CONTROL_TYPE_NONE = 0,
    TK_CONTROL_TYPE_BUTTON = 1,
    TK_CONTROL_TYPE_POPUP = 2,
    TK_CONTROL_TYPE_BUTTON_POPUP = 3,
    TK_CONTROL_TYPE_SPLIT_BUTTON_POPUP = 4,
    TK_CONTROL_TYPE_COMBO = 5,
    TK_CONTROL_TYPE_EDIT = 6,
    TK_CONTROL_TYPE_CUSTOM = 7,
    TK_CONTROL_TYPE_LABEL = 8,
};

// Control flags.
enum TkControlFlag : int {
    TK_CONTROL_FLAG_RIGHT_ALIGN = 0x1,    // aligned to the far end of its row
    TK_CONTROL_FLAG_NO_NAVIGATE = 0x2,    // skipped by keyboard navigation
    TK_CONTROL_FLAG_EXPAND = 0x4,         // used by the expand button
    TK_CONTROL_FLAG_NO_UPDATE = 0x8,      // no command-UI update
    TK_CONTROL_FLAG_NO_MOVE = 0x10,       // cannot be dragged in customise mode
};

// Hide flags: any bit hides the control from drawing and hit-testing.
enum TkControlHide : int {
    TK_CONTROL_HIDE_WRAP = 0x2,       // did not fit and went behind the expand button
    TK_CONTROL_HIDE_SCROLL = 0x8,     // scrolled out of a popup bar
    TK_CONTROL_HIDE_CUSTOMIZE = 0x10, // removed by the user
    TK_CONTROL_HIDE_USAGE = 0x20,     // rarely used, hidden until the popup bar expands
    TK_CONTROL_HIDE_CONTEXT = 0x40,   // hidden by context
};

// How a control shows itself.
enum TkControlStyle : int {
    TK_CONTROL_STYLE_AUTOMATIC = 0,
    TK_CONTROL_STYLE_CAPTION = 1,
    TK_CONTROL_STYLE_ICON = 2,
    TK_CONTROL_STYLE_ICON_AND_CAPTION = 3,
};

// Selection states.
enum TkControlSelection : int {
    TK_CONTROL_SELECTION_NONE = 0,
    TK_CONTROL_SELECTION_MOUSE = 1,
    TK_CONTROL_SELECTION_KEYBOARD = 2,
};

// The customise drag-and-drop of controls, which the manager's customise support supplies.
class ITkControlDragSource {
public:
    // Runs the drag of a control until it is dropped or cancelled; DROPEFFECT_MOVE when the
    // control is to leave its place, else DROPEFFECT_COPY or DROPEFFECT_NONE.
    virtual DWORD DoDragControl(CTkControl* control) = 0;

protected:
    ~ITkControlDragSource() = default;
};

// One item of a command bar: a reference-counted command target, not a window.
class CTkControl : public CCmdTarget {
    DECLARE_SERIAL(CTkControl)
public:
    CTkControl() = default;
    ~CTkControl() override;
    // The control record of the bar archive (TkBarArchive.h).
    void Serialize(CArchive& ar) override;

    // --- Operations, declared in the order of their entries in the virtual-function table.
    virtual CString GetTooltip() const { return m_strTooltip; }
    // Stores the flag and asks the parent bar for a new layout.
    virtual void SetBeginGroup(bool on);
    // When it changes: stores the state and asks the parent bar to redraw.
    virtual void SetEnabled(bool on);
    virtual int GetSelected() const { return m_nSelected; }
    virtual void SetRect(int left, int top, int right, int bottom) { m_rcControl = CRect(left, top, right, bottom); }
    // Equal when what the user sees of both is the same (the user value does not count).
    virtual bool Compare(const CTkControl* other) const;
    // The child bar of a popup control; none for the others.
    virtual CTkCommandBar* GetCommandBar() const { return nullptr; }
    virtual void SetHideFlags(int flags) { m_nHideFlags = flags; }
    // The painter's size of this control, and the painter drawing it.
    virtual CSize GetSize(CDC* dc);
    virtual void Draw(CDC* dc);
    // Called on every control before a layout, with the layout mode.
    virtual void OnCalcDynamicSize(DWORD) {}
    virtual void SetParent(CTkCommandBar* bar) { m_pParent = bar; }
    virtual void Copy(const CTkControl* from, bool recursive);
    // A new control of the same class holding a copy of this one.
    virtual CTkControl* Clone(bool recursive) const;
    // Runs the command: to the command-target window (TK_WM_EXECUTE, else WM_COMMAND), or into the root
    // bar's return slot.
    virtual void Execute();
    // Opens or closes the control's popup (popup controls); 0 for the others.
    virtual int SetPopuped(bool) { return 0; }
    virtual void OnClick(bool byKeyboard, POINT point);
    virtual void OnLButtonUp(POINT point);
    virtual void OnRButtonUp(POINT) {}
    virtual void OnLButtonDblClk(POINT point) { OnClick(false, point); }
    virtual void OnMouseMove(POINT) {}
    // The bar's hover delay ran out over the control.
    virtual void OnMouseHover();
    // 0 none, 1 by the mouse, 2 by the keyboard; tells the site and redraws. 1 when it changed.
    virtual int SetSelected(int state);
    // Customise mode: the control becomes the selected one and is dragged; a move takes it out
    // of its bar. The control, its bar and the manager stay alive until the drag is over.
    virtual void CustomizeStartDrag();
    // A control is dragged over this one (point in the parent bar's client coordinates): the
    // parent closes its popup and clears its hot control; popup controls open theirs instead.
    virtual void CustomizeDragOver(CTkControl* dragged, POINT point);
    // Whether the control may be dropped on the bar it is dragged over.
    virtual bool IsCustomizeDragOverAvail(const CTkCommandBar*) const { return true; }

    // Follows a mouse press in the bar until the button is released; true when it executed.
    bool TrackPressed(const CRect& rect);
    // How the press loop reads its messages (tests replace it).
    typedef BOOL(WINAPI* PFNGETMESSAGE)(LPMSG, HWND, UINT, UINT);
    static PFNGETMESSAGE s_pfnGetMessage;
    bool IsCursorOver() const;

    // The id and, from the string resource of that id, tooltip, description and caption.
    void SetID(int id);
    // A TAB divides the caption from its shortcut text; a new caption asks for a new layout.
    void SetCaption(const CString& text);
    void SetCaptionFromResource(UINT stringId);
    void RequestParentLayout();
    void RedrawParent();
    void SetDefaultItem(bool on);
    // Sets or clears hide bits; true when the flags changed.
    bool ModifyHideFlags(int bits, bool set);
    // Whether the parent bar's manager is in customise mode.
    bool IsCustomizeMode() const;

    // The caption shown: the custom caption when the user typed one, else the caption.
    const CString& GetDisplayCaption() const { return m_strCustomCaption.IsEmpty() ? m_strCaption : m_strCustomCaption; }
    // The custom icon id, else the icon id when above 0, else the command id; 0 means no picture.
    int GetEffectiveIconId() const;
    bool IsVisible() const { return m_nHideFlags == 0; }
    bool IsPopupType() const {
        return m_nType == TK_CONTROL_TYPE_POPUP || m_nType == TK_CONTROL_TYPE_BUTTON_POPUP ||
               m_nType == TK_CONTROL_TYPE_SPLIT_BUTTON_POPUP;
    }
    // Whether the control's popup is open (popup controls answer for themselves).
    virtual bool IsPopupOpen() const { return false; }
    // The text in the field of an edit or combo-box control.
    virtual CString GetFieldText() const { return CString(); }
    // The window of an edit or combo-box control, none for the others.
    virtual HWND GetFieldWindow() const { return nullptr; }
    CTkCommandBar* GetParentBar() const { return m_pParent; }
    CTkControls* GetCollection() const { return m_pControls; }
    const CRect& GetRect() const { return m_rcControl; }

    // The store the control's pictures come from: its bar's, else the process-wide one.
    CTkIconStore* GetIconStore() const;
    // The picture of the effective icon id at that width, none when the id is 0 or missing.
    virtual CTkIconEntry* GetIcon(int width) const;
    // The painter that draws the control: its bar's, else the process-wide current painter.
    CTkThemePainter* GetPainter() const;

    int m_nUserValue = 0;
    int m_nIndex = 0;
    int m_nId = 0;
    int m_nIconId = 0;
    int m_nCustomIconId = 0;
    int m_bWrap = 0;
    int m_bBeginGroup = 0;
    int m_bEnabled = 1;
    int m_bChecked = 0;
    int m_nSelected = TK_CONTROL_SELECTION_NONE;
    int m_nExecuted = 0;  // 1 while a press is tracked, 2 after execution
    int m_bTemporary = 0;
    CRect m_rcRow;
    CRect m_rcControl;
    int m_nHideFlags = 0;
    int m_nFlags = 0;
    CString m_strCaption;
    CString m_strCustomCaption;
    CString m_strShortcutText;
    CString m_strCaptionShortcut;
    CString m_strTooltip;
    CString m_strDescription;
    CString m_strParameter;
    CTkControls* m_pControls = nullptr;
    int m_nType = TK_CONTROL_TYPE_NONE;
    CTkCommandBar* m_pParent = nullptr;
    CString m_strCategory;
    int m_bDefaultItem = 0;
    std::set<int> m_shownIn;
    std::set<int> m_hiddenIn;
    int m_nStyle = TK_CONTROL_STYLE_AUTOMATIC;
    int m_bCloseOnExecute = 1;
};

// The ordinary push button.
class CTkControlButton : public CTkControl {
    DECLARE_SERIAL(CTkControlButton)
public:
    CTkControlButton() { m_nType = TK_CONTROL_TYPE_BUTTON; }
    void Serialize(CArchive& ar) override;
};

// Loads a string of the toolkit's resources (the satellite library first, then the program).
bool TkLoadString(UINT id, CString& text);

// A control that owns a child popup bar and opens it.
class CTkControlPopup : public CTkControl {
    DECLARE_SERIAL(CTkControlPopup)
public:
    CTkControlPopup();
    ~CTkControlPopup() override;
    // The control record and the id of the child bar; a control read from an archive keeps the
    // id until the bars read with it are linked (TkBarArchive.h).
    void Serialize(CArchive& ar) override;
    bool IsPopupOpen() const override { return m_bPopupOpen != 0; }
    bool Compare(const CTkControl* other) const override;
    CTkCommandBar* GetCommandBar() const override { return m_pChildBar; }
    // The base copy, the display style, and the child bar: cloned when recursive, else shared.
    void Copy(const CTkControl* from, bool recursive) override;

    // Opens the child bar beside the control, or closes it.
    int SetPopuped(bool open) override;
    int SetSelected(int state) override;
    // Opens the child bar so the dragged control can be dropped into it, unless the dragged
    // control's own popups hold this one; a child bar that is not customisable stays shut.
    void CustomizeDragOver(CTkControl* dragged, POINT point) override;
    // A split button's arrow opens the popup and its face runs the command; others open.
    void OnClick(bool byKeyboard, POINT point) override;
    void OnLButtonUp(POINT point) override;
    void OnLButtonDblClk(POINT point) override;
    void OnMouseHover() override;

    // Takes a reference on the bar; the old child bar is released.
    void AttachChildBar(CTkCommandBar* bar);
    CTkCommandBar* GetChildBar() const { return m_pChildBar; }
    // An open menu's popup shows its rarely used commands too; returns the child bar.
    CTkCommandBar* ExpandChild();
    // Whether this control's child bar, or a popup control in it (recursively), is the control's.
    bool ContainsControl(const CTkControl* control) const;

    int m_bPopupOpen = 0;
    CTkRef<CTkCommandBar> m_pChildBar;
    UINT m_nChildBarId = 0;  // read from an archive, until linked
};

// The button at the end of a toolbar that takes the controls that did not fit: its popup lists
// them, then the toolbar options.
class CTkControlExpand : public CTkControlPopup {
    DECLARE_DYNCREATE(CTkControlExpand)
public:
    CTkControlExpand();
    void SetBeginGroup(bool) override {}
    // Also notes whether a control of the bar went behind the button.
    void SetRect(int left, int top, int right, int bottom) override;
    CSize GetSize(CDC* dc) override;
    void Draw(CDC* dc) override;
    // Opening asks for a new child bar and fills it with the overflow of the bar's row; 0 when
    // there is no manager or no child bar.
    int SetPopuped(bool open) override;

    int m_bControlsHidden = 0;
};
