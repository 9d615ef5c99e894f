#include "contacts/ContactsAndGroupsDlg.h"

#include "contacts/ContactDlg.h"
#include "contacts/GroupDlg.h"
#include "resource.h"
#include "shared/Helpers.h"

#include <comsupp.h>

// ---------------------------------------------------------------------------------------------
// CEntryListBox.

BEGIN_MESSAGE_MAP(CEntryListBox, CListBox)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

int CEntryListBox::AddEntry(const char* text, IUnknown* object, int index) {
    int entry = InsertString(index, text);
    if (entry < 0) return entry;
    SetItemDataPtr(entry, CComPtr<IUnknown>(object).Detach());  // the entry's reference
    return entry;
}

void CEntryListBox::SetEntryText(int index, const char* text) {
    if (index < 0 || index >= GetCount()) return;
    void* object = GetItemDataPtr(index);
    bool selected = GetCurSel() == index;
    DeleteString(index);
    InsertString(index, text);
    SetItemDataPtr(index, object);  // the reference moves with the entry
    if (selected) SetCurSel(index);
}

void CEntryListBox::RemoveEntry(int index) {
    if (index < 0 || index >= GetCount()) return;
    CComPtr<IUnknown> object;
    object.Attach(GetEntryObject(index));  // the entry's reference, released with the entry
    DeleteString(index);
}

void CEntryListBox::RemoveAllEntries() {
    for (int i = GetCount() - 1; i >= 0; --i) RemoveEntry(i);
}

int CEntryListBox::FindEntryObject(IUnknown* object) const {
    for (int i = 0; i < GetCount(); ++i)
        if (IsSameObject(GetEntryObject(i), object)) return i;
    return -1;
}

void CEntryListBox::OnDestroy() {
    RemoveAllEntries();
    Default();
}

// ---------------------------------------------------------------------------------------------
// CContactsAndGroupsDlg.

BEGIN_MESSAGE_MAP(CContactsAndGroupsDlg, CDialogBase)
    ON_LBN_DBLCLK(IDC_CONTACTS_LIST, OnEdit)
    ON_LBN_DBLCLK(IDC_GROUPS_LIST, OnEdit)
    ON_BN_CLICKED(IDC_NEW_ENTRY, OnNew)
    ON_BN_CLICKED(IDC_EDIT_ENTRY, OnEdit)
    ON_BN_CLICKED(IDC_DELETE_ENTRY, OnDelete)
END_MESSAGE_MAP()

CContactsAndGroupsDlg::CContactsAndGroupsDlg(bool showGroups, UINT templateId, CWnd* parent)
    : CDialogBase(templateId, parent, IDI_PICKER), m_showGroups(showGroups) {}

bool CContactsAndGroupsDlg::OnInitDialog() {
    // The service and the cached lists first: without them the dialog does not open.
    m_service = OpenContactService();
    if (!m_service || !m_contacts.Fetch(m_service) || (m_showGroups && !m_groups.Fetch(m_service))) {
        EndDialog(IDCANCEL);
        return true;
    }
    CDialogBase::OnInitDialog();  // binds the controls
    FillList(m_contactsList, m_contacts);
    if (m_showGroups) FillList(m_groupsList, m_groups);
    m_tabs.InsertItem(kContactsTab, CResString(IDS_CONTACTS_TAB));
    m_tabs.AddControl(&m_contactsList, kContactsTab);
    if (m_showGroups) {
        m_tabs.InsertItem(kGroupsTab, CResString(IDS_GROUPS_TAB));
        m_tabs.AddControl(&m_groupsList, kGroupsTab);
    } else {
        m_groupsList.ShowWindow(SW_HIDE);
    }
    m_tabs.SetCurSel(kContactsTab);
    UpdateData(false);
    return true;
}

void CContactsAndGroupsDlg::FillList(CEntryListBox& list, CCachedCollection& collection) {
    list.RemoveAllEntries();
    try {
        ForEachEntry(collection.Get(), [&list](IDispatch* entry) { list.AddEntry(GetEntryText(entry), entry); });
    } catch (const _com_error& error) {
        ReportComError(CResString(IDS_ENTRY_NOT_READ), error, true);
    }
    if (list.GetCount() > 0) list.SetCurSel(0);
}

void CContactsAndGroupsDlg::DoDataExchange(CDataExchange* dx) {
    CDialogBase::DoDataExchange(dx);
    DDX_Control(dx, IDC_SOURCE_TABS, m_tabs);
    DDX_Control(dx, IDC_GROUPS_LIST, m_groupsList);
    DDX_Control(dx, IDC_CONTACTS_LIST, m_contactsList);
    CEntryListBox* list = GetCurrentList();
    bool entries = list && list->GetCount() > 0;
    if (CWnd* edit = GetDlgItem(IDC_EDIT_ENTRY)) edit->EnableWindow(entries);
    if (CWnd* remove = GetDlgItem(IDC_DELETE_ENTRY)) remove->EnableWindow(entries);
}

bool CContactsAndGroupsDlg::IsGroupsTab() const {
    return m_showGroups && m_tabs.GetCurSel() == kGroupsTab;
}

CEntryListBox* CContactsAndGroupsDlg::GetCurrentList() {
    if (!m_tabs.m_hWnd) return nullptr;
    int tab = m_tabs.GetCurSel();
    if (tab == kContactsTab) return &m_contactsList;
    if (IsGroupsTab()) return &m_groupsList;
    return nullptr;
}

void CContactsAndGroupsDlg::OnNew() {
    CEntryListBox* list = GetCurrentList();
    if (!list) return;
    CComPtr<IDispatch> added;
    if (IsGroupsTab()) {
        CGroupDlg dialog(nullptr, this);
        INT_PTR result = dialog.DoModal();
        // A group the Members button stored stays on the service even when cancelled.
        if ((result == IDOK || dialog.WasCreated()) && dialog.GetGroup()) added = dialog.GetGroup();
    } else {
        CContactDlg dialog(nullptr, this);
        if (dialog.DoModal() == IDOK && dialog.GetContact()) added = dialog.GetContact();
    }
    if (!added) return;
    CCachedCollection& collection = IsGroupsTab() ? m_groups : m_contacts;
    try {
        if (!collection.IndexOf(added)) collection.Add(added);
        int entry = list->AddEntry(GetEntryText(added), added);
        list->SetCurSel(entry);
    } catch (const _com_error& error) {
        ReportComError(CResString(IDS_ENTRY_NOT_READ), error, true);
    }
    UpdateData(false);
}

void CContactsAndGroupsDlg::OnEdit() {
    CEntryListBox* list = GetCurrentList();
    int index = list ? list->GetCurSel() : LB_ERR;
    if (index < 0) return;
    // The entry's own object: whatever the cache went through meanwhile, this is the one chosen.
    CComPtr<IUnknown> entry = list->GetEntryObject(index);
    if (!entry) return;
    CString oldText = list->GetText(index);
    INT_PTR result;
    if (IsGroupsTab()) {
        CComPtr<IContactGroup> group;
        entry->QueryInterface(IID_IContactGroup, (void**)&group);
        CGroupDlg dialog(group, this);
        result = dialog.DoModal();
    } else {
        CComPtr<IContact> contact;
        entry->QueryInterface(IID_IContact, (void**)&contact);
        CContactDlg dialog(contact, this);
        result = dialog.DoModal();
    }
    if (result != IDOK) return;
    CString newText;
    try {
        newText = GetEntryText(entry);
    } catch (const _com_error& error) {
        ReportComError(CResString(IDS_ENTRY_NOT_READ), error, true);
        return;
    }
    // The list may have changed under a nested dialog: the entry is found by its object.
    int now = list->FindEntryObject(entry);
    if (now >= 0) {
        list->SetEntryText(now, newText);
        list->SetCurSel(now);
    }
    OnItemRenamed(oldText, newText);
}

void CContactsAndGroupsDlg::OnDelete() {
    CEntryListBox* list = GetCurrentList();
    int index = list ? list->GetCurSel() : LB_ERR;
    if (index < 0) return;
    CComPtr<IUnknown> entry = list->GetEntryObject(index);
    if (!entry) return;
    if (AfxMessageBox(IDS_CONFIRM_DELETE_ENTRY, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    bool group = IsGroupsTab();
    CString text = list->GetText(index);
    try {
        _bstr_t id((const char*)GetEntryId(entry));
        if (group) {
            HR_CHECK_ON(m_service.p, IID_IContactService, m_service->DeleteGroup(id, MissingArgument()));
        } else {
            HR_CHECK_ON(m_service.p, IID_IContactService, m_service->DeleteContact(id));
        }
    } catch (const _com_error& error) {
        ReportComErrorId(IDS_ENTRY_NOT_DELETED, error, true);
        return;  // the list and the cache stay as they were
    }
    (group ? m_groups : m_contacts).Remove(entry);
    index = list->FindEntryObject(entry);
    if (index >= 0) {
        list->RemoveEntry(index);
        int count = list->GetCount();
        if (count > 0) list->SetCurSel(index < count ? index : count - 1);
    }
    OnItemDeleted(text);
    UpdateData(false);
}
