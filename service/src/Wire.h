#pragma once
// Wire texts of the service's enumerations.

#include <optional>
#include <string>

enum class MessageType { Text = 1, Binary = 2, SmartMessage = 3, Unicode = 4 };
enum class MessageStatus { Queued = 1, Sent = 2, Delivered = 3, Failed = 4 };
enum class ContactType { Contact = 0, Subscriber = 1 };
enum class GroupType { Group = 0, AllSubscribed = 1 };

// Account feature flags.
enum AccountFeature : unsigned { FeatureNone = 0, FeatureServiceAliasing = 1, FeatureInbox = 2 };

namespace wire {

std::string text(MessageType type);
std::string text(MessageStatus status);
std::string text(ContactType type);
std::string text(GroupType type);
// Space-separated words "ServiceAliasing" and "Inbox"; empty for no feature.
std::string featuresText(unsigned features);

std::optional<MessageType> messageType(const std::string& text);
std::optional<MessageStatus> messageStatus(const std::string& text);
std::optional<ContactType> contactType(const std::string& text);
std::optional<GroupType> groupType(const std::string& text);
// "true"/"1" and "false"/"0".
std::optional<bool> boolean(const std::string& text);
std::string text(bool value);

} // namespace wire
