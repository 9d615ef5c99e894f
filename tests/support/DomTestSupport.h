// Walks over a DOM node's children, for tests that read documents (requests, answers, logs).
#pragma once

#include <windows.h>
#include <msxml2.h>

#include <atlbase.h>

namespace testsupport {

// Calls visit(child) for each child of node, in document order.
template <class Visit>
void ForEachChild(IXMLDOMNode* node, Visit&& visit) {
    CComPtr<IXMLDOMNode> child;
    node->get_firstChild(&child);
    while (child) {
        visit(child.p);
        CComPtr<IXMLDOMNode> next;
        child->get_nextSibling(&next);
        child = next;
    }
}

// Calls visit(child) for each element child of node, in document order.
template <class Visit>
void ForEachElement(IXMLDOMNode* node, Visit&& visit) {
    ForEachChild(node, [&](IXMLDOMNode* child) {
        DOMNodeType type = NODE_INVALID;
        child->get_nodeType(&type);
        if (type == NODE_ELEMENT) visit(child);
    });
}

}  // namespace testsupport
