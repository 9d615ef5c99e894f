// SendService2 against the stand-in: what each operation sends, the identifiers it returns, the
// statuses it reads, and what is refused before anything is sent.
#include <windows.h>

#include "ServiceStandinTest.h"

namespace {

using namespace servicetest;

class SendTest : public ServiceStandinTest {
protected:
    CComPtr<ISendService2> Send() { return Initialised<ISendService2>(CLSID_SendService2); }
};

// The items of a string collection, in order.
std::vector<std::string> Items(IStringCollection2* collection) {
    std::vector<std::string> items;
    LONG count = 0;
    EXPECT_EQ(S_OK, collection->get_Count(&count));
    for (LONG i = 1; i <= count; ++i) {
        CComBSTR item;
        EXPECT_EQ(S_OK, collection->get_Item(i, &item));
        items.push_back(N(item));
    }
    return items;
}

// The texts of the "string" children of the result element in a logged response.
std::vector<std::string> ResultStrings(const std::wstring& response) {
    std::vector<std::string> strings;
    const std::wstring open = L"<string>", close = L"</string>";
    for (size_t at = response.find(open); at != std::wstring::npos; at = response.find(open, at)) {
        at += open.size();
        const size_t end = response.find(close, at);
        strings.push_back(N(response.substr(at, end - at)));
    }
    return strings;
}

TEST_F(SendTest, SendMessageSendsTheRecipientBodyAndTypeAfterTheCredentials) {
    CComBSTR id;
    ASSERT_EQ(S_OK, Send()->SendMessageW(CComBSTR(L"447700900301"), CComBSTR(L"Hello Alice"), MESSAGE_TYPE_TEXT, &id));
    ExpectSent(LastSent(), "SendService", "SendMessage",
               WithCredentials({"recipient=447700900301", "body=Hello Alice", "type=Text"}));
    EXPECT_EQ(36u, id.Length());
    EXPECT_NE(std::wstring::npos, Log().Last().response.find(L">" + std::wstring(id.m_str) + L"</SendMessageResult>"));
}

TEST_F(SendTest, SendMessageFullSendsTheOriginatorAndTheValidityPeriod) {
    CComBSTR id;
    ASSERT_EQ(S_OK, Send()->SendMessageFull(CComBSTR(L"TestAlias"), CComBSTR(L"447700900302"), CComBSTR(L"Bonjour"),
                                            MESSAGE_TYPE_UNICODE, 1440, &id));
    ExpectSent(LastSent(), "SendService", "SendMessageFull",
               WithCredentials({"originator=TestAlias", "recipient=447700900302", "body=Bonjour",
                                "validityperiod=1440", "type=Unicode"}));
    EXPECT_EQ(36u, id.Length());
}

TEST_F(SendTest, OneRecipientGivesOneIdentifier) {
    CComPtr<IStringCollection2> ids;
    ASSERT_EQ(S_OK, Send()->SendMessageMultipleRecipients(CComBSTR(L"447700900301"), CComBSTR(L"Hi"),
                                                          MESSAGE_TYPE_TEXT, &ids));
    ExpectSent(LastSent(), "SendService", "SendMessageMultipleRecipients",
               WithCredentials({"recipients=[string:447700900301]", "body=Hi", "type=Text"}));
    const std::vector<std::string> items = Items(ids);
    ASSERT_EQ(1u, items.size());
    EXPECT_EQ(ResultStrings(Log().Last().response), items);
}

TEST_F(SendTest, ManyRecipientsGiveTheirIdentifiersInRecipientOrder) {
    CComPtr<IStringCollection2> ids;
    ASSERT_EQ(S_OK, Send()->SendMessageMultipleRecipientsFull(CComBSTR(L"TestAlias"),
                                                              CComBSTR(L"447700900303,,447700900301,447700900302,"),
                                                              CComBSTR(L"Team news"), MESSAGE_TYPE_TEXT, 0, &ids));
    ExpectSent(LastSent(), "SendService", "SendMessageMultipleRecipientsFull",
               WithCredentials({"originator=TestAlias",
                                "recipients=[string:447700900303,string:447700900301,string:447700900302]",
                                "body=Team news", "validityperiod=0", "type=Text"}));
    const std::vector<std::string> items = Items(ids);
    ASSERT_EQ(3u, items.size());
    EXPECT_EQ(ResultStrings(Log().Last().response), items);
    EXPECT_NE(items[0], items[1]);
    EXPECT_NE(items[1], items[2]);
}

TEST_F(SendTest, EmptyRecipientsSendAnEmptyListAndTheServiceRefusesIt) {
    CComPtr<IStringCollection2> ids;
    EXPECT_EQ(HRESULT(0x80020004), Send()->SendMessageMultipleRecipients(CComBSTR(L""), CComBSTR(L"Hi"),
                                                                         MESSAGE_TYPE_TEXT, &ids));
    EXPECT_EQ(N(SdkText(5104)), ErrorText());
    ExpectSent(LastSent(), "SendService", "SendMessageMultipleRecipients",
               WithCredentials({"recipients=", "body=Hi", "type=Text"}));
}

TEST_F(SendTest, TypeFiveIsRefusedBeforeAnythingIsSent) {
    CComPtr<ISendService2> send = Send();
    CComBSTR id;
    EXPECT_EQ(E_INVALIDARG, send->SendMessageW(CComBSTR(L"447700900301"), CComBSTR(L"x"), MESSAGE_TYPE(5), &id));
    EXPECT_EQ("<none>", ErrorText());
    CComPtr<IStringCollection2> ids;
    EXPECT_EQ(E_INVALIDARG, send->SendMessageMultipleRecipientsFull(CComBSTR(L"TestAlias"), CComBSTR(L"447700900301"),
                                                                    CComBSTR(L"x"), MESSAGE_TYPE(5), 0, &ids));
    EXPECT_TRUE(Log().Empty());
}

TEST_F(SendTest, AMissingRecipientOrBodyIsNamedAndNothingIsSent) {
    CComPtr<ISendService2> send = Send();
    CComBSTR id;
    EXPECT_EQ(E_INVALIDARG, send->SendMessageW(nullptr, CComBSTR(L"x"), MESSAGE_TYPE_TEXT, &id));
    EXPECT_EQ(N(MissingArgumentText(L"Recipient")), ErrorText());
    EXPECT_EQ(E_INVALIDARG, send->SendMessageW(CComBSTR(L"447700900301"), CComBSTR(L""), MESSAGE_TYPE_TEXT, &id));
    EXPECT_EQ(N(MissingArgumentText(L"Body")), ErrorText());
    EXPECT_EQ(E_INVALIDARG, send->SendMessageFull(CComBSTR(L"TestAlias"), CComBSTR(L""), CComBSTR(L"x"),
                                                  MESSAGE_TYPE_TEXT, 0, &id));
    EXPECT_EQ(N(MissingArgumentText(L"Recipient")), ErrorText());
    EXPECT_TRUE(Log().Empty());
}

TEST_F(SendTest, StatusTextsBecomeTheirValues) {
    CComPtr<ISendService2> send = Send();
    const struct {
        const wchar_t* id;
        MESSAGE_STATUS status;
    } sent[] = {{L"10000000-0000-4000-8000-000000000001", MESSAGE_STATUS_QUEUED},
                {L"10000000-0000-4000-8000-000000000002", MESSAGE_STATUS_SENT},
                {L"10000000-0000-4000-8000-000000000003", MESSAGE_STATUS_DELIVERED},
                {L"10000000-0000-4000-8000-000000000004", MESSAGE_STATUS_FAILED}};
    for (const auto& message : sent) {
        MESSAGE_STATUS status = MESSAGE_STATUS();
        EXPECT_EQ(S_OK, send->GetMessageStatus(CComBSTR(message.id), &status));
        EXPECT_EQ(message.status, status);
        ExpectSent(LastSent(), "SendService", "GetMessageStatus",
                   WithCredentials({"id=" + N(std::wstring(message.id))}));
    }
}

TEST_F(SendTest, AServiceErrorArrivesWithItsCodeAndText) {
    MESSAGE_STATUS status = MESSAGE_STATUS_FAILED;
    EXPECT_EQ(HRESULT(0x80020008),
              Send()->GetMessageStatus(CComBSTR(L"10000000-0000-4000-8000-0000000000aa"), &status));
    EXPECT_EQ(N(SdkText(5108)), ErrorText());
    EXPECT_EQ(0, status);
}

TEST_F(SendTest, TheCredentialsAreTheInitialisedOnes) {
    CComPtr<ISendService2> send = Initialised<ISendService2>(CLSID_SendService2, L"test", L"wrong", L"TEST01");
    CComBSTR id;
    EXPECT_EQ(HRESULT(0x80020002), send->SendMessageW(CComBSTR(L"447700900301"), CComBSTR(L"x"), MESSAGE_TYPE_TEXT, &id));
    EXPECT_EQ(N(SdkText(5102)), ErrorText());
    ExpectSent(LastSent(), "SendService", "SendMessage",
               WithCredentials({"recipient=447700900301", "body=x", "type=Text"}, "test", "wrong"));
}

}  // namespace
