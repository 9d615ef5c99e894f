// SignupService: opens an evaluation account. Its user name is the e-mail address; its password is made up
// by the service and told in the welcome message.

#include <random>

#include "Guid.h"
#include "OperationTable.h"
#include "Schema.h"
#include "ServiceError.h"
#include "Store.h"
#include "Validation.h"

namespace {

constexpr int kEvaluationMessageLimit = 10;

std::string required(const OperationContext& context, const std::string& element, const std::string& label)
{
    std::string value = validation::trim(context.textOr(element, ""));
    if (value.empty())
        throw ServiceError(ErrorCode::Validation, "The " + label + " is required.");
    return value;
}

std::string newPassword()
{
    static const char alphabet[] = "abcdefghjkmnpqrstuvwxyz23456789";
    std::random_device random;
    std::uniform_int_distribution<size_t> pick(0, sizeof alphabet - 2);
    std::string password;
    for (int i = 0; i < 8; ++i)
        password += alphabet[pick(random)];
    return password;
}

std::string numbered(const char* prefix, std::int64_t n, int width)
{
    std::string digits = std::to_string(n);
    if (static_cast<int>(digits.size()) < width)
        digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
    return prefix + digits;
}

void defaultEvaluationSignup(OperationContext& context)
{
    SignupDetails details;
    details.firstName = required(context, "firstName", "first name");
    details.lastName = required(context, "lastName", "last name");
    details.companyName = required(context, "companyName", "company name");
    details.telephoneNumber = required(context, "telephoneNumber", "telephone number");
    std::string mobile = required(context, "mobileNumber", "mobile number");
    details.emailAddress = required(context, "emailAddress", "e-mail address");
    details.mailingAgreement = context.boolean("mailingAgreement", false);

    auto number = validation::mobileNumber(mobile);
    if (!number)
        throw ServiceError(ErrorCode::Validation, "The mobile number \"" + mobile + "\" is not valid.");
    details.mobileNumber = *number;
    size_t at = details.emailAddress.find('@');
    if (at == std::string::npos || at == 0 || at + 1 == details.emailAddress.size())
        throw ServiceError(ErrorCode::Validation,
                           "The e-mail address \"" + details.emailAddress + "\" is not valid.");

    Store& store = context.store();
    if (store.accounts().findByUsername(details.emailAddress))
        throw ServiceError(ErrorCode::UsernameAlreadyExists,
                           "The user name " + details.emailAddress + " is already taken.");

    Account account;
    account.id = guid::generate();
    std::int64_t n = 0;
    do {
        n = schema::nextCounterValue(store.database(), "evaluation", 1);
        account.reference = numbered("EVAL", n, 4);
    } while (store.accounts().referenceExists(account.reference));
    account.username = details.emailAddress;
    account.password = newPassword();
    account.address = numbered("447700950", n % 1000, 3);
    account.messageLimit = kEvaluationMessageLimit;
    account.features = FeatureInbox;
    store.accounts().insert(account);
    store.accounts().insertSignup(account.id, details);

    pugi::xml_node result = context.response().result();
    soap::appendText(result, "Username", account.username);
    soap::appendText(result, "AccountReference", account.reference);
    soap::appendText(result, "WelcomeMessage",
                     "Welcome, " + details.firstName + ". Your evaluation account " + account.reference +
                         " is ready with " + std::to_string(kEvaluationMessageLimit) +
                         " free messages. Sign in as " + account.username + " with the password " +
                         account.password + ".");
}

} // namespace

void registerSignupOperations(OperationTable& table)
{
    table.add("SignupService", "DefaultEvaluationSignup", Access::Anonymous, defaultEvaluationSignup);
}
