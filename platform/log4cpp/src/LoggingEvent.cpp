#include <log4cpp/LoggingEvent.hh>

#ifdef _WIN32
#include <windows.h>
#else
#include <sstream>
#include <thread>
#endif

namespace log4cpp {

namespace {

// Fixes the start time while the program loads; an event logged from an earlier static
// initializer fixes it first, instead of reading a time not yet set.
[[maybe_unused]] const LoggingEvent::Clock::time_point loadTime = LoggingEvent::startTime();

std::string currentThreadName() {
#ifdef _WIN32
    return std::to_string(GetCurrentThreadId());
#else
    std::ostringstream out;
    out << std::this_thread::get_id();
    return out.str();
#endif
}

} // namespace

LoggingEvent::LoggingEvent(const std::string& categoryName, const std::string& message,
                           const std::string& ndc, Priority::Value priority)
    : categoryName(categoryName),
      message(message),
      ndc(ndc),
      priority(priority),
      threadName(currentThreadName()),
      timeStamp(Clock::now()) {}

LoggingEvent::Clock::time_point LoggingEvent::startTime() {
    static const Clock::time_point start = Clock::now();
    return start;
}

} // namespace log4cpp
