#include "Validation.h"

#include <cctype>
#include <climits>

namespace validation {

namespace {
constexpr size_t kTextLimit = 160;
constexpr size_t kUnicodeLimit = 70;
constexpr size_t kBinaryHexLimit = 280;  // 140 bytes written as hexadecimal

bool allDigits(const std::string& s)
{
    for (unsigned char c : s)
        if (!std::isdigit(c))
            return false;
    return true;
}
} // namespace

std::string trim(const std::string& text)
{
    const char* blanks = " \t\r\n";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

std::optional<std::string> mobileNumber(const std::string& text)
{
    std::string s = trim(text);
    if (!s.empty() && s.front() == '+')
        s.erase(0, 1);
    if (s.size() < 10 || s.size() > 15 || !allDigits(s))
        return std::nullopt;
    return s;
}

bool isValidOriginator(const std::string& text)
{
    size_t length = characterCount(text);
    if (length == 0)
        return false;
    return length <= 11 || (length <= 16 && allDigits(text));
}

size_t characterCount(const std::string& utf8)
{
    size_t count = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80)
            ++count;
    return count;
}

std::optional<std::string> bodyProblem(const std::string& body, MessageType type)
{
    if (body.empty())
        return std::string("The message body is empty.");
    switch (type) {
    case MessageType::Text:
        if (characterCount(body) > kTextLimit)
            return "A text message may hold at most " + std::to_string(kTextLimit) + " characters.";
        break;
    case MessageType::Unicode:
        if (characterCount(body) > kUnicodeLimit)
            return "A Unicode message may hold at most " + std::to_string(kUnicodeLimit) + " characters.";
        break;
    case MessageType::Binary:
    case MessageType::SmartMessage:
        for (unsigned char c : body)
            if (!std::isxdigit(c))
                return std::string("A binary message body must be written in hexadecimal digits.");
        if (body.size() % 2 != 0)
            return std::string("A binary message body must hold an even number of hexadecimal digits.");
        if (body.size() > kBinaryHexLimit)
            return "A binary message may hold at most " + std::to_string(kBinaryHexLimit / 2) + " bytes.";
        break;
    }
    return std::nullopt;
}

std::optional<int> integer(const std::string& text)
{
    std::string s = trim(text);
    size_t pos = 0;
    bool negative = false;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-'))
        negative = s[pos++] == '-';
    if (pos == s.size() || s.size() - pos > 10 || !allDigits(s.substr(pos)))
        return std::nullopt;
    long long value = std::stoll(s.substr(pos));
    if (negative)
        value = -value;
    if (value < INT_MIN || value > INT_MAX)
        return std::nullopt;
    return static_cast<int>(value);
}

} // namespace validation
