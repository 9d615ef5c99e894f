#include <chrono>

#include "TestServer.h"

#include "FaultInjector.h"

namespace {
SoapCall limitCall(const std::string& username)
{
    return SoapCall("AccountService", "GetMessageLimit").as({username, "anything", "ANY"});
}
} // namespace

using FaultInjection = StandinTest;

TEST_F(FaultInjection, Http503)
{
    Reply reply = post(limitCall("fault503"));
    EXPECT_EQ(503, reply.status());
    EXPECT_FALSE(reply.isXml());
}

TEST_F(FaultInjection, NonXmlBodyWithStatus200)
{
    Reply reply = post(limitCall("faultnonxml"));
    EXPECT_EQ(200, reply.status());
    EXPECT_FALSE(reply.isXml()) << reply.body();
    EXPECT_FALSE(reply.body().empty());
}

TEST_F(FaultInjection, EmptyBodyWithStatus200)
{
    Reply reply = post(limitCall("faultempty"));
    EXPECT_EQ(200, reply.status());
    EXPECT_TRUE(reply.body().empty());
}

TEST_F(FaultInjection, FaultWithoutDetail)
{
    Reply reply = post(limitCall("faultnodetail"));
    EXPECT_EQ(500, reply.status());
    EXPECT_TRUE(reply.isFault());
    EXPECT_FALSE(reply.hasDetail());
    EXPECT_EQ(faults::kNoDetailText, reply.faultString());
}

TEST_F(FaultInjection, FaultWithBlankFaultString)
{
    Reply reply = post(limitCall("faultblank"));
    EXPECT_EQ(500, reply.status());
    EXPECT_TRUE(reply.isFault());
    EXPECT_FALSE(reply.hasDetail());
    EXPECT_EQ("", reply.faultString());
}

TEST_F(FaultInjection, FaultWithMessageAndNoCode)
{
    Reply reply = post(limitCall("faultnocode"));
    EXPECT_EQ(500, reply.status());
    EXPECT_TRUE(reply.hasDetail());
    EXPECT_EQ(faults::kNoCodeText, reply.errorMessage());
    EXPECT_NE(std::string::npos, reply.body().find("<ErrorMessage>"));
    EXPECT_EQ(std::string::npos, reply.body().find("ErrorCode"));
}

TEST_F(FaultInjection, UnknownCode25)
{
    Reply reply = post(limitCall("fault25"));
    EXPECT_EQ("25", reply.errorCode());
    EXPECT_EQ(faults::kUnknownCodeText, reply.errorMessage());
}

TEST_F(FaultInjection, NonNumericCode)
{
    Reply reply = post(limitCall("faultabc"));
    EXPECT_EQ("abc", reply.errorCode());
    EXPECT_EQ(faults::kNonNumericCodeText, reply.errorMessage());
}

TEST_F(FaultInjection, ValidationCodeWithItsMessage)
{
    Reply reply = post(limitCall("fault17"));
    EXPECT_EQ("17", reply.errorCode());
    EXPECT_EQ(faults::kValidationText, reply.errorMessage());
}

TEST_F(FaultInjection, AppliesToEveryOperationWithCredentials)
{
    expectFault(post(SoapCall("SendService", "SendMessage").as({"fault17", "x", "y"}).arg("recipient", "447700900301")
                         .arg("body", "b").arg("type", "Text")), 17);
    expectFault(post(SoapCall("InboxService2", "GetMessages").as({"fault25", "", ""})), 25);
    EXPECT_EQ(503, post(SoapCall("ContactService", "GetContacts").as({"fault503", "", ""})).status());
}

TEST_F(FaultInjection, SlowAccountAnswersNormallyAfterTheDelay)
{
    auto started = std::chrono::steady_clock::now();
    Reply reply = post(SoapCall("AccountService", "GetMessageLimit").as({"slow", "slow", "SLOW01"}));
    auto elapsed = std::chrono::steady_clock::now() - started;
    expectOk(reply);
    EXPECT_EQ("100", reply.resultText());
    EXPECT_GE(elapsed, std::chrono::milliseconds(2000));
}

TEST_F(FaultInjection, InjectedAnswersAreLogged)
{
    post(limitCall("fault503"));
    auto res = client().Get("/standin/requests/last");
    ASSERT_TRUE(res);
    EXPECT_NE(std::string::npos, res->body.find("<status>503</status>"));
}
