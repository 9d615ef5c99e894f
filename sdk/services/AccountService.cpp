#include "AccountService.h"

STDMETHODIMP CAccountService::Initialise(BSTR Username, BSTR Password, BSTR Account, VARIANT IsServerSide) {
    return E_NOTIMPL;
}

STDMETHODIMP CAccountService::GetMessageLimit(LONG *pLimit) {
    return E_NOTIMPL;
}

STDMETHODIMP CAccountService::GetAccountFeatures(LONG *pFeatures) {
    return E_NOTIMPL;
}

STDMETHODIMP CAccountService::Dummy(ACCOUNT_FEATURES x) {
    return E_NOTIMPL;
}

STDMETHODIMP CAccountService::GetAccountState(IAccountState **pState) {
    return E_NOTIMPL;
}
