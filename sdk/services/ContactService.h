// ContactService: the contacts and contact groups the web service keeps for the account. Each
// operation fills one request template, sends it with the account's credentials and turns the
// answer into Contact and ContactGroup objects, collections of them, a new identifier or nothing.
#pragma once

#include <msxml2.h>

#include "SdkObject.h"
#include "SoapService.h"

class CContactService : public CSdkObject<CContactService, &CLSID_ContactService, IContactService, &IID_IContactService, 108> {
public:
    SDK_COM_MAP(CContactService, IContactService)

    STDMETHOD(Initialise)(BSTR Username, BSTR Password, BSTR Account, VARIANT IsServerSide) override;
    STDMETHOD(GetContacts)(IObjectCollection **pContacts) override;
    STDMETHOD(GetGroups)(IObjectCollection **pGroups) override;
    STDMETHOD(AddContact)(IContact *Contact, BSTR *pContactID) override;
    STDMETHOD(AddContacts)(IObjectCollection *Contacts, IStringCollection2 **pContactIDs) override;
    STDMETHOD(AddGroup)(IContactGroup *Group, BSTR MemberIDs, BSTR *pGroupID) override;
    STDMETHOD(DeleteContact)(BSTR ContactID) override;
    STDMETHOD(DeleteContacts)(BSTR ContactIDs) override;
    STDMETHOD(DeleteGroup)(BSTR GroupID, VARIANT IncludeMembers) override;
    STDMETHOD(DeleteGroups)(BSTR Groups) override;
    STDMETHOD(UpdateContact)(IContact *Contact) override;
    STDMETHOD(UpdateGroup)(IContactGroup *Group, BSTR MemberIDs) override;
    STDMETHOD(GetContact)(BSTR ID, IContact **pContact) override;
    STDMETHOD(GetGroup)(BSTR ID, IContactGroup **pGroup) override;
    STDMETHOD(GetGroupMembers)(BSTR ID, IObjectCollection **pContacts) override;
    STDMETHOD(GetContactByQuickName)(BSTR ID, IContact **pContact) override;
    STDMETHOD(GetGroupByName)(BSTR ID, IContactGroup **pGroup) override;

private:
    CSOAPService m_soap{L"ContactService"};
};
