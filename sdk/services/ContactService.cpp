#include "ContactService.h"

STDMETHODIMP CContactService::Initialise(BSTR Username, BSTR Password, BSTR Account, VARIANT IsServerSide) {
    return E_NOTIMPL;
}

STDMETHODIMP CContactService::GetContacts(IObjectCollection **pContacts) {
    return E_NOTIMPL;
}

STDMETHODIMP CContactService::GetGroups(IObjectCollection **pGroups) {
    return E_NOTIMPL;
}

STDMETHODIMP CContactService::AddContact(IContact *Contact, BSTR *pContactID) {
    return E_NOTIMPL;
}

STDMETHODIMP CContactService::AddContacts(IObjectCollection *Contacts, IStringCollection2 **pContactIDs) {
    return E_NOTIMPL;
}

STDMETHODIMP CContactService::AddGroup(IContactGroup *Group, BSTR MemberIDs, BSTR *pGroupID) {
    return E_NOTIMPL;
}

STDMETHODIMP CContactService::DeleteContact(BSTR ContactID) {
    return E_NOTIMPL;
}

STDMETHODIMP CContactService::DeleteContacts(BSTR ContactIDs) {
    return E_NOTIMPL;
}

STDMETHODIMP CContactService::DeleteGroup(BSTR GroupID, VARIANT IncludeMembers) {
    return E_NOTIMPL;
}

STDMETHODIMP CContactService::DeleteGroups(BSTR Groups) {
    return E_NOTIMPL;
}

STDMETHODIMP CContactService::UpdateContact(IContact *Contact) {
    return E_NOTIMPL;
}

STDMETHODIMP CContactService::UpdateGroup(IContactGroup *Group, BSTR MemberIDs) {
    return E_NOTIMPL;
}

STDMETHODIMP CContactService::GetContact(BSTR ID, IContact **pContact) {
    return E_NOTIMPL;
}

STDMETHODIMP CContactService::GetGroup(BSTR ID, IContactGroup **pGroup) {
    return E_NOTIMPL;
}

STDMETHODIMP CContactService::GetGroupMembers(BSTR ID, IObjectCollection **pContacts) {
    return E_NOTIMPL;
}

STDMETHODIMP CContactService::GetContactByQuickName(BSTR ID, IContact **pContact) {
    return E_NOTIMPL;
}

STDMETHODIMP CContactService::GetGroupByName(BSTR ID, IContactGroup **pGroup) {
    return E_NOTIMPL;
}
