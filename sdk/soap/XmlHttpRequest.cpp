#include "XmlHttpRequest.h"

#include <log4cpp/Category.hh>

#include <cwchar>

#include "DomCall.h"
#include "Errors.h"
#include "SrwLock.h"
#include "resource.h"

namespace {

void PutErrorDescription(const std::wstring& text) {
    CComPtr<ICreateErrorInfo> create;
    if (FAILED(::CreateErrorInfo(&create))) return;
    create->SetDescription(const_cast<LPOLESTR>(text.c_str()));
    CComPtr<IErrorInfo> info;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) ::SetErrorInfo(0, info);
}

std::wstring SystemText(HRESULT hr) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr,
        static_cast<DWORD>(hr), 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    std::wstring text(buffer && length ? std::wstring(buffer, length) : std::wstring());
    if (buffer) ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
    return text;
}

// The classes of the two ProgIDs, looked up once each per process: what a ProgID names does not
// change while the module is loaded, and each lookup is a trip through the class registry.
class CProgIdClasses {
public:
    HRESULT Find(bool serverSide, CLSID& clsid) {
        const int slot = serverSide ? 1 : 0;
        {
            CReadLock lock(m_lock);
            if (m_known[slot]) {
                clsid = m_classes[slot];
                return S_OK;
            }
        }
        const HRESULT hr = ::CLSIDFromProgID(CXmlHttpRequest::ProgId(serverSide), &clsid);
        if (SUCCEEDED(hr)) {
            CWriteLock lock(m_lock);
            m_classes[slot] = clsid;
            m_known[slot] = true;
        }
        return hr;
    }

private:
    SRWLOCK m_lock = SRWLOCK_INIT;
    CLSID m_classes[2] = {};
    bool m_known[2] = {};
};

CProgIdClasses g_progIdClasses;

VARIANT Omitted() {
    VARIANT value;
    ::VariantInit(&value);
    value.vt = VT_ERROR;
    value.scode = DISP_E_PARAMNOTFOUND;
    return value;
}

}  // namespace

const wchar_t* CXmlHttpRequest::ProgId(bool serverSide) {
    return serverSide ? L"MSXML2.ServerXMLHTTP" : L"Microsoft.XMLHTTP";
}

CXmlHttpRequest::CXmlHttpRequest(bool serverSide, const char* category) {
    const wchar_t* progId = ProgId(serverSide);
    log4cpp::Category::getInstance(category).debug("Creating COM object %S", progId);
    CLSID clsid;
    if (FAILED(g_progIdClasses.Find(serverSide, clsid)) ||
        FAILED(m_request.CoCreateInstance(clsid, nullptr, msxml::kAnyServerContext)) || !m_request)
        RaiseErrorById(IDS_XMLHTTP_NOT_CREATED, E_FAIL);
}

template <class Call>
void CXmlHttpRequest::Run(const char* callName, Call&& call) {
    ::SetErrorInfo(0, nullptr);
    const HRESULT hr = call();
    if (SUCCEEDED(hr)) return;
    if (CurrentErrorDescription().empty()) PutErrorDescription(FailureDescription(hr));
    RaiseXmlHttpError(callName, IDS_XMLHTTP_CALL_FAILED);
}

void CXmlHttpRequest::OpenPost(const std::wstring& address) {
    Run("open", [&] {
        VARIANT async;
        ::VariantInit(&async);
        async.vt = VT_I2;
        async.iVal = 0;
        return m_request->open(CComBSTR(L"POST"), CComBSTR(address.c_str()), async, Omitted(), Omitted());
    });
}

void CXmlHttpRequest::SetHeader(const wchar_t* name, const wchar_t* value) {
    Run("setRequestHeader", [&] { return m_request->setRequestHeader(CComBSTR(name), CComBSTR(value)); });
}

void CXmlHttpRequest::Send(BSTR body) {
    Run("send", [&] {
        VARIANT text;
        ::VariantInit(&text);
        text.vt = VT_BSTR;
        text.bstrVal = body;  // borrowed: the caller owns it
        return m_request->send(text);
    });
}

long CXmlHttpRequest::Status() const {
    long status = 0;
    CheckDom(m_request->get_status(&status));
    return status;
}

CComBSTR CXmlHttpRequest::StatusText() const {
    CComBSTR text;
    CheckDom(m_request->get_statusText(&text));
    return text;
}

CComBSTR CXmlHttpRequest::ResponseText() const {
    CComBSTR text;
    CheckDom(m_request->get_responseText(&text));
    return text;
}

CComPtr<IXMLDOMDocument> CXmlHttpRequest::ResponseDocument() const {
    CComPtr<IDispatch> parsed;
    CComPtr<IXMLDOMDocument> document;
    if (SUCCEEDED(m_request->get_responseXML(&parsed)) && parsed) parsed.QueryInterface(&document);
    return document;
}

std::wstring CXmlHttpRequest::FailureDescription(HRESULT hr) {
    std::wstring text = SystemText(hr);
    if (!text.empty()) return text;
    wchar_t hex[16] = {};
    std::swprintf(hex, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    return hex;
}
