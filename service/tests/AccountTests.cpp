#include "TestServer.h"

using AccountService = StandinTest;

TEST_F(AccountService, GetMessageLimit)
{
    Reply reply = post(SoapCall("AccountService", "GetMessageLimit").as(kTest));
    expectOk(reply);
    EXPECT_EQ("100", reply.resultText());
    EXPECT_EQ("2", post(SoapCall("AccountService", "GetMessageLimit").as(kLowLimit)).resultText());
}

TEST_F(AccountService, GetAccountFeatures)
{
    EXPECT_EQ("ServiceAliasing Inbox", post(SoapCall("AccountService", "GetAccountFeatures").as(kTest)).resultText());
    EXPECT_EQ("Inbox", post(SoapCall("AccountService", "GetAccountFeatures").as(kOther)).resultText());
    Reply none = post(SoapCall("AccountService", "GetAccountFeatures").as(kPlain));
    expectOk(none);
    ASSERT_TRUE(none.result());
    EXPECT_EQ("", none.resultText());
}

TEST_F(AccountService, GetAccountState)
{
    Reply reply = post(SoapCall("AccountService", "GetAccountState").as(kTest));
    expectOk(reply);
    std::vector<std::string> names;
    for (pugi::xml_node child : reply.result().children())
        names.push_back(child.name());
    EXPECT_EQ((std::vector<std::string>{"ID", "Reference", "Address", "ServiceAlias", "MessageLimit", "Features"}),
              names);
    pugi::xml_node state = reply.result();
    EXPECT_EQ("a0000000-0000-4000-8000-000000000001", Reply::field(state, "ID"));
    EXPECT_EQ("TEST01", Reply::field(state, "Reference"));
    EXPECT_EQ("447700900101", Reply::field(state, "Address"));
    EXPECT_EQ("TestAlias", Reply::field(state, "ServiceAlias"));
    EXPECT_EQ("100", Reply::field(state, "MessageLimit"));
    EXPECT_EQ("ServiceAliasing Inbox", Reply::field(state, "Features"));
}

TEST_F(AccountService, StateFollowsSending)
{
    expectOk(post(SoapCall("SendService", "SendMessage").as(kTest).arg("recipient", "447700900301").arg("body", "x")
                      .arg("type", "Text")));
    Reply reply = post(SoapCall("AccountService", "GetAccountState").as(kTest));
    EXPECT_EQ("99", Reply::field(reply.result(), "MessageLimit"));
}

TEST_F(AccountService, DemoAccountOnlyWithSeedDemo)
{
    expectFault(post(SoapCall("AccountService", "GetAccountState").as(kDemo)), 2);
    ServerOptions options = defaultOptions();
    options.settings.seedDemo = true;
    restart(options);
    Reply reply = post(SoapCall("AccountService", "GetAccountState").as(kDemo));
    expectOk(reply);
    EXPECT_EQ("DEMO01", Reply::field(reply.result(), "Reference"));
    EXPECT_EQ("447700900001", Reply::field(reply.result(), "Address"));
    EXPECT_EQ("250", Reply::field(reply.result(), "MessageLimit"));
}
