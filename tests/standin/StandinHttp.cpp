#include "StandinHttp.h"

#include <windows.h>

#include <atlbase.h>

#include "MsXml.h"
#include "StandinEnvironment.h"

namespace standin {

namespace {

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

void Check(HRESULT hr, const char* what, const std::wstring& address) {
    if (FAILED(hr)) {
        char code[16];
        wsprintfA(code, "0x%08lX", static_cast<unsigned long>(hr));
        throw StandinError(std::string(what) + " " + Narrow(address) + " failed: " + code);
    }
}

HttpAnswer Call(const wchar_t* method, const std::wstring& address, const std::wstring& body,
                const std::wstring& soapAction) {
    CLSID clsid;
    Check(::CLSIDFromProgID(L"Microsoft.XMLHTTP", &clsid), "XMLHTTP for", address);
    CComPtr<IXMLHTTPRequest> request;
    Check(request.CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER), "XMLHTTP for", address);

    VARIANT async, omitted;
    ::VariantInit(&async);
    async.vt = VT_BOOL;
    async.boolVal = VARIANT_FALSE;
    ::VariantInit(&omitted);
    omitted.vt = VT_ERROR;
    omitted.scode = DISP_E_PARAMNOTFOUND;
    Check(request->open(CComBSTR(method), CComBSTR(address.c_str()), async, omitted, omitted), "open", address);
    // Every answer of the stand-in is new: never take one from a cache.
    Check(request->setRequestHeader(CComBSTR(L"Cache-Control"), CComBSTR(L"no-cache")), "header", address);
    Check(request->setRequestHeader(CComBSTR(L"Pragma"), CComBSTR(L"no-cache")), "header", address);
    if (!soapAction.empty()) {
        Check(request->setRequestHeader(CComBSTR(L"Content-Type"), CComBSTR(L"text/xml;charset=utf-8")), "header",
              address);
        Check(request->setRequestHeader(CComBSTR(L"SOAPAction"), CComBSTR(soapAction.c_str())), "header", address);
    }
    CComVariant payload(body.c_str());
    Check(request->send(payload), "send", address);

    HttpAnswer answer;
    Check(request->get_status(&answer.status), "status of", address);
    CComBSTR text;
    Check(request->get_responseText(&text), "response of", address);
    if (text) answer.text.assign(text, text.Length());
    return answer;
}

}  // namespace

HttpAnswer HttpGet(const std::wstring& address) {
    return Call(L"GET", address, std::wstring(), std::wstring());
}

HttpAnswer HttpPost(const std::wstring& address, const std::wstring& body, const std::wstring& soapAction) {
    return Call(L"POST", address, body, soapAction);
}

}  // namespace standin
