#include <windows.h>

#include "SendService.h"

#include "MessageXml.h"
#include "Method.h"
#include "RequestTemplates.h"
#include "ServiceArguments.h"
#include "SoapRequest.h"
#include "XmlUtils.h"

namespace {
const char kLog[] = "CSendService";
}

STDMETHODIMP CSendService::Initialise(BSTR Username, BSTR Password, BSTR Account, VARIANT IsServerSide) {
    return ForwardInitialise(kLog, kLog, m_soap, Username, Password, Account, IsServerSide);
}

STDMETHODIMP CSendService::SendMessageFull(BSTR Originator, BSTR Recipient, BSTR Body, MESSAGE_TYPE Type,
                                           LONG ValidityPeriod, BSTR* pMessageID) {
    return RunMethod(kLog, kLog, "SendMessageFull", [&] {
        RequireText(Originator, "Originator");
        RequireText(Recipient, "Recipient");
        RequireText(Body, "Body");
        RequireResult(pMessageID);
        CComPtr<IXMLDOMDocument> response = CSoapRequest(RequestTemplate::SendMessageFull)
                                                .Text(L"originator", Originator)
                                                .Text(L"recipient", Recipient)
                                                .Text(L"body", Body)
                                                .Long(L"validityperiod", ValidityPeriod)
                                                .Type(Type)
                                                .Post(m_soap, L"SendMessageFull");
        *pMessageID = CXmlUtils::GetElementText(response, L"SendMessageFullResult").Detach();
    });
}

STDMETHODIMP CSendService::SendMessage(BSTR Recipient, BSTR Body, MESSAGE_TYPE Type, BSTR* pMessageID) {
    return RunMethod(kLog, kLog, "SendMessage", [&] {
        RequireText(Recipient, "Recipient");
        RequireText(Body, "Body");
        RequireResult(pMessageID);
        CComPtr<IXMLDOMDocument> response = CSoapRequest(RequestTemplate::SendMessage)
                                                .Text(L"recipient", Recipient)
                                                .Text(L"body", Body)
                                                .Type(Type)
                                                .Post(m_soap, L"SendMessage");
        *pMessageID = CXmlUtils::GetElementText(response, L"SendMessageResult").Detach();
    });
}

STDMETHODIMP CSendService::GetMessageStatus(BSTR MessageID, MESSAGE_STATUS* pStatus) {
    return RunMethod(kLog, kLog, "GetMessageStatus", [&] {
        RequirePresent(kLog, MessageID, "MessageID");
        RequireResult(pStatus);
        CComPtr<IXMLDOMDocument> response =
            CSoapRequest(RequestTemplate::GetMessageStatus).Text(L"id", MessageID).Post(m_soap, L"GetMessageStatus");
        *pStatus = MessageStatusFromXml(response, L"GetMessageStatusResult");
    });
}

STDMETHODIMP CSendService::SendMessageMultipleRecipients(BSTR Recipients, BSTR Body, MESSAGE_TYPE Type,
                                                         IStringCollection2** pMessageIDs) {
    return RunMethod(kLog, kLog, "SendMessageMultipleRecipients", [&] {
        RequirePresent(kLog, Recipients, "Recipients");
        RequireText(Body, "Body");
        RequireResult(pMessageIDs);
        CComPtr<IXMLDOMDocument> response = CSoapRequest(RequestTemplate::SendMessageMultipleRecipients)
                                                .IDList(L"recipients", Recipients)
                                                .Text(L"body", Body)
                                                .Type(Type)
                                                .Post(m_soap, L"SendMessageMultipleRecipients");
        *pMessageIDs = CXmlUtils::ReadStringCollection(response, L"SendMessageMultipleRecipientsResult").Detach();
    });
}

STDMETHODIMP CSendService::SendMessageMultipleRecipientsFull(BSTR Originator, BSTR Recipients, BSTR Body,
                                                             MESSAGE_TYPE Type, LONG ValidityPeriod,
                                                             IStringCollection2** pMessageIDs) {
    return RunMethod(kLog, kLog, "SendMessageMultipleRecipientsFull", [&] {
        RequireText(Originator, "Originator");
        RequirePresent(kLog, Recipients, "Recipients");
        RequireText(Body, "Body");
        RequireResult(pMessageIDs);
        CComPtr<IXMLDOMDocument> response = CSoapRequest(RequestTemplate::SendMessageMultipleRecipientsFull)
                                                .Text(L"originator", Originator)
                                                .IDList(L"recipients", Recipients)
                                                .Text(L"body", Body)
                                                .Long(L"validityperiod", ValidityPeriod)
                                                .Type(Type)
                                                .Post(m_soap, L"SendMessageMultipleRecipientsFull");
        *pMessageIDs = CXmlUtils::ReadStringCollection(response, L"SendMessageMultipleRecipientsFullResult").Detach();
    });
}

STDMETHODIMP CSendService::Dummy(ERROR_CODE) {
    return E_NOTIMPL;
}
