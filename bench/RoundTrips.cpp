#include "RoundTrips.h"

#include <cwchar>
#include <stdexcept>

#include "BenchSupport.h"
#include "ComTestSupport.h"
#include "ServerLoadSupport.h"
#include "XmlUtils.h"

namespace {

using bench::Check;
using testsupport::Omitted;

const UINT kGetMessageLimit = 212;

long NumberAfter(BSTR text, const wchar_t* tag) {
    const wchar_t* at = text ? std::wcsstr(text, tag) : nullptr;
    return at ? std::wcstol(at + std::wcslen(tag), nullptr, 10) : -1;
}

}  // namespace

CTransportRoundTrip::CTransportRoundTrip(const std::wstring& serviceUrl) {
    CSOAPService::SetSoapEndPoints(serviceUrl.c_str(), L"");
    VARIANT omitted = Omitted();
    Check(m_soap.Initialise(CComBSTR(L"test"), CComBSTR(L"test"), CComBSTR(L"TEST01"), omitted), "Initialise");
}

long CTransportRoundTrip::Call() {
    CComPtr<IXMLDOMDocument> document = CXmlUtils::LoadTemplate(kGetMessageLimit);
    Check(m_soap.ExecuteWithCredentials(document, L"GetMessageLimit"), "ExecuteWithCredentials");
    return CXmlUtils::GetElementLong(document, L"GetMessageLimitResult");
}

std::wstring CTransportRoundTrip::Envelope() const {
    CComPtr<IXMLDOMDocument> document = CXmlUtils::LoadTemplate(kGetMessageLimit);
    CXmlUtils::SetElementText(document, L"Username", L"test");
    CXmlUtils::SetElementText(document, L"Password", L"test");
    CXmlUtils::SetElementText(document, L"Account", L"TEST01");
    CComBSTR xml = CXmlUtils::XmlText(document);
    return std::wstring(xml, xml.Length());
}

CRawRoundTrip::CRawRoundTrip(const std::wstring& address, const std::wstring& envelope)
    : m_address(address.c_str()), m_envelope(envelope.c_str()) {
    Check(::CLSIDFromProgID(L"Microsoft.XMLHTTP", &m_class), "CLSIDFromProgID");
}

long CRawRoundTrip::Call() {
    CComPtr<IXMLHTTPRequest> request;
    Check(request.CoCreateInstance(m_class, nullptr, CLSCTX_INPROC_SERVER), "XMLHTTP");
    VARIANT async;
    ::VariantInit(&async);
    async.vt = VT_BOOL;
    async.boolVal = VARIANT_FALSE;
    Check(request->open(CComBSTR(L"POST"), m_address, async, Omitted(), Omitted()), "open");
    Check(request->setRequestHeader(CComBSTR(L"Content-Type"), CComBSTR(L"text/xml;charset=utf-8")), "header");
    Check(request->setRequestHeader(CComBSTR(L"SOAPAction"), CComBSTR(L"http://com.tarvock/messenger/GetMessageLimit")),
          "header");
    VARIANT body;
    ::VariantInit(&body);
    body.vt = VT_BSTR;
    body.bstrVal = m_envelope;
    Check(request->send(body), "send");
    long status = 0;
    Check(request->get_status(&status), "status");
    CComBSTR text;
    Check(request->get_responseText(&text), "responseText");
    return status == 200 ? NumberAfter(text, L"<GetMessageLimitResult>") : -status;
}

CComObjectRoundTrip::CComObjectRoundTrip(const std::wstring& libraryPath, const std::wstring& serviceUrl) {
    m_library = ::LoadLibraryW(libraryPath.c_str());
    if (!m_library) {
        m_reason = "TarvockSDK2.dll cannot be loaded";
        return;
    }
    CComPtr<ITestService> test;
    CComPtr<IAccountService> service;
    if (FAILED(Create(CLSID_TestService, &test)) || FAILED(Create(CLSID_AccountService, &service))) {
        m_reason = "the server's classes cannot be created";
        return;
    }
    if (FAILED(test->SetSoapEndPoints(CComBSTR(serviceUrl.c_str()), CComBSTR(L"")))) {
        m_reason = "TestService.SetSoapEndPoints is not available";
        return;
    }
    if (FAILED(service->Initialise(CComBSTR(L"test"), CComBSTR(L"test"), CComBSTR(L"TEST01"), Omitted()))) {
        m_reason = "AccountService.Initialise is not available";
        return;
    }
    LONG limit = 0;
    if (FAILED(service->GetMessageLimit(&limit)) || limit != 100) {
        m_reason = "AccountService.GetMessageLimit is not available";
        return;
    }
    m_service = service;
}

CComObjectRoundTrip::~CComObjectRoundTrip() {
    m_service.Release();
    // The library stays loaded: the COM runtime may still hold its objects' apartments.
}

template <class T>
HRESULT CComObjectRoundTrip::Create(REFCLSID clsid, T** object) {
    return testsupport::CreateFromServer(m_library, clsid, __uuidof(T), reinterpret_cast<void**>(object));
}

long CComObjectRoundTrip::Call() {
    LONG limit = 0;
    Check(m_service->GetMessageLimit(&limit), "GetMessageLimit");
    return limit;
}
