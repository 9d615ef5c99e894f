// What the transport and XML tests share: the SDK's classes linked into the test program with
// the English satellite library as resource source, a capture of a log category, and the
// HRESULT a raising call raised.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>
#include <log4cpp/Category.hh>
#include <log4cpp/OstreamAppender.hh>

#include <sstream>
#include <string>

#include "ComTestSupport.h"
#include "Errors.h"
#include "XmlUtils.h"

namespace soaptest {

// Loads TarvockSDK_en.dll from beside the program as the linked module's resource source for
// the whole program (a gtest environment registered by the support itself).
void UseSatelliteLibrary();

// Each test in a COM apartment of its own, with the satellite library loaded.
class LinkedSdkTest : public testsupport::ComTest {
protected:
    static void SetUpTestSuite() { UseSatelliteLibrary(); }
};

// Captures one category's output ("PRIORITY message" per line) for the length of a test.
class LogCapture {
public:
    explicit LogCapture(const char* name);
    ~LogCapture();
    std::string Text() const { return m_stream.str(); }
    bool Contains(const std::string& part) const { return Text().find(part) != std::string::npos; }

private:
    log4cpp::Category& m_category;
    log4cpp::Priority::Value m_priority;
    std::ostringstream m_stream;
    log4cpp::OstreamAppender m_appender{"capture", &m_stream};
};

// The HRESULT raised by call (S_OK when it returned).
template <class Call>
HRESULT Raised(Call&& call) {
    try {
        call();
    } catch (const CRaisedError& e) {
        return e.Result();
    }
    return S_OK;
}

// A DOM document parsed from text (fails the test when it does not parse).
CComPtr<IXMLDOMDocument> ParseXml(const wchar_t* text);

// The text of a BSTR ("<null>" for null) for readable assertions.
std::wstring Text(BSTR text);

// The string id of the satellite library.
std::wstring ResourceText(UINT id);

}  // namespace soaptest
