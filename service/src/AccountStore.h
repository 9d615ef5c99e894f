#pragma once
// Accounts and their sign-up details.

#include <optional>
#include <string>

#include "Model.h"

class Database;

struct SignupDetails {
    std::string firstName;
    std::string lastName;
    std::string companyName;
    std::string telephoneNumber;
    std::string mobileNumber;
    std::string emailAddress;
    bool mailingAgreement = false;
};

class AccountStore {
public:
    explicit AccountStore(Database& db) : db_(db) {}

    // User names and account references compare without regard to letter case.
    std::optional<Account> findByUsername(const std::string& username) const;
    std::optional<Account> findByAddress(const std::string& address) const;
    bool referenceExists(const std::string& reference) const;

    void insert(const Account& account);
    void insertSignup(const std::string& accountId, const SignupDetails& details);
    void setMessageLimit(const std::string& accountId, int limit);
    // Raises the account's last inbox index by one and returns it.
    int nextMessageIndex(const std::string& accountId);

private:
    std::optional<Account> findWhere(const std::string& condition, const std::string& value) const;

    Database& db_;
};
