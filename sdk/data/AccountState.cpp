#include <windows.h>

#include "AccountState.h"

#include "DataFields.h"

STDMETHODIMP CAccountState::get_ID(BSTR* pVal) {
    return GetText(m_id, pVal);
}

STDMETHODIMP CAccountState::put_ID(BSTR newVal) {
    return PutText(m_id, newVal);
}

STDMETHODIMP CAccountState::get_Reference(BSTR* pVal) {
    return GetText(m_reference, pVal);
}

STDMETHODIMP CAccountState::put_Reference(BSTR newVal) {
    return PutText(m_reference, newVal);
}

STDMETHODIMP CAccountState::get_Address(BSTR* pVal) {
    return GetText(m_address, pVal);
}

STDMETHODIMP CAccountState::put_Address(BSTR newVal) {
    return PutText(m_address, newVal);
}

STDMETHODIMP CAccountState::get_ServiceAlias(BSTR* pVal) {
    return GetText(m_serviceAlias, pVal);
}

STDMETHODIMP CAccountState::put_ServiceAlias(BSTR newVal) {
    return PutText(m_serviceAlias, newVal);
}

STDMETHODIMP CAccountState::get_MessageLimit(LONG* pVal) {
    return GetValue(m_messageLimit, pVal);
}

STDMETHODIMP CAccountState::put_MessageLimit(LONG newVal) {
    return PutValue(m_messageLimit, newVal);
}

STDMETHODIMP CAccountState::get_Features(LONG* pVal) {
    return GetValue(m_features, pVal);
}

STDMETHODIMP CAccountState::put_Features(LONG newVal) {
    return PutValue(m_features, newVal);
}
