#include "Format.hh"

#include <cstdio>
#include <vector>

namespace log4cpp {
namespace detail {

namespace {

int measure(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
#ifdef _WIN32
    int length = _vscprintf(format, copy);  // msvcrt
#else
    int length = std::vsnprintf(nullptr, 0, format, copy);
#endif
    va_end(copy);
    return length;
}

} // namespace

std::string vformat(const char* format, va_list args) {
    if (format == nullptr)
        return "(null format)";
    int length = measure(format, args);
    if (length < 0)
        return std::string("(unformattable) ") + format;
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
#ifdef _WIN32
    // msvcrt's own _vsnprintf, not the C99 one mingw substitutes for vsnprintf.
    int written = _vsnprintf(buffer.data(), buffer.size(), format, args);
#else
    int written = std::vsnprintf(buffer.data(), buffer.size(), format, args);
#endif
    if (written < 0)
        return std::string("(unformattable) ") + format;
    return std::string(buffer.data(), static_cast<std::size_t>(written));
}

} // namespace detail
} // namespace log4cpp
