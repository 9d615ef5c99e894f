#include "MailTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace mailtest {

namespace {

std::wstring Text(IContact* contact, HRESULT (STDMETHODCALLTYPE IContact::*getter)(BSTR*)) {
    CComBSTR value;
    EXPECT_EQ(S_OK, (contact->*getter)(&value));
    return value.m_str ? std::wstring(value.m_str, value.Length()) : std::wstring();
}

}  // namespace

ContactFields Fields(IDispatch* item) {
    ContactFields fields;
    CComPtr<IContact> contact;
    if (!item || FAILED(item->QueryInterface(IID_IContact, reinterpret_cast<void**>(&contact)))) {
        ADD_FAILURE() << "the item is not a contact";
        return fields;
    }
    fields.quickName = Text(contact, &IContact::get_QuickName);
    fields.firstName = Text(contact, &IContact::get_FirstName);
    fields.lastName = Text(contact, &IContact::get_LastName);
    fields.telephone = Text(contact, &IContact::get_TelephoneNumber);
    fields.mobile = Text(contact, &IContact::get_MobileNumber);
    fields.street1 = Text(contact, &IContact::get_StreetAddress1);
    fields.street2 = Text(contact, &IContact::get_StreetAddress2);
    fields.town = Text(contact, &IContact::get_Town);
    fields.county = Text(contact, &IContact::get_County);
    fields.postcode = Text(contact, &IContact::get_Postcode);
    fields.country = Text(contact, &IContact::get_Country);
    fields.email = Text(contact, &IContact::get_EmailAddress);
    CONTACT_TYPE type = static_cast<CONTACT_TYPE>(-1);
    EXPECT_EQ(S_OK, contact->get_ContactType(&type));
    fields.contactType = type;
    return fields;
}

std::vector<CComPtr<IDispatch>> Items(IObjectCollection* collection) {
    std::vector<CComPtr<IDispatch>> items;
    long count = -1;
    EXPECT_EQ(S_OK, collection->get_Count(&count));
    for (long i = 1; i <= count; ++i) {
        CComPtr<IDispatch> item;
        EXPECT_EQ(S_OK, collection->get_Item(i, &item));
        items.push_back(item);
    }
    return items;
}

std::vector<std::wstring> Mobiles(IObjectCollection* collection) {
    std::vector<std::wstring> mobiles;
    for (const CComPtr<IDispatch>& item : Items(collection)) mobiles.push_back(Fields(item).mobile);
    return mobiles;
}

std::vector<std::wstring> Names(const VARIANT& names) {
    std::vector<std::wstring> result;
    EXPECT_EQ(VT_ARRAY | VT_VARIANT, names.vt);
    if (names.vt != (VT_ARRAY | VT_VARIANT)) return result;
    EXPECT_EQ(1u, ::SafeArrayGetDim(names.parray));
    LONG lower = -1, upper = -1;
    ::SafeArrayGetLBound(names.parray, 1, &lower);
    ::SafeArrayGetUBound(names.parray, 1, &upper);
    EXPECT_EQ(0, lower);
    for (LONG i = lower; i <= upper; ++i) {
        VARIANT item;
        ::VariantInit(&item);
        ::SafeArrayGetElement(names.parray, &i, &item);
        EXPECT_EQ(VT_BSTR, item.vt);
        if (item.vt == VT_BSTR) result.emplace_back(item.bstrVal, ::SysStringLen(item.bstrVal));
        ::VariantClear(&item);
    }
    return result;
}

void AddressBookTest::SetUp() {
    ComTest::SetUp();
    m_root = std::make_unique<mapitest::CEnvironment>(TARVOCK_MAPI_ROOT_VARIABLE, m_books.Root());
    m_baseline = mapitest::ProviderCounters();
}

void AddressBookTest::TearDown() {
    m_root.reset();
    ComTest::TearDown();
}

HRESULT AddressBookTest::Create(CComPtr<IAddressBook>& addressBook) {
    const HRESULT hr = addressBook.CoCreateInstance(CLSID_AddressBook, nullptr, CLSCTX_INPROC_SERVER);
    if (SUCCEEDED(hr) && m_baseline.initializeCalls == 0 && m_baseline.liveObjects == 0) {
        // The provider was loaded with the server: its counters start now.
        EXPECT_TRUE(mapitest::ProviderLoaded()) << "mapi32.dll in the process is not our provider";
    }
    return hr;
}

CComPtr<IAddressBook> AddressBookTest::Create() {
    CComPtr<IAddressBook> addressBook;
    EXPECT_EQ(S_OK, Create(addressBook));
    return addressBook;
}

}  // namespace mailtest
