#include "SoapTestSupport.h"

#include "SdkModule.h"

namespace soaptest {

CComPtr<IXMLDOMDocument> ParseXml(const wchar_t* text) {
    CComPtr<IXMLDOMDocument> document = CXmlUtils::CreateDocument();
    CComBSTR xml(text);
    EXPECT_TRUE(CXmlUtils::ParseText(document, xml)) << testsupport::Narrow(std::wstring(text));
    return document;
}

std::wstring Text(BSTR text) {
    return text ? std::wstring(text, ::SysStringLen(text)) : std::wstring(L"<null>");
}

std::wstring ResourceText(UINT id) {
    return LoadResourceString(id);
}

}  // namespace soaptest
