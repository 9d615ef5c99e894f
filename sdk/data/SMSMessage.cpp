#include <windows.h>

#include "SMSMessage.h"

#include "DataFields.h"
#include "Method.h"

namespace {

const char kLog[] = "CSMSMessage";

// An accessor in the method frame (entry log only); its failures are logged and returned bare.
template <class Access>
HRESULT Run(const char* name, Access&& access) {
    return RunMethod(
        kLog, kLog, name,
        [&] {
            const HRESULT hr = access();
            if (FAILED(hr)) RaiseHResult(hr);
        },
        ExitLog::No);
}

}  // namespace

STDMETHODIMP CSMSMessage::get_ID(BSTR* pVal) {
    return Run("get_ID", [&] { return GetText(m_id, pVal); });
}

STDMETHODIMP CSMSMessage::put_ID(BSTR newVal) {
    return Run("put_ID", [&] { return PutText(m_id, newVal); });
}

STDMETHODIMP CSMSMessage::get_Originator(BSTR* pVal) {
    return Run("get_Originator", [&] { return GetText(m_originator, pVal); });
}

STDMETHODIMP CSMSMessage::put_Originator(BSTR newVal) {
    return Run("put_Originator", [&] { return PutText(m_originator, newVal); });
}

STDMETHODIMP CSMSMessage::get_Recipient(BSTR* pVal) {
    return Run("get_Recipient", [&] { return GetText(m_recipient, pVal); });
}

STDMETHODIMP CSMSMessage::put_Recipient(BSTR newVal) {
    return Run("put_Recipient", [&] { return PutText(m_recipient, newVal); });
}

STDMETHODIMP CSMSMessage::get_Body(BSTR* pVal) {
    return Run("get_Body", [&] { return GetText(m_body, pVal); });
}

STDMETHODIMP CSMSMessage::put_Body(BSTR newVal) {
    return Run("put_Body", [&] { return PutText(m_body, newVal); });
}

STDMETHODIMP CSMSMessage::get_SentAt(DATE* pVal) {
    return Run("get_SentAt", [&] { return GetValue(m_sentAt, pVal); });
}

STDMETHODIMP CSMSMessage::put_SentAt(DATE newVal) {
    return Run("put_SentAt", [&] { return PutValue(m_sentAt, newVal); });
}

STDMETHODIMP CSMSMessage::get_ReceivedAt(DATE* pVal) {
    return Run("get_ReceivedAt", [&] { return GetValue(m_receivedAt, pVal); });
}

STDMETHODIMP CSMSMessage::put_ReceivedAt(DATE newVal) {
    return Run("put_ReceivedAt", [&] { return PutValue(m_receivedAt, newVal); });
}

STDMETHODIMP CSMSMessage::get_Type(MESSAGE_TYPE* pVal) {
    return Run("get_Type", [&] { return GetValue(m_type, pVal); });
}

STDMETHODIMP CSMSMessage::put_Type(MESSAGE_TYPE newVal) {
    return Run("put_Type", [&] { return PutValue(m_type, newVal); });
}

STDMETHODIMP CSMSMessage::get_Status(MESSAGE_STATUS* pVal) {
    return Run("get_Status", [&] { return GetValue(m_status, pVal); });
}

STDMETHODIMP CSMSMessage::put_Status(MESSAGE_STATUS newVal) {
    return Run("put_Status", [&] { return PutValue(m_status, newVal); });
}

STDMETHODIMP CSMSMessage::get_Username(BSTR* pVal) {
    return Run("get_Username", [&] { return GetText(m_username, pVal); });
}

STDMETHODIMP CSMSMessage::put_Username(BSTR newVal) {
    return Run("put_Username", [&] { return PutText(m_username, newVal); });
}

STDMETHODIMP CSMSMessage::get_MessageIndex(LONG* pVal) {
    return Run("get_MessageIndex", [&] { return GetValue(m_messageIndex, pVal); });
}

STDMETHODIMP CSMSMessage::put_MessageIndex(LONG newVal) {
    return Run("put_MessageIndex", [&] { return PutValue(m_messageIndex, newVal); });
}
