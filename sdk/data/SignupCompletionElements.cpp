#include <windows.h>

#include "SignupCompletionElements.h"

#include "DataFields.h"

STDMETHODIMP CSignupCompletionElements::get_Username(BSTR* pVal) {
    return GetText(m_username, pVal);
}

STDMETHODIMP CSignupCompletionElements::put_Username(BSTR newVal) {
    return PutText(m_username, newVal);
}

STDMETHODIMP CSignupCompletionElements::get_AccountReference(BSTR* pVal) {
    return GetText(m_accountReference, pVal);
}

STDMETHODIMP CSignupCompletionElements::put_AccountReference(BSTR newVal) {
    return PutText(m_accountReference, newVal);
}

STDMETHODIMP CSignupCompletionElements::get_WelcomeMessage(BSTR* pVal) {
    return GetText(m_welcomeMessage, pVal);
}

STDMETHODIMP CSignupCompletionElements::put_WelcomeMessage(BSTR newVal) {
    return PutText(m_welcomeMessage, newVal);
}
