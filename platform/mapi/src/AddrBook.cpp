#include "AddrBook.h"

#include <mapicode.h>
#include <mapiguid.h>
#include <mapiutil.h>

#include <cstring>

#include "AddressDialog.h"
#include "EntryId.h"

namespace mapiprovider {

namespace {

HRESULT NoEntryId(ULONG* cb, LPENTRYID* id) {
    if (cb) *cb = 0;
    if (id) *id = nullptr;
    return MAPI_E_NO_SUPPORT;
}

}  // namespace

CAddrBook::CAddrBook(std::shared_ptr<const CStore> store)
    : CMapiProp<IAddrBook>({&IID_IAddrBook, &IID_IMAPIProp}, CPropertyBag()), m_store(store), m_opener(store) {}

STDMETHODIMP CAddrBook::OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG, ULONG* objectType,
                                  LPUNKNOWN* unknown) {
    return m_opener.Open(cbEntryID, lpEntryID, lpInterface, objectType, unknown);
}

STDMETHODIMP CAddrBook::CompareEntryIDs(ULONG cb1, LPENTRYID id1, ULONG cb2, LPENTRYID id2, ULONG, ULONG* result) {
    if (!result) return MAPI_E_INVALID_PARAMETER;
    *result = cb1 == cb2 && (cb1 == 0 || std::memcmp(id1, id2, cb1) == 0);
    return S_OK;
}

STDMETHODIMP CAddrBook::Advise(ULONG, LPENTRYID, ULONG, LPMAPIADVISESINK, ULONG* connection) {
    if (connection) *connection = 0;
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CAddrBook::Unadvise(ULONG) {
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CAddrBook::CreateOneOff(LPTSTR, LPTSTR, LPTSTR, ULONG, ULONG* cb, LPENTRYID* id) {
    return NoEntryId(cb, id);
}

STDMETHODIMP CAddrBook::NewEntry(ULONG_PTR, ULONG, ULONG, LPENTRYID, ULONG, LPENTRYID, ULONG* cb, LPENTRYID* id) {
    return NoEntryId(cb, id);
}

STDMETHODIMP CAddrBook::ResolveName(ULONG_PTR, ULONG, LPTSTR, LPADRLIST) {
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CAddrBook::Address(ULONG_PTR* lpulUIParam, LPADRPARM lpAdrParms, LPADRLIST* lppAdrList) {
    if (!lpulUIParam || !lpAdrParms) return MAPI_E_INVALID_PARAMETER;
    const CDialogTexts texts = CDialogTexts::From(*lpAdrParms);
    TarvockMapiCounters& counters = Counters();
    ++counters.addressCalls;
    counters.lastAddressUIParam = *lpulUIParam;
    counters.lastAddressFlags = lpAdrParms->ulFlags;
    counters.lastAddressDestFields = lpAdrParms->cDestFields;
    Record(counters.lastAddressCaption, texts.caption);
    Record(counters.lastAddressDestTitle, texts.destTitle);

    if (!(lpAdrParms->ulFlags & DIALOG_MODAL)) return MAPI_E_NO_SUPPORT;  // no modeless dialog
    if (lpAdrParms->cDestFields > 0 && !lppAdrList) return MAPI_E_INVALID_PARAMETER;
    HRESULT hr = InjectedFailure(L"Address");
    if (FAILED(hr)) return hr;

    CAddressDialog dialog(*m_store);
    std::vector<CPick> picks;
    const std::wstring script = EnvironmentValue(TARVOCK_MAPI_ADDRESS_SCRIPT_VARIABLE);
    hr = script.empty() ? dialog.RunInteractive(reinterpret_cast<HWND>(*lpulUIParam), texts, &picks)
                        : dialog.RunScript(script, &picks);
    if (FAILED(hr) || lpAdrParms->cDestFields == 0) return hr;

    LPADRLIST list = nullptr;
    hr = MakeAdrList(picks, lpAdrParms->ulFlags, &list);
    if (FAILED(hr)) return hr;
    FreePadrlist(*lppAdrList);  // the list passed in is replaced
    *lppAdrList = list;
    return S_OK;
}

STDMETHODIMP CAddrBook::Details(ULONG*, LPFNDISMISS, LPVOID, ULONG, LPENTRYID, LPFNBUTTON, LPVOID, LPTSTR, ULONG) {
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CAddrBook::RecipOptions(ULONG_PTR, ULONG, LPADRENTRY) {
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CAddrBook::QueryDefaultRecipOpt(LPTSTR, ULONG, ULONG* count, LPSPropValue* options) {
    if (count) *count = 0;
    if (options) *options = nullptr;
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CAddrBook::GetPAB(ULONG* lpcbEntryID, LPENTRYID* lppEntryID) {
    if (!lpcbEntryID || !lppEntryID) return MAPI_E_INVALID_PARAMETER;
    *lpcbEntryID = 0;
    *lppEntryID = nullptr;
    HRESULT hr = InjectedFailure(L"GetPAB");
    if (FAILED(hr)) return hr;
    CBook book;
    if (!m_store->PersonalBook(&book)) return S_OK;  // no personal address book: an empty identifier
    const std::vector<BYTE> bytes = CEntryId::ForBook(book.folder).Encode();
    void* copy = nullptr;
    hr = MAPIAllocateBuffer(static_cast<ULONG>(bytes.size()), &copy);
    if (FAILED(hr)) return hr;
    std::memcpy(copy, bytes.data(), bytes.size());
    *lpcbEntryID = static_cast<ULONG>(bytes.size());
    *lppEntryID = static_cast<LPENTRYID>(copy);
    return S_OK;
}

STDMETHODIMP CAddrBook::SetPAB(ULONG, LPENTRYID) {
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CAddrBook::GetDefaultDir(ULONG* cb, LPENTRYID* id) {
    return NoEntryId(cb, id);
}

STDMETHODIMP CAddrBook::SetDefaultDir(ULONG, LPENTRYID) {
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CAddrBook::GetSearchPath(ULONG, LPSRowSet* path) {
    if (path) *path = nullptr;
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CAddrBook::SetSearchPath(ULONG, LPSRowSet) {
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CAddrBook::PrepareRecips(ULONG, LPSPropTagArray, LPADRLIST) {
    return MAPI_E_NO_SUPPORT;
}

}  // namespace mapiprovider
