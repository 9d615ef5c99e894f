// Contact: the contact record of the account's address book, a plain property bag. Besides
// IContact it serves IObjectWithID (the object collection's IDs) and IObjectPointer (the
// contact service's way to its fields). It does not log.
#pragma once

#include <windows.h>

#include "ObjectPointer.h"
#include "SdkObject.h"

// The text fields of a contact, in record order.
enum class ContactField {
    ID,
    QuickName,
    FirstName,
    LastName,
    TelephoneNumber,
    MobileNumber,
    StreetAddress1,
    StreetAddress2,
    Town,
    County,
    Country,
    Postcode,
    EmailAddress,
    Count
};

class CContact : public CSdkObject<CContact, &CLSID_Contact, IContact, &IID_IContact, 111>,
                 public IObjectWithID,
                 public CObjectPointerImpl<CContact> {
public:
    BEGIN_COM_MAP(CContact)
    COM_INTERFACE_ENTRY(IContact)
    COM_INTERFACE_ENTRY2(IDispatch, IContact)
    COM_INTERFACE_ENTRY(ISupportErrorInfo)
    COM_INTERFACE_ENTRY(IObjectWithID)
    COM_INTERFACE_ENTRY(IObjectPointer)
    END_COM_MAP()

    // IContact; get_ID and put_ID also serve IObjectWithID.
    STDMETHOD(get_ID)(BSTR *pVal) override;
    STDMETHOD(put_ID)(BSTR newVal) override;
    STDMETHOD(get_QuickName)(BSTR *pVal) override;
    STDMETHOD(put_QuickName)(BSTR newVal) override;
    STDMETHOD(get_FirstName)(BSTR *pVal) override;
    STDMETHOD(put_FirstName)(BSTR newVal) override;
    STDMETHOD(get_LastName)(BSTR *pVal) override;
    STDMETHOD(put_LastName)(BSTR newVal) override;
    STDMETHOD(get_TelephoneNumber)(BSTR *pVal) override;
    STDMETHOD(put_TelephoneNumber)(BSTR newVal) override;
    STDMETHOD(get_MobileNumber)(BSTR *pVal) override;
    STDMETHOD(put_MobileNumber)(BSTR newVal) override;
    STDMETHOD(get_StreetAddress1)(BSTR *pVal) override;
    STDMETHOD(put_StreetAddress1)(BSTR newVal) override;
    STDMETHOD(get_StreetAddress2)(BSTR *pVal) override;
    STDMETHOD(put_StreetAddress2)(BSTR newVal) override;
    STDMETHOD(get_Town)(BSTR *pVal) override;
    STDMETHOD(put_Town)(BSTR newVal) override;
    STDMETHOD(get_County)(BSTR *pVal) override;
    STDMETHOD(put_County)(BSTR newVal) override;
    STDMETHOD(get_Postcode)(BSTR *pVal) override;
    STDMETHOD(put_Postcode)(BSTR newVal) override;
    STDMETHOD(get_Country)(BSTR *pVal) override;
    STDMETHOD(put_Country)(BSTR newVal) override;
    STDMETHOD(get_EmailAddress)(BSTR *pVal) override;
    STDMETHOD(put_EmailAddress)(BSTR newVal) override;
    STDMETHOD(get_ContactType)(CONTACT_TYPE *pVal) override;
    STDMETHOD(put_ContactType)(CONTACT_TYPE newVal) override;

    // The fields as they stand (null when unset), for the contact service.
    BSTR Field(ContactField field) const { return m_text[static_cast<int>(field)].m_str; }
    CONTACT_TYPE Type() const { return m_type; }

private:
    CComBSTR& Text(ContactField field) { return m_text[static_cast<int>(field)]; }

    CComBSTR m_text[static_cast<int>(ContactField::Count)];
    CONTACT_TYPE m_type = CONTACT_TYPE_CONTACT;
};

// The contact behind object when it is one of this server's contacts; raises 5018 (E_FAIL) for
// anything else, a group included. No reference is added.
CContact* ContactFromObject(IUnknown* object);
