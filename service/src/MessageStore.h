#pragma once
// Sent and received messages.

#include <optional>
#include <string>
#include <vector>

#include "Model.h"

class Database;

class MessageStore {
public:
    explicit MessageStore(Database& db) : db_(db) {}

    void insert(const Message& message);
    // The message of any account with that (canonical) identifier in the folder.
    std::optional<Message> find(const std::string& id, Folder folder) const;
    void remove(const std::string& id);

    // Inbox lists, newest (highest index) first.
    std::vector<Message> inbox(const std::string& accountId) const;
    // Messages received at or after from and before to.
    std::vector<Message> inboxReceivedBetween(const std::string& accountId, datetime::Millis from,
                                              datetime::Millis to) const;
    // Messages whose index is greater than lastIndex; at most maxCount when maxCount >= 0.
    std::vector<Message> inboxAfterIndex(const std::string& accountId, int lastIndex, int maxCount) const;

private:
    std::vector<Message> select(const std::string& where, const std::vector<std::int64_t>& numbers,
                                const std::string& accountId, int maxCount = -1) const;

    Database& db_;
};
