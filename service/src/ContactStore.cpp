#include "ContactStore.h"

#include "Database.h"
#include "Schema.h"

namespace {

const char* const kContactColumns =
    "c.id, c.account_id, c.quick_name, c.first_name, c.last_name, c.telephone_number, c.mobile_number, "
    "c.street_address1, c.street_address2, c.town, c.county, c.postcode, c.country, c.email_address, c.contact_type";
const char* const kGroupColumns = "id, account_id, name, description, group_type";

Contact readContact(const Statement& st)
{
    Contact c;
    c.id = st.integer(0);
    c.accountId = st.text(1);
    c.quickName = st.text(2);
    c.firstName = st.text(3);
    c.lastName = st.text(4);
    c.telephoneNumber = st.text(5);
    c.mobileNumber = st.text(6);
    c.streetAddress1 = st.text(7);
    c.streetAddress2 = st.text(8);
    c.town = st.text(9);
    c.county = st.text(10);
    c.postcode = st.text(11);
    c.country = st.text(12);
    c.emailAddress = st.text(13);
    c.contactType = st.integer(14) == 1 ? ContactType::Subscriber : ContactType::Contact;
    return c;
}

ContactGroup readGroup(const Statement& st)
{
    ContactGroup g;
    g.id = st.integer(0);
    g.accountId = st.text(1);
    g.name = st.text(2);
    g.description = st.text(3);
    g.groupType = st.integer(4) == 1 ? GroupType::AllSubscribed : GroupType::Group;
    return g;
}

} // namespace

std::int64_t ContactStore::nextId()
{
    auto st = db_.prepare("SELECT MAX(m) FROM (SELECT MAX(id) AS m FROM contacts "
                          "UNION ALL SELECT MAX(id) FROM contact_groups)");
    std::int64_t highest = 1000;
    if (st.step() && !st.isNull(0) && st.integer(0) > highest)
        highest = st.integer(0);
    return schema::nextCounterValue(db_, "object_id", highest + 1);
}

std::vector<Contact> ContactStore::selectContacts(const std::string& sqlTail, const std::string& text) const
{
    auto st = db_.prepare(std::string("SELECT ") + kContactColumns + " FROM contacts c " + sqlTail);
    st.bindAll(text);
    std::vector<Contact> result;
    while (st.step())
        result.push_back(readContact(st));
    return result;
}

std::vector<Contact> ContactStore::contacts(const std::string& accountId) const
{
    return selectContacts("WHERE c.account_id = ? ORDER BY c.id", accountId);
}

std::vector<Contact> ContactStore::subscribers(const std::string& accountId) const
{
    return selectContacts("WHERE c.account_id = ? AND c.contact_type = 1 ORDER BY c.id", accountId);
}

std::vector<Contact> ContactStore::groupMembers(const ContactGroup& group) const
{
    return group.groupType == GroupType::AllSubscribed ? subscribers(group.accountId) : members(group.id);
}

std::optional<Contact> ContactStore::contact(std::int64_t id) const
{
    auto found = selectContacts("WHERE c.id = ?", std::to_string(id));
    if (found.empty())
        return std::nullopt;
    return found.front();
}

std::optional<Contact> ContactStore::contactByQuickName(const std::string& accountId,
                                                        const std::string& quickName) const
{
    auto st = db_.prepare(std::string("SELECT ") + kContactColumns +
                          " FROM contacts c WHERE c.account_id = ? AND c.quick_name = ? ORDER BY c.id LIMIT 1");
    st.bindAll(accountId, quickName);
    if (!st.step())
        return std::nullopt;
    return readContact(st);
}

std::int64_t ContactStore::insert(Contact c)
{
    if (c.id == 0)
        c.id = nextId();
    db_.prepare("INSERT INTO contacts(id, account_id, quick_name, first_name, last_name, telephone_number, "
                "mobile_number, street_address1, street_address2, town, county, postcode, country, email_address, "
                "contact_type) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
        .bindAll(c.id, c.accountId, c.quickName, c.firstName, c.lastName, c.telephoneNumber, c.mobileNumber,
                 c.streetAddress1, c.streetAddress2, c.town, c.county, c.postcode, c.country, c.emailAddress,
                 static_cast<int>(c.contactType))
        .run();
    return c.id;
}

void ContactStore::update(const Contact& c)
{
    db_.prepare("UPDATE contacts SET quick_name = ?, first_name = ?, last_name = ?, telephone_number = ?, "
                "mobile_number = ?, street_address1 = ?, street_address2 = ?, town = ?, county = ?, postcode = ?, "
                "country = ?, email_address = ?, contact_type = ? WHERE id = ?")
        .bindAll(c.quickName, c.firstName, c.lastName, c.telephoneNumber, c.mobileNumber, c.streetAddress1,
                 c.streetAddress2, c.town, c.county, c.postcode, c.country, c.emailAddress,
                 static_cast<int>(c.contactType), c.id)
        .run();
}

void ContactStore::removeContact(std::int64_t id)
{
    db_.prepare("DELETE FROM contacts WHERE id = ?").bindAll(id).run();
}

std::vector<ContactGroup> ContactStore::selectGroups(const std::string& where, const std::string& text) const
{
    auto st = db_.prepare(std::string("SELECT ") + kGroupColumns + " FROM contact_groups WHERE " + where);
    st.bindAll(text);
    std::vector<ContactGroup> result;
    while (st.step())
        result.push_back(readGroup(st));
    return result;
}

std::vector<ContactGroup> ContactStore::groups(const std::string& accountId) const
{
    return selectGroups("account_id = ? ORDER BY id", accountId);
}

std::optional<ContactGroup> ContactStore::group(std::int64_t id) const
{
    auto found = selectGroups("id = ?", std::to_string(id));
    if (found.empty())
        return std::nullopt;
    return found.front();
}

std::optional<ContactGroup> ContactStore::groupByName(const std::string& accountId, const std::string& name) const
{
    auto st = db_.prepare(std::string("SELECT ") + kGroupColumns +
                          " FROM contact_groups WHERE account_id = ? AND name = ? ORDER BY id LIMIT 1");
    st.bindAll(accountId, name);
    if (!st.step())
        return std::nullopt;
    return readGroup(st);
}

std::int64_t ContactStore::insert(ContactGroup g)
{
    if (g.id == 0)
        g.id = nextId();
    db_.prepare("INSERT INTO contact_groups(id, account_id, name, description, group_type) VALUES(?, ?, ?, ?, ?)")
        .bindAll(g.id, g.accountId, g.name, g.description, static_cast<int>(g.groupType))
        .run();
    return g.id;
}

void ContactStore::update(const ContactGroup& g)
{
    db_.prepare("UPDATE contact_groups SET name = ?, description = ?, group_type = ? WHERE id = ?")
        .bindAll(g.name, g.description, static_cast<int>(g.groupType), g.id)
        .run();
}

void ContactStore::removeGroup(std::int64_t id)
{
    db_.prepare("DELETE FROM contact_groups WHERE id = ?").bindAll(id).run();
}

std::vector<Contact> ContactStore::members(std::int64_t groupId) const
{
    return selectContacts("JOIN group_members m ON m.contact_id = c.id WHERE m.group_id = ? ORDER BY m.position",
                          std::to_string(groupId));
}

void ContactStore::setMembers(std::int64_t groupId, const std::vector<std::int64_t>& contactIds)
{
    db_.prepare("DELETE FROM group_members WHERE group_id = ?").bindAll(groupId).run();
    int position = 0;
    for (std::int64_t contactId : contactIds)
        db_.prepare("INSERT OR IGNORE INTO group_members(group_id, contact_id, position) VALUES(?, ?, ?)")
            .bindAll(groupId, contactId, ++position)
            .run();
}
