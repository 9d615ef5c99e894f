// The readers of responses, on documents built in memory: messages and their lists, the
// account's state and features, the sign-up result and the sent message's status.
#include <windows.h>

#include "AccountXml.h"
#include "MessageXml.h"
#include "ResultXml.h"
#include "ServiceTestSupport.h"
#include "SignupXml.h"

namespace {

using namespace servicetest;

class ResultsTest : public testsupport::ComTest {};

DATE Date(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD ms = 0) {
    SYSTEMTIME time = {year, month, 0, day, hour, minute, second, ms};
    DATE date = 0;
    ::SystemTimeToVariantTime(&time, &date);
    // SystemTimeToVariantTime drops the milliseconds.
    return date + ms / 86400000.0;
}

const wchar_t kFullMessage[] =
    L"<r xmlns:p='urn:x'><p:SMSMessage>"
    L"<p:id>20000000-0000-4000-8000-000000000004</p:id>"
    L"<p:originator>447700900203</p:originator>"
    L"<p:recipient>447700900101</p:recipient>"
    L"<p:body>Prix: 15 \x20AC</p:body>"
    L"<p:sentat>2024-03-15T12:29:55.0000000+00:00</p:sentat>"
    L"<p:receivedat>2005-11-14T09:30:00.2500000+01:00</p:receivedat>"
    L"<p:type>Unicode</p:type>"
    L"<p:status>Delivered</p:status>"
    L"<p:username>test</p:username>"
    L"<p:messageIndex>4</p:messageIndex>"
    L"</p:SMSMessage></r>";

TEST_F(ResultsTest, AMessageTakesEveryFieldByLocalName) {
    CComPtr<IXMLDOMDocument> document = LoadXml(kFullMessage);
    CComPtr<ISMSMessage2> message;
    ASSERT_EQ(S_OK, Raised([&] { message = SMSMessageFromXml(Element(document, L"p:SMSMessage")); }));
    CComBSTR text;
    ASSERT_EQ(S_OK, message->get_ID(&text));
    EXPECT_EQ("20000000-0000-4000-8000-000000000004", N(text));
    text.Empty();
    message->get_Originator(&text);
    EXPECT_EQ("447700900203", N(text));
    text.Empty();
    message->get_Recipient(&text);
    EXPECT_EQ("447700900101", N(text));
    text.Empty();
    message->get_Body(&text);
    EXPECT_EQ(N(std::wstring(L"Prix: 15 \x20AC")), N(text));
    text.Empty();
    message->get_Username(&text);
    EXPECT_EQ("test", N(text));
    EXPECT_NEAR(Date(2024, 3, 15, 12, 29, 55), Read(message, &ISMSMessage2::get_SentAt), 1e-8);
    // The zone is ignored: the clock time as written (to the second).
    EXPECT_NEAR(Date(2005, 11, 14, 9, 30, 0), Read(message, &ISMSMessage2::get_ReceivedAt), 1.0 / 86400);
    EXPECT_EQ(MESSAGE_TYPE_UNICODE, Read(message, &ISMSMessage2::get_Type));
    EXPECT_EQ(MESSAGE_STATUS_DELIVERED, Read(message, &ISMSMessage2::get_Status));
    EXPECT_EQ(4, Read(message, &ISMSMessage2::get_MessageIndex));
}

TEST_F(ResultsTest, MissingAndUnknownChildrenLeaveTheFieldsEmpty) {
    CComPtr<IXMLDOMDocument> document = LoadXml(
        L"<m><ID>upper case is another name</ID><Body>no</Body><extra>1</extra>"
        L"<messageIndex></messageIndex><status>Read</status><type>text</type></m>");
    CComPtr<ISMSMessage2> message;
    ASSERT_EQ(S_OK, Raised([&] { message = SMSMessageFromXml(Element(document, L"m")); }));
    CComBSTR text;
    message->get_ID(&text);
    EXPECT_EQ(nullptr, text.m_str);
    text.Empty();
    message->get_Body(&text);
    EXPECT_EQ(nullptr, text.m_str);
    LONG index = -1;
    message->get_MessageIndex(&index);
    EXPECT_EQ(0, index);
    MESSAGE_STATUS status = MESSAGE_STATUS_FAILED;
    message->get_Status(&status);
    EXPECT_EQ(0, status);
    MESSAGE_TYPE type = MESSAGE_TYPE_BINARY;
    message->get_Type(&type);
    EXPECT_EQ(0, type);
    DATE date = 1;
    message->get_SentAt(&date);
    EXPECT_EQ(0, date);
}

TEST_F(ResultsTest, AMessageIndexIsTheLeadingInteger) {
    CComPtr<IXMLDOMDocument> document = LoadXml(L"<m><messageIndex> 12abc</messageIndex></m>");
    CComPtr<ISMSMessage2> message;
    ASSERT_EQ(S_OK, Raised([&] { message = SMSMessageFromXml(Element(document, L"m")); }));
    LONG index = 0;
    message->get_MessageIndex(&index);
    EXPECT_EQ(12, index);
}

TEST_F(ResultsTest, AListHoldsOneMessagePerChildInDocumentOrder) {
    CComPtr<IXMLDOMDocument> document = LoadXml(
        L"<GetMessagesResult><SMSMessage><id>c</id></SMSMessage><Other><id>a</id></Other>"
        L"<SMSMessage><id>b</id></SMSMessage></GetMessagesResult>");
    CComPtr<IObjectCollection> list;
    ASSERT_EQ(S_OK, Raised([&] { list = SMSMessageListFromXml(Element(document, L"GetMessagesResult")); }));
    LONG count = 0;
    ASSERT_EQ(S_OK, list->get_Count(&count));
    ASSERT_EQ(3, count);
    const char* expected[] = {"c", "a", "b"};
    for (LONG i = 1; i <= 3; ++i) {
        CComPtr<IDispatch> item;
        ASSERT_EQ(S_OK, list->get_Item(i, &item));
        CComPtr<ISMSMessage2> message;
        ASSERT_EQ(S_OK, item.QueryInterface(&message));
        CComBSTR id;
        message->get_ID(&id);
        EXPECT_EQ(expected[i - 1], N(id));
    }
}

TEST_F(ResultsTest, AnEmptyResultElementGivesAnEmptyList) {
    CComPtr<IXMLDOMDocument> document = LoadXml(L"<r><GetLatestMessagesResult/></r>");
    CComPtr<IObjectCollection> list;
    ASSERT_EQ(S_OK, Raised([&] { list = SMSMessageListFromXml(Element(document, L"GetLatestMessagesResult")); }));
    LONG count = -1;
    list->get_Count(&count);
    EXPECT_EQ(0, count);
}

TEST_F(ResultsTest, AMissingResultElementFailsWithoutADescription) {
    CComPtr<IXMLDOMDocument> document = LoadXml(L"<r><GetMessagesResponse/></r>");
    ::SetErrorInfo(0, nullptr);
    EXPECT_EQ(E_FAIL, Raised([&] { RequireResultElement(document, L"GetMessagesResult"); }));
    EXPECT_FALSE(testsupport::HasErrorInfo());
    EXPECT_EQ(S_OK, Raised([&] { RequireResultElement(document, L"GetMessagesResponse"); }));
}

TEST_F(ResultsTest, FeaturesComeFromTheirWords) {
    EXPECT_EQ(3, AccountFeaturesFromText(L"ServiceAliasing Inbox"));
    EXPECT_EQ(3, AccountFeaturesFromText(L"  Inbox    ServiceAliasing "));
    EXPECT_EQ(2, AccountFeaturesFromText(L"Inbox Inbox"));
    EXPECT_EQ(1, AccountFeaturesFromText(L"ServiceAliasing"));
    EXPECT_EQ(0, AccountFeaturesFromText(L"Outbox"));
    EXPECT_EQ(0, AccountFeaturesFromText(L"inbox"));
    EXPECT_EQ(0, AccountFeaturesFromText(L"InboxServiceAliasing"));
    EXPECT_EQ(0, AccountFeaturesFromText(L""));
    EXPECT_EQ(0, AccountFeaturesFromText(nullptr));
}

TEST_F(ResultsTest, AnAccountStateTakesItsFieldsByLocalName) {
    CComPtr<IXMLDOMDocument> document = LoadXml(
        L"<s:GetAccountStateResult xmlns:s='urn:x'><s:ID>a0000000-0000-4000-8000-000000000001</s:ID>"
        L"<s:Reference>TEST01</s:Reference><s:Address>447700900101</s:Address>"
        L"<s:ServiceAlias>TestAlias</s:ServiceAlias><s:MessageLimit>250 left</s:MessageLimit>"
        L"<s:Features>ServiceAliasing Inbox</s:Features><s:id>ignored</s:id></s:GetAccountStateResult>");
    CComPtr<IAccountState> state;
    ASSERT_EQ(S_OK, Raised([&] { state = AccountStateFromXml(Element(document, L"s:GetAccountStateResult")); }));
    CComBSTR text;
    state->get_ID(&text);
    EXPECT_EQ("a0000000-0000-4000-8000-000000000001", N(text));
    text.Empty();
    state->get_Reference(&text);
    EXPECT_EQ("TEST01", N(text));
    text.Empty();
    state->get_Address(&text);
    EXPECT_EQ("447700900101", N(text));
    text.Empty();
    state->get_ServiceAlias(&text);
    EXPECT_EQ("TestAlias", N(text));
    LONG value = 0;
    state->get_MessageLimit(&value);
    EXPECT_EQ(250, value);
    state->get_Features(&value);
    EXPECT_EQ(ACCOUNT_FEATURE_SERVICE_ALIASING | ACCOUNT_FEATURE_INBOX, value);
}

TEST_F(ResultsTest, AStateWithoutFeaturesHasNone) {
    CComPtr<IXMLDOMDocument> document = LoadXml(L"<r><MessageLimit>x</MessageLimit></r>");
    CComPtr<IAccountState> state;
    ASSERT_EQ(S_OK, Raised([&] { state = AccountStateFromXml(Element(document, L"r")); }));
    LONG value = -1;
    state->get_Features(&value);
    EXPECT_EQ(0, value);
    state->get_MessageLimit(&value);
    EXPECT_EQ(0, value);
}

TEST_F(ResultsTest, TheSignupResultTakesItsThreeElements) {
    CComPtr<IXMLDOMDocument> document = LoadXml(
        L"<DefaultEvaluationSignupResult><Username>ann@example.com</Username><Password>x</Password>"
        L"<AccountReference>EVAL0001</AccountReference><WelcomeMessage>Welcome.</WelcomeMessage>"
        L"</DefaultEvaluationSignupResult>");
    CComPtr<ISignupCompletionElements> elements;
    ASSERT_EQ(S_OK, Raised([&] {
        elements = SignupCompletionFromXml(Element(document, L"DefaultEvaluationSignupResult"));
    }));
    CComBSTR text;
    elements->get_Username(&text);
    EXPECT_EQ("ann@example.com", N(text));
    text.Empty();
    elements->get_AccountReference(&text);
    EXPECT_EQ("EVAL0001", N(text));
    text.Empty();
    elements->get_WelcomeMessage(&text);
    EXPECT_EQ("Welcome.", N(text));
}

TEST_F(ResultsTest, StatusTextsMapToTheirValuesAndAnyOtherToZero) {
    const struct {
        const wchar_t* xml;
        MESSAGE_STATUS status;
    } cases[] = {
        {L"<r><GetMessageStatusResult>Queued</GetMessageStatusResult></r>", MESSAGE_STATUS_QUEUED},
        {L"<r><GetMessageStatusResult>Sent</GetMessageStatusResult></r>", MESSAGE_STATUS_SENT},
        {L"<r><GetMessageStatusResult>Delivered</GetMessageStatusResult></r>", MESSAGE_STATUS_DELIVERED},
        {L"<r><GetMessageStatusResult>Failed</GetMessageStatusResult></r>", MESSAGE_STATUS_FAILED},
        {L"<r><GetMessageStatusResult>Expired</GetMessageStatusResult></r>", MESSAGE_STATUS(0)},
        {L"<r><GetMessageStatusResult>delivered</GetMessageStatusResult></r>", MESSAGE_STATUS(0)},
        {L"<r><GetMessageStatusResult/></r>", MESSAGE_STATUS(0)},
        {L"<r><GetMessageStatusResponse/></r>", MESSAGE_STATUS(0)},
    };
    for (const auto& c : cases) {
        CComPtr<IXMLDOMDocument> document = LoadXml(c.xml);
        MESSAGE_STATUS status = MESSAGE_STATUS_FAILED;
        EXPECT_EQ(S_OK, Raised([&] { status = MessageStatusFromXml(document, L"GetMessageStatusResult"); }));
        EXPECT_EQ(c.status, status) << N(std::wstring(c.xml));
    }
}

}  // namespace
