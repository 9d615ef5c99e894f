#include <windows.h>

#include "ContactService.h"

#include <log4cpp/Category.hh>

#include <string>

#include "ContactXml.h"
#include "Method.h"
#include "ResultXml.h"
#include "ServiceArguments.h"
#include "SoapRequest.h"
#include "XmlUtils.h"

namespace {

const char kLog[] = "ContactService";

// The request templates of the operations.
enum : UINT {
    kUpdateGroupTemplate = 219,
    kAddContactTemplate = 220,
    kAddContactsTemplate = 221,
    kAddGroupTemplate = 222,
    kDeleteContactTemplate = 223,
    kDeleteContactsTemplate = 224,
    kDeleteGroupTemplate = 225,
    kDeleteGroupsTemplate = 226,
    kGetContactTemplate = 227,
    kGetContactsTemplate = 228,
    kGetGroupTemplate = 229,
    kGetGroupMembersTemplate = 230,
    kGetGroupsTemplate = 231,
    kUpdateContactTemplate = 232,
    kGetContactByQuickNameTemplate = 240,
    kGetGroupByNameTemplate = 241,
};

template <class Body>
HRESULT Operation(const char* name, Body&& body) {
    return RunMethod(kLog, kLog, name, body);
}

log4cpp::Category& Log() {
    return log4cpp::Category::getInstance(kLog);
}

std::string Narrow(const wchar_t* text) {
    if (!text || !*text) return std::string();
    const int len = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(len > 0 ? len - 1 : 0, '\0');
    if (len > 1) ::WideCharToMultiByte(CP_ACP, 0, text, -1, &narrow[0], len, nullptr, nullptr);
    return narrow;
}

// An object argument that must be there; logged as "name=" and its identifier.
void RequireObject(IUnknown* object, const char* name) {
    if (!object) RaiseMissingArgument(name);
    CComPtr<IObjectWithID> withId;
    CComBSTR id;
    if (SUCCEEDED(object->QueryInterface(__uuidof(IObjectWithID), reinterpret_cast<void**>(&withId))) && withId)
        withId->get_ID(&id);
    Log().debug("%s=%s", name, withId ? Narrow(id).c_str() : "(not an object of this SDK)");
}

// What DeleteGroup sends as "includeMembers": true only for a boolean true, also when it comes
// by reference (a script passes its variables so).
bool IsTrue(const VARIANT& value) {
    const VARIANT* v = &value;
    if (v->vt == (VT_VARIANT | VT_BYREF) && v->pvarVal) v = v->pvarVal;
    if (v->vt == VT_BOOL) return v->boolVal == VARIANT_TRUE;
    if (v->vt == (VT_BOOL | VT_BYREF)) return v->pboolVal && *v->pboolVal == VARIANT_TRUE;
    return false;
}

CComPtr<IXMLDOMElement> ResultElement(IXMLDOMDocument* response, const wchar_t* tag) {
    return CXmlUtils::FindElementByTagName(response, tag);
}

// The request's element tag with its children removed.
CComPtr<IXMLDOMElement> EmptiedElement(CSoapRequest& request, const wchar_t* tag) {
    CComPtr<IXMLDOMElement> element = CXmlUtils::RequireElement(request.Document(), tag);
    CXmlUtils::RemoveAllChildren(element);
    return element;
}

// The request's element "contact" replaced by the contact's fields.
void WriteContact(CSoapRequest& request, IUnknown* contact) {
    CContactXml::ContactToXml(request.Document(), EmptiedElement(request, L"contact"), contact);
}

// Hands an owned reference to the caller's result.
template <class Itf>
void Hand(CComPtr<Itf> value, Itf** result) {
    *result = value.Detach();
}

}  // namespace

STDMETHODIMP CContactService::Initialise(BSTR Username, BSTR Password, BSTR Account, VARIANT IsServerSide) {
    return ForwardInitialise(kLog, kLog, m_soap, Username, Password, Account, IsServerSide);
}

STDMETHODIMP CContactService::GetContacts(IObjectCollection** pContacts) {
    return Operation("GetContacts", [&] {
        RequireResult(pContacts);
        auto response = CSoapRequest(kGetContactsTemplate).Post(m_soap, L"GetContacts");
        Hand(CContactXml::ContactListFromXml(ContactListKind::Contact,
                                             ResultElement(response, L"GetContactsResult")),
             pContacts);
    });
}

STDMETHODIMP CContactService::GetGroups(IObjectCollection** pGroups) {
    return Operation("GetGroups", [&] {
        RequireResult(pGroups);
        auto response = CSoapRequest(kGetGroupsTemplate).Post(m_soap, L"GetGroups");
        Hand(CContactXml::ContactListFromXml(ContactListKind::Group, ResultElement(response, L"GetGroupsResult")),
             pGroups);
    });
}

STDMETHODIMP CContactService::AddContact(IContact* Contact, BSTR* pContactID) {
    return Operation("AddContact", [&] {
        RequireObject(Contact, "Contact");
        RequireResult(pContactID);
        CSoapRequest request(kAddContactTemplate);
        WriteContact(request, Contact);
        auto response = request.Post(m_soap, L"AddContact");
        *pContactID = CXmlUtils::GetElementText(response, L"AddContactResult").Detach();
    });
}

STDMETHODIMP CContactService::AddContacts(IObjectCollection* Contacts, IStringCollection2** pContactIDs) {
    return Operation("AddContacts", [&] {
        if (!Contacts) RaiseMissingArgument("Contacts");
        RequireResult(pContactIDs);
        CSoapRequest request(kAddContactsTemplate);
        auto element = EmptiedElement(request, L"contacts");
        long count = 0;
        RaiseIfFailed(Contacts->get_Count(&count));
        for (long index = 1; index <= count; ++index) {
            CComPtr<IDispatch> item;
            RaiseIfFailed(Contacts->get_Item(index, &item));
            CContactXml::AppendContact(request.Document(), element, item);
        }
        auto response = request.Post(m_soap, L"AddContacts");
        Hand(CContactXml::StringListFromXml(ResultElement(response, L"AddContactsResult")), pContactIDs);
    });
}

STDMETHODIMP CContactService::AddGroup(IContactGroup* Group, BSTR MemberIDs, BSTR* pGroupID) {
    return Operation("AddGroup", [&] {
        RequireObject(Group, "Group");
        RequireResult(pGroupID);
        CSoapRequest request(kAddGroupTemplate);
        CContactXml::GroupToXml(request.Document(), Group, MemberIDs);
        auto response = request.Post(m_soap, L"AddGroup");
        *pGroupID = CXmlUtils::GetElementText(response, L"AddGroupResult").Detach();
    });
}

STDMETHODIMP CContactService::DeleteContact(BSTR ContactID) {
    return Operation("DeleteContact", [&] {
        RequirePresent(kLog, ContactID, "ContactID");
        CSoapRequest(kDeleteContactTemplate).Text(L"id", ContactID).Post(m_soap, L"DeleteContact");
    });
}

STDMETHODIMP CContactService::DeleteContacts(BSTR ContactIDs) {
    return Operation("DeleteContacts", [&] {
        RequirePresent(kLog, ContactIDs, "Contacts");
        CSoapRequest(kDeleteContactsTemplate).IDList(L"ids", ContactIDs).Post(m_soap, L"DeleteContacts");
    });
}

STDMETHODIMP CContactService::DeleteGroup(BSTR GroupID, VARIANT IncludeMembers) {
    return Operation("DeleteGroup", [&] {
        RequirePresent(kLog, GroupID, "GroupID");
        CSoapRequest(kDeleteGroupTemplate)
            .Text(L"id", GroupID)
            .Bool(L"includeMembers", IsTrue(IncludeMembers) ? VARIANT_TRUE : VARIANT_FALSE)
            .Post(m_soap, L"DeleteGroup");
    });
}

STDMETHODIMP CContactService::DeleteGroups(BSTR Groups) {
    return Operation("DeleteGroups", [&] {
        RequirePresent(kLog, Groups, "Groups");
        CSoapRequest(kDeleteGroupsTemplate).IDList(L"ids", Groups).Post(m_soap, L"DeleteGroups");
    });
}

STDMETHODIMP CContactService::UpdateContact(IContact* Contact) {
    return Operation("UpdateContact", [&] {
        RequireObject(Contact, "Contact");
        CSoapRequest request(kUpdateContactTemplate);
        WriteContact(request, Contact);
        request.Post(m_soap, L"UpdateContact");
    });
}

STDMETHODIMP CContactService::UpdateGroup(IContactGroup* Group, BSTR MemberIDs) {
    return Operation("UpdateGroup", [&] {
        RequireObject(Group, "Group");
        CSoapRequest request(kUpdateGroupTemplate);
        CContactXml::GroupToXml(request.Document(), Group, MemberIDs);
        request.Post(m_soap, L"UpdateGroup");
    });
}

STDMETHODIMP CContactService::GetContact(BSTR ID, IContact** pContact) {
    return Operation("GetContact", [&] {
        RequireText(ID, "ID");
        RequireResult(pContact);
        auto response = CSoapRequest(kGetContactTemplate).Text(L"id", ID).Post(m_soap, L"GetContact");
        if (auto result = ResultElement(response, L"GetContactResult"))
            Hand(CContactXml::ContactFromXml(result), pContact);
    });
}

STDMETHODIMP CContactService::GetGroup(BSTR ID, IContactGroup** pGroup) {
    return Operation("GetGroup", [&] {
        RequireText(ID, "ID");
        RequireResult(pGroup);
        auto response = CSoapRequest(kGetGroupTemplate).Text(L"id", ID).Post(m_soap, L"GetGroup");
        if (auto result = ResultElement(response, L"GetGroupResult"))
            Hand(CContactXml::ContactGroupFromXml(result), pGroup);
    });
}

STDMETHODIMP CContactService::GetGroupMembers(BSTR ID, IObjectCollection** pContacts) {
    return Operation("GetGroupMembers", [&] {
        RequirePresent(kLog, ID, "ID");
        RequireResult(pContacts);
        auto response = CSoapRequest(kGetGroupMembersTemplate).Text(L"id", ID).Post(m_soap, L"GetGroupMembers");
        Hand(CContactXml::ContactListFromXml(ContactListKind::Contact,
                                             ResultElement(response, L"GetGroupMembersResult")),
             pContacts);
    });
}

STDMETHODIMP CContactService::GetContactByQuickName(BSTR ID, IContact** pContact) {
    return Operation("GetContactByQuickName", [&] {
        RequireText(ID, "Name");
        RequireResult(pContact);
        auto response =
            CSoapRequest(kGetContactByQuickNameTemplate).Text(L"name", ID).Post(m_soap, L"GetContactByQuickName");
        if (auto result = ResultElement(response, L"GetContactByQuickNameResult"))
            Hand(CContactXml::ContactFromXml(result), pContact);
    });
}

STDMETHODIMP CContactService::GetGroupByName(BSTR ID, IContactGroup** pGroup) {
    return Operation("GetGroupByName", [&] {
        RequireText(ID, "Name");
        RequireResult(pGroup);
        auto response = CSoapRequest(kGetGroupByNameTemplate).Text(L"name", ID).Post(m_soap, L"GetGroupByName");
        if (auto result = ResultElement(response, L"GetGroupByNameResult"))
            Hand(CContactXml::ContactGroupFromXml(result), pGroup);
    });
}
