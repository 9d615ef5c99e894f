#pragma once

#include <stdexcept>
#include <string>

namespace log4cpp {

// Thrown when a configuration cannot be read or applied.
class ConfigureFailure : public std::runtime_error {
public:
    explicit ConfigureFailure(const std::string& reason) : std::runtime_error(reason) {}
};

} // namespace log4cpp
