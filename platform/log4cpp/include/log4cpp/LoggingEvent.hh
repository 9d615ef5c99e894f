#pragma once

#include <log4cpp/Priority.hh>

#include <chrono>
#include <string>

namespace log4cpp {

// Everything a layout needs to render one message.
struct LoggingEvent {
    typedef std::chrono::system_clock Clock;

    LoggingEvent(const std::string& categoryName, const std::string& message,
                 const std::string& ndc, Priority::Value priority);

    std::string categoryName;
    std::string message;
    std::string ndc;
    Priority::Value priority;
    std::string threadName;  // id of the thread that logged
    Clock::time_point timeStamp;

    // When the library was loaded; the reference for "%r".
    static Clock::time_point startTime();
};

} // namespace log4cpp
