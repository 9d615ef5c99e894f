#pragma once
// Messages, contacts and groups as XML elements.

#include <pugixml.hpp>

#include "Model.h"

namespace records {

// Fills element with id, originator, recipient, body, sentat, receivedat, type, status, username and
// messageIndex.
void writeMessage(pugi::xml_node element, const Message& message);
// Appends an <SMSMessage> element holding the message.
void appendMessage(pugi::xml_node parent, const Message& message);

// Fills element with ID, QuickName, FirstName, LastName, TelephoneNumber, MobileNumber, StreetAddress1,
// StreetAddress2, Town, County, Postcode, Country, EmailAddress and ContactType.
void writeContact(pugi::xml_node element, const Contact& contact);
// Fills element with ID, Name, Description and GroupType.
void writeGroup(pugi::xml_node element, const ContactGroup& group);

// The contact fields found among the element's children by local name (a missing field is empty; the ID
// is left 0). Raises a validation fault for a ContactType other than "Contact" or "Subscriber".
Contact readContact(const pugi::xml_node& element);

} // namespace records
