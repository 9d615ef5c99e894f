// AccountState: the account's details as the service reports them, a property bag that does not
// log.
#pragma once

#include <windows.h>

#include "SdkObject.h"

class CAccountState : public CSdkObject<CAccountState, &CLSID_AccountState, IAccountState, &IID_IAccountState, 115> {
public:
    SDK_COM_MAP(CAccountState, IAccountState)

    STDMETHOD(get_ID)(BSTR *pVal) override;
    STDMETHOD(put_ID)(BSTR newVal) override;
    STDMETHOD(get_Reference)(BSTR *pVal) override;
    STDMETHOD(put_Reference)(BSTR newVal) override;
    STDMETHOD(get_Address)(BSTR *pVal) override;
    STDMETHOD(put_Address)(BSTR newVal) override;
    STDMETHOD(get_ServiceAlias)(BSTR *pVal) override;
    STDMETHOD(put_ServiceAlias)(BSTR newVal) override;
    STDMETHOD(get_MessageLimit)(LONG *pVal) override;
    STDMETHOD(put_MessageLimit)(LONG newVal) override;
    STDMETHOD(get_Features)(LONG *pVal) override;
    STDMETHOD(put_Features)(LONG newVal) override;

private:
    CComBSTR m_id;
    CComBSTR m_reference;
    CComBSTR m_address;
    CComBSTR m_serviceAlias;
    LONG m_messageLimit = 0;
    LONG m_features = 0;  // ACCOUNT_FEATURES flags
};
