// Captures one log4cpp category's output for the length of a test: the category's priority is
// DEBUG while the capture lives and its earlier priority afterwards.
#pragma once

#include <log4cpp/Category.hh>
#include <log4cpp/OstreamAppender.hh>

#include <sstream>
#include <string>

namespace testsupport {

class LogCapture {
public:
    // pattern: the layout of each event, "PRIORITY message" lines by default.
    explicit LogCapture(const char* category, const char* pattern = "%p %m%n");
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::string Text() const { return m_stream.str(); }
    bool Contains(const std::string& part) const { return Text().find(part) != std::string::npos; }
    // True when one whole line of the capture is line.
    bool Has(const std::string& line) const { return Text().find(line + "\n") != std::string::npos; }

private:
    log4cpp::Category& m_category;
    log4cpp::Priority::Value m_priority;
    std::ostringstream m_stream;
    log4cpp::OstreamAppender m_appender{"capture", &m_stream};
};

}  // namespace testsupport
