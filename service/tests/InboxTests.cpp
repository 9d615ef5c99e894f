#include "TestServer.h"

namespace {

const std::string kId1 = "20000000-0000-4000-8000-000000000001";
const std::string kId2 = "20000000-0000-4000-8000-000000000002";
const std::string kId3 = "20000000-0000-4000-8000-000000000003";
const std::string kId4 = "20000000-0000-4000-8000-000000000004";
const std::string kOtherId = "20000000-0000-4000-8000-000000000099";
const std::string kUnknownId = "20000000-0000-4000-8000-0000000000ff";

SoapCall inbox(const std::string& operation, const User& user = kTest)
{
    return SoapCall("InboxService2", operation).as(user);
}

} // namespace

class Inbox : public StandinTest {
protected:
    // The messageIndex of each listed message, in order.
    static std::vector<int> indexes(const Reply& reply)
    {
        EXPECT_EQ(200, reply.status()) << reply.body();
        EXPECT_TRUE(reply.result()) << reply.body();
        std::vector<int> result;
        for (pugi::xml_node m : reply.result().children()) {
            EXPECT_STREQ("SMSMessage", m.name());
            result.push_back(std::stoi(Reply::field(m, "messageIndex")));
        }
        return result;
    }

    std::vector<int> latest(int after, int max)
    {
        return indexes(post(inbox("GetLatestMessages").arg("lastMessageIndex", std::to_string(after))
                                .arg("maxMessages", std::to_string(max))));
    }

    std::vector<int> forDay(int day, int month, int year)
    {
        return indexes(post(inbox("GetMessagesForDay").arg("day", std::to_string(day))
                                .arg("month", std::to_string(month)).arg("year", std::to_string(year))));
    }

    std::vector<int> forRange(const std::string& start, const std::string& end)
    {
        return indexes(post(inbox("GetMessagesForDateRange").arg("startDate", start).arg("endDate", end)));
    }

    std::vector<int> all() { return indexes(post(inbox("GetMessages"))); }
};

TEST_F(Inbox, GetMessagesListsTheInboxNewestFirst)
{
    EXPECT_EQ((std::vector<int>{5, 4, 3, 2, 1}), all());
}

TEST_F(Inbox, AMessageCarriesItsTenFieldsInOrder)
{
    Reply reply = post(inbox("GetMessages"));
    pugi::xml_node message = reply.result().last_child();
    std::vector<std::string> names;
    for (pugi::xml_node child : message.children())
        names.push_back(child.name());
    EXPECT_EQ((std::vector<std::string>{"id", "originator", "recipient", "body", "sentat", "receivedat", "type",
                                        "status", "username", "messageIndex"}),
              names);
    EXPECT_EQ(kId1, Reply::field(message, "id"));
    EXPECT_EQ("447700900201", Reply::field(message, "originator"));
    EXPECT_EQ("447700900101", Reply::field(message, "recipient"));
    EXPECT_EQ("Morning, are we still on for lunch?", Reply::field(message, "body"));
    EXPECT_EQ("2024-03-14T09:14:55.0000000+00:00", Reply::field(message, "sentat"));
    EXPECT_EQ("2024-03-14T09:15:00.0000000+00:00", Reply::field(message, "receivedat"));
    EXPECT_EQ("Text", Reply::field(message, "type"));
    EXPECT_EQ("Delivered", Reply::field(message, "status"));
    EXPECT_EQ("test", Reply::field(message, "username"));
    EXPECT_EQ("1", Reply::field(message, "messageIndex"));
}

TEST_F(Inbox, NonAsciiBodiesTravelAsUtf8)
{
    Reply reply = post(inbox("GetMessageByID").arg("id", kId4));
    EXPECT_EQ("Prix: 15 \xE2\x82\xAC \xE2\x80\x93 merci", Reply::field(reply.result(), "body"));
    EXPECT_EQ("Unicode", Reply::field(reply.result(), "type"));
}

TEST_F(Inbox, EveryOperationNeedsTheInboxFeature)
{
    expectFault(post(inbox("GetMessages", kPlain)), 7);
    expectFault(post(inbox("GetMessageByID", kPlain).arg("id", kId1)), 7);
    expectFault(post(inbox("DeleteMessage", kPlain).arg("id", kId1)), 7);
    expectFault(post(inbox("DeleteMessages", kPlain).list("ids", {kId1})), 7);
    expectFault(post(inbox("GetMessagesForDay", kPlain).arg("day", "14").arg("month", "3").arg("year", "2024")), 7);
    expectFault(post(inbox("GetMessagesForDateRange", kPlain).arg("startDate", "2024-03-14").arg("endDate", "2024-03-14")), 7);
    expectFault(post(inbox("GetMessagesByID", kPlain).list("ids", {kId1})), 7);
    expectFault(post(inbox("GetLatestMessages", kPlain).arg("lastMessageIndex", "0").arg("maxMessages", "-1")), 7);
}

TEST_F(Inbox, GetMessageByIdGivesTheMessageAsTheResultElement)
{
    Reply reply = post(inbox("GetMessageByID").arg("id", "{" + kId2 + "}"));
    expectOk(reply);
    ASSERT_TRUE(reply.result());
    EXPECT_EQ(kId2, Reply::field(reply.result(), "id"));
    EXPECT_EQ("2", Reply::field(reply.result(), "messageIndex"));
    EXPECT_EQ("2024-03-14T23:58:30.2500000+00:00", Reply::field(reply.result(), "receivedat"));
}

TEST_F(Inbox, GetMessageByIdLeavesTheResultOutForAnUnknownMessage)
{
    Reply reply = post(inbox("GetMessageByID").arg("id", kUnknownId));
    expectOk(reply);
    EXPECT_FALSE(reply.result());
    EXPECT_NE(std::string::npos, reply.body().find("<GetMessageByIDResponse xmlns=\"http://com.tarvock/messenger/\""));
}

TEST_F(Inbox, GetMessageByIdFaults)
{
    expectFault(post(inbox("GetMessageByID").arg("id", "12")), 11);
    expectFault(post(inbox("GetMessageByID").arg("id", kOtherId)), 16);
}

TEST_F(Inbox, GetMessagesForDaySplitsAtMidnight)
{
    EXPECT_EQ((std::vector<int>{2, 1}), forDay(14, 3, 2024));
    EXPECT_EQ((std::vector<int>{4, 3}), forDay(15, 3, 2024));
    EXPECT_EQ((std::vector<int>{5}), forDay(16, 3, 2024));
    EXPECT_EQ((std::vector<int>{}), forDay(17, 3, 2024));
}

TEST_F(Inbox, GetMessagesForDayRefusesImpossibleDates)
{
    expectFault(post(inbox("GetMessagesForDay").arg("day", "30").arg("month", "2").arg("year", "2024")), 17);
    expectFault(post(inbox("GetMessagesForDay").arg("day", "x").arg("month", "2").arg("year", "2024")), 17);
    expectFault(post(inbox("GetMessagesForDay").arg("month", "2").arg("year", "2024")), 17);
}

TEST_F(Inbox, GetMessagesForDateRangeRunsToTheEndOfTheLastDayAndIgnoresTheOffset)
{
    EXPECT_EQ((std::vector<int>{2, 1}),
              forRange("2024-03-14T00:00:00.0000000-05:00", "2024-03-14T00:00:00.0000000-05:00"));
    EXPECT_EQ((std::vector<int>{4, 3, 2, 1}),
              forRange("2024-03-14T00:00:00.0000000+01:00", "2024-03-15T00:00:00.0000000+01:00"));
    EXPECT_EQ((std::vector<int>{5, 4, 3}), forRange("2024-03-15T00:00:00", "2024-03-20T00:00:00"));
    EXPECT_EQ((std::vector<int>{}), forRange("2024-03-16T00:00:00", "2024-03-14T00:00:00"));
}

TEST_F(Inbox, GetMessagesForDateRangeRefusesBadDates)
{
    expectFault(post(inbox("GetMessagesForDateRange").arg("startDate", "yesterday").arg("endDate", "2024-03-14")), 17);
    expectFault(post(inbox("GetMessagesForDateRange").arg("startDate", "2024-03-14")), 17);
}

TEST_F(Inbox, GetMessagesByIdKeepsTheGivenOrder)
{
    EXPECT_EQ((std::vector<int>{3, 1, 4}), indexes(post(inbox("GetMessagesByID").list("ids", {kId3, kId1, kId4}))));
    EXPECT_EQ((std::vector<int>{}), indexes(post(inbox("GetMessagesByID").list("ids", {}))));
}

TEST_F(Inbox, GetMessagesByIdFaults)
{
    expectFault(post(inbox("GetMessagesByID").list("ids", {kId1, "bad"})), 11);
    expectFault(post(inbox("GetMessagesByID").list("ids", {kId1, kUnknownId})), 8);
    expectFault(post(inbox("GetMessagesByID").list("ids", {kOtherId})), 16);
}

TEST_F(Inbox, GetLatestMessagesGivesNewerMessagesNewestFirst)
{
    EXPECT_EQ((std::vector<int>{5, 4, 3}), latest(2, -1));
    EXPECT_EQ((std::vector<int>{5, 4}), latest(2, 2));
    EXPECT_EQ((std::vector<int>{5, 4, 3, 2, 1}), latest(-1, -1));
    EXPECT_EQ((std::vector<int>{5, 4, 3, 2, 1}), latest(0, 100000));
    EXPECT_EQ((std::vector<int>{}), latest(5, -1));
    EXPECT_EQ((std::vector<int>{}), latest(0, 0));
}

TEST_F(Inbox, AnEmptyListIsAnEmptyResultElement)
{
    Reply reply = post(inbox("GetLatestMessages").arg("lastMessageIndex", "41").arg("maxMessages", "-1"));
    expectOk(reply);
    ASSERT_TRUE(reply.result());
    EXPECT_FALSE(reply.result().first_child());
}

TEST_F(Inbox, GetLatestMessagesNeedsNumbers)
{
    expectFault(post(inbox("GetLatestMessages").arg("lastMessageIndex", "last").arg("maxMessages", "-1")), 17);
    expectFault(post(inbox("GetLatestMessages").arg("lastMessageIndex", "1")), 17);
}

TEST_F(Inbox, DeleteMessage)
{
    expectOk(post(inbox("DeleteMessage").arg("id", kId2)));
    EXPECT_EQ((std::vector<int>{5, 4, 3, 1}), all());
    expectFault(post(inbox("DeleteMessage").arg("id", kId2)), 8);
    expectFault(post(inbox("DeleteMessage").arg("id", "nonsense")), 11);
    expectFault(post(inbox("DeleteMessage").arg("id", kOtherId)), 16);
}

TEST_F(Inbox, DeleteMessagesIsAllOrNothing)
{
    expectFault(post(inbox("DeleteMessages").list("ids", {kId1, kUnknownId})), 8);
    EXPECT_EQ(5u, all().size());
    expectFault(post(inbox("DeleteMessages").list("ids", {kId1, kOtherId})), 16);
    EXPECT_EQ(5u, all().size());
    expectOk(post(inbox("DeleteMessages").list("ids", {kId1, kId3})));
    EXPECT_EQ((std::vector<int>{5, 4, 2}), all());
    expectOk(post(inbox("DeleteMessages").list("ids", {})));
}

TEST_F(Inbox, ANewMessageGetsTheNextIndexEvenAfterDeletes)
{
    expectOk(post(inbox("DeleteMessage").arg("id", "20000000-0000-4000-8000-000000000005")));
    expectOk(post(SoapCall("SendService", "SendMessage").as(kTest).arg("recipient", "447700900101")
                      .arg("body", "x").arg("type", "Text")));
    EXPECT_EQ((std::vector<int>{6}), latest(4, -1));
}
