#include "RequestLog.h"

#include <windows.h>

#include <atlbase.h>

#include <cwchar>

#include "DomTestSupport.h"
#include "MsXml.h"
#include "StandinEnvironment.h"
#include "StandinHttp.h"

namespace standin {

namespace {

using testsupport::ForEachElement;

CComPtr<IXMLDOMDocument> Parse(const std::wstring& xml) {
    CComPtr<IXMLDOMDocument> document;
    if (FAILED(document.CoCreateInstance(msxml::kDomDocumentClass, nullptr, CLSCTX_INPROC_SERVER)))
        throw StandinError("cannot create a DOM document");
    VARIANT_BOOL loaded = VARIANT_FALSE;
    if (FAILED(document->loadXML(CComBSTR(xml.c_str()), &loaded)) || loaded != VARIANT_TRUE)
        throw StandinError("the stand-in's answer is not XML: " + std::string(xml.begin(), xml.end()));
    return document;
}

std::wstring Text(IXMLDOMNode* node) {
    CComBSTR text;
    node->get_text(&text);
    return text ? std::wstring(text, text.Length()) : std::wstring();
}

std::wstring Name(IXMLDOMNode* node) {
    CComBSTR name;
    node->get_nodeName(&name);
    return name ? std::wstring(name, name.Length()) : std::wstring();
}

LoggedRequest FromElement(IXMLDOMNode* element) {
    LoggedRequest request;
    ForEachElement(element, [&](IXMLDOMNode* field) {
        const std::wstring name = Name(field);
        const std::wstring value = Text(field);
        if (name == L"seq") request.seq = std::wcstol(value.c_str(), nullptr, 10);
        else if (name == L"receivedAt") request.receivedAt = value;
        else if (name == L"method") request.method = value;
        else if (name == L"path") request.path = value;
        else if (name == L"endPoint") request.endpoint = value;
        else if (name == L"soapAction") request.soapAction = value;
        else if (name == L"operation") request.operation = value;
        else if (name == L"contentType") request.contentType = value;
        else if (name == L"status") request.status = std::wcstol(value.c_str(), nullptr, 10);
        else if (name == L"body") request.body = value;
        else if (name == L"response") request.response = value;
    });
    return request;
}

CComPtr<IXMLDOMElement> Root(IXMLDOMDocument* document, const wchar_t* expected) {
    CComPtr<IXMLDOMElement> root;
    document->get_documentElement(&root);
    if (!root || Name(root) != expected)
        throw StandinError("the stand-in's answer has no <" + std::string(expected, expected + std::wcslen(expected)) +
                           "> element");
    return root;
}

}  // namespace

RequestLog::RequestLog() : m_base(RequireServerBase()) {}

RequestLog::RequestLog(std::wstring base) : m_base(std::move(base)) {}

LoggedRequest RequestLog::Last() const {
    const HttpAnswer answer = HttpGet(m_base + L"/standin/requests/last");
    if (answer.status == 404) throw StandinError("the stand-in's request log is empty");
    if (answer.status != 200) throw StandinError("GET /standin/requests/last answered " + std::to_string(answer.status));
    return ParseRequest(answer.text);
}

bool RequestLog::Empty() const {
    return All().empty();
}

std::vector<LoggedRequest> RequestLog::All() const {
    return Query(std::wstring());
}

std::vector<LoggedRequest> RequestLog::ByOperation(const std::wstring& operation) const {
    return Query(L"?operation=" + operation);
}

std::vector<LoggedRequest> RequestLog::ByEndpoint(const std::wstring& endpoint) const {
    return Query(L"?endpoint=" + endpoint);
}

std::vector<LoggedRequest> RequestLog::Query(const std::wstring& query) const {
    const HttpAnswer answer = HttpGet(m_base + L"/standin/requests" + query);
    if (answer.status != 200) throw StandinError("GET /standin/requests answered " + std::to_string(answer.status));
    return ParseRequests(answer.text);
}

void RequestLog::Reset() const {
    const HttpAnswer answer = HttpPost(m_base + L"/standin/reset");
    if (answer.status != 200) throw StandinError("POST /standin/reset answered " + std::to_string(answer.status));
}

LoggedRequest RequestLog::ParseRequest(const std::wstring& xml) {
    CComPtr<IXMLDOMDocument> document = Parse(xml);
    return FromElement(Root(document, L"request"));
}

std::vector<LoggedRequest> RequestLog::ParseRequests(const std::wstring& xml) {
    CComPtr<IXMLDOMDocument> document = Parse(xml);
    std::vector<LoggedRequest> requests;
    ForEachElement(Root(document, L"requests"), [&](IXMLDOMNode* element) {
        if (Name(element) == L"request") requests.push_back(FromElement(element));
    });
    return requests;
}

}  // namespace standin
