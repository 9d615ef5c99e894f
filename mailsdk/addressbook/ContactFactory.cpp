#include "ContactFactory.h"

#include "MailErrors.h"
#include "resource.h"

CComPtr<IObjectCollection> CContactFactory::NewCollection() const {
    CComPtr<IObjectCollection> collection;
    CheckCall(collection.CoCreateInstance(CLSID_ObjectCollection, nullptr, CLSCTX_ALL), IDS_SDK_OBJECT_NOT_CREATED);
    return collection;
}

CComPtr<IContact> CContactFactory::NewContact() const {
    CComPtr<IContact> contact;
    CheckCall(contact.CoCreateInstance(CLSID_Contact, nullptr, CLSCTX_ALL), IDS_SDK_OBJECT_NOT_CREATED);
    contact->put_ContactType(CONTACT_TYPE_CONTACT);
    return contact;
}

void SetContactText(IContact* contact, ContactSetter setter, const char* ansiText) {
    SetContactText(contact, setter, WideFromAnsi(ansiText).c_str());
}

void SetContactText(IContact* contact, ContactSetter setter, const wchar_t* wideText) {
    CComBSTR text(wideText ? wideText : L"");
    (contact->*setter)(text);
}
