#pragma once

#include <log4cpp/Layout.hh>

namespace log4cpp {

// "<seconds since the epoch> <PRIORITY> <category> <ndc>: <message>\n"
class BasicLayout : public Layout {
public:
    std::string format(const LoggingEvent& event) override;
};

} // namespace log4cpp
