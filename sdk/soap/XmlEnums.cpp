// The wire texts of the type library's enumerations.
#include "XmlUtils.h"

#include <cwchar>

namespace {

bool Is(const wchar_t* text, const wchar_t* expected) {
    return text && std::wcscmp(text, expected) == 0;
}

const wchar_t* const kMessageTypes[] = {L"Text", L"Binary", L"SmartMessage", L"Unicode"};
const wchar_t* const kMessageStatuses[] = {L"Queued", L"Sent", L"Delivered", L"Failed"};

}  // namespace

const wchar_t* CXmlUtils::MessageTypeText(MESSAGE_TYPE type) {
    if (type < MESSAGE_TYPE_TEXT || type > MESSAGE_TYPE_UNICODE) return nullptr;
    return kMessageTypes[type - MESSAGE_TYPE_TEXT];
}

MESSAGE_TYPE CXmlUtils::MessageTypeFromText(const wchar_t* text) {
    for (int i = 0; i < 4; ++i) {
        if (Is(text, kMessageTypes[i])) return static_cast<MESSAGE_TYPE>(MESSAGE_TYPE_TEXT + i);
    }
    return static_cast<MESSAGE_TYPE>(0);
}

MESSAGE_STATUS CXmlUtils::MessageStatusFromText(const wchar_t* text) {
    for (int i = 0; i < 4; ++i) {
        if (Is(text, kMessageStatuses[i])) return static_cast<MESSAGE_STATUS>(MESSAGE_STATUS_QUEUED + i);
    }
    return static_cast<MESSAGE_STATUS>(0);
}

const wchar_t* CXmlUtils::ContactTypeText(long type) {
    return type == CONTACT_TYPE_SUBSCRIBER ? L"Subscriber" : L"Contact";
}

CONTACT_TYPE CXmlUtils::ContactTypeFromText(const wchar_t* text) {
    return Is(text, L"Subscriber") ? CONTACT_TYPE_SUBSCRIBER : CONTACT_TYPE_CONTACT;
}

const wchar_t* CXmlUtils::ContactGroupTypeText(long type) {
    return type == CONTACT_GROUP_TYPE_SUBSCRIBERS ? L"AllSubscribed" : L"Group";
}

CONTACT_GROUP_TYPE CXmlUtils::ContactGroupTypeFromText(const wchar_t* text) {
    return Is(text, L"AllSubscribed") ? CONTACT_GROUP_TYPE_SUBSCRIBERS : CONTACT_GROUP_TYPE_GROUP;
}
