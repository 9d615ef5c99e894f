// The SDK's request templates (sdk/res/xml/<id>.xml), filled the way the SDK fills them, must be accepted.

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "TestServer.h"

#include "SoapRequest.h"

namespace {

using Values = std::vector<std::pair<std::string, std::string>>;
using Lists = std::vector<std::pair<std::string, std::vector<std::string>>>;

struct Template {
    int id;
    std::string endPoint;
    std::string operation;   // the body element; SetupTests for the test set-ups
    bool credentials;
    Values values;           // filled by value, in this order
    Lists lists;             // filled with <string> items
    std::vector<std::string> contactLists;  // "contact" gets one contact's fields; "contacts" one <Contact>
};

const std::vector<Template>& templates()
{
    static const std::vector<Template> all = {
        {202, "SendService", "SendMessageFull", true,
         {{"originator", "TestAlias"}, {"recipient", "447700900301"}, {"body", "Hello"}, {"validityperiod", "0"},
          {"type", "Text"}}, {}, {}},
        {203, "SendService", "SendMessage", true,
         {{"recipient", "447700900301"}, {"body", "Hello"}, {"type", "Text"}}, {}, {}},
        {204, "SendService", "GetMessageStatus", true, {{"id", "10000000-0000-4000-8000-000000000001"}}, {}, {}},
        {205, "SendService", "SendMessageMultipleRecipients", true, {{"body", "Hello"}, {"type", "Text"}},
         {{"recipients", {"447700900301", "447700900302"}}}, {}},
        {206, "SendService", "SendMessageMultipleRecipientsFull", true,
         {{"originator", "TestAlias"}, {"body", "Hello"}, {"validityperiod", "0"}, {"type", "Text"}},
         {{"recipients", {"447700900301", "447700900302"}}}, {}},
        {209, "InboxService2", "GetMessages", true, {}, {}, {}},
        {210, "InboxService2", "DeleteMessage", true, {{"id", "20000000-0000-4000-8000-000000000001"}}, {}, {}},
        {211, "InboxService2", "DeleteMessages", true, {}, {{"ids", {"20000000-0000-4000-8000-000000000002"}}}, {}},
        {212, "AccountService", "GetMessageLimit", true, {}, {}, {}},
        {215, "InboxService2", "GetMessagesByID", true, {}, {{"ids", {"20000000-0000-4000-8000-000000000003"}}}, {}},
        {216, "InboxService2", "GetMessagesForDateRange", true,
         {{"startDate", "2024-03-14T00:00:00.0000000+01:00"}, {"endDate", "2024-03-15T00:00:00.0000000+01:00"}}, {},
         {}},
        {217, "InboxService2", "GetMessagesForDay", true, {{"day", "14"}, {"month", "3"}, {"year", "2024"}}, {}, {}},
        {218, "InboxService2", "GetMessageByID", true, {{"id", "20000000-0000-4000-8000-000000000004"}}, {}, {}},
        {219, "ContactService", "UpdateGroup", true,
         {{"ID", "2001"}, {"Name", "Pals"}, {"Description", "Old friends"}, {"GroupType", "Group"}},
         {{"memberIDs", {"1001", "1003"}}}, {}},
        {220, "ContactService", "AddContact", true, {}, {}, {"contact"}},
        {221, "ContactService", "AddContacts", true, {}, {}, {"contacts"}},
        {222, "ContactService", "AddGroup", true,
         {{"ID", ""}, {"Name", "Walkers"}, {"Description", "Sunday walks"}, {"GroupType", "Group"}},
         {{"memberIDs", {"1001", "1002"}}}, {}},
        {223, "ContactService", "DeleteContact", true, {{"id", "1004"}}, {}, {}},
        {224, "ContactService", "DeleteContacts", true, {}, {{"ids", {"1003", "1004"}}}, {}},
        {225, "ContactService", "DeleteGroup", true, {{"id", "2003"}, {"includeMembers", "false"}}, {}, {}},
        {226, "ContactService", "DeleteGroups", true, {}, {{"ids", {"2002", "2003"}}}, {}},
        {227, "ContactService", "GetContact", true, {{"id", "1001"}}, {}, {}},
        {228, "ContactService", "GetContacts", true, {}, {}, {}},
        {229, "ContactService", "GetGroup", true, {{"id", "2001"}}, {}, {}},
        {230, "ContactService", "GetGroupMembers", true, {{"id", "2001"}}, {}, {}},
        {231, "ContactService", "GetGroups", true, {}, {}, {}},
        {232, "ContactService", "UpdateContact", true, {}, {}, {"contact"}},
        {233, "TestService", "SetupTests", false, {}, {}, {}},
        {234, "SignupService", "DefaultEvaluationSignup", false,
         {{"firstName", "Jo"}, {"lastName", "Bloggs"}, {"companyName", "Bloggs Ltd"},
          {"telephoneNumber", "01632960000"}, {"mobileNumber", "07700900555"}, {"emailAddress", "jo@example.com"},
          {"mailingAgreement", "true"}}, {}, {}},
        {236, "AccountService", "GetAccountFeatures", true, {}, {}, {}},
        {237, "InboxService2", "GetLatestMessages", true, {{"lastMessageIndex", "2"}, {"maxMessages", "-1"}}, {}, {}},
        {238, "AccountService", "GetAccountState", true, {}, {}, {}},
        {239, "BrindlepostService", "GetCurrentVersion", false, {}, {}, {}},
        {240, "ContactService", "GetContactByQuickName", true, {{"name", "Alice"}}, {}, {}},
        {241, "ContactService", "GetGroupByName", true, {{"name", "Friends"}}, {}, {}},
    };
    return all;
}

std::string readTemplate(int id)
{
    std::ifstream in(std::string(STANDIN_TEMPLATE_DIR) + "/" + std::to_string(id) + ".xml", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// All elements below the operation element, by name, in document order.
std::vector<std::string> elementNames(const pugi::xml_node& operation)
{
    std::vector<std::string> names;
    for (pugi::xml_node child : operation.children())
        if (child.type() == pugi::node_element)
            names.push_back(child.name());
    return names;
}

pugi::xml_node operationElement(pugi::xml_document& doc)
{
    pugi::xml_node body = xml::childByLocalName(doc.document_element(), "Body");
    return body.first_child();
}

// What the SDK does with a value element: the single child's value becomes the text.
void setValue(pugi::xml_node operation, const std::string& name, const std::string& value)
{
    pugi::xml_node element = operation.child(name.c_str());
    ASSERT_TRUE(element) << name;
    ASSERT_TRUE(element.first_child()) << name << " has no placeholder";
    ASSERT_FALSE(element.first_child().next_sibling()) << name << " has more than one child";
    element.first_child().set_value(value.c_str());
}

// The SDK's contact writer: fourteen fields, Country before Postcode.
void appendContact(pugi::xml_node parent, const std::string& id, const std::string& quickName)
{
    const std::vector<std::pair<const char*, std::string>> fields = {
        {"ID", id}, {"QuickName", quickName}, {"FirstName", "Kim"}, {"LastName", "Kerr"}, {"TelephoneNumber", ""},
        {"MobileNumber", "447700900320"}, {"StreetAddress1", ""}, {"StreetAddress2", ""}, {"Town", "Leeds"},
        {"County", ""}, {"Country", "United Kingdom"}, {"Postcode", "LS1 1AA"}, {"EmailAddress", ""},
        {"ContactType", "Contact"}};
    for (const auto& f : fields)
        parent.append_child(f.first).append_child(pugi::node_pcdata).set_value(f.second.c_str());
}

std::string fill(const Template& t, const std::string& text, const std::string& setupName)
{
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_string(text.c_str()));
    pugi::xml_node operation = operationElement(doc);
    if (t.credentials) {
        setValue(operation, "Username", "test");
        setValue(operation, "Password", "test");
        setValue(operation, "Account", "TEST01");
    }
    for (const auto& v : t.values)
        setValue(operation, v.first, v.second);
    for (const auto& l : t.lists) {
        pugi::xml_node element = operation.child(l.first.c_str());
        EXPECT_TRUE(element) << l.first;
        element.remove_children();
        for (const std::string& item : l.second)
            element.append_child("string").append_child(pugi::node_pcdata).set_value(item.c_str());
    }
    for (const std::string& name : t.contactLists) {
        pugi::xml_node element = operation.child(name.c_str());
        EXPECT_TRUE(element) << name;
        element.remove_children();
        if (name == "contacts")
            appendContact(element.append_child("Contact"), "", "Kim");
        else
            appendContact(element, t.operation == "UpdateContact" ? "1002" : "", "Kim");
    }
    if (t.operation == "SetupTests")
        operation.set_name(setupName.c_str());
    std::ostringstream out;
    doc.save(out, "", pugi::format_raw | pugi::format_no_declaration);
    return out.str();
}

} // namespace

class Templates : public StandinTest {};

TEST_F(Templates, EveryTemplateIsAsciiSoapWithoutDeclaration)
{
    for (const Template& t : templates()) {
        std::string text = readTemplate(t.id);
        ASSERT_FALSE(text.empty()) << t.id;
        EXPECT_NE(0u, text.rfind("<?xml", 0)) << t.id;
        for (unsigned char c : text)
            ASSERT_TRUE(c < 0x80 && (c >= 0x20 || c == '\n' || c == '\r' || c == '\t')) << t.id;
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_string(text.c_str())) << t.id;
        EXPECT_EQ(xml::kSoapEnvelopeNamespace, xml::namespaceUri(doc.document_element())) << t.id;
        pugi::xml_node operation = operationElement(doc);
        EXPECT_EQ(t.operation, operation.name()) << t.id;
        EXPECT_EQ("http://com.tarvock/messenger/", xml::namespaceUri(operation)) << t.id;
    }
}

TEST_F(Templates, EachTemplateHoldsExactlyTheElementsTheSdkFills)
{
    for (const Template& t : templates()) {
        std::string text = readTemplate(t.id);
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_string(text.c_str())) << t.id;
        pugi::xml_node operation = operationElement(doc);

        std::map<std::string, bool> isValue;  // element name -> filled by value (else a list)
        for (const auto& v : t.values)
            isValue[v.first] = true;
        for (const auto& l : t.lists)
            isValue[l.first] = false;
        for (const auto& c : t.contactLists)
            isValue[c] = false;
        std::vector<std::string> actual = elementNames(operation);
        size_t first = 0;
        if (t.credentials) {
            ASSERT_LE(3u, actual.size()) << t.id;
            EXPECT_EQ((std::vector<std::string>{"Username", "Password", "Account"}),
                      std::vector<std::string>(actual.begin(), actual.begin() + 3)) << t.id;
            first = 3;
            for (const char* name : {"Username", "Password", "Account"})
                isValue[name] = true;
        }
        std::vector<std::string> arguments(actual.begin() + static_cast<long>(first), actual.end());
        std::vector<std::string> expected;
        for (const auto& entry : isValue)
            if (entry.first != "Username" && entry.first != "Password" && entry.first != "Account")
                expected.push_back(entry.first);
        std::sort(arguments.begin(), arguments.end());
        EXPECT_EQ(expected, arguments) << t.id;
        for (const auto& entry : isValue) {
            pugi::xml_node element = operation.child(entry.first.c_str());
            ASSERT_TRUE(element) << t.id << " lacks " << entry.first;
            int children = 0;
            for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling())
                ++children;
            EXPECT_EQ(entry.second ? 1 : 0, children) << t.id << " " << entry.first;
        }
    }
}

TEST_F(Templates, FilledTemplatesAreAccepted)
{
    for (const Template& t : templates()) {
        std::vector<std::string> operations = {t.operation};
        if (t.operation == "SetupTests")
            operations = {"SetupContactTests", "SetupAccountTests", "SetupSendTests", "SetupInboxTests",
                          "SetupSignupTests"};
        for (const std::string& operation : operations) {
            server().reset();
            std::string body = fill(t, readTemplate(t.id), operation);
            Reply reply = postRaw("/secure/messenger/soap/" + t.endPoint + ".asmx",
                                  "http://com.tarvock/messenger/" + operation, body);
            EXPECT_EQ(200, reply.status()) << t.id << " " << operation << ": " << reply.body();
            auto res = client().Get("/standin/requests/last");
            ASSERT_TRUE(res);
            EXPECT_NE(std::string::npos, res->body.find("<operation>" + operation + "</operation>")) << t.id;
        }
    }
}

TEST_F(Templates, FilledTemplatesGiveTheExpectedResults)
{
    auto run = [&](int id) {
        for (const Template& t : templates())
            if (t.id == id) {
                std::string body = fill(t, readTemplate(t.id), t.operation);
                Reply raw = postRaw("/secure/messenger/soap/" + t.endPoint + ".asmx",
                                    "http://com.tarvock/messenger/" + t.operation, body);
                return Reply(raw.status(), raw.body(), t.operation);
            }
        throw std::runtime_error("no template " + std::to_string(id));
    };
    EXPECT_EQ("Queued", run(204).resultText());
    EXPECT_EQ(2u, run(206).resultItems().size());
    EXPECT_EQ(4u, run(216).resultItems().size());
    EXPECT_EQ(3u, run(237).resultItems().size());
    EXPECT_EQ("9.8.7.6", run(239).resultText());
    EXPECT_EQ("1001", Reply::field(run(240).result(), "ID"));

    std::string added = run(220).resultText();
    Reply contact = post(SoapCall("ContactService", "GetContact").as(kTest).arg("id", added));
    EXPECT_EQ("LS1 1AA", Reply::field(contact.result(), "Postcode"));
    EXPECT_EQ("United Kingdom", Reply::field(contact.result(), "Country"));

    // Without credentials filled in, the account templates are refused.
    for (const Template& t : templates())
        if (t.id == 212) {
            Reply reply = postRaw("/secure/messenger/soap/AccountService.asmx",
                                  "http://com.tarvock/messenger/GetMessageLimit", readTemplate(212));
            expectFault(reply, 2);
        }
}

TEST(TemplateResources, ListsEveryTemplate)
{
    std::ifstream in(std::string(STANDIN_TEMPLATE_DIR) + "/templates.rc.inc");
    std::ostringstream text;
    text << in.rdbuf();
    for (const Template& t : templates()) {
        std::string line = std::to_string(t.id) + " XML \"xml/" + std::to_string(t.id) + ".xml\"";
        EXPECT_NE(std::string::npos, text.str().find(line)) << line;
    }
}
