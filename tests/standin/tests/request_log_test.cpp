// The stand-in test support itself: the addresses from the environment, the request log read
// over HTTP, its filters and the reset.
#include <windows.h>

#include <gtest/gtest.h>

#include "StandinHttp.h"
#include "StandinTest.h"

namespace {

using standin::LoggedRequest;
using standin::RequestLog;
using standin::StandinError;

const wchar_t kNamespace[] = L"http://com.tarvock/messenger/";

std::wstring Envelope(const std::wstring& operation, const std::wstring& user) {
    return L"<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><" + operation +
           L" xmlns=\"" + kNamespace + L"\"><Username>" + user + L"</Username><Password>" + user +
           L"</Password><Account>TEST01</Account></" + operation + L"></soap:Body></soap:Envelope>";
}

standin::HttpAnswer PostOperation(const std::wstring& endPoint, const std::wstring& operation,
                                  const std::wstring& user = L"test") {
    return standin::HttpPost(standin::ServiceUrl() + endPoint + L".asmx", Envelope(operation, user),
                             kNamespace + operation);
}

class RequestLogTest : public standin::StandinTest {};

TEST_F(RequestLogTest, AddressesComeFromTheEnvironment) {
    const std::wstring base = standin::ServerBase();
    const std::wstring url = standin::ServiceUrl();
    EXPECT_EQ(0u, base.find(L"http://127.0.0.1:"));
    EXPECT_EQ(base + L"/secure/messenger/soap/", url);
    EXPECT_EQ(url, standin::RequireServiceUrl());
}

TEST_F(RequestLogTest, ResetLeavesAnEmptyLog) {
    EXPECT_TRUE(Log().Empty());
    EXPECT_THROW(Log().Last(), StandinError);
}

TEST_F(RequestLogTest, LastRequestCarriesWhatWasSent) {
    const standin::HttpAnswer answer = PostOperation(L"AccountService", L"GetMessageLimit");
    ASSERT_EQ(200, answer.status);
    EXPECT_NE(std::wstring::npos, answer.text.find(L"<GetMessageLimitResult>100</GetMessageLimitResult>"));

    const LoggedRequest last = Log().Last();
    EXPECT_EQ(1, last.seq);
    EXPECT_EQ(L"POST", last.method);
    EXPECT_EQ(L"/secure/messenger/soap/AccountService.asmx", last.path);
    EXPECT_EQ(L"AccountService", last.endpoint);
    EXPECT_EQ(L"http://com.tarvock/messenger/GetMessageLimit", last.soapAction);
    EXPECT_EQ(L"GetMessageLimit", last.operation);
    EXPECT_EQ(L"text/xml;charset=utf-8", last.contentType);
    EXPECT_EQ(200, last.status);
    EXPECT_EQ(Envelope(L"GetMessageLimit", L"test"), last.body);
    EXPECT_EQ(answer.text, last.response);
}

TEST_F(RequestLogTest, EveryReadSeesTheNewestRequest) {
    PostOperation(L"AccountService", L"GetMessageLimit");
    EXPECT_EQ(L"GetMessageLimit", Log().Last().operation);
    PostOperation(L"AccountService", L"GetAccountFeatures", L"fault25");
    const LoggedRequest last = Log().Last();
    EXPECT_EQ(L"GetAccountFeatures", last.operation);
    EXPECT_EQ(500, last.status);
    EXPECT_EQ(2, last.seq);
}

TEST_F(RequestLogTest, FiltersByOperationAndEndPoint) {
    PostOperation(L"AccountService", L"GetMessageLimit");
    PostOperation(L"AccountService", L"GetAccountFeatures");
    PostOperation(L"AccountService", L"GetMessageLimit", L"fault503");
    PostOperation(L"InboxService2", L"GetMessages");

    EXPECT_EQ(4u, Log().All().size());
    const std::vector<LoggedRequest> limits = Log().ByOperation(L"GetMessageLimit");
    ASSERT_EQ(2u, limits.size());
    EXPECT_EQ(1, limits[0].seq);
    EXPECT_EQ(200, limits[0].status);
    EXPECT_EQ(3, limits[1].seq);
    EXPECT_EQ(503, limits[1].status);
    EXPECT_EQ(1u, Log().ByEndpoint(L"InboxService2").size());
    EXPECT_TRUE(Log().ByOperation(L"SendMessage").empty());
}

TEST_F(RequestLogTest, ResetStartsTheNumberingAgain) {
    PostOperation(L"AccountService", L"GetMessageLimit");
    PostOperation(L"AccountService", L"GetMessageLimit");
    Log().Reset();
    EXPECT_TRUE(Log().Empty());
    PostOperation(L"AccountService", L"GetMessageLimit");
    EXPECT_EQ(1, Log().Last().seq);
}

class RequestLogParsing : public testsupport::ComTest {};

TEST_F(RequestLogParsing, ReadsEveryFieldAndUnescapesTheBody) {
    const LoggedRequest request = RequestLog::ParseRequest(
        L"<?xml version=\"1.0\"?><request><seq>7</seq><receivedAt>2024-03-14T09:15:00.0000000+00:00</receivedAt>"
        L"<method>POST</method><path>/p</path><endPoint>SendService</endPoint><soapAction>a</soapAction>"
        L"<operation>SendMessage</operation><contentType>text/xml</contentType><status>500</status>"
        L"<body>&lt;x&gt;1 &amp; 2&lt;/x&gt;</body><response>r</response></request>");
    EXPECT_EQ(7, request.seq);
    EXPECT_EQ(L"2024-03-14T09:15:00.0000000+00:00", request.receivedAt);
    EXPECT_EQ(L"SendService", request.endpoint);
    EXPECT_EQ(L"SendMessage", request.operation);
    EXPECT_EQ(500, request.status);
    EXPECT_EQ(L"<x>1 & 2</x>", request.body);
    EXPECT_EQ(L"r", request.response);
}

TEST_F(RequestLogParsing, RefusesAnswersThatAreNoLog) {
    EXPECT_THROW(RequestLog::ParseRequest(L"<requests count=\"0\"/>"), StandinError);
    EXPECT_THROW(RequestLog::ParseRequests(L"not xml"), StandinError);
    EXPECT_TRUE(RequestLog::ParseRequests(L"<requests count=\"0\"/>").empty());
}

}  // namespace
