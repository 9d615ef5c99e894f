// The modal dialog that adds a contact group to the account or changes one (name, description
// and members), on the web service.
#pragma once

#include "contacts/CachedCollection.h"
#include "shared/WindowBases.h"

class CGroupDlg : public CDialogBase {
public:
    // A new group when none is given; else that group (often the shared cached object).
    CGroupDlg(IContactGroup* group, CWnd* parent);

    // The group as the service now holds it: after IDOK, and also after Cancel when the
    // Members button had already stored a new group (see WasCreated).
    IContactGroup* GetGroup() const { return m_group; }
    // True when this dialog added a new group to the service, whatever the dialog returned:
    // the caller lists it, as the service has it and its name is taken.
    bool WasCreated() const { return m_created; }
    IObjectCollection* GetMembers() const { return m_members; }

    bool OnInitDialog() override;
    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    // Stores the group (added when new, else updated with the members); false when the name is
    // missing or the service refused (reported).
    bool Save();
    void FillMemberList();
    afx_msg void OnMembers();

    CComPtr<IContactGroup> m_group;
    CComPtr<IContactService> m_service;
    CComPtr<IObjectCollection> m_members;
    CString m_name, m_description;
    CListBox m_memberList;
    bool m_new;
    bool m_created = false;
    DECLARE_MESSAGE_MAP()
};
