#include "contacts/SelectContactsDlg.h"

#include "resource.h"
#include "shared/Helpers.h"

#include <comsupp.h>

BEGIN_MESSAGE_MAP(CSelectContactsDlg, CContactsAndGroupsDlg)
    ON_BN_CLICKED(IDC_ADD_RECIPIENT, OnAdd)
    ON_BN_CLICKED(IDC_REMOVE_RECIPIENT, OnRemove)
    ON_LBN_DBLCLK(IDC_CONTACTS_LIST, OnAdd)
    ON_LBN_DBLCLK(IDC_GROUPS_LIST, OnAdd)
    ON_LBN_DBLCLK(IDC_RECIPIENTS_LIST, OnRemove)
END_MESSAGE_MAP()

static_assert(CSelectContactsDlg::IDD_SELECT_CONTACTS_ID == IDD_SELECT_CONTACTS, "the picker's template");

CSelectContactsDlg::CSelectContactsDlg(IObjectCollection* collection, CWnd* parent)
    : CContactsAndGroupsDlg(false, IDD_SELECT_CONTACTS, parent), m_collection(collection), m_collectionMode(true) {}

CSelectContactsDlg::CSelectContactsDlg(const char* recipients, CWnd* parent, UINT templateId)
    : CContactsAndGroupsDlg(true, templateId, parent), m_recipientsText(recipients), m_collectionMode(false) {}

bool CSelectContactsDlg::OnInitDialog() {
    CContactsAndGroupsDlg::OnInitDialog();
    if (!m_tabs.m_hWnd) return true;  // the dialog did not open
    m_recipientTabs.InsertItem(0, CResString(IDS_RECIPIENTS_TAB));
    m_recipientTabs.AddControl(&m_recipients, 0);
    m_recipientTabs.SetCurSel(0);
    m_loadPending = true;
    UpdateData(false);
    return true;
}

void CSelectContactsDlg::DoDataExchange(CDataExchange* dx) {
    CContactsAndGroupsDlg::DoDataExchange(dx);
    DDX_Control(dx, IDC_RECIPIENTS_LIST, m_recipients);
    DDX_Control(dx, IDC_RECIPIENTS_TABS, m_recipientTabs);
    if (dx->m_bSaveAndValidate) {
        if (!SaveRecipients()) dx->Fail();
    } else if (m_loadPending) {
        LoadRecipients();
        m_loadPending = false;
    }
    bool recipients = m_recipients.GetCount() > 0;
    // A group may be left without members: in collection mode an empty list is a valid answer.
    if (CWnd* ok = GetDlgItem(IDOK)) ok->EnableWindow(recipients || m_collectionMode);
    if (CWnd* remove = GetDlgItem(IDC_REMOVE_RECIPIENT)) remove->EnableWindow(recipients);
    CEntryListBox* list = GetCurrentList();
    if (CWnd* add = GetDlgItem(IDC_ADD_RECIPIENT)) add->EnableWindow(list && list->GetCount() > 0);
}

void CSelectContactsDlg::LoadRecipients() {
    if (!m_collectionMode) {
        CString rest = m_recipientsText;
        while (!rest.IsEmpty()) {
            int separator = rest.Find(';');
            CString piece = separator < 0 ? rest : rest.Left(separator);
            rest = separator < 0 ? CString() : rest.Mid(separator + 1);
            piece.Trim();
            if (!piece.IsEmpty()) AddRecipient(piece, nullptr, false);
        }
        return;
    }
    try {
        ForEachEntry(m_collection, [this](IDispatch* contact) { AddRecipient(GetEntryText(contact), contact, false); });
    } catch (const _com_error& error) {
        ReportComError(CResString(IDS_ENTRY_NOT_READ), error, true);
    }
}

bool CSelectContactsDlg::SaveRecipients() {
    if (!m_collectionMode) {
        CString text;
        for (int i = 0; i < m_recipients.GetCount(); ++i) {
            if (i > 0) text += "; ";
            text += m_recipients.GetText(i);
        }
        m_recipientsText = text;
        return true;
    }
    CComPtr<IObjectCollection> chosen = NewCollection();
    if (!chosen) return false;  // reported; the members stay as they were
    try {
        for (int i = 0; i < m_recipients.GetCount(); ++i) {
            CComPtr<IContact> contact;
            IUnknown* object = m_recipients.GetEntryObject(i);
            if (!object || FAILED(object->QueryInterface(IID_IContact, (void**)&contact))) continue;
            CComPtr<IDispatch> item;
            contact->QueryInterface(IID_IDispatch, (void**)&item);
            HR_CHECK_ON(chosen.p, IID_IObjectCollection, chosen->Add(item));
        }
    } catch (const _com_error& error) {
        ReportComError(CResString(IDS_ENTRY_NOT_READ), error, true);
        return false;
    }
    m_collection = chosen;
    return true;
}

CComPtr<IObjectCollection> CSelectContactsDlg::NewCollection() {
    return CreateSdkObject<IObjectCollection>(CLSID_ObjectCollection, "ObjectCollection");
}

bool CSelectContactsDlg::AddRecipient(const char* text, IUnknown* object, bool warn) {
    if (m_recipients.FindStringExact(-1, text) >= 0) {
        if (warn) {
            CString message;
            message.Format(CResString(IDS_ALREADY_A_RECIPIENT), text);
            AfxMessageBox(message, MB_ICONINFORMATION);
        }
        return false;
    }
    m_recipients.AddEntry(text, object);
    if (!m_loadPending) UpdateData(false);
    return true;
}

void CSelectContactsDlg::OnAdd() {
    CEntryListBox* list = GetCurrentList();
    int index = list ? list->GetCurSel() : LB_ERR;
    if (index < 0) return;
    IUnknown* entry = list->GetEntryObject(index);
    CString text;
    try {
        text = GetEntryText(entry);
    } catch (const _com_error& error) {
        ReportComError(CResString(IDS_ENTRY_NOT_READ), error, true);
        return;
    }
    AddRecipient(text, entry, true);
    m_recipients.SetCurSel(m_recipients.GetCount() - 1);
    UpdateData(false);
}

void CSelectContactsDlg::OnRemove() {
    int index = m_recipients.GetCurSel();
    if (index < 0) return;
    m_recipients.RemoveEntry(index);
    int count = m_recipients.GetCount();
    if (count > 0) m_recipients.SetCurSel(index < count ? index : count - 1);
    UpdateData(false);
}

void CSelectContactsDlg::OnItemRenamed(const CString& oldText, const CString& newText) {
    for (int i = 0; i < m_recipients.GetCount(); ++i)
        if (m_recipients.GetText(i).CompareNoCase(oldText) == 0) m_recipients.SetEntryText(i, newText);
}

void CSelectContactsDlg::OnItemDeleted(const CString& text) {
    for (int i = m_recipients.GetCount() - 1; i >= 0; --i)
        if (m_recipients.GetText(i).CompareNoCase(text) == 0) m_recipients.RemoveEntry(i);
    UpdateData(false);
}
