// Contacts, groups and lists built from response elements, on documents in memory. (What the
// service writes into its requests is checked on the wire, in contact_service_test.cpp.) The
// classes are linked in; the objects they create come from the registered server.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ComTestSupport.h"
#include "ContactTestSupport.h"
#include "ContactXml.h"
#include "SdkModule.h"
#include "SdkTestSupport.h"

// The module the linked classes run in is the sdk_linked_module library's (CMakeLists.txt).

namespace {

using namespace contacttest;
using sdktest::Raised;
using testsupport::Narrow;

const wchar_t kNs[] = L"http://com.tarvock/messenger/";

class ContactXmlTest : public testsupport::ComTest {
protected:
    // The element tag of a response-like document holding body inside it.
    CComPtr<IXMLDOMNode> Element(const std::wstring& tag, const std::wstring& body) {
        m_document = ParseXml(L"<" + tag + L" xmlns=\"" + kNs + L"\">" + body + L"</" + tag + L">");
        EXPECT_TRUE(m_document) << Narrow(body);
        return FindElement(m_document, tag.c_str());
    }

    CComPtr<IXMLDOMDocument> m_document;
};

TEST_F(ContactXmlTest, ContactFromXmlReadsEveryFieldByName) {
    auto element = Element(L"GetContactResult",
                           L"<ID>1001</ID><QuickName>Alice</QuickName><FirstName>Alice</FirstName>"
                           L"<LastName>Archer</LastName><TelephoneNumber>01632960001</TelephoneNumber>"
                           L"<MobileNumber>447700900301</MobileNumber><StreetAddress1>1 High Street</StreetAddress1>"
                           L"<StreetAddress2>Flat 2</StreetAddress2><Town>Leeds</Town><County>West Yorkshire</County>"
                           L"<Postcode>LS1 1AA</Postcode><Country>United Kingdom</Country>"
                           L"<EmailAddress>alice@example.com</EmailAddress><ContactType>Subscriber</ContactType>");
    CComPtr<IContact> contact;
    ASSERT_EQ(S_OK, Raised([&] { contact = CContactXml::ContactFromXml(element); }));
    ASSERT_TRUE(contact);
    auto fields = FieldsOf(contact);
    EXPECT_EQ(L"1001", fields[L"ID"]);
    EXPECT_EQ(L"Alice", fields[L"QuickName"]);
    EXPECT_EQ(L"Alice", fields[L"FirstName"]);
    EXPECT_EQ(L"Archer", fields[L"LastName"]);
    EXPECT_EQ(L"01632960001", fields[L"TelephoneNumber"]);
    EXPECT_EQ(L"447700900301", fields[L"MobileNumber"]);
    EXPECT_EQ(L"1 High Street", fields[L"StreetAddress1"]);
    EXPECT_EQ(L"Flat 2", fields[L"StreetAddress2"]);
    EXPECT_EQ(L"Leeds", fields[L"Town"]);
    EXPECT_EQ(L"West Yorkshire", fields[L"County"]);
    EXPECT_EQ(L"LS1 1AA", fields[L"Postcode"]);
    EXPECT_EQ(L"United Kingdom", fields[L"Country"]);
    EXPECT_EQ(L"alice@example.com", fields[L"EmailAddress"]);
    EXPECT_EQ(L"1", fields[L"ContactType"]);
}

TEST_F(ContactXmlTest, ContactFromXmlSkipsOtherNamesAndKeepsTheLaterOfTwo) {
    auto element = Element(L"r", L"<Town>Leeds</Town><town>York</town><contacttype>Subscriber</contacttype>"
                                 L"<Extra>x</Extra><Town>Hull</Town>");
    CComPtr<IContact> contact;
    ASSERT_EQ(S_OK, Raised([&] { contact = CContactXml::ContactFromXml(element); }));
    auto fields = FieldsOf(contact);
    EXPECT_EQ(L"Hull", fields[L"Town"]);
    EXPECT_EQ(L"0", fields[L"ContactType"]);
    EXPECT_EQ(L"<null>", fields[L"ID"]);
    EXPECT_EQ(L"<null>", fields[L"QuickName"]);
}

TEST_F(ContactXmlTest, OnlyTheExactTextSubscriberMakesASubscriber) {
    for (const wchar_t* text : {L"subscriber", L"Contact", L"SUBSCRIBER", L"", L"Subscribers"}) {
        auto element = Element(L"r", std::wstring(L"<ContactType>") + text + L"</ContactType>");
        CComPtr<IContact> contact;
        ASSERT_EQ(S_OK, Raised([&] { contact = CContactXml::ContactFromXml(element); }));
        EXPECT_EQ(L"0", FieldsOf(contact)[L"ContactType"]) << Narrow(text);
    }
}

TEST_F(ContactXmlTest, ContactGroupFromXmlReadsItsFourFields) {
    auto element = Element(L"GetGroupResult", L"<ID>2002</ID><Name>Subscribers</Name>"
                                              L"<Description>Everyone subscribed</Description>"
                                              L"<GroupType>AllSubscribed</GroupType><Members>1</Members>");
    CComPtr<IContactGroup> group;
    ASSERT_EQ(S_OK, Raised([&] { group = CContactXml::ContactGroupFromXml(element); }));
    ASSERT_TRUE(group);
    auto fields = FieldsOf(group);
    EXPECT_EQ(L"2002", fields[L"ID"]);
    EXPECT_EQ(L"Subscribers", fields[L"Name"]);
    EXPECT_EQ(L"Everyone subscribed", fields[L"Description"]);
    EXPECT_EQ(L"1", fields[L"GroupType"]);

    for (const wchar_t* text : {L"Group", L"allsubscribed", L"Subscribers"}) {
        auto other = Element(L"r", std::wstring(L"<GroupType>") + text + L"</GroupType><name>x</name>");
        ASSERT_EQ(S_OK, Raised([&] { group = CContactXml::ContactGroupFromXml(other); }));
        EXPECT_EQ(L"0", FieldsOf(group)[L"GroupType"]) << Narrow(text);
        EXPECT_EQ(L"<null>", FieldsOf(group)[L"Name"]);
    }
}

TEST_F(ContactXmlTest, ContactListFromXmlBuildsOneContactPerChild) {
    auto element = Element(L"GetContactsResult",
                           L"<Contact><ID>1001</ID><QuickName>Alice</QuickName></Contact>"
                           L"<Contact><ID>1002</ID><QuickName>Bob</QuickName></Contact>"
                           L"<Contact><ID>1003</ID><QuickName>Carol</QuickName><ContactType>Subscriber</ContactType>"
                           L"</Contact>");
    CComPtr<IObjectCollection> list;
    ASSERT_EQ(S_OK, Raised([&] { list = CContactXml::ContactListFromXml(ContactListKind::Contact, element); }));
    long count = 0;
    ASSERT_EQ(S_OK, list->get_Count(&count));
    ASSERT_EQ(3, count);
    CComPtr<IDispatch> item;
    ASSERT_EQ(S_OK, list->get_Item(3, &item));
    CComPtr<IContact> carol;
    ASSERT_EQ(S_OK, item.QueryInterface(&carol));
    EXPECT_EQ(L"Carol", FieldsOf(carol)[L"QuickName"]);
    EXPECT_EQ(L"1", FieldsOf(carol)[L"ContactType"]);
    CComBSTR ids;
    ASSERT_EQ(S_OK, list->get_IDs(&ids));
    EXPECT_EQ(L"1001,1002,1003", Str(ids));
}

TEST_F(ContactXmlTest, ContactListFromXmlBuildsGroupsForTheGroupKind) {
    auto element = Element(L"GetGroupsResult",
                           L"<ContactGroup><ID>2001</ID><Name>Friends</Name><GroupType>Group</GroupType></ContactGroup>"
                           L"<ContactGroup><ID>2002</ID><Name>Subscribers</Name>"
                           L"<GroupType>AllSubscribed</GroupType></ContactGroup>");
    CComPtr<IObjectCollection> list;
    ASSERT_EQ(S_OK, Raised([&] { list = CContactXml::ContactListFromXml(ContactListKind::Group, element); }));
    long count = 0;
    list->get_Count(&count);
    ASSERT_EQ(2, count);
    CComPtr<IDispatch> item;
    ASSERT_EQ(S_OK, list->get_Item(2, &item));
    CComPtr<IContactGroup> group;
    ASSERT_EQ(S_OK, item.QueryInterface(&group));
    EXPECT_EQ(L"Subscribers", FieldsOf(group)[L"Name"]);
    EXPECT_EQ(L"1", FieldsOf(group)[L"GroupType"]);
    CComPtr<IContact> notContact;
    EXPECT_EQ(E_NOINTERFACE, item.QueryInterface(&notContact));
}

TEST_F(ContactXmlTest, EmptyListElementGivesAnEmptyCollectionAndAMissingOneFails) {
    auto element = Element(L"GetGroupMembersResult", L"");
    CComPtr<IObjectCollection> list;
    ASSERT_EQ(S_OK, Raised([&] { list = CContactXml::ContactListFromXml(ContactListKind::Contact, element); }));
    long count = -1;
    list->get_Count(&count);
    EXPECT_EQ(0, count);
    EXPECT_EQ(E_FAIL, Raised([&] { CContactXml::ContactListFromXml(ContactListKind::Contact, nullptr); }));
    EXPECT_EQ(E_FAIL, Raised([&] { CContactXml::StringListFromXml(nullptr); }));
}

TEST_F(ContactXmlTest, StringListFromXmlTakesEachChildsText) {
    auto element = Element(L"AddContactsResult", L"<string>1005</string><string>1006</string><string/>");
    CComPtr<IStringCollection2> list;
    ASSERT_EQ(S_OK, Raised([&] { list = CContactXml::StringListFromXml(element); }));
    long count = 0;
    list->get_Count(&count);
    ASSERT_EQ(3, count);
    CComBSTR first, second, third;
    list->get_Item(1, &first);
    list->get_Item(2, &second);
    list->get_Item(3, &third);
    EXPECT_EQ(L"1005", Str(first));
    EXPECT_EQ(L"1006", Str(second));
    EXPECT_EQ(0u, third.Length());
}

}  // namespace
