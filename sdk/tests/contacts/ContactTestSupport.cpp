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

// A text property of Itf: its name and its getter.
template <class Itf>
struct TextProperty {
    const wchar_t* name;
    HRESULT (STDMETHODCALLTYPE Itf::*get)(BSTR*);
};

const TextProperty<IContact> kContactTexts[] = {
    {L"ID", &IContact::get_ID},
    {L"QuickName", &IContact::get_QuickName},
    {L"FirstName", &IContact::get_FirstName},
    {L"LastName", &IContact::get_LastName},
    {L"TelephoneNumber", &IContact::get_TelephoneNumber},
    {L"MobileNumber", &IContact::get_MobileNumber},
    {L"StreetAddress1", &IContact::get_StreetAddress1},
    {L"StreetAddress2", &IContact::get_StreetAddress2},
    {L"Town", &IContact::get_Town},
    {L"County", &IContact::get_County},
    {L"Postcode", &IContact::get_Postcode},
    {L"Country", &IContact::get_Country},
    {L"EmailAddress", &IContact::get_EmailAddress},
};

const TextProperty<IContactGroup> kGroupTexts[] = {
    {L"ID", &IContactGroup::get_ID},
    {L"Name", &IContactGroup::get_Name},
    {L"Description", &IContactGroup::get_Description},
};

// Each property's text by name, in table order; "<failed>" where the getter fails.
template <class Itf, size_t N>
std::map<std::wstring, std::wstring> TextsOf(Itf* object, const TextProperty<Itf> (&properties)[N]) {
    std::map<std::wstring, std::wstring> fields;
    for (const TextProperty<Itf>& property : properties) {
        CComBSTR value;
        fields[property.name] = FAILED((object->*property.get)(&value)) ? std::wstring(L"<failed>") : Str(value);
    }
    return fields;
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
    auto fields = TextsOf(contact, kContactTexts);
    CONTACT_TYPE type = CONTACT_TYPE_CONTACT;
    contact->get_ContactType(&type);
    fields[L"ContactType"] = std::to_wstring(static_cast<long>(type));
    return fields;
}

std::map<std::wstring, std::wstring> FieldsOf(IContactGroup* group) {
    auto fields = TextsOf(group, kGroupTexts);
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
