// One synchronous HTTP exchange through the platform's XMLHTTP object. Each call starts with the
// thread's error info cleared; a failing call raises 0x800203E8 with text 5020 naming the call and
// the platform's description of the failure, or, when the platform gives none, the system text of
// the HRESULT or its hexadecimal value.
#pragma once

#include <windows.h>

#include <atlbase.h>

#include <string>

#include "MsXml.h"

class CXmlHttpRequest {
public:
    // "MSXML2.ServerXMLHTTP" when serverSide, else "Microsoft.XMLHTTP"; logs "Creating COM object
    // <ProgID>" under category; raises 5002 when the object cannot be created.
    CXmlHttpRequest(bool serverSide, const char* category);

    static const wchar_t* ProgId(bool serverSide);

    // open("POST", address, synchronous).
    void OpenPost(const std::wstring& address);
    void SetHeader(const wchar_t* name, const wchar_t* value);
    void Send(BSTR body);

    long Status() const;
    CComBSTR StatusText() const;
    CComBSTR ResponseText() const;
    // The answer as parsed by the request object itself; null when it offers none. (It is made
    // without a round trip through the class registry, unlike a document created anew.)
    CComPtr<IXMLDOMDocument> ResponseDocument() const;

    // The description for a failed call: the platform's, else the system text of hr, else its
    // hexadecimal value.
    static std::wstring FailureDescription(HRESULT hr);

private:
    template <class Call>
    void Run(const char* callName, Call&& call);

    CComPtr<IXMLHTTPRequest> m_request;
};
