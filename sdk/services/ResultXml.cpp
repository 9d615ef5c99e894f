#include <windows.h>

#include "ResultXml.h"

#include "XmlUtils.h"

CComPtr<IXMLDOMElement> RequireResultElement(IXMLDOMDocument* response, const wchar_t* tag) {
    CComPtr<IXMLDOMElement> element = CXmlUtils::FindElementByTagName(response, tag);
    if (!element) RaiseHResult(E_FAIL);
    return element;
}

void ForEachChildElement(IXMLDOMNode* parent, const std::function<void(IXMLDOMNode* child)>& visit) {
    CComPtr<IXMLDOMNode> child;
    RaiseIfFailed(parent->get_firstChild(&child));
    while (child) {
        DOMNodeType type = NODE_INVALID;
        RaiseIfFailed(child->get_nodeType(&type));
        if (type == NODE_ELEMENT) visit(child);
        CComPtr<IXMLDOMNode> next;
        RaiseIfFailed(child->get_nextSibling(&next));
        child = next;
    }
}

void ForEachField(IXMLDOMNode* parent, const std::function<void(const CComBSTR& name, const CComBSTR& text)>& visit) {
    ForEachChildElement(parent, [&](IXMLDOMNode* child) { visit(CXmlUtils::LocalName(child), CXmlUtils::NodeText(child)); });
}
