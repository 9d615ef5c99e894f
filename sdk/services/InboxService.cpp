#include <windows.h>

#include "InboxService.h"

#include "MessageXml.h"
#include "Method.h"
#include "RequestTemplates.h"
#include "ResultXml.h"
#include "ServiceArguments.h"
#include "SoapRequest.h"

namespace {

const char kLog[] = "CInboxService";

// The messages of the list element named resultTag in the response.
IObjectCollection* MessageList(IXMLDOMDocument* response, const wchar_t* resultTag) {
    return SMSMessageListFromXml(RequireResultElement(response, resultTag)).Detach();
}

}  // namespace

STDMETHODIMP CInboxService::Initialise(BSTR Username, BSTR Password, BSTR Account, VARIANT IsServerSide) {
    return ForwardInitialise(kLog, kLog, m_soap, Username, Password, Account, IsServerSide);
}

STDMETHODIMP CInboxService::DeleteMessage(BSTR MessageID) {
    return RunMethod(kLog, kLog, "DeleteMessage", [&] {
        RequirePresent(kLog, MessageID, "MessageID");
        CSoapRequest(RequestTemplate::DeleteMessage).Text(L"id", MessageID).Post(m_soap, L"DeleteMessage");
    });
}

STDMETHODIMP CInboxService::DeleteMessages(BSTR MessageIDs) {
    return RunMethod(kLog, kLog, "DeleteMessages", [&] {
        RequirePresent(kLog, MessageIDs, "MessageIDs");
        CSoapRequest(RequestTemplate::DeleteMessages).IDList(L"ids", MessageIDs).Post(m_soap, L"DeleteMessages");
    });
}

STDMETHODIMP CInboxService::GetMessages(IObjectCollection** pMessages) {
    return RunMethod(kLog, kLog, "GetMessages", [&] {
        RequireResult(pMessages);
        CComPtr<IXMLDOMDocument> response = CSoapRequest(RequestTemplate::GetMessages).Post(m_soap, L"GetMessages");
        *pMessages = MessageList(response, L"GetMessagesResult");
    });
}

STDMETHODIMP CInboxService::GetMessage(BSTR MessageID, ISMSMessage2** pMessage) {
    return RunMethod(kLog, kLog, "GetMessage", [&] {
        RequirePresent(kLog, MessageID, "MessageID");
        RequireResult(pMessage);
        CComPtr<IXMLDOMDocument> response =
            CSoapRequest(RequestTemplate::GetMessageByID).Text(L"id", MessageID).Post(m_soap, L"GetMessageByID");
        *pMessage = SMSMessageFromXml(RequireResultElement(response, L"GetMessageByIDResult")).Detach();
    });
}

STDMETHODIMP CInboxService::GetMessagesForDay(LONG Year, LONG Month, LONG Day, IObjectCollection** pMessages) {
    return RunMethod(kLog, kLog, "GetMessagesForDay", [&] {
        RequireResult(pMessages);
        CComPtr<IXMLDOMDocument> response = CSoapRequest(RequestTemplate::GetMessagesForDay)
                                                .Long(L"day", Day)
                                                .Long(L"month", Month)
                                                .Long(L"year", Year)
                                                .Post(m_soap, L"GetMessagesForDay");
        *pMessages = MessageList(response, L"GetMessagesForDayResult");
    });
}

STDMETHODIMP CInboxService::GetMessagesForDateRange(DATE StartDate, DATE EndDate, IObjectCollection** pMessages) {
    return RunMethod(kLog, kLog, "GetMessagesForDateRange", [&] {
        RequireResult(pMessages);
        CComPtr<IXMLDOMDocument> response = CSoapRequest(RequestTemplate::GetMessagesForDateRange)
                                                .Day(L"startDate", StartDate)
                                                .Day(L"endDate", EndDate)
                                                .Post(m_soap, L"GetMessagesForDateRange");
        *pMessages = MessageList(response, L"GetMessagesForDateRangeResult");
    });
}

STDMETHODIMP CInboxService::GetMessagesByID(BSTR Messages, IObjectCollection** pMessages) {
    return RunMethod(kLog, kLog, "GetMessagesByID", [&] {
        RequirePresent(kLog, Messages, "MessageIDs");
        RequireResult(pMessages);
        CComPtr<IXMLDOMDocument> response =
            CSoapRequest(RequestTemplate::GetMessagesByID).IDList(L"ids", Messages).Post(m_soap, L"GetMessagesByID");
        *pMessages = MessageList(response, L"GetMessagesByIDResult");
    });
}

STDMETHODIMP CInboxService::GetLatestMessages(VARIANT LastMessageIndex, VARIANT MaxMessages,
                                              IObjectCollection** pMessages) {
    return RunMethod(kLog, kLog, "GetLatestMessages", [&] {
        const long lastIndex = MessageIndexFromVariant(LastMessageIndex);
        const long maxMessages = MessageIndexFromVariant(MaxMessages);
        RequireResult(pMessages);
        CComPtr<IXMLDOMDocument> response = CSoapRequest(RequestTemplate::GetLatestMessages)
                                                .Long(L"lastMessageIndex", lastIndex)
                                                .Long(L"maxMessages", maxMessages)
                                                .Post(m_soap, L"GetLatestMessages");
        *pMessages = MessageList(response, L"GetLatestMessagesResult");
    });
}
