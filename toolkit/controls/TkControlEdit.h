// Controls that hold a field the user types into: the edit window CTkEdit, the part of a control
// that owns one (CTkFieldHost, shared by the edit control and the editable combo box), the edit
// control itself and the label that only shows its caption.
#pragma once

#include "commandbars/TkHooks.h"
#include "controls/TkControl.h"
#include "res/TkResource.h"

class CTkFieldHost;

// Hidden while the bar is laid out for vertical docking: fields do not fit across a column.
const int TK_CONTROL_HIDE_VERTICAL = 0x4;

// The class library's clipboard commands, which a focused field runs itself.
enum TkEditCommand : UINT {
    TK_ID_EDIT_COPY = ID_TK_EDIT_COPY,
    TK_ID_EDIT_CUT = ID_TK_EDIT_CUT,
    TK_ID_EDIT_PASTE = ID_TK_EDIT_PASTE,
};

// The child edit window of a field control, linked back to the control's field host.
class CTkEdit : public CEdit {
public:
    explicit CTkEdit(CTkFieldHost* host) : m_pHost(host) {}
    CTkFieldHost* GetHost() const { return m_pHost; }
    // The host goes first, so the window's last messages write into nothing.
    void Unlink() { m_pHost = nullptr; }

    // Copy and cut need a selection, paste text on the clipboard.
    bool IsCommandEnabled(UINT id) const;
    // WM_COPY, WM_CUT or WM_PASTE to the window; false for other commands.
    bool RunCommand(UINT id);
    // The field's context menu at a screen point: Cut, Copy and Paste on a popup bar of the
    // toolkit, run modally (by the manager, else by the popup itself), never the system's menu.
    // A field without the focus selects all first; the chosen command then goes to the field.
    // The mouse tracker's modal-loop count is raised while the menu runs. The command, 0 for none.
    int TrackContextMenu(POINT screen);
    // Whether a right click opens the context menu: not in customise mode, not in a popup bar and
    // not while popups are open.
    bool ShowsContextMenu() const;

protected:
    // The window's messages: the toolkit's context menu, the host told of the focus, Enter and
    // the window's end, and the mouse passed on to the bar.
    afx_msg LRESULT OnRButtonUp(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnContextMenu(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetFocus(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnKillFocus(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDestroyWindow(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnChar(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    // The commands of its context menu.
    afx_msg void OnCopy() { RunCommand(TK_ID_EDIT_COPY); }
    afx_msg void OnCut() { RunCommand(TK_ID_EDIT_CUT); }
    afx_msg void OnPaste() { RunCommand(TK_ID_EDIT_PASTE); }
    afx_msg void OnUpdateClipboardCommand(CCmdUI* ui) { ui->Enable(IsCommandEnabled(ui->m_nID)); }

private:
    CTkFieldHost* m_pHost;
    DECLARE_MESSAGE_MAP()
};

// The field part of a control: the edit window, the text kept while there is none, and the key
// sink registered while the field has the focus.
class CTkFieldHost : public ITkHookSink {
public:
    explicit CTkFieldHost(CTkControl* control) : m_pControl(control) {}
    virtual ~CTkFieldHost();
    CTkFieldHost(const CTkFieldHost&) = delete;
    CTkFieldHost& operator=(const CTkFieldHost&) = delete;

    CTkControl* GetControl() const { return m_pControl; }
    CTkEdit* GetEdit() const { return m_pEdit; }
    HWND GetWindow() const { return m_pEdit ? m_pEdit->GetSafeHwnd() : nullptr; }
    bool HasFocus() const { return GetWindow() && ::GetFocus() == GetWindow(); }

    // Makes the edit object (once); its window comes with the next layout.
    void CreateObject();
    // Creates the window when there is none (child of the bar, the shared font, the text, disabled
    // with the control), parents it to the bar and places it; shown unless the control is hidden.
    void Layout(CTkCommandBar* bar, const CRect& place);
    void Enable(bool on);
    void Show(bool on);
    // Unlinks, then destroys the window and the object; the text stays.
    void Destroy();

    // The window's text when it exists (kept as the text), else the kept text.
    CString GetText();
    void SetText(const CString& text);

    // From the keyboard: the field takes the focus, or runs the control when it has it already.
    void ClickByKeyboard();
    // Gives the focus back to the window that had it before the field took it.
    void ReturnFocus();

    // What the edit window tells its host.
    void OnFocusGained(HWND previous);
    void OnFocusLost();
    void OnWindowGone(const CString& text);
    // Enter in the field: the control is clicked from the keyboard.
    void OnEnter();

    // A key while the field has the focus: 1 handled, 0 not, 2 the key goes on to the field.
    virtual int OnFieldKey(UINT key);
    int OnHookMessage(HWND hwnd, UINT message, WPARAM* wParam, LPARAM* lParam, LRESULT* result) override;

protected:
    CTkControl* m_pControl;
    CTkEdit* m_pEdit = nullptr;
    CString m_strText;
    HWND m_hwndPrevFocus = nullptr;
};

// An edit field in a command bar, after its caption when that is shown.
class CTkControlEdit : public CTkControl {
    DECLARE_SERIAL(CTkControlEdit)
public:
    CTkControlEdit();
    ~CTkControlEdit() override;

    CString GetText() { return m_field.GetText(); }
    void SetText(const CString& text) { m_field.SetText(text); }
    CTkEdit* GetEdit() const { return m_field.GetEdit(); }
    CTkFieldHost& GetField() { return m_field; }

    CString GetFieldText() const override { return const_cast<CTkFieldHost&>(m_field).GetText(); }
    HWND GetFieldWindow() const override { return m_field.GetWindow(); }
    CSize GetSize(CDC* dc) override;
    void SetRect(int left, int top, int right, int bottom) override;
    void SetEnabled(bool on) override;
    void SetHideFlags(int flags) override;
    void SetParent(CTkCommandBar* bar) override;
    void OnCalcDynamicSize(DWORD mode) override;
    void OnClick(bool byKeyboard, POINT point) override;
    void Copy(const CTkControl* from, bool recursive) override;
    // The control record, then the caption-shown switch and the width (TkBarArchive.h).
    void Serialize(CArchive& ar) override;

    int m_nWidth = 100;
    int m_bShowCaption = 1;

private:
    CTkFieldHost m_field{this};
};

// A caption on its own: drawn, never clicked.
class CTkControlLabel : public CTkControl {
    DECLARE_SERIAL(CTkControlLabel)
public:
    CTkControlLabel() {
        m_nType = TK_CONTROL_TYPE_LABEL;
        m_nFlags = TK_CONTROL_FLAG_NO_NAVIGATE | TK_CONTROL_FLAG_NO_MOVE;
    }
    void OnClick(bool, POINT) override {}
    void OnLButtonUp(POINT) override {}
};

// The width of a caption shown left of a field, with the gap the painters leave before the field;
// 0 when the caption is not shown.
int TkFieldCaptionWidth(const CTkControl* control, bool shown);
// Hide flag 0x4 while the bar is laid out for vertical docking, cleared for any other layout.
void TkHideFieldWhenVertical(CTkControl* control, DWORD mode);
