#include "TestServer.h"

#include "Guid.h"
#include "MessageStore.h"
#include "Store.h"

namespace {

SoapCall sendMessage(const User& user, const std::string& recipient, const std::string& body,
                     const std::string& type = "Text")
{
    return SoapCall("SendService", "SendMessage").as(user).arg("recipient", recipient).arg("body", body)
        .arg("type", type);
}

SoapCall sendFull(const User& user, const std::string& originator, const std::string& recipient,
                  const std::string& body)
{
    return SoapCall("SendService", "SendMessageFull").as(user).arg("originator", originator)
        .arg("recipient", recipient).arg("body", body).arg("validityperiod", "0").arg("type", "Text");
}

SoapCall sendMany(const User& user, const std::vector<std::string>& recipients, const std::string& body = "Hi all")
{
    return SoapCall("SendService", "SendMessageMultipleRecipients").as(user).list("recipients", recipients)
        .arg("body", body).arg("type", "Text");
}

SoapCall status(const User& user, const std::string& id)
{
    return SoapCall("SendService", "GetMessageStatus").as(user).arg("id", id);
}

} // namespace

class Send : public StandinTest {
protected:
    // The recipient of each sent message, by identifier.
    std::vector<std::string> recipients(const std::vector<std::string>& ids)
    {
        std::lock_guard<std::mutex> lock(server().store().mutex());
        std::vector<std::string> numbers;
        for (const std::string& id : ids) {
            auto message = server().store().messages().find(id, Folder::Sent);
            numbers.push_back(message ? message->recipient : "(none)");
        }
        return numbers;
    }

    int limit(const User& user) { return std::stoi(post(SoapCall("AccountService", "GetMessageLimit").as(user)).resultText()); }

    std::vector<std::string> latest(const User& user, int after)
    {
        Reply reply = post(SoapCall("InboxService2", "GetLatestMessages").as(user).arg("lastMessageIndex",
                                                                                     std::to_string(after))
                               .arg("maxMessages", "-1"));
        std::vector<std::string> bodies;
        for (pugi::xml_node m : reply.result().children())
            bodies.push_back(Reply::field(m, "body") + "|" + Reply::field(m, "messageIndex") + "|" +
                             Reply::field(m, "originator"));
        return bodies;
    }
};

TEST_F(Send, SendMessageReturnsAGuidQueuesTheMessageAndChargesOne)
{
    Reply reply = post(sendMessage(kTest, "447700900301", "Hello"));
    expectOk(reply);
    std::string id = reply.resultText();
    EXPECT_EQ(id, guid::normalise(id));
    EXPECT_EQ("Queued", post(status(kTest, id)).resultText());
    EXPECT_EQ(99, limit(kTest));
}

TEST_F(Send, SendMessageFullAcceptsAnyOriginatorWithAliasing)
{
    Reply reply = post(sendFull(kTest, "Shop", "+447700900301", "Sale today"));
    expectOk(reply);
    EXPECT_EQ("Queued", post(status(kTest, reply.resultText())).resultText());
}

TEST_F(Send, WithoutAliasingOnlyTheAccountsOwnOriginatorsPass)
{
    expectFault(post(sendFull(kPlain, "Shop", "447700900301", "x")), 7);
    expectOk(post(sendFull(kPlain, "PLAIN01", "447700900301", "x")));
    expectOk(post(sendFull(kPlain, "447700900103", "447700900301", "x")));
    expectOk(post(sendMessage(kPlain, "447700900301", "x")));
}

TEST_F(Send, AnOriginatorOfTwelveCharactersWithALetterIsInvalid)
{
    expectFault(post(sendFull(kTest, "TwelveChars!", "447700900301", "x")), 17);
    expectOk(post(sendFull(kTest, "447700900123", "447700900301", "x")));
}

TEST_F(Send, MultipleRecipientsGiveOneIdentifierEachInOrder)
{
    Reply reply = post(sendMany(kTest, {"447700900301", " 447700900302", "+447700900303"}));
    expectOk(reply);
    auto ids = reply.resultItems();
    ASSERT_EQ(3u, ids.size());
    for (pugi::xml_node child : reply.result().children())
        EXPECT_STREQ("string", child.name());
    EXPECT_NE(ids[0], ids[1]);
    for (const auto& id : ids)
        EXPECT_EQ("Queued", post(status(kTest, id)).resultText());
    EXPECT_EQ(97, limit(kTest));
}

TEST_F(Send, MultipleRecipientsFull)
{
    Reply reply = post(SoapCall("SendService", "SendMessageMultipleRecipientsFull").as(kTest)
                           .arg("originator", "TestAlias").list("recipients", {"447700900301", "447700900302"})
                           .arg("body", "Hi").arg("validityperiod", "60").arg("type", "Unicode"));
    expectOk(reply);
    EXPECT_EQ(2u, reply.resultItems().size());
    expectFault(post(SoapCall("SendService", "SendMessageMultipleRecipientsFull").as(kPlain)
                         .arg("originator", "Shop").list("recipients", {"447700900301"}).arg("body", "Hi")
                         .arg("validityperiod", "0").arg("type", "Text")), 7);
}

TEST_F(Send, NoRecipientGivesRecipientMissing)
{
    expectFault(post(sendMany(kTest, {})), 4);
    expectFault(post(sendMany(kTest, {" ", ""})), 4);
    expectFault(post(sendMessage(kTest, "", "x")), 4);
    expectFault(post(SoapCall("SendService", "SendMessage").as(kTest).arg("body", "x").arg("type", "Text")), 4);
    expectFault(post(SoapCall("SendService", "SendMessageMultipleRecipients").as(kTest).arg("body", "x")
                         .arg("type", "Text")), 4);
    EXPECT_EQ(100, limit(kTest));
}

TEST_F(Send, AnInvalidRecipientSendsNothing)
{
    Reply reply = post(sendMany(kTest, {"447700900301", "Nobody", "447700900302"}));
    expectFault(reply, 9);
    EXPECT_NE(std::string::npos, reply.errorMessage().find("\"Nobody\""));
    expectFault(post(sendMessage(kTest, "12345", "x")), 9);
    EXPECT_EQ(100, limit(kTest));
}

TEST_F(Send, NamesOfTheAccountsContactsAndGroupsSendToTheirMobileNumbersOnce)
{
    // Alice is 447700900301; Friends are Alice and Bob (447700900302).
    Reply reply = post(SoapCall("SendService", "SendMessageMultipleRecipientsFull").as(kTest)
                           .arg("originator", "TestAlias").list("recipients", {"Alice", " fRIENDS "})
                           .arg("body", "Hi").arg("validityperiod", "0").arg("type", "Text"));
    expectOk(reply);
    auto ids = reply.resultItems();
    EXPECT_EQ((std::vector<std::string>{"447700900301", "447700900302"}), recipients(ids));
    for (const auto& id : ids)
        EXPECT_EQ("Queued", post(status(kTest, id)).resultText());
    EXPECT_EQ(98, limit(kTest));

    // Numbers and names mixed: every number once, in the order first met, one charge each.
    ids = post(sendMany(kTest, {"+447700900302", "alice", "Friends", "447700900399", "447700900301"})).resultItems();
    EXPECT_EQ((std::vector<std::string>{"447700900302", "447700900301", "447700900399"}), recipients(ids));
    EXPECT_EQ(95, limit(kTest));

    // A single recipient may be a name too.
    reply = post(sendMessage(kTest, " BOB ", "x"));
    expectOk(reply);
    EXPECT_EQ((std::vector<std::string>{"447700900302"}), recipients({reply.resultText()}));
}

TEST_F(Send, AGroupLeavesOutMembersWithoutAMobileNumber)
{
    // Subscribers: Carol (447700900303) and Dave, who has only a telephone number.
    auto ids = post(sendMany(kTest, {"Subscribers"})).resultItems();
    EXPECT_EQ((std::vector<std::string>{"447700900303"}), recipients(ids));
    // A group that leaves nobody to send to is no recipient.
    expectFault(post(sendMany(kTest, {"Empty"})), 4);
    expectFault(post(sendMany(kTest, {"Empty", " "})), 4);
    EXPECT_EQ(99, limit(kTest));
}

TEST_F(Send, NamesThatLeadToNoNumberSendNothing)
{
    // Another account's contact and group, a contact without a mobile number, a name nobody has.
    for (const char* name : {"Zed", "OtherFriends", "Dave", "Alice Archer"}) {
        Reply reply = post(sendMany(kTest, {"Alice", name}));
        expectFault(reply, 9);
        EXPECT_NE(std::string::npos, reply.errorMessage().find(std::string("\"") + name + "\"")) << name;
    }
    EXPECT_EQ(100, limit(kTest));
    expectOk(post(sendMany(kOther, {"zed", "OtherFriends"})));
}

TEST_F(Send, AMessageToANameOfAnAccountsAddressArrivesInItsInbox)
{
    expectOk(post(SoapCall("ContactService", "AddContact").as(kTest)
                      .xml(contactXml("contact", "0", "Other", "447700900102"))));
    expectOk(post(sendMany(kTest, {"other"}, "Hello by name")));
    EXPECT_EQ((std::vector<std::string>{"Hello by name|2|TestAlias"}), latest(kOther, 1));
}

TEST_F(Send, TheMessageLimitIsChargedPerRecipientAndNothingIsSentBeyondIt)
{
    expectFault(post(sendMany(kLowLimit, {"447700900301", "447700900302", "447700900303"})), 10);
    EXPECT_EQ(2, limit(kLowLimit));
    expectOk(post(sendMany(kLowLimit, {"447700900301", "447700900302"})));
    EXPECT_EQ(0, limit(kLowLimit));
    expectFault(post(sendMessage(kLowLimit, "447700900301", "x")), 10);
}

TEST_F(Send, BodyLengthDependsOnTheType)
{
    expectOk(post(sendMessage(kTest, "447700900301", std::string(160, 'a'))));
    Reply tooLong = post(sendMessage(kTest, "447700900301", std::string(161, 'a')));
    expectFault(tooLong, 17);
    EXPECT_NE(std::string::npos, tooLong.errorMessage().find("160"));
    expectOk(post(sendMessage(kTest, "447700900301", std::string(70, 'a'), "Unicode")));
    expectFault(post(sendMessage(kTest, "447700900301", std::string(71, 'a'), "Unicode")), 17);
    expectOk(post(sendMessage(kTest, "447700900301", "0A0B", "Binary")));
    expectFault(post(sendMessage(kTest, "447700900301", "hello", "Binary")), 17);
    expectOk(post(sendMessage(kTest, "447700900301", "CAFE", "SmartMessage")));
    expectFault(post(sendMessage(kTest, "447700900301", "", "Text")), 17);
}

TEST_F(Send, UnknownTypeAndBadValidityPeriodAreValidationErrors)
{
    expectFault(post(sendMessage(kTest, "447700900301", "x", "Fax")), 17);
    expectFault(post(sendMessage(kTest, "447700900301", "x", "text")), 17);
    expectFault(post(SoapCall("SendService", "SendMessageFull").as(kTest).arg("originator", "TestAlias")
                         .arg("recipient", "447700900301").arg("body", "x").arg("validityperiod", "soon")
                         .arg("type", "Text")), 17);
    expectFault(post(SoapCall("SendService", "SendMessageFull").as(kTest).arg("originator", "TestAlias")
                         .arg("recipient", "447700900301").arg("body", "x").arg("validityperiod", "-5")
                         .arg("type", "Text")), 17);
}

TEST_F(Send, AnAccountWithoutSubscriptionCannotSend)
{
    expectFault(post(sendMessage(kNoSub, "447700900301", "x")), 18);
    expectOk(post(SoapCall("AccountService", "GetMessageLimit").as(kNoSub)));
}

TEST_F(Send, AMessageToTheOwnAddressArrivesInTheInbox)
{
    expectOk(post(sendFull(kTest, "TestAlias", "447700900101", "Note to self")));
    auto arrived = latest(kTest, 5);
    ASSERT_EQ(1u, arrived.size());
    EXPECT_EQ("Note to self|6|TestAlias", arrived[0]);
    expectOk(post(sendMessage(kTest, "447700900101", "Again")));
    EXPECT_EQ((std::vector<std::string>{"Again|7|TestAlias", "Note to self|6|TestAlias"}), latest(kTest, 5));
}

TEST_F(Send, AMessageToAnotherAccountsAddressArrivesInItsInbox)
{
    expectOk(post(sendMessage(kTest, "447700900102", "Hello other")));
    EXPECT_EQ((std::vector<std::string>{"Hello other|2|TestAlias"}), latest(kOther, 1));
    EXPECT_TRUE(latest(kTest, 5).empty());
}

TEST_F(Send, StatusesOfTheFixtureMessages)
{
    EXPECT_EQ("Queued", post(status(kTest, "10000000-0000-4000-8000-000000000001")).resultText());
    EXPECT_EQ("Sent", post(status(kTest, "10000000-0000-4000-8000-000000000002")).resultText());
    EXPECT_EQ("Delivered", post(status(kTest, "{10000000-0000-4000-8000-000000000003}")).resultText());
    EXPECT_EQ("Failed", post(status(kTest, "10000000-0000-4000-8000-000000000004")).resultText());
}

TEST_F(Send, StatusFaults)
{
    expectFault(post(status(kTest, "not-a-guid")), 11);
    expectFault(post(status(kTest, "")), 11);
    expectFault(post(status(kTest, "10000000-0000-4000-8000-0000000000ff")), 8);
    expectFault(post(status(kTest, "10000000-0000-4000-8000-000000000099")), 16);
    // An inbox message has no send status.
    expectFault(post(status(kTest, "20000000-0000-4000-8000-000000000001")), 8);
    expectFault(post(SoapCall("SendService", "GetMessageStatus").as(kTest)), 17);
}
