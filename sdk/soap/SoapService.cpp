#include "SoapService.h"

#include <cwctype>

#include <log4cpp/Category.hh>

#include "AnsiText.h"
#include "DomCall.h"
#include "Errors.h"
#include "Method.h"
#include "SoapEndPoints.h"
#include "XmlHttpRequest.h"
#include "XmlUtils.h"
#include "resource.h"

namespace {

const char kCategory[] = "CSOAPService";
const char kClass[] = "CSOAPService";

bool IsEmpty(BSTR text) {
    return !text || ::SysStringLen(text) == 0;
}

// The answer as a document: the request object's own parse, or, when that holds no document
// element, a parse of the text into a document of our own, whose parse error names the fault.
CComPtr<IXMLDOMDocument> ParsedAnswer(const CXmlHttpRequest& request, BSTR text) {
    CComPtr<IXMLDOMDocument> answer = request.ResponseDocument();
    if (CXmlUtils::HasDocumentElement(answer)) return answer;
    answer = CXmlUtils::CreateDocument();
    CXmlUtils::ParseText(answer, text);
    return answer;
}

}  // namespace

const wchar_t* const CSOAPService::kPasswordMask = L"********";

CSOAPService::CSOAPService(const wchar_t* endPointName, bool mock)
    : m_endPointName(endPointName ? endPointName : L""), m_mock(mock) {}

HRESULT CSOAPService::Initialise(BSTR Username, BSTR Password, BSTR Account, VARIANT IsServerSide) {
    return RunMethod(
        kCategory, kClass, "Initialise",
        [&] {
            if (IsEmpty(Username)) RaiseMissingArgument("Username");
            if (IsEmpty(Password)) RaiseMissingArgument("Password");
            if (IsEmpty(Account)) RaiseMissingArgument("Account");
            CComBSTR username(Username), password(Password), account(Account);
            m_isServerSide = IsServerSide.vt == VT_BOOL && IsServerSide.boolVal == VARIANT_TRUE;
            m_username = std::move(username);
            m_password = std::move(password);
            m_account = std::move(account);
        },
        ExitLog::No);
}

void CSOAPService::SetSoapEndPoints(const wchar_t* uri, const wchar_t* mockUri) {
    CSoapEndPoints::Set(uri, mockUri);
}

std::wstring CSOAPService::EndPointAddress() const {
    std::wstring base = m_mock ? CSoapEndPoints::Mock() : CSoapEndPoints::Override();
    if (!m_mock && base.empty()) base = TARVOCK_SOAP_BASE;
    return base + m_endPointName + L".asmx";
}

std::wstring CSOAPService::SoapAction(const wchar_t* method) {
    return std::wstring(TARVOCK_SOAP_NAMESPACE) + (method ? method : L"");
}

// Masked in the text: a clone of the request document would do it too, but Wine's MSXML never
// frees a cloned document (about 2.7 KB a clone, released or not), which made every logged call
// grow the process.
std::wstring CSOAPService::MaskedXmlText(const wchar_t* xml) {
    static const std::wstring open = L"<Password", close = L"</Password>";
    std::wstring text = xml ? xml : L"";
    for (size_t at = text.find(open); at != std::wstring::npos; at = text.find(open, at + 1)) {
        const size_t nameEnd = at + open.size();
        if (nameEnd >= text.size() || (text[nameEnd] != L'>' && !std::iswspace(text[nameEnd]))) continue;
        const size_t tagEnd = text.find(L'>', nameEnd);
        if (tagEnd == std::wstring::npos) break;
        if (text[tagEnd - 1] == L'/') continue;  // <Password/>: nothing to hide
        const size_t valueEnd = text.find(close, tagEnd + 1);
        if (valueEnd == std::wstring::npos) break;
        text.replace(tagEnd + 1, valueEnd - tagEnd - 1, kPasswordMask);
        at = tagEnd;
    }
    return text;
}

HRESULT CSOAPService::Execute(CComPtr<IXMLDOMDocument>& document, const wchar_t* method, bool withCredentials) {
    return RunMethod(kCategory, kClass, "Execute", [&] { Post(document, method, withCredentials); }, ExitLog::No);
}

void CSOAPService::WriteCredentials(IXMLDOMDocument* document) const {
    if (IsEmpty(m_username)) RaiseErrorById(IDS_NOT_INITIALISED, E_FAIL);
    CXmlUtils::SetElementText(document, L"Username", m_username);
    CXmlUtils::SetElementText(document, L"Password", m_password);
    CXmlUtils::SetElementText(document, L"Account", m_account);
}

void CSOAPService::Post(CComPtr<IXMLDOMDocument>& document, const wchar_t* method, bool withCredentials) const {
    log4cpp::Category& log = log4cpp::Category::getInstance(kCategory);
    if (!document) RaiseHResult(E_POINTER);
    const std::wstring address = EndPointAddress();
    if (withCredentials) WriteCredentials(document);

    CXmlHttpRequest request(m_isServerSide, kCategory);
    log.debug("Open POST request to endpoint %S", address.c_str());
    request.OpenPost(address);
    request.SetHeader(L"Content-Type", L"text/xml;charset=utf-8");
    const std::wstring action = SoapAction(method);
    log.debug("SOAP Action: %S", action.c_str());
    request.SetHeader(L"SOAPAction", action.c_str());

    const CComBSTR xml = CXmlUtils::XmlText(document);
    // The request goes out with the password; the log never sees it.
    if (log.isDebugEnabled()) log.debug("XML request: %s", AnsiText(MaskedXmlText(xml).c_str()).c_str());
    request.Send(xml);

    const long status = request.Status();
    if (status != 200 && status != 500)
        RaiseFormattedError(E_FAIL, IDS_HTTP_STATUS, {status, AnsiText(request.StatusText())});

    const CComBSTR responseText = request.ResponseText();
    if (log.isDebugEnabled()) log.debug("XML response: %s", AnsiText(responseText).c_str());
    CComPtr<IXMLDOMDocument> response = ParsedAnswer(request, responseText);
    const bool parsed = CXmlUtils::HasDocumentElement(response);
    if (parsed) document = response;
    if (status == 500) RaiseFault(response, parsed, responseText);
    if (!parsed) RaiseError(CXmlUtils::FormatParseError(response).c_str(), E_FAIL);
}

void ExecuteOrRaise(CSOAPService& soap, CComPtr<IXMLDOMDocument>& document, const wchar_t* method,
                    bool withCredentials) {
    const HRESULT hr = soap.Execute(document, method, withCredentials);
    if (FAILED(hr)) RaiseHResult(hr);
}
