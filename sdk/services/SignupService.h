// SignupService: opens an evaluation account through the service's "SignupService" end point;
// it sends no credentials.
#pragma once

#include <windows.h>

#include "SdkObject.h"
#include "SoapService.h"

class CSignupService : public CSdkObject<CSignupService, &CLSID_SignupService, ISignupService, &IID_ISignupService, 109> {
public:
    SDK_COM_MAP(CSignupService, ISignupService)

    STDMETHOD(Initialise)(BSTR Username, BSTR Password, BSTR Account, VARIANT IsServerSide) override;
    STDMETHOD(DefaultEvaluationSignup)(BSTR FirstName, BSTR LastName, BSTR CompanyName, BSTR TelephoneNumber, BSTR MobileNumber, BSTR EmailAddress, VARIANT_BOOL MailingAgreement, ISignupCompletionElements **pElements) override;

private:
    CSOAPService m_soap{L"SignupService"};
};
