#include "TestServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include "SoapRequest.h"

namespace {

const std::string kBase = "/secure/messenger/soap/";
const std::string kNs = "http://com.tarvock/messenger/";

std::string envelope(const std::string& inner)
{
    return "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>" + inner +
           "</soap:Body></soap:Envelope>";
}

// True when the document holds whitespace-only text or comments anywhere.
bool hasFormatting(const pugi::xml_node& node)
{
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_comment)
            return true;
        if (child.type() == pugi::node_pcdata &&
            std::string(child.value()).find_first_not_of(" \t\r\n") == std::string::npos)
            return true;
        if (hasFormatting(child))
            return true;
    }
    return false;
}

void expectFaultWithoutDetail(const Reply& reply)
{
    EXPECT_EQ(500, reply.status()) << reply.body();
    EXPECT_TRUE(reply.isFault()) << reply.body();
    EXPECT_FALSE(reply.hasDetail()) << reply.body();
    EXPECT_FALSE(reply.faultString().empty());
}

} // namespace

using Transport = StandinTest;

TEST_F(Transport, UnknownPathsAre404)
{
    for (const std::string path : {kBase + "Nope.asmx", kBase + "SendService", kBase + "sendservice.asmx",
                                   std::string("/SendService.asmx"), std::string("/"),
                                   kBase + "SendService.asmx/extra"}) {
        auto res = client().Post(path.c_str(), SoapCall("SendService", "SendMessage").as(kTest).envelope(),
                                 "text/xml;charset=utf-8");
        ASSERT_TRUE(res);
        EXPECT_EQ(404, res->status) << path;
    }
}

TEST_F(Transport, GetOnAnEndPointIs404)
{
    auto res = client().Get((kBase + "SendService.asmx").c_str());
    ASSERT_TRUE(res);
    EXPECT_EQ(404, res->status);
}

TEST_F(Transport, EveryEndPointAnswersAnUnknownOperationWithAFaultWithoutDetail)
{
    for (const char* endPoint : {"SendService", "InboxService2", "AccountService", "ContactService",
                                 "SignupService", "TestService", "BrindlepostService"}) {
        auto reply = post(SoapCall(endPoint, "Frobnicate").as(kTest));
        expectFaultWithoutDetail(reply);
        EXPECT_EQ("soap:Client", reply.faultCode());
        EXPECT_NE(std::string::npos, reply.faultString().find("Frobnicate")) << endPoint;
    }
}

TEST_F(Transport, AnOperationOfAnotherEndPointIsUnknown)
{
    expectFaultWithoutDetail(post(SoapCall("InboxService2", "SendMessage").as(kTest).arg("recipient", "447700900301")));
    expectFaultWithoutDetail(post(SoapCall("SendService", "GetCurrentVersion")));
}

TEST_F(Transport, AnOperationInAnotherNamespaceIsUnknown)
{
    std::string body = envelope("<GetCurrentVersion xmlns=\"http://example.com/other/\"/>");
    expectFaultWithoutDetail(postRaw(kBase + "BrindlepostService.asmx", kNs + "GetCurrentVersion", body));
}

TEST_F(Transport, MalformedXmlIsAFaultWithoutDetail)
{
    auto reply = postRaw(kBase + "BrindlepostService.asmx", kNs + "GetCurrentVersion", "<soap:Envelope");
    expectFaultWithoutDetail(reply);
    EXPECT_EQ("soap:Client", reply.faultCode());
}

TEST_F(Transport, ADocumentThatIsNoSoapEnvelopeIsAFaultWithoutDetail)
{
    expectFaultWithoutDetail(postRaw(kBase + "BrindlepostService.asmx", kNs + "GetCurrentVersion",
                                     "<Envelope><Body><GetCurrentVersion xmlns=\"" + kNs + "\"/></Body></Envelope>"));
    expectFaultWithoutDetail(postRaw(kBase + "BrindlepostService.asmx", kNs + "GetCurrentVersion", envelope("")));
}

TEST_F(Transport, SoapActionMustNameTheBodysOperation)
{
    expectFaultWithoutDetail(post(SoapCall("BrindlepostService", "GetCurrentVersion").action(kNs + "GetVersion")));
    expectFaultWithoutDetail(post(SoapCall("BrindlepostService", "GetCurrentVersion").action("")));
    expectFaultWithoutDetail(
        post(SoapCall("BrindlepostService", "GetCurrentVersion").action("http://other/GetCurrentVersion")));
}

TEST_F(Transport, AQuotedSoapActionIsAccepted)
{
    expectOk(post(SoapCall("BrindlepostService", "GetCurrentVersion").action("\"" + kNs + "GetCurrentVersion\"")));
}

TEST_F(Transport, ResponseIsACompactUtf8EnvelopeWithUnprefixedResult)
{
    auto res = client().Post((kBase + "AccountService.asmx").c_str(),
                             httplib::Headers{{"SOAPAction", kNs + "GetAccountState"}},
                             SoapCall("AccountService", "GetAccountState").as(kTest).envelope(),
                             "text/xml;charset=utf-8");
    ASSERT_TRUE(res);
    EXPECT_EQ(200, res->status);
    EXPECT_EQ("text/xml; charset=utf-8", res->get_header_value("Content-Type"));
    EXPECT_EQ(0u, res->body.rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>", 0));

    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(res->body.c_str(), pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_comments));
    EXPECT_FALSE(hasFormatting(doc));
    pugi::xml_node envelopeNode = doc.document_element();
    EXPECT_EQ("Envelope", xml::localName(envelopeNode));
    EXPECT_EQ("http://schemas.xmlsoap.org/soap/envelope/", xml::namespaceUri(envelopeNode));
    pugi::xml_node body = xml::childByLocalName(envelopeNode, "Body");
    pugi::xml_node response = body.first_child();
    EXPECT_STREQ("GetAccountStateResponse", response.name());
    EXPECT_EQ(kNs, xml::namespaceUri(response));
    pugi::xml_node result = response.first_child();
    EXPECT_STREQ("GetAccountStateResult", result.name());
    EXPECT_EQ(kNs, xml::namespaceUri(result));
    EXPECT_STREQ("Reference", result.child("Reference").name());
}

TEST_F(Transport, FaultsCarryDetailInNoNamespace)
{
    auto res = client().Post((kBase + "AccountService.asmx").c_str(),
                             httplib::Headers{{"SOAPAction", kNs + "GetMessageLimit"}},
                             SoapCall("AccountService", "GetMessageLimit").as({"test", "wrong", "TEST01"}).envelope(),
                             "text/xml;charset=utf-8");
    ASSERT_TRUE(res);
    EXPECT_EQ(500, res->status);
    EXPECT_EQ("text/xml; charset=utf-8", res->get_header_value("Content-Type"));
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(res->body.c_str()));
    pugi::xml_node fault = xml::descendantByLocalName(doc, "Fault");
    ASSERT_TRUE(fault);
    EXPECT_EQ("http://schemas.xmlsoap.org/soap/envelope/", xml::namespaceUri(fault));
    EXPECT_EQ("soap:Server", xml::textOf(fault.child("faultcode")));
    pugi::xml_node detail = fault.child("detail");
    ASSERT_TRUE(detail);
    EXPECT_EQ("", xml::namespaceUri(detail.child("ErrorMessage")));
    EXPECT_EQ("", xml::namespaceUri(detail.child("ErrorCode")));
    EXPECT_EQ("2", xml::textOf(detail.child("ErrorCode")));
    EXPECT_EQ(xml::textOf(fault.child("faultstring")), xml::textOf(detail.child("ErrorMessage")));
}

TEST_F(Transport, WrongCredentialsGiveAuthenticationFailed)
{
    expectFault(post(SoapCall("AccountService", "GetMessageLimit").as({"test", "wrong", "TEST01"})), 2);
    expectFault(post(SoapCall("AccountService", "GetMessageLimit").as({"test", "test", "OTHER01"})), 2);
    expectFault(post(SoapCall("AccountService", "GetMessageLimit").as({"nobody", "test", "TEST01"})), 2);
    expectFault(post(SoapCall("AccountService", "GetMessageLimit").as({"", "", ""})), 2);
    expectFault(post(SoapCall("AccountService", "GetMessageLimit").as({"test", "TEST", "TEST01"})), 2);
}

TEST_F(Transport, UserNameAndAccountIgnoreLetterCase)
{
    expectOk(post(SoapCall("AccountService", "GetMessageLimit").as({"TEST", "test", "test01"})));
}

TEST_F(Transport, AMissingCredentialElementGivesMissingHeader)
{
    expectFault(post(SoapCall("AccountService", "GetMessageLimit").arg("Password", "test").arg("Account", "TEST01")), 3);
    expectFault(post(SoapCall("AccountService", "GetMessageLimit").arg("Username", "test").arg("Account", "TEST01")), 3);
    expectFault(post(SoapCall("AccountService", "GetMessageLimit").arg("Username", "test").arg("Password", "test")), 3);
}

TEST_F(Transport, AnAccountThatIsNotLiveIsRefused)
{
    expectFault(post(SoapCall("AccountService", "GetMessageLimit").as(kNotLive)), 5);
    expectFault(post(SoapCall("SendService", "SendMessage").as(kNotLive).arg("recipient", "447700900301")
                         .arg("body", "x").arg("type", "Text")), 5);
}

TEST_F(Transport, ArgumentsAreFoundByLocalNameWhateverThePrefix)
{
    std::string body = envelope("<m:GetMessageLimit xmlns:m=\"" + kNs + "\"><m:Username>test</m:Username>"
                                "<m:Password>test</m:Password><m:Account>TEST01</m:Account></m:GetMessageLimit>");
    auto reply = postRaw(kBase + "AccountService.asmx", kNs + "GetMessageLimit", body);
    EXPECT_EQ(200, reply.status()) << reply.body();
    EXPECT_NE(std::string::npos, reply.body().find("<GetMessageLimitResult>100</GetMessageLimitResult>"));
}

TEST_F(Transport, IndentedRequestsAreRead)
{
    std::string body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                       "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">\n"
                       "  <soap:Body>\n    <GetMessageLimit xmlns=\"" + kNs + "\">\n"
                       "      <Username>test</Username>\n      <Password>test</Password>\n"
                       "      <Account>TEST01</Account>\n    </GetMessageLimit>\n  </soap:Body>\n</soap:Envelope>\n";
    auto reply = postRaw(kBase + "AccountService.asmx", kNs + "GetMessageLimit", body);
    EXPECT_EQ(200, reply.status()) << reply.body();
}

TEST_F(Transport, ASoapHeaderBeforeTheBodyIsAllowed)
{
    std::string body = "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Header/>"
                       "<soap:Body><GetCurrentVersion xmlns=\"" + kNs + "\"/></soap:Body></soap:Envelope>";
    auto reply = postRaw(kBase + "BrindlepostService.asmx", kNs + "GetCurrentVersion", body);
    EXPECT_EQ(200, reply.status()) << reply.body();
}

namespace {

// One keep-alive connection written to and read from directly: each request goes out in one
// write, and the answer is read up to its Content-Length, as a client that waits for the whole
// answer before it sends anything else (and so acknowledges late) would.
class RawConnection {
public:
    explicit RawConnection(int port)
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        int yes = 1;
        ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~RawConnection() { ::close(fd_); }
    bool connected() const { return connected_; }

    // Sends one POST and returns the answer's status line; empty when the connection failed.
    std::string exchange(const SoapCall& call)
    {
        const std::string body = call.envelope();
        const std::string request = "POST " + call.path() + " HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                                    "Content-Type: text/xml;charset=utf-8\r\nSOAPAction: " + call.soapAction() +
                                    "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
        if (::send(fd_, request.data(), request.size(), 0) != static_cast<ssize_t>(request.size()))
            return "";
        std::string answer;
        char buffer[4096];
        for (;;) {
            const std::string::size_type end = answer.find("\r\n\r\n");
            if (end != std::string::npos) {
                const std::string::size_type length = answer.find("Content-Length: ");
                const size_t size = length == std::string::npos ? 0 : std::stoul(answer.substr(length + 16));
                if (answer.size() >= end + 4 + size)
                    return answer.substr(0, answer.find("\r\n"));
            }
            const ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
            if (got <= 0)
                return "";
            answer.append(buffer, static_cast<size_t>(got));
        }
    }

private:
    int fd_ = -1;
    bool connected_ = false;
};

} // namespace

// An answer's headers and body are written apart; without TCP_NODELAY the body would wait for the
// client's delayed acknowledgement of the headers (some 40 ms per exchange on loopback).
TEST_F(Transport, AnswersOnAKeptAliveConnectionAreNotHeldBack)
{
    const auto start = std::chrono::steady_clock::now();
    int exchanges = 0;
    for (int connection = 0; connection < 2; ++connection) {
        RawConnection raw(port());
        ASSERT_TRUE(raw.connected());
        for (int i = 0; i < 5; ++i, ++exchanges)
            ASSERT_EQ("HTTP/1.1 200 OK", raw.exchange(SoapCall("AccountService", "GetMessageLimit").as(kTest)));
    }
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    EXPECT_LT(elapsed.count(), 150) << exchanges << " exchanges";
}
