// The windows that keep the account's contacts and contact groups on the web service: a
// sortable report list of the signed-in state's cached collection, with new, edit, delete,
// send and reload. The base holds everything both share; each window brings its columns, its
// dialog and its delete call.
#pragma once

#include "contacts/CachedCollection.h"
#include "lists/TkListView.h"
#include "shared/WindowBases.h"

class CManageContactsAndGroupsFrameBase : public CFrameBase {
    DECLARE_DYNAMIC(CManageContactsAndGroupsFrameBase)
public:
    // The row that is selected, or -1.
    int GetSelectedRow() const;
    // The entry a row stands for (the row holds a reference of its own), or null.
    IDispatch* GetRowEntry(int row) const;
    CTkListView& GetList() { return m_list; }
    CTkFlatHeaderCtrl& GetHeader() { return m_header; }
    const CCachedCollection& GetItems() const { return m_items; }

protected:
    explicit CManageContactsAndGroupsFrameBase(CCachedCollection::Kind kind) : m_items(kind) {}

    bool CreateClientView() override;
    virtual void SetupColumns() = 0;
    // Rebuilds the rows from the cached collection (fetched when nothing is cached).
    virtual void FillList();
    virtual void NewItem() = 0;
    virtual void EditItem(int row) = 0;
    // Deletes the row's entry on the service, then the row and the cache's entry (found by
    // identity). A refused delete is reported and changes nothing.
    virtual void DeleteItem(int row);
    // Forgets the cached collection and fills again from the service.
    virtual void ReloadList();

    // The texts of a row's columns from its entry; throws _com_error.
    virtual void SetRowTexts(int row, IDispatch* entry) = 0;
    // The service call that deletes an entry by its ID; throws _com_error.
    virtual void DeleteOnService(const CString& id) = 0;

    // Appends a row for the entry, which the row keeps a reference to; the row's index.
    int AppendRow(IDispatch* entry);
    void UpdateRow(int row);
    // A new entry the service holds now: into the cache, then a selected row. Without a
    // collection (a failed fill) the list is filled again from the service instead.
    void AddNewEntry(IDispatch* entry);

    afx_msg void OnDestroy();
    afx_msg void OnNewItem() { NewItem(); }
    afx_msg void OnEditItem();
    afx_msg void OnDeleteItem();
    afx_msg void OnSendToEntry();
    afx_msg void OnReloadList() { ReloadList(); }
    afx_msg void OnUpdateNeedsSelection(CCmdUI* cmdUI);
    // The window's own command (the one that opens a window of its kind): its toolbar button
    // stands at the far end of its row. Nothing else of the command's state is touched.
    afx_msg void OnUpdateOwnCommand(CCmdUI* cmdUI);
    afx_msg void OnListClick(NMHDR*, LRESULT* result) { *result = 0; }
    afx_msg void OnListDoubleClick(NMHDR*, LRESULT* result);
    afx_msg void OnRowDeleted(NMHDR* header, LRESULT* result);
    afx_msg void OnHeaderClick(NMHDR* header, LRESULT* result);

    CComPtr<IContactService> m_service;
    CCachedCollection m_items;
    int m_nSortColumn = -1;
    bool m_bAscending = true;
    CTkListView m_list;
    CTkFlatHeaderCtrl m_header;
    DECLARE_MESSAGE_MAP()
};

class CManageContactsFrame : public CManageContactsAndGroupsFrameBase {
    DECLARE_DYNCREATE(CManageContactsFrame)
public:
    CManageContactsFrame() : CManageContactsAndGroupsFrameBase(CCachedCollection::kContacts) {}
    UINT GetBarResourceId(int kind) override;

protected:
    void SetupColumns() override;
    void NewItem() override;
    void EditItem(int row) override;
    void SetRowTexts(int row, IDispatch* entry) override;
    void DeleteOnService(const CString& id) override;
    DECLARE_MESSAGE_MAP()
};

class CManageGroupsFrame : public CManageContactsAndGroupsFrameBase {
    DECLARE_DYNCREATE(CManageGroupsFrame)
public:
    CManageGroupsFrame() : CManageContactsAndGroupsFrameBase(CCachedCollection::kGroups) {}
    UINT GetBarResourceId(int kind) override;

protected:
    void SetupColumns() override;
    void NewItem() override;
    void EditItem(int row) override;
    void SetRowTexts(int row, IDispatch* entry) override;
    void DeleteOnService(const CString& id) override;
    DECLARE_MESSAGE_MAP()
};
