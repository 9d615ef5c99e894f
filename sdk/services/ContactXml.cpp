#include <windows.h>

#include "ContactXml.h"

#include "Contact.h"
#include "ContactGroup.h"
#include "Errors.h"
#include "ResultXml.h"
#include "XmlUtils.h"

#include <utility>

namespace {

using ContactSetter = HRESULT (STDMETHODCALLTYPE IContact::*)(BSTR);
using GroupSetter = HRESULT (STDMETHODCALLTYPE IContactGroup::*)(BSTR);

struct ContactTextField {
    const wchar_t* name;
    ContactField field;
    ContactSetter put;
};

// The contact's text fields in wire order: Country stands before Postcode.
const ContactTextField kContactFields[] = {
    {L"ID", ContactField::ID, &IContact::put_ID},
    {L"QuickName", ContactField::QuickName, &IContact::put_QuickName},
    {L"FirstName", ContactField::FirstName, &IContact::put_FirstName},
    {L"LastName", ContactField::LastName, &IContact::put_LastName},
    {L"TelephoneNumber", ContactField::TelephoneNumber, &IContact::put_TelephoneNumber},
    {L"MobileNumber", ContactField::MobileNumber, &IContact::put_MobileNumber},
    {L"StreetAddress1", ContactField::StreetAddress1, &IContact::put_StreetAddress1},
    {L"StreetAddress2", ContactField::StreetAddress2, &IContact::put_StreetAddress2},
    {L"Town", ContactField::Town, &IContact::put_Town},
    {L"County", ContactField::County, &IContact::put_County},
    {L"Country", ContactField::Country, &IContact::put_Country},
    {L"Postcode", ContactField::Postcode, &IContact::put_Postcode},
    {L"EmailAddress", ContactField::EmailAddress, &IContact::put_EmailAddress},
};
const wchar_t kContactType[] = L"ContactType";

struct GroupTextField {
    const wchar_t* name;
    GroupSetter put;
};

const GroupTextField kGroupFields[] = {
    {L"ID", &IContactGroup::put_ID},
    {L"Name", &IContactGroup::put_Name},
    {L"Description", &IContactGroup::put_Description},
};
const wchar_t kGroupType[] = L"GroupType";

// A new object of this server through the COM runtime, in any context; a failure is raised bare.
template <class Itf>
CComPtr<Itf> CreateObject(REFCLSID clsid) {
    CComPtr<Itf> object;
    RaiseIfFailed(::CoCreateInstance(clsid, nullptr, CLSCTX_ALL, __uuidof(Itf), reinterpret_cast<void**>(&object)));
    if (!object) RaiseHResult(E_FAIL);
    return object;
}

// Calls visit(child) for every child node of element, first to last.
template <class Visit>
void ForEachChild(IXMLDOMNode* element, Visit&& visit) {
    if (!element) RaiseHResult(E_FAIL);
    CComPtr<IXMLDOMNode> child;
    RaiseIfFailed(element->get_firstChild(&child));
    while (child) {
        visit(child.p);
        CComPtr<IXMLDOMNode> next;
        RaiseIfFailed(child->get_nextSibling(&next));
        child = std::move(next);
    }
}

CComBSTR NodeName(IXMLDOMNode* node) {
    CComBSTR name;
    RaiseIfFailed(node->get_nodeName(&name));
    return name;
}

}  // namespace

CComPtr<IContact> CContactXml::ContactFromXml(IXMLDOMNode* element) {
    CComPtr<IContact> contact = CreateObject<IContact>(CLSID_Contact);
    ForEachChild(element, [&](IXMLDOMNode* child) {
        const CComBSTR name = NodeName(child);
        if (IsNamed(name, kContactType)) {
            const CComBSTR text = CXmlUtils::NodeText(child);
            RaiseIfFailed(contact->put_ContactType(CXmlUtils::ContactTypeFromText(text)));
            return;
        }
        for (const ContactTextField& field : kContactFields) {
            if (!IsNamed(name, field.name)) continue;
            CComBSTR text = CXmlUtils::NodeText(child);
            RaiseIfFailed((contact.p->*field.put)(text));
            return;
        }
    });
    return contact;
}

CComPtr<IContactGroup> CContactXml::ContactGroupFromXml(IXMLDOMNode* element) {
    CComPtr<IContactGroup> group = CreateObject<IContactGroup>(CLSID_ContactGroup);
    ForEachChild(element, [&](IXMLDOMNode* child) {
        const CComBSTR name = NodeName(child);
        if (IsNamed(name, kGroupType)) {
            const CComBSTR text = CXmlUtils::NodeText(child);
            RaiseIfFailed(group->put_GroupType(CXmlUtils::ContactGroupTypeFromText(text)));
            return;
        }
        for (const GroupTextField& field : kGroupFields) {
            if (!IsNamed(name, field.name)) continue;
            CComBSTR text = CXmlUtils::NodeText(child);
            RaiseIfFailed((group.p->*field.put)(text));
            return;
        }
    });
    return group;
}

void CContactXml::ContactToXml(IXMLDOMDocument* document, IXMLDOMNode* element, IUnknown* contact) {
    const CContact* fields = ContactFromObject(contact);
    for (const ContactTextField& field : kContactFields) {
        const BSTR text = fields->Field(field.field);
        CXmlUtils::AppendTextElement(document, element, field.name, text ? text : L"");
    }
    CXmlUtils::AppendTextElement(document, element, kContactType, CXmlUtils::ContactTypeText(fields->Type()));
}

void CContactXml::AppendContact(IXMLDOMDocument* document, IXMLDOMNode* element, IUnknown* contact) {
    CComBSTR namespaceUri;
    RaiseIfFailed(element->get_namespaceURI(&namespaceUri));
    CComVariant type(static_cast<long>(NODE_ELEMENT));
    CComPtr<IXMLDOMNode> item;
    RaiseIfFailed(document->createNode(type, CComBSTR(L"Contact"), namespaceUri, &item));
    CComPtr<IXMLDOMNode> appended;
    RaiseIfFailed(element->appendChild(item, &appended));
    ContactToXml(document, appended ? appended.p : item.p, contact);
}

void CContactXml::GroupToXml(IXMLDOMDocument* document, IUnknown* group, const wchar_t* memberIDs) {
    const CContactGroup* fields = GroupFromObject(group);
    CXmlUtils::SetElementText(document, L"ID", fields->ID());
    CXmlUtils::SetElementText(document, L"Name", fields->Name());
    CXmlUtils::SetElementText(document, L"Description", fields->Description());
    CXmlUtils::SetElementText(document, kGroupType, CXmlUtils::ContactGroupTypeText(fields->GroupType()));
    CXmlUtils::WriteIDList(document, L"memberIDs", memberIDs);
}

CComPtr<IObjectCollection> CContactXml::ContactListFromXml(ContactListKind kind, IXMLDOMNode* element) {
    if (!element) RaiseHResult(E_FAIL);
    CComPtr<IObjectCollection> list = CreateObject<IObjectCollection>(CLSID_ObjectCollection);
    ForEachChild(element, [&](IXMLDOMNode* child) {
        CComPtr<IDispatch> item;
        if (kind == ContactListKind::Group)
            item = ContactGroupFromXml(child).p;
        else
            item = ContactFromXml(child).p;
        RaiseIfFailed(list->Add(item));
    });
    return list;
}

CComPtr<IStringCollection2> CContactXml::StringListFromXml(IXMLDOMNode* element) {
    if (!element) RaiseHResult(E_FAIL);
    CComPtr<IStringCollection2> list = CreateObject<IStringCollection2>(CLSID_StringCollection2);
    ForEachChild(element, [&](IXMLDOMNode* child) {
        CComBSTR text = CXmlUtils::NodeText(child);
        RaiseIfFailed(list->Add(text));
    });
    return list;
}
