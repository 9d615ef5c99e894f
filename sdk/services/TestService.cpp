#include <windows.h>

#include "TestService.h"

#include "Method.h"
#include "RequestTemplates.h"
#include "SoapRequest.h"

namespace {
const char kLog[] = "CTestService";
}

STDMETHODIMP CTestService::SetSoapEndPoints(BSTR URI, BSTR MockURI) {
    CSOAPService::SetSoapEndPoints(URI, MockURI);
    return S_OK;
}

STDMETHODIMP CTestService::SetupContactTests() {
    return RunSetup("SetupContactTests", L"SetupContactTests");
}

STDMETHODIMP CTestService::SetupAccountTests() {
    return RunSetup("SetupAccountTests", L"SetupAccountTests");
}

STDMETHODIMP CTestService::SetupSendTests() {
    return RunSetup("SetupSendTests", L"SetupSendTests");
}

STDMETHODIMP CTestService::SetupInboxTests() {
    return RunSetup("SetupInboxTests", L"SetupInboxTests");
}

STDMETHODIMP CTestService::SetupSignupTests() {
    return RunSetup("SetupSignupTests", L"SetupSignupTests");
}

HRESULT CTestService::RunSetup(const char* name, const wchar_t* operation) {
    return RunMethod(kLog, kLog, name, [&] {
        CSoapRequest(RequestTemplate::SetupTests)
            .ReplaceElement(L"SetupTests", operation)
            .Post(m_soap, operation, false);
    });
}
