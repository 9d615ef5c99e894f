// The services that send no credentials, against the stand-in: sign-up, the five test set-ups
// posted to the mock address, and the current version.
#include <windows.h>

#include "ServiceStandinTest.h"

namespace {

using namespace servicetest;

class SignupTest : public ServiceStandinTest {
protected:
    HRESULT Signup(const wchar_t* email, VARIANT_BOOL agreement, ISignupCompletionElements** elements) {
        return Create<ISignupService>(CLSID_SignupService)
            ->DefaultEvaluationSignup(CComBSTR(L"Ann"), CComBSTR(L"Archer"), CComBSTR(L"Archer & Co"),
                                      CComBSTR(L"01632960000"), CComBSTR(L"447700900555"), CComBSTR(email),
                                      agreement, elements);
    }
};

TEST_F(SignupTest, ANewAccountComesBackInTheResultElements) {
    CComPtr<ISignupCompletionElements> elements;
    ASSERT_EQ(S_OK, Signup(L"ann@example.com", VARIANT_TRUE, &elements));
    ExpectSent(LastSent(), "SignupService", "DefaultEvaluationSignup",
               {"firstName=Ann", "lastName=Archer", "companyName=Archer & Co", "telephoneNumber=01632960000",
                "mobileNumber=447700900555", "emailAddress=ann@example.com", "mailingAgreement=true"});
    EXPECT_EQ("ann@example.com", Text(elements, &ISignupCompletionElements::get_Username));
    EXPECT_EQ("EVAL0001", Text(elements, &ISignupCompletionElements::get_AccountReference));
    const std::string welcome = Text(elements, &ISignupCompletionElements::get_WelcomeMessage);
    EXPECT_NE(std::string::npos, welcome.find("Sign in as ann@example.com with the password ")) << welcome;
}

TEST_F(SignupTest, OnlyVariantTrueIsAnAgreement) {
    CComPtr<ISignupCompletionElements> elements;
    ASSERT_EQ(S_OK, Signup(L"bob@example.com", 1, &elements));
    EXPECT_EQ("mailingAgreement=false", LastSent().fields.back());
}

TEST_F(SignupTest, ATakenAddressIsAServiceError) {
    CComPtr<ISignupCompletionElements> elements;
    EXPECT_EQ(HRESULT(0x8002000C), Signup(L"taken@example.com", VARIANT_FALSE, &elements));
    EXPECT_EQ(N(SdkText(5112)), ErrorText());
}

TEST_F(SignupTest, AnEmptyCompanyNameIsRefusedBeforeSending) {
    CComPtr<ISignupCompletionElements> elements;
    EXPECT_EQ(E_INVALIDARG, Create<ISignupService>(CLSID_SignupService)
                                ->DefaultEvaluationSignup(CComBSTR(L"Ann"), CComBSTR(L"Archer"), CComBSTR(L""),
                                                          CComBSTR(L"01632960000"), CComBSTR(L"447700900555"),
                                                          CComBSTR(L"ann@example.com"), VARIANT_TRUE, &elements));
    EXPECT_EQ(N(MissingArgumentText(L"CompanyName")), ErrorText());
    EXPECT_TRUE(Log().Empty());
}

class TestServiceTest : public ServiceStandinTest {
protected:
    void TearDown() override {
        standin::PointSdkAtStandin();
        ServiceStandinTest::TearDown();
    }
};

TEST_F(TestServiceTest, TheFiveSetUpsArePostedToTheMockAddress) {
    CComPtr<ITestService> test = Create<ITestService>(CLSID_TestService);
    // The ordinary address leads nowhere: only the mock address reaches the stand-in.
    const std::wstring url = standin::RequireServiceUrl();
    ASSERT_EQ(S_OK, test->SetSoapEndPoints(CComBSTR(L"http://127.0.0.1:9/nowhere/"), CComBSTR(url.c_str())));
    const struct {
        HRESULT (STDMETHODCALLTYPE ITestService::*setup)();
        const char* name;
    } setups[] = {{&ITestService::SetupContactTests, "SetupContactTests"},
                  {&ITestService::SetupAccountTests, "SetupAccountTests"},
                  {&ITestService::SetupSendTests, "SetupSendTests"},
                  {&ITestService::SetupInboxTests, "SetupInboxTests"},
                  {&ITestService::SetupSignupTests, "SetupSignupTests"}};
    for (const auto& s : setups) {
        EXPECT_EQ(S_OK, (test.p->*s.setup)()) << s.name;
        const standin::LoggedRequest logged = Log().Last();
        EXPECT_EQ(L"/secure/messenger/soap/TestService.asmx", logged.path);
        EXPECT_EQ(200, logged.status);
        ExpectSent(ReadSentRequest(logged), "TestService", s.name, {});
    }
    EXPECT_EQ(5u, SentCount());
}

TEST_F(TestServiceTest, ASetUpPutsTheFixturesBack) {
    CComPtr<IInboxService2> inbox = Initialised<IInboxService2>(CLSID_InboxService2);
    ASSERT_EQ(S_OK, inbox->DeleteMessages(CComBSTR(L"20000000-0000-4000-8000-000000000001,"
                                                   L"20000000-0000-4000-8000-000000000002")));
    CComPtr<ITestService> test = Create<ITestService>(CLSID_TestService);
    const std::wstring url = standin::RequireServiceUrl();
    ASSERT_EQ(S_OK, test->SetSoapEndPoints(CComBSTR(url.c_str()), CComBSTR(url.c_str())));
    ASSERT_EQ(S_OK, test->SetupInboxTests());
    CComPtr<IObjectCollection> list;
    ASSERT_EQ(S_OK, inbox->GetMessages(&list));
    LONG count = 0;
    list->get_Count(&count);
    EXPECT_EQ(5, count);
}

TEST_F(TestServiceTest, TheOrdinaryAddressServesTheOtherServices) {
    CComPtr<ITestService> test = Create<ITestService>(CLSID_TestService);
    const std::wstring url = standin::RequireServiceUrl();
    ASSERT_EQ(S_OK, test->SetSoapEndPoints(CComBSTR(url.c_str()), CComBSTR(L"http://127.0.0.1:9/nowhere/")));
    LONG limit = 0;
    EXPECT_EQ(S_OK, Initialised<IAccountService>(CLSID_AccountService)->GetMessageLimit(&limit));
    EXPECT_EQ(100, limit);
    EXPECT_HRESULT_FAILED(test->SetupSendTests());
    EXPECT_EQ(1u, SentCount());
}

class VersionTest : public ServiceStandinTest {};

TEST_F(VersionTest, TheCurrentVersionNeedsNoInitialise) {
    CComBSTR version;
    ASSERT_EQ(S_OK, Create<IMessengerService>(CLSID_MessengerService)->GetCurrentVersion(&version));
    EXPECT_EQ("3.4.5.6", N(version));
    ExpectSent(LastSent(), "BrindlepostService", "GetCurrentVersion", {});
}

}  // namespace
