#include <log4cpp/BasicLayout.hh>

#include <chrono>

namespace log4cpp {

std::string BasicLayout::format(const LoggingEvent& event) {
    auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
        event.timeStamp.time_since_epoch());
    return std::to_string(seconds.count()) + " " + Priority::getPriorityName(event.priority) +
           " " + event.categoryName + " " + event.ndc + ": " + event.message + "\n";
}

} // namespace log4cpp
