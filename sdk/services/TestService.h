// TestService: points the whole module at other service addresses and asks the service at the
// mock address to put its test data back; it sends no credentials.
#pragma once

#include <windows.h>

#include "SdkObject.h"
#include "SoapService.h"

class CTestService : public CSdkObject<CTestService, &CLSID_TestService, ITestService, &IID_ITestService, 113> {
public:
    SDK_COM_MAP(CTestService, ITestService)

    STDMETHOD(SetSoapEndPoints)(BSTR URI, BSTR MockURI) override;
    STDMETHOD(SetupContactTests)() override;
    STDMETHOD(SetupAccountTests)() override;
    STDMETHOD(SetupSendTests)() override;
    STDMETHOD(SetupInboxTests)() override;
    STDMETHOD(SetupSignupTests)() override;

private:
    // The one body of the five set-ups: the operation named after the member, posted to the
    // mock address.
    HRESULT RunSetup(const char* name, const wchar_t* operation);

    CSOAPService m_soap{L"TestService", true};
};
