// SMSMessage2: one message of the inbox, a property bag that may be aggregated. Every accessor
// logs its entry under "CSMSMessage".
#pragma once

#include <windows.h>

#include "SdkObject.h"

class CSMSMessage : public CSdkObject<CSMSMessage, &CLSID_SMSMessage2, ISMSMessage2, &IID_ISMSMessage2, 106> {
public:
    DECLARE_AGGREGATABLE(CSMSMessage)
    SDK_COM_MAP(CSMSMessage, ISMSMessage2)

    STDMETHOD(get_ID)(BSTR *pVal) override;
    STDMETHOD(put_ID)(BSTR newVal) override;
    STDMETHOD(get_Originator)(BSTR *pVal) override;
    STDMETHOD(put_Originator)(BSTR newVal) override;
    STDMETHOD(get_Recipient)(BSTR *pVal) override;
    STDMETHOD(put_Recipient)(BSTR newVal) override;
    STDMETHOD(get_Body)(BSTR *pVal) override;
    STDMETHOD(put_Body)(BSTR newVal) override;
    STDMETHOD(get_SentAt)(DATE *pVal) override;
    STDMETHOD(put_SentAt)(DATE newVal) override;
    STDMETHOD(get_ReceivedAt)(DATE *pVal) override;
    STDMETHOD(put_ReceivedAt)(DATE newVal) override;
    STDMETHOD(get_Type)(MESSAGE_TYPE *pVal) override;
    STDMETHOD(put_Type)(MESSAGE_TYPE newVal) override;
    STDMETHOD(get_Status)(MESSAGE_STATUS *pVal) override;
    STDMETHOD(put_Status)(MESSAGE_STATUS newVal) override;
    STDMETHOD(get_Username)(BSTR *pVal) override;
    STDMETHOD(put_Username)(BSTR newVal) override;
    STDMETHOD(get_MessageIndex)(LONG *pVal) override;
    STDMETHOD(put_MessageIndex)(LONG newVal) override;

private:
    CComBSTR m_id;
    CComBSTR m_originator;
    CComBSTR m_recipient;
    CComBSTR m_body;
    DATE m_sentAt = 0;
    DATE m_receivedAt = 0;
    MESSAGE_TYPE m_type = MESSAGE_TYPE();
    MESSAGE_STATUS m_status = MESSAGE_STATUS();
    CComBSTR m_username;
    LONG m_messageIndex = 0;
};
