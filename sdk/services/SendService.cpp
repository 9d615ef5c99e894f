#include "SendService.h"

STDMETHODIMP CSendService::Initialise(BSTR Username, BSTR Password, BSTR Account, VARIANT IsServerSide) {
    return E_NOTIMPL;
}

STDMETHODIMP CSendService::SendMessageFull(BSTR Originator, BSTR Recipient, BSTR Body, MESSAGE_TYPE Type, LONG ValidityPeriod, BSTR *pMessageID) {
    return E_NOTIMPL;
}

STDMETHODIMP CSendService::SendMessage(BSTR Recipient, BSTR Body, MESSAGE_TYPE Type, BSTR *pMessageID) {
    return E_NOTIMPL;
}

STDMETHODIMP CSendService::GetMessageStatus(BSTR MessageID, MESSAGE_STATUS *pStatus) {
    return E_NOTIMPL;
}

STDMETHODIMP CSendService::SendMessageMultipleRecipients(BSTR Recipients, BSTR Body, MESSAGE_TYPE Type, IStringCollection2 **pMessageIDs) {
    return E_NOTIMPL;
}

STDMETHODIMP CSendService::SendMessageMultipleRecipientsFull(BSTR Originator, BSTR Recipients, BSTR Body, MESSAGE_TYPE Type, LONG ValidityPeriod, IStringCollection2 **pMessageIDs) {
    return E_NOTIMPL;
}

STDMETHODIMP CSendService::Dummy(ERROR_CODE x) {
    return E_NOTIMPL;
}
