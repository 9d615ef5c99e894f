// One SOAP request of a service method: a template from the satellite library, filled by element
// name, then posted through the object's transport. Every step raises its failure.
#pragma once

#include <windows.h>
#include <msxml2.h>

#include <atlbase.h>

#include "SoapService.h"
#include "TarvockLib.h"

class CSoapRequest {
public:
    // Loads "XML" template id (5000, 5005 or the parse text when it cannot).
    explicit CSoapRequest(UINT templateId);

    CSoapRequest& Text(const wchar_t* tag, const wchar_t* text);
    CSoapRequest& Long(const wchar_t* tag, long value);
    CSoapRequest& Bool(const wchar_t* tag, VARIANT_BOOL value);
    // A comma-separated list written as one "string" child per item.
    CSoapRequest& IDList(const wchar_t* tag, const wchar_t* list);
    // The wire text of type in the element "type"; a value outside 1-4 raises E_INVALIDARG
    // without a description.
    CSoapRequest& Type(MESSAGE_TYPE type);
    // The local midnight of date's day, in the XML date-time form.
    CSoapRequest& Day(const wchar_t* tag, DATE date);
    // Puts an empty element named name, in tag's namespace, in place of the element tag (5017
    // when there is none).
    CSoapRequest& ReplaceElement(const wchar_t* tag, const wchar_t* name);

    // Posts the request as operation (with the account's credentials unless told otherwise) and
    // gives the response document.
    CComPtr<IXMLDOMDocument> Post(CSOAPService& soap, const wchar_t* operation, bool withCredentials = true);

    IXMLDOMDocument* Document() const { return m_document; }

private:
    CComPtr<IXMLDOMDocument> m_document;
};
