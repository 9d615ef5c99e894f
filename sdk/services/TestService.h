#pragma once

#include "SdkObject.h"

class CTestService : public CSdkObject<CTestService, &CLSID_TestService, ITestService, &IID_ITestService, 113> {
public:
    SDK_COM_MAP(CTestService, ITestService)

    STDMETHOD(SetSoapEndPoints)(BSTR URI, BSTR MockURI) override;
    STDMETHOD(SetupContactTests)() override;
    STDMETHOD(SetupAccountTests)() override;
    STDMETHOD(SetupSendTests)() override;
    STDMETHOD(SetupInboxTests)() override;
    STDMETHOD(SetupSignupTests)() override;
};
