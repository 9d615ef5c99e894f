// The wire form of contacts and groups: building Contact and ContactGroup objects, and
// collections of them, from response elements, and writing this server's own contacts and
// groups into request documents. Every function raises its failures (Errors.h).
#pragma once

#include <windows.h>
#include <msxml2.h>

#include <atlbase.h>

#include "TarvockLib.h"

// What the children of a list element are.
enum class ContactListKind { Contact = 0, Group = 1 };

class CContactXml {
public:
    // A new Contact whose fields come from the element's children, matched by name
    // (case-sensitively); other children are skipped, a repeated name keeps the later value.
    static CComPtr<IContact> ContactFromXml(IXMLDOMNode* element);
    // A new ContactGroup from the children ID, Name, Description and GroupType.
    static CComPtr<IContactGroup> ContactGroupFromXml(IXMLDOMNode* element);

    // Appends the fourteen fields of contact, in wire order (Country before Postcode), as
    // children of element; an unset field is an empty child. contact must be one of this
    // server's contacts, else 5018.
    static void ContactToXml(IXMLDOMDocument* document, IXMLDOMNode* element, IUnknown* contact);
    // Appends a new child "Contact" (in element's namespace) to element and fills it as above.
    static void AppendContact(IXMLDOMDocument* document, IXMLDOMNode* element, IUnknown* contact);
    // Writes group's fields into the request's elements ID, Name, Description and GroupType, then
    // memberIDs as a list (null leaves it empty). group must be one of this server's groups,
    // else 5018.
    static void GroupToXml(IXMLDOMDocument* document, IUnknown* group, const wchar_t* memberIDs);

    // A new ObjectCollection with one Contact or ContactGroup per child node of element.
    static CComPtr<IObjectCollection> ContactListFromXml(ContactListKind kind, IXMLDOMNode* element);
    // A new StringCollection2 with the text of each child node of element.
    static CComPtr<IStringCollection2> StringListFromXml(IXMLDOMNode* element);
};
