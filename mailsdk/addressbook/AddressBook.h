// AddressBook: the server's one class. It logs on to MAPI when created, lists the address
// books that hold recipients, reads a book's entries that have a mobile number, and runs the
// address dialog, handing entries back as the SDK's Contact objects in an ObjectCollection.
#pragma once

#include <atlcom.h>

#include "BookMap.h"
#include "ContactFactory.h"
#include "MailModule.h"
#include "MapiLogon.h"
#include "TarvockMailSDK.h"

class CAddressBook : public CComObjectRootEx<CComSingleThreadModel>,
                     public CComCoClass<CAddressBook, &CLSID_AddressBook>,
                     public ISupportErrorInfoImpl<&IID_IAddressBook>,
                     public IDispatchImpl<IAddressBook, &IID_IAddressBook> {
public:
    DECLARE_REGISTRY_RESOURCEID(102)

    BEGIN_COM_MAP(CAddressBook)
    COM_INTERFACE_ENTRY(IAddressBook)
    COM_INTERFACE_ENTRY2(IDispatch, IAddressBook)
    COM_INTERFACE_ENTRY(ISupportErrorInfo)
    END_COM_MAP()

    // Opens the MAPI session; a failure fails the creation (with a description, not logged).
    HRESULT FinalConstruct();
    void FinalRelease();

    STDMETHOD(SelectContacts)(ULONG hwnd, IObjectCollection** pContacts) override;
    STDMETHOD(get_Contacts)(BSTR bstrBookName, IObjectCollection** pContacts) override;
    STDMETHOD(get_AddressBookNames)(VARIANT* pNames) override;

private:
    void ListBooks(std::vector<CComBSTR>* names);

    CMapiLogon m_mapi;
    CBookMap m_books;
    CContactFactory m_factory;
};
