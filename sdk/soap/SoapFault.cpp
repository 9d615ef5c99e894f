// SOAP faults turned into automation errors.
#include "SoapService.h"

#include <log4cpp/Category.hh>

#include "Errors.h"
#include "XmlUtils.h"
#include "resource.h"

namespace {

// For validation errors the service's own message is shown.
const long kValidationCode = ERROR_CODE_VALIDATION;
const long kLastKnownCode = ERROR_CODE_NO_ACTIVE_SUBSCRIPTION;

CComBSTR SelectedText(IXMLDOMDocument* document, const wchar_t* path, bool& found) {
    CComPtr<IXMLDOMNode> node;
    found = SUCCEEDED(document->selectSingleNode(CComBSTR(path), &node)) && node;
    return found ? CXmlUtils::NodeText(node) : CComBSTR();
}

bool IsEmpty(BSTR text) {
    return !text || ::SysStringLen(text) == 0;
}

}  // namespace

void CSOAPService::RaiseFault(IXMLDOMDocument* response, bool parsed, BSTR responseText) {
    if (parsed) {
        bool hasMessage = false, hasCode = false;
        const CComBSTR message = SelectedText(response, L"//detail/ErrorMessage", hasMessage);
        if (hasMessage) {
            const CComBSTR code = SelectedText(response, L"//detail/ErrorCode", hasCode);
            // A message without a code is still the service's word on the failure.
            if (!hasCode) RaiseError(message, E_FAIL);
            ReportSoapError(message, code);
        }
        const CComBSTR faultString = CXmlUtils::GetElementText(response, L"faultstring");
        if (!IsEmpty(faultString)) RaiseError(faultString, E_FAIL);
    }
    RaiseError(responseText ? static_cast<const wchar_t*>(responseText) : L"", E_FAIL);
}

void CSOAPService::ReportSoapError(const wchar_t* message, const wchar_t* codeText) {
    log4cpp::Category& log = log4cpp::Category::getInstance("CSOAPService");
    log.debug("Entering %s::%s", "CSOAPService", "ReportSoapError");
    const long code = CXmlUtils::LeadingInteger(codeText);
    const HRESULT hr = ServiceErrorResult(code);
    if (code >= 0 && code <= kLastKnownCode && code != kValidationCode)
        RaiseErrorById(IDS_SERVICE_ERROR_BASE + code, hr);
    if (code != kValidationCode) log.warn("Unknown SOAP error: %ld", code);
    RaiseError(message ? message : L"", hr);
}
