// AccountService: the account's message limit, features and whole state, through the
// service's "AccountService" end point.
#pragma once

#include <windows.h>

#include "SdkObject.h"
#include "SoapService.h"

class CAccountService : public CSdkObject<CAccountService, &CLSID_AccountService, IAccountService, &IID_IAccountService, 104> {
public:
    SDK_COM_MAP(CAccountService, IAccountService)

    STDMETHOD(Initialise)(BSTR Username, BSTR Password, BSTR Account, VARIANT IsServerSide) override;
    STDMETHOD(GetMessageLimit)(LONG *pLimit) override;
    STDMETHOD(GetAccountFeatures)(LONG *pFeatures) override;
    STDMETHOD(Dummy)(ACCOUNT_FEATURES x) override;
    STDMETHOD(GetAccountState)(IAccountState **pState) override;

private:
    CSOAPService m_soap{L"AccountService"};
};
