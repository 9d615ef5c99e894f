#include "TestService.h"

STDMETHODIMP CTestService::SetSoapEndPoints(BSTR URI, BSTR MockURI) {
    return E_NOTIMPL;
}

STDMETHODIMP CTestService::SetupContactTests() {
    return E_NOTIMPL;
}

STDMETHODIMP CTestService::SetupAccountTests() {
    return E_NOTIMPL;
}

STDMETHODIMP CTestService::SetupSendTests() {
    return E_NOTIMPL;
}

STDMETHODIMP CTestService::SetupInboxTests() {
    return E_NOTIMPL;
}

STDMETHODIMP CTestService::SetupSignupTests() {
    return E_NOTIMPL;
}
