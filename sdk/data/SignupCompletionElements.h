// SignupCompletionElements: what the sign-up of an evaluation account returns, a property bag
// that does not log.
#pragma once

#include <windows.h>

#include "SdkObject.h"

class CSignupCompletionElements : public CSdkObject<CSignupCompletionElements, &CLSID_SignupCompletionElements, ISignupCompletionElements, &IID_ISignupCompletionElements, 114> {
public:
    SDK_COM_MAP(CSignupCompletionElements, ISignupCompletionElements)

    STDMETHOD(get_Username)(BSTR *pVal) override;
    STDMETHOD(put_Username)(BSTR newVal) override;
    STDMETHOD(get_AccountReference)(BSTR *pVal) override;
    STDMETHOD(put_AccountReference)(BSTR newVal) override;
    STDMETHOD(get_WelcomeMessage)(BSTR *pVal) override;
    STDMETHOD(put_WelcomeMessage)(BSTR newVal) override;

private:
    CComBSTR m_username;
    CComBSTR m_accountReference;
    CComBSTR m_welcomeMessage;
};
