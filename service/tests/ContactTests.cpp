#include "TestServer.h"

namespace {

SoapCall contacts(const std::string& operation, const User& user = kTest)
{
    return SoapCall("ContactService", operation).as(user);
}

SoapCall addGroup(const std::string& name, const std::vector<std::string>& members, const std::string& type = "Group",
                  const User& user = kTest)
{
    return contacts("AddGroup", user).arg("ID", "").arg("Name", name).arg("Description", "About " + name)
        .arg("GroupType", type).list("memberIDs", members);
}

std::vector<std::string> fieldOfEach(const Reply& reply, const char* field)
{
    std::vector<std::string> values;
    for (pugi::xml_node child : reply.result().children())
        values.push_back(Reply::field(child, field));
    return values;
}

} // namespace

class Contacts : public StandinTest {
protected:
    std::vector<std::string> quickNames(const User& user = kTest)
    {
        return fieldOfEach(post(contacts("GetContacts", user)), "QuickName");
    }
    std::vector<std::string> groupNames() { return fieldOfEach(post(contacts("GetGroups")), "Name"); }
    std::vector<std::string> memberNames(const std::string& groupId)
    {
        Reply reply = post(contacts("GetGroupMembers").arg("id", groupId));
        EXPECT_EQ(200, reply.status()) << reply.body();
        return fieldOfEach(reply, "QuickName");
    }
    std::string addContact(const std::string& quickName, const std::string& mobile, const std::string& type = "Contact")
    {
        Reply reply = post(contacts("AddContact").xml(contactXml("contact", "", quickName, mobile, type)));
        EXPECT_EQ(200, reply.status()) << reply.body();
        return reply.resultText();
    }
};

TEST_F(Contacts, GetContactsListsTheAccountsContactsWithFourteenFields)
{
    Reply reply = post(contacts("GetContacts"));
    expectOk(reply);
    EXPECT_EQ((std::vector<std::string>{"1001", "1002", "1003", "1004"}), fieldOfEach(reply, "ID"));
    pugi::xml_node alice = reply.result().first_child();
    EXPECT_STREQ("Contact", alice.name());
    std::vector<std::string> names;
    for (pugi::xml_node child : alice.children())
        names.push_back(child.name());
    EXPECT_EQ((std::vector<std::string>{"ID", "QuickName", "FirstName", "LastName", "TelephoneNumber", "MobileNumber",
                                        "StreetAddress1", "StreetAddress2", "Town", "County", "Postcode", "Country",
                                        "EmailAddress", "ContactType"}),
              names);
    EXPECT_EQ("Alice", Reply::field(alice, "QuickName"));
    EXPECT_EQ("Archer", Reply::field(alice, "LastName"));
    EXPECT_EQ("447700900301", Reply::field(alice, "MobileNumber"));
    EXPECT_EQ("alice@example.com", Reply::field(alice, "EmailAddress"));
    EXPECT_EQ("Contact", Reply::field(alice, "ContactType"));
    EXPECT_EQ((std::vector<std::string>{"Contact", "Contact", "Subscriber", "Subscriber"}),
              fieldOfEach(reply, "ContactType"));
}

TEST_F(Contacts, GetGroups)
{
    Reply reply = post(contacts("GetGroups"));
    expectOk(reply);
    EXPECT_EQ((std::vector<std::string>{"2001", "2002", "2003"}), fieldOfEach(reply, "ID"));
    EXPECT_EQ((std::vector<std::string>{"Friends", "Subscribers", "Empty"}), fieldOfEach(reply, "Name"));
    EXPECT_EQ((std::vector<std::string>{"Group", "AllSubscribed", "Group"}), fieldOfEach(reply, "GroupType"));
    EXPECT_STREQ("ContactGroup", reply.result().first_child().name());
    EXPECT_EQ("Alice and Bob", Reply::field(reply.result().first_child(), "Description"));
}

TEST_F(Contacts, AddContactReturnsTheNewIdentifier)
{
    std::string id = addContact("Eve", "447700900305", "Subscriber");
    EXPECT_FALSE(id.empty());
    Reply reply = post(contacts("GetContact").arg("id", id));
    expectOk(reply);
    EXPECT_EQ(id, Reply::field(reply.result(), "ID"));
    EXPECT_EQ("Eve", Reply::field(reply.result(), "QuickName"));
    EXPECT_EQ("LS1 1AA", Reply::field(reply.result(), "Postcode"));
    EXPECT_EQ("United Kingdom", Reply::field(reply.result(), "Country"));
    EXPECT_EQ("Subscriber", Reply::field(reply.result(), "ContactType"));
    EXPECT_EQ("1 High Street", Reply::field(reply.result(), "StreetAddress1"));
    EXPECT_NE(id, addContact("Frank", ""));
}

TEST_F(Contacts, AddContactRules)
{
    expectFault(post(contacts("AddContact").xml(contactXml("contact", "", "alice", "447700900305"))), 13);
    expectFault(post(contacts("AddContact").xml(contactXml("contact", "", "friends", "447700900305"))), 15);
    expectFault(post(contacts("AddContact").xml(contactXml("contact", "", " ", "447700900305"))), 17);
    expectFault(post(contacts("AddContact").xml(contactXml("contact", "", "Gina", "not a number"))), 17);
    expectFault(post(contacts("AddContact").xml(contactXml("contact", "", "Gina", "447700900305", "Friend"))), 17);
    expectFault(post(contacts("AddContact")), 17);
    EXPECT_EQ(4u, quickNames().size());
    // Quick names are unique per account only.
    expectOk(post(contacts("AddContact", kOther).xml(contactXml("contact", "", "Alice", "447700900305"))));
}

TEST_F(Contacts, AddContactsAddsAllOrNothing)
{
    Reply reply = post(contacts("AddContacts").xml("<contacts>" + contactXml("Contact", "", "Gina", "447700900306") +
                                                   contactXml("Contact", "", "Hal", "447700900307") + "</contacts>"));
    expectOk(reply);
    auto ids = reply.resultItems();
    ASSERT_EQ(2u, ids.size());
    EXPECT_STREQ("string", reply.result().first_child().name());
    EXPECT_EQ("Gina", Reply::field(post(contacts("GetContact").arg("id", ids[0])).result(), "QuickName"));
    EXPECT_EQ("Hal", Reply::field(post(contacts("GetContact").arg("id", ids[1])).result(), "QuickName"));

    expectFault(post(contacts("AddContacts").xml("<contacts>" + contactXml("Contact", "", "Ivy", "447700900308") +
                                                 contactXml("Contact", "", "IVY", "447700900309") + "</contacts>")),
                13);
    EXPECT_EQ(6u, quickNames().size());

    Reply empty = post(contacts("AddContacts").xml("<contacts/>"));
    expectOk(empty);
    ASSERT_TRUE(empty.result());
    EXPECT_TRUE(empty.resultItems().empty());
}

TEST_F(Contacts, AddGroupWithMembers)
{
    Reply reply = post(addGroup("Walkers", {"1002", "1001"}));
    expectOk(reply);
    std::string id = reply.resultText();
    EXPECT_EQ((std::vector<std::string>{"Bob", "Alice"}), memberNames(id));
    Reply group = post(contacts("GetGroup").arg("id", id));
    EXPECT_EQ("Walkers", Reply::field(group.result(), "Name"));
    EXPECT_EQ("About Walkers", Reply::field(group.result(), "Description"));
    EXPECT_EQ("Group", Reply::field(group.result(), "GroupType"));
}

TEST_F(Contacts, AddGroupRules)
{
    expectFault(post(addGroup("FRIENDS", {})), 14);
    expectFault(post(addGroup("alice", {})), 15);
    expectFault(post(addGroup("Walkers", {"1001", "1099"})), 16);
    expectFault(post(addGroup("Walkers", {"1001", "999999"})), 17);
    expectFault(post(addGroup("", {})), 17);
    expectFault(post(addGroup("Walkers", {}, "Club")), 17);
    EXPECT_EQ(3u, groupNames().size());
}

TEST_F(Contacts, AllSubscribedGroupsHoldTheSubscribers)
{
    EXPECT_EQ((std::vector<std::string>{"Carol", "Dave"}), memberNames("2002"));
    Reply reply = post(addGroup("Everyone", {"1001"}, "AllSubscribed"));
    expectOk(reply);
    EXPECT_EQ((std::vector<std::string>{"Carol", "Dave"}), memberNames(reply.resultText()));
    std::string eve = addContact("Eve", "447700900305", "Subscriber");
    EXPECT_EQ((std::vector<std::string>{"Carol", "Dave", "Eve"}), memberNames("2002"));
}

TEST_F(Contacts, DeleteContactAlsoLeavesItsGroups)
{
    expectOk(post(contacts("DeleteContact").arg("id", "1001")));
    EXPECT_EQ((std::vector<std::string>{"Bob", "Carol", "Dave"}), quickNames());
    EXPECT_EQ((std::vector<std::string>{"Bob"}), memberNames("2001"));
    expectFault(post(contacts("DeleteContact").arg("id", "1001")), 17);
    expectFault(post(contacts("DeleteContact").arg("id", "")), 17);
    expectFault(post(contacts("DeleteContact").arg("id", "1099")), 16);
}

TEST_F(Contacts, DeleteContactsIsAllOrNothing)
{
    expectFault(post(contacts("DeleteContacts").list("ids", {"1001", "1099"})), 16);
    expectFault(post(contacts("DeleteContacts").list("ids", {"1001", "5"})), 17);
    EXPECT_EQ(4u, quickNames().size());
    expectOk(post(contacts("DeleteContacts").list("ids", {"1001", "1003"})));
    EXPECT_EQ((std::vector<std::string>{"Bob", "Dave"}), quickNames());
}

TEST_F(Contacts, DeleteGroupWithAndWithoutMembers)
{
    expectOk(post(contacts("DeleteGroup").arg("id", "2001").arg("includeMembers", "false")));
    EXPECT_EQ((std::vector<std::string>{"Subscribers", "Empty"}), groupNames());
    EXPECT_EQ(4u, quickNames().size());

    expectOk(post(contacts("DeleteGroup").arg("id", "2002").arg("includeMembers", "true")));
    EXPECT_EQ((std::vector<std::string>{"Alice", "Bob"}), quickNames());
    EXPECT_EQ((std::vector<std::string>{"Empty"}), groupNames());
}

TEST_F(Contacts, DeleteGroupFaults)
{
    expectFault(post(contacts("DeleteGroup").arg("id", "2001").arg("includeMembers", "maybe")), 17);
    expectFault(post(contacts("DeleteGroup").arg("id", "2099").arg("includeMembers", "false")), 16);
    expectFault(post(contacts("DeleteGroup").arg("id", "2999").arg("includeMembers", "false")), 17);
    EXPECT_EQ(3u, groupNames().size());
}

TEST_F(Contacts, DeleteGroups)
{
    expectFault(post(contacts("DeleteGroups").list("ids", {"2001", "2099"})), 16);
    EXPECT_EQ(3u, groupNames().size());
    expectOk(post(contacts("DeleteGroups").list("ids", {"2001", "2003"})));
    EXPECT_EQ((std::vector<std::string>{"Subscribers"}), groupNames());
    EXPECT_EQ(4u, quickNames().size());
}

TEST_F(Contacts, UpdateContactReplacesItsFields)
{
    expectOk(post(contacts("UpdateContact").xml(contactXml("contact", "1002", "Bobby", "447700900399", "Subscriber"))));
    Reply reply = post(contacts("GetContact").arg("id", "1002"));
    EXPECT_EQ("Bobby", Reply::field(reply.result(), "QuickName"));
    EXPECT_EQ("447700900399", Reply::field(reply.result(), "MobileNumber"));
    EXPECT_EQ("Subscriber", Reply::field(reply.result(), "ContactType"));
    EXPECT_EQ("x@example.com", Reply::field(reply.result(), "EmailAddress"));
    // Keeping its own quick name is no clash.
    expectOk(post(contacts("UpdateContact").xml(contactXml("contact", "1002", "BOBBY", "447700900399"))));
}

TEST_F(Contacts, UpdateContactFaults)
{
    expectFault(post(contacts("UpdateContact").xml(contactXml("contact", "1002", "Alice", "447700900302"))), 13);
    expectFault(post(contacts("UpdateContact").xml(contactXml("contact", "1002", "Empty", "447700900302"))), 15);
    expectFault(post(contacts("UpdateContact").xml(contactXml("contact", "1099", "Zed", "447700900302"))), 16);
    expectFault(post(contacts("UpdateContact").xml(contactXml("contact", "777", "Nobody", "447700900302"))), 17);
    expectFault(post(contacts("UpdateContact").xml(contactXml("contact", "", "Nobody", "447700900302"))), 17);
}

TEST_F(Contacts, UpdateGroupReplacesFieldsAndMembers)
{
    expectOk(post(contacts("UpdateGroup").arg("ID", "2001").arg("Name", "Pals").arg("Description", "New")
                      .arg("GroupType", "Group").list("memberIDs", {"1003"})));
    Reply reply = post(contacts("GetGroup").arg("id", "2001"));
    EXPECT_EQ("Pals", Reply::field(reply.result(), "Name"));
    EXPECT_EQ("New", Reply::field(reply.result(), "Description"));
    EXPECT_EQ((std::vector<std::string>{"Carol"}), memberNames("2001"));
    expectOk(post(contacts("UpdateGroup").arg("ID", "2001").arg("Name", "PALS").arg("Description", "")
                      .arg("GroupType", "Group").list("memberIDs", {})));
    EXPECT_EQ((std::vector<std::string>{}), memberNames("2001"));
}

TEST_F(Contacts, UpdateGroupFaults)
{
    auto update = [&](const std::string& id, const std::string& name, const std::vector<std::string>& members) {
        return post(contacts("UpdateGroup").arg("ID", id).arg("Name", name).arg("Description", "")
                        .arg("GroupType", "Group").list("memberIDs", members));
    };
    expectFault(update("2001", "Empty", {}), 14);
    expectFault(update("2001", "Carol", {}), 15);
    expectFault(update("2099", "Mine", {}), 16);
    expectFault(update("2001", "Friends", {"1099"}), 16);
    expectFault(update("2555", "Mine", {}), 17);
}

TEST_F(Contacts, SingleReadsLeaveTheResultOutWhenNothingIsFound)
{
    for (const SoapCall& call : {contacts("GetContact").arg("id", "9999"), contacts("GetContact").arg("id", "abc"),
                                 contacts("GetGroup").arg("id", "9999"),
                                 contacts("GetContactByQuickName").arg("name", "Nobody"),
                                 contacts("GetContactByQuickName").arg("name", "Zed"),
                                 contacts("GetGroupByName").arg("name", "OtherFriends")}) {
        Reply reply = post(call);
        expectOk(reply);
        EXPECT_FALSE(reply.result()) << call.operation() << ": " << reply.body();
        EXPECT_NE(std::string::npos, reply.body().find(call.operation() + "Response"));
    }
}

TEST_F(Contacts, SingleReadsOfAnotherAccountsObjects)
{
    expectFault(post(contacts("GetContact").arg("id", "1099")), 16);
    expectFault(post(contacts("GetGroup").arg("id", "2099")), 16);
}

TEST_F(Contacts, ReadsByName)
{
    Reply contact = post(contacts("GetContactByQuickName").arg("name", "carol"));
    expectOk(contact);
    EXPECT_EQ("1003", Reply::field(contact.result(), "ID"));
    EXPECT_EQ("Subscriber", Reply::field(contact.result(), "ContactType"));
    Reply group = post(contacts("GetGroupByName").arg("name", "Subscribers"));
    EXPECT_EQ("2002", Reply::field(group.result(), "ID"));
    EXPECT_EQ("AllSubscribed", Reply::field(group.result(), "GroupType"));
}

TEST_F(Contacts, GetGroupMembersFaultsAndEmptyGroups)
{
    Reply empty = post(contacts("GetGroupMembers").arg("id", "2003"));
    expectOk(empty);
    ASSERT_TRUE(empty.result());
    EXPECT_FALSE(empty.result().first_child());
    expectFault(post(contacts("GetGroupMembers").arg("id", "2099")), 16);
    expectFault(post(contacts("GetGroupMembers").arg("id", "1")), 17);
}

TEST_F(Contacts, ContactAndGroupIdentifiersNeverCollide)
{
    std::string contactId = addContact("Eve", "447700900305");
    Reply group = post(addGroup("Walkers", {}));
    EXPECT_NE(contactId, group.resultText());
    expectOk(post(contacts("DeleteContact").arg("id", contactId)));
    EXPECT_NE(contactId, addContact("Frank", "447700900306"));
}
