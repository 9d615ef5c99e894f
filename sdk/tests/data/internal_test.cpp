// The SDK's data classes linked into the test program itself: the contact service's way from a
// passed object to this server's contact or group, and what the members write to the log.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ComTestSupport.h"
#include "Contact.h"
#include "ContactGroup.h"
#include "LogCapture.h"
#include "ObjectCollection.h"
#include "SMSMessage.h"
#include "SdkTestSupport.h"
#include "StringCollection.h"
#include "resource.h"

// The module the linked classes count their objects on and read their texts from is the
// sdk_linked_module library's (CMakeLists.txt).

namespace {

using sdktest::Raised;
using testsupport::LogCapture;
using testsupport::Narrow;
using testsupport::TakeErrorDescription;

class ObjectPointerTest : public testsupport::ComTest {
protected:
    void ExpectNotOwn(HRESULT hr) {
        EXPECT_EQ(E_FAIL, hr);
        EXPECT_EQ(Narrow(LoadResourceString(IDS_NOT_OWN_OBJECT)), Narrow(TakeErrorDescription()));
    }
};

TEST_F(ObjectPointerTest, FindsTheContactBehindAServerObject) {
    CComPtr<IContact> contact;
    ASSERT_HRESULT_SUCCEEDED(contact.CoCreateInstance(CLSID_Contact, nullptr, CLSCTX_INPROC_SERVER));
    ASSERT_EQ(S_OK, contact->put_QuickName(CComBSTR(L"ann")));
    ASSERT_EQ(S_OK, contact->put_ContactType(CONTACT_TYPE_SUBSCRIBER));
    CContact* found = nullptr;
    EXPECT_EQ(S_OK, Raised([&] { found = ContactFromObject(contact); }));
    ASSERT_NE(nullptr, found);
    EXPECT_EQ(std::wstring(L"ann"), found->Field(ContactField::QuickName));
    EXPECT_EQ(nullptr, found->Field(ContactField::Town));
    EXPECT_EQ(CONTACT_TYPE_SUBSCRIBER, found->Type());
}

TEST_F(ObjectPointerTest, FindsTheGroupBehindAServerObject) {
    CComPtr<IContactGroup> group;
    ASSERT_HRESULT_SUCCEEDED(CContactGroup::CreateInstance(&group));
    ASSERT_EQ(S_OK, group->put_Name(CComBSTR(L"friends")));
    ASSERT_EQ(S_OK, group->put_GroupType(CONTACT_GROUP_TYPE_SUBSCRIBERS));
    CContactGroup* found = nullptr;
    EXPECT_EQ(S_OK, Raised([&] { found = GroupFromObject(group); }));
    ASSERT_NE(nullptr, found);
    EXPECT_EQ(std::wstring(L"friends"), found->Name());
    EXPECT_EQ(CONTACT_GROUP_TYPE_SUBSCRIBERS, found->GroupType());
}

TEST_F(ObjectPointerTest, AGroupIsNotAContactNorTheReverse) {
    CComPtr<IContactGroup> group;
    ASSERT_HRESULT_SUCCEEDED(group.CoCreateInstance(CLSID_ContactGroup, nullptr, CLSCTX_INPROC_SERVER));
    ExpectNotOwn(Raised([&] { ContactFromObject(group); }));
    CComPtr<IContact> contact;
    ASSERT_HRESULT_SUCCEEDED(contact.CoCreateInstance(CLSID_Contact, nullptr, CLSCTX_INPROC_SERVER));
    ExpectNotOwn(Raised([&] { GroupFromObject(contact); }));
}

TEST_F(ObjectPointerTest, OtherObjectsAndNullAreRefused) {
    CComPtr<IObjectCollection> collection;
    ASSERT_HRESULT_SUCCEEDED(collection.CoCreateInstance(CLSID_ObjectCollection, nullptr, CLSCTX_INPROC_SERVER));
    ExpectNotOwn(Raised([&] { ContactFromObject(collection); }));
    ExpectNotOwn(Raised([&] { GroupFromObject(collection); }));
    ExpectNotOwn(Raised([&] { ContactFromObject(nullptr); }));
}

// An object that claims the private pointer interface: it hands out address and answers the
// query for IContact with contact.
class Impostor : public IObjectPointer {
public:
    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override {
        if (iid == IID_IContact && contact) return contact->QueryInterface(iid, ppv);
        if (iid == IID_IUnknown || iid == IID_IObjectPointer) {
            *ppv = static_cast<IObjectPointer*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(GetObjectPointer)(void** ppObject) override {
        *ppObject = address;
        return result;
    }
    void* address = reinterpret_cast<void*>(0x10);  // never to be read
    HRESULT result = S_OK;
    IContact* contact = nullptr;
};

TEST_F(ObjectPointerTest, AnAddressIsNotTakenOnTrust) {
    Impostor impostor;
    ExpectNotOwn(Raised([&] { ContactFromObject(&impostor); }));

    // It answers for a real contact but hands out another one's address.
    CComPtr<IContact> answering, other;
    ASSERT_HRESULT_SUCCEEDED(answering.CoCreateInstance(CLSID_Contact, nullptr, CLSCTX_INPROC_SERVER));
    ASSERT_HRESULT_SUCCEEDED(other.CoCreateInstance(CLSID_Contact, nullptr, CLSCTX_INPROC_SERVER));
    CComPtr<IObjectPointer> otherPointer;
    ASSERT_EQ(S_OK, other.QueryInterface(&otherPointer));
    ASSERT_EQ(S_OK, otherPointer->GetObjectPointer(&impostor.address));
    impostor.contact = answering;
    ExpectNotOwn(Raised([&] { ContactFromObject(&impostor); }));
    impostor.address = nullptr;
    ExpectNotOwn(Raised([&] { ContactFromObject(&impostor); }));
}

TEST_F(ObjectPointerTest, AFailingPointerInterfaceIsPassedOn) {
    Impostor impostor;
    impostor.result = E_ACCESSDENIED;
    EXPECT_EQ(E_ACCESSDENIED, Raised([&] { GroupFromObject(&impostor); }));
}

class LoggingTest : public testsupport::ComTest {};

TEST_F(LoggingTest, CollectionMembersLogTheirEntryAndTheirFailuresButNotTheirExit) {
    LogCapture log("CObjectCollection");
    CComPtr<IObjectCollection> collection;
    ASSERT_HRESULT_SUCCEEDED(CObjectCollection::CreateInstance(&collection));
    LONG count = 0;
    ASSERT_EQ(S_OK, collection->get_Count(&count));
    CComPtr<IDispatch> item;
    ASSERT_EQ(E_FAIL, collection->get_Item(1, &item));
    EXPECT_EQ("DEBUG Entering CObjectCollection::get_Count\n"
              "DEBUG Entering CObjectCollection::get_Item\n"
              "ERROR An error occurred.  CObjectCollection::get_Item\n",
              log.Text());
}

TEST_F(LoggingTest, EnumeratorsLogUnderTheirCollection) {
    LogCapture log("CStringCollection");
    CComPtr<IStringCollection2> collection;
    ASSERT_HRESULT_SUCCEEDED(CStringCollection::CreateInstance(&collection));
    CComPtr<IUnknown> unknown;
    ASSERT_EQ(S_OK, collection->get__NewEnum(&unknown));
    CComPtr<IEnumVARIANT> e;
    ASSERT_EQ(S_OK, unknown.QueryInterface(&e));
    VARIANT v;
    EXPECT_EQ(S_FALSE, e->Next(1, &v, nullptr));
    EXPECT_EQ(S_FALSE, e->Skip(1));
    EXPECT_EQ(S_OK, e->Reset());
    EXPECT_EQ("DEBUG Entering CStringCollection::get__NewEnum\n"
              "DEBUG Entering CStringCollection::Next\n"
              "DEBUG Entering CStringCollection::Skip\n"
              "DEBUG Entering CStringCollection::Reset\n",
              log.Text());
}

TEST_F(LoggingTest, MessageAccessorsLogTheirEntry) {
    LogCapture log("CSMSMessage");
    CComPtr<ISMSMessage2> message;
    ASSERT_HRESULT_SUCCEEDED(CSMSMessage::CreateInstance(&message));
    ASSERT_EQ(S_OK, message->put_Body(CComBSTR(L"hello")));
    ASSERT_EQ(E_INVALIDARG, message->get_MessageIndex(nullptr));
    EXPECT_EQ("DEBUG Entering CSMSMessage::put_Body\n"
              "DEBUG Entering CSMSMessage::get_MessageIndex\n"
              "ERROR An error occurred.  CSMSMessage::get_MessageIndex\n",
              log.Text());
}

TEST_F(LoggingTest, ContactsAndGroupsDoNotLog) {
    log4cpp::Category& root = log4cpp::Category::getRoot();
    const log4cpp::Priority::Value saved = root.getPriority();
    std::ostringstream stream;
    log4cpp::OstreamAppender appender("root capture", &stream);
    root.setPriority(log4cpp::Priority::DEBUG);
    root.addAppender(appender);
    CComPtr<IContact> contact;
    ASSERT_HRESULT_SUCCEEDED(CContact::CreateInstance(&contact));
    contact->put_ID(CComBSTR(L"1"));
    contact->get_ID(nullptr);
    CComPtr<IContactGroup> group;
    ASSERT_HRESULT_SUCCEEDED(CContactGroup::CreateInstance(&group));
    group->put_Name(CComBSTR(L"g"));
    root.removeAllAppenders();
    root.setPriority(saved);
    EXPECT_EQ("", stream.str());
}

}  // namespace
