// The recipient picker: the account's contacts (and groups) beside the chosen recipients, with
// Add and Remove. It works on a recipients text (entries separated by "; ") or on a collection
// of contacts (a group's members).
#pragma once

#include "contacts/ContactsAndGroupsDlg.h"

class CSelectContactsDlg : public CContactsAndGroupsDlg {
public:
    // Collection mode: the contacts of the collection (which is referenced); groups not shown.
    CSelectContactsDlg(IObjectCollection* collection, CWnd* parent);
    // String mode: the entries of the recipients text; groups shown.
    CSelectContactsDlg(const char* recipients, CWnd* parent, UINT templateId = IDD_SELECT_CONTACTS_ID);

    // After IDOK: the recipients text (string mode) or a new collection of the chosen contacts
    // (collection mode; before OK, or after Cancel, the collection that was given).
    const CString& GetRecipients() const { return m_recipientsText; }
    IObjectCollection* GetCollection() const { return m_collection; }

    bool OnInitDialog() override;

    // Appends the entry with its object unless the list has it (ignoring case); then, when
    // warn, tells the user. True when added.
    bool AddRecipient(const char* text, IUnknown* object, bool warn);

    enum : UINT { IDD_SELECT_CONTACTS_ID = 142 };

protected:
    void DoDataExchange(CDataExchange* dx) override;
    // The recipients from the text or the collection (once, when the dialog opens).
    void LoadRecipients();
    // The recipients into the text or a new collection; false (the old collection stays) when
    // the collection cannot be made.
    bool SaveRecipients();
    // A new, empty collection for the chosen contacts; null when it cannot be made (reported).
    virtual CComPtr<IObjectCollection> NewCollection();
    void OnItemRenamed(const CString& oldText, const CString& newText) override;
    void OnItemDeleted(const CString& text) override;

    afx_msg void OnAdd();
    afx_msg void OnRemove();

    CEntryListBox m_recipients;
    CTabPageCtrl m_recipientTabs;
    CString m_recipientsText;
    CComPtr<IObjectCollection> m_collection;
    bool m_collectionMode;
    bool m_loadPending = false;
    DECLARE_MESSAGE_MAP()
};
