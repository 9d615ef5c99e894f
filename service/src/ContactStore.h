#pragma once
// Contacts, contact groups and group membership. Contact and group identifiers share one sequence.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Model.h"

class Database;

class ContactStore {
public:
    explicit ContactStore(Database& db) : db_(db) {}

    std::vector<Contact> contacts(const std::string& accountId) const;
    std::vector<Contact> subscribers(const std::string& accountId) const;
    // Any account's contact.
    std::optional<Contact> contact(std::int64_t id) const;
    // Quick names and group names compare without regard to letter case.
    std::optional<Contact> contactByQuickName(const std::string& accountId, const std::string& quickName) const;
    // Gives the contact a new identifier when its id is 0; returns the identifier.
    std::int64_t insert(Contact contact);
    void update(const Contact& contact);
    void removeContact(std::int64_t id);

    std::vector<ContactGroup> groups(const std::string& accountId) const;
    std::optional<ContactGroup> group(std::int64_t id) const;
    std::optional<ContactGroup> groupByName(const std::string& accountId, const std::string& name) const;
    std::int64_t insert(ContactGroup group);
    void update(const ContactGroup& group);
    void removeGroup(std::int64_t id);

    // Members in the order they were given.
    std::vector<Contact> members(std::int64_t groupId) const;
    // A group's members: those of an AllSubscribed group are always its account's subscribers.
    std::vector<Contact> groupMembers(const ContactGroup& group) const;
    void setMembers(std::int64_t groupId, const std::vector<std::int64_t>& contactIds);

private:
    std::int64_t nextId();
    std::vector<Contact> selectContacts(const std::string& sqlTail, const std::string& text) const;
    std::vector<ContactGroup> selectGroups(const std::string& where, const std::string& text) const;

    Database& db_;
};
