// ContactService: the account's contacts and contact groups.
//
// Rules: a contact needs a quick name, and its mobile number (when given) must be a valid number; a group
// needs a name. Quick names are unique among the account's contacts (13), group names among its groups (14),
// and no contact may share its quick name with a group's name (15). Names compare without regard to letter
// case. Identifiers of another account's objects give 16, unknown identifiers 17. The members of an
// "AllSubscribed" group are always the account's subscribers; member lists sent for it are not kept.

#include <algorithm>

#include "OperationTable.h"
#include "RecordXml.h"
#include "ServiceError.h"
#include "Store.h"
#include "Validation.h"

namespace {

std::optional<std::int64_t> parseId(const std::string& text)
{
    std::string s = validation::trim(text);
    if (s.empty() || s.size() > 18 || !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stoll(s);
}

class ContactBook {
public:
    explicit ContactBook(OperationContext& context)
        : store_(context.store().contacts()), accountId_(context.account().id)
    {
    }

    // The account's contact; 17 when there is none with that identifier, 16 when it is another account's.
    Contact ownContact(const std::string& idText) const
    {
        auto contact = findContact(idText);
        if (!contact)
            throw ServiceError(ErrorCode::Validation, "The contact \"" + validation::trim(idText) + "\" does not exist.");
        return *contact;
    }

    // As ownContact, but empty for an unknown identifier.
    std::optional<Contact> findContact(const std::string& idText) const
    {
        auto id = parseId(idText);
        auto contact = id ? store_.contact(*id) : std::nullopt;
        if (contact && contact->accountId != accountId_)
            throw ServiceError(ErrorCode::NotAuthorised, "The contact " + std::to_string(*id) +
                                                             " belongs to another account.");
        return contact;
    }

    ContactGroup ownGroup(const std::string& idText) const
    {
        auto group = findGroup(idText);
        if (!group)
            throw ServiceError(ErrorCode::Validation, "The group \"" + validation::trim(idText) + "\" does not exist.");
        return *group;
    }

    std::optional<ContactGroup> findGroup(const std::string& idText) const
    {
        auto id = parseId(idText);
        auto group = id ? store_.group(*id) : std::nullopt;
        if (group && group->accountId != accountId_)
            throw ServiceError(ErrorCode::NotAuthorised, "The group " + std::to_string(*id) +
                                                             " belongs to another account.");
        return group;
    }

    std::int64_t add(Contact contact)
    {
        contact.id = 0;
        contact.accountId = accountId_;
        check(contact);
        return store_.insert(contact);
    }

    void update(Contact contact)
    {
        contact.accountId = accountId_;
        check(contact);
        store_.update(contact);
    }

    void remove(const Contact& contact) { store_.removeContact(contact.id); }

    std::int64_t add(ContactGroup group, const std::vector<std::string>& memberIds)
    {
        group.id = 0;
        group.accountId = accountId_;
        check(group);
        std::vector<std::int64_t> members = ownContactIds(memberIds);
        group.id = store_.insert(group);
        setMembers(group, members);
        return group.id;
    }

    void update(ContactGroup group, const std::vector<std::string>& memberIds)
    {
        group.accountId = accountId_;
        check(group);
        std::vector<std::int64_t> members = ownContactIds(memberIds);
        store_.update(group);
        setMembers(group, members);
    }

    void remove(const ContactGroup& group, bool includeMembers)
    {
        if (includeMembers)
            for (const Contact& member : members(group))
                store_.removeContact(member.id);
        store_.removeGroup(group.id);
    }

    std::vector<Contact> members(const ContactGroup& group) const { return store_.groupMembers(group); }

private:
    void check(const Contact& c) const
    {
        if (c.quickName.empty())
            throw ServiceError(ErrorCode::Validation, "A contact needs a quick name.");
        if (!validation::trim(c.mobileNumber).empty() && !validation::mobileNumber(c.mobileNumber))
            throw ServiceError(ErrorCode::Validation, "The mobile number \"" + validation::trim(c.mobileNumber) +
                                                          "\" is not valid.");
        auto same = store_.contactByQuickName(accountId_, c.quickName);
        if (same && same->id != c.id)
            throw ServiceError(ErrorCode::ContactAlreadyExists,
                               "A contact with the quick name \"" + c.quickName + "\" already exists.");
        if (store_.groupByName(accountId_, c.quickName))
            throw ServiceError(ErrorCode::ContactOrGroupAlreadyExists,
                               "A group is already called \"" + c.quickName + "\".");
    }

    void check(const ContactGroup& g) const
    {
        if (g.name.empty())
            throw ServiceError(ErrorCode::Validation, "A group needs a name.");
        auto same = store_.groupByName(accountId_, g.name);
        if (same && same->id != g.id)
            throw ServiceError(ErrorCode::ContactGroupAlreadyExists,
                               "A group with the name \"" + g.name + "\" already exists.");
        if (store_.contactByQuickName(accountId_, g.name))
            throw ServiceError(ErrorCode::ContactOrGroupAlreadyExists,
                               "A contact already has the quick name \"" + g.name + "\".");
    }

    std::vector<std::int64_t> ownContactIds(const std::vector<std::string>& texts) const
    {
        std::vector<std::int64_t> ids;
        for (const std::string& text : texts)
            if (!validation::trim(text).empty())
                ids.push_back(ownContact(text).id);
        return ids;
    }

    void setMembers(const ContactGroup& group, const std::vector<std::int64_t>& members)
    {
        store_.setMembers(group.id, group.groupType == GroupType::AllSubscribed ? std::vector<std::int64_t>{}
                                                                                : members);
    }

    ContactStore& store_;
    std::string accountId_;
};

// The group's fields from the request's ID, Name, Description and GroupType elements.
ContactGroup groupFromRequest(const OperationContext& context)
{
    ContactGroup group;
    group.name = validation::trim(context.textOr("Name", ""));
    group.description = context.textOr("Description", "");
    std::string type = validation::trim(context.textOr("GroupType", ""));
    if (!type.empty()) {
        auto parsed = wire::groupType(type);
        if (!parsed)
            throw ServiceError(ErrorCode::Validation, "The group type \"" + type + "\" is not known.");
        group.groupType = *parsed;
    }
    return group;
}

std::vector<std::string> memberIds(const OperationContext& context)
{
    return context.request().list("memberIDs").value_or(std::vector<std::string>{});
}

void writeContacts(OperationContext& context, const std::vector<Contact>& contacts)
{
    pugi::xml_node result = context.response().result();
    for (const Contact& c : contacts)
        records::writeContact(result.append_child("Contact"), c);
}

void getContacts(OperationContext& context)
{
    writeContacts(context, context.store().contacts().contacts(context.account().id));
}

void getGroups(OperationContext& context)
{
    pugi::xml_node result = context.response().result();
    for (const ContactGroup& g : context.store().contacts().groups(context.account().id))
        records::writeGroup(result.append_child("ContactGroup"), g);
}

void addContact(OperationContext& context)
{
    Contact contact = records::readContact(context.element("contact"));
    context.response().setResultText(std::to_string(ContactBook(context).add(contact)));
}

void addContacts(OperationContext& context)
{
    ContactBook book(context);
    pugi::xml_node result = context.response().result();
    for (pugi::xml_node item : context.element("contacts").children()) {
        if (item.type() != pugi::node_element)
            continue;
        soap::appendText(result, "string", std::to_string(book.add(records::readContact(item))));
    }
}

void addGroup(OperationContext& context)
{
    std::int64_t id = ContactBook(context).add(groupFromRequest(context), memberIds(context));
    context.response().setResultText(std::to_string(id));
}

void deleteContact(OperationContext& context)
{
    ContactBook book(context);
    book.remove(book.ownContact(context.text("id")));
}

void deleteContacts(OperationContext& context)
{
    ContactBook book(context);
    std::vector<Contact> contacts;
    for (const std::string& id : context.list("ids"))
        if (!validation::trim(id).empty())
            contacts.push_back(book.ownContact(id));
    for (const Contact& c : contacts)
        book.remove(c);
}

void deleteGroup(OperationContext& context)
{
    ContactBook book(context);
    ContactGroup group = book.ownGroup(context.text("id"));
    book.remove(group, context.boolean("includeMembers", false));
}

void deleteGroups(OperationContext& context)
{
    ContactBook book(context);
    std::vector<ContactGroup> groups;
    for (const std::string& id : context.list("ids"))
        if (!validation::trim(id).empty())
            groups.push_back(book.ownGroup(id));
    for (const ContactGroup& g : groups)
        book.remove(g, false);
}

void updateContact(OperationContext& context)
{
    ContactBook book(context);
    pugi::xml_node element = context.element("contact");
    Contact contact = records::readContact(element);
    contact.id = book.ownContact(xml::textOf(xml::childByLocalName(element, "ID"))).id;
    book.update(contact);
}

void updateGroup(OperationContext& context)
{
    ContactBook book(context);
    ContactGroup group = groupFromRequest(context);
    group.id = book.ownGroup(context.text("ID")).id;
    book.update(group, memberIds(context));
}

void getContact(OperationContext& context)
{
    if (auto contact = ContactBook(context).findContact(context.text("id")))
        records::writeContact(context.response().result(), *contact);
}

void getGroup(OperationContext& context)
{
    if (auto group = ContactBook(context).findGroup(context.text("id")))
        records::writeGroup(context.response().result(), *group);
}

void getGroupMembers(OperationContext& context)
{
    ContactBook book(context);
    writeContacts(context, book.members(book.ownGroup(context.text("id"))));
}

void getContactByQuickName(OperationContext& context)
{
    std::string name = validation::trim(context.text("name"));
    if (auto contact = context.store().contacts().contactByQuickName(context.account().id, name))
        records::writeContact(context.response().result(), *contact);
}

void getGroupByName(OperationContext& context)
{
    std::string name = validation::trim(context.text("name"));
    if (auto group = context.store().contacts().groupByName(context.account().id, name))
        records::writeGroup(context.response().result(), *group);
}

} // namespace

void registerContactOperations(OperationTable& table)
{
    const std::string ep = "ContactService";
    table.add(ep, "GetContacts", Access::Account, getContacts);
    table.add(ep, "GetGroups", Access::Account, getGroups);
    table.add(ep, "AddContact", Access::Account, addContact);
    table.add(ep, "AddContacts", Access::Account, addContacts);
    table.add(ep, "AddGroup", Access::Account, addGroup);
    table.add(ep, "DeleteContact", Access::Account, deleteContact);
    table.add(ep, "DeleteContacts", Access::Account, deleteContacts);
    table.add(ep, "DeleteGroup", Access::Account, deleteGroup);
    table.add(ep, "DeleteGroups", Access::Account, deleteGroups);
    table.add(ep, "UpdateContact", Access::Account, updateContact);
    table.add(ep, "UpdateGroup", Access::Account, updateGroup);
    table.add(ep, "GetContact", Access::Account, getContact);
    table.add(ep, "GetGroup", Access::Account, getGroup);
    table.add(ep, "GetGroupMembers", Access::Account, getGroupMembers);
    table.add(ep, "GetContactByQuickName", Access::Account, getContactByQuickName);
    table.add(ep, "GetGroupByName", Access::Account, getGroupByName);
}
