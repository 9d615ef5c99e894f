// The property bags: Contact, ContactGroup, SMSMessage2, AccountState and
// SignupCompletionElements. Every text property keeps a copy, null stays null and empty stays
// empty; every getter refuses a null pointer.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "DataTestSupport.h"

using namespace datatest;
using testsupport::HasErrorInfo;

namespace {

// One text property of interface I, by its accessors.
template <class I>
struct TextProperty {
    const char* name;
    HRESULT (STDMETHODCALLTYPE I::*get)(BSTR*);
    HRESULT (STDMETHODCALLTYPE I::*put)(BSTR);
};

// Checks the default, the copy, the null and the empty rules of every text property, and that
// each property keeps its own value.
template <class I>
void CheckTextProperties(I* object, const std::vector<TextProperty<I>>& properties) {
    for (const auto& p : properties) {
        SCOPED_TRACE(p.name);
        Text stale(L"stale");
        BSTR initial = stale.b;
        EXPECT_EQ(S_OK, (object->*p.get)(&initial));
        EXPECT_EQ(nullptr, initial) << "new objects hold null texts";
        EXPECT_EQ(E_INVALIDARG, (object->*p.get)(nullptr));

        Text empty(L"");
        EXPECT_EQ(S_OK, (object->*p.put)(empty));
        Text gotEmpty;
        EXPECT_EQ(S_OK, (object->*p.get)(&gotEmpty));
        ASSERT_NE(nullptr, gotEmpty.b);
        EXPECT_EQ(0u, ::SysStringLen(gotEmpty));

        Text null;
        EXPECT_EQ(S_OK, (object->*p.put)(null));
        BSTR gotNull = stale.b;
        EXPECT_EQ(S_OK, (object->*p.get)(&gotNull));
        EXPECT_EQ(nullptr, gotNull);
    }
    for (const auto& p : properties) {
        const std::wstring value = L" value of " + std::wstring(p.name, p.name + strlen(p.name)) + L" ";
        Text source(value.c_str());
        ASSERT_EQ(S_OK, (object->*p.put)(source));
        source.b[1] = L'#';  // the object kept a copy
    }
    for (const auto& p : properties) {
        SCOPED_TRACE(p.name);
        const std::wstring value = L" value of " + std::wstring(p.name, p.name + strlen(p.name)) + L" ";
        Text first, second;
        EXPECT_EQ(S_OK, (object->*p.get)(&first));
        EXPECT_EQ(S_OK, (object->*p.get)(&second));
        EXPECT_EQ(value, first.str()) << "untrimmed, unchanged and not overwritten by another property";
        EXPECT_NE(first.b, second.b) << "each get hands out a copy";
    }
}

#define TEXT_PROPERTY(I, name) TextProperty<I>{#name, &I::get_##name, &I::put_##name}

class RecordTest : public testsupport::ComTest {};

TEST_F(RecordTest, ContactTexts) {
    Ref<IContact> contact;
    ASSERT_HRESULT_SUCCEEDED(Create(CLSID_Contact, IID_IContact, &contact));
    CheckTextProperties<IContact>(contact, {
        TEXT_PROPERTY(IContact, ID), TEXT_PROPERTY(IContact, QuickName), TEXT_PROPERTY(IContact, FirstName),
        TEXT_PROPERTY(IContact, LastName), TEXT_PROPERTY(IContact, TelephoneNumber),
        TEXT_PROPERTY(IContact, MobileNumber), TEXT_PROPERTY(IContact, StreetAddress1),
        TEXT_PROPERTY(IContact, StreetAddress2), TEXT_PROPERTY(IContact, Town), TEXT_PROPERTY(IContact, County),
        TEXT_PROPERTY(IContact, Postcode), TEXT_PROPERTY(IContact, Country), TEXT_PROPERTY(IContact, EmailAddress)});
}

TEST_F(RecordTest, ContactTypeStartsAsContactAndTakesAnyValue) {
    Ref<IContact> contact;
    ASSERT_HRESULT_SUCCEEDED(Create(CLSID_Contact, IID_IContact, &contact));
    CONTACT_TYPE type = static_cast<CONTACT_TYPE>(77);
    EXPECT_EQ(S_OK, contact->get_ContactType(&type));
    EXPECT_EQ(CONTACT_TYPE_CONTACT, type);
    EXPECT_EQ(E_INVALIDARG, contact->get_ContactType(nullptr));
    for (LONG value : {1L, 0x7FFFFFFFL, -5L}) {
        EXPECT_EQ(S_OK, contact->put_ContactType(static_cast<CONTACT_TYPE>(value)));
        EXPECT_EQ(S_OK, contact->get_ContactType(&type));
        EXPECT_EQ(value, static_cast<LONG>(type));
    }
}

TEST_F(RecordTest, GroupTextsAndType) {
    Ref<IContactGroup> group;
    ASSERT_HRESULT_SUCCEEDED(Create(CLSID_ContactGroup, IID_IContactGroup, &group));
    CONTACT_GROUP_TYPE type = static_cast<CONTACT_GROUP_TYPE>(77);
    EXPECT_EQ(S_OK, group->get_GroupType(&type));
    EXPECT_EQ(CONTACT_GROUP_TYPE_GROUP, type);
    EXPECT_EQ(S_OK, group->put_GroupType(static_cast<CONTACT_GROUP_TYPE>(-9)));
    EXPECT_EQ(S_OK, group->get_GroupType(&type));
    EXPECT_EQ(-9, static_cast<int>(type));
    EXPECT_EQ(E_INVALIDARG, group->get_GroupType(nullptr));
    CheckTextProperties<IContactGroup>(group, {TEXT_PROPERTY(IContactGroup, ID), TEXT_PROPERTY(IContactGroup, Name),
                                               TEXT_PROPERTY(IContactGroup, Description)});
}

// The ID through the private interface and through the dual interface is one field.
template <class I>
void CheckSharedIdentifier(I* object) {
    Ref<IObjectWithID> withId;
    ASSERT_EQ(S_OK, object->QueryInterface(IID_IObjectWithID, reinterpret_cast<void**>(&withId)));
    Text id(L"41"), seen;
    ASSERT_EQ(S_OK, withId->put_ID(id));
    EXPECT_EQ(S_OK, object->get_ID(&seen));
    EXPECT_EQ(L"41", seen.str());
    Text other(L"42");
    ASSERT_EQ(S_OK, object->put_ID(other));
    EXPECT_EQ(S_OK, withId->get_ID(&seen));
    EXPECT_EQ(L"42", seen.str());
    EXPECT_EQ(E_INVALIDARG, withId->get_ID(nullptr));
}

TEST_F(RecordTest, ContactAndGroupShareTheirIdentifierWithIObjectWithID) {
    Ref<IContact> contact;
    ASSERT_HRESULT_SUCCEEDED(Create(CLSID_Contact, IID_IContact, &contact));
    CheckSharedIdentifier<IContact>(contact);
    Ref<IContactGroup> group;
    ASSERT_HRESULT_SUCCEEDED(Create(CLSID_ContactGroup, IID_IContactGroup, &group));
    CheckSharedIdentifier<IContactGroup>(group);
}

TEST_F(RecordTest, ObjectPointerRefusesANullOutPointer) {
    Ref<IContact> contact;
    ASSERT_HRESULT_SUCCEEDED(Create(CLSID_Contact, IID_IContact, &contact));
    Ref<IObjectPointer> pointer;
    ASSERT_EQ(S_OK, contact->QueryInterface(IID_IObjectPointer, reinterpret_cast<void**>(&pointer)));
    EXPECT_EQ(E_INVALIDARG, pointer->GetObjectPointer(nullptr));
    void* address = nullptr;
    EXPECT_EQ(S_OK, pointer->GetObjectPointer(&address));
    EXPECT_NE(nullptr, address);
}

TEST_F(RecordTest, ContactAnswersErrorInfoForIContactOnly) {
    Ref<ISupportErrorInfo> support;
    ASSERT_HRESULT_SUCCEEDED(Create(CLSID_Contact, IID_ISupportErrorInfo, &support));
    EXPECT_EQ(S_OK, support->InterfaceSupportsErrorInfo(IID_IContact));
    EXPECT_EQ(S_FALSE, support->InterfaceSupportsErrorInfo(IID_IObjectWithID));
}

TEST_F(RecordTest, AccountState) {
    Ref<IAccountState> state;
    ASSERT_HRESULT_SUCCEEDED(Create(CLSID_AccountState, IID_IAccountState, &state));
    LONG limit = -1, features = -1;
    EXPECT_EQ(S_OK, state->get_MessageLimit(&limit));
    EXPECT_EQ(S_OK, state->get_Features(&features));
    EXPECT_EQ(0, limit);
    EXPECT_EQ(0, features);
    EXPECT_EQ(E_INVALIDARG, state->get_MessageLimit(nullptr));
    EXPECT_EQ(E_INVALIDARG, state->get_Features(nullptr));
    EXPECT_EQ(S_OK, state->put_MessageLimit(250));
    EXPECT_EQ(S_OK, state->put_Features(ACCOUNT_FEATURE_INBOX | ACCOUNT_FEATURE_SERVICE_ALIASING));
    EXPECT_EQ(S_OK, state->get_MessageLimit(&limit));
    EXPECT_EQ(S_OK, state->get_Features(&features));
    EXPECT_EQ(250, limit);
    EXPECT_EQ(3, features);
    CheckTextProperties<IAccountState>(state, {TEXT_PROPERTY(IAccountState, ID), TEXT_PROPERTY(IAccountState, Reference),
                                               TEXT_PROPERTY(IAccountState, Address),
                                               TEXT_PROPERTY(IAccountState, ServiceAlias)});
}

TEST_F(RecordTest, SignupCompletionElements) {
    Ref<ISignupCompletionElements> elements;
    ASSERT_HRESULT_SUCCEEDED(Create(CLSID_SignupCompletionElements, IID_ISignupCompletionElements, &elements));
    CheckTextProperties<ISignupCompletionElements>(
        elements, {TEXT_PROPERTY(ISignupCompletionElements, Username),
                   TEXT_PROPERTY(ISignupCompletionElements, AccountReference),
                   TEXT_PROPERTY(ISignupCompletionElements, WelcomeMessage)});
}

TEST_F(RecordTest, RecordsAreNotAggregatable) {
    struct Outer : IUnknown {
        STDMETHOD(QueryInterface)(REFIID, void** ppv) override { *ppv = nullptr; return E_NOINTERFACE; }
        STDMETHOD_(ULONG, AddRef)() override { return 2; }
        STDMETHOD_(ULONG, Release)() override { return 1; }
    } outer;
    for (const CLSID* clsid : {&CLSID_Contact, &CLSID_ContactGroup, &CLSID_AccountState, &CLSID_ObjectCollection}) {
        IUnknown* inner = nullptr;
        EXPECT_EQ(CLASS_E_NOAGGREGATION,
                  ::CoCreateInstance(*clsid, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&inner)));
        EXPECT_EQ(nullptr, inner);
    }
}

class MessageTest : public testsupport::ComTest {};

void CheckMessage(ISMSMessage2* message) {
    CheckTextProperties<ISMSMessage2>(message, {TEXT_PROPERTY(ISMSMessage2, ID), TEXT_PROPERTY(ISMSMessage2, Originator),
                                                TEXT_PROPERTY(ISMSMessage2, Recipient), TEXT_PROPERTY(ISMSMessage2, Body),
                                                TEXT_PROPERTY(ISMSMessage2, Username)});
    DATE sent = -1, received = -1;
    MESSAGE_TYPE type = MESSAGE_TYPE_TEXT;
    MESSAGE_STATUS status = MESSAGE_STATUS_SENT;
    LONG index = -1;
    EXPECT_EQ(S_OK, message->get_SentAt(&sent));
    EXPECT_EQ(S_OK, message->get_ReceivedAt(&received));
    EXPECT_EQ(S_OK, message->get_Type(&type));
    EXPECT_EQ(S_OK, message->get_Status(&status));
    EXPECT_EQ(S_OK, message->get_MessageIndex(&index));
    EXPECT_EQ(0.0, sent);
    EXPECT_EQ(0.0, received);
    EXPECT_EQ(0, static_cast<int>(type));
    EXPECT_EQ(0, static_cast<int>(status));
    EXPECT_EQ(0, index);

    EXPECT_EQ(S_OK, message->put_SentAt(40000.25));
    EXPECT_EQ(S_OK, message->put_ReceivedAt(40001.5));
    EXPECT_EQ(S_OK, message->put_Type(MESSAGE_TYPE_UNICODE));
    EXPECT_EQ(S_OK, message->put_Status(MESSAGE_STATUS_DELIVERED));
    EXPECT_EQ(S_OK, message->put_MessageIndex(41));
    EXPECT_EQ(S_OK, message->get_SentAt(&sent));
    EXPECT_EQ(S_OK, message->get_ReceivedAt(&received));
    EXPECT_EQ(S_OK, message->get_Type(&type));
    EXPECT_EQ(S_OK, message->get_Status(&status));
    EXPECT_EQ(S_OK, message->get_MessageIndex(&index));
    EXPECT_EQ(40000.25, sent);
    EXPECT_EQ(40001.5, received);
    EXPECT_EQ(MESSAGE_TYPE_UNICODE, type);
    EXPECT_EQ(MESSAGE_STATUS_DELIVERED, status);
    EXPECT_EQ(41, index);

    ClearErrorInfo();
    EXPECT_EQ(E_INVALIDARG, message->get_SentAt(nullptr));
    EXPECT_EQ(E_INVALIDARG, message->get_ReceivedAt(nullptr));
    EXPECT_EQ(E_INVALIDARG, message->get_Type(nullptr));
    EXPECT_EQ(E_INVALIDARG, message->get_Status(nullptr));
    EXPECT_EQ(E_INVALIDARG, message->get_MessageIndex(nullptr));
    EXPECT_FALSE(HasErrorInfo());
}

TEST_F(MessageTest, AloneEveryPropertyRoundTrips) {
    Ref<ISMSMessage2> message;
    ASSERT_HRESULT_SUCCEEDED(Create(CLSID_SMSMessage2, IID_ISMSMessage2, &message));
    CheckMessage(message);
}

// A controlling unknown that counts its references and hands out the inner object's interfaces.
class Outer : public IUnknown {
public:
    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override {
        if (iid == IID_IUnknown) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        return inner ? inner->QueryInterface(iid, ppv) : (*ppv = nullptr, E_NOINTERFACE);
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++refs; }
    STDMETHOD_(ULONG, Release)() override { return --refs; }

    ULONG refs = 1;
    IUnknown* inner = nullptr;
};

TEST_F(MessageTest, AggregatedTheInnerInterfacesCountOnTheOuterObject) {
    Outer outer;
    ASSERT_EQ(S_OK, ::CoCreateInstance(CLSID_SMSMessage2, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                       reinterpret_cast<void**>(&outer.inner)));
    ASSERT_NE(nullptr, outer.inner);
    EXPECT_EQ(1u, outer.refs) << "creating the inner object leaves the outer count alone";

    ISMSMessage2* message = nullptr;
    ASSERT_EQ(S_OK, outer.inner->QueryInterface(IID_ISMSMessage2, reinterpret_cast<void**>(&message)));
    EXPECT_EQ(2u, outer.refs);
    message->AddRef();
    EXPECT_EQ(3u, outer.refs);
    message->Release();
    EXPECT_EQ(2u, outer.refs);

    // Through the inner interface, QueryInterface goes to the outer object too.
    IUnknown* identity = nullptr;
    ASSERT_EQ(S_OK, message->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)));
    EXPECT_EQ(static_cast<IUnknown*>(&outer), identity);
    identity->Release();

    CheckMessage(message);
    message->Release();
    EXPECT_EQ(1u, outer.refs);
    EXPECT_EQ(0u, outer.inner->Release());
}

TEST_F(MessageTest, AnAggregatorMustAskForTheInnerUnknown) {
    Outer outer;
    ISMSMessage2* message = nullptr;
    EXPECT_EQ(CLASS_E_NOAGGREGATION, ::CoCreateInstance(CLSID_SMSMessage2, &outer, CLSCTX_INPROC_SERVER,
                                                        IID_ISMSMessage2, reinterpret_cast<void**>(&message)));
    EXPECT_EQ(nullptr, message);
    EXPECT_EQ(1u, outer.refs);
}

}  // namespace
