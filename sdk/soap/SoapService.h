// The transport every service object embeds: the account's credentials, the end point's address,
// one synchronous POST of a filled request through XMLHTTP, and HTTP statuses and SOAP faults
// turned into automation errors.
#pragma once

#include <windows.h>

#include <atlbase.h>

#include <string>

#include "MsXml.h"

class CSOAPService {
public:
    explicit CSOAPService(const wchar_t* endPointName, bool mock = false);

    // Stores copies of the credentials; Username, Password and Account must be present and not
    // empty (5004 naming the first that is not). IsServerSide is true only for VT_BOOL true.
    HRESULT Initialise(BSTR Username, BSTR Password, BSTR Account, VARIANT IsServerSide);

    // Replaces the process-wide base-address override and mock address (null makes them empty).
    static void SetSoapEndPoints(const wchar_t* uri, const wchar_t* mockUri);

    // Posts document to the end point as SOAP operation method; on success document holds the
    // response. Failures are logged and returned.
    HRESULT Execute(CComPtr<IXMLDOMDocument>& document, const wchar_t* method, bool withCredentials);
    HRESULT ExecuteWithCredentials(CComPtr<IXMLDOMDocument>& document, const wchar_t* method) {
        return Execute(document, method, true);
    }
    HRESULT ExecuteAnonymous(CComPtr<IXMLDOMDocument>& document, const wchar_t* method) {
        return Execute(document, method, false);
    }

    // Raises the automation error of a SOAP fault with its message and error-code text.
    [[noreturn]] static void ReportSoapError(const wchar_t* message, const wchar_t* codeText);

    // The address a request goes to: mock address, override or default base, then the end-point
    // name and ".asmx".
    std::wstring EndPointAddress() const;

    const CComBSTR& Username() const { return m_username; }
    bool IsServerSide() const { return m_isServerSide; }

    // The SOAPAction header of an operation: the service's namespace followed by the method name.
    static std::wstring SoapAction(const wchar_t* method);
    // A request's XML text with the value of every Password element masked, as the request is
    // logged.
    static std::wstring MaskedXmlText(const wchar_t* xml);
    static const wchar_t* const kPasswordMask;

private:
    // Steps of Execute; each raises its failure.
    void WriteCredentials(IXMLDOMDocument* document) const;
    void Post(CComPtr<IXMLDOMDocument>& document, const wchar_t* method, bool withCredentials) const;
    // The error of a status-500 answer: its detail, else its faultstring, else its whole text.
    [[noreturn]] static void RaiseFault(IXMLDOMDocument* response, bool parsed, BSTR responseText);

    std::wstring m_endPointName;
    bool m_mock;
    CComBSTR m_username;
    CComBSTR m_password;
    CComBSTR m_account;
    bool m_isServerSide = false;
};

// Runs a request through the transport and raises its failure again in the calling method.
void ExecuteOrRaise(CSOAPService& soap, CComPtr<IXMLDOMDocument>& document, const wchar_t* method,
                    bool withCredentials = true);
