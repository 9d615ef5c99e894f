#include <windows.h>

#include "Contact.h"

#include "DataFields.h"
#include "ObjectPointer.h"

STDMETHODIMP CContact::get_ID(BSTR* pVal) {
    return GetText(Text(ContactField::ID), pVal);
}

STDMETHODIMP CContact::put_ID(BSTR newVal) {
    return PutText(Text(ContactField::ID), newVal);
}

STDMETHODIMP CContact::get_QuickName(BSTR* pVal) {
    return GetText(Text(ContactField::QuickName), pVal);
}

STDMETHODIMP CContact::put_QuickName(BSTR newVal) {
    return PutText(Text(ContactField::QuickName), newVal);
}

STDMETHODIMP CContact::get_FirstName(BSTR* pVal) {
    return GetText(Text(ContactField::FirstName), pVal);
}

STDMETHODIMP CContact::put_FirstName(BSTR newVal) {
    return PutText(Text(ContactField::FirstName), newVal);
}

STDMETHODIMP CContact::get_LastName(BSTR* pVal) {
    return GetText(Text(ContactField::LastName), pVal);
}

STDMETHODIMP CContact::put_LastName(BSTR newVal) {
    return PutText(Text(ContactField::LastName), newVal);
}

STDMETHODIMP CContact::get_TelephoneNumber(BSTR* pVal) {
    return GetText(Text(ContactField::TelephoneNumber), pVal);
}

STDMETHODIMP CContact::put_TelephoneNumber(BSTR newVal) {
    return PutText(Text(ContactField::TelephoneNumber), newVal);
}

STDMETHODIMP CContact::get_MobileNumber(BSTR* pVal) {
    return GetText(Text(ContactField::MobileNumber), pVal);
}

STDMETHODIMP CContact::put_MobileNumber(BSTR newVal) {
    return PutText(Text(ContactField::MobileNumber), newVal);
}

STDMETHODIMP CContact::get_StreetAddress1(BSTR* pVal) {
    return GetText(Text(ContactField::StreetAddress1), pVal);
}

STDMETHODIMP CContact::put_StreetAddress1(BSTR newVal) {
    return PutText(Text(ContactField::StreetAddress1), newVal);
}

STDMETHODIMP CContact::get_StreetAddress2(BSTR* pVal) {
    return GetText(Text(ContactField::StreetAddress2), pVal);
}

STDMETHODIMP CContact::put_StreetAddress2(BSTR newVal) {
    return PutText(Text(ContactField::StreetAddress2), newVal);
}

STDMETHODIMP CContact::get_Town(BSTR* pVal) {
    return GetText(Text(ContactField::Town), pVal);
}

STDMETHODIMP CContact::put_Town(BSTR newVal) {
    return PutText(Text(ContactField::Town), newVal);
}

STDMETHODIMP CContact::get_County(BSTR* pVal) {
    return GetText(Text(ContactField::County), pVal);
}

STDMETHODIMP CContact::put_County(BSTR newVal) {
    return PutText(Text(ContactField::County), newVal);
}

STDMETHODIMP CContact::get_Postcode(BSTR* pVal) {
    return GetText(Text(ContactField::Postcode), pVal);
}

STDMETHODIMP CContact::put_Postcode(BSTR newVal) {
    return PutText(Text(ContactField::Postcode), newVal);
}

STDMETHODIMP CContact::get_Country(BSTR* pVal) {
    return GetText(Text(ContactField::Country), pVal);
}

STDMETHODIMP CContact::put_Country(BSTR newVal) {
    return PutText(Text(ContactField::Country), newVal);
}

STDMETHODIMP CContact::get_EmailAddress(BSTR* pVal) {
    return GetText(Text(ContactField::EmailAddress), pVal);
}

STDMETHODIMP CContact::put_EmailAddress(BSTR newVal) {
    return PutText(Text(ContactField::EmailAddress), newVal);
}

STDMETHODIMP CContact::get_ContactType(CONTACT_TYPE* pVal) {
    return GetValue(m_type, pVal);
}

STDMETHODIMP CContact::put_ContactType(CONTACT_TYPE newVal) {
    return PutValue(m_type, newVal);
}

CContact* ContactFromObject(IUnknown* object) {
    return ImplementationFromObject<CContact, IContact>(object);
}
