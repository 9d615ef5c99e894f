// The pages of the customise sheet: the commands by category, the toolbars with their new,
// rename, delete and reset buttons, and the manager's settings; and the toolbar name dialog.
#pragma once

#include "commandbars/TkRefHolder.h"
#include "customize/TkCustomizeSheet.h"

#include <vector>

class CTkControl;
class CTkControls;

// One category of the commands page: a name and its controls (owned by the manager).
struct CTkCustomizeCategory {
    CString strName;
    CTkRef<CTkControls> pControls;
};

// The commands of the selected category, drawn by the manager's painter (owner drawn, no
// strings, item data = the control).
class CTkCommandsListBox : public CListBox {
public:
    CTkCustomizeSheet* m_pSheet = nullptr;
    CTkControl* GetItemControl(int index) const { return static_cast<CTkControl*>(GetItemDataPtr(index)); }
    void DrawItem(LPDRAWITEMSTRUCT draw);

protected:
    // The background under the items, painted off screen with them; a press on an item selects
    // it and starts dragging a copy of its control.
    afx_msg BOOL OnEraseBkgnd(HDC dc);
    afx_msg LRESULT OnPaintMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    void PaintBackground(CDC* dc, const CRect& rect);
    DECLARE_MESSAGE_MAP()
};

class CTkCustomizeCommandsPage : public CPropertyPage {
public:
    explicit CTkCustomizeCommandsPage(CTkCustomizeSheet* sheet);
    ~CTkCustomizeCommandsPage() override;

    // A category with a control per command of a menu resource (separators are no commands); false (nothing added) when the menu
    // cannot be loaded. Positions beyond the end (and -1) mean at the end.
    bool InsertMenuCategory(UINT menuId, UINT nameId, int position = -1);
    // A category with a copy of every control of the categories so far.
    void InsertAllCommandsCategory(UINT nameId, int position = -1);
    // A category with one empty popup named after the category: dragged onto a bar, a new menu.
    void InsertNewMenuCategory(UINT nameId, int position = -1);
    int GetCategoryCount() const { return (int)m_categories.size(); }
    const CTkCustomizeCategory& GetCategory(int index) const { return m_categories[(size_t)index]; }

    bool OnInitDialog() override;
    // Fills the commands list with the controls of the selected category.
    void OnCategoryChanged();

    CListBox m_categoriesList;
    CTkCommandsListBox m_commandsList;

protected:
    // Inserts a category at a clamped position and returns its collection.
    CTkControls* InsertCategory(UINT nameId, int position);

    CTkCustomizeSheet* m_pSheet;
    std::vector<CTkCustomizeCategory> m_categories;
    DECLARE_MESSAGE_MAP()
};

class CTkCustomizeToolbarsPage : public CPropertyPage {
public:
    explicit CTkCustomizeToolbarsPage(CTkCustomizeSheet* sheet);

    bool OnInitDialog() override;
    // Refills the list from the manager's bars, keeping the selection and the scroll position.
    void RefreshList();
    // Enables the buttons for the selected bar.
    void UpdateButtons();
    // The bar of the selected item, none without a selection.
    CTkCommandBar* GetSelectedBar() const;

    afx_msg void OnCheckChange();
    afx_msg void OnSelChange() { UpdateButtons(); }
    afx_msg void OnNew();
    afx_msg void OnRename();
    afx_msg void OnDelete();
    afx_msg void OnResetBar();

    CCheckListBox m_list;

protected:
    CTkCustomizeSheet* m_pSheet;
    DECLARE_MESSAGE_MAP()
};

// Asks for the name of a new toolbar (bar none), or the new name of an existing one.
class CTkToolbarNameDlg : public CDialog {
public:
    CTkToolbarNameDlg(CWnd* parent, ITkCustomizeBars* bars, CTkCommandBar* bar);

    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* dx) override;
    // Checks the name and, for a new bar, finds a free id: IDOK, IDCANCEL (no id left: said and
    // over), or 0 (said, and the dialog stays open).
    int CheckName();
    // The proposed name of a new bar: the format (string 9330) with the smallest free number;
    // at most one number more than there are bars is tried.
    static CString DefaultName(const ITkCustomizeBars* bars, const CString& format);

    CString m_strName;
    UINT m_nBarId = 0;

    static const UINT kFirstBarId = 0xE800;
    static const UINT kLastBarId = 0xE8FE;

protected:
    ITkCustomizeBars* m_pBars;
    CTkCommandBar* m_pBar;
};

// The manager's settings, copied when the page is made and written back as they change.
class CTkCustomizeSettingsPage : public CPropertyPage {
public:
    explicit CTkCustomizeSettingsPage(CTkCustomizeSheet* sheet);

    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

    int m_bAlwaysShowFullMenus;
    int m_bShowFullAfterDelay;
    int m_bLargeIcons;
    int m_bToolBarScreenTips;
    int m_bToolBarAccelTips;
    int m_nAnimation;

protected:
    afx_msg void OnFullMenus();
    afx_msg void OnFullMenusDelay();
    afx_msg void OnLargeIcons();
    afx_msg void OnScreenTips();
    afx_msg void OnShortcutTips();
    afx_msg void OnAnimation();
    afx_msg void OnResetUsage();
    void UpdateEnabling();

    CTkCustomizeSheet* m_pSheet;
    CComboBox m_animation;
    DECLARE_MESSAGE_MAP()
};

// What a frame's customise command (35001) runs: the sheet with the settings page, and the
// categories all commands (copies of the frame's menu commands), the frame's menu and a new
// menu, in this order. Returns the sheet's result.
INT_PTR TkRunFrameCustomizeSheet(ITkCustomizeBars* bars, UINT menuId);
