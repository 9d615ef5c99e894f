// SendService2: sends text messages through the service's "SendService" end point and asks for
// a sent message's status.
#pragma once

#include <windows.h>

#include "SdkObject.h"
#include "SoapService.h"

class CSendService : public CSdkObject<CSendService, &CLSID_SendService2, ISendService2, &IID_ISendService2, 101> {
public:
    SDK_COM_MAP(CSendService, ISendService2)

    STDMETHOD(Initialise)(BSTR Username, BSTR Password, BSTR Account, VARIANT IsServerSide) override;
    STDMETHOD(SendMessageFull)(BSTR Originator, BSTR Recipient, BSTR Body, MESSAGE_TYPE Type, LONG ValidityPeriod, BSTR *pMessageID) override;
    STDMETHOD(SendMessage)(BSTR Recipient, BSTR Body, MESSAGE_TYPE Type, BSTR *pMessageID) override;
    STDMETHOD(GetMessageStatus)(BSTR MessageID, MESSAGE_STATUS *pStatus) override;
    STDMETHOD(SendMessageMultipleRecipients)(BSTR Recipients, BSTR Body, MESSAGE_TYPE Type, IStringCollection2 **pMessageIDs) override;
    STDMETHOD(SendMessageMultipleRecipientsFull)(BSTR Originator, BSTR Recipients, BSTR Body, MESSAGE_TYPE Type, LONG ValidityPeriod, IStringCollection2 **pMessageIDs) override;
    STDMETHOD(Dummy)(ERROR_CODE x) override;

private:
    CSOAPService m_soap{L"SendService"};
};
