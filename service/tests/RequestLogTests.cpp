#include "TestServer.h"

#include "RequestLog.h"
#include "Store.h"

namespace {

pugi::xml_node requests(pugi::xml_document& doc, httplib::Client& client, const std::string& query = "")
{
    auto res = client.Get(("/standin/requests" + query).c_str());
    EXPECT_TRUE(res);
    EXPECT_EQ(200, res->status);
    EXPECT_EQ("text/xml; charset=utf-8", res->get_header_value("Content-Type"));
    EXPECT_TRUE(doc.load_string(res->body.c_str())) << res->body;
    return doc.child("requests");
}

std::string text(const pugi::xml_node& node, const char* name)
{
    return node.child(name).text().as_string();
}

} // namespace

using RequestLogTest = StandinTest;

TEST_F(RequestLogTest, RecordsEndPointActionBodyAndStatus)
{
    SoapCall call = SoapCall("SendService", "SendMessage").as(kTest).arg("recipient", "447700900301")
                        .arg("body", "Hello").arg("type", "Text");
    Reply reply = post(call);
    expectOk(reply);

    pugi::xml_document doc;
    pugi::xml_node root = requests(doc, client());
    EXPECT_EQ(1, root.attribute("count").as_int());
    pugi::xml_node entry = root.child("request");
    EXPECT_EQ("1", text(entry, "seq"));
    EXPECT_EQ("POST", text(entry, "method"));
    EXPECT_EQ("/secure/messenger/soap/SendService.asmx", text(entry, "path"));
    EXPECT_EQ("SendService", text(entry, "endPoint"));
    EXPECT_EQ("http://com.tarvock/messenger/SendMessage", text(entry, "soapAction"));
    EXPECT_EQ("SendMessage", text(entry, "operation"));
    EXPECT_EQ("text/xml;charset=utf-8", text(entry, "contentType"));
    EXPECT_EQ("200", text(entry, "status"));
    EXPECT_EQ(call.envelope(), text(entry, "body"));
    EXPECT_EQ(reply.body(), text(entry, "response"));
    EXPECT_EQ(33u, text(entry, "receivedAt").size());
}

TEST_F(RequestLogTest, LastGivesTheNewestEntryAnd404WhenEmpty)
{
    auto empty = client().Get("/standin/requests/last");
    ASSERT_TRUE(empty);
    EXPECT_EQ(404, empty->status);

    post(SoapCall("BrindlepostService", "GetCurrentVersion"));
    post(SoapCall("AccountService", "GetMessageLimit").as(kTest));
    auto res = client().Get("/standin/requests/last");
    ASSERT_TRUE(res);
    EXPECT_EQ(200, res->status);
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(res->body.c_str()));
    EXPECT_EQ("2", text(doc.child("request"), "seq"));
    EXPECT_EQ("GetMessageLimit", text(doc.child("request"), "operation"));
}

TEST_F(RequestLogTest, RecordsFaultsAndUnknownPaths)
{
    post(SoapCall("AccountService", "GetMessageLimit").as({"test", "bad", "TEST01"}));
    client().Post("/elsewhere", "x", "text/plain");
    client().Get("/secure/messenger/soap/SendService.asmx");

    pugi::xml_document doc;
    pugi::xml_node root = requests(doc, client());
    ASSERT_EQ(3, root.attribute("count").as_int());
    auto entries = root.children("request").begin();
    EXPECT_EQ("500", text(*entries, "status"));
    ++entries;
    EXPECT_EQ("404", text(*entries, "status"));
    EXPECT_EQ("/elsewhere", text(*entries, "path"));
    EXPECT_EQ("", text(*entries, "endPoint"));
    ++entries;
    EXPECT_EQ("GET", text(*entries, "method"));
    EXPECT_EQ("404", text(*entries, "status"));
}

TEST_F(RequestLogTest, FiltersByEndPointOperationAndSequence)
{
    post(SoapCall("BrindlepostService", "GetCurrentVersion"));
    post(SoapCall("AccountService", "GetMessageLimit").as(kTest));
    post(SoapCall("AccountService", "GetAccountState").as(kTest));

    pugi::xml_document a, b, c;
    EXPECT_EQ(2, requests(a, client(), "?endpoint=AccountService").attribute("count").as_int());
    pugi::xml_node byOperation = requests(b, client(), "?operation=GetAccountState");
    EXPECT_EQ(1, byOperation.attribute("count").as_int());
    EXPECT_EQ("3", text(byOperation.child("request"), "seq"));
    EXPECT_EQ(1, requests(c, client(), "?since=2").attribute("count").as_int());

    auto bad = client().Get("/standin/requests?since=x");
    ASSERT_TRUE(bad);
    EXPECT_EQ(400, bad->status);
}

TEST_F(RequestLogTest, ReadingTheLogIsNotLogged)
{
    client().Get("/standin/requests");
    client().Get("/standin/requests/last");
    pugi::xml_document doc;
    EXPECT_EQ(0, requests(doc, client()).attribute("count").as_int());
}

TEST_F(RequestLogTest, ResetClearsTheLogAndRestoresFixtures)
{
    expectOk(post(SoapCall("ContactService", "DeleteContact").as(kTest).arg("id", "1001")));
    EXPECT_FALSE(post(SoapCall("ContactService", "GetContact").as(kTest).arg("id", "1001")).result());

    auto res = client().Post("/standin/reset", "", "text/plain");
    ASSERT_TRUE(res);
    EXPECT_EQ(200, res->status);

    pugi::xml_document doc;
    EXPECT_EQ(0, requests(doc, client()).attribute("count").as_int());
    EXPECT_TRUE(post(SoapCall("ContactService", "GetContact").as(kTest).arg("id", "1001")).result());
    auto last = client().Get("/standin/requests/last");
    pugi::xml_document lastDoc;
    lastDoc.load_string(last->body.c_str());
    EXPECT_EQ("1", text(lastDoc.child("request"), "seq"));
}

TEST_F(RequestLogTest, KeepsNonAsciiTextAndReplacesInvalidBytes)
{
    SoapCall call = SoapCall("SendService", "SendMessage").as(kTest).arg("recipient", "447700900301")
                        .arg("body", "Caf\xC3\xA9 \xE2\x82\xAC").arg("type", "Text");
    expectOk(post(call));
    client().Post("/elsewhere", std::string("bad \xFF\x01 bytes"), "text/plain");

    pugi::xml_document doc;
    pugi::xml_node root = requests(doc, client());
    auto entries = root.children("request").begin();
    EXPECT_EQ(call.envelope(), text(*entries, "body"));
    ++entries;
    EXPECT_EQ("bad \xEF\xBF\xBD\xEF\xBF\xBD bytes", text(*entries, "body"));
}

TEST_F(RequestLogTest, IsKeptInTheDatabase)
{
    post(SoapCall("BrindlepostService", "GetCurrentVersion"));
    std::lock_guard<std::mutex> lock(server().store().mutex());
    auto entries = server().store().requestLog().entries();
    ASSERT_EQ(1u, entries.size());
    EXPECT_EQ("GetCurrentVersion", entries[0].operation);
    EXPECT_EQ("BrindlepostService", entries[0].endPoint);
    EXPECT_EQ(200, entries[0].status);
}

TEST(RequestLogXml, XmlSafeText)
{
    EXPECT_EQ("plain \t\r\n", requestlog::xmlSafe("plain \t\r\n"));
    EXPECT_EQ("\xC3\xA9\xF0\x9F\x98\x80", requestlog::xmlSafe("\xC3\xA9\xF0\x9F\x98\x80"));
    EXPECT_EQ("\xEF\xBF\xBD", requestlog::xmlSafe("\x01"));
    EXPECT_EQ("\xEF\xBF\xBD", requestlog::xmlSafe("\xC0"));
    EXPECT_EQ("\xEF\xBF\xBD\xEF\xBF\xBD", requestlog::xmlSafe("\xC0\x80"));  // overlong
    EXPECT_EQ("\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD", requestlog::xmlSafe("\xED\xA0\x80"));  // surrogate
}
