// Helpers of the contact tests: DOM documents from text, the children of an element, the fields
// of a contact or group read through their dual interfaces, and the satellite's error texts.
#pragma once

#include <windows.h>
#include <msxml2.h>

#include <atlbase.h>

#include <map>
#include <string>
#include <vector>

#include "SdkTestSupport.h"
#include "TarvockLib.h"

namespace contacttest {

// A DOM document holding text; null when it does not parse.
CComPtr<IXMLDOMDocument> ParseXml(const std::wstring& text);
// The first element with that qualified name.
CComPtr<IXMLDOMNode> FindElement(IXMLDOMDocument* document, const wchar_t* tag);

std::vector<std::wstring> ChildNames(IXMLDOMNode* element);
std::vector<std::wstring> ChildTexts(IXMLDOMNode* element);
std::wstring TextOf(IXMLDOMNode* node);
std::wstring NamespaceOf(IXMLDOMNode* node);

// A BSTR as a wide string; "<null>" for null, so null and empty stay apart.
std::wstring Str(BSTR text);

// The contact's fields by wire name (ContactType as its number); null strings read "<null>".
std::map<std::wstring, std::wstring> FieldsOf(IContact* contact);
std::map<std::wstring, std::wstring> FieldsOf(IContactGroup* group);

CComPtr<IContact> NewContact();
CComPtr<IContactGroup> NewGroup();

// Text id of the SDK's English satellite library.
using sdktest::SdkText;

// The wire form of a contact's fourteen fields, in wire order.
extern const wchar_t* const kWireContactFields[14];

}  // namespace contacttest
