#include "contacts/ContactDlg.h"

#include "contacts/CountryTable.h"
#include "resource.h"
#include "shared/Helpers.h"

#include <comsupp.h>

namespace {

using Getter = HRESULT (STDMETHODCALLTYPE IContact::*)(BSTR*);
using Setter = HRESULT (STDMETHODCALLTYPE IContact::*)(BSTR);

// The twelve fields the dialog edits, in the order they are read and written.
struct Field {
    CString CContactDlg::*member;
    Getter get;
    Setter put;
};

}  // namespace

// The table names protected members, so it is spelled out inside the member functions.
#define CONTACT_FIELDS(C)                                                                  \
    {                                                                                      \
        {&C::m_quickName, &IContact::get_QuickName, &IContact::put_QuickName},             \
        {&C::m_firstName, &IContact::get_FirstName, &IContact::put_FirstName},             \
        {&C::m_lastName, &IContact::get_LastName, &IContact::put_LastName},                \
        {&C::m_mobileNumber, &IContact::get_MobileNumber, &IContact::put_MobileNumber},    \
        {&C::m_telephoneNumber, &IContact::get_TelephoneNumber, &IContact::put_TelephoneNumber}, \
        {&C::m_emailAddress, &IContact::get_EmailAddress, &IContact::put_EmailAddress},    \
        {&C::m_streetAddress1, &IContact::get_StreetAddress1, &IContact::put_StreetAddress1}, \
        {&C::m_streetAddress2, &IContact::get_StreetAddress2, &IContact::put_StreetAddress2}, \
        {&C::m_town, &IContact::get_Town, &IContact::put_Town},                            \
        {&C::m_county, &IContact::get_County, &IContact::put_County},                      \
        {&C::m_country, &IContact::get_Country, &IContact::put_Country},                   \
        {&C::m_postcode, &IContact::get_Postcode, &IContact::put_Postcode},                \
    }

CContactDlg::CContactDlg(IContact* contact, CWnd* parent)
    : CDialogBase(IDD_CONTACT, parent, IDR_CONTACTS_WINDOW), m_new(contact == nullptr), m_contact(contact) {}

bool CContactDlg::OnInitDialog() {
    CDialogBase::OnInitDialog();  // the fields are empty and "GB" is chosen until the contact is read
    FillCountries();
    m_service = OpenContactService();
    if (!m_service) {
        EndDialog(IDCANCEL);
        return true;
    }
    if (!m_new) {
        if (!ReadContact()) {
            EndDialog(IDCANCEL);
            return true;
        }
        UpdateData(false);
    }
    return true;
}

void CContactDlg::FillCountries() {
    if (!m_countries.m_hWnd) m_countries.SubclassDlgItem(IDC_COUNTRY, this);
    m_countries.ResetContent();
    m_unlistedEntry = -1;
    for (int i = 0; i < kCountryCount; ++i) {
        int entry = m_countries.AddString(kCountries[i].name);
        m_countries.SetItemDataPtr(entry, const_cast<char*>(kCountries[i].code));
        if (::lstrcmpiA(kCountries[i].code, "GB") == 0) m_countries.SetCurSel(entry);
    }
}

bool CContactDlg::ReadContact() {
    const Field fields[] = CONTACT_FIELDS(CContactDlg);
    try {
        for (const Field& field : fields) this->*field.member = ReadText(m_contact.p, field.get);
        return true;
    } catch (const _com_error& error) {
        ReportComError(CResString(IDS_ENTRY_NOT_READ), error, true);
        return false;
    }
}

void CContactDlg::DoDataExchange(CDataExchange* dx) {
    CDialogBase::DoDataExchange(dx);
    DDX_Text(dx, IDC_QUICK_NAME, m_quickName);
    DDV_RequiredText(dx, m_quickName, IDS_QUICK_NAME_EMPTY);
    DDX_Text(dx, IDC_FIRST_NAME, m_firstName);
    DDX_Text(dx, IDC_LAST_NAME, m_lastName);
    DDX_Text(dx, IDC_TELEPHONE_NUMBER, m_telephoneNumber);
    DDX_Text(dx, IDC_MOBILE_NUMBER, m_mobileNumber);
    DDV_RequiredText(dx, m_mobileNumber, IDS_MOBILE_EMPTY);
    DDX_Text(dx, IDC_EMAIL_ADDRESS, m_emailAddress);
    DDX_Text(dx, IDC_STREET_ADDRESS1, m_streetAddress1);
    DDX_Text(dx, IDC_STREET_ADDRESS2, m_streetAddress2);
    DDX_Text(dx, IDC_TOWN, m_town);
    DDX_Text(dx, IDC_COUNTY, m_county);
    DDX_Text(dx, IDC_POSTCODE, m_postcode);
    ExchangeCountry(dx);
}

void CContactDlg::ExchangeCountry(CDataExchange* dx) {
    if (!m_countries.m_hWnd) return;
    if (dx->m_bSaveAndValidate) {
        int selected = m_countries.GetCurSel();
        const char* code = selected >= 0 ? static_cast<const char*>(m_countries.GetItemDataPtr(selected)) : nullptr;
        if (code) m_country = code;  // otherwise the stored value stays as it was
        return;
    }
    int index = FindCountryCode(m_country);
    if (index >= 0) {
        m_countries.SetCurSel(index + (m_unlistedEntry == 0 ? 1 : 0));
        return;
    }
    // A value outside the list (or none) is shown as it is and kept unless the user picks a
    // country.
    if (m_unlistedEntry < 0) {
        m_unlistedEntry = m_countries.InsertString(0, m_country);
        m_countries.SetItemDataPtr(m_unlistedEntry, nullptr);
    }
    m_countries.SetCurSel(m_unlistedEntry);
}

void CContactDlg::WriteFields(IContact* contact) const {
    const Field fields[] = CONTACT_FIELDS(CContactDlg);
    for (const Field& field : fields)
        HR_CHECK_ON(contact, IID_IContact, (contact->*field.put)(_bstr_t((const char*)(this->*field.member))));
}

void CContactDlg::OnOK() {
    if (!UpdateData(true)) return;  // a required field is empty: the dialog stays
    try {
        // The values go into a fresh contact: the one the caller gave (shared by every window)
        // changes only after the service has taken them.
        CComPtr<IContact> fresh = CreateSdkObject<IContact>(CLSID_Contact, "Contact");
        if (!fresh) return;
        WriteFields(fresh);
        if (m_new) {
            CComBSTR id;
            HR_CHECK_ON(m_service.p, IID_IContactService, m_service->AddContact(fresh, &id));
            HR_CHECK_ON(fresh.p, IID_IContact, fresh->put_ID(_bstr_t(CString(id).Wide().c_str())));
            m_contact = fresh;
        } else {
            CComBSTR id;
            CONTACT_TYPE type = CONTACT_TYPE_CONTACT;
            HR_CHECK_ON(m_contact.p, IID_IContact, m_contact->get_ID(&id));
            HR_CHECK_ON(m_contact.p, IID_IContact, m_contact->get_ContactType(&type));
            HR_CHECK_ON(fresh.p, IID_IContact, fresh->put_ID(id));
            HR_CHECK_ON(fresh.p, IID_IContact, fresh->put_ContactType(type));
            HR_CHECK_ON(m_service.p, IID_IContactService, m_service->UpdateContact(fresh));
            WriteFields(m_contact);
        }
    } catch (const _com_error& error) {
        ReportComErrorId(m_new ? IDS_CONTACT_NOT_ADDED : IDS_CONTACT_NOT_UPDATED, error, true);
        return;
    }
    EndDialog(IDOK);
}
