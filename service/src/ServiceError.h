#pragma once
// Failures that the service reports to its clients as SOAP faults.

#include <stdexcept>
#include <string>

// The error codes carried in a fault's detail/ErrorCode.
enum class ErrorCode {
    Unknown = 0,
    Unexpected = 1,
    AuthenticationFailed = 2,
    MissingHeader = 3,
    RecipientMissing = 4,
    AccountNotLive = 5,
    MethodNotEnabled = 6,
    FeatureNotSupported = 7,
    MessageNotFound = 8,
    RecipientInvalid = 9,
    MessageLimitExceeded = 10,
    MessageIdFormatInvalid = 11,
    UsernameAlreadyExists = 12,
    ContactAlreadyExists = 13,
    ContactGroupAlreadyExists = 14,
    ContactOrGroupAlreadyExists = 15,
    NotAuthorised = 16,
    Validation = 17,
    NoActiveSubscription = 18,
};

// The standard text of a code, used when a fault carries no message of its own.
std::string defaultMessage(ErrorCode code);

// A fault with detail (ErrorMessage and ErrorCode).
class ServiceError : public std::runtime_error {
public:
    explicit ServiceError(ErrorCode code) : ServiceError(code, defaultMessage(code)) {}
    ServiceError(ErrorCode code, const std::string& message) : std::runtime_error(message), code_(code) {}

    ErrorCode code() const { return code_; }

private:
    ErrorCode code_;
};

// A request the service cannot read as an operation at all: a fault without detail.
class RequestFault : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
