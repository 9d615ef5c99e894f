#include "AccountStore.h"

#include "Database.h"

namespace {
const char* const kColumns = "id, reference, username, password, address, service_alias, message_limit, features, "
                             "live, subscribed, last_message_index";
}

std::optional<Account> AccountStore::findWhere(const std::string& condition, const std::string& value) const
{
    auto st = db_.prepare(std::string("SELECT ") + kColumns + " FROM accounts WHERE " + condition);
    st.bindAll(value);
    if (!st.step())
        return std::nullopt;
    Account a;
    a.id = st.text(0);
    a.reference = st.text(1);
    a.username = st.text(2);
    a.password = st.text(3);
    a.address = st.text(4);
    a.serviceAlias = st.text(5);
    a.messageLimit = static_cast<int>(st.integer(6));
    a.features = static_cast<unsigned>(st.integer(7));
    a.live = st.integer(8) != 0;
    a.subscribed = st.integer(9) != 0;
    a.lastMessageIndex = static_cast<int>(st.integer(10));
    return a;
}

std::optional<Account> AccountStore::findByUsername(const std::string& username) const
{
    return findWhere("username = ?", username);
}

std::optional<Account> AccountStore::findByAddress(const std::string& address) const
{
    return findWhere("address = ? ORDER BY rowid LIMIT 1", address);
}

bool AccountStore::referenceExists(const std::string& reference) const
{
    auto st = db_.prepare("SELECT 1 FROM accounts WHERE reference = ?");
    st.bindAll(reference);
    return st.step();
}

void AccountStore::insert(const Account& a)
{
    db_.prepare(std::string("INSERT INTO accounts(") + kColumns + ") VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
        .bindAll(a.id, a.reference, a.username, a.password, a.address, a.serviceAlias, a.messageLimit,
                 static_cast<std::int64_t>(a.features), a.live, a.subscribed, a.lastMessageIndex)
        .run();
}

void AccountStore::insertSignup(const std::string& accountId, const SignupDetails& d)
{
    db_.prepare("INSERT INTO signups(account_id, first_name, last_name, company_name, telephone_number, "
                "mobile_number, email_address, mailing_agreement) VALUES(?, ?, ?, ?, ?, ?, ?, ?)")
        .bindAll(accountId, d.firstName, d.lastName, d.companyName, d.telephoneNumber, d.mobileNumber,
                 d.emailAddress, d.mailingAgreement)
        .run();
}

void AccountStore::setMessageLimit(const std::string& accountId, int limit)
{
    db_.prepare("UPDATE accounts SET message_limit = ? WHERE id = ?").bindAll(limit, accountId).run();
}

int AccountStore::nextMessageIndex(const std::string& accountId)
{
    db_.prepare("UPDATE accounts SET last_message_index = last_message_index + 1 WHERE id = ?")
        .bindAll(accountId)
        .run();
    auto st = db_.prepare("SELECT last_message_index FROM accounts WHERE id = ?");
    st.bindAll(accountId);
    if (!st.step())
        throw DatabaseError("no account " + accountId);
    return static_cast<int>(st.integer(0));
}
