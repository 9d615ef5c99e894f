#include <windows.h>

#include "AccountService.h"

#include "AccountXml.h"
#include "Method.h"
#include "RequestTemplates.h"
#include "ResultXml.h"
#include "ServiceArguments.h"
#include "SoapRequest.h"
#include "XmlUtils.h"

namespace {
const char kLog[] = "CAccountService";
}

STDMETHODIMP CAccountService::Initialise(BSTR Username, BSTR Password, BSTR Account, VARIANT IsServerSide) {
    return ForwardInitialise(kLog, kLog, m_soap, Username, Password, Account, IsServerSide);
}

STDMETHODIMP CAccountService::GetMessageLimit(LONG* pLimit) {
    return RunMethod(kLog, kLog, "GetMessageLimit", [&] {
        RequireResult(pLimit);
        CComPtr<IXMLDOMDocument> response =
            CSoapRequest(RequestTemplate::GetMessageLimit).Post(m_soap, L"GetMessageLimit");
        *pLimit = CXmlUtils::GetElementLong(response, L"GetMessageLimitResult");
    });
}

STDMETHODIMP CAccountService::GetAccountFeatures(LONG* pFeatures) {
    return RunMethod(kLog, kLog, "GetAccountFeatures", [&] {
        RequireResult(pFeatures);
        CComPtr<IXMLDOMDocument> response =
            CSoapRequest(RequestTemplate::GetAccountFeatures).Post(m_soap, L"GetAccountFeatures");
        *pFeatures = AccountFeaturesFromText(CXmlUtils::GetElementText(response, L"GetAccountFeaturesResult"));
    });
}

STDMETHODIMP CAccountService::Dummy(ACCOUNT_FEATURES) {
    return E_NOTIMPL;
}

STDMETHODIMP CAccountService::GetAccountState(IAccountState** pState) {
    return RunMethod(kLog, kLog, "GetAccountState", [&] {
        RequireResult(pState);
        CComPtr<IXMLDOMDocument> response =
            CSoapRequest(RequestTemplate::GetAccountState).Post(m_soap, L"GetAccountState");
        *pState = AccountStateFromXml(RequireResultElement(response, L"GetAccountStateResult")).Detach();
    });
}
