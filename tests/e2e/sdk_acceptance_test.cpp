// The SDK's acceptance from a program, for what a script cannot reach: calls through the
// interfaces' vtables (null pointers, exact VARIANT types, VARIANT_BOOL values other than -1),
// text outside the ANSI range, dates with a time of day, the thread's error information after a
// failed call, and objects returned by one call handed to the next. Each test starts from the
// stand-in's fixtures and reads back what was sent from its request log.
#include <windows.h>

#include <atlbase.h>

#include <gtest/gtest.h>

#include <string>

#include "ComTestSupport.h"
#include "MsXml.h"
#include "StandinTest.h"
#include "TarvockLib.h"

namespace {

using testsupport::HasErrorInfo;
using testsupport::Narrow;
using testsupport::TakeErrorDescription;

const wchar_t kOwnNumber[] = L"447700900101";
// "Prix: 15 € – merci", the Unicode message of the fixtures.
const wchar_t kPriceText[] = L"Prix: 15 \u20AC \u2013 merci";

std::wstring Str(BSTR text) {
    return text ? std::wstring(text, ::SysStringLen(text)) : std::wstring(L"<null>");
}

// The text of the first element named tag in an XML text; "<none>" when there is none.
std::wstring ElementText(const std::wstring& xml, const wchar_t* tag) {
    CComPtr<IXMLDOMDocument> document;
    if (FAILED(document.CoCreateInstance(msxml::kDomDocumentClass, nullptr, CLSCTX_INPROC_SERVER))) return L"<none>";
    VARIANT_BOOL loaded = VARIANT_FALSE;
    if (FAILED(document->loadXML(CComBSTR(xml.c_str()), &loaded)) || !loaded) return L"<none>";
    CComPtr<IXMLDOMNodeList> list;
    CComPtr<IXMLDOMNode> node;
    if (FAILED(document->getElementsByTagName(CComBSTR(tag), &list)) || !list || FAILED(list->get_item(0, &node)) ||
        !node)
        return L"<none>";
    CComBSTR text;
    node->get_text(&text);
    return text ? std::wstring(text, text.Length()) : std::wstring();
}

DATE Date(WORD year, WORD month, WORD day, WORD hour, WORD minute) {
    SYSTEMTIME time = {year, month, 0, day, hour, minute, 0, 0};
    DATE date = 0;
    ::SystemTimeToVariantTime(&time, &date);
    return date;
}

class AcceptanceTest : public standin::StandinTest {
protected:
    void SetUp() override {
        StandinTest::SetUp();
        ASSERT_NO_THROW(standin::PointSdkAtStandin());
    }

    template <class Itf>
    static CComPtr<Itf> Create(REFCLSID clsid) {
        CComPtr<Itf> object;
        EXPECT_HRESULT_SUCCEEDED(object.CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER));
        return object;
    }

    template <class Itf>
    static CComPtr<Itf> SignedIn(REFCLSID clsid, const wchar_t* user = L"test", const wchar_t* password = L"test",
                                 const wchar_t* account = L"TEST01") {
        CComPtr<Itf> service = Create<Itf>(clsid);
        if (service) {
            EXPECT_EQ(S_OK, service->Initialise(CComBSTR(user), CComBSTR(password), CComBSTR(account), testsupport::Omitted()));
        }
        return service;
    }

    std::wstring LastSent(const wchar_t* tag) { return ElementText(Log().Last().body, tag); }

    // Initialise with a null password (a script can only pass an empty one).
    template <class Itf>
    static void ExpectPasswordRequired(REFCLSID clsid) {
        CComPtr<Itf> service = Create<Itf>(clsid);
        ASSERT_TRUE(service);
        EXPECT_EQ(E_INVALIDARG, service->Initialise(CComBSTR(L"test"), nullptr, CComBSTR(L"TEST01"), testsupport::Omitted()));
        EXPECT_EQ("The argument Password is missing or empty.", Narrow(TakeErrorDescription()));
    }
};

TEST_F(AcceptanceTest, EveryServiceServesErrorInfoForItsOwnInterface) {
    const struct {
        const CLSID* clsid;
        const IID* iid;
    } services[] = {{&CLSID_SendService2, &IID_ISendService2},     {&CLSID_InboxService2, &IID_IInboxService2},
                    {&CLSID_AccountService, &IID_IAccountService}, {&CLSID_ContactService, &IID_IContactService},
                    {&CLSID_SignupService, &IID_ISignupService},   {&CLSID_TestService, &IID_ITestService},
                    {&CLSID_MessengerService, &IID_IMessengerService}};
    for (const auto& service : services) {
        auto support = Create<ISupportErrorInfo>(*service.clsid);
        ASSERT_TRUE(support);
        EXPECT_EQ(S_OK, support->InterfaceSupportsErrorInfo(*service.iid));
        EXPECT_EQ(S_FALSE, support->InterfaceSupportsErrorInfo(IID_IDispatch));
    }
}

TEST_F(AcceptanceTest, NullResultPointersFailWithoutADescriptionAndSendNothing) {
    auto account = SignedIn<IAccountService>(CLSID_AccountService);
    auto sender = SignedIn<ISendService2>(CLSID_SendService2);
    auto inbox = SignedIn<IInboxService2>(CLSID_InboxService2);
    auto contacts = SignedIn<IContactService>(CLSID_ContactService);
    auto version = Create<IMessengerService>(CLSID_MessengerService);
    ::SetErrorInfo(0, nullptr);
    EXPECT_EQ(E_INVALIDARG, account->GetAccountState(nullptr));
    EXPECT_EQ(E_INVALIDARG, account->GetMessageLimit(nullptr));
    EXPECT_EQ(E_INVALIDARG, account->GetAccountFeatures(nullptr));
    EXPECT_EQ(E_INVALIDARG, sender->SendMessage(CComBSTR(L"447700900301"), CComBSTR(L"Hi"), MESSAGE_TYPE_TEXT, nullptr));
    EXPECT_EQ(E_INVALIDARG, sender->GetMessageStatus(CComBSTR(L"x"), nullptr));
    EXPECT_EQ(E_INVALIDARG, inbox->GetMessages(nullptr));
    EXPECT_EQ(E_INVALIDARG, inbox->GetLatestMessages(testsupport::VariantInt(1), testsupport::Omitted(), nullptr));
    EXPECT_EQ(E_INVALIDARG, contacts->GetContacts(nullptr));
    EXPECT_EQ(E_INVALIDARG, version->GetCurrentVersion(nullptr));
    EXPECT_FALSE(HasErrorInfo());
    EXPECT_TRUE(Log().Empty());
}

TEST_F(AcceptanceTest, NullCredentialsAreRefusedByEveryServiceThatSignsIn) {
    ExpectPasswordRequired<ISendService2>(CLSID_SendService2);
    ExpectPasswordRequired<IInboxService2>(CLSID_InboxService2);
    ExpectPasswordRequired<IAccountService>(CLSID_AccountService);
    ExpectPasswordRequired<IContactService>(CLSID_ContactService);
    ExpectPasswordRequired<ISignupService>(CLSID_SignupService);
    EXPECT_TRUE(Log().Empty());
}

TEST_F(AcceptanceTest, TextOutsideTheAnsiRangeTravelsBothWays) {
    auto inbox = SignedIn<IInboxService2>(CLSID_InboxService2);
    CComPtr<ISMSMessage2> fixture;
    ASSERT_EQ(S_OK, inbox->GetMessage(CComBSTR(L"20000000-0000-4000-8000-000000000004"), &fixture));
    CComBSTR body;
    fixture->get_Body(&body);
    EXPECT_EQ(std::wstring(kPriceText), Str(body));

    auto sender = SignedIn<ISendService2>(CLSID_SendService2);
    const std::wstring text = std::wstring(L"Re: ") + kPriceText;
    CComBSTR id;
    ASSERT_EQ(S_OK, sender->SendMessage(CComBSTR(kOwnNumber), CComBSTR(text.c_str()), MESSAGE_TYPE_UNICODE, &id));
    EXPECT_EQ(text, LastSent(L"body"));
    EXPECT_EQ(L"Unicode", LastSent(L"type"));

    CComPtr<IObjectCollection> latest;
    ASSERT_EQ(S_OK, inbox->GetLatestMessages(testsupport::VariantInt(5), testsupport::Omitted(), &latest));
    long count = 0;
    latest->get_Count(&count);
    ASSERT_EQ(1, count);
    CComPtr<IDispatch> item;
    latest->get_Item(1, &item);
    CComPtr<ISMSMessage2> received;
    ASSERT_EQ(S_OK, item.QueryInterface(&received));
    CComBSTR receivedBody;
    received->get_Body(&receivedBody);
    EXPECT_EQ(text, Str(receivedBody));
    MESSAGE_TYPE type = MESSAGE_TYPE_TEXT;
    received->get_Type(&type);
    EXPECT_EQ(MESSAGE_TYPE_UNICODE, type);
}

TEST_F(AcceptanceTest, LatestMessagesTakeTheIndexAsTheProgramPassesIt) {
    auto inbox = SignedIn<IInboxService2>(CLSID_InboxService2);
    CComPtr<IObjectCollection> latest;
    ASSERT_EQ(S_OK, inbox->GetLatestMessages(testsupport::VariantInt(3), testsupport::Omitted(), &latest));
    long count = 0;
    latest->get_Count(&count);
    EXPECT_EQ(2, count);
    EXPECT_EQ(L"3", LastSent(L"lastMessageIndex"));
    EXPECT_EQ(L"-1", LastSent(L"maxMessages"));

    Log().Reset();
    CComVariant text(L"3");
    CComPtr<IObjectCollection> refused;
    EXPECT_EQ(E_INVALIDARG, inbox->GetLatestMessages(text, testsupport::Omitted(), &refused));
    EXPECT_FALSE(refused);
    EXPECT_TRUE(Log().Empty());
}

TEST_F(AcceptanceTest, ADateRangeSendsEachDaysMidnight) {
    auto inbox = SignedIn<IInboxService2>(CLSID_InboxService2);
    CComPtr<IObjectCollection> messages;
    ASSERT_EQ(S_OK, inbox->GetMessagesForDateRange(Date(2024, 3, 15, 13, 45), Date(2024, 3, 16, 23, 0), &messages));
    long count = 0;
    messages->get_Count(&count);
    EXPECT_EQ(3, count);
    EXPECT_EQ(L"2024-03-15T00:00:00.0000000", LastSent(L"startDate").substr(0, 27));
    EXPECT_EQ(L"2024-03-16T00:00:00.0000000", LastSent(L"endDate").substr(0, 27));
}

TEST_F(AcceptanceTest, ObjectsReturnedByOneCallServeTheNext) {
    auto contacts = SignedIn<IContactService>(CLSID_ContactService);
    CComPtr<IObjectCollection> list;
    ASSERT_EQ(S_OK, contacts->GetContacts(&list));
    CComPtr<IDispatch> item;
    ASSERT_EQ(S_OK, list->get_Item(2, &item));
    CComPtr<IContact> bob;
    ASSERT_EQ(S_OK, item.QueryInterface(&bob));
    bob->put_Town(CComBSTR(L"Whitby"));
    ASSERT_EQ(S_OK, contacts->UpdateContact(bob));

    CComPtr<IContact> read;
    ASSERT_EQ(S_OK, contacts->GetContact(CComBSTR(L"1002"), &read));
    CComBSTR town;
    read->get_Town(&town);
    EXPECT_EQ(L"Whitby", Str(town));

    CComPtr<IObjectCollection> groups;
    ASSERT_EQ(S_OK, contacts->GetGroups(&groups));
    CComPtr<IDispatch> groupItem;
    ASSERT_EQ(S_OK, groups->get_Item(3, &groupItem));
    CComPtr<IContactGroup> empty;
    ASSERT_EQ(S_OK, groupItem.QueryInterface(&empty));
    CComBSTR members;
    ASSERT_EQ(S_OK, list->get_IDs(&members));
    ASSERT_EQ(S_OK, contacts->UpdateGroup(empty, members));
    CComPtr<IObjectCollection> now;
    ASSERT_EQ(S_OK, contacts->GetGroupMembers(CComBSTR(L"2003"), &now));
    CComBSTR ids;
    now->get_IDs(&ids);
    EXPECT_EQ(L"1001,1002,1003,1004", Str(ids));
}

TEST_F(AcceptanceTest, FailuresLeaveTheirDescriptionOnTheThread) {
    auto wrong = SignedIn<IAccountService>(CLSID_AccountService, L"test", L"wrong");
    CComPtr<IAccountState> state;
    EXPECT_EQ(static_cast<HRESULT>(0x80020002), wrong->GetAccountState(&state));
    EXPECT_EQ("Authentication failed: the user name, password or account is wrong.", Narrow(TakeErrorDescription()));
    EXPECT_FALSE(state);

    auto unavailable = SignedIn<ISendService2>(CLSID_SendService2, L"fault503");
    CComBSTR id;
    EXPECT_EQ(E_FAIL, unavailable->SendMessage(CComBSTR(L"447700900301"), CComBSTR(L"Hi"), MESSAGE_TYPE_TEXT, &id));
    EXPECT_NE(std::string::npos, Narrow(TakeErrorDescription()).find("HTTP status 503"));

    auto test = Create<ITestService>(CLSID_TestService);
    ASSERT_EQ(S_OK, test->SetSoapEndPoints(CComBSTR(L"http://127.0.0.1:1/secure/messenger/soap/"), nullptr));
    auto sender = SignedIn<ISendService2>(CLSID_SendService2);
    EXPECT_EQ(static_cast<HRESULT>(0x800203E8),
              sender->SendMessage(CComBSTR(L"447700900301"), CComBSTR(L"Hi"), MESSAGE_TYPE_TEXT, &id));
    const std::string description = Narrow(TakeErrorDescription());
    EXPECT_EQ(0u, description.find("The connection to the web service failed in ")) << description;
    EXPECT_FALSE(id);
    standin::PointSdkAtStandin();
    EXPECT_EQ(S_OK, sender->SendMessage(CComBSTR(L"447700900301"), CComBSTR(L"Hi"), MESSAGE_TYPE_TEXT, &id));
}

TEST_F(AcceptanceTest, SignUpAgreesToMailingOnlyForVariantTrue) {
    auto signup = Create<ISignupService>(CLSID_SignupService);
    CComPtr<ISignupCompletionElements> elements;
    ASSERT_EQ(S_OK, signup->DefaultEvaluationSignup(CComBSTR(L"Ada"), CComBSTR(L"Lovelace"), CComBSTR(L"Engines Ltd"),
                                                    CComBSTR(L"01632960123"), CComBSTR(L"447700900777"),
                                                    CComBSTR(L"ada@example.com"), 1, &elements));
    EXPECT_EQ(L"false", LastSent(L"mailingAgreement"));
    CComBSTR user, reference;
    elements->get_Username(&user);
    elements->get_AccountReference(&reference);
    EXPECT_EQ(L"ada@example.com", Str(user));
    EXPECT_EQ(L"EVAL0001", Str(reference));

    auto account = SignedIn<IAccountService>(CLSID_AccountService, L"ada@example.com", L"x", L"EVAL0001");
    long limit = 0;
    EXPECT_EQ(static_cast<HRESULT>(0x80020002), account->GetMessageLimit(&limit));
}

}  // namespace
