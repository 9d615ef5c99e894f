// InboxService2: reads and deletes the messages the account has received, through the
// service's "InboxService2" end point.
#pragma once

#include <windows.h>

#include "SdkObject.h"
#include "SoapService.h"

class CInboxService : public CSdkObject<CInboxService, &CLSID_InboxService2, IInboxService2, &IID_IInboxService2, 103> {
public:
    SDK_COM_MAP(CInboxService, IInboxService2)

    STDMETHOD(Initialise)(BSTR Username, BSTR Password, BSTR Account, VARIANT IsServerSide) override;
    STDMETHOD(DeleteMessage)(BSTR MessageID) override;
    STDMETHOD(DeleteMessages)(BSTR MessageIDs) override;
    STDMETHOD(GetMessages)(IObjectCollection **pMessages) override;
    STDMETHOD(GetMessage)(BSTR MessageID, ISMSMessage2 **pMessage) override;
    STDMETHOD(GetMessagesForDay)(LONG Year, LONG Month, LONG Day, IObjectCollection **pMessages) override;
    STDMETHOD(GetMessagesForDateRange)(DATE StartDate, DATE EndDate, IObjectCollection **pMessages) override;
    STDMETHOD(GetMessagesByID)(BSTR Messages, IObjectCollection **pMessages) override;
    STDMETHOD(GetLatestMessages)(VARIANT LastMessageIndex, VARIANT MaxMessages, IObjectCollection **pMessages) override;

private:
    CSOAPService m_soap{L"InboxService2"};
};
