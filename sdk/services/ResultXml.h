// Reading the result of a response: the result element, its child elements by local name, and
// the SDK data objects the results arrive in.
#pragma once

#include <windows.h>
#include <msxml2.h>

#include <atlbase.h>

#include <functional>

#include "Errors.h"

// A failed call raised with its own HRESULT and no description.
inline void RaiseIfFailed(HRESULT hr) {
    if (FAILED(hr)) RaiseHResult(hr);
}

// The first element named tag; a missing one raises E_FAIL without a description.
CComPtr<IXMLDOMElement> RequireResultElement(IXMLDOMDocument* response, const wchar_t* tag);

// Calls visit with each child element of parent, in document order (text, comments and other
// nodes between them are skipped).
void ForEachChildElement(IXMLDOMNode* parent, const std::function<void(IXMLDOMNode* child)>& visit);

// Calls visit with the local name (without a prefix) and the text of each child element of
// parent, in document order.
void ForEachField(IXMLDOMNode* parent, const std::function<void(const CComBSTR& name, const CComBSTR& text)>& visit);

// A new in-process object of class clsid served through Itf; a failure is raised bare.
template <class Itf>
CComPtr<Itf> CreateDataObject(const CLSID& clsid) {
    CComPtr<Itf> object;
    RaiseIfFailed(object.CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER));
    return object;
}

// True when a name read from the response is exactly expected (case-sensitive).
inline bool IsNamed(const CComBSTR& name, const wchar_t* expected) {
    return name.m_str && ::wcscmp(name.m_str, expected) == 0;
}
