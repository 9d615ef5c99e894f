// InboxService2: reading and deleting the messages an account received. Every operation needs the
// account's inbox feature. Lists come newest (highest message index) first.

#include "Guid.h"
#include "OperationTable.h"
#include "RecordXml.h"
#include "ServiceError.h"
#include "Store.h"
#include "Validation.h"

namespace {

void requireInbox(const OperationContext& context)
{
    if (!context.account().has(FeatureInbox))
        throw ServiceError(ErrorCode::FeatureNotSupported, "The account has no inbox.");
}

std::string messageId(const std::string& text)
{
    auto id = guid::normalise(validation::trim(text));
    if (!id)
        throw ServiceError(ErrorCode::MessageIdFormatInvalid,
                           "The message identifier \"" + validation::trim(text) + "\" is not in the right format.");
    return *id;
}

// The account's inbox message; 8 when no inbox holds it, 16 when another account's does.
std::optional<Message> ownMessage(OperationContext& context, const std::string& id, bool required)
{
    auto message = context.store().messages().find(id, Folder::Inbox);
    if (!message) {
        if (required)
            throw ServiceError(ErrorCode::MessageNotFound, "The message " + id + " was not found.");
        return std::nullopt;
    }
    if (message->accountId != context.account().id)
        throw ServiceError(ErrorCode::NotAuthorised, "The message " + id + " belongs to another account.");
    return message;
}

std::vector<Message> ownMessages(OperationContext& context, const std::vector<std::string>& texts)
{
    std::vector<Message> messages;
    for (const std::string& text : texts) {
        if (validation::trim(text).empty())
            continue;
        messages.push_back(*ownMessage(context, messageId(text), true));
    }
    return messages;
}

void writeList(OperationContext& context, const std::vector<Message>& messages)
{
    pugi::xml_node result = context.response().result();
    for (const Message& m : messages)
        records::appendMessage(result, m);
}

void deleteMessage(OperationContext& context)
{
    requireInbox(context);
    auto message = ownMessage(context, messageId(context.text("id")), true);
    context.store().messages().remove(message->id);
}

void deleteMessages(OperationContext& context)
{
    requireInbox(context);
    for (const Message& m : ownMessages(context, context.list("ids")))
        context.store().messages().remove(m.id);
}

void getMessages(OperationContext& context)
{
    requireInbox(context);
    writeList(context, context.store().messages().inbox(context.account().id));
}

void getMessageById(OperationContext& context)
{
    requireInbox(context);
    // An unknown message leaves the result element out.
    if (auto message = ownMessage(context, messageId(context.text("id")), false))
        records::writeMessage(context.response().result(), *message);
}

void getMessagesForDay(OperationContext& context)
{
    requireInbox(context);
    int day = context.integer("day");
    int month = context.integer("month");
    int year = context.integer("year");
    if (!datetime::isValidDate(year, month, day))
        throw ServiceError(ErrorCode::Validation, "The date " + std::to_string(year) + "-" + std::to_string(month) +
                                                      "-" + std::to_string(day) + " is not valid.");
    datetime::Millis start = datetime::fromFields(year, month, day);
    writeList(context, context.store().messages().inboxReceivedBetween(context.account().id, start,
                                                                       start + datetime::kMillisPerDay));
}

datetime::Millis dateArgument(const OperationContext& context, const std::string& name)
{
    std::string text = validation::trim(context.text(name));
    auto value = datetime::fromWire(text);
    if (!value)
        throw ServiceError(ErrorCode::Validation, "The date \"" + text + "\" in \"" + name + "\" is not valid.");
    return *value;
}

// From startDate up to the end of the day of endDate.
void getMessagesForDateRange(OperationContext& context)
{
    requireInbox(context);
    datetime::Millis start = dateArgument(context, "startDate");
    datetime::Millis end = datetime::startOfDay(dateArgument(context, "endDate")) + datetime::kMillisPerDay;
    writeList(context, context.store().messages().inboxReceivedBetween(context.account().id, start, end));
}

// In the order the identifiers were given.
void getMessagesById(OperationContext& context)
{
    requireInbox(context);
    writeList(context, ownMessages(context, context.list("ids")));
}

void getLatestMessages(OperationContext& context)
{
    requireInbox(context);
    int last = context.integer("lastMessageIndex");
    int max = context.integer("maxMessages");
    writeList(context, context.store().messages().inboxAfterIndex(context.account().id, last, max));
}

} // namespace

void registerInboxOperations(OperationTable& table)
{
    const std::string ep = "InboxService2";
    table.add(ep, "DeleteMessage", Access::Account, deleteMessage);
    table.add(ep, "DeleteMessages", Access::Account, deleteMessages);
    table.add(ep, "GetMessages", Access::Account, getMessages);
    table.add(ep, "GetMessageByID", Access::Account, getMessageById);
    table.add(ep, "GetMessagesForDay", Access::Account, getMessagesForDay);
    table.add(ep, "GetMessagesForDateRange", Access::Account, getMessagesForDateRange);
    table.add(ep, "GetMessagesByID", Access::Account, getMessagesById);
    table.add(ep, "GetLatestMessages", Access::Account, getLatestMessages);
}
