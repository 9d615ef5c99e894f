#include <windows.h>

#include "MessageXml.h"

#include "ResultXml.h"
#include "XmlUtils.h"

namespace {

// Sets the property that a child named name stands for; other names are ignored.
void SetMessageField(ISMSMessage2* message, const CComBSTR& name, const CComBSTR& text) {
    if (IsNamed(name, L"id")) {
        RaiseIfFailed(message->put_ID(text));
    } else if (IsNamed(name, L"originator")) {
        RaiseIfFailed(message->put_Originator(text));
    } else if (IsNamed(name, L"recipient")) {
        RaiseIfFailed(message->put_Recipient(text));
    } else if (IsNamed(name, L"body")) {
        RaiseIfFailed(message->put_Body(text));
    } else if (IsNamed(name, L"sentat")) {
        RaiseIfFailed(message->put_SentAt(CXmlUtils::XmlDateTimeToDate(text)));
    } else if (IsNamed(name, L"receivedat")) {
        RaiseIfFailed(message->put_ReceivedAt(CXmlUtils::XmlDateTimeToDate(text)));
    } else if (IsNamed(name, L"type")) {
        RaiseIfFailed(message->put_Type(CXmlUtils::MessageTypeFromText(text)));
    } else if (IsNamed(name, L"status")) {
        RaiseIfFailed(message->put_Status(CXmlUtils::MessageStatusFromText(text)));
    } else if (IsNamed(name, L"username")) {
        RaiseIfFailed(message->put_Username(text));
    } else if (IsNamed(name, L"messageIndex")) {
        RaiseIfFailed(message->put_MessageIndex(CXmlUtils::LeadingInteger(text)));
    }
}

}  // namespace

CComPtr<ISMSMessage2> SMSMessageFromXml(IXMLDOMNode* element) {
    CComPtr<ISMSMessage2> message = CreateDataObject<ISMSMessage2>(CLSID_SMSMessage2);
    ForEachField(element, [&](const CComBSTR& name, const CComBSTR& text) { SetMessageField(message, name, text); });
    return message;
}

CComPtr<IObjectCollection> SMSMessageListFromXml(IXMLDOMNode* element) {
    CComPtr<IObjectCollection> messages = CreateDataObject<IObjectCollection>(CLSID_ObjectCollection);
    ForEachChildElement(element, [&](IXMLDOMNode* child) { RaiseIfFailed(messages->Add(SMSMessageFromXml(child))); });
    return messages;
}

MESSAGE_STATUS MessageStatusFromXml(IXMLDOMDocument* response, const wchar_t* tag) {
    return CXmlUtils::MessageStatusFromText(CXmlUtils::GetElementText(response, tag));
}
