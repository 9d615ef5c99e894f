#include "SoapTestSupport.h"

#include <log4cpp/PatternLayout.hh>

#include "SdkModule.h"

CComModule _Module;

namespace soaptest {

void UseSatelliteLibrary() {
    static HMODULE satellite = nullptr;
    if (satellite) return;
    _Module.Init(nullptr, ::GetModuleHandleW(nullptr), &GUID_NULL);
    satellite = ::LoadLibraryW(testsupport::BesideProgram(L"TarvockSDK_en.dll").c_str());
    ASSERT_NE(nullptr, satellite) << "TarvockSDK_en.dll beside the test program";
    _Module.SetResourceInstance(satellite);
}

LogCapture::LogCapture(const char* name)
    : m_category(log4cpp::Category::getInstance(name)), m_priority(m_category.getPriority()) {
    auto* layout = new log4cpp::PatternLayout;
    layout->setConversionPattern("%p %m%n");
    m_appender.setLayout(layout);
    m_category.addAppender(m_appender);
    m_category.setPriority(log4cpp::Priority::DEBUG);
}

LogCapture::~LogCapture() {
    m_category.removeAppender(&m_appender);
    m_category.setPriority(m_priority);
}

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
