#include "contacts/ManageContactsFrames.h"

#include "commandbars/TkCommandBars.h"
#include "contacts/ContactDlg.h"
#include "contacts/GroupDlg.h"
#include "res/resource.h"
#include "shared/Helpers.h"
#include "startup/MessengerApp.h"

#include <comsupp.h>

namespace {
const UINT kListId = AFX_IDW_PANE_FIRST;
const int kColumnWidth = 150;

// The entry's interface, or null.
template <class T>
CComPtr<T> Query(IUnknown* entry, REFIID iid) {
    CComPtr<T> result;
    if (entry) entry->QueryInterface(iid, (void**)&result);
    return result;
}
}  // namespace

IMPLEMENT_DYNAMIC(CManageContactsAndGroupsFrameBase, CFrameBase)

BEGIN_MESSAGE_MAP(CManageContactsAndGroupsFrameBase, CFrameBase)
    ON_WM_DESTROY()
    ON_COMMAND(ID_NEW_ENTRY, OnNewItem)
    ON_COMMAND(ID_EDIT_ENTRY, OnEditItem)
    ON_COMMAND(ID_DELETE_ENTRY, OnDeleteItem)
    ON_COMMAND(ID_SEND_TO_CONTACT, OnSendToEntry)
    ON_COMMAND(ID_SEND_TO_GROUP, OnSendToEntry)
    ON_COMMAND(ID_RELOAD_LIST, OnReloadList)
    ON_UPDATE_COMMAND_UI(ID_EDIT_ENTRY, OnUpdateNeedsSelection)
    ON_UPDATE_COMMAND_UI(ID_DELETE_ENTRY, OnUpdateNeedsSelection)
    ON_UPDATE_COMMAND_UI(ID_SEND_TO_CONTACT, OnUpdateNeedsSelection)
    ON_UPDATE_COMMAND_UI(ID_SEND_TO_GROUP, OnUpdateNeedsSelection)
    ON_NOTIFY(NM_CLICK, kListId, OnListClick)
    ON_NOTIFY(NM_DBLCLK, kListId, OnListDoubleClick)
    ON_NOTIFY(LVN_DELETEITEM, kListId, OnRowDeleted)
    ON_NOTIFY(HDN_ITEMCLICKW, 0, OnHeaderClick)
    ON_NOTIFY(HDN_ITEMCLICKA, 0, OnHeaderClick)
END_MESSAGE_MAP()

bool CManageContactsAndGroupsFrameBase::CreateClientView() {
    if (!m_list.CreateEx(WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL, CRect(0, 0, 0, 0), this,
                         kListId))
        return false;
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_FLATSB);
    if (m_header.SubclassWindow(m_list.GetHeaderHwnd())) {
        m_header.SetBoldFont(false);
        m_header.ShowSortArrow(true);
    }
    m_service = OpenContactService();
    if (!m_service) return false;
    SetupColumns();
    FillList();
    return true;
}

void CManageContactsAndGroupsFrameBase::OnDestroy() {
    if (m_list.m_hWnd) m_list.DeleteAllItems();  // each row lets go of its entry
    CFrameBase::OnDestroy();
}

int CManageContactsAndGroupsFrameBase::GetSelectedRow() const {
    return m_list.m_hWnd ? m_list.GetNextItem(-1, LVNI_SELECTED) : -1;
}

IDispatch* CManageContactsAndGroupsFrameBase::GetRowEntry(int row) const {
    return row < 0 ? nullptr : reinterpret_cast<IDispatch*>(m_list.GetItemData(row));
}

int CManageContactsAndGroupsFrameBase::AppendRow(IDispatch* entry) {
    int row = m_list.InsertItem(m_list.GetItemCount(), "");
    if (row < 0) return -1;
    // The row's reference, released when the row goes (LVN_DELETEITEM).
    m_list.SetItemData(row, (DWORD_PTR)CComPtr<IDispatch>(entry).Detach());
    SetRowTexts(row, entry);
    return row;
}

void CManageContactsAndGroupsFrameBase::UpdateRow(int row) {
    try {
        SetRowTexts(row, GetRowEntry(row));
    } catch (const _com_error& error) {
        ReportComErrorId(IDS_ENTRY_NOT_READ, error, true);
    }
}

void CManageContactsAndGroupsFrameBase::FillList() {
    m_list.DeleteAllItems();
    if (!m_items.Fetch(m_service)) return;  // the failure was shown; a reload tries again
    try {
        for (long i = 1; i <= m_items.Count(); ++i) AppendRow(m_items.Item(i));
    } catch (const _com_error& error) {
        ReportComErrorId(IDS_ENTRY_NOT_READ, error, true);
    }
}

void CManageContactsAndGroupsFrameBase::ReloadList() {
    m_items.Reload();
    FillList();
}

void CManageContactsAndGroupsFrameBase::AddNewEntry(IDispatch* entry) {
    if (!entry) return;
    int row = -1;
    try {
        if (m_items) {
            if (!m_items.IndexOf(entry)) m_items.Add(entry);
        } else {
            // No collection to add to (the last fill failed): the service's list has it now.
            ReloadList();
            CString id = GetEntryId(entry);
            for (int i = 0; i < m_list.GetItemCount() && row < 0; ++i)
                if (GetEntryId(GetRowEntry(i)) == id) row = i;
        }
        if (row < 0) row = AppendRow(entry);
    } catch (const _com_error& error) {
        ReportComErrorId(IDS_ENTRY_NOT_READ, error, true);
    }
    if (row >= 0) m_list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void CManageContactsAndGroupsFrameBase::DeleteItem(int row) {
    CComPtr<IDispatch> entry = GetRowEntry(row);
    if (!entry) return;
    try {
        DeleteOnService(GetEntryId(entry));
    } catch (const _com_error& error) {
        ReportComErrorId(IDS_ENTRY_NOT_DELETED, error, true);
        return;
    }
    m_list.DeleteItem(row);
    m_items.Remove(entry);  // by identity: the rows may be sorted and others change the cache
}

void CManageContactsAndGroupsFrameBase::OnEditItem() {
    int row = GetSelectedRow();
    if (row >= 0) EditItem(row);
}

void CManageContactsAndGroupsFrameBase::OnDeleteItem() {
    int row = GetSelectedRow();
    if (row < 0) return;
    if (AfxMessageBox(IDS_CONFIRM_DELETE_ROW, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    DeleteItem(row);
}

void CManageContactsAndGroupsFrameBase::OnSendToEntry() {
    int row = GetSelectedRow();
    if (row < 0) return;
    CString recipients = m_list.GetItemText(row, 0);
    if (auto* app = dynamic_cast<CMessengerApp*>(AfxGetApp())) app->SendSMS(recipients);
}

void CManageContactsAndGroupsFrameBase::OnUpdateOwnCommand(CCmdUI* cmdUI) {
    CTkControl* control =
        m_pCommandBars ? m_pCommandBars->FindControl(TK_CONTROL_TYPE_BUTTON, (int)cmdUI->m_nID, true, true) : nullptr;
    if (!control || (control->m_nFlags & TK_CONTROL_FLAG_RIGHT_ALIGN)) return;
    control->m_nFlags |= TK_CONTROL_FLAG_RIGHT_ALIGN;
    control->RequestParentLayout();
}

void CManageContactsAndGroupsFrameBase::OnUpdateNeedsSelection(CCmdUI* cmdUI) {
    cmdUI->Enable(m_list.m_hWnd && GetSelectedRow() >= 0);
}

void CManageContactsAndGroupsFrameBase::OnListDoubleClick(NMHDR*, LRESULT* result) {
    OnEditItem();
    *result = 0;
}

void CManageContactsAndGroupsFrameBase::OnRowDeleted(NMHDR* header, LRESULT* result) {
    auto* row = reinterpret_cast<NMLISTVIEW*>(header);
    CComPtr<IDispatch> entry;
    entry.Attach(reinterpret_cast<IDispatch*>(row->lParam));  // the row's reference goes with it
    *result = 0;
}

void CManageContactsAndGroupsFrameBase::OnHeaderClick(NMHDR* notify, LRESULT* result) {
    *result = 0;
    auto* click = reinterpret_cast<NMHEADERW*>(notify);
    bool ascending;
    if (click->iButton == 0) {
        ascending = click->iItem == m_nSortColumn ? !m_bAscending : true;
    } else if (click->iButton == 1) {
        ascending = m_header.GetSortDirection() != 0;  // the header's own sort commands
    } else {
        return;
    }
    m_nSortColumn = click->iItem;
    m_bAscending = ascending;
    m_header.SetSortImage(m_nSortColumn, m_bAscending);
    CTkListSorter(&m_list, m_nSortColumn).Sort(m_bAscending, CTkListSorter::kText);
    m_list.Invalidate();
}

// ---------------------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CManageContactsFrame, CManageContactsAndGroupsFrameBase)

BEGIN_MESSAGE_MAP(CManageContactsFrame, CManageContactsAndGroupsFrameBase)
    ON_UPDATE_COMMAND_UI(ID_CONTACTS, OnUpdateOwnCommand)
END_MESSAGE_MAP()

UINT CManageContactsFrame::GetBarResourceId(int) {
    return IDR_CONTACTS_WINDOW;
}

void CManageContactsFrame::SetupColumns() {
    const UINT headings[] = {IDS_COLUMN_QUICK_NAME, IDS_COLUMN_MOBILE_NUMBER, IDS_COLUMN_FIRST_NAME,
                             IDS_COLUMN_LAST_NAME};
    for (UINT heading : headings) m_list.Helper().AddColumn(CResString(heading), LVCFMT_LEFT, kColumnWidth);
}

void CManageContactsFrame::SetRowTexts(int row, IDispatch* entry) {
    CComPtr<IContact> contact = Query<IContact>(entry, IID_IContact);
    if (!contact) _com_issue_error(E_NOINTERFACE);
    m_list.SetItemText(row, 0, ReadText(contact.p, &IContact::get_QuickName));
    m_list.SetItemText(row, 1, ReadText(contact.p, &IContact::get_MobileNumber));
    m_list.SetItemText(row, 2, ReadText(contact.p, &IContact::get_FirstName));
    m_list.SetItemText(row, 3, ReadText(contact.p, &IContact::get_LastName));
}

void CManageContactsFrame::NewItem() {
    CContactDlg dialog(nullptr, this);
    if (dialog.DoModal() == IDOK) AddNewEntry(dialog.GetContact());
}

void CManageContactsFrame::EditItem(int row) {
    CComPtr<IContact> contact = Query<IContact>(GetRowEntry(row), IID_IContact);
    if (!contact) return;
    CContactDlg dialog(contact, this);
    if (dialog.DoModal() == IDOK) UpdateRow(row);
}

void CManageContactsFrame::DeleteOnService(const CString& id) {
    HR_CHECK_ON(m_service.p, IID_IContactService, m_service->DeleteContact(CComBSTR(id.Wide().c_str())));
}

// ---------------------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CManageGroupsFrame, CManageContactsAndGroupsFrameBase)

BEGIN_MESSAGE_MAP(CManageGroupsFrame, CManageContactsAndGroupsFrameBase)
    ON_UPDATE_COMMAND_UI(ID_GROUPS, OnUpdateOwnCommand)
END_MESSAGE_MAP()

UINT CManageGroupsFrame::GetBarResourceId(int) {
    return IDR_GROUPS_WINDOW;
}

void CManageGroupsFrame::SetupColumns() {
    m_list.Helper().AddColumn(CResString(IDS_COLUMN_GROUP_NAME), LVCFMT_LEFT, kColumnWidth);
    m_list.Helper().AddColumn(CResString(IDS_COLUMN_DESCRIPTION), LVCFMT_LEFT, 2 * kColumnWidth);
}

void CManageGroupsFrame::SetRowTexts(int row, IDispatch* entry) {
    CComPtr<IContactGroup> group = Query<IContactGroup>(entry, IID_IContactGroup);
    if (!group) _com_issue_error(E_NOINTERFACE);
    m_list.SetItemText(row, 0, ReadText(group.p, &IContactGroup::get_Name));
    m_list.SetItemText(row, 1, ReadText(group.p, &IContactGroup::get_Description));
}

void CManageGroupsFrame::NewItem() {
    CGroupDlg dialog(nullptr, this);
    // A group the Members button stored is listed even when the dialog was then cancelled.
    if (dialog.DoModal() == IDOK || dialog.WasCreated()) AddNewEntry(dialog.GetGroup());
}

void CManageGroupsFrame::EditItem(int row) {
    CComPtr<IContactGroup> group = Query<IContactGroup>(GetRowEntry(row), IID_IContactGroup);
    if (!group) return;
    CGroupDlg dialog(group, this);
    if (dialog.DoModal() == IDOK) UpdateRow(row);
}

void CManageGroupsFrame::DeleteOnService(const CString& id) {
    // IncludeMembers left out: the members stay.
    HR_CHECK_ON(m_service.p, IID_IContactService, m_service->DeleteGroup(CComBSTR(id.Wide().c_str()), MissingArgument()));
}
