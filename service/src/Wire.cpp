#include "Wire.h"

namespace wire {

std::string text(MessageType type)
{
    switch (type) {
    case MessageType::Text: return "Text";
    case MessageType::Binary: return "Binary";
    case MessageType::SmartMessage: return "SmartMessage";
    case MessageType::Unicode: return "Unicode";
    }
    return "Text";
}

std::string text(MessageStatus status)
{
    switch (status) {
    case MessageStatus::Queued: return "Queued";
    case MessageStatus::Sent: return "Sent";
    case MessageStatus::Delivered: return "Delivered";
    case MessageStatus::Failed: return "Failed";
    }
    return "Queued";
}

std::string text(ContactType type)
{
    return type == ContactType::Subscriber ? "Subscriber" : "Contact";
}

std::string text(GroupType type)
{
    return type == GroupType::AllSubscribed ? "AllSubscribed" : "Group";
}

std::string featuresText(unsigned features)
{
    std::string result;
    if (features & FeatureServiceAliasing)
        result = "ServiceAliasing";
    if (features & FeatureInbox)
        result += result.empty() ? "Inbox" : " Inbox";
    return result;
}

std::optional<MessageType> messageType(const std::string& text)
{
    for (MessageType t : {MessageType::Text, MessageType::Binary, MessageType::SmartMessage, MessageType::Unicode})
        if (wire::text(t) == text)
            return t;
    return std::nullopt;
}

std::optional<MessageStatus> messageStatus(const std::string& text)
{
    for (MessageStatus s :
         {MessageStatus::Queued, MessageStatus::Sent, MessageStatus::Delivered, MessageStatus::Failed})
        if (wire::text(s) == text)
            return s;
    return std::nullopt;
}

std::optional<ContactType> contactType(const std::string& text)
{
    if (text == "Contact")
        return ContactType::Contact;
    if (text == "Subscriber")
        return ContactType::Subscriber;
    return std::nullopt;
}

std::optional<GroupType> groupType(const std::string& text)
{
    if (text == "Group")
        return GroupType::Group;
    if (text == "AllSubscribed")
        return GroupType::AllSubscribed;
    return std::nullopt;
}

std::optional<bool> boolean(const std::string& text)
{
    if (text == "true" || text == "1")
        return true;
    if (text == "false" || text == "0")
        return false;
    return std::nullopt;
}

std::string text(bool value)
{
    return value ? "true" : "false";
}

} // namespace wire
