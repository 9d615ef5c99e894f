#include "Fixtures.h"

#include "Database.h"
#include "Schema.h"
#include "Store.h"

namespace fixtures {
namespace {

using datetime::fromFields;

struct AccountRow {
    const char* id;
    const char* username;
    const char* password;
    const char* reference;
    const char* address;
    const char* alias;
    int limit;
    unsigned features;
    bool live;
    bool subscribed;
};

const unsigned kBoth = FeatureServiceAliasing | FeatureInbox;

const AccountRow kTestAccounts[] = {
    {"a0000000-0000-4000-8000-000000000001", "test", "test", "TEST01", "447700900101", "TestAlias", 100, kBoth, true, true},
    {"a0000000-0000-4000-8000-000000000002", "other", "other", "OTHER01", "447700900102", "", 100, FeatureInbox, true, true},
    {"a0000000-0000-4000-8000-000000000003", "plain", "plain", "PLAIN01", "447700900103", "", 100, FeatureNone, true, true},
    {"a0000000-0000-4000-8000-000000000004", "lowlimit", "lowlimit", "LOW01", "447700900104", "", 2, FeatureInbox, true, true},
    {"a0000000-0000-4000-8000-000000000005", "notlive", "notlive", "DEAD01", "447700900105", "", 100, kBoth, false, true},
    {"a0000000-0000-4000-8000-000000000006", "nosub", "nosub", "NOSUB01", "447700900106", "", 100, kBoth, true, false},
    {"a0000000-0000-4000-8000-000000000007", "slow", "slow", "SLOW01", "447700900107", "", 100, kBoth, true, true},
    {"a0000000-0000-4000-8000-000000000008", "taken@example.com", "taken", "TAKEN01", "447700900108", "", 10, FeatureInbox, true, true},
};

const AccountRow kDemoAccount = {"d0000000-0000-4000-8000-000000000001", "demo", "demo", "DEMO01", "447700900001",
                                 "Demo", 250, kBoth, true, true};

const char* const kTestId = "a0000000-0000-4000-8000-000000000001";
const char* const kOtherId = "a0000000-0000-4000-8000-000000000002";
const char* const kDemoId = "d0000000-0000-4000-8000-000000000001";

void addAccount(Store& store, const AccountRow& row)
{
    Account a;
    a.id = row.id;
    a.username = row.username;
    a.password = row.password;
    a.reference = row.reference;
    a.address = row.address;
    a.serviceAlias = row.alias;
    a.messageLimit = row.limit;
    a.features = row.features;
    a.live = row.live;
    a.subscribed = row.subscribed;
    store.accounts().insert(a);
}

void addSent(Store& store, const char* id, const char* accountId, const char* username, const char* originator,
             const char* recipient, const char* body, datetime::Millis at, MessageStatus status)
{
    Message m;
    m.id = id;
    m.accountId = accountId;
    m.folder = Folder::Sent;
    m.originator = originator;
    m.recipient = recipient;
    m.body = body;
    m.sentAt = at;
    m.receivedAt = at;
    m.status = status;
    m.username = username;
    store.messages().insert(m);
}

// An inbox message that took five seconds to arrive; the account's last index follows it.
void addReceived(Store& store, const char* id, const char* accountId, const char* username,
                 const char* originator, const char* recipient, const char* body, datetime::Millis receivedAt,
                 MessageType type = MessageType::Text)
{
    Message m;
    m.id = id;
    m.accountId = accountId;
    m.folder = Folder::Inbox;
    m.originator = originator;
    m.recipient = recipient;
    m.body = body;
    m.sentAt = receivedAt - 5000;
    m.receivedAt = receivedAt;
    m.type = type;
    m.status = MessageStatus::Delivered;
    m.username = username;
    m.messageIndex = store.accounts().nextMessageIndex(accountId);
    store.messages().insert(m);
}

void addContact(Store& store, std::int64_t id, const char* accountId, const char* quickName, const char* first,
                const char* last, const char* mobile, const char* telephone, const char* town, const char* email,
                ContactType type)
{
    Contact c;
    c.id = id;
    c.accountId = accountId;
    c.quickName = quickName;
    c.firstName = first;
    c.lastName = last;
    c.mobileNumber = mobile;
    c.telephoneNumber = telephone;
    c.town = town;
    c.emailAddress = email;
    c.country = "United Kingdom";
    c.contactType = type;
    store.contacts().insert(c);
}

void addGroup(Store& store, std::int64_t id, const char* accountId, const char* name, const char* description,
              GroupType type, const std::vector<std::int64_t>& members)
{
    ContactGroup g;
    g.id = id;
    g.accountId = accountId;
    g.name = name;
    g.description = description;
    g.groupType = type;
    store.contacts().insert(g);
    store.contacts().setMembers(id, members);
}

void seedTestData(Store& store)
{
    for (const AccountRow& row : kTestAccounts)
        addAccount(store, row);

    // Sent messages of "test", one in every status.
    const datetime::Millis sentDay = fromFields(2024, 3, 13, 10, 0, 0);
    addSent(store, "10000000-0000-4000-8000-000000000001", kTestId, "test", "TestAlias", "447700900301",
            "Queued message", sentDay, MessageStatus::Queued);
    addSent(store, "10000000-0000-4000-8000-000000000002", kTestId, "test", "TestAlias", "447700900302",
            "Sent message", sentDay + 60000, MessageStatus::Sent);
    addSent(store, "10000000-0000-4000-8000-000000000003", kTestId, "test", "TestAlias", "447700900303",
            "Delivered message", sentDay + 120000, MessageStatus::Delivered);
    addSent(store, "10000000-0000-4000-8000-000000000004", kTestId, "test", "TestAlias", "447700900399",
            "Failed message", sentDay + 180000, MessageStatus::Failed);

    // Inbox of "test": indexes 1 to 5 over 14, 15 and 16 March 2024, two of them either side of midnight.
    addReceived(store, "20000000-0000-4000-8000-000000000001", kTestId, "test", "447700900201", "447700900101",
                "Morning, are we still on for lunch?", fromFields(2024, 3, 14, 9, 15, 0));
    addReceived(store, "20000000-0000-4000-8000-000000000002", kTestId, "test", "447700900202", "447700900101",
                "Nearly midnight here", fromFields(2024, 3, 14, 23, 58, 30, 250));
    addReceived(store, "20000000-0000-4000-8000-000000000003", kTestId, "test", "447700900202", "447700900101",
                "Just past midnight", fromFields(2024, 3, 15, 0, 1, 15, 500));
    addReceived(store, "20000000-0000-4000-8000-000000000004", kTestId, "test", "447700900203", "447700900101",
                "Prix: 15 \xE2\x82\xAC \xE2\x80\x93 merci", fromFields(2024, 3, 15, 12, 30, 0),
                MessageType::Unicode);
    addReceived(store, "20000000-0000-4000-8000-000000000005", kTestId, "test", "447700900204", "447700900101",
                "See you Saturday", fromFields(2024, 3, 16, 8, 0, 0));

    // Contacts and groups of "test".
    addContact(store, 1001, kTestId, "Alice", "Alice", "Archer", "447700900301", "", "Leeds", "alice@example.com",
               ContactType::Contact);
    addContact(store, 1002, kTestId, "Bob", "Bob", "Baker", "447700900302", "", "York", "bob@example.com",
               ContactType::Contact);
    addContact(store, 1003, kTestId, "Carol", "Carol", "Cooper", "447700900303", "", "Hull", "", ContactType::Subscriber);
    addContact(store, 1004, kTestId, "Dave", "Dave", "Dyer", "", "01632960004", "Ripon", "", ContactType::Subscriber);
    addGroup(store, 2001, kTestId, "Friends", "Alice and Bob", GroupType::Group, {1001, 1002});
    addGroup(store, 2002, kTestId, "Subscribers", "Everyone who subscribed", GroupType::AllSubscribed, {});
    addGroup(store, 2003, kTestId, "Empty", "A group without members", GroupType::Group, {});

    // One of each kind for "other", so that objects of another account can be tried.
    addSent(store, "10000000-0000-4000-8000-000000000099", kOtherId, "other", "447700900102", "447700900301",
            "Other account's message", sentDay, MessageStatus::Delivered);
    addReceived(store, "20000000-0000-4000-8000-000000000099", kOtherId, "other", "447700900301", "447700900102",
                "Other account's inbox", fromFields(2024, 3, 14, 12, 0, 0));
    addContact(store, 1099, kOtherId, "Zed", "Zed", "Zimmer", "447700900399", "", "Bath", "", ContactType::Contact);
    addGroup(store, 2099, kOtherId, "OtherFriends", "Friends of another account", GroupType::Group, {1099});
}

void seedDemoData(Store& store)
{
    addAccount(store, kDemoAccount);
    const datetime::Millis today = datetime::startOfDay(datetime::now());
    addReceived(store, "d1000000-0000-4000-8000-000000000001", kDemoId, "demo", "447700900301", "447700900001",
                "Welcome to the messenger demo.", today - 2 * datetime::kMillisPerDay + 9 * 3600000);
    addReceived(store, "d1000000-0000-4000-8000-000000000002", kDemoId, "demo", "447700900302", "447700900001",
                "Are you coming to the meeting?", today - datetime::kMillisPerDay + 15 * 3600000);
    addReceived(store, "d1000000-0000-4000-8000-000000000003", kDemoId, "demo", "447700900303", "447700900001",
                "Running ten minutes late.", datetime::now() - 3600000);
    addContact(store, 1201, kDemoId, "Ann", "Ann", "Ashby", "447700900301", "", "Leeds", "ann@example.com",
               ContactType::Contact);
    addContact(store, 1202, kDemoId, "Ben", "Ben", "Bright", "447700900302", "", "York", "", ContactType::Contact);
    addContact(store, 1203, kDemoId, "Cat", "Cat", "Cole", "447700900303", "", "Hull", "", ContactType::Subscriber);
    addGroup(store, 2201, kDemoId, "Team", "The project team", GroupType::Group, {1201, 1202});
}

} // namespace

void restore(Store& store, bool withDemo)
{
    schema::clearData(store.database());
    seedTestData(store);
    if (withDemo)
        seedDemoData(store);
}

} // namespace fixtures
