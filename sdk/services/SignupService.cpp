#include <windows.h>

#include "SignupService.h"

#include "Method.h"
#include "RequestTemplates.h"
#include "ResultXml.h"
#include "ServiceArguments.h"
#include "SignupXml.h"
#include "SoapRequest.h"

namespace {
const char kLog[] = "SignupService";
const char kClass[] = "CSignupService";
}  // namespace

STDMETHODIMP CSignupService::Initialise(BSTR Username, BSTR Password, BSTR Account, VARIANT IsServerSide) {
    return ForwardInitialise(kLog, kClass, m_soap, Username, Password, Account, IsServerSide);
}

STDMETHODIMP CSignupService::DefaultEvaluationSignup(BSTR FirstName, BSTR LastName, BSTR CompanyName,
                                                     BSTR TelephoneNumber, BSTR MobileNumber, BSTR EmailAddress,
                                                     VARIANT_BOOL MailingAgreement,
                                                     ISignupCompletionElements** pElements) {
    return RunMethod(kLog, kClass, "DefaultEvaluationSignup", [&] {
        RequireText(FirstName, "FirstName");
        RequireText(LastName, "LastName");
        RequireText(CompanyName, "CompanyName");
        RequireText(TelephoneNumber, "TelephoneNumber");
        RequireText(MobileNumber, "MobileNumber");
        RequireText(EmailAddress, "EmailAddress");
        RequireResult(pElements);
        CComPtr<IXMLDOMDocument> response = CSoapRequest(RequestTemplate::DefaultEvaluationSignup)
                                                .Text(L"firstName", FirstName)
                                                .Text(L"lastName", LastName)
                                                .Text(L"companyName", CompanyName)
                                                .Text(L"telephoneNumber", TelephoneNumber)
                                                .Text(L"mobileNumber", MobileNumber)
                                                .Text(L"emailAddress", EmailAddress)
                                                .Bool(L"mailingAgreement", MailingAgreement)
                                                .Post(m_soap, L"DefaultEvaluationSignup", false);
        *pElements = SignupCompletionFromXml(RequireResultElement(response, L"DefaultEvaluationSignupResult")).Detach();
    });
}
