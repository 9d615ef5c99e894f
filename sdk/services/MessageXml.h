// Inbox messages read from a response: one SMSMessage2 per element, lists in an ObjectCollection.
#pragma once

#include <windows.h>
#include <msxml2.h>

#include <atlbase.h>

#include "TarvockLib.h"

// A new SMSMessage2 from the children of element ("id", "originator", "recipient", "body",
// "sentat", "receivedat", "type", "status", "username", "messageIndex"); others are ignored.
CComPtr<ISMSMessage2> SMSMessageFromXml(IXMLDOMNode* element);

// A new ObjectCollection with one message per child element of element, in document order.
CComPtr<IObjectCollection> SMSMessageListFromXml(IXMLDOMNode* element);

// The status of the text of the element tag: the four wire texts, any other text or a missing
// element 0.
MESSAGE_STATUS MessageStatusFromXml(IXMLDOMDocument* response, const wchar_t* tag);
