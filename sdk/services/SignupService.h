#pragma once

#include "SdkObject.h"

class CSignupService : public CSdkObject<CSignupService, &CLSID_SignupService, ISignupService, &IID_ISignupService, 109> {
public:
    SDK_COM_MAP(CSignupService, ISignupService)

    STDMETHOD(Initialise)(BSTR Username, BSTR Password, BSTR Account, VARIANT IsServerSide) override;
    STDMETHOD(DefaultEvaluationSignup)(BSTR FirstName, BSTR LastName, BSTR CompanyName, BSTR TelephoneNumber, BSTR MobileNumber, BSTR EmailAddress, VARIANT_BOOL MailingAgreement, ISignupCompletionElements **pElements) override;
};
