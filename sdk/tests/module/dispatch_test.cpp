// Every class is creatable by CLSID and by both ProgIDs, serves IDispatch through the type
// library with the numbering of its interface, and says which interface carries error info.
#include <windows.h>

#include <gtest/gtest.h>

#include <atlbase.h>

#include "ComTestSupport.h"
#include "TarvockLib.h"

using testsupport::ComTest;

namespace {

struct ClassRow {
    const CLSID* clsid;
    const IID* defaultIid;
    const wchar_t* progId;
    const wchar_t* independentProgId;
};

const ClassRow kClasses[] = {
    {&CLSID_SendService2, &IID_ISendService2, L"Tarvock.SendService.2", L"Tarvock.SendService2"},
    {&CLSID_StringCollection2, &IID_IStringCollection2, L"Tarvock.StringCollection.2", L"Tarvock.StringCollection2"},
    {&CLSID_InboxService2, &IID_IInboxService2, L"Tarvock.InboxService.2", L"Tarvock.InboxService2"},
    {&CLSID_AccountService, &IID_IAccountService, L"Tarvock.AccountService.1", L"Tarvock.AccountService"},
    {&CLSID_SMSMessage2, &IID_ISMSMessage2, L"Tarvock.SMSMessage.2", L"Tarvock.SMSMessage2"},
    {&CLSID_ContactService, &IID_IContactService, L"Tarvock.ContactService.1", L"Tarvock.ContactService"},
    {&CLSID_SignupService, &IID_ISignupService, L"Tarvock.SignupService.1", L"Tarvock.SignupService"},
    {&CLSID_ObjectCollection, &IID_IObjectCollection, L"Tarvock.ObjectCollection.1", L"Tarvock.ObjectCollection"},
    {&CLSID_Contact, &IID_IContact, L"Tarvock.Contact.1", L"Tarvock.Contact"},
    {&CLSID_ContactGroup, &IID_IContactGroup, L"Tarvock.ContactGroup.1", L"Tarvock.ContactGroup"},
    {&CLSID_TestService, &IID_ITestService, L"Tarvock.TestService.1", L"Tarvock.TestService"},
    {&CLSID_SignupCompletionElements, &IID_ISignupCompletionElements, L"Tarvock.SignupCompletionElements.1",
     L"Tarvock.SignupCompletionElements"},
    {&CLSID_AccountState, &IID_IAccountState, L"Tarvock.AccountState.1", L"Tarvock.AccountState"},
    {&CLSID_MessengerService, &IID_IMessengerService, L"Tarvock.MessengerService.1", L"Tarvock.MessengerService"},
};

CComPtr<IDispatch> Create(const CLSID& clsid) {
    CComPtr<IDispatch> object;
    EXPECT_HRESULT_SUCCEEDED(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                                reinterpret_cast<void**>(&object)));
    return object;
}

class ServerTest : public ComTest {};

TEST_F(ServerTest, EveryClassIsCreatableByBothProgIds) {
    for (const ClassRow& row : kClasses) {
        SCOPED_TRACE(testsupport::Narrow(std::wstring(row.progId)));
        for (const wchar_t* progId : {row.progId, row.independentProgId}) {
            CLSID clsid = {};
            ASSERT_HRESULT_SUCCEEDED(::CLSIDFromProgID(progId, &clsid));
            EXPECT_TRUE(::IsEqualCLSID(clsid, *row.clsid));
        }
        CComPtr<IUnknown> object;
        ASSERT_HRESULT_SUCCEEDED(::CoCreateInstance(*row.clsid, nullptr, CLSCTX_INPROC_SERVER, *row.defaultIid,
                                                    reinterpret_cast<void**>(&object)));
        CComPtr<IUnknown> dispatch;
        EXPECT_HRESULT_SUCCEEDED(object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)));
    }
}

TEST_F(ServerTest, ErrorInfoIsSupportedForTheDefaultInterfaceOnly) {
    for (const ClassRow& row : kClasses) {
        SCOPED_TRACE(testsupport::Narrow(std::wstring(row.progId)));
        CComPtr<IDispatch> object = Create(*row.clsid);
        ASSERT_TRUE(object);
        CComPtr<ISupportErrorInfo> support;
        ASSERT_HRESULT_SUCCEEDED(object.QueryInterface(&support));
        EXPECT_EQ(S_OK, support->InterfaceSupportsErrorInfo(*row.defaultIid));
        EXPECT_EQ(S_FALSE, support->InterfaceSupportsErrorInfo(IID_IDispatch));
    }
}

TEST_F(ServerTest, AggregationIsRefusedByClassesThatDoNotSupportIt) {
    CComPtr<IUnknown> outer;
    ASSERT_HRESULT_SUCCEEDED(::CoCreateInstance(CLSID_StringCollection2, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                                reinterpret_cast<void**>(&outer)));
    IUnknown* inner = nullptr;
    EXPECT_EQ(CLASS_E_NOAGGREGATION, ::CoCreateInstance(CLSID_SendService2, outer, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                                        reinterpret_cast<void**>(&inner)));
    EXPECT_EQ(nullptr, inner);
}

struct NamedId {
    const wchar_t* name;
    DISPID id;
};

void ExpectDispIds(const CLSID& clsid, std::initializer_list<NamedId> members) {
    CComPtr<IDispatch> object = Create(clsid);
    ASSERT_TRUE(object);
    for (const NamedId& member : members) {
        EXPECT_EQ(member.id, testsupport::DispIdOf(object, member.name)) << testsupport::Narrow(std::wstring(member.name));
    }
}

TEST_F(ServerTest, NamesMapToTheirDispatchIds) {
    ExpectDispIds(CLSID_SendService2, {{L"Initialise", 1}, {L"SendMessageFull", 2}, {L"SendMessage", 3},
                                       {L"GetMessageStatus", 4}, {L"SendMessageMultipleRecipients", 5},
                                       {L"SendMessageMultipleRecipientsFull", 6}, {L"Dummy", 7}});
    ExpectDispIds(CLSID_InboxService2, {{L"Initialise", 1}, {L"DeleteMessage", 2}, {L"DeleteMessages", 3},
                                        {L"GetMessages", 4}, {L"GetMessage", 5}, {L"GetMessagesForDay", 6},
                                        {L"GetMessagesForDateRange", 7}, {L"GetMessagesByID", 8},
                                        {L"GetLatestMessages", 9}});
    ExpectDispIds(CLSID_AccountService, {{L"Initialise", 1}, {L"GetMessageLimit", 2}, {L"GetAccountFeatures", 3},
                                         {L"Dummy", 4}, {L"GetAccountState", 5}});
    ExpectDispIds(CLSID_SMSMessage2, {{L"ID", 1}, {L"Originator", 2}, {L"Recipient", 3}, {L"Body", 4}, {L"SentAt", 5},
                                      {L"ReceivedAt", 6}, {L"Type", 7}, {L"Status", 8}, {L"Username", 9},
                                      {L"MessageIndex", 10}});
    ExpectDispIds(CLSID_AccountState, {{L"ID", 1}, {L"Reference", 2}, {L"Address", 3}, {L"ServiceAlias", 4},
                                       {L"MessageLimit", 5}, {L"Features", 6}});
    ExpectDispIds(CLSID_Contact, {{L"ID", 1}, {L"QuickName", 2}, {L"FirstName", 3}, {L"LastName", 4},
                                  {L"TelephoneNumber", 5}, {L"MobileNumber", 6}, {L"StreetAddress1", 7},
                                  {L"StreetAddress2", 8}, {L"Town", 9}, {L"County", 10}, {L"Postcode", 11},
                                  {L"Country", 12}, {L"EmailAddress", 13}, {L"ContactType", 14}});
    ExpectDispIds(CLSID_ContactGroup, {{L"ID", 1}, {L"Name", 2}, {L"Description", 3}, {L"GroupType", 4}});
    ExpectDispIds(CLSID_SignupService, {{L"Initialise", 1}, {L"DefaultEvaluationSignup", 2}});
    ExpectDispIds(CLSID_SignupCompletionElements, {{L"Username", 1}, {L"AccountReference", 2}, {L"WelcomeMessage", 3}});
    ExpectDispIds(CLSID_TestService, {{L"SetSoapEndPoints", 1}, {L"SetupContactTests", 2}, {L"SetupAccountTests", 3},
                                      {L"SetupSendTests", 4}, {L"SetupInboxTests", 5}, {L"SetupSignupTests", 6}});
    ExpectDispIds(CLSID_MessengerService, {{L"GetCurrentVersion", 1}});
    ExpectDispIds(CLSID_ContactService,
                  {{L"Initialise", 1}, {L"GetContacts", 2}, {L"GetGroups", 3}, {L"AddContact", 4}, {L"AddContacts", 5},
                   {L"AddGroup", 6}, {L"DeleteContact", 7}, {L"DeleteContacts", 8}, {L"DeleteGroup", 9},
                   {L"DeleteGroups", 10}, {L"UpdateContact", 11}, {L"UpdateGroup", 12}, {L"GetContact", 13},
                   {L"GetGroup", 14}, {L"GetGroupMembers", 15}, {L"GetContactByQuickName", 16},
                   {L"GetGroupByName", 17}});
}

TEST_F(ServerTest, CollectionsUseTheEnumeratorAndDefaultMemberIds) {
    const std::initializer_list<NamedId> common = {{L"_NewEnum", DISPID_NEWENUM}, {L"Item", DISPID_VALUE},
                                                   {L"Count", 1}, {L"Add", 2}, {L"Remove", 3}};
    ExpectDispIds(CLSID_StringCollection2, common);
    ExpectDispIds(CLSID_ObjectCollection, common);
    ExpectDispIds(CLSID_ObjectCollection, {{L"IDs", 4}});
    ExpectDispIds(CLSID_StringCollection2, {{L"IDs", DISPID_UNKNOWN}});
}

TEST_F(ServerTest, AnOptionalVariantMayBeLeftOut) {
    CComPtr<IDispatch> service = Create(CLSID_SendService2);
    ASSERT_TRUE(service);
    auto text = [](const wchar_t* s) {
        VARIANT v;
        v.vt = VT_BSTR;
        v.bstrVal = ::SysAllocString(s);
        return v;
    };
    std::vector<VARIANT> args = {text(L"user"), text(L"secret"), text(L"ACC1")};
    const HRESULT hr = testsupport::InvokeByName(service, L"Initialise", DISPATCH_METHOD, args);
    // The call reaches the method: the dispatcher does not refuse the argument count.
    EXPECT_NE(DISP_E_BADPARAMCOUNT, hr);
    EXPECT_NE(DISP_E_PARAMNOTOPTIONAL, hr);
    EXPECT_NE(DISP_E_TYPEMISMATCH, hr);
    for (VARIANT& v : args) ::VariantClear(&v);

    // Leaving out a required argument is refused by the dispatcher.
    std::vector<VARIANT> tooFew = {text(L"user")};
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, testsupport::InvokeByName(service, L"Initialise", DISPATCH_METHOD, tooFew));
    for (VARIANT& v : tooFew) ::VariantClear(&v);
}

TEST_F(ServerTest, TypeInfoDescribesTheDefaultInterface) {
    CComPtr<IDispatch> object = Create(CLSID_SMSMessage2);
    ASSERT_TRUE(object);
    UINT count = 0;
    EXPECT_HRESULT_SUCCEEDED(object->GetTypeInfoCount(&count));
    EXPECT_EQ(1u, count);
    CComPtr<ITypeInfo> info;
    ASSERT_HRESULT_SUCCEEDED(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info));
    TYPEATTR* attr = nullptr;
    ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attr));
    EXPECT_TRUE(::IsEqualIID(attr->guid, IID_ISMSMessage2));
    info->ReleaseTypeAttr(attr);
    ITypeInfo* none = nullptr;
    EXPECT_EQ(DISP_E_BADINDEX, object->GetTypeInfo(1, LOCALE_USER_DEFAULT, &none));
}

}  // namespace
