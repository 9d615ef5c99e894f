// The send window's recipient picker: contacts and groups as in CSelectContactsDlg, plus a tab
// listing the entries of one MAPI address book (through the address-book server), whose mobile
// numbers can be added. The book chosen last is kept in the profile ("Outlook", "AddrBook").
#pragma once

#include "contacts/SelectContactsDlg.h"

#include "TarvockMailSDK.h"

#include <vector>

class CSelectContactsDlgEx : public CSelectContactsDlg {
public:
    CSelectContactsDlgEx(const char* recipients, CWnd* parent);

    bool OnInitDialog() override;
    void OnOK() override;

    // The texts of an AddressBookNames result: a one-dimensional array of VARIANTs (as the
    // server makes it) or of BSTRs, read within its own bounds; elements that are not text are
    // skipped, and anything else gives none.
    static std::vector<CString> ReadBookNames(const VARIANT& names);

    enum { kAddressBookTab = 2 };
    static const char* const kProfileSection;  // "Outlook"
    static const char* const kProfileEntry;    // "AddrBook"

protected:
    void DoDataExchange(CDataExchange* dx) override;
    // Lists the address books (once per dialog) and opens the stored one, else the first.
    void GetAddressBookNames();

    afx_msg void OnTabChanged(NMHDR* header, LRESULT* result);
    afx_msg void OnSelChangeAddrBook();
    afx_msg void OnAddButton();
    afx_msg void OnAddFromAddressBook();

    CButton m_new, m_edit, m_delete;
    CComboBox m_books;
    CListBox m_bookEntries;
    CString m_bookName;
    CComPtr<IAddressBook> m_addressBook;
    CComPtr<IObjectCollection> m_bookContacts;
    DECLARE_MESSAGE_MAP()
};
