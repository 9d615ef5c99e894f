#include "Schema.h"

#include "Database.h"

namespace schema {

void create(Database& db)
{
    db.execute(R"sql(
CREATE TABLE IF NOT EXISTS accounts (
    id                 TEXT PRIMARY KEY,
    reference          TEXT NOT NULL UNIQUE COLLATE NOCASE,
    username           TEXT NOT NULL UNIQUE COLLATE NOCASE,
    password           TEXT NOT NULL,
    address            TEXT NOT NULL,
    service_alias      TEXT NOT NULL DEFAULT '',
    message_limit      INTEGER NOT NULL,
    features           INTEGER NOT NULL,
    live               INTEGER NOT NULL,
    subscribed         INTEGER NOT NULL,
    last_message_index INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE IF NOT EXISTS signups (
    account_id        TEXT PRIMARY KEY REFERENCES accounts(id) ON DELETE CASCADE,
    first_name        TEXT NOT NULL,
    last_name         TEXT NOT NULL,
    company_name      TEXT NOT NULL,
    telephone_number  TEXT NOT NULL,
    mobile_number     TEXT NOT NULL,
    email_address     TEXT NOT NULL,
    mailing_agreement INTEGER NOT NULL
);
CREATE TABLE IF NOT EXISTS messages (
    id              TEXT PRIMARY KEY,
    account_id      TEXT NOT NULL REFERENCES accounts(id) ON DELETE CASCADE,
    folder          INTEGER NOT NULL,
    originator      TEXT NOT NULL,
    recipient       TEXT NOT NULL,
    body            TEXT NOT NULL,
    sent_at         INTEGER NOT NULL,
    received_at     INTEGER NOT NULL,
    type            INTEGER NOT NULL,
    status          INTEGER NOT NULL,
    username        TEXT NOT NULL,
    message_index   INTEGER NOT NULL DEFAULT 0,
    validity_period INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX IF NOT EXISTS messages_by_account ON messages(account_id, folder, message_index);
CREATE TABLE IF NOT EXISTS contacts (
    id               INTEGER PRIMARY KEY,
    account_id       TEXT NOT NULL REFERENCES accounts(id) ON DELETE CASCADE,
    quick_name       TEXT NOT NULL COLLATE NOCASE,
    first_name       TEXT NOT NULL DEFAULT '',
    last_name        TEXT NOT NULL DEFAULT '',
    telephone_number TEXT NOT NULL DEFAULT '',
    mobile_number    TEXT NOT NULL DEFAULT '',
    street_address1  TEXT NOT NULL DEFAULT '',
    street_address2  TEXT NOT NULL DEFAULT '',
    town             TEXT NOT NULL DEFAULT '',
    county           TEXT NOT NULL DEFAULT '',
    postcode         TEXT NOT NULL DEFAULT '',
    country          TEXT NOT NULL DEFAULT '',
    email_address    TEXT NOT NULL DEFAULT '',
    contact_type     INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE IF NOT EXISTS contact_groups (
    id          INTEGER PRIMARY KEY,
    account_id  TEXT NOT NULL REFERENCES accounts(id) ON DELETE CASCADE,
    name        TEXT NOT NULL COLLATE NOCASE,
    description TEXT NOT NULL DEFAULT '',
    group_type  INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE IF NOT EXISTS group_members (
    group_id   INTEGER NOT NULL REFERENCES contact_groups(id) ON DELETE CASCADE,
    contact_id INTEGER NOT NULL REFERENCES contacts(id) ON DELETE CASCADE,
    position   INTEGER NOT NULL,
    PRIMARY KEY (group_id, contact_id)
);
CREATE TABLE IF NOT EXISTS counters (
    name  TEXT PRIMARY KEY,
    value INTEGER NOT NULL
);
CREATE TABLE IF NOT EXISTS request_log (
    seq           INTEGER PRIMARY KEY AUTOINCREMENT,
    received_at   INTEGER NOT NULL,
    method        TEXT NOT NULL,
    path          TEXT NOT NULL,
    end_point     TEXT NOT NULL,
    soap_action   TEXT NOT NULL,
    operation     TEXT NOT NULL,
    content_type  TEXT NOT NULL,
    request_body  TEXT NOT NULL,
    status        INTEGER NOT NULL,
    response_body TEXT NOT NULL
);
)sql");
}

void clearData(Database& db)
{
    db.execute(R"sql(
DELETE FROM group_members;
DELETE FROM contact_groups;
DELETE FROM contacts;
DELETE FROM messages;
DELETE FROM signups;
DELETE FROM accounts;
DELETE FROM counters;
)sql");
}

std::int64_t nextCounterValue(Database& db, const std::string& name, std::int64_t floor)
{
    std::int64_t value = floor;
    auto select = db.prepare("SELECT value FROM counters WHERE name = ?");
    select.bindAll(name);
    if (select.step() && select.integer(0) + 1 > value)
        value = select.integer(0) + 1;
    db.prepare("INSERT INTO counters(name, value) VALUES(?, ?) "
               "ON CONFLICT(name) DO UPDATE SET value = excluded.value")
        .bindAll(name, value)
        .run();
    return value;
}

void clearRequestLog(Database& db)
{
    db.execute("DELETE FROM request_log; DELETE FROM sqlite_sequence WHERE name = 'request_log';");
}

} // namespace schema
