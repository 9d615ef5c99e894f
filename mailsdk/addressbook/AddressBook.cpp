#include "AddressBook.h"

#include "AddressDialog.h"
#include "BookLister.h"
#include "BookReader.h"
#include "MailErrors.h"
#include "MethodLog.h"
#include "RecipientReader.h"
#include "UserMessage.h"
#include "resource.h"

HRESULT CAddressBook::FinalConstruct() {
    const HRESULT hr = m_mapi.Open();
    if (FAILED(hr)) SetCallFailureDescription(hr, IDS_MAPI_NOT_OPENED);
    return hr;
}

void CAddressBook::FinalRelease() {
    m_books.Clear();
    m_mapi.Close();
}

void CAddressBook::ListBooks(std::vector<CComBSTR>* names) {
    std::vector<CComBSTR> found = CBookLister(m_mapi.AddressBook(), m_mapi.Root()).List(m_books);
    if (names) *names = std::move(found);
}

STDMETHODIMP CAddressBook::get_AddressBookNames(VARIANT* pNames) {
    return GuardOperation("get_AddressBookNames", [&] {
        if (!pNames) ThrowHResult(E_INVALIDARG);
        ::VariantInit(pNames);
        std::vector<CComBSTR> names;
        ListBooks(&names);
        const HRESULT hr = CBookLister::ToVariant(names, pNames);
        if (FAILED(hr)) ThrowHResult(hr);
    });
}

STDMETHODIMP CAddressBook::get_Contacts(BSTR bstrBookName, IObjectCollection** pContacts) {
    CMethodLog log("get_Contacts");
    if (pContacts) *pContacts = nullptr;
    try {
        if (!bstrBookName || ::SysStringLen(bstrBookName) == 0) ThrowInvalidArgument("bstrAddressBookName");
        if (!pContacts) ThrowHResult(E_INVALIDARG);
        CComPtr<IObjectCollection> collection = m_factory.NewCollection();
        if (m_books.Empty()) ListBooks(nullptr);
        const CContainerEntry* book = m_books.Find(bstrBookName);
        if (!book) return S_OK;  // an unknown book: no collection, no warning
        CBookReader(m_mapi.AddressBook(), m_factory).Read(*book, collection);
        *pContacts = collection.Detach();
        return S_OK;
    } catch (...) {
        ShowMessageBox("There was a problem reading the selected address book.", "Contacts", MB_ICONWARNING);
        return S_FALSE;
    }
}

STDMETHODIMP CAddressBook::SelectContacts(ULONG hwnd, IObjectCollection** pContacts) {
    return GuardOperation("SelectContacts", [&] {
        if (!pContacts) ThrowHResult(E_INVALIDARG);
        *pContacts = nullptr;
        CAdrList recipients;
        if (CAddressDialog(m_mapi.AddressBook()).Show(hwnd, recipients) != CAddressDialog::Chosen)
            ThrowHResult(CAddressDialog::Cancelled);  // S_FALSE, logged as a failure
        ADRLIST empty = {};
        const ADRLIST& list = recipients.Get() ? *recipients.Get() : empty;
        *pContacts = CRecipientReader(m_mapi.AddressBook(), m_factory).Read(list).Detach();
    });
}
