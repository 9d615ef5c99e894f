// The modal dialog that adds a contact to the account or changes one, on the web service.
#pragma once

#include "contacts/CachedCollection.h"
#include "shared/WindowBases.h"

class CContactDlg : public CDialogBase {
public:
    // A new contact when none is given; else that contact (often the shared cached object).
    CContactDlg(IContact* contact, CWnd* parent);

    // After IDOK: the contact as the service now holds it (a new one with its ID). An edited
    // contact is changed only once the service has accepted the change.
    IContact* GetContact() const { return m_contact; }
    bool IsNew() const { return m_new; }

    bool OnInitDialog() override;
    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void FillCountries();
    // The country the contact will have: the one picked, or the one it had when the user left
    // the list as it opened on a value that is not one of the list's codes.
    void ExchangeCountry(CDataExchange* dx);
    bool ReadContact();
    // Writes the twelve fields into the contact, in the order the service expects them.
    void WriteFields(IContact* contact) const;

    CString m_quickName, m_firstName, m_lastName, m_telephoneNumber, m_mobileNumber, m_emailAddress;
    CString m_streetAddress1, m_streetAddress2, m_town, m_county, m_postcode;
    CString m_country = "GB";
    bool m_new;
    CComPtr<IContactService> m_service;
    CComPtr<IContact> m_contact;
    CComboBox m_countries;
    // The combo's entry that stands for a stored value outside the list (null item data), or -1.
    int m_unlistedEntry = -1;
};
