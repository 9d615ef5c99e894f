#include <windows.h>

#include "MessengerService.h"

#include "Method.h"
#include "RequestTemplates.h"
#include "SoapRequest.h"
#include "XmlUtils.h"

namespace {
const char kLog[] = "CMessengerService";
}

STDMETHODIMP CMessengerService::GetCurrentVersion(BSTR* pVersion) {
    return RunMethod(kLog, kLog, "GetCurrentVersion", [&] {
        RequireResult(pVersion);
        CComPtr<IXMLDOMDocument> response =
            CSoapRequest(RequestTemplate::GetCurrentVersion).Post(m_soap, L"GetCurrentVersion", false);
        *pVersion = CXmlUtils::GetElementText(response, L"GetCurrentVersionResult").Detach();
    });
}
