#include "MessageStore.h"

#include "Database.h"

namespace {

const char* const kColumns = "id, account_id, folder, originator, recipient, body, sent_at, received_at, type, "
                             "status, username, message_index, validity_period";

std::int64_t folderValue(Folder folder)
{
    return folder == Folder::Inbox ? 1 : 0;
}

Message readMessage(const Statement& st)
{
    Message m;
    m.id = st.text(0);
    m.accountId = st.text(1);
    m.folder = st.integer(2) == 1 ? Folder::Inbox : Folder::Sent;
    m.originator = st.text(3);
    m.recipient = st.text(4);
    m.body = st.text(5);
    m.sentAt = st.integer(6);
    m.receivedAt = st.integer(7);
    m.type = static_cast<MessageType>(st.integer(8));
    m.status = static_cast<MessageStatus>(st.integer(9));
    m.username = st.text(10);
    m.messageIndex = static_cast<int>(st.integer(11));
    m.validityPeriod = static_cast<int>(st.integer(12));
    return m;
}

} // namespace

void MessageStore::insert(const Message& m)
{
    db_.prepare(std::string("INSERT INTO messages(") + kColumns + ") VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
        .bindAll(m.id, m.accountId, folderValue(m.folder), m.originator, m.recipient, m.body, m.sentAt, m.receivedAt,
                 static_cast<int>(m.type), static_cast<int>(m.status), m.username, m.messageIndex, m.validityPeriod)
        .run();
}

std::optional<Message> MessageStore::find(const std::string& id, Folder folder) const
{
    auto st = db_.prepare(std::string("SELECT ") + kColumns + " FROM messages WHERE id = ? AND folder = ?");
    st.bindAll(id, folderValue(folder));
    if (!st.step())
        return std::nullopt;
    return readMessage(st);
}

void MessageStore::remove(const std::string& id)
{
    db_.prepare("DELETE FROM messages WHERE id = ?").bindAll(id).run();
}

std::vector<Message> MessageStore::select(const std::string& where, const std::vector<std::int64_t>& numbers,
                                          const std::string& accountId, int maxCount) const
{
    auto st = db_.prepare(std::string("SELECT ") + kColumns +
                          " FROM messages WHERE account_id = ? AND folder = 1" + where +
                          " ORDER BY message_index DESC, received_at DESC LIMIT ?");
    st.bind(1, accountId);
    int index = 1;
    for (std::int64_t n : numbers)
        st.bind(++index, n);
    st.bind(++index, maxCount < 0 ? -1 : maxCount);
    std::vector<Message> result;
    while (st.step())
        result.push_back(readMessage(st));
    return result;
}

std::vector<Message> MessageStore::inbox(const std::string& accountId) const
{
    return select("", {}, accountId);
}

std::vector<Message> MessageStore::inboxReceivedBetween(const std::string& accountId, datetime::Millis from,
                                                        datetime::Millis to) const
{
    return select(" AND received_at >= ? AND received_at < ?", {from, to}, accountId);
}

std::vector<Message> MessageStore::inboxAfterIndex(const std::string& accountId, int lastIndex, int maxCount) const
{
    return select(" AND message_index > ?", {lastIndex}, accountId, maxCount);
}
