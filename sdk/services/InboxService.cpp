#include "InboxService.h"

STDMETHODIMP CInboxService::Initialise(BSTR Username, BSTR Password, BSTR Account, VARIANT IsServerSide) {
    return E_NOTIMPL;
}

STDMETHODIMP CInboxService::DeleteMessage(BSTR MessageID) {
    return E_NOTIMPL;
}

STDMETHODIMP CInboxService::DeleteMessages(BSTR MessageIDs) {
    return E_NOTIMPL;
}

STDMETHODIMP CInboxService::GetMessages(IObjectCollection **pMessages) {
    return E_NOTIMPL;
}

STDMETHODIMP CInboxService::GetMessage(BSTR MessageID, ISMSMessage2 **pMessage) {
    return E_NOTIMPL;
}

STDMETHODIMP CInboxService::GetMessagesForDay(LONG Year, LONG Month, LONG Day, IObjectCollection **pMessages) {
    return E_NOTIMPL;
}

STDMETHODIMP CInboxService::GetMessagesForDateRange(DATE StartDate, DATE EndDate, IObjectCollection **pMessages) {
    return E_NOTIMPL;
}

STDMETHODIMP CInboxService::GetMessagesByID(BSTR Messages, IObjectCollection **pMessages) {
    return E_NOTIMPL;
}

STDMETHODIMP CInboxService::GetLatestMessages(VARIANT LastMessageIndex, VARIANT MaxMessages, IObjectCollection **pMessages) {
    return E_NOTIMPL;
}
