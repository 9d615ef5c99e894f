// MessengerService: the current version of the desktop program, from the service's
// "BrindlepostService" end point; it sends no credentials.
#pragma once

#include <windows.h>

#include "SdkObject.h"
#include "SoapService.h"

class CMessengerService : public CSdkObject<CMessengerService, &CLSID_MessengerService, IMessengerService, &IID_IMessengerService, 116> {
public:
    SDK_COM_MAP(CMessengerService, IMessengerService)

    STDMETHOD(GetCurrentVersion)(BSTR *pVersion) override;

private:
    CSOAPService m_soap{L"BrindlepostService"};
};
