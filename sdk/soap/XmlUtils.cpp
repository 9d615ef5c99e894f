#include "XmlUtils.h"

#include <cwchar>
#include <cwctype>
#include <climits>
#include <string>

#include "DomCall.h"
#include "AnsiText.h"
#include "Errors.h"
#include "ListSplitter.h"
#include "Method.h"
#include "XmlResource.h"
#include "resource.h"

namespace {

// The first element below node, in document order, whose qualified name is tag.
CComPtr<IXMLDOMElement> FindBelow(IXMLDOMNode* node, const wchar_t* tag) {
    CComPtr<IXMLDOMNode> child;
    CheckDom(node->get_firstChild(&child));
    while (child) {
        DOMNodeType type = NODE_INVALID;
        CheckDom(child->get_nodeType(&type));
        if (type == NODE_ELEMENT) {
            CComBSTR name;
            CheckDom(child->get_nodeName(&name));
            if (name && std::wcscmp(name, tag) == 0) {
                CComPtr<IXMLDOMElement> element;
                CheckDom(child.QueryInterface(&element));
                return element;
            }
            if (CComPtr<IXMLDOMElement> found = FindBelow(child, tag)) return found;
        }
        CComPtr<IXMLDOMNode> next;
        CheckDom(child->get_nextSibling(&next));
        child = next;
    }
    return nullptr;
}


}  // namespace

HRESULT CXmlUtils::LoadXMLDocFromResource(UINT id, IXMLDOMDocument** document) {
    if (!document) return E_POINTER;
    *document = nullptr;
    CComPtr<IXMLDOMDocument> loaded;
    const HRESULT hr = RunMethod(
        "CXmlUtils", "CXmlUtils", "LoadXMLDocFromResource",
        [&] {
            CXmlResource resource;
            resource.Load(id, L"XML");
            CComBSTR text(resource.Text().c_str());
            loaded = CreateDocument();
            LoadText(loaded, text);
        },
        ExitLog::No);
    if (SUCCEEDED(hr)) *document = loaded.Detach();
    return hr;
}

CComPtr<IXMLDOMDocument> CXmlUtils::LoadTemplate(UINT id) {
    CComPtr<IXMLDOMDocument> document;
    const HRESULT hr = LoadXMLDocFromResource(id, &document);
    if (FAILED(hr)) RaiseHResult(hr);
    return document;
}

CComPtr<IXMLDOMDocument> CXmlUtils::CreateDocument() {
    CComPtr<IXMLDOMDocument> document;
    if (FAILED(document.CoCreateInstance(msxml::kDomDocumentClass, nullptr, msxml::kAnyServerContext)) || !document)
        RaiseErrorById(IDS_DOM_NOT_CREATED, E_FAIL);
    return document;
}

bool CXmlUtils::HasDocumentElement(IXMLDOMDocument* document) {
    CComPtr<IXMLDOMElement> root;
    return document && SUCCEEDED(document->get_documentElement(&root)) && root;
}

bool CXmlUtils::ParseText(IXMLDOMDocument* document, BSTR text) {
    CComBSTR empty(L"");
    VARIANT_BOOL loaded = VARIANT_FALSE;
    const HRESULT hr = document->loadXML(text ? text : empty.m_str, &loaded);
    return SUCCEEDED(hr) && loaded == VARIANT_TRUE && HasDocumentElement(document);
}

void CXmlUtils::LoadText(IXMLDOMDocument* document, BSTR text) {
    if (!ParseText(document, text)) RaiseError(FormatParseError(document).c_str(), E_FAIL);
}

CComBSTR CXmlUtils::XmlText(IXMLDOMDocument* document) {
    CComBSTR xml;
    CheckDom(document->get_xml(&xml));
    return xml;
}

CComPtr<IXMLDOMElement> CXmlUtils::FindElementByTagName(IXMLDOMDocument* document, const wchar_t* tag) {
    if (!document || !tag) return nullptr;
    return FindBelow(document, tag);
}

CComPtr<IXMLDOMElement> CXmlUtils::RequireElement(IXMLDOMDocument* document, const wchar_t* tag) {
    CComPtr<IXMLDOMElement> element = FindElementByTagName(document, tag);
    if (!element) RaiseFormattedError(E_FAIL, IDS_ELEMENT_MISSING, {AnsiText(tag)});
    return element;
}

void CXmlUtils::SetElementText(IXMLDOMDocument* document, const wchar_t* tag, const wchar_t* text) {
    CComPtr<IXMLDOMElement> element = RequireElement(document, tag);
    CComPtr<IXMLDOMNodeList> children;
    CheckDom(element->get_childNodes(&children));
    long count = 0;
    CheckDom(RequireNode(children.p)->get_length(&count));
    if (count != 1) RaiseErrorById(IDS_ELEMENT_NOT_SINGLE_VALUE, E_FAIL);
    CComPtr<IXMLDOMNode> child;
    CheckDom(children->get_item(0, &child));
    CComVariant value(text ? text : L"");
    const HRESULT hr = RequireNode(child.p)->put_nodeValue(value);
    if (FAILED(hr)) RaiseHResult(hr);
}

void CXmlUtils::SetElementBool(IXMLDOMDocument* document, const wchar_t* tag, VARIANT_BOOL value) {
    SetElementText(document, tag, value == VARIANT_TRUE ? L"true" : L"false");
}

void CXmlUtils::SetElementLong(IXMLDOMDocument* document, const wchar_t* tag, long value) {
    SetElementText(document, tag, std::to_wstring(value).c_str());
}

CComBSTR CXmlUtils::GetElementText(IXMLDOMDocument* document, const wchar_t* tag) {
    CComPtr<IXMLDOMElement> element = FindElementByTagName(document, tag);
    return element ? NodeText(element) : CComBSTR();
}

long CXmlUtils::GetElementLong(IXMLDOMDocument* document, const wchar_t* tag) {
    CComPtr<IXMLDOMElement> element = FindElementByTagName(document, tag);
    if (!element) return 0;
    CComVariant value;
    CheckDom(element->get_nodeTypedValue(&value));
    return CoerceToLong(value);
}

long CXmlUtils::CoerceToLong(const VARIANT& value) {
    switch (value.vt) {
        case VT_I2: return value.iVal;
        case VT_I4: return value.lVal;
        case VT_BSTR: return LeadingInteger(value.bstrVal);
        default: RaiseInvalidArgument("");
    }
}

long CXmlUtils::LeadingInteger(const wchar_t* text) {
    if (!text) return 0;
    while (std::iswspace(*text)) ++text;
    bool negative = false;
    if (*text == L'+' || *text == L'-') negative = (*text++ == L'-');
    long long magnitude = 0;
    for (; *text >= L'0' && *text <= L'9'; ++text) {
        if (magnitude <= static_cast<long long>(LONG_MAX) + 1) magnitude = magnitude * 10 + (*text - L'0');
    }
    const long long value = negative ? -magnitude : magnitude;
    if (value > LONG_MAX) return LONG_MAX;
    if (value < LONG_MIN) return LONG_MIN;
    return static_cast<long>(value);
}

void CXmlUtils::AppendTextElement(IXMLDOMDocument* document, IXMLDOMNode* parent, const wchar_t* name,
                                  const wchar_t* text) {
    CComBSTR namespaceUri;
    CheckDom(parent->get_namespaceURI(&namespaceUri));
    CComVariant type(static_cast<long>(NODE_ELEMENT));
    CComPtr<IXMLDOMNode> element;
    CheckDom(document->createNode(type, CComBSTR(name), namespaceUri ? namespaceUri : CComBSTR(L""), &element));
    CComPtr<IXMLDOMNode> appended;
    CheckDom(parent->appendChild(RequireNode(element.p), &appended));
    CComPtr<IXMLDOMText> textNode;
    CheckDom(document->createTextNode(CComBSTR(text ? text : L""), &textNode));
    CComPtr<IXMLDOMNode> appendedText;
    CheckDom(RequireNode(appended.p)->appendChild(RequireNode(textNode.p), &appendedText));
}

void CXmlUtils::RemoveAllChildren(IXMLDOMNode* element) {
    CComPtr<IXMLDOMNode> child;
    CheckDom(element->get_firstChild(&child));
    while (child) {
        CComPtr<IXMLDOMNode> removed;
        CheckDom(element->removeChild(child, &removed));
        child.Release();
        CheckDom(element->get_firstChild(&child));
    }
}

void CXmlUtils::WriteIDList(IXMLDOMDocument* document, const wchar_t* tag, const wchar_t* list) {
    CComPtr<IXMLDOMElement> element = RequireElement(document, tag);
    RemoveAllChildren(element);
    if (!list) return;
    CListSplitter splitter(list);
    std::wstring item;
    while (splitter.Next(item)) AppendTextElement(document, element, L"string", item.c_str());
}

CComPtr<IStringCollection2> CXmlUtils::ReadStringCollection(IXMLDOMDocument* document, const wchar_t* tag) {
    return StringCollectionFromChildren(RequireElement(document, tag));
}

CComPtr<IStringCollection2> CXmlUtils::StringCollectionFromChildren(IXMLDOMNode* element) {
    CComPtr<IStringCollection2> collection;
    const HRESULT created = collection.CoCreateInstance(CLSID_StringCollection2);
    if (FAILED(created)) RaiseHResult(created);
    CComPtr<IXMLDOMNode> child;
    CheckDom(element->get_firstChild(&child));
    while (child) {
        const HRESULT added = collection->Add(NodeText(child));
        if (FAILED(added)) RaiseHResult(added);
        CComPtr<IXMLDOMNode> next;
        CheckDom(child->get_nextSibling(&next));
        child = next;
    }
    return collection;
}

std::wstring CXmlUtils::FormatParseError(IXMLDOMDocument* document) {
    CComPtr<IXMLDOMParseError> error;
    if (FAILED(document->get_parseError(&error)) || !error) return std::wstring();
    long code = 0, line = 0, column = 0;
    error->get_errorCode(&code);
    if (code == 0) return std::wstring();
    error->get_line(&line);
    error->get_linepos(&column);
    CComBSTR reason;
    error->get_reason(&reason);
    return L"Line: " + std::to_wstring(line) + L" Col: " + std::to_wstring(column) + L" Reason: " +
           std::wstring(reason ? static_cast<const wchar_t*>(reason) : L"");
}

CComBSTR CXmlUtils::LocalName(IXMLDOMNode* node) {
    CComBSTR name;
    CheckDom(node->get_baseName(&name));
    return name;
}

CComBSTR CXmlUtils::NodeText(IXMLDOMNode* node) {
    CComBSTR text;
    CheckDom(node->get_text(&text));
    return text;
}
