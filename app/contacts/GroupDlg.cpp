#include "contacts/GroupDlg.h"

#include "contacts/SelectContactsDlg.h"
#include "resource.h"
#include "shared/Helpers.h"

#include <comsupp.h>

BEGIN_MESSAGE_MAP(CGroupDlg, CDialogBase)
    ON_BN_CLICKED(IDC_GROUP_MEMBERS_BUTTON, OnMembers)
END_MESSAGE_MAP()

CGroupDlg::CGroupDlg(IContactGroup* group, CWnd* parent)
    : CDialogBase(IDD_GROUP, parent, IDI_PICKER), m_group(group), m_new(group == nullptr) {}

bool CGroupDlg::OnInitDialog() {
    CDialogBase::OnInitDialog();
    m_service = OpenContactService();
    if (!m_service) {
        EndDialog(IDCANCEL);
        return true;
    }
    if (!m_new) {
        try {
            m_name = ReadText(m_group.p, &IContactGroup::get_Name);
            m_description = ReadText(m_group.p, &IContactGroup::get_Description);
            UpdateData(false);
            CString id = GetEntryId(m_group);
            CComPtr<IObjectCollection> members;
            HR_CHECK_ON(m_service.p, IID_IContactService, m_service->GetGroupMembers(_bstr_t((const char*)id), &members));
            if (!members) _com_issue_error(E_POINTER);
            m_members = members;
            FillMemberList();
        } catch (const _com_error& error) {
            ReportComError(CResString(IDS_ENTRY_NOT_READ), error, true);
            EndDialog(IDCANCEL);
        }
    }
    return true;
}

void CGroupDlg::DoDataExchange(CDataExchange* dx) {
    CDialogBase::DoDataExchange(dx);
    DDX_Text(dx, IDC_GROUP_NAME, m_name);
    DDV_RequiredText(dx, m_name, IDS_GROUP_NAME_EMPTY);
    DDX_Text(dx, IDC_GROUP_DESCRIPTION, m_description);
    DDX_Control(dx, IDC_GROUP_MEMBERS, m_memberList);
}

void CGroupDlg::FillMemberList() {
    m_memberList.ResetContent();
    try {
        ForEachEntry(m_members, [this](IDispatch* member) { m_memberList.AddString(GetEntryText(member)); });
    } catch (const _com_error& error) {
        ReportComError(CResString(IDS_ENTRY_NOT_READ), error, true);
    }
}

bool CGroupDlg::Save() {
    if (!UpdateData(true)) return false;
    try {
        // The values go into a fresh group: the one the caller gave (shared by every window)
        // changes only after the service has taken them.
        CComPtr<IContactGroup> fresh = CreateSdkObject<IContactGroup>(CLSID_ContactGroup, "ContactGroup");
        if (!fresh) return false;
        HR_CHECK_ON(fresh.p, IID_IContactGroup, fresh->put_Name(_bstr_t((const char*)m_name)));
        HR_CHECK_ON(fresh.p, IID_IContactGroup, fresh->put_Description(_bstr_t((const char*)m_description)));
        if (m_new) {
            CComPtr<IObjectCollection> members = CreateSdkObject<IObjectCollection>(CLSID_ObjectCollection, "ObjectCollection");
            if (!members) return false;
            CComBSTR id;
            HR_CHECK_ON(m_service.p, IID_IContactService, m_service->AddGroup(fresh, _bstr_t(L""), &id));
            HR_CHECK_ON(fresh.p, IID_IContactGroup, fresh->put_ID(_bstr_t(CString(id).Wide().c_str())));
            m_group = fresh;
            m_members = members;
            m_new = false;
            m_created = true;
        } else {
            CComBSTR id, memberIds;
            CONTACT_GROUP_TYPE type = CONTACT_GROUP_TYPE_GROUP;
            HR_CHECK_ON(m_group.p, IID_IContactGroup, m_group->get_ID(&id));
            HR_CHECK_ON(m_group.p, IID_IContactGroup, m_group->get_GroupType(&type));
            HR_CHECK_ON(fresh.p, IID_IContactGroup, fresh->put_ID(id));
            HR_CHECK_ON(fresh.p, IID_IContactGroup, fresh->put_GroupType(type));
            if (m_members) HR_CHECK_ON(m_members.p, IID_IObjectCollection, m_members->get_IDs(&memberIds));
            HR_CHECK_ON(m_service.p, IID_IContactService, m_service->UpdateGroup(fresh, memberIds));
            HR_CHECK_ON(m_group.p, IID_IContactGroup, m_group->put_Name(_bstr_t((const char*)m_name)));
            HR_CHECK_ON(m_group.p, IID_IContactGroup, m_group->put_Description(_bstr_t((const char*)m_description)));
        }
        return true;
    } catch (const _com_error& error) {
        ReportComErrorId(m_new ? IDS_GROUP_NOT_ADDED : IDS_GROUP_NOT_UPDATED, error, true);
        return false;
    }
}

void CGroupDlg::OnOK() {
    if (Save()) EndDialog(IDOK);
}

void CGroupDlg::OnMembers() {
    if (!Save()) return;  // a new group is stored here, without members
    CSelectContactsDlg picker(m_members, this);
    picker.DoModal();
    // After Cancel the picker's collection is the one it was given.
    if (picker.GetCollection()) m_members = picker.GetCollection();
    FillMemberList();
}
