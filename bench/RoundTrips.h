// The round trips the SOAP benchmark times: one GetMessageLimit call of the test account, made
// by the SDK's transport, by the SDK's AccountService object, or as a raw XMLHTTP post of the
// same envelope. Each returns the limit the service answered.
#pragma once

#include <windows.h>

#include <atlbase.h>

#include <string>

#include "SoapService.h"
#include "TarvockLib.h"

// The transport linked in: template 212, ExecuteWithCredentials, the result element read.
class CTransportRoundTrip {
public:
    explicit CTransportRoundTrip(const std::wstring& serviceUrl);
    long Call();
    // The request envelope as the transport sends it (credentials filled in).
    std::wstring Envelope() const;

private:
    CSOAPService m_soap{L"AccountService"};
};

// The XMLHTTP object driven directly: a new object per call, open, the two headers, send,
// status and response text read, the number taken from the text.
class CRawRoundTrip {
public:
    CRawRoundTrip(const std::wstring& address, const std::wstring& envelope);
    long Call();

private:
    CLSID m_class = {};
    CComBSTR m_address;
    CComBSTR m_envelope;
};

// The AccountService object of TarvockSDK2.dll, created from the library's class factory (no
// registration needed) and pointed at the stand-in through its TestService.
class CComObjectRoundTrip {
public:
    // Empty when the library or its classes cannot be used; Reason() tells why.
    explicit CComObjectRoundTrip(const std::wstring& libraryPath, const std::wstring& serviceUrl);
    ~CComObjectRoundTrip();
    bool Usable() const { return m_service != nullptr; }
    const std::string& Reason() const { return m_reason; }
    long Call();

private:
    template <class T>
    HRESULT Create(REFCLSID clsid, T** object);

    HMODULE m_library = nullptr;
    CComPtr<IAccountService> m_service;
    std::string m_reason;
};
