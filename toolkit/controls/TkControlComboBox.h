// The combo box of a command bar: a field (editable or not) with a drop-down list of strings.
// The list is a popup bar of its own whose window is a standard list box; the combo opens it by
// the popup control's rules.
#pragma once

#include "commandbars/TkCommandBar.h"
#include "controls/TkControlEdit.h"

#include <vector>

class CTkControlComboBox;

// The drop-down list of a combo box: a list-box window that opens below the combo.
class CTkControlComboBoxList : public CTkCommandBar {
    DECLARE_SERIAL(CTkControlComboBoxList)
public:
    CTkControlComboBoxList();
    ~CTkControlComboBoxList() override;

    // While open, the combo's bar: the popup chain leads there.
    CTkCommandBar* GetParentBar() const override;
    CTkControl* GetOwnerControl() const override;
    // Opens below a combo box: 1 to 12 rows high, the list width (else the combo's) wide.
    int Popup(CTkControl* control, bool byKeyboard) override;
    // Leaving tracking hides the list, clears the combo's bar hot item and forgets the combo.
    int SetTrackingMode(int mode, bool selectFirst, bool byKeyboard) override;
    int SetSelected(int, bool) override { return 0; }
    // Esc closes, Tab is not handled, Enter runs the combo; other keys move the list's selection.
    int OnHookKeyDown(UINT key) override;
    void DelayRedraw() override {}
    // The strings of the other list.
    void Copy(const CTkCommandBar* from, bool recursive) override;
    // The strings and the list width of another list (a stored one).
    void CopyStrings(const CTkControlComboBoxList* from);
    // The bar record, the popup fields, then the strings (TkBarArchive.h); reading adds them to
    // the list window, made when needed.
    void Serialize(CArchive& ar) override;

    // The list window (made hidden when needed), owned by the window given.
    bool CreateListWindow(HWND owner);
    // Gives the list window another owner (the site of the bar the combo moved to).
    void SetOwnerWindow(HWND owner);
    int AddString(const char* text);
    int GetCount() const;
    CString GetString(int index) const;
    void ResetContent();
    // Whether this opening of the list holds the mouse tracker's modal-loop count.
    bool HoldsModalLoop() const { return m_bModalLoop; }

    CTkControlComboBox* m_pCombo = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Raised once per opening, lowered once when it ends.
    void EnterModalLoop();
    void LeaveModalLoop();
    void PaintBorder();
    // Where the list goes below (or, without room, above) the excluded rectangle.
    static CRect PlaceBelow(const CRect& exclude, int width, int height);

    bool m_bModalLoop = false;
};

class CTkControlComboBox : public CTkControlPopup {
    DECLARE_SERIAL(CTkControlComboBox)
public:
    CTkControlComboBox();
    ~CTkControlComboBox() override;

    // On: makes the edit object (once); off: destroys it.
    void SetEditable(bool on);
    bool IsEditable() const { return m_bEditable != 0; }
    // The field's text when there is a field (kept as the text), else the text.
    CString GetText();
    void SetText(const CString& text);
    CTkEdit* GetEdit() const { return m_field.GetEdit(); }
    CTkFieldHost& GetField() { return m_field; }

    CTkControlComboBoxList* GetList() const { return m_pList; }
    int AddString(const char* text) { return m_pList->AddString(text); }
    // The list's selection; -1 without a list window.
    int GetCurSel() const;
    // Selecting another string runs OnSelChanged.
    void SetCurSel(int index);
    // The selected string; empty without a list window.
    CString GetListText() const;
    // The selected string becomes the text.
    virtual void OnSelChanged();

    CString GetFieldText() const override { return const_cast<CTkControlComboBox*>(this)->GetText(); }
    HWND GetFieldWindow() const override { return m_field.GetWindow(); }
    CSize GetSize(CDC* dc) override;
    void SetRect(int left, int top, int right, int bottom) override;
    void SetEnabled(bool on) override;
    void SetHideFlags(int flags) override;
    void SetParent(CTkCommandBar* bar) override;
    void OnCalcDynamicSize(DWORD mode) override;
    // Opening saves the list's selection; closing without a choice puts it back.
    int SetPopuped(bool open) override;
    void OnClick(bool byKeyboard, POINT point) override;
    // The list's selection is the choice, then the command runs.
    void Execute() override;
    void Copy(const CTkControl* from, bool recursive) override;
    // The popup control's record, then the editable switch, the width and the third word; the
    // field object follows the editable switch (TkBarArchive.h). The list is stored as a bar.
    void Serialize(CArchive& ar) override;

    int m_nCaptionWidth = 0;
    int m_nDropButtonWidth = 0;
    int m_bEditable = 0;
    int m_nThirdWord = 0;
    int m_nWidth = 100;
    int m_nSavedSel = -1;

private:
    // Keys of the combo's field: F4 opens or closes the list.
    class CComboField : public CTkFieldHost {
    public:
        explicit CComboField(CTkControlComboBox* combo) : CTkFieldHost(combo) {}
        int OnFieldKey(UINT key) override;
    };
    void ToggleList();

    CComboField m_field{this};
    CTkControlComboBoxList* m_pList = nullptr;
    CTkCommandBar* m_pLaidOutBar = nullptr;
    CRect m_rcLaidOut;
};
