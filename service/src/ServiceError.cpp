#include "ServiceError.h"

std::string defaultMessage(ErrorCode code)
{
    switch (code) {
    case ErrorCode::Unknown: return "An unknown error occurred.";
    case ErrorCode::Unexpected: return "An unexpected error occurred.";
    case ErrorCode::AuthenticationFailed: return "The user name, password or account is not correct.";
    case ErrorCode::MissingHeader: return "The request does not carry the user name, password and account.";
    case ErrorCode::RecipientMissing: return "The message has no recipient.";
    case ErrorCode::AccountNotLive: return "The account is not live.";
    case ErrorCode::MethodNotEnabled: return "This operation is not enabled for the account.";
    case ErrorCode::FeatureNotSupported: return "The account does not have the feature this operation needs.";
    case ErrorCode::MessageNotFound: return "The message was not found.";
    case ErrorCode::RecipientInvalid: return "A recipient is not a valid mobile number.";
    case ErrorCode::MessageLimitExceeded: return "The account's message limit would be exceeded.";
    case ErrorCode::MessageIdFormatInvalid: return "The message identifier is not in the right format.";
    case ErrorCode::UsernameAlreadyExists: return "The user name is already taken.";
    case ErrorCode::ContactAlreadyExists: return "A contact with this quick name already exists.";
    case ErrorCode::ContactGroupAlreadyExists: return "A group with this name already exists.";
    case ErrorCode::ContactOrGroupAlreadyExists: return "A contact or group with this name already exists.";
    case ErrorCode::NotAuthorised: return "The object belongs to another account.";
    case ErrorCode::Validation: return "The request is not valid.";
    case ErrorCode::NoActiveSubscription: return "The account has no active subscription.";
    }
    return "An unknown error occurred.";
}
