#pragma once
// Checks of the texts that clients send.

#include <optional>
#include <string>

#include "Wire.h"

namespace validation {

// Cuts blanks, tabs and line ends from both ends.
std::string trim(const std::string& text);

// A mobile number: an optional "+" and 10 to 15 digits, blanks at the ends ignored. Returns the digits
// (the canonical form that the service stores), or empty when the text is not such a number.
std::optional<std::string> mobileNumber(const std::string& text);

// An originator: 1 to 11 characters of any kind, or up to 16 digits.
bool isValidOriginator(const std::string& text);

// Number of characters of a UTF-8 text.
size_t characterCount(const std::string& utf8);

// Empty when the body suits the message type; otherwise the reason, as shown to the user.
std::optional<std::string> bodyProblem(const std::string& body, MessageType type);

// A decimal 32-bit integer with an optional sign, nothing else (blanks at the ends ignored).
std::optional<int> integer(const std::string& text);

} // namespace validation
