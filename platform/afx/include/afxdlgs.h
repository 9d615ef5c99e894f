// Dialogs of our small class library: colour and file choosers, property sheets and the check list box.
#pragma once

#include "afxwin.h"

#include <commdlg.h>

#include <string>
#include <vector>

#include <prsht.h>

class CColorDialog {
public:
    explicit CColorDialog(COLORREF initial = 0, DWORD flags = 0, CWnd* parent = nullptr);
    virtual ~CColorDialog() = default;
    virtual INT_PTR DoModal();
    COLORREF GetColor() const { return m_cc.rgbResult; }

    CHOOSECOLORW m_cc = {};

private:
    COLORREF m_custom[16] = {};
};

class CFileDialog {
public:
    // filter: pairs of description and pattern separated by "|", ended by "||".
    CFileDialog(bool openFileDialog, const char* defaultExt = nullptr, const char* fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* filter = nullptr,
                CWnd* parent = nullptr);
    virtual ~CFileDialog() = default;
    virtual INT_PTR DoModal();
    CString GetPathName() const { return CString(m_file.c_str()); }
    const std::wstring& GetPathNameWide() const { return m_file; }
    // The filter with its "|" separators turned into the zeros the system expects.
    static std::wstring MakeFilter(const char* filter);

    OPENFILENAMEW m_ofn = {};

private:
    bool m_bOpen;
    std::wstring m_filter, m_defaultExt, m_file;
    wchar_t m_buffer[MAX_PATH] = {};
};

// ---------------------------------------------------------------------------------------------
// Property sheets on the system's property sheet: pages made from dialog templates of the
// resource handle, a sheet that runs modal or modeless.

class CPropertySheet;

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
public:
    // captionId 0: the tab shows the template's caption.
    explicit CPropertyPage(UINT templateId, UINT captionId = 0);

    CPropertySheet* GetSheet() const { return m_pSheet; }
    // The page becomes the current one; false refuses.
    virtual bool OnSetActive() { return true; }
    // The page stops being the current one: reads its controls back; false keeps it current.
    virtual bool OnKillActive() { return UpdateData(true); }
    // OK or Apply on the sheet: OnOK; false keeps the sheet open.
    virtual bool OnApply();
    // Cancel on the sheet: OnCancel.
    virtual void OnReset();
    // The page takes no part in ending the sheet itself: OK and Cancel are the sheet's.
    void OnOK() override {}
    void OnCancel() override {}
    // Enables the sheet's Apply button.
    void SetModified(bool changed = true);
    // Dialog keys are the sheet's.
    bool PreTranslateMessage(MSG*) override { return false; }

    PROPSHEETPAGEW m_psp = {};

protected:
    friend class CPropertySheet;
    static INT_PTR CALLBACK PageDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // Fills m_psp for the sheet; false when the template is missing.
    bool PreparePage(CPropertySheet* sheet);

    CPropertySheet* m_pSheet = nullptr;
    UINT m_nIDCaption;
    std::wstring m_strCaption;
};

class CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    // The caption from a string resource or a text; selectPage is the page shown first.
    explicit CPropertySheet(UINT captionId = 0, CWnd* parent = nullptr, UINT selectPage = 0);
    explicit CPropertySheet(const char* caption, CWnd* parent = nullptr, UINT selectPage = 0);

    // Pages are the caller's; they follow in the order added.
    void AddPage(CPropertyPage* page);
    int GetPageCount() const { return (int)m_pages.size(); }
    CPropertyPage* GetPage(int index) const;
    int GetPageIndex(const CPropertyPage* page) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    bool SetActivePage(int index);
    bool SetActivePage(CPropertyPage* page) { return SetActivePage(GetPageIndex(page)); }
    HWND GetTabControl() const { return m_hWnd ? (HWND)::SendMessageW(m_hWnd, PSM_GETTABCONTROL, 0, 0) : nullptr; }
    void SetTitle(const char* caption);
    CWnd* GetParentWnd() const { return m_pParentWnd; }

    // Creates the sheet modeless (PSH_MODELESS) with the system's styles, shown unless a style
    // without WS_VISIBLE is given (then it never shows until asked to); false when it cannot be
    // made (no pages, a missing template).
    virtual bool Create(CWnd* parent = nullptr, DWORD style = (DWORD)-1, DWORD exStyle = 0);
    // Runs the sheet modally over its disabled owner: IDOK or IDCANCEL, -1 when it cannot be made.
    virtual INT_PTR DoModal();
    // After the system's initialisation of the sheet window.
    virtual bool OnInitDialog() { return true; }
    bool PreTranslateMessage(MSG* msg) override;
    // A modeless sheet ends when OK or Cancel closed it (it has no current page any more).
    bool ContinueModal() override;

    PROPSHEETHEADERW m_psh = {};

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    void CommonConstruct(CWnd* parent, UINT selectPage);
    // The owner a modal sheet disables: the parent's top-level window, else the main window.
    HWND GetSafeOwner() const;

    std::vector<CPropertyPage*> m_pages;
    std::vector<PROPSHEETPAGEW> m_pageData;
    std::wstring m_strCaption;
    CWnd* m_pParentWnd = nullptr;
    int m_nEndButton = IDCANCEL;  // the button that ended a modeless sheet
};

// ---------------------------------------------------------------------------------------------

// Sent to the parent (WM_COMMAND) when the user changes the check of an item.
enum : UINT { CLBN_CHKCHANGE = 40 };

// A list box with a check box before every item (owner drawn, fixed height, with strings). The
// box keeps each item's check and item data itself, whichever way items are added or removed.
class CCheckListBox : public CListBox {
public:
    bool Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // 0 unchecked, 1 checked, 2 indeterminate; nothing for an index out of range.
    void SetCheck(int index, int check);
    int GetCheck(int index) const;
    // The check box's rectangle in an item's rectangle.
    static CRect CheckBoxRect(const RECT& item);
    void DrawItem(LPDRAWITEMSTRUCT draw);

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Toggles an item's check and tells the parent.
    void ToggleCheck(int index);

    struct Item {
        int check = 0;
        DWORD_PTR data = 0;
    };
    std::vector<Item> m_items;
    DECLARE_MESSAGE_MAP()
};
