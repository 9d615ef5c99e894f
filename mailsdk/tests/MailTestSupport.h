// Helpers of the address-book server's tests: an apartment with a folder of books the provider
// reads, the server's object, and readers of its results.
#pragma once

#include <windows.h>

#include <atlbase.h>

#include <string>
#include <vector>

#include "ComTestSupport.h"
#include "MapiTestBooks.h"
#include "TarvockMailSDK.h"

namespace mailtest {

// A contact's fields, for comparisons.
struct ContactFields {
    std::wstring quickName, firstName, lastName, telephone, mobile, street1, street2, town, county, postcode, country, email;
    long contactType = -1;
};
ContactFields Fields(IDispatch* item);
// Every item of a collection (nulls included); Count is checked against the items read.
std::vector<CComPtr<IDispatch>> Items(IObjectCollection* collection);
// The mobile numbers of a collection's contacts, in order.
std::vector<std::wstring> Mobiles(IObjectCollection* collection);
// The names of an AddressBookNames result; fails the test when its shape is wrong.
std::vector<std::wstring> Names(const VARIANT& names);

// Each test: its own apartment, its own folder of books (TARVOCK_MAPI_ROOT), and the provider's
// counters taken before the server is created.
class AddressBookTest : public testsupport::ComTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the server's object through COM.
    HRESULT Create(CComPtr<IAddressBook>& addressBook);
    CComPtr<IAddressBook> Create();

    mapitest::CTestBooks m_books;
    TarvockMapiCounters m_baseline = {};

private:
    std::unique_ptr<mapitest::CEnvironment> m_root;
};

}  // namespace mailtest
