#pragma once

#include <string>

// <windows.h> defines ERROR and some builds define DEBUG; keep them out of the enum below.
#pragma push_macro("ERROR")
#pragma push_macro("DEBUG")
#undef ERROR
#undef DEBUG

namespace log4cpp {

// Severity of a logging event. A lower value is more severe.
class Priority {
public:
    typedef int Value;

    enum PriorityLevel {
        EMERG = 0,
        FATAL = 0,
        ALERT = 100,
        CRIT = 200,
        ERROR = 300,
        WARN = 400,
        NOTICE = 500,
        INFO = 600,
        DEBUG = 700,
        NOTSET = 800
    };

    // "FATAL", "ALERT", ... "DEBUG", "NOTSET"; values between levels round down to the
    // more severe level; negative values give "UNKNOWN".
    static const std::string& getPriorityName(Value priority) noexcept;

    // Accepts the level names in any case (also "EMERG") and non-negative numbers.
    // Throws std::invalid_argument for anything else.
    static Value getPriorityValue(const std::string& name);
};

} // namespace log4cpp

#pragma pop_macro("DEBUG")
#pragma pop_macro("ERROR")
