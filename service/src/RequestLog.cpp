#include "RequestLog.h"

#include "Database.h"
#include "Schema.h"
#include "SoapResponse.h"

namespace {

const char* const kColumns = "seq, received_at, method, path, end_point, soap_action, operation, content_type, "
                             "request_body, status, response_body";

LoggedRequest readEntry(const Statement& st)
{
    LoggedRequest e;
    e.seq = st.integer(0);
    e.receivedAt = st.integer(1);
    e.method = st.text(2);
    e.path = st.text(3);
    e.endPoint = st.text(4);
    e.soapAction = st.text(5);
    e.operation = st.text(6);
    e.contentType = st.text(7);
    e.body = st.text(8);
    e.status = static_cast<int>(st.integer(9));
    e.response = st.text(10);
    return e;
}

void appendEntry(pugi::xml_node parent, const LoggedRequest& e)
{
    using requestlog::xmlSafe;
    pugi::xml_node node = parent.append_child("request");
    soap::appendText(node, "seq", std::to_string(e.seq));
    soap::appendText(node, "receivedAt", datetime::toWire(e.receivedAt));
    soap::appendText(node, "method", xmlSafe(e.method));
    soap::appendText(node, "path", xmlSafe(e.path));
    soap::appendText(node, "endPoint", xmlSafe(e.endPoint));
    soap::appendText(node, "soapAction", xmlSafe(e.soapAction));
    soap::appendText(node, "operation", xmlSafe(e.operation));
    soap::appendText(node, "contentType", xmlSafe(e.contentType));
    soap::appendText(node, "status", std::to_string(e.status));
    soap::appendText(node, "body", xmlSafe(e.body));
    soap::appendText(node, "response", xmlSafe(e.response));
}

} // namespace

std::int64_t RequestLog::record(const LoggedRequest& e)
{
    db_.prepare("INSERT INTO request_log(received_at, method, path, end_point, soap_action, operation, "
                "content_type, request_body, status, response_body) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
        .bindAll(e.receivedAt, e.method, e.path, e.endPoint, e.soapAction, e.operation, e.contentType, e.body,
                 e.status, e.response)
        .run();
    return db_.lastInsertId();
}

std::vector<LoggedRequest> RequestLog::entries(const RequestFilter& filter) const
{
    std::string sql = std::string("SELECT ") + kColumns + " FROM request_log WHERE seq > ?";
    if (filter.endPoint)
        sql += " AND end_point = ?";
    if (filter.operation)
        sql += " AND operation = ?";
    sql += " ORDER BY seq";
    auto st = db_.prepare(sql);
    int index = 1;
    st.bind(index, filter.afterSeq);
    if (filter.endPoint)
        st.bind(++index, *filter.endPoint);
    if (filter.operation)
        st.bind(++index, *filter.operation);
    std::vector<LoggedRequest> result;
    while (st.step())
        result.push_back(readEntry(st));
    return result;
}

std::optional<LoggedRequest> RequestLog::last() const
{
    auto st = db_.prepare(std::string("SELECT ") + kColumns + " FROM request_log ORDER BY seq DESC LIMIT 1");
    if (!st.step())
        return std::nullopt;
    return readEntry(st);
}

void RequestLog::clear()
{
    schema::clearRequestLog(db_);
}

namespace requestlog {

std::string toXml(const std::vector<LoggedRequest>& entries)
{
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("requests");
    root.append_attribute("count") = static_cast<unsigned long long>(entries.size());
    for (const LoggedRequest& e : entries)
        appendEntry(root, e);
    return soap::serialise(document);
}

std::string toXml(const LoggedRequest& entry)
{
    pugi::xml_document document;
    appendEntry(document, entry);
    return soap::serialise(document);
}

std::string xmlSafe(const std::string& text)
{
    static const std::string replacement = "\xEF\xBF\xBD";
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            bool allowed = c >= 0x20 || c == '\t' || c == '\n' || c == '\r';
            out += allowed ? std::string(1, static_cast<char>(c)) : replacement;
            ++i;
            continue;
        }
        size_t length = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
        bool valid = length != 0 && i + length <= text.size();
        unsigned long codePoint = length == 2 ? (c & 0x1F) : length == 3 ? (c & 0x0F) : (c & 0x07);
        for (size_t k = 1; valid && k < length; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        static const unsigned long minimum[] = {0, 0, 0x80, 0x800, 0x10000};
        valid = valid && codePoint >= minimum[length] && codePoint <= 0x10FFFF &&
                !(codePoint >= 0xD800 && codePoint <= 0xDFFF) && codePoint != 0xFFFE && codePoint != 0xFFFF;
        if (valid) {
            out.append(text, i, length);
            i += length;
        } else {
            out += replacement;
            ++i;
        }
    }
    return out;
}

} // namespace requestlog
