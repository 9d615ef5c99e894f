#pragma once
// The records the service keeps.

#include <cstdint>
#include <string>

#include "DateTime.h"
#include "Wire.h"

struct Account {
    std::string id;         // GUID text
    std::string reference;  // the "Account" credential, e.g. DEMO01
    std::string username;
    std::string password;
    std::string address;    // the account's own mobile number; messages sent to it arrive in its inbox
    std::string serviceAlias;
    int messageLimit = 0;
    unsigned features = FeatureNone;
    bool live = true;
    bool subscribed = true;
    int lastMessageIndex = 0;

    bool has(AccountFeature feature) const { return (features & feature) != 0; }
};

enum class Folder { Sent, Inbox };

struct Message {
    std::string id;  // GUID text
    std::string accountId;
    Folder folder = Folder::Sent;
    std::string originator;
    std::string recipient;
    std::string body;
    datetime::Millis sentAt = 0;
    datetime::Millis receivedAt = 0;
    MessageType type = MessageType::Text;
    MessageStatus status = MessageStatus::Queued;
    std::string username;
    int messageIndex = 0;  // increasing per account in the inbox; 0 for sent messages
    int validityPeriod = 0;
};

struct Contact {
    std::int64_t id = 0;
    std::string accountId;
    std::string quickName;
    std::string firstName;
    std::string lastName;
    std::string telephoneNumber;
    std::string mobileNumber;
    std::string streetAddress1;
    std::string streetAddress2;
    std::string town;
    std::string county;
    std::string postcode;
    std::string country;
    std::string emailAddress;
    ContactType contactType = ContactType::Contact;
};

struct ContactGroup {
    std::int64_t id = 0;
    std::string accountId;
    std::string name;
    std::string description;
    GroupType groupType = GroupType::Group;
};
