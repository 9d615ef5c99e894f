#include "TestServer.h"

namespace {

SoapCall signup(const std::string& email, const std::string& mobile = "07700900555",
                const std::string& agreement = "true")
{
    return SoapCall("SignupService", "DefaultEvaluationSignup").arg("firstName", "Jo").arg("lastName", "Bloggs")
        .arg("companyName", "Bloggs Ltd").arg("telephoneNumber", "01632960000").arg("mobileNumber", mobile)
        .arg("emailAddress", email).arg("mailingAgreement", agreement);
}

std::string passwordIn(const std::string& welcome)
{
    const std::string marker = "with the password ";
    size_t at = welcome.find(marker);
    if (at == std::string::npos)
        return std::string();
    std::string rest = welcome.substr(at + marker.size());
    return rest.substr(0, rest.find('.'));
}

} // namespace

using Version = StandinTest;
using Signup = StandinTest;
using TestSetup = StandinTest;

TEST_F(Version, GetCurrentVersionAnswersTheConfiguredText)
{
    Reply reply = post(SoapCall("BrindlepostService", "GetCurrentVersion"));
    expectOk(reply);
    EXPECT_EQ("9.8.7.6", reply.resultText());
}

TEST_F(Signup, OpensAnEvaluationAccountThatCanSignIn)
{
    Reply reply = post(signup("jo@example.com"));
    expectOk(reply);
    pugi::xml_node result = reply.result();
    std::vector<std::string> names;
    for (pugi::xml_node child : result.children())
        names.push_back(child.name());
    EXPECT_EQ((std::vector<std::string>{"Username", "AccountReference", "WelcomeMessage"}), names);
    EXPECT_EQ("jo@example.com", Reply::field(result, "Username"));
    EXPECT_EQ("EVAL0001", Reply::field(result, "AccountReference"));
    std::string password = passwordIn(Reply::field(result, "WelcomeMessage"));
    ASSERT_EQ(8u, password.size()) << Reply::field(result, "WelcomeMessage");

    Reply state = post(SoapCall("AccountService", "GetAccountState").as({"jo@example.com", password, "EVAL0001"}));
    expectOk(state);
    EXPECT_EQ("10", Reply::field(state.result(), "MessageLimit"));
    EXPECT_EQ("Inbox", Reply::field(state.result(), "Features"));

    EXPECT_EQ("EVAL0002", Reply::field(post(signup("sam@example.com")).result(), "AccountReference"));
}

TEST_F(Signup, AUserNameThatExistsIsRefused)
{
    expectFault(post(signup("taken@example.com")), 12);
    expectOk(post(signup("new@example.com")));
    expectFault(post(signup("NEW@example.com")), 12);
}

TEST_F(Signup, ValidatesItsFields)
{
    expectFault(post(signup("jo@example.com", "12")), 17);
    expectFault(post(signup("not-an-address")), 17);
    expectFault(post(signup("jo@example.com", "07700900555", "maybe")), 17);
    expectFault(post(SoapCall("SignupService", "DefaultEvaluationSignup").arg("firstName", "Jo")
                         .arg("lastName", "Bloggs").arg("companyName", "").arg("telephoneNumber", "01632960000")
                         .arg("mobileNumber", "07700900555").arg("emailAddress", "jo@example.com")
                         .arg("mailingAgreement", "false")),
                17);
    expectFault(post(SoapCall("SignupService", "DefaultEvaluationSignup").arg("firstName", "Jo")), 17);
}

TEST_F(TestSetup, EverySetupRestoresTheFixtures)
{
    for (const char* setup :
         {"SetupContactTests", "SetupAccountTests", "SetupSendTests", "SetupInboxTests", "SetupSignupTests"}) {
        expectOk(post(SoapCall("ContactService", "DeleteContact").as(kTest).arg("id", "1001")));
        expectOk(post(SoapCall("SendService", "SendMessage").as(kTest).arg("recipient", "447700900301")
                          .arg("body", "x").arg("type", "Text")));
        expectOk(post(signup("jo@example.com")));

        Reply reply = post(SoapCall("TestService", setup));
        expectOk(reply);
        EXPECT_FALSE(reply.result()) << setup;
        EXPECT_NE(std::string::npos, reply.body().find(std::string("<") + setup + "Response"));

        EXPECT_TRUE(post(SoapCall("ContactService", "GetContact").as(kTest).arg("id", "1001")).result()) << setup;
        EXPECT_EQ("100", post(SoapCall("AccountService", "GetMessageLimit").as(kTest)).resultText()) << setup;
        expectOk(post(signup("jo@example.com")));
        expectOk(post(SoapCall("TestService", setup)));
    }
}

TEST_F(TestSetup, SetupKeepsTheRequestLog)
{
    post(SoapCall("BrindlepostService", "GetCurrentVersion"));
    post(SoapCall("TestService", "SetupSendTests"));
    auto res = client().Get("/standin/requests");
    ASSERT_TRUE(res);
    EXPECT_NE(std::string::npos, res->body.find("count=\"2\""));
}

TEST_F(TestSetup, SetupWithTheDemoAccountKeepsIt)
{
    ServerOptions options = defaultOptions();
    options.settings.seedDemo = true;
    restart(options);
    expectOk(post(SoapCall("TestService", "SetupInboxTests")));
    expectOk(post(SoapCall("AccountService", "GetMessageLimit").as(kDemo)));
}
