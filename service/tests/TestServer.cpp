#include "TestServer.h"

#include "SoapRequest.h"

const User kTest{"test", "test", "TEST01"};
const User kOther{"other", "other", "OTHER01"};
const User kPlain{"plain", "plain", "PLAIN01"};
const User kLowLimit{"lowlimit", "lowlimit", "LOW01"};
const User kNotLive{"notlive", "notlive", "DEAD01"};
const User kNoSub{"nosub", "nosub", "NOSUB01"};
const User kDemo{"demo", "demo", "DEMO01"};

namespace {
const std::string kNamespace = "http://com.tarvock/messenger/";
}

std::string escapeXml(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string contactXml(const std::string& element, const std::string& id, const std::string& quickName,
                       const std::string& mobile, const std::string& type)
{
    return "<" + element + "><ID>" + escapeXml(id) + "</ID><QuickName>" + escapeXml(quickName) +
           "</QuickName><FirstName>First</FirstName><LastName>Last</LastName><TelephoneNumber/>"
           "<MobileNumber>" + escapeXml(mobile) + "</MobileNumber><StreetAddress1>1 High Street</StreetAddress1>"
           "<StreetAddress2/><Town>Leeds</Town><County/><Country>United Kingdom</Country><Postcode>LS1 1AA</Postcode>"
           "<EmailAddress>x@example.com</EmailAddress><ContactType>" + type + "</ContactType></" + element + ">";
}

SoapCall::SoapCall(std::string endPoint, std::string operation)
    : endPoint_(std::move(endPoint)), operation_(std::move(operation)), action_(kNamespace + operation_)
{
}

SoapCall& SoapCall::as(const User& user)
{
    return arg("Username", user.username).arg("Password", user.password).arg("Account", user.account);
}

SoapCall& SoapCall::arg(const std::string& name, const std::string& value)
{
    content_ += "<" + name + ">" + escapeXml(value) + "</" + name + ">";
    return *this;
}

SoapCall& SoapCall::list(const std::string& name, const std::vector<std::string>& items)
{
    content_ += "<" + name + ">";
    for (const std::string& item : items)
        content_ += "<string>" + escapeXml(item) + "</string>";
    content_ += "</" + name + ">";
    return *this;
}

SoapCall& SoapCall::xml(const std::string& fragment)
{
    content_ += fragment;
    return *this;
}

SoapCall& SoapCall::action(const std::string& soapAction)
{
    action_ = soapAction;
    return *this;
}

std::string SoapCall::path() const
{
    return "/secure/messenger/soap/" + endPoint_ + ".asmx";
}

std::string SoapCall::envelope() const
{
    return "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><" + operation_ +
           " xmlns=\"" + kNamespace + "\">" + content_ + "</" + operation_ + "></soap:Body></soap:Envelope>";
}

Reply::Reply(int status, std::string body, std::string operation)
    : status_(status), body_(std::move(body)), operation_(std::move(operation)),
      document_(std::make_shared<pugi::xml_document>())
{
    parsed_ = static_cast<bool>(document_->load_string(body_.c_str()));
}

pugi::xml_node Reply::find(const char* localName) const
{
    return xml::descendantByLocalName(*document_, localName);
}

pugi::xml_node Reply::result() const
{
    return find((operation_ + "Result").c_str());
}

std::string Reply::resultText() const
{
    return xml::textOf(result());
}

std::vector<std::string> Reply::resultItems() const
{
    std::vector<std::string> items;
    for (pugi::xml_node child : result().children())
        items.push_back(xml::textOf(child));
    return items;
}

std::string Reply::field(const pugi::xml_node& element, const char* name)
{
    return xml::textOf(element.child(name));
}

bool Reply::isFault() const
{
    return static_cast<bool>(find("Fault"));
}

bool Reply::hasDetail() const
{
    return static_cast<bool>(find("detail"));
}

std::string Reply::faultCode() const
{
    return xml::textOf(find("faultcode"));
}

std::string Reply::faultString() const
{
    return xml::textOf(find("faultstring"));
}

std::string Reply::errorMessage() const
{
    return xml::textOf(find("detail").child("ErrorMessage"));
}

std::string Reply::errorCode() const
{
    return xml::textOf(find("detail").child("ErrorCode"));
}

ServerOptions StandinTest::defaultOptions()
{
    ServerOptions options;
    options.port = 0;
    options.database = ":memory:";
    options.settings.versionText = "9.8.7.6";
    options.settings.slowDelay = std::chrono::milliseconds(2000);
    return options;
}

void StandinTest::SetUp()
{
    restart(defaultOptions());
}

void StandinTest::restart(const ServerOptions& options)
{
    client_.reset();
    server_.reset();
    server_ = std::make_unique<StandinServer>(options);
    port_ = server_->start();
    client_ = std::make_unique<httplib::Client>(StandinServer::kHost, port_);
    client_->set_read_timeout(10, 0);
}

void StandinTest::TearDown()
{
    client_.reset();
    server_.reset();
}

Reply StandinTest::post(const SoapCall& call)
{
    httplib::Headers headers{{"SOAPAction", call.soapAction()}};
    auto res = client_->Post(call.path().c_str(), headers, call.envelope(), "text/xml;charset=utf-8");
    if (!res)
        throw std::runtime_error("no answer from the server");
    return Reply(res->status, res->body, call.operation());
}

Reply StandinTest::postRaw(const std::string& path, const std::string& soapAction, const std::string& body)
{
    httplib::Headers headers{{"SOAPAction", soapAction}};
    auto res = client_->Post(path.c_str(), headers, body, "text/xml;charset=utf-8");
    if (!res)
        throw std::runtime_error("no answer from the server");
    return Reply(res->status, res->body, "");
}

void StandinTest::expectFault(const Reply& reply, int code)
{
    EXPECT_EQ(500, reply.status()) << reply.body();
    EXPECT_TRUE(reply.isFault()) << reply.body();
    EXPECT_EQ(std::to_string(code), reply.errorCode()) << reply.body();
    EXPECT_FALSE(reply.errorMessage().empty()) << reply.body();
}

void StandinTest::expectOk(const Reply& reply)
{
    EXPECT_EQ(200, reply.status()) << reply.body();
    EXPECT_FALSE(reply.isFault()) << reply.body();
}
