#pragma once
// The log of every request the service received, kept in the database so that tests can read exactly
// what a client sent.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "DateTime.h"

class Database;

struct LoggedRequest {
    std::int64_t seq = 0;  // 1, 2, ... in order of arrival; restarts when the log is cleared
    datetime::Millis receivedAt = 0;
    std::string method;
    std::string path;
    std::string endPoint;    // "SendService" ...; empty for a path that is no end point
    std::string soapAction;  // the header as received
    std::string operation;   // local name of the body's first element; empty when unreadable
    std::string contentType;
    std::string body;
    int status = 0;
    std::string response;
};

struct RequestFilter {
    std::optional<std::string> endPoint;
    std::optional<std::string> operation;
    std::int64_t afterSeq = 0;  // only entries with a greater sequence number
};

class RequestLog {
public:
    explicit RequestLog(Database& db) : db_(db) {}

    // Stores the entry; returns its sequence number.
    std::int64_t record(const LoggedRequest& entry);
    std::vector<LoggedRequest> entries(const RequestFilter& filter = {}) const;
    std::optional<LoggedRequest> last() const;
    void clear();

private:
    Database& db_;
};

namespace requestlog {

// <requests count="n"><request>...</request>...</requests>
std::string toXml(const std::vector<LoggedRequest>& entries);
// <request><seq/><receivedAt/><method/><path/><endPoint/><soapAction/><operation/><contentType/><status/>
// <body/><response/></request>, body and response as escaped text.
std::string toXml(const LoggedRequest& entry);

// Replaces bytes that are not valid UTF-8, and control characters that XML cannot carry, by U+FFFD.
std::string xmlSafe(const std::string& text);

} // namespace requestlog
