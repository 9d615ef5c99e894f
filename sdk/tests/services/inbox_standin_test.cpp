// InboxService2 against the stand-in: every way of listing the inbox, one message by its
// identifier, deleting, and a message sent to the account's own address arriving in it.
#include <windows.h>

#include <cstdlib>

#include "ServiceStandinTest.h"

namespace {

using namespace servicetest;

const wchar_t kMessage1[] = L"20000000-0000-4000-8000-000000000001";
const wchar_t kMessage2[] = L"20000000-0000-4000-8000-000000000002";
const wchar_t kMessage3[] = L"20000000-0000-4000-8000-000000000003";
const wchar_t kMessage4[] = L"20000000-0000-4000-8000-000000000004";

class InboxTest : public ServiceStandinTest {
protected:
    CComPtr<IInboxService2> Inbox() { return Initialised<IInboxService2>(CLSID_InboxService2); }
};

CComPtr<ISMSMessage2> ItemAt(IObjectCollection* list, LONG index) {
    CComPtr<IDispatch> item;
    EXPECT_EQ(S_OK, list->get_Item(index, &item));
    CComPtr<ISMSMessage2> message;
    if (item) {
        EXPECT_EQ(S_OK, item.QueryInterface(&message));
    }
    return message;
}

// The message indexes of a list, in order.
std::vector<LONG> Indexes(IObjectCollection* list) {
    std::vector<LONG> indexes;
    LONG count = 0;
    EXPECT_EQ(S_OK, list->get_Count(&count));
    for (LONG i = 1; i <= count; ++i) {
        LONG index = 0;
        if (CComPtr<ISMSMessage2> message = ItemAt(list, i)) message->get_MessageIndex(&index);
        indexes.push_back(index);
    }
    return indexes;
}

DATE Date(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0) {
    SYSTEMTIME time = {year, month, 0, day, hour, minute, second, 0};
    DATE date = 0;
    ::SystemTimeToVariantTime(&time, &date);
    return date;
}

// A script's variable passed by reference: VT_BYREF | VT_VARIANT pointing at value.
VARIANT ByReference(VARIANT* value) {
    VARIANT reference;
    reference.vt = VT_BYREF | VT_VARIANT;
    reference.pvarVal = value;
    return reference;
}

TEST_F(InboxTest, GetMessagesListsTheWholeInboxNewestFirst) {
    CComPtr<IObjectCollection> list;
    ASSERT_EQ(S_OK, Inbox()->GetMessages(&list));
    EXPECT_EQ((std::vector<LONG>{5, 4, 3, 2, 1}), Indexes(list));
    ExpectSent(LastSent(), "InboxService2", "GetMessages", WithCredentials({}));
}

TEST_F(InboxTest, AMessageHasEveryFieldFilled) {
    CComPtr<IObjectCollection> list;
    ASSERT_EQ(S_OK, Inbox()->GetMessages(&list));
    CComPtr<ISMSMessage2> message = ItemAt(list, 2);
    ASSERT_TRUE(message);
    EXPECT_EQ(N(std::wstring(kMessage4)), Text(message, &ISMSMessage2::get_ID));
    EXPECT_EQ("447700900203", Text(message, &ISMSMessage2::get_Originator));
    EXPECT_EQ("447700900101", Text(message, &ISMSMessage2::get_Recipient));
    EXPECT_EQ(N(std::wstring(L"Prix: 15 \x20AC \x2013 merci")), Text(message, &ISMSMessage2::get_Body));
    EXPECT_EQ("test", Text(message, &ISMSMessage2::get_Username));
    EXPECT_NEAR(Date(2024, 3, 15, 12, 30, 0), Read(message, &ISMSMessage2::get_ReceivedAt), 1.0 / 86400);
    EXPECT_NEAR(Date(2024, 3, 15, 12, 29, 55), Read(message, &ISMSMessage2::get_SentAt), 1.0 / 86400);
    EXPECT_EQ(MESSAGE_TYPE_UNICODE, Read(message, &ISMSMessage2::get_Type));
    EXPECT_EQ(MESSAGE_STATUS_DELIVERED, Read(message, &ISMSMessage2::get_Status));
}

TEST_F(InboxTest, LatestAfterAnIndexWithTheMaximumOmitted) {
    CComPtr<IObjectCollection> list;
    ASSERT_EQ(S_OK, Inbox()->GetLatestMessages(Int(3), Omitted(), &list));
    EXPECT_EQ((std::vector<LONG>{5, 4}), Indexes(list));
    ExpectSent(LastSent(), "InboxService2", "GetLatestMessages",
               WithCredentials({"lastMessageIndex=3", "maxMessages=-1"}));
}

TEST_F(InboxTest, LatestWithBothIndexesEmptyTakesEverything) {
    CComPtr<IObjectCollection> list;
    ASSERT_EQ(S_OK, Inbox()->GetLatestMessages(CComVariant(), CComVariant(), &list));
    EXPECT_EQ((std::vector<LONG>{5, 4, 3, 2, 1}), Indexes(list));
    ExpectSent(LastSent(), "InboxService2", "GetLatestMessages",
               WithCredentials({"lastMessageIndex=-1", "maxMessages=-1"}));
}

TEST_F(InboxTest, LatestWithAMaximum) {
    CComPtr<IInboxService2> inbox = Inbox();
    CComPtr<IObjectCollection> list;
    ASSERT_EQ(S_OK, inbox->GetLatestMessages(I2(1), I2(2), &list));
    EXPECT_EQ((std::vector<LONG>{5, 4}), Indexes(list));
    ExpectSent(LastSent(), "InboxService2", "GetLatestMessages",
               WithCredentials({"lastMessageIndex=1", "maxMessages=2"}));
    list.Release();
    ASSERT_EQ(S_OK, inbox->GetLatestMessages(CComVariant(0L), CComVariant(100000L), &list));
    EXPECT_EQ(5u, Indexes(list).size());
    ExpectSent(LastSent(), "InboxService2", "GetLatestMessages",
               WithCredentials({"lastMessageIndex=0", "maxMessages=100000"}));
}

TEST_F(InboxTest, LatestTakesIndexesByReferenceThroughDispatch) {
    // As a script passes its variables: references, through IDispatch.
    CComPtr<IInboxService2> inbox = Inbox();
    VARIANT last = I2(4);
    VARIANT most = I2(10);
    CComVariant result;
    ASSERT_EQ(S_OK, testsupport::InvokeByName(inbox, L"GetLatestMessages", DISPATCH_METHOD,
                                              {ByReference(&last), ByReference(&most)}, &result));
    ExpectSent(LastSent(), "InboxService2", "GetLatestMessages",
               WithCredentials({"lastMessageIndex=4", "maxMessages=10"}));
    ASSERT_EQ(VT_DISPATCH, result.vt);
    CComPtr<IObjectCollection> list;
    ASSERT_EQ(S_OK, result.pdispVal->QueryInterface(IID_IObjectCollection, reinterpret_cast<void**>(&list)));
    EXPECT_EQ((std::vector<LONG>{5}), Indexes(list));
}

TEST_F(InboxTest, LatestRefusesAStringIndexAndSendsNothing) {
    CComPtr<IInboxService2> inbox = Inbox();
    CComPtr<IObjectCollection> list;
    EXPECT_EQ(E_INVALIDARG, inbox->GetLatestMessages(CComVariant(L"3"), Omitted(), &list));
    EXPECT_EQ("<none>", ErrorText());
    CComVariant text(L"3");
    VARIANT most = I2(1);
    CComVariant result;
    EXCEPINFO excep = {};
    const HRESULT hr = testsupport::InvokeByName(inbox, L"GetLatestMessages", DISPATCH_METHOD,
                                                 {ByReference(&text), ByReference(&most)}, &result, &excep);
    EXPECT_TRUE(hr == E_INVALIDARG || (hr == DISP_E_EXCEPTION && excep.scode == E_INVALIDARG)) << std::hex << hr;
    ::SysFreeString(excep.bstrSource);
    ::SysFreeString(excep.bstrDescription);
    ::SysFreeString(excep.bstrHelpFile);
    EXPECT_TRUE(Log().Empty());
}

TEST_F(InboxTest, MessagesForADay) {
    CComPtr<IObjectCollection> list;
    ASSERT_EQ(S_OK, Inbox()->GetMessagesForDay(2024, 3, 15, &list));
    EXPECT_EQ((std::vector<LONG>{4, 3}), Indexes(list));
    ExpectSent(LastSent(), "InboxService2", "GetMessagesForDay", WithCredentials({"day=15", "month=3", "year=2024"}));
}

// The zone suffix the run expects in written dates (TARVOCK_EXPECT_ZONE), or any "+hh:mm"/"-hh:mm".
void ExpectMidnight(const std::string& field, const char* name, const char* day) {
    const std::string prefix = std::string(name) + "=" + day + "T00:00:00.0000000";
    ASSERT_EQ(prefix, field.substr(0, prefix.size())) << field;
    const std::string zone = field.substr(prefix.size());
    ASSERT_EQ(6u, zone.size()) << field;
    EXPECT_TRUE(zone[0] == '+' || zone[0] == '-') << field;
    EXPECT_EQ(':', zone[3]) << field;
    if (const char* expected = std::getenv("TARVOCK_EXPECT_ZONE")) {
        EXPECT_EQ(expected, zone);
    }
}

TEST_F(InboxTest, ADateRangeSendsEachDaysMidnight) {
    CComPtr<IObjectCollection> list;
    ASSERT_EQ(S_OK, Inbox()->GetMessagesForDateRange(Date(2024, 3, 14, 13, 45, 10), Date(2024, 3, 15, 6, 0, 0), &list));
    // From the start of the 14th (midnight, not 13:45) to the end of the 15th.
    EXPECT_EQ((std::vector<LONG>{4, 3, 2, 1}), Indexes(list));
    const SentRequest sent = LastSent();
    EXPECT_EQ("GetMessagesForDateRange", N(sent.operation));
    ASSERT_EQ(5u, sent.fields.size());
    EXPECT_EQ(WithCredentials({}), std::vector<std::string>(sent.fields.begin(), sent.fields.begin() + 3));
    ExpectMidnight(sent.fields[3], "startDate", "2024-03-14");
    ExpectMidnight(sent.fields[4], "endDate", "2024-03-15");
}

TEST_F(InboxTest, MessagesByIdentifierKeepTheGivenOrder) {
    CComPtr<IObjectCollection> list;
    const std::wstring ids = std::wstring(kMessage3) + L"," + kMessage1;
    ASSERT_EQ(S_OK, Inbox()->GetMessagesByID(CComBSTR(ids.c_str()), &list));
    EXPECT_EQ((std::vector<LONG>{3, 1}), Indexes(list));
    ExpectSent(LastSent(), "InboxService2", "GetMessagesByID",
               WithCredentials({"ids=[string:" + N(std::wstring(kMessage3)) + ",string:" + N(std::wstring(kMessage1)) + "]"}));
}

TEST_F(InboxTest, GetMessageCallsGetMessageByID) {
    CComPtr<ISMSMessage2> message;
    ASSERT_EQ(S_OK, Inbox()->GetMessageW(CComBSTR(kMessage2), &message));
    ExpectSent(LastSent(), "InboxService2", "GetMessageByID", WithCredentials({"id=" + N(std::wstring(kMessage2))}));
    EXPECT_EQ(N(std::wstring(kMessage2)), Text(message, &ISMSMessage2::get_ID));
    EXPECT_EQ("Nearly midnight here", Text(message, &ISMSMessage2::get_Body));
    EXPECT_EQ(2, Read(message, &ISMSMessage2::get_MessageIndex));
    EXPECT_NEAR(Date(2024, 3, 14, 23, 58, 30), Read(message, &ISMSMessage2::get_ReceivedAt), 1.0 / 86400);
}

TEST_F(InboxTest, AnUnknownMessageHasNoResultElement) {
    // The service leaves the result out; the message builder fails without a description.
    CComPtr<ISMSMessage2> message;
    EXPECT_EQ(E_FAIL, Inbox()->GetMessageW(CComBSTR(L"20000000-0000-4000-8000-0000000000ff"), &message));
    EXPECT_EQ("<none>", ErrorText());
    EXPECT_EQ(nullptr, message.p);
    EXPECT_EQ(std::wstring::npos, Log().Last().response.find(L"GetMessageByIDResult"));
}

TEST_F(InboxTest, AnIdentifierThatIsNoGuidIsAServiceError) {
    CComPtr<ISMSMessage2> message;
    EXPECT_EQ(HRESULT(0x8002000B), Inbox()->GetMessageW(CComBSTR(L"message-1"), &message));
    EXPECT_EQ(N(SdkText(5111)), ErrorText());
}

TEST_F(InboxTest, DeleteOneMessage) {
    CComPtr<IInboxService2> inbox = Inbox();
    ASSERT_EQ(S_OK, inbox->DeleteMessage(CComBSTR(kMessage4)));
    ExpectSent(LastSent(), "InboxService2", "DeleteMessage", WithCredentials({"id=" + N(std::wstring(kMessage4))}));
    CComPtr<IObjectCollection> list;
    ASSERT_EQ(S_OK, inbox->GetMessages(&list));
    EXPECT_EQ((std::vector<LONG>{5, 3, 2, 1}), Indexes(list));
}

TEST_F(InboxTest, DeleteManyMessages) {
    CComPtr<IInboxService2> inbox = Inbox();
    const std::wstring ids = std::wstring(kMessage1) + L"," + kMessage3 + L",";
    ASSERT_EQ(S_OK, inbox->DeleteMessages(CComBSTR(ids.c_str())));
    ExpectSent(LastSent(), "InboxService2", "DeleteMessages",
               WithCredentials({"ids=[string:" + N(std::wstring(kMessage1)) + ",string:" + N(std::wstring(kMessage3)) + "]"}));
    CComPtr<IObjectCollection> list;
    ASSERT_EQ(S_OK, inbox->GetMessages(&list));
    EXPECT_EQ((std::vector<LONG>{5, 4, 2}), Indexes(list));
}

TEST_F(InboxTest, AnAccountWithoutTheInboxFeatureIsRefused) {
    CComPtr<IInboxService2> inbox = Initialised<IInboxService2>(CLSID_InboxService2, L"plain", L"plain", L"PLAIN01");
    CComPtr<IObjectCollection> list;
    EXPECT_EQ(HRESULT(0x80020007), inbox->GetMessages(&list));
    EXPECT_EQ(N(SdkText(5107)), ErrorText());
}

TEST_F(InboxTest, AMessageToTheOwnAddressArrivesInTheNextLatest) {
    CComPtr<IInboxService2> inbox = Inbox();
    CComPtr<ISendService2> send = Initialised<ISendService2>(CLSID_SendService2);
    CComBSTR first, second;
    ASSERT_EQ(S_OK, send->SendMessageW(CComBSTR(L"447700900101"), CComBSTR(L"Note to self"), MESSAGE_TYPE_TEXT, &first));
    ASSERT_EQ(S_OK, send->SendMessageW(CComBSTR(L"+447700900101"), CComBSTR(L"Second note"), MESSAGE_TYPE_TEXT, &second));
    SYSTEMTIME now;
    ::GetSystemTime(&now);
    DATE utcNow = 0;
    ::SystemTimeToVariantTime(&now, &utcNow);

    CComPtr<IObjectCollection> list;
    ASSERT_EQ(S_OK, inbox->GetLatestMessages(Int(5), Omitted(), &list));
    EXPECT_EQ((std::vector<LONG>{7, 6}), Indexes(list));
    CComPtr<ISMSMessage2> newest = ItemAt(list, 1);
    ASSERT_TRUE(newest);
    EXPECT_EQ("Second note", Text(newest, &ISMSMessage2::get_Body));
    CComPtr<ISMSMessage2> arrived = ItemAt(list, 2);
    ASSERT_TRUE(arrived);
    EXPECT_EQ("Note to self", Text(arrived, &ISMSMessage2::get_Body));
    EXPECT_EQ(36u, Text(arrived, &ISMSMessage2::get_ID).size());
    EXPECT_FALSE(Text(arrived, &ISMSMessage2::get_Originator).empty());
    EXPECT_EQ("447700900101", Text(arrived, &ISMSMessage2::get_Recipient));
    EXPECT_EQ("test", Text(arrived, &ISMSMessage2::get_Username));
    EXPECT_EQ(MESSAGE_TYPE_TEXT, Read(arrived, &ISMSMessage2::get_Type));
    EXPECT_EQ(MESSAGE_STATUS_DELIVERED, Read(arrived, &ISMSMessage2::get_Status));
    // The service keeps UTC and the SDK keeps the clock time as written.
    EXPECT_NEAR(utcNow, Read(arrived, &ISMSMessage2::get_ReceivedAt), 120.0 / 86400);
    EXPECT_NEAR(utcNow, Read(arrived, &ISMSMessage2::get_SentAt), 120.0 / 86400);
    ExpectSent(LastSent(), "InboxService2", "GetLatestMessages",
               WithCredentials({"lastMessageIndex=5", "maxMessages=-1"}));

    // Nothing newer since.
    list.Release();
    ASSERT_EQ(S_OK, inbox->GetLatestMessages(Int(7), Omitted(), &list));
    EXPECT_TRUE(Indexes(list).empty());
}

}  // namespace
