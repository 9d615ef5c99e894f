#pragma once

#include <cstdarg>
#include <string>

namespace log4cpp {
namespace detail {

// printf-style formatting into a string. On Windows msvcrt does the work, so "%S"
// takes a wchar_t*. A format the runtime rejects yields the format text itself,
// marked, rather than nothing.
std::string vformat(const char* format, va_list args);

} // namespace detail
} // namespace log4cpp
