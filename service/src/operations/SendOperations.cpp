// SendService: sending messages and asking for a sent message's status.

#include <algorithm>

#include "ContactStore.h"
#include "Guid.h"
#include "OperationTable.h"
#include "ServiceError.h"
#include "Store.h"
#include "Validation.h"

namespace {

struct Submission {
    std::optional<std::string> originator;  // only the "Full" operations name one
    std::vector<std::string> recipients;
    std::string body;
    MessageType type = MessageType::Text;
    int validityPeriod = 0;
};

// Checks a submission against the account and stores one message per recipient number, names of the
// account's contacts and groups resolved. Nothing is stored when a check fails. A recipient that is the address of an account also gets the message in its inbox.
class Outbox {
public:
    explicit Outbox(OperationContext& context) : context_(context), account_(context.account()) {}

    std::vector<std::string> send(const Submission& submission)
    {
        if (!account_.subscribed)
            throw ServiceError(ErrorCode::NoActiveSubscription);
        std::string originator = checkedOriginator(submission.originator);
        std::vector<std::string> recipients = checkedRecipients(submission.recipients);
        if (auto problem = validation::bodyProblem(submission.body, submission.type))
            throw ServiceError(ErrorCode::Validation, *problem);
        if (submission.validityPeriod < 0)
            throw ServiceError(ErrorCode::Validation, "The validity period must not be negative.");
        if (static_cast<long long>(recipients.size()) > account_.messageLimit)
            throw ServiceError(ErrorCode::MessageLimitExceeded,
                               "Sending to " + std::to_string(recipients.size()) +
                                   " recipients needs more than the account's remaining message limit of " +
                                   std::to_string(account_.messageLimit) + ".");

        std::vector<std::string> ids;
        for (const std::string& recipient : recipients)
            ids.push_back(store(originator, recipient, submission));
        context_.store().accounts().setMessageLimit(account_.id,
                                                    account_.messageLimit - static_cast<int>(recipients.size()));
        return ids;
    }

private:
    // The account's own alias, address and reference may always stand as originator; any other text needs
    // the service-aliasing feature.
    std::string checkedOriginator(const std::optional<std::string>& requested) const
    {
        std::string originator = requested ? validation::trim(*requested) : std::string();
        if (originator.empty())
            return account_.serviceAlias.empty() ? account_.address : account_.serviceAlias;
        if (!validation::isValidOriginator(originator))
            throw ServiceError(ErrorCode::Validation, "The originator \"" + originator +
                                                          "\" is not valid: use up to 11 characters or a number.");
        bool own = originator == account_.serviceAlias || originator == account_.address ||
                   originator == account_.reference;
        if (!own && !account_.has(FeatureServiceAliasing))
            throw ServiceError(ErrorCode::FeatureNotSupported,
                               "The account cannot send with an originator of its own choice.");
        return originator;
    }

    // The numbers the recipients stand for, each once, in the order first met. An entry that is no mobile
    // number may name one of the account's contacts (its mobile number) or groups (each member's mobile
    // number; members without one are left out), ignoring letter case and blanks at the ends.
    std::vector<std::string> checkedRecipients(const std::vector<std::string>& requested) const
    {
        std::vector<std::string> recipients;
        auto add = [&recipients](const std::string& number) {
            if (std::find(recipients.begin(), recipients.end(), number) == recipients.end())
                recipients.push_back(number);
        };
        ContactStore& book = context_.store().contacts();
        for (const std::string& text : requested) {
            std::string entry = validation::trim(text);
            if (entry.empty())
                continue;
            if (auto number = validation::mobileNumber(entry)) {
                add(*number);
            } else if (auto contact = book.contactByQuickName(account_.id, entry)) {
                auto mobile = validation::mobileNumber(contact->mobileNumber);
                if (!mobile)
                    throw ServiceError(ErrorCode::RecipientInvalid,
                                       "The contact \"" + contact->quickName + "\" has no mobile number.");
                add(*mobile);
            } else if (auto group = book.groupByName(account_.id, entry)) {
                for (const Contact& member : book.groupMembers(*group))
                    if (auto mobile = validation::mobileNumber(member.mobileNumber))
                        add(*mobile);
            } else {
                throw ServiceError(ErrorCode::RecipientInvalid,
                                   "The recipient \"" + entry +
                                       "\" is neither a valid mobile number nor one of the account's contacts or groups.");
            }
        }
        if (recipients.empty())
            throw ServiceError(ErrorCode::RecipientMissing);
        return recipients;
    }

    std::string store(const std::string& originator, const std::string& recipient, const Submission& submission)
    {
        Message sent;
        sent.id = guid::generate();
        sent.accountId = account_.id;
        sent.folder = Folder::Sent;
        sent.originator = originator;
        sent.recipient = recipient;
        sent.body = submission.body;
        sent.sentAt = context_.now();
        sent.receivedAt = context_.now();
        sent.type = submission.type;
        sent.status = MessageStatus::Queued;
        sent.username = account_.username;
        sent.validityPeriod = submission.validityPeriod;
        context_.store().messages().insert(sent);

        if (auto receiver = context_.store().accounts().findByAddress(recipient)) {
            Message received = sent;
            received.id = guid::generate();
            received.accountId = receiver->id;
            received.folder = Folder::Inbox;
            received.status = MessageStatus::Delivered;
            received.username = receiver->username;
            received.messageIndex = context_.store().accounts().nextMessageIndex(receiver->id);
            received.validityPeriod = 0;
            context_.store().messages().insert(received);
        }
        return sent.id;
    }

    OperationContext& context_;
    const Account& account_;
};

MessageType messageType(const OperationContext& context)
{
    std::string text = validation::trim(context.text("type"));
    auto type = wire::messageType(text);
    if (!type)
        throw ServiceError(ErrorCode::Validation, "The message type \"" + text + "\" is not known.");
    return *type;
}

Submission submission(const OperationContext& context, bool full, bool many)
{
    Submission s;
    if (full)
        s.originator = context.text("originator");
    if (many) {
        auto recipients = context.request().list("recipients");
        if (!recipients)
            throw ServiceError(ErrorCode::RecipientMissing);
        s.recipients = *recipients;
    } else {
        s.recipients = {context.textOr("recipient", "")};
    }
    s.body = context.text("body");
    s.type = messageType(context);
    if (full)
        s.validityPeriod = context.integer("validityperiod");
    return s;
}

void sendOne(OperationContext& context, bool full)
{
    auto ids = Outbox(context).send(submission(context, full, false));
    context.response().setResultText(ids.front());
}

void sendMany(OperationContext& context, bool full)
{
    auto ids = Outbox(context).send(submission(context, full, true));
    pugi::xml_node result = context.response().result();
    for (const std::string& id : ids)
        soap::appendText(result, "string", id);
}

void getMessageStatus(OperationContext& context)
{
    auto id = guid::normalise(validation::trim(context.text("id")));
    if (!id)
        throw ServiceError(ErrorCode::MessageIdFormatInvalid);
    auto message = context.store().messages().find(*id, Folder::Sent);
    if (!message)
        throw ServiceError(ErrorCode::MessageNotFound);
    if (message->accountId != context.account().id)
        throw ServiceError(ErrorCode::NotAuthorised, "The message belongs to another account.");
    context.response().setResultText(wire::text(message->status));
}

} // namespace

void registerSendOperations(OperationTable& table)
{
    const std::string ep = "SendService";
    table.add(ep, "SendMessage", Access::Account, [](OperationContext& c) { sendOne(c, false); });
    table.add(ep, "SendMessageFull", Access::Account, [](OperationContext& c) { sendOne(c, true); });
    table.add(ep, "SendMessageMultipleRecipients", Access::Account, [](OperationContext& c) { sendMany(c, false); });
    table.add(ep, "SendMessageMultipleRecipientsFull", Access::Account,
              [](OperationContext& c) { sendMany(c, true); });
    table.add(ep, "GetMessageStatus", Access::Account, getMessageStatus);
}
