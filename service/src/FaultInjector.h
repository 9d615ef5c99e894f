#pragma once
// Accounts, chosen by user name, whose every request gets a broken answer, so that clients can be tested
// against the failures of a real service. The user name alone selects the fault: the password and account
// are not looked at.

#include <optional>
#include <string>

#include "HttpReply.h"

namespace faults {

constexpr const char* kHttp503 = "fault503";            // HTTP 503 with a plain-text body
constexpr const char* kNotXml = "faultnonxml";          // status 200 with a body that is not XML
constexpr const char* kNoDetail = "faultnodetail";      // fault with a faultstring and no detail
constexpr const char* kBlankFault = "faultblank";       // fault with an empty faultstring and no detail
constexpr const char* kNoCode = "faultnocode";          // fault whose detail has ErrorMessage but no ErrorCode
constexpr const char* kUnknownCode = "fault25";         // fault with ErrorCode 25
constexpr const char* kNonNumericCode = "faultabc";     // fault with ErrorCode "abc"
constexpr const char* kValidation = "fault17";          // fault with ErrorCode 17 and its own message
constexpr const char* kEmptyBody = "faultempty";        // status 200 with an empty body
constexpr const char* kSlow = "slow";                   // a real account whose answers come late

constexpr const char* kNoDetailText = "Server was unable to process request. Injected fault without detail.";
constexpr const char* kNoCodeText = "Injected fault with a message and no code.";
constexpr const char* kUnknownCodeText = "Injected fault with an unknown code.";
constexpr const char* kNonNumericCodeText = "Injected fault with a code that is not a number.";
constexpr const char* kValidationText = "The message text holds characters that cannot be sent.";

// The answer that replaces the operation's own for that user name; empty for every other user.
std::optional<HttpReply> injectedReply(const std::string& username);

// Whether answers to that user name are delayed.
bool isSlow(const std::string& username);

} // namespace faults
