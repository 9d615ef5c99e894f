#include "RecordXml.h"

#include "ServiceError.h"
#include "SoapRequest.h"
#include "SoapResponse.h"
#include "Validation.h"

namespace records {

using soap::appendText;

void appendMessage(pugi::xml_node parent, const Message& m)
{
    writeMessage(parent.append_child("SMSMessage"), m);
}

void writeMessage(pugi::xml_node node, const Message& m)
{
    appendText(node, "id", m.id);
    appendText(node, "originator", m.originator);
    appendText(node, "recipient", m.recipient);
    appendText(node, "body", m.body);
    appendText(node, "sentat", datetime::toWire(m.sentAt));
    appendText(node, "receivedat", datetime::toWire(m.receivedAt));
    appendText(node, "type", wire::text(m.type));
    appendText(node, "status", wire::text(m.status));
    appendText(node, "username", m.username);
    appendText(node, "messageIndex", std::to_string(m.messageIndex));
}

void writeContact(pugi::xml_node element, const Contact& c)
{
    appendText(element, "ID", std::to_string(c.id));
    appendText(element, "QuickName", c.quickName);
    appendText(element, "FirstName", c.firstName);
    appendText(element, "LastName", c.lastName);
    appendText(element, "TelephoneNumber", c.telephoneNumber);
    appendText(element, "MobileNumber", c.mobileNumber);
    appendText(element, "StreetAddress1", c.streetAddress1);
    appendText(element, "StreetAddress2", c.streetAddress2);
    appendText(element, "Town", c.town);
    appendText(element, "County", c.county);
    appendText(element, "Postcode", c.postcode);
    appendText(element, "Country", c.country);
    appendText(element, "EmailAddress", c.emailAddress);
    appendText(element, "ContactType", wire::text(c.contactType));
}

void writeGroup(pugi::xml_node element, const ContactGroup& g)
{
    appendText(element, "ID", std::to_string(g.id));
    appendText(element, "Name", g.name);
    appendText(element, "Description", g.description);
    appendText(element, "GroupType", wire::text(g.groupType));
}

Contact readContact(const pugi::xml_node& element)
{
    auto field = [&](const char* name) { return xml::textOf(xml::childByLocalName(element, name)); };
    Contact c;
    c.quickName = validation::trim(field("QuickName"));
    c.firstName = field("FirstName");
    c.lastName = field("LastName");
    c.telephoneNumber = field("TelephoneNumber");
    c.mobileNumber = field("MobileNumber");
    c.streetAddress1 = field("StreetAddress1");
    c.streetAddress2 = field("StreetAddress2");
    c.town = field("Town");
    c.county = field("County");
    c.postcode = field("Postcode");
    c.country = field("Country");
    c.emailAddress = field("EmailAddress");
    std::string type = validation::trim(field("ContactType"));
    if (!type.empty()) {
        auto parsed = wire::contactType(type);
        if (!parsed)
            throw ServiceError(ErrorCode::Validation, "The contact type \"" + type + "\" is not known.");
        c.contactType = *parsed;
    }
    return c;
}

} // namespace records
