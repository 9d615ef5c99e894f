#pragma once

#include "SdkObject.h"

class CAccountService : public CSdkObject<CAccountService, &CLSID_AccountService, IAccountService, &IID_IAccountService, 104> {
public:
    SDK_COM_MAP(CAccountService, IAccountService)

    STDMETHOD(Initialise)(BSTR Username, BSTR Password, BSTR Account, VARIANT IsServerSide) override;
    STDMETHOD(GetMessageLimit)(LONG *pLimit) override;
    STDMETHOD(GetAccountFeatures)(LONG *pFeatures) override;
    STDMETHOD(Dummy)(ACCOUNT_FEATURES x) override;
    STDMETHOD(GetAccountState)(IAccountState **pState) override;
};
