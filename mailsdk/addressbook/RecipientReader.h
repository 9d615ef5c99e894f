// Turns the recipients chosen in the address dialog into contacts: each entry is opened by its
// entry identifier and its text properties fill the contact. An entry that cannot be read is
// logged and left out.
#pragma once

#include <mapix.h>

#include "ContactFactory.h"

class CRecipientReader {
public:
    CRecipientReader(IAddrBook* addressBook, const CContactFactory& factory) : m_addressBook(addressBook), m_factory(factory) {}

    // getContacts: a collection of the readable entries' contacts, in list order.
    CComPtr<IObjectCollection> Read(const ADRLIST& recipients) const;
    // makeContact: the contact of one entry; null (and logged) when it cannot be read.
    CComPtr<IContact> MakeContact(const ADRENTRY& recipient) const;

    // Copies one text property into the contact field it maps to; other properties are ignored.
    static void ApplyProperty(IContact* contact, const SPropValue& value);

private:
    // Opens the entry by its PR_ENTRYID and copies its properties; any result but S_OK
    // (warnings included) is a failure.
    HRESULT FillContact(const ADRENTRY& recipient, IContact* contact) const;

    IAddrBook* m_addressBook;
    const CContactFactory& m_factory;
};
