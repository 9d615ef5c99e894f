#include "Session.h"

#include <mapicode.h>
#include <mapiguid.h>

#include "AddrBook.h"
#include "Containers.h"

namespace mapiprovider {

CSession::CSession(std::shared_ptr<const CStore> store)
    : CMapiObject<IMAPISession>({&IID_IMAPISession}), m_store(std::move(store)) {}

STDMETHODIMP CSession::GetLastError(HRESULT, ULONG, LPMAPIERROR* lppMAPIError) {
    if (lppMAPIError) *lppMAPIError = nullptr;
    return S_OK;
}

STDMETHODIMP CSession::GetMsgStoresTable(ULONG, LPMAPITABLE* table) {
    if (table) *table = nullptr;
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CSession::OpenMsgStore(ULONG_PTR, ULONG, LPENTRYID, LPCIID, ULONG, LPMDB* store) {
    if (store) *store = nullptr;
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CSession::OpenAddressBook(ULONG_PTR, LPCIID lpInterface, ULONG, LPADRBOOK* lppAdrBook) {
    if (!lppAdrBook) return MAPI_E_INVALID_PARAMETER;
    *lppAdrBook = nullptr;
    if (m_loggedOff) return MAPI_E_END_OF_SESSION;
    if (lpInterface && !IsEqualIID(*lpInterface, IID_IAddrBook)) return MAPI_E_INTERFACE_NOT_SUPPORTED;
    HRESULT hr = InjectedFailure(L"OpenAddressBook");
    if (FAILED(hr)) return hr;
    *lppAdrBook = new CAddrBook(m_store);
    return S_OK;
}

STDMETHODIMP CSession::OpenProfileSection(LPMAPIUID, LPCIID, ULONG, LPPROFSECT* section) {
    if (section) *section = nullptr;
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CSession::GetStatusTable(ULONG, LPMAPITABLE* table) {
    if (table) *table = nullptr;
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CSession::OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG, ULONG* objectType,
                                 LPUNKNOWN* unknown) {
    if (m_loggedOff) return MAPI_E_END_OF_SESSION;
    return CEntryOpener(m_store).Open(cbEntryID, lpEntryID, lpInterface, objectType, unknown);
}

STDMETHODIMP CSession::CompareEntryIDs(ULONG, LPENTRYID, ULONG, LPENTRYID, ULONG, ULONG* result) {
    if (result) *result = 0;
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CSession::Advise(ULONG, LPENTRYID, ULONG, LPMAPIADVISESINK, ULONG* connection) {
    if (connection) *connection = 0;
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CSession::Unadvise(ULONG) {
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CSession::MessageOptions(ULONG_PTR, ULONG, LPTSTR, LPMESSAGE) {
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CSession::QueryDefaultMessageOpt(LPTSTR, ULONG, ULONG* count, LPSPropValue* options) {
    if (count) *count = 0;
    if (options) *options = nullptr;
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CSession::EnumAdrTypes(ULONG, ULONG* count, LPTSTR** types) {
    if (count) *count = 0;
    if (types) *types = nullptr;
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CSession::QueryIdentity(ULONG* cb, LPENTRYID* id) {
    if (cb) *cb = 0;
    if (id) *id = nullptr;
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CSession::Logoff(ULONG_PTR, ULONG, ULONG) {
    if (!m_loggedOff) {
        m_loggedOff = true;
        ++Counters().logoffs;
    }
    return S_OK;
}

STDMETHODIMP CSession::SetDefaultStore(ULONG, ULONG, LPENTRYID) {
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CSession::AdminServices(ULONG, LPSERVICEADMIN* admin) {
    if (admin) *admin = nullptr;
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CSession::ShowForm(ULONG_PTR, LPMDB, LPMAPIFOLDER, LPCIID, ULONG, LPMESSAGE, ULONG, ULONG, ULONG, ULONG, LPSTR) {
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CSession::PrepareForm(LPCIID, LPMESSAGE, ULONG* token) {
    if (token) *token = 0;
    return MAPI_E_NO_SUPPORT;
}

}  // namespace mapiprovider
