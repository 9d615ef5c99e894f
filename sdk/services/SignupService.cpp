#include "SignupService.h"

STDMETHODIMP CSignupService::Initialise(BSTR Username, BSTR Password, BSTR Account, VARIANT IsServerSide) {
    return E_NOTIMPL;
}

STDMETHODIMP CSignupService::DefaultEvaluationSignup(BSTR FirstName, BSTR LastName, BSTR CompanyName, BSTR TelephoneNumber, BSTR MobileNumber, BSTR EmailAddress, VARIANT_BOOL MailingAgreement, ISignupCompletionElements **pElements) {
    return E_NOTIMPL;
}
