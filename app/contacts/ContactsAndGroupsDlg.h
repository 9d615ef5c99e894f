// The base of the recipient pickers: a modal dialog whose tabs list the account's contacts and,
// optionally, its groups, from the signed-in state's shared cache, with buttons to add, change
// and delete them on the web service.
#pragma once

#include "afxcmn.h"
#include "contacts/CachedCollection.h"
#include "shared/TabPageCtrl.h"
#include "shared/WindowBases.h"

// A list box whose entries each hold a reference to the object they stand for (or none).
class CEntryListBox : public CListBox {
public:
    // Appends (index -1) or inserts the text with the object (one more reference); its index.
    int AddEntry(const char* text, IUnknown* object, int index = -1);
    // The entry's object (borrowed), or null.
    IUnknown* GetEntryObject(int index) const { return static_cast<IUnknown*>(GetItemDataPtr(index)); }
    // Changes an entry's text in place; its object stays.
    void SetEntryText(int index, const char* text);
    // Removes the entry and its reference.
    void RemoveEntry(int index);
    void RemoveAllEntries();
    // The entry whose object is the same as this one, or -1.
    int FindEntryObject(IUnknown* object) const;

protected:
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};

class CContactsAndGroupsDlg : public CDialogBase {
public:
    CContactsAndGroupsDlg(bool showGroups, UINT templateId, CWnd* parent);

    bool OnInitDialog() override;

    enum { kContactsTab = 0, kGroupsTab = 1 };

protected:
    void DoDataExchange(CDataExchange* dx) override;
    // The list of the selected tab (contacts or groups), or null on another tab.
    CEntryListBox* GetCurrentList();
    bool IsGroupsTab() const;
    void FillList(CEntryListBox& list, CCachedCollection& collection);

    afx_msg void OnNew();
    afx_msg void OnEdit();
    afx_msg void OnDelete();
    // Called after an entry was renamed or deleted on the service.
    virtual void OnItemRenamed(const CString& oldText, const CString& newText) {}
    virtual void OnItemDeleted(const CString& text) {}

    CComPtr<IContactService> m_service;
    CCachedCollection m_contacts{CCachedCollection::kContacts};
    CCachedCollection m_groups{CCachedCollection::kGroups};
    CTabPageCtrl m_tabs;
    CEntryListBox m_groupsList;
    CEntryListBox m_contactsList;
    bool m_showGroups;
    DECLARE_MESSAGE_MAP()
};
