// The stand-in's log of the requests it received, read over HTTP (GET /standin/requests/last,
// GET /standin/requests?operation=...) and parsed with the DOM, and its reset (POST
// /standin/reset), so tests can assert exactly what the SDK sent.
#pragma once

#include <string>
#include <vector>

namespace standin {

// One logged request, field by field as the stand-in serves them.
struct LoggedRequest {
    long seq = 0;
    std::wstring receivedAt;
    std::wstring method;
    std::wstring path;
    std::wstring endpoint;    // the end-point name, empty for a path that is none
    std::wstring soapAction;  // as received
    std::wstring operation;   // local name of the body's first element
    std::wstring contentType;
    long status = 0;          // the status the stand-in answered with
    std::wstring body;        // the request text
    std::wstring response;    // the answer text
};

class RequestLog {
public:
    // The stand-in at base (default: TARVOCK_STANDIN_BASE).
    RequestLog();
    explicit RequestLog(std::wstring base);

    // The newest request; throws StandinError when the log is empty.
    LoggedRequest Last() const;
    // Whether any request was logged.
    bool Empty() const;
    // Every request in arrival order, or those of one operation or end point.
    std::vector<LoggedRequest> All() const;
    std::vector<LoggedRequest> ByOperation(const std::wstring& operation) const;
    std::vector<LoggedRequest> ByEndpoint(const std::wstring& endpoint) const;
    // Clears the log and restores the fixtures.
    void Reset() const;

    // Parsers of the stand-in's answers (public for the support library's own tests).
    static LoggedRequest ParseRequest(const std::wstring& xml);
    static std::vector<LoggedRequest> ParseRequests(const std::wstring& xml);

private:
    std::vector<LoggedRequest> Query(const std::wstring& query) const;

    std::wstring m_base;
};

}  // namespace standin
