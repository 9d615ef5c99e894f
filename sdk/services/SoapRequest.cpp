#include <windows.h>

#include "SoapRequest.h"

#include "Errors.h"
#include "XmlUtils.h"

namespace {

void RaiseIfFailed(HRESULT hr) {
    if (FAILED(hr)) RaiseHResult(hr);
}

}  // namespace

CSoapRequest::CSoapRequest(UINT templateId) : m_document(CXmlUtils::LoadTemplate(templateId)) {}

CSoapRequest& CSoapRequest::Text(const wchar_t* tag, const wchar_t* text) {
    CXmlUtils::SetElementText(m_document, tag, text);
    return *this;
}

CSoapRequest& CSoapRequest::Long(const wchar_t* tag, long value) {
    CXmlUtils::SetElementLong(m_document, tag, value);
    return *this;
}

CSoapRequest& CSoapRequest::Bool(const wchar_t* tag, VARIANT_BOOL value) {
    CXmlUtils::SetElementBool(m_document, tag, value);
    return *this;
}

CSoapRequest& CSoapRequest::IDList(const wchar_t* tag, const wchar_t* list) {
    CXmlUtils::WriteIDList(m_document, tag, list);
    return *this;
}

CSoapRequest& CSoapRequest::Type(MESSAGE_TYPE type) {
    const wchar_t* text = CXmlUtils::MessageTypeText(type);
    if (!text) RaiseHResult(E_INVALIDARG);
    return Text(L"type", text);
}

CSoapRequest& CSoapRequest::Day(const wchar_t* tag, DATE date) {
    return Text(tag, CXmlUtils::DateToXmlDateTime(date).c_str());
}

CSoapRequest& CSoapRequest::ReplaceElement(const wchar_t* tag, const wchar_t* name) {
    CComPtr<IXMLDOMElement> old = CXmlUtils::RequireElement(m_document, tag);
    CComBSTR namespaceUri;
    RaiseIfFailed(old->get_namespaceURI(&namespaceUri));
    CComPtr<IXMLDOMNode> replacement;
    RaiseIfFailed(m_document->createNode(CComVariant(static_cast<int>(NODE_ELEMENT)), CComBSTR(name),
                                         namespaceUri, &replacement));
    CComPtr<IXMLDOMNode> parent;
    RaiseIfFailed(old->get_parentNode(&parent));
    if (!parent) RaiseHResult(E_FAIL);
    CComPtr<IXMLDOMNode> removed;
    RaiseIfFailed(parent->replaceChild(replacement, old, &removed));
    return *this;
}

CComPtr<IXMLDOMDocument> CSoapRequest::Post(CSOAPService& soap, const wchar_t* operation, bool withCredentials) {
    CComPtr<IXMLDOMDocument> document = m_document;
    ExecuteOrRaise(soap, document, operation, withCredentials);
    return document;
}
