#include "Guid.h"

#include <cctype>
#include <cstdio>
#include <mutex>
#include <random>

namespace guid {

std::string generate()
{
    static std::mutex mutex;
    static std::mt19937_64 engine{std::random_device{}()};
    std::uint64_t high = 0, low = 0;
    {
        std::lock_guard<std::mutex> lock(mutex);
        high = engine();
        low = engine();
    }
    high = (high & 0xFFFFFFFFFFFF0FFFULL) | 0x0000000000004000ULL;  // version 4
    low = (low & 0x3FFFFFFFFFFFFFFFULL) | 0x8000000000000000ULL;    // variant 1
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%08x-%04x-%04x-%04x-%012llx", static_cast<unsigned>(high >> 32),
                  static_cast<unsigned>((high >> 16) & 0xFFFF), static_cast<unsigned>(high & 0xFFFF),
                  static_cast<unsigned>(low >> 48), static_cast<unsigned long long>(low & 0xFFFFFFFFFFFFULL));
    return buffer;
}

std::optional<std::string> normalise(const std::string& text)
{
    std::string s = text;
    if (s.size() == 38 && s.front() == '{' && s.back() == '}')
        s = s.substr(1, 36);
    if (s.size() != 36)
        return std::nullopt;
    for (size_t i = 0; i < s.size(); ++i) {
        bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (dash ? c != '-' : !std::isxdigit(c))
            return std::nullopt;
        s[i] = static_cast<char>(std::tolower(c));
    }
    return s;
}

} // namespace guid
