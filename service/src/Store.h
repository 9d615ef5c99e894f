#pragma once
// The service's state: one SQLite connection and the stores that work on it. Not thread-safe by itself;
// callers hold mutex() around every use.

#include <mutex>
#include <string>

#include "AccountStore.h"
#include "ContactStore.h"
#include "Database.h"
#include "MessageStore.h"
#include "RequestLog.h"

class Store {
public:
    // Opens the database ("" or ":memory:" for a private one) and creates the missing tables.
    explicit Store(const std::string& path);

    Database& database() { return db_; }
    AccountStore& accounts() { return accounts_; }
    MessageStore& messages() { return messages_; }
    ContactStore& contacts() { return contacts_; }
    RequestLog& requestLog() { return requestLog_; }
    std::mutex& mutex() { return mutex_; }

    // True when no account exists (a new database).
    bool isEmpty();

private:
    Database db_;
    AccountStore accounts_;
    MessageStore messages_;
    ContactStore contacts_;
    RequestLog requestLog_;
    std::mutex mutex_;
};
