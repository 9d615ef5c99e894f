// The service objects linked in, without a network: the method skeleton (entry, exit and error
// lines under each class's category), argument checks before anything is loaded or sent, null
// result pointers, Dummy, and calls before Initialise.
#include <windows.h>

#include "AccountService.h"
#include "InboxService.h"
#include "MessengerService.h"
#include "SendService.h"
#include "ServiceTestSupport.h"
#include "SignupService.h"
#include "TestService.h"

namespace {

using namespace servicetest;
using testsupport::HasErrorInfo;
using testsupport::TakeErrorDescription;

class MethodsTest : public testsupport::ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        ::SetErrorInfo(0, nullptr);
    }
    // Initialises service with the fixture account.
    template <class Itf>
    void Initialise(Itf* service) {
        ASSERT_EQ(S_OK, service->Initialise(CComBSTR(L"test"), CComBSTR(L"test"), CComBSTR(L"TEST01"), Omitted()));
    }
    void ExpectMissing(HRESULT hr, const wchar_t* name) {
        EXPECT_EQ(E_INVALIDARG, hr) << N(std::wstring(name));
        EXPECT_EQ(N(MissingArgumentText(name)), N(TakeErrorDescription()));
    }
};

const CComBSTR kEmpty(L"");
const CComBSTR kNumber(L"447700900101");
const CComBSTR kBody(L"Hello");

TEST_F(MethodsTest, SendChecksItsArgumentsInOrder) {
    CComPtr<ISendService2> send = CreateLinked<CSendService, ISendService2>();
    CComBSTR id;
    ExpectMissing(send->SendMessageW(nullptr, nullptr, MESSAGE_TYPE(5), &id), L"Recipient");
    ExpectMissing(send->SendMessageW(kNumber, kEmpty, MESSAGE_TYPE(5), &id), L"Body");
    ExpectMissing(send->SendMessageFull(kEmpty, kNumber, kBody, MESSAGE_TYPE_TEXT, 0, &id), L"Originator");
    ExpectMissing(send->SendMessageFull(kNumber, kEmpty, kBody, MESSAGE_TYPE_TEXT, 0, &id), L"Recipient");
    ExpectMissing(send->SendMessageFull(kNumber, kNumber, nullptr, MESSAGE_TYPE_TEXT, 0, &id), L"Body");
    MESSAGE_STATUS status;
    ExpectMissing(send->GetMessageStatus(nullptr, &status), L"MessageID");
    CComPtr<IStringCollection2> ids;
    ExpectMissing(send->SendMessageMultipleRecipients(nullptr, kBody, MESSAGE_TYPE_TEXT, &ids), L"Recipients");
    ExpectMissing(send->SendMessageMultipleRecipients(kEmpty, kEmpty, MESSAGE_TYPE_TEXT, &ids), L"Body");
    ExpectMissing(send->SendMessageMultipleRecipientsFull(nullptr, nullptr, nullptr, MESSAGE_TYPE_TEXT, 0, &ids),
                  L"Originator");
    ExpectMissing(send->SendMessageMultipleRecipientsFull(kNumber, nullptr, nullptr, MESSAGE_TYPE_TEXT, 0, &ids),
                  L"Recipients");
    ExpectMissing(send->SendMessageMultipleRecipientsFull(kNumber, kEmpty, kEmpty, MESSAGE_TYPE_TEXT, 0, &ids),
                  L"Body");
}

TEST_F(MethodsTest, ANullResultPointerLeavesTheErrorInfoAsItWas) {
    CComPtr<ISendService2> send = CreateLinked<CSendService, ISendService2>();
    testsupport::SetErrorDescription(L"left by an earlier call");
    EXPECT_EQ(E_INVALIDARG, send->SendMessageW(kNumber, kBody, MESSAGE_TYPE_TEXT, nullptr));
    EXPECT_EQ(E_INVALIDARG, send->GetMessageStatus(kEmpty, nullptr));
    EXPECT_EQ(E_INVALIDARG, send->SendMessageMultipleRecipientsFull(kNumber, kEmpty, kBody, MESSAGE_TYPE_TEXT, 0, nullptr));
    CComPtr<IInboxService2> inbox = CreateLinked<CInboxService, IInboxService2>();
    EXPECT_EQ(E_INVALIDARG, inbox->GetMessages(nullptr));
    EXPECT_EQ(E_INVALIDARG, inbox->GetMessageW(kEmpty, nullptr));
    EXPECT_EQ(E_INVALIDARG, inbox->GetMessagesForDay(2024, 3, 14, nullptr));
    EXPECT_EQ(E_INVALIDARG, inbox->GetMessagesForDateRange(0, 0, nullptr));
    EXPECT_EQ(E_INVALIDARG, inbox->GetMessagesByID(kEmpty, nullptr));
    EXPECT_EQ(E_INVALIDARG, inbox->GetLatestMessages(CComVariant(), CComVariant(), nullptr));
    CComPtr<IAccountService> account = CreateLinked<CAccountService, IAccountService>();
    EXPECT_EQ(E_INVALIDARG, account->GetMessageLimit(nullptr));
    EXPECT_EQ(E_INVALIDARG, account->GetAccountFeatures(nullptr));
    EXPECT_EQ(E_INVALIDARG, account->GetAccountState(nullptr));
    CComPtr<ISignupService> signup = CreateLinked<CSignupService, ISignupService>();
    EXPECT_EQ(E_INVALIDARG, signup->DefaultEvaluationSignup(kBody, kBody, kBody, kNumber, kNumber, kBody,
                                                            VARIANT_FALSE, nullptr));
    CComPtr<IMessengerService> messenger = CreateLinked<CMessengerService, IMessengerService>();
    EXPECT_EQ(E_INVALIDARG, messenger->GetCurrentVersion(nullptr));
    EXPECT_EQ(L"left by an earlier call", TakeErrorDescription());
}

TEST_F(MethodsTest, InitialiseGoesToTheTransport) {
    CComPtr<IInboxService2> inbox = CreateLinked<CInboxService, IInboxService2>();
    CComVariant serverSide = Bool(true);
    EXPECT_EQ(E_INVALIDARG, inbox->Initialise(CComBSTR(L"test"), kEmpty, CComBSTR(L"TEST01"), serverSide));
    EXPECT_EQ(N(MissingArgumentText(L"Password")), N(TakeErrorDescription()));
    CComPtr<ISignupService> signup = CreateLinked<CSignupService, ISignupService>();
    EXPECT_EQ(E_INVALIDARG, signup->Initialise(CComBSTR(L"test"), CComBSTR(L"test"), nullptr, serverSide));
    EXPECT_EQ(N(MissingArgumentText(L"Account")), N(TakeErrorDescription()));
}

TEST_F(MethodsTest, IsServerSideIsReadThroughAReference) {
    LogCapture log("CSOAPService");
    CSOAPService::SetSoapEndPoints(L"http://127.0.0.1:9/", nullptr);  // nothing listens there
    CComPtr<IAccountService> account = CreateLinked<CAccountService, IAccountService>();
    VARIANT flag = Bool(true);
    VARIANT reference;
    reference.vt = VT_BYREF | VT_VARIANT;
    reference.pvarVal = &flag;
    ASSERT_EQ(S_OK, account->Initialise(CComBSTR(L"test"), CComBSTR(L"test"), CComBSTR(L"TEST01"), reference));
    LONG limit = 0;
    EXPECT_EQ(HRESULT(0x800203E8), account->GetMessageLimit(&limit));
    CSOAPService::SetSoapEndPoints(nullptr, nullptr);
    EXPECT_NE(std::string::npos, log.Text().find("Creating COM object MSXML2.ServerXMLHTTP")) << log.Text();
}

TEST_F(MethodsTest, InboxChecksItsArguments) {
    CComPtr<IInboxService2> inbox = CreateLinked<CInboxService, IInboxService2>();
    ExpectMissing(inbox->DeleteMessage(nullptr), L"MessageID");
    ExpectMissing(inbox->DeleteMessages(nullptr), L"MessageIDs");
    CComPtr<ISMSMessage2> message;
    ExpectMissing(inbox->GetMessageW(nullptr, &message), L"MessageID");
    CComPtr<IObjectCollection> list;
    ExpectMissing(inbox->GetMessagesByID(nullptr, &list), L"MessageIDs");
    EXPECT_EQ(E_INVALIDARG, inbox->GetLatestMessages(CComVariant(L"3"), CComVariant(), &list));
    EXPECT_FALSE(HasErrorInfo());
    EXPECT_EQ(E_INVALIDARG, inbox->GetLatestMessages(CComVariant(3L), Real(2.5), &list));
    EXPECT_FALSE(HasErrorInfo());
}

TEST_F(MethodsTest, SignupRequiresItsSixTextsInOrder) {
    CComPtr<ISignupService> signup = CreateLinked<CSignupService, ISignupService>();
    const CComBSTR ann(L"Ann");
    CComPtr<ISignupCompletionElements> elements;
    ExpectMissing(signup->DefaultEvaluationSignup(kEmpty, nullptr, nullptr, nullptr, nullptr, nullptr, VARIANT_TRUE, &elements), L"FirstName");
    ExpectMissing(signup->DefaultEvaluationSignup(ann, kEmpty, nullptr, nullptr, nullptr, nullptr, VARIANT_TRUE, &elements), L"LastName");
    ExpectMissing(signup->DefaultEvaluationSignup(ann, ann, kEmpty, nullptr, nullptr, nullptr, VARIANT_TRUE, &elements), L"CompanyName");
    ExpectMissing(signup->DefaultEvaluationSignup(ann, ann, ann, nullptr, nullptr, nullptr, VARIANT_TRUE, &elements), L"TelephoneNumber");
    ExpectMissing(signup->DefaultEvaluationSignup(ann, ann, ann, ann, kEmpty, nullptr, VARIANT_TRUE, &elements), L"MobileNumber");
    ExpectMissing(signup->DefaultEvaluationSignup(ann, ann, ann, ann, ann, kEmpty, VARIANT_TRUE, &elements), L"EmailAddress");
}

TEST_F(MethodsTest, DummyIsNotImplemented) {
    CComPtr<ISendService2> send = CreateLinked<CSendService, ISendService2>();
    EXPECT_EQ(E_NOTIMPL, send->Dummy(ERROR_CODE_CONNECTION_FAILED));
    CComPtr<IAccountService> account = CreateLinked<CAccountService, IAccountService>();
    EXPECT_EQ(E_NOTIMPL, account->Dummy(ACCOUNT_FEATURE_INBOX));
}

TEST_F(MethodsTest, AFailureIsLoggedUnderTheClassCategory) {
    LogCapture log("CSendService");
    CComPtr<ISendService2> send = CreateLinked<CSendService, ISendService2>();
    CComBSTR id;
    send->SendMessageW(kNumber, kEmpty, MESSAGE_TYPE_TEXT, &id);
    EXPECT_EQ("DEBUG Entering CSendService::SendMessage\n"
              "ERROR An error occurred.  CSendService::SendMessage\n",
              log.Text());
}

TEST_F(MethodsTest, PresentIdentifiersAreLogged) {
    LogCapture log("CSendService");
    CComPtr<ISendService2> send = CreateLinked<CSendService, ISendService2>();
    CComPtr<IStringCollection2> ids;
    send->SendMessageMultipleRecipients(CComBSTR(L"447700900101,447700900102"), kEmpty, MESSAGE_TYPE_TEXT, &ids);
    EXPECT_EQ("DEBUG Entering CSendService::SendMessageMultipleRecipients\n"
              "DEBUG Recipients=447700900101,447700900102\n"
              "ERROR An error occurred.  CSendService::SendMessageMultipleRecipients\n",
              log.Text());
}

TEST_F(MethodsTest, InitialiseLogsOnlyItsEntry) {
    LogCapture inboxLog("CInboxService");
    LogCapture accountLog("CAccountService");
    LogCapture signupLog("SignupService");
    CComPtr<IInboxService2> inbox = CreateLinked<CInboxService, IInboxService2>();
    Initialise(inbox.p);
    CComPtr<IAccountService> account = CreateLinked<CAccountService, IAccountService>();
    Initialise(account.p);
    CComPtr<ISignupService> signup = CreateLinked<CSignupService, ISignupService>();
    Initialise(signup.p);
    EXPECT_EQ("DEBUG Entering CInboxService::Initialise\n", inboxLog.Text());
    EXPECT_EQ("DEBUG Entering CAccountService::Initialise\n", accountLog.Text());
    EXPECT_EQ("DEBUG Entering CSignupService::Initialise\n", signupLog.Text());
}

TEST_F(MethodsTest, EachServiceLogsUnderItsOwnCategory) {
    LogCapture inboxLog("CInboxService");
    LogCapture accountLog("CAccountService");
    LogCapture signupLog("SignupService");
    CComPtr<IInboxService2> inbox = CreateLinked<CInboxService, IInboxService2>();
    inbox->GetMessagesForDay(2024, 3, 14, nullptr);
    CComPtr<IAccountService> account = CreateLinked<CAccountService, IAccountService>();
    account->GetAccountFeatures(nullptr);
    CComPtr<ISignupService> signup = CreateLinked<CSignupService, ISignupService>();
    signup->DefaultEvaluationSignup(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, VARIANT_FALSE, nullptr);
    EXPECT_EQ("DEBUG Entering CInboxService::GetMessagesForDay\n"
              "ERROR An error occurred.  CInboxService::GetMessagesForDay\n",
              inboxLog.Text());
    EXPECT_EQ("DEBUG Entering CAccountService::GetAccountFeatures\n"
              "ERROR An error occurred.  CAccountService::GetAccountFeatures\n",
              accountLog.Text());
    EXPECT_EQ("DEBUG Entering CSignupService::DefaultEvaluationSignup\n"
              "ERROR An error occurred.  CSignupService::DefaultEvaluationSignup\n",
              signupLog.Text());
}

TEST_F(MethodsTest, ASetUpLogsUnderItsOwnName) {
    LogCapture log("CTestService");
    CComPtr<ITestService> test = CreateLinked<CTestService, ITestService>();
    // No mock address: the address is "TestService.asmx" alone, which open refuses.
    EXPECT_EQ(S_OK, test->SetSoapEndPoints(nullptr, nullptr));
    EXPECT_EQ(HRESULT(0x800203E8), test->SetupInboxTests());
    EXPECT_EQ("DEBUG Entering CTestService::SetupInboxTests\n"
              "ERROR An error occurred.  CTestService::SetupInboxTests\n",
              log.Text());
}

TEST_F(MethodsTest, TestAndMessengerServicesLogUnderTheirCategories) {
    LogCapture testLog("CTestService");
    LogCapture messengerLog("CMessengerService");
    CComPtr<IMessengerService> messenger = CreateLinked<CMessengerService, IMessengerService>();
    messenger->GetCurrentVersion(nullptr);
    // SetSoapEndPoints is outside the method frame and writes no line.
    CComPtr<ITestService> test = CreateLinked<CTestService, ITestService>();
    EXPECT_EQ(S_OK, test->SetSoapEndPoints(nullptr, nullptr));
    EXPECT_EQ("", testLog.Text());
    EXPECT_EQ("DEBUG Entering CMessengerService::GetCurrentVersion\n"
              "ERROR An error occurred.  CMessengerService::GetCurrentVersion\n",
              messengerLog.Text());
}

}  // namespace
