#include <windows.h>

#include "ContactTestSupport.h"

#include "ComTestSupport.h"
#include "DomTestSupport.h"
#include "MsXml.h"

namespace contacttest {

namespace {

// The version-independent DOM document class.
const CLSID kDomDocument = {0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

template <class Read>
std::vector<std::wstring> MapChildren(IXMLDOMNode* element, Read&& read) {
    std::vector<std::wstring> result;
    if (!element) return result;
    testsupport::ForEachChild(element, [&](IXMLDOMNode* child) { result.push_back(read(child)); });
    return result;
}

using ContactGetter = HRESULT (STDMETHODCALLTYPE IContact::*)(BSTR*);
using GroupGetter = HRESULT (STDMETHODCALLTYPE IContactGroup::*)(BSTR*);

std::wstring Read(IContact* contact, ContactGetter get) {
    CComBSTR value;
    if (FAILED((contact->*get)(&value))) return L"<failed>";
    return Str(value);
}

std::wstring Read(IContactGroup* group, GroupGetter get) {
    CComBSTR value;
    if (FAILED((group->*get)(&value))) return L"<failed>";
    return Str(value);
}

}  // namespace

const wchar_t* const kWireContactFields[14] = {
    L"ID",     L"QuickName", L"FirstName", L"LastName", L"TelephoneNumber", L"MobileNumber", L"StreetAddress1",
    L"StreetAddress2", L"Town", L"County", L"Country", L"Postcode", L"EmailAddress", L"ContactType"};

CComPtr<IXMLDOMDocument> ParseXml(const std::wstring& text) {
    CComPtr<IXMLDOMDocument> document;
    if (FAILED(document.CoCreateInstance(kDomDocument, nullptr, CLSCTX_INPROC_SERVER))) return nullptr;
    VARIANT_BOOL loaded = VARIANT_FALSE;
    if (FAILED(document->loadXML(CComBSTR(text.c_str()), &loaded)) || loaded != VARIANT_TRUE) return nullptr;
    return document;
}

CComPtr<IXMLDOMNode> FindElement(IXMLDOMDocument* document, const wchar_t* tag) {
    CComPtr<IXMLDOMNodeList> list;
    if (!document || FAILED(document->getElementsByTagName(CComBSTR(tag), &list)) || !list) return nullptr;
    CComPtr<IXMLDOMNode> node;
    list->get_item(0, &node);
    return node;
}

std::vector<std::wstring> ChildNames(IXMLDOMNode* element) {
    return MapChildren(element, [](IXMLDOMNode* child) {
        CComBSTR name;
        child->get_nodeName(&name);
        return Str(name);
    });
}

std::vector<std::wstring> ChildTexts(IXMLDOMNode* element) {
    return MapChildren(element, [](IXMLDOMNode* child) { return TextOf(child); });
}

std::wstring TextOf(IXMLDOMNode* node) {
    CComBSTR text;
    if (!node || FAILED(node->get_text(&text))) return L"<none>";
    return text.m_str ? std::wstring(text.m_str, text.Length()) : std::wstring();
}

std::wstring NamespaceOf(IXMLDOMNode* node) {
    CComBSTR uri;
    if (!node || FAILED(node->get_namespaceURI(&uri))) return L"<none>";
    return uri.m_str ? std::wstring(uri.m_str, uri.Length()) : std::wstring();
}

std::wstring Str(BSTR text) {
    return text ? std::wstring(text, ::SysStringLen(text)) : std::wstring(L"<null>");
}

std::map<std::wstring, std::wstring> FieldsOf(IContact* contact) {
    std::map<std::wstring, std::wstring> fields;
    fields[L"ID"] = Read(contact, &IContact::get_ID);
    fields[L"QuickName"] = Read(contact, &IContact::get_QuickName);
    fields[L"FirstName"] = Read(contact, &IContact::get_FirstName);
    fields[L"LastName"] = Read(contact, &IContact::get_LastName);
    fields[L"TelephoneNumber"] = Read(contact, &IContact::get_TelephoneNumber);
    fields[L"MobileNumber"] = Read(contact, &IContact::get_MobileNumber);
    fields[L"StreetAddress1"] = Read(contact, &IContact::get_StreetAddress1);
    fields[L"StreetAddress2"] = Read(contact, &IContact::get_StreetAddress2);
    fields[L"Town"] = Read(contact, &IContact::get_Town);
    fields[L"County"] = Read(contact, &IContact::get_County);
    fields[L"Postcode"] = Read(contact, &IContact::get_Postcode);
    fields[L"Country"] = Read(contact, &IContact::get_Country);
    fields[L"EmailAddress"] = Read(contact, &IContact::get_EmailAddress);
    CONTACT_TYPE type = CONTACT_TYPE_CONTACT;
    contact->get_ContactType(&type);
    fields[L"ContactType"] = std::to_wstring(static_cast<long>(type));
    return fields;
}

std::map<std::wstring, std::wstring> FieldsOf(IContactGroup* group) {
    std::map<std::wstring, std::wstring> fields;
    fields[L"ID"] = Read(group, &IContactGroup::get_ID);
    fields[L"Name"] = Read(group, &IContactGroup::get_Name);
    fields[L"Description"] = Read(group, &IContactGroup::get_Description);
    CONTACT_GROUP_TYPE type = CONTACT_GROUP_TYPE_GROUP;
    group->get_GroupType(&type);
    fields[L"GroupType"] = std::to_wstring(static_cast<long>(type));
    return fields;
}

CComPtr<IContact> NewContact() {
    CComPtr<IContact> contact;
    contact.CoCreateInstance(CLSID_Contact, nullptr, CLSCTX_INPROC_SERVER);
    return contact;
}

CComPtr<IContactGroup> NewGroup() {
    CComPtr<IContactGroup> group;
    group.CoCreateInstance(CLSID_ContactGroup, nullptr, CLSCTX_INPROC_SERVER);
    return group;
}

}  // namespace contacttest
