// The transport against a stand-in service of its own: addresses, headers, credentials, the log
// lines, HTTP statuses, SOAP faults, answers that are no XML and connections that fail.
#include <algorithm>
#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <thread>

#include <log4cpp/FileAppender.hh>

#include "Method.h"
#include "ProcessMemory.h"
#include "ServerLoadSupport.h"
#include "SoapService.h"
#include "SoapTestSupport.h"
#include "StandinTest.h"
#include "XmlHttpRequest.h"
#include "resource.h"

namespace {

using soaptest::LogCapture;
using soaptest::Raised;
using soaptest::ResourceText;
using soaptest::Text;
using testsupport::Narrow;
using testsupport::Omitted;
using testsupport::TakeErrorDescription;

const UINT kGetMessageLimit = 212;
const UINT kGetCurrentVersion = 239;
const wchar_t kVersionText[] = L"2.5.0.1";  // the stand-in's --version-text (CMakeLists.txt)

// A loopback port nobody listens on.
unsigned short ClosedPort() {
    WSADATA data;
    ::WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int length = sizeof address;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    ::closesocket(s);
    ::WSACleanup();
    return ntohs(address.sin_port);
}

class SoapServiceTest : public standin::StandinTest {
protected:
    void SetUp() override {
        StandinTest::SetUp();
        CSOAPService::SetSoapEndPoints(standin::ServiceUrl().c_str(), L"");
    }
    void TearDown() override {
        CSOAPService::SetSoapEndPoints(nullptr, nullptr);
        StandinTest::TearDown();
    }

    // An account service signed in as user (password = user name unless given).
    static HRESULT SignIn(CSOAPService& soap, const wchar_t* user, const wchar_t* password = nullptr,
                          const wchar_t* account = L"TEST01", VARIANT serverSide = Omitted()) {
        return soap.Initialise(CComBSTR(user), CComBSTR(password ? password : user), CComBSTR(account), serverSide);
    }

    // GetMessageLimit through the transport; document holds the answer afterwards.
    static HRESULT GetMessageLimit(CSOAPService& soap, CComPtr<IXMLDOMDocument>& document) {
        document = CXmlUtils::LoadTemplate(kGetMessageLimit);
        return soap.ExecuteWithCredentials(document, L"GetMessageLimit");
    }

    // GetMessageLimit as user; returns the HRESULT and leaves the error description in description.
    static HRESULT LimitAs(const wchar_t* user, std::wstring& description) {
        CSOAPService soap(L"AccountService");
        EXPECT_EQ(S_OK, SignIn(soap, user));
        CComPtr<IXMLDOMDocument> document;
        const HRESULT hr = GetMessageLimit(soap, document);
        description = TakeErrorDescription();
        return hr;
    }
};

// --- addresses -----------------------------------------------------------------------------

TEST_F(SoapServiceTest, AddressIsOverrideOrDefaultBaseThenEndPointName) {
    CSOAPService soap(L"AccountService");
    CSOAPService::SetSoapEndPoints(L"https://sms.example/secure/messenger/soap/", L"");
    EXPECT_EQ(L"https://sms.example/secure/messenger/soap/AccountService.asmx", soap.EndPointAddress());
    CSOAPService::SetSoapEndPoints(L"", L"");
    EXPECT_EQ(L"http://127.0.0.1:8642/secure/messenger/soap/AccountService.asmx", soap.EndPointAddress());
    EXPECT_EQ(std::wstring(TARVOCK_SOAP_BASE) + L"AccountService.asmx", soap.EndPointAddress());
    CSOAPService::SetSoapEndPoints(nullptr, L"http://mock.example/");
    EXPECT_EQ(std::wstring(TARVOCK_SOAP_BASE) + L"AccountService.asmx", soap.EndPointAddress());
}

TEST_F(SoapServiceTest, MockServiceUsesTheMockAddress) {
    CSOAPService mock(L"TestService", true);
    CSOAPService::SetSoapEndPoints(L"http://override.example/", L"http://mock.example/soap/");
    EXPECT_EQ(L"http://mock.example/soap/TestService.asmx", mock.EndPointAddress());
    EXPECT_EQ(L"http://override.example/SendService.asmx", CSOAPService(L"SendService").EndPointAddress());
}

TEST_F(SoapServiceTest, PostsToTheEndPointWithTheHeaders) {
    CSOAPService soap(L"AccountService");
    ASSERT_EQ(S_OK, SignIn(soap, L"test"));
    CComPtr<IXMLDOMDocument> document;
    ASSERT_EQ(S_OK, GetMessageLimit(soap, document));
    EXPECT_EQ(100, CXmlUtils::GetElementLong(document, L"GetMessageLimitResult"));  // the answer replaced the request

    const standin::LoggedRequest sent = Log().Last();
    EXPECT_EQ(L"POST", sent.method);
    EXPECT_EQ(L"/secure/messenger/soap/AccountService.asmx", sent.path);
    EXPECT_EQ(L"AccountService", sent.endpoint);
    EXPECT_EQ(L"http://com.tarvock/messenger/GetMessageLimit", sent.soapAction);
    EXPECT_EQ(L"text/xml;charset=utf-8", sent.contentType);
    EXPECT_EQ(L"GetMessageLimit", sent.operation);
    EXPECT_EQ(200, sent.status);
    EXPECT_EQ(L"http://com.tarvock/messenger/GetMessageLimit", CSOAPService::SoapAction(L"GetMessageLimit"));
}

// --- credentials ---------------------------------------------------------------------------

TEST_F(SoapServiceTest, CredentialsAreWrittenIntoTheirElements) {
    CSOAPService soap(L"AccountService");
    ASSERT_EQ(S_OK, SignIn(soap, L"other", nullptr, L"other01"));
    CComPtr<IXMLDOMDocument> document;
    ASSERT_EQ(S_OK, GetMessageLimit(soap, document));
    CComPtr<IXMLDOMDocument> sent = soaptest::ParseXml(Log().Last().body.c_str());
    EXPECT_EQ(L"other", Text(CXmlUtils::GetElementText(sent, L"Username")));
    EXPECT_EQ(L"other", Text(CXmlUtils::GetElementText(sent, L"Password")));
    EXPECT_EQ(L"other01", Text(CXmlUtils::GetElementText(sent, L"Account")));
}

TEST_F(SoapServiceTest, CallsWithCredentialsFailWith5003BeforeInitialise) {
    CSOAPService soap(L"AccountService");
    CComPtr<IXMLDOMDocument> document;
    EXPECT_EQ(E_FAIL, GetMessageLimit(soap, document));
    EXPECT_EQ(ResourceText(IDS_NOT_INITIALISED), TakeErrorDescription());
    EXPECT_TRUE(Log().Empty());

    CSOAPService version(L"BrindlepostService");
    document = CXmlUtils::LoadTemplate(kGetCurrentVersion);
    ASSERT_EQ(S_OK, version.ExecuteAnonymous(document, L"GetCurrentVersion"));
    EXPECT_EQ(kVersionText, Text(CXmlUtils::GetElementText(document, L"GetCurrentVersionResult")));
    EXPECT_EQ(L"GetCurrentVersion", Log().Last().operation);
}

TEST_F(SoapServiceTest, InitialiseRefusesMissingCredentialsAndKeepsTheOldOnes) {
    CSOAPService soap(L"AccountService");
    ASSERT_EQ(S_OK, SignIn(soap, L"test"));
    EXPECT_EQ(E_INVALIDARG, soap.Initialise(nullptr, CComBSTR(L"p"), CComBSTR(L"a"), Omitted()));
    EXPECT_EQ(L"The argument Username is missing or empty.", TakeErrorDescription());
    EXPECT_EQ(E_INVALIDARG, soap.Initialise(CComBSTR(L"u"), CComBSTR(L""), CComBSTR(L"a"), Omitted()));
    EXPECT_EQ(L"The argument Password is missing or empty.", TakeErrorDescription());
    EXPECT_EQ(E_INVALIDARG, soap.Initialise(CComBSTR(L"u"), CComBSTR(L"p"), nullptr, testsupport::VariantBool(true)));
    EXPECT_EQ(L"The argument Account is missing or empty.", TakeErrorDescription());
    EXPECT_EQ(L"test", Text(soap.Username()));
    EXPECT_FALSE(soap.IsServerSide());

    CComPtr<IXMLDOMDocument> document;
    ASSERT_EQ(S_OK, GetMessageLimit(soap, document));
    EXPECT_NE(std::wstring::npos, Log().Last().body.find(L"<Password>test</Password>"));
}

TEST_F(SoapServiceTest, OnlyBooleanTrueSelectsTheServerSideObject) {
    CSOAPService soap(L"AccountService");
    VARIANT four;
    ::VariantInit(&four);
    four.vt = VT_I4;
    four.lVal = 1;
    ASSERT_EQ(S_OK, SignIn(soap, L"test", nullptr, L"TEST01", four));
    EXPECT_FALSE(soap.IsServerSide());
    {
        LogCapture log("CSOAPService");
        CComPtr<IXMLDOMDocument> document;
        ASSERT_EQ(S_OK, GetMessageLimit(soap, document));
        EXPECT_TRUE(log.Contains("DEBUG Creating COM object Microsoft.XMLHTTP\n")) << log.Text();
    }
    ASSERT_EQ(S_OK, SignIn(soap, L"test", nullptr, L"TEST01", testsupport::VariantBool(false)));
    EXPECT_FALSE(soap.IsServerSide());
    ASSERT_EQ(S_OK, SignIn(soap, L"test", nullptr, L"TEST01", testsupport::VariantBool(true)));
    EXPECT_TRUE(soap.IsServerSide());
    {
        LogCapture log("CSOAPService");
        CComPtr<IXMLDOMDocument> document;
        ASSERT_EQ(S_OK, GetMessageLimit(soap, document));
        EXPECT_TRUE(log.Contains("DEBUG Creating COM object MSXML2.ServerXMLHTTP\n")) << log.Text();
        EXPECT_EQ(100, CXmlUtils::GetElementLong(document, L"GetMessageLimitResult"));
    }
    ASSERT_EQ(S_OK, SignIn(soap, L"test"));
    EXPECT_FALSE(soap.IsServerSide());
}

// --- log lines -----------------------------------------------------------------------------

TEST_F(SoapServiceTest, RequestIsLoggedWithThePasswordMasked) {
    LogCapture log("CSOAPService");
    CSOAPService soap(L"AccountService");
    ASSERT_EQ(S_OK, SignIn(soap, L"test", L"Secr3t-Pw", L"TEST01"));
    CComPtr<IXMLDOMDocument> document;
    EXPECT_EQ(ServiceErrorResult(2), GetMessageLimit(soap, document));

    const std::string text = log.Text();
    EXPECT_EQ(std::string::npos, text.find("Secr3t-Pw")) << text;
    EXPECT_TRUE(log.Contains("<Username>test</Username>")) << text;
    EXPECT_TRUE(log.Contains("<Password>********</Password>")) << text;
    EXPECT_TRUE(log.Contains("<Account>TEST01</Account>")) << text;
    EXPECT_TRUE(log.Contains("DEBUG Entering CSOAPService::Initialise\n"));
    EXPECT_TRUE(log.Contains("DEBUG Entering CSOAPService::Execute\n"));
    EXPECT_TRUE(log.Contains("DEBUG Open POST request to endpoint " + Narrow(standin::ServiceUrl()) +
                             "AccountService.asmx\n"));
    EXPECT_TRUE(log.Contains("DEBUG SOAP Action: http://com.tarvock/messenger/GetMessageLimit\n"));
    EXPECT_TRUE(log.Contains("DEBUG XML request: <soap:Envelope"));
    EXPECT_TRUE(log.Contains("DEBUG XML response: <?xml"));
    EXPECT_TRUE(log.Contains("DEBUG Entering CSOAPService::ReportSoapError\n"));
    EXPECT_TRUE(log.Contains("ERROR An error occurred.  CSOAPService::Execute\n"));
    // The service got the real password.
    EXPECT_NE(std::wstring::npos, Log().Last().body.find(L"<Password>Secr3t-Pw</Password>"));
}

TEST_F(SoapServiceTest, MaskingHidesEveryPasswordValueAndNothingElse) {
    CComPtr<IXMLDOMDocument> document = CXmlUtils::LoadTemplate(kGetMessageLimit);
    CXmlUtils::SetElementText(document, L"Password", L"a<b&c>d");
    const CComBSTR xml = CXmlUtils::XmlText(document);
    const std::wstring masked = CSOAPService::MaskedXmlText(xml);
    EXPECT_NE(std::wstring::npos, masked.find(L"<Password>********</Password>")) << masked;
    EXPECT_EQ(std::wstring::npos, masked.find(L"a&lt;b")) << masked;
    EXPECT_EQ(L"a<b&c>d", Text(CXmlUtils::GetElementText(document, L"Password")));
    CComPtr<IXMLDOMDocument> version = CXmlUtils::LoadTemplate(kGetCurrentVersion);
    EXPECT_EQ(Text(CXmlUtils::XmlText(version)), CSOAPService::MaskedXmlText(CXmlUtils::XmlText(version)));

    EXPECT_EQ(L"<r><Password a=\"1\">********</Password><PasswordHint>hint</PasswordHint><Password/>"
              L"<Password>********</Password></r>",
              CSOAPService::MaskedXmlText(L"<r><Password a=\"1\">one</Password><PasswordHint>hint</PasswordHint>"
                                          L"<Password/><Password>two</Password></r>"));
    EXPECT_EQ(L"<r><Password>cut", CSOAPService::MaskedXmlText(L"<r><Password>cut"));
    EXPECT_EQ(L"", CSOAPService::MaskedXmlText(nullptr));
}

// Every call logged at DEBUG into a file, as a user who reports a problem runs it, keeps no more
// memory than the same calls with logging off (a cloned document per call kept about 1.8 KB of
// heap a call under Wine). Judged on the heaps in use: Wine's worker threads move the committed
// pages by megabytes.
TEST_F(SoapServiceTest, DebugLoggingOfCallsKeepsNoMemory) {
    const std::string file = testsupport::TempFile("tarvock-soap-memory.log");
    log4cpp::Category& category = log4cpp::Category::getInstance("CSOAPService");
    const log4cpp::Priority::Value priority = category.getPriority();
    CSOAPService soap(L"AccountService");
    ASSERT_EQ(S_OK, SignIn(soap, L"test"));
    // The heap kept by count calls.
    auto keptBy = [&](int count) {
        const size_t before = testsupport::HeapBytesInUse();
        for (int i = 0; i < count; ++i) {
            CComPtr<IXMLDOMDocument> document;
            EXPECT_EQ(S_OK, GetMessageLimit(soap, document));
        }
        return (long long)testsupport::HeapBytesInUse() - (long long)before;
    };
    // A leak shows in every round; the platform's own allocations (a worker thread started under
    // load) show in one at most, so each figure is the smaller of two rounds. Under a loaded
    // machine the platform still keeps up to about 20 KB now and then; the bound below is well above
    // that noise and well below what a leak of even half a kilobyte a call keeps.
    auto leastKeptBy = [&](int count) { return (std::min)(keptBy(count), keptBy(count)); };
    category.setPriority(log4cpp::Priority::INFO);
    keptBy(10);
    const long long off = leastKeptBy(100);
    category.setPriority(log4cpp::Priority::DEBUG);
    auto appender = std::make_shared<log4cpp::FileAppender>("memory", file, false);
    category.addAppender(appender);
    keptBy(10);
    const long long debug = leastKeptBy(100);
    category.removeAppender(appender.get());
    category.setPriority(priority);
    appender->close();
    const std::string text = testsupport::ReadFile(file);
    ::DeleteFileA(file.c_str());
    EXPECT_LE(210u, testsupport::Occurrences(text, "<Password>********</Password>"));
    EXPECT_LE(debug - off, 40 * 1024) << "100 calls keep " << off << " bytes of heap with logging off and " << debug
                                       << " with debug logging";
}

// --- HTTP statuses -------------------------------------------------------------------------

TEST_F(SoapServiceTest, StatusOtherThan200Or500Gives5013) {
    CSOAPService missing(L"NoSuchService");
    ASSERT_EQ(S_OK, SignIn(missing, L"test"));
    CComPtr<IXMLDOMDocument> document;
    EXPECT_EQ(E_FAIL, GetMessageLimit(missing, document));
    EXPECT_EQ(L"The web service answered with HTTP status 404 (Not Found).", TakeErrorDescription());
    EXPECT_EQ(404, Log().Last().status);

    std::wstring description;
    EXPECT_EQ(E_FAIL, LimitAs(L"fault503", description));
    EXPECT_EQ(L"The web service answered with HTTP status 503 (Service Unavailable).", description);
}

TEST_F(SoapServiceTest, AnswerThatIsNoXmlFailsWithTheParseError) {
    CSOAPService soap(L"AccountService");
    ASSERT_EQ(S_OK, SignIn(soap, L"faultnonxml"));
    CComPtr<IXMLDOMDocument> document = CXmlUtils::LoadTemplate(kGetMessageLimit);
    IXMLDOMDocument* request = document;
    EXPECT_EQ(E_FAIL, soap.ExecuteWithCredentials(document, L"GetMessageLimit"));
    const std::wstring description = TakeErrorDescription();
    EXPECT_EQ(0u, description.find(L"Line: ")) << Narrow(description);
    EXPECT_NE(std::wstring::npos, description.find(L" Reason: "));
    EXPECT_EQ(request, document.p);  // no answer to hand back
    EXPECT_EQ(200, Log().Last().status);
}

TEST_F(SoapServiceTest, EmptyAnswerIsAnError) {
    std::wstring description;
    EXPECT_EQ(E_FAIL, LimitAs(L"faultempty", description));
    EXPECT_EQ(0u, description.find(L"Line: ")) << Narrow(description);
    EXPECT_EQ(200, Log().Last().status);
    EXPECT_TRUE(Log().Last().response.empty());
}

// --- SOAP faults ---------------------------------------------------------------------------

TEST_F(SoapServiceTest, ServiceErrorCodesMapToTheirTexts) {
    CSOAPService soap(L"AccountService");
    ASSERT_EQ(S_OK, SignIn(soap, L"test", L"wrong"));
    CComPtr<IXMLDOMDocument> document;
    EXPECT_EQ(static_cast<HRESULT>(0x80020002), GetMessageLimit(soap, document));
    EXPECT_EQ(ResourceText(5102), TakeErrorDescription());
    // The caller's document holds the fault.
    EXPECT_EQ(L"2", Text(CXmlUtils::GetElementText(document, L"ErrorCode")));
}

TEST_F(SoapServiceTest, ValidationFaultKeepsTheServicesMessage) {
    std::wstring description;
    EXPECT_EQ(static_cast<HRESULT>(0x80020011), LimitAs(L"fault17", description));
    EXPECT_EQ(L"The message text holds characters that cannot be sent.", description);
}

TEST_F(SoapServiceTest, UnknownCodeIsWarnedAndKeepsTheMessage) {
    LogCapture log("CSOAPService");
    std::wstring description;
    EXPECT_EQ(static_cast<HRESULT>(0x80020019), LimitAs(L"fault25", description));
    EXPECT_EQ(L"Injected fault with an unknown code.", description);
    EXPECT_TRUE(log.Contains("WARN Unknown SOAP error: 25\n")) << log.Text();
}

TEST_F(SoapServiceTest, CodeWithoutDigitsIsCodeZero) {
    std::wstring description;
    EXPECT_EQ(static_cast<HRESULT>(0x80020000), LimitAs(L"faultabc", description));
    EXPECT_EQ(ResourceText(5100), description);
}

TEST_F(SoapServiceTest, FaultWithoutDetailGivesTheFaultString) {
    std::wstring description;
    EXPECT_EQ(E_FAIL, LimitAs(L"faultnodetail", description));
    EXPECT_EQ(L"Server was unable to process request. Injected fault without detail.", description);
}

TEST_F(SoapServiceTest, BlankFaultGivesTheWholeAnswer) {
    std::wstring description;
    EXPECT_EQ(E_FAIL, LimitAs(L"faultblank", description));
    EXPECT_EQ(Log().Last().response, description);
    EXPECT_NE(std::wstring::npos, description.find(L"<soap:Fault>")) << Narrow(description);
}

TEST_F(SoapServiceTest, MessageWithoutCodeKeepsTheMessage) {
    std::wstring description;
    EXPECT_EQ(E_FAIL, LimitAs(L"faultnocode", description));
    EXPECT_EQ(L"Injected fault with a message and no code.", description);
}

TEST_F(SoapServiceTest, ReportSoapErrorMapsEveryCode) {
    for (long code = 0; code <= 18; ++code) {
        const std::wstring codeText = std::to_wstring(code);
        EXPECT_EQ(ServiceErrorResult(code), Raised([&] { CSOAPService::ReportSoapError(L"msg", codeText.c_str()); }));
        EXPECT_EQ(code == 17 ? std::wstring(L"msg") : ResourceText(5100 + code), TakeErrorDescription()) << code;
    }
    LogCapture log("CSOAPService");
    EXPECT_EQ(static_cast<HRESULT>(0xFFFFFFFD), Raised([] { CSOAPService::ReportSoapError(L"neg", L"-3"); }));
    EXPECT_EQ(L"neg", TakeErrorDescription());
    EXPECT_EQ(ServiceErrorResult(7), Raised([] { CSOAPService::ReportSoapError(L"x", L" 7 apples"); }));
    EXPECT_EQ(ResourceText(5107), TakeErrorDescription());
    EXPECT_EQ(ServiceErrorResult(0), Raised([] { CSOAPService::ReportSoapError(nullptr, nullptr); }));
    EXPECT_EQ(ResourceText(5100), TakeErrorDescription());
    EXPECT_EQ(
        "DEBUG Entering CSOAPService::ReportSoapError\nWARN Unknown SOAP error: -3\n"
        "DEBUG Entering CSOAPService::ReportSoapError\nDEBUG Entering CSOAPService::ReportSoapError\n",
        log.Text());
}

// --- failing connections -------------------------------------------------------------------

TEST_F(SoapServiceTest, ClosedPortIsAConnectionFailureWithADescription) {
    const std::wstring address = L"http://127.0.0.1:" + std::to_wstring(ClosedPort()) + L"/secure/messenger/soap/";
    CSOAPService::SetSoapEndPoints(address.c_str(), L"");
    CSOAPService soap(L"AccountService");
    ASSERT_EQ(S_OK, SignIn(soap, L"test"));
    testsupport::SetErrorDescription(L"stale text of an earlier call");
    CComPtr<IXMLDOMDocument> document;
    EXPECT_EQ(kConnectionFailed, GetMessageLimit(soap, document));
    const std::wstring description = TakeErrorDescription();
    const std::wstring prefix = L"The connection to the web service failed in ";
    ASSERT_EQ(0u, description.find(prefix)) << Narrow(description);
    const std::wstring::size_type colon = description.find(L": ", prefix.size());
    ASSERT_NE(std::wstring::npos, colon);
    const std::wstring call = description.substr(prefix.size(), colon - prefix.size());
    EXPECT_TRUE(call == L"open" || call == L"send") << Narrow(call);
    EXPECT_GT(description.size(), colon + 2) << "the platform's or the system's text of the failure";
    EXPECT_EQ(std::wstring::npos, description.find(L"stale"));
}

TEST_F(SoapServiceTest, FailureDescriptionFallsBackToTheHexValue) {
    EXPECT_EQ(L"0x8FFF1234", CXmlHttpRequest::FailureDescription(static_cast<HRESULT>(0x8FFF1234)));
    EXPECT_FALSE(CXmlHttpRequest::FailureDescription(E_OUTOFMEMORY).empty());
}

TEST_F(SoapServiceTest, ExecuteOrRaiseRaisesTheFailureAgainInTheCaller) {
    LogCapture transport("CSOAPService");
    LogCapture caller("CCallerCategory");
    CSOAPService soap(L"AccountService");
    ASSERT_EQ(S_OK, SignIn(soap, L"fault17"));
    CComPtr<IXMLDOMDocument> document = CXmlUtils::LoadTemplate(kGetMessageLimit);
    EXPECT_EQ(ServiceErrorResult(17), RunMethod("CCallerCategory", "CCaller", "GetMessageLimit", [&] {
                  ExecuteOrRaise(soap, document, L"GetMessageLimit");
              }));
    EXPECT_EQ(L"The message text holds characters that cannot be sent.", TakeErrorDescription());
    EXPECT_TRUE(transport.Contains("ERROR An error occurred.  CSOAPService::Execute\n"));
    EXPECT_TRUE(caller.Contains("ERROR An error occurred.  CCaller::GetMessageLimit\n"));

    ASSERT_EQ(S_OK, SignIn(soap, L"test"));
    document = CXmlUtils::LoadTemplate(kGetMessageLimit);
    EXPECT_EQ(S_OK, Raised([&] { ExecuteOrRaise(soap, document, L"GetMessageLimit"); }));
    EXPECT_EQ(100, CXmlUtils::GetElementLong(document, L"GetMessageLimitResult"));
}

// --- the process-wide end points ----------------------------------------------------------

TEST_F(SoapServiceTest, EndPointsAreReadAndWrittenUnderALock) {
    const std::wstring first(400, L'a');
    const std::wstring second(3, L'b');
    std::atomic<bool> stop{false};
    std::atomic<int> torn{0};
    std::thread writer([&] {
        for (int i = 0; i < 20000; ++i) CSOAPService::SetSoapEndPoints((i % 2 ? first : second).c_str(), L"m");
        stop = true;
    });
    std::thread reader([&] {
        CSOAPService soap(L"E");
        while (!stop) {
            const std::wstring address = soap.EndPointAddress();
            if (address != first + L"E.asmx" && address != second + L"E.asmx" &&
                address != standin::ServiceUrl() + L"E.asmx")
                ++torn;
        }
    });
    writer.join();
    reader.join();
    EXPECT_EQ(0, torn.load());
}

}  // namespace
