#pragma once

#include "SdkObject.h"

class CMessengerService : public CSdkObject<CMessengerService, &CLSID_MessengerService, IMessengerService, &IID_IMessengerService, 116> {
public:
    SDK_COM_MAP(CMessengerService, IMessengerService)

    STDMETHOD(GetCurrentVersion)(BSTR *pVersion) override;
};
