// The contact service of the registered server against a stand-in of its own: what each
// operation sends (read back from the stand-in's request log), what it returns, and how its
// argument checks, object checks and the service's faults reach the caller.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ComTestSupport.h"
#include "ContactTestSupport.h"
#include "StandinTest.h"
#include "resource.h"

namespace {

using namespace contacttest;
using testsupport::HasErrorInfo;
using testsupport::Narrow;
using testsupport::Omitted;
using testsupport::TakeErrorDescription;

const HRESULT kContactExists = static_cast<HRESULT>(0x8002000D);
const HRESULT kGroupExists = static_cast<HRESULT>(0x8002000E);
const HRESULT kNameClash = static_cast<HRESULT>(0x8002000F);
const HRESULT kNotAuthorised = static_cast<HRESULT>(0x80020010);
const HRESULT kValidation = static_cast<HRESULT>(0x80020011);
const HRESULT kAuthenticationFailed = static_cast<HRESULT>(0x80020002);

class ContactServiceTest : public standin::StandinTest {
protected:
    void SetUp() override {
        StandinTest::SetUp();
        ASSERT_NO_THROW(standin::PointSdkAtStandin());
        m_service = SignedIn(L"test", L"test", L"TEST01");
        ASSERT_TRUE(m_service);
    }

    static CComPtr<IContactService> SignedIn(const wchar_t* user, const wchar_t* password, const wchar_t* account) {
        CComPtr<IContactService> service;
        EXPECT_HRESULT_SUCCEEDED(service.CoCreateInstance(CLSID_ContactService, nullptr, CLSCTX_INPROC_SERVER));
        if (!service) return nullptr;
        EXPECT_EQ(S_OK, service->Initialise(CComBSTR(user), CComBSTR(password), CComBSTR(account), Omitted()));
        return service;
    }

    // The body of the newest request, parsed, after checking that it went to operation.
    CComPtr<IXMLDOMDocument> LastRequest(const wchar_t* operation) {
        const standin::LoggedRequest request = Log().Last();
        EXPECT_EQ(std::wstring(L"ContactService"), request.endpoint);
        EXPECT_EQ(std::wstring(operation), request.operation);
        EXPECT_EQ(std::wstring(L"http://com.tarvock/messenger/") + operation, request.soapAction);
        auto document = ParseXml(request.body);
        EXPECT_TRUE(document) << Narrow(request.body);
        return document;
    }

    void ExpectNothingSent() { EXPECT_TRUE(Log().Empty()) << Log().All().size() << " requests were sent"; }

    void ExpectError(HRESULT expected, HRESULT actual, const std::wstring& description) {
        EXPECT_EQ(expected, actual);
        EXPECT_EQ(Narrow(description), Narrow(TakeErrorDescription()));
    }

    void ExpectMissing(HRESULT hr, const wchar_t* name) {
        ExpectError(E_INVALIDARG, hr, std::wstring(L"The argument ") + name + L" is missing or empty.");
    }

    void ExpectNotOwnObject(HRESULT hr) { ExpectError(E_FAIL, hr, SdkText(IDS_NOT_OWN_OBJECT)); }

    static CComPtr<IContact> Contact(const wchar_t* id, const wchar_t* quickName, const wchar_t* mobile) {
        auto contact = NewContact();
        if (id) contact->put_ID(CComBSTR(id));
        if (quickName) contact->put_QuickName(CComBSTR(quickName));
        if (mobile) contact->put_MobileNumber(CComBSTR(mobile));
        return contact;
    }

    static CComPtr<IContactGroup> Group(const wchar_t* id, const wchar_t* name, const wchar_t* description) {
        auto group = NewGroup();
        if (id) group->put_ID(CComBSTR(id));
        if (name) group->put_Name(CComBSTR(name));
        if (description) group->put_Description(CComBSTR(description));
        return group;
    }

    std::wstring IDsOf(IObjectCollection* list) {
        CComBSTR ids;
        EXPECT_EQ(S_OK, list->get_IDs(&ids));
        return Str(ids);
    }

    CComPtr<IContactService> m_service;
};

// What goes on the wire.

TEST_F(ContactServiceTest, UpdateContactWithOnlyIdAndMobileSendsAllFourteenChildrenInWireOrder) {
    Log().Reset();
    const HRESULT hr = m_service->UpdateContact(Contact(L"1002", nullptr, L"447700900399"));
    // The stand-in refuses a contact without a quick name; what was sent is the point here.
    ExpectError(kValidation, hr, L"A contact needs a quick name.");

    auto request = LastRequest(L"UpdateContact");
    auto contact = FindElement(request, L"contact");
    ASSERT_TRUE(contact);
    EXPECT_EQ(std::vector<std::wstring>(std::begin(kWireContactFields), std::end(kWireContactFields)),
              ChildNames(contact));
    const auto texts = ChildTexts(contact);
    ASSERT_EQ(14u, texts.size());
    EXPECT_EQ(L"1002", texts[0]);
    EXPECT_EQ(L"447700900399", texts[5]);
    EXPECT_EQ(L"Contact", texts[13]);
    for (size_t i : {1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12}) EXPECT_EQ(L"", texts[i]) << Narrow(kWireContactFields[i]);
    EXPECT_EQ(L"test", TextOf(FindElement(request, L"Username")));
    EXPECT_EQ(L"TEST01", TextOf(FindElement(request, L"Account")));
}

TEST_F(ContactServiceTest, UpdateContactWritesCountryBeforePostcodeAndIsKept) {
    auto contact = Contact(L"1002", L"Bobby", L"447700900398");
    contact->put_Postcode(CComBSTR(L"YO1 7HH"));
    contact->put_Country(CComBSTR(L"England"));
    contact->put_ContactType(CONTACT_TYPE_SUBSCRIBER);
    ASSERT_EQ(S_OK, m_service->UpdateContact(contact));
    const auto element = FindElement(LastRequest(L"UpdateContact"), L"contact");
    const auto names = ChildNames(element);
    const auto texts = ChildTexts(element);
    ASSERT_EQ(14u, names.size());
    EXPECT_EQ(L"Country", names[10]);
    EXPECT_EQ(L"England", texts[10]);
    EXPECT_EQ(L"Postcode", names[11]);
    EXPECT_EQ(L"YO1 7HH", texts[11]);
    EXPECT_EQ(L"Subscriber", texts[13]);

    CComPtr<IContact> read;
    ASSERT_EQ(S_OK, m_service->GetContact(CComBSTR(L"1002"), &read));
    ASSERT_TRUE(read);
    auto fields = FieldsOf(read);
    EXPECT_EQ(L"Bobby", fields[L"QuickName"]);
    EXPECT_EQ(L"England", fields[L"Country"]);
    EXPECT_EQ(L"YO1 7HH", fields[L"Postcode"]);
    EXPECT_EQ(L"1", fields[L"ContactType"]);
    EXPECT_EQ(L"", fields[L"Town"]);
}

TEST_F(ContactServiceTest, AddContactSendsTheContactAndReturnsTheNewIdentifier) {
    auto contact = Contact(L"777", L"Eve", L"447700900305");
    contact->put_FirstName(CComBSTR(L"Eve"));
    contact->put_LastName(CComBSTR(L"Evans"));
    contact->put_TelephoneNumber(CComBSTR(L"01632960005"));
    contact->put_StreetAddress1(CComBSTR(L"1 High Street"));
    contact->put_StreetAddress2(CComBSTR(L"Flat 2"));
    contact->put_Town(CComBSTR(L"Leeds"));
    contact->put_County(CComBSTR(L"West Yorkshire"));
    contact->put_Postcode(CComBSTR(L"LS1 1AA"));
    contact->put_Country(CComBSTR(L"United Kingdom"));
    contact->put_EmailAddress(CComBSTR(L"eve@example.com"));
    CComBSTR id;
    ASSERT_EQ(S_OK, m_service->AddContact(contact, &id));
    EXPECT_FALSE(Str(id).empty());
    EXPECT_NE(L"777", Str(id));

    const auto texts = ChildTexts(FindElement(LastRequest(L"AddContact"), L"contact"));
    EXPECT_EQ((std::vector<std::wstring>{L"777", L"Eve", L"Eve", L"Evans", L"01632960005", L"447700900305",
                                         L"1 High Street", L"Flat 2", L"Leeds", L"West Yorkshire", L"United Kingdom",
                                         L"LS1 1AA", L"eve@example.com", L"Contact"}),
              texts);

    CComPtr<IContact> read;
    ASSERT_EQ(S_OK, m_service->GetContact(id, &read));
    ASSERT_TRUE(read);
    auto fields = FieldsOf(read);
    auto sent = FieldsOf(contact);
    sent[L"ID"] = Str(id);
    EXPECT_EQ(sent, fields);
}

TEST_F(ContactServiceTest, AddContactsSendsOneContactElementPerItem) {
    CComPtr<IObjectCollection> list;
    ASSERT_HRESULT_SUCCEEDED(list.CoCreateInstance(CLSID_ObjectCollection, nullptr, CLSCTX_INPROC_SERVER));
    list->Add(Contact(nullptr, L"Gina", L"447700900306"));
    auto hal = Contact(nullptr, L"Hal", nullptr);
    hal->put_ContactType(static_cast<CONTACT_TYPE>(7));  // any type but 1 is written "Contact"
    list->Add(hal);
    CComPtr<IStringCollection2> ids;
    ASSERT_EQ(S_OK, m_service->AddContacts(list, &ids));
    long count = 0;
    ids->get_Count(&count);
    ASSERT_EQ(2, count);

    auto element = FindElement(LastRequest(L"AddContacts"), L"contacts");
    EXPECT_EQ((std::vector<std::wstring>{L"Contact", L"Contact"}), ChildNames(element));
    CComPtr<IXMLDOMNode> second;
    element->get_lastChild(&second);
    ASSERT_EQ(14u, ChildNames(second).size());
    EXPECT_EQ(L"Hal", ChildTexts(second)[1]);
    EXPECT_EQ(L"Contact", ChildTexts(second)[13]);
    EXPECT_EQ(L"http://com.tarvock/messenger/", NamespaceOf(second));

    CComBSTR halId;
    ids->get_Item(2, &halId);
    CComPtr<IContact> read;
    ASSERT_EQ(S_OK, m_service->GetContact(halId, &read));
    EXPECT_EQ(L"Hal", FieldsOf(read)[L"QuickName"]);
}

TEST_F(ContactServiceTest, AddContactsWithAnEmptyCollectionSendsAnEmptyList) {
    CComPtr<IObjectCollection> list;
    ASSERT_HRESULT_SUCCEEDED(list.CoCreateInstance(CLSID_ObjectCollection, nullptr, CLSCTX_INPROC_SERVER));
    CComPtr<IStringCollection2> ids;
    ASSERT_EQ(S_OK, m_service->AddContacts(list, &ids));
    ASSERT_TRUE(ids);
    long count = -1;
    ids->get_Count(&count);
    EXPECT_EQ(0, count);
    EXPECT_TRUE(ChildNames(FindElement(LastRequest(L"AddContacts"), L"contacts")).empty());
}

TEST_F(ContactServiceTest, AddGroupWithoutMembersSendsAnEmptyList) {
    auto group = Group(L"55", L"Walkers", nullptr);
    group->put_GroupType(CONTACT_GROUP_TYPE_GROUP);
    CComBSTR id;
    ASSERT_EQ(S_OK, m_service->AddGroup(group, nullptr, &id));
    auto request = LastRequest(L"AddGroup");
    EXPECT_EQ(L"55", TextOf(FindElement(request, L"ID")));
    EXPECT_EQ(L"Walkers", TextOf(FindElement(request, L"Name")));
    EXPECT_EQ(L"", TextOf(FindElement(request, L"Description")));
    EXPECT_EQ(L"Group", TextOf(FindElement(request, L"GroupType")));
    EXPECT_TRUE(ChildNames(FindElement(request, L"memberIDs")).empty());

    CComPtr<IObjectCollection> members;
    ASSERT_EQ(S_OK, m_service->GetGroupMembers(id, &members));
    EXPECT_EQ(L"", IDsOf(members));
}

TEST_F(ContactServiceTest, AddGroupWithTwoMemberIdsSendsTwoStrings) {
    CComBSTR id;
    ASSERT_EQ(S_OK, m_service->AddGroup(Group(nullptr, L"Hikers", L"Up hills"), CComBSTR(L"1002,1001"), &id));
    auto request = LastRequest(L"AddGroup");
    auto members = FindElement(request, L"memberIDs");
    EXPECT_EQ((std::vector<std::wstring>{L"string", L"string"}), ChildNames(members));
    EXPECT_EQ((std::vector<std::wstring>{L"1002", L"1001"}), ChildTexts(members));
    EXPECT_EQ(L"Up hills", TextOf(FindElement(request, L"Description")));

    CComPtr<IObjectCollection> list;
    ASSERT_EQ(S_OK, m_service->GetGroupMembers(id, &list));
    EXPECT_EQ(L"1002,1001", IDsOf(list));
    CComPtr<IContactGroup> group;
    ASSERT_EQ(S_OK, m_service->GetGroup(id, &group));
    EXPECT_EQ(L"Hikers", FieldsOf(group)[L"Name"]);
}

TEST_F(ContactServiceTest, UpdateGroupSendsItsFieldsAndMembers) {
    auto group = Group(L"2001", L"Pals", L"New");
    group->put_GroupType(CONTACT_GROUP_TYPE_SUBSCRIBERS);
    ASSERT_EQ(S_OK, m_service->UpdateGroup(group, CComBSTR(L"1003,,")));
    auto request = LastRequest(L"UpdateGroup");
    EXPECT_EQ(L"2001", TextOf(FindElement(request, L"ID")));
    EXPECT_EQ(L"AllSubscribed", TextOf(FindElement(request, L"GroupType")));
    EXPECT_EQ((std::vector<std::wstring>{L"1003"}), ChildTexts(FindElement(request, L"memberIDs")));
    CComPtr<IContactGroup> read;
    ASSERT_EQ(S_OK, m_service->GetGroupByName(CComBSTR(L"pals"), &read));
    ASSERT_TRUE(read);
    EXPECT_EQ(L"2001", FieldsOf(read)[L"ID"]);
    EXPECT_EQ(L"1", FieldsOf(read)[L"GroupType"]);
}

TEST_F(ContactServiceTest, DeleteGroupSendsTrueOnlyForABooleanTrue) {
    struct Case {
        VARIANT value;
        const wchar_t* sent;
    };
    VARIANT minusOneI4;
    ::VariantInit(&minusOneI4);
    minusOneI4.vt = VT_I4;
    minusOneI4.lVal = -1;
    VARIANT minusOneI2 = minusOneI4;
    minusOneI2.vt = VT_I2;
    minusOneI2.iVal = -1;
    VARIANT boolTrue;
    ::VariantInit(&boolTrue);
    boolTrue.vt = VT_BOOL;
    boolTrue.boolVal = VARIANT_TRUE;
    VARIANT boolFalse = boolTrue;
    boolFalse.boolVal = VARIANT_FALSE;
    VARIANT empty;
    ::VariantInit(&empty);
    // A script passes its variables by reference.
    VARIANT byRefMinusOne;
    ::VariantInit(&byRefMinusOne);
    byRefMinusOne.vt = VT_VARIANT | VT_BYREF;
    byRefMinusOne.pvarVal = &minusOneI4;
    VARIANT byRefTrue = byRefMinusOne;
    byRefTrue.pvarVal = &boolTrue;
    const Case cases[] = {{minusOneI4, L"false"}, {minusOneI2, L"false"},     {Omitted(), L"false"},
                          {empty, L"false"},      {boolFalse, L"false"},      {byRefMinusOne, L"false"},
                          {byRefTrue, L"true"},   {boolTrue, L"true"}};
    for (const Case& c : cases) {
        Log().Reset();
        ASSERT_EQ(S_OK, m_service->DeleteGroup(CComBSTR(L"2001"), c.value)) << c.value.vt;
        auto request = LastRequest(L"DeleteGroup");
        EXPECT_EQ(L"2001", TextOf(FindElement(request, L"id")));
        EXPECT_EQ(c.sent, TextOf(FindElement(request, L"includeMembers"))) << c.value.vt;
    }
    // The last case deleted the members too.
    CComPtr<IContact> alice;
    ASSERT_EQ(S_OK, m_service->GetContact(CComBSTR(L"1001"), &alice));
    EXPECT_FALSE(alice);
}

TEST_F(ContactServiceTest, DeleteListsAreSentAsStrings) {
    ASSERT_EQ(S_OK, m_service->DeleteContacts(CComBSTR(L"1001,,1002,")));
    EXPECT_EQ((std::vector<std::wstring>{L"1001", L"1002"}), ChildTexts(FindElement(LastRequest(L"DeleteContacts"), L"ids")));
    ASSERT_EQ(S_OK, m_service->DeleteGroups(CComBSTR(L"2003")));
    EXPECT_EQ((std::vector<std::wstring>{L"2003"}), ChildTexts(FindElement(LastRequest(L"DeleteGroups"), L"ids")));
    ASSERT_EQ(S_OK, m_service->DeleteContact(CComBSTR(L"1004")));
    EXPECT_EQ(L"1004", TextOf(FindElement(LastRequest(L"DeleteContact"), L"id")));

    CComPtr<IObjectCollection> left;
    ASSERT_EQ(S_OK, m_service->GetContacts(&left));
    EXPECT_EQ(L"1003", IDsOf(left));
}

TEST_F(ContactServiceTest, AnEmptyButPresentIdentifierIsSent) {
    ExpectError(kValidation, m_service->DeleteContact(CComBSTR(L"")), L"The contact \"\" does not exist.");
    auto id = FindElement(LastRequest(L"DeleteContact"), L"id");
    ASSERT_TRUE(id);
    EXPECT_EQ(L"", TextOf(id));
    CComPtr<IObjectCollection> members;
    EXPECT_EQ(kValidation, m_service->GetGroupMembers(CComBSTR(L""), &members));
    EXPECT_FALSE(members);
    EXPECT_EQ(2u, Log().All().size());
}

// Results.

TEST_F(ContactServiceTest, ListsOfContactsAndGroups) {
    CComPtr<IObjectCollection> contacts, groups, members;
    ASSERT_EQ(S_OK, m_service->GetContacts(&contacts));
    EXPECT_EQ(L"1001,1002,1003,1004", IDsOf(contacts));
    CComPtr<IDispatch> item;
    ASSERT_EQ(S_OK, contacts->get_Item(4, &item));
    CComPtr<IContact> dave;
    ASSERT_EQ(S_OK, item.QueryInterface(&dave));
    auto fields = FieldsOf(dave);
    EXPECT_EQ(L"Dave", fields[L"QuickName"]);
    EXPECT_EQ(L"01632960004", fields[L"TelephoneNumber"]);
    EXPECT_EQ(L"", fields[L"MobileNumber"]);
    EXPECT_EQ(L"1", fields[L"ContactType"]);

    ASSERT_EQ(S_OK, m_service->GetGroups(&groups));
    EXPECT_EQ(L"2001,2002,2003", IDsOf(groups));
    ASSERT_EQ(S_OK, m_service->GetGroupMembers(CComBSTR(L"2002"), &members));
    EXPECT_EQ(L"1003,1004", IDsOf(members));
    EXPECT_EQ(L"2002", TextOf(FindElement(LastRequest(L"GetGroupMembers"), L"id")));
}

TEST_F(ContactServiceTest, SingleReadsFindByIdentifierAndName) {
    CComPtr<IContact> contact;
    ASSERT_EQ(S_OK, m_service->GetContactByQuickName(CComBSTR(L"carol"), &contact));
    ASSERT_TRUE(contact);
    EXPECT_EQ(L"1003", FieldsOf(contact)[L"ID"]);
    EXPECT_EQ(L"carol", TextOf(FindElement(LastRequest(L"GetContactByQuickName"), L"name")));

    CComPtr<IContactGroup> group;
    ASSERT_EQ(S_OK, m_service->GetGroup(CComBSTR(L"2002"), &group));
    ASSERT_TRUE(group);
    auto fields = FieldsOf(group);
    EXPECT_EQ(L"Subscribers", fields[L"Name"]);
    EXPECT_EQ(L"Everyone who subscribed", fields[L"Description"]);
    EXPECT_EQ(L"1", fields[L"GroupType"]);
    EXPECT_EQ(L"2002", TextOf(FindElement(LastRequest(L"GetGroup"), L"id")));
}

TEST_F(ContactServiceTest, SingleReadsGiveNullAndSucceedWhenNothingIsFound) {
    auto placeholderContact = NewContact();
    auto placeholderGroup = NewGroup();
    IContact* contact = placeholderContact;
    IContactGroup* group = placeholderGroup;

    EXPECT_EQ(S_OK, m_service->GetContact(CComBSTR(L"9999"), &contact));
    EXPECT_EQ(nullptr, contact);
    group = placeholderGroup;
    EXPECT_EQ(S_OK, m_service->GetGroup(CComBSTR(L"9999"), &group));
    EXPECT_EQ(nullptr, group);
    contact = placeholderContact;
    EXPECT_EQ(S_OK, m_service->GetContactByQuickName(CComBSTR(L"Nobody"), &contact));
    EXPECT_EQ(nullptr, contact);
    group = placeholderGroup;
    EXPECT_EQ(S_OK, m_service->GetGroupByName(CComBSTR(L"OtherFriends"), &group));
    EXPECT_EQ(nullptr, group);
    EXPECT_EQ(4u, Log().All().size());
}

// Faults of the service.

TEST_F(ContactServiceTest, UniquenessFaultsArriveWithTheirTexts) {
    CComBSTR id;
    ExpectError(kContactExists, m_service->AddContact(Contact(nullptr, L"alice", L"447700900305"), &id),
                SdkText(5113));
    EXPECT_FALSE(id);
    ExpectError(kGroupExists, m_service->AddGroup(Group(nullptr, L"FRIENDS", nullptr), nullptr, &id), SdkText(5114));
    ExpectError(kNameClash, m_service->AddGroup(Group(nullptr, L"Bob", nullptr), nullptr, &id), SdkText(5115));
    ExpectError(kNameClash, m_service->UpdateContact(Contact(L"1002", L"Empty", nullptr)), SdkText(5115));
    ExpectError(kGroupExists, m_service->UpdateGroup(Group(L"2001", L"Subscribers", nullptr), nullptr), SdkText(5114));
    EXPECT_EQ(L"A contact with that quick name already exists.", SdkText(5113));
}

TEST_F(ContactServiceTest, OtherFaultsAndTransportErrorsPassThrough) {
    CComPtr<IContact> contact;
    ExpectError(kNotAuthorised, m_service->GetContact(CComBSTR(L"1099"), &contact), SdkText(5116));
    ExpectError(kValidation, m_service->DeleteGroup(CComBSTR(L"2999"), Omitted()), L"The group \"2999\" does not exist.");

    auto wrong = SignedIn(L"test", L"Test", L"TEST01");
    CComPtr<IObjectCollection> list;
    ExpectError(kAuthenticationFailed, wrong->GetContacts(&list), SdkText(5102));
    EXPECT_FALSE(list);

    CComPtr<IContactService> fresh;
    ASSERT_HRESULT_SUCCEEDED(fresh.CoCreateInstance(CLSID_ContactService, nullptr, CLSCTX_INPROC_SERVER));
    const size_t before = Log().All().size();
    ExpectError(E_FAIL, fresh->GetGroups(&list), SdkText(IDS_NOT_INITIALISED));
    EXPECT_EQ(before, Log().All().size());
}

// The SDK's own checks: nothing is sent.

TEST_F(ContactServiceTest, MissingArgumentsNameTheArgument) {
    Log().Reset();
    CComPtr<IContact> contact;
    CComPtr<IContactGroup> group;
    CComPtr<IObjectCollection> list;
    CComPtr<IStringCollection2> ids;
    CComBSTR id;
    ExpectMissing(m_service->GetContact(nullptr, &contact), L"ID");
    ExpectMissing(m_service->GetContact(CComBSTR(L""), &contact), L"ID");
    ExpectMissing(m_service->GetGroup(CComBSTR(L""), &group), L"ID");
    ExpectMissing(m_service->GetContactByQuickName(CComBSTR(L""), &contact), L"Name");
    ExpectMissing(m_service->GetGroupByName(nullptr, &group), L"Name");
    ExpectMissing(m_service->GetGroupMembers(nullptr, &list), L"ID");
    ExpectMissing(m_service->DeleteContact(nullptr), L"ContactID");
    ExpectMissing(m_service->DeleteContacts(nullptr), L"Contacts");
    ExpectMissing(m_service->DeleteGroup(nullptr, Omitted()), L"GroupID");
    ExpectMissing(m_service->DeleteGroups(nullptr), L"Groups");
    ExpectMissing(m_service->AddContact(nullptr, &id), L"Contact");
    ExpectMissing(m_service->UpdateContact(nullptr), L"Contact");
    ExpectMissing(m_service->AddGroup(nullptr, CComBSTR(L"1001"), &id), L"Group");
    ExpectMissing(m_service->UpdateGroup(nullptr, nullptr), L"Group");
    ExpectMissing(m_service->AddContacts(nullptr, &ids), L"Contacts");
    EXPECT_FALSE(contact);
    EXPECT_FALSE(ids);
    ExpectNothingSent();
}

TEST_F(ContactServiceTest, NullResultPointersFailWithoutADescription) {
    Log().Reset();
    CComPtr<IObjectCollection> list;
    list.CoCreateInstance(CLSID_ObjectCollection, nullptr, CLSCTX_INPROC_SERVER);
    const CComBSTR id(L"1001");
    const HRESULT results[] = {
        m_service->GetContacts(nullptr),
        m_service->GetGroups(nullptr),
        m_service->AddContact(Contact(nullptr, L"Eve", nullptr), nullptr),
        m_service->AddContacts(list, nullptr),
        m_service->AddGroup(Group(nullptr, L"Walkers", nullptr), nullptr, nullptr),
        m_service->GetContact(id, nullptr),
        m_service->GetGroup(id, nullptr),
        m_service->GetGroupMembers(id, nullptr),
        m_service->GetContactByQuickName(id, nullptr),
        m_service->GetGroupByName(id, nullptr),
    };
    for (HRESULT hr : results) EXPECT_EQ(E_INVALIDARG, hr);
    ::SetErrorInfo(0, nullptr);
    EXPECT_EQ(E_INVALIDARG, m_service->GetContacts(nullptr));
    EXPECT_FALSE(HasErrorInfo());
    ExpectNothingSent();
}

TEST_F(ContactServiceTest, AGroupPassedAsAContactIsRefusedAndNothingIsSent) {
    Log().Reset();
    auto group = Group(L"2001", L"Friends", nullptr);
    auto contact = Contact(L"1001", L"Alice", nullptr);
    CComBSTR id;
    // A caller holding the wrong kind of object: the vtable slot types cannot stop it.
    ExpectNotOwnObject(m_service->AddContact(reinterpret_cast<IContact*>(group.p), &id));
    ExpectNotOwnObject(m_service->UpdateContact(reinterpret_cast<IContact*>(group.p)));
    ExpectNotOwnObject(m_service->AddGroup(reinterpret_cast<IContactGroup*>(contact.p), nullptr, &id));
    ExpectNotOwnObject(m_service->UpdateGroup(reinterpret_cast<IContactGroup*>(contact.p), CComBSTR(L"1001")));
    EXPECT_FALSE(id);

    CComPtr<IObjectCollection> list;
    ASSERT_HRESULT_SUCCEEDED(list.CoCreateInstance(CLSID_ObjectCollection, nullptr, CLSCTX_INPROC_SERVER));
    list->Add(Contact(nullptr, L"Ivy", nullptr));
    list->Add(group);
    CComPtr<IStringCollection2> ids;
    ExpectNotOwnObject(m_service->AddContacts(list, &ids));
    EXPECT_FALSE(ids);

    CComPtr<IObjectCollection> withNull;
    ASSERT_HRESULT_SUCCEEDED(withNull.CoCreateInstance(CLSID_ObjectCollection, nullptr, CLSCTX_INPROC_SERVER));
    withNull->Add(nullptr);
    ExpectNotOwnObject(m_service->AddContacts(withNull, &ids));
    ExpectNothingSent();
}

TEST_F(ContactServiceTest, AnObjectOfAnotherKindIsRefused) {
    Log().Reset();
    CComPtr<ISMSMessage2> message;
    ASSERT_HRESULT_SUCCEEDED(message.CoCreateInstance(CLSID_SMSMessage2, nullptr, CLSCTX_INPROC_SERVER));
    CComBSTR id;
    ExpectNotOwnObject(m_service->AddContact(reinterpret_cast<IContact*>(message.p), &id));
    ExpectNotOwnObject(m_service->UpdateGroup(reinterpret_cast<IContactGroup*>(message.p), nullptr));
    ExpectNothingSent();
}

TEST_F(ContactServiceTest, ScriptsReachEveryOperationThroughIDispatch) {
    CComPtr<IDispatch> dispatch;
    ASSERT_EQ(S_OK, m_service.QueryInterface(&dispatch));
    const wchar_t* const names[] = {L"Initialise",  L"GetContacts",     L"GetGroups",        L"AddContact",
                                    L"AddContacts", L"AddGroup",        L"DeleteContact",    L"DeleteContacts",
                                    L"DeleteGroup", L"DeleteGroups",    L"UpdateContact",    L"UpdateGroup",
                                    L"GetContact",  L"GetGroup",        L"GetGroupMembers",  L"GetContactByQuickName",
                                    L"GetGroupByName"};
    DISPID expected = 1;
    for (const wchar_t* name : names) EXPECT_EQ(expected++, testsupport::DispIdOf(dispatch, name)) << Narrow(name);

    // A group handed to AddContact through IDispatch, as a script hands it: the type library's
    // dispatch asks the group for IContact and refuses it before the service sees it.
    Log().Reset();
    auto group = Group(nullptr, L"Ghost", nullptr);
    VARIANT arg;
    ::VariantInit(&arg);
    arg.vt = VT_DISPATCH;
    arg.pdispVal = group;
    CComVariant result;
    EXPECT_EQ(E_NOINTERFACE, testsupport::InvokeByName(dispatch, L"AddContact", DISPATCH_METHOD, {arg}, &result));
    // A contact goes through.
    auto contact = Contact(nullptr, L"Ghost", nullptr);
    arg.pdispVal = contact;
    EXPECT_EQ(S_OK, testsupport::InvokeByName(dispatch, L"AddContact", DISPATCH_METHOD, {arg}, &result));
    EXPECT_EQ(VT_BSTR, result.vt);
    EXPECT_EQ(1u, Log().All().size());
}

}  // namespace
