#pragma once

#include <log4cpp/LoggingEvent.hh>

#include <string>

namespace log4cpp {

// Turns an event into the text an appender writes.
class Layout {
public:
    virtual ~Layout() = default;
    virtual std::string format(const LoggingEvent& event) = 0;
};

} // namespace log4cpp
