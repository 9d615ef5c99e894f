// Reads the entries of one address book that have a mobile number into contacts: the contents
// table restricted to entries with a mobile number (read whole when the book finds that too
// complex), at most 1000 rows, one contact per distinct number.
#pragma once

#include <mapix.h>

#include <set>
#include <string>

#include "BookMap.h"
#include "ContactFactory.h"

class CBookReader {
public:
    static const ULONG kMaxRows = 1000;

    CBookReader(IAddrBook* addressBook, const CContactFactory& factory);

    // Adds the book's contacts to the collection; MAPI failures are raised.
    void Read(const CContainerEntry& book, IObjectCollection* collection) const;

private:
    // The mobile number of a row: its column, else the mail user's own property; empty when
    // neither has one or the entry cannot be read.
    std::string MobileNumber(IABContainer* container, const SRow& row) const;
    std::string MobileOfEntry(IABContainer* container, const SPropValue& entryID) const;
    void AddContact(const SRow& row, const std::string& mobile, IObjectCollection* collection) const;

    IAddrBook* m_addressBook;
    const CContactFactory& m_factory;
    SRestriction m_mobileExists;  // RES_EXIST on PR_MOBILE_TELEPHONE_NUMBER_A
};
