// Helpers of the service tests: the module the linked classes run in, documents built in memory,
// log capture, the satellite's error texts and the raised-failure catcher.
#pragma once

#include <windows.h>
#include <msxml2.h>
#include <oleauto.h>

#include <atlbase.h>
#include <atlcom.h>
#include <gtest/gtest.h>
#include <log4cpp/Category.hh>
#include <log4cpp/OstreamAppender.hh>

#include <sstream>
#include <string>

#include "ComTestSupport.h"
#include "Errors.h"

namespace servicetest {

// A DOM document parsed from xml; fails the test when it does not parse.
CComPtr<IXMLDOMDocument> LoadXml(const wchar_t* xml);
// The first element with that qualified name.
CComPtr<IXMLDOMNode> Element(IXMLDOMDocument* document, const wchar_t* tag);

// Text id of the English satellite library, formatted with wide inserts when there are any.
std::wstring SdkText(UINT id, const wchar_t* insert1 = nullptr);
// Text 5004 naming the argument.
std::wstring MissingArgumentText(const wchar_t* name);

// A linked-in class created directly, so its log lines reach this program's categories.
template <class T, class Itf>
CComPtr<Itf> CreateLinked() {
    CComObject<T>* object = nullptr;
    EXPECT_HRESULT_SUCCEEDED(CComObject<T>::CreateInstance(&object));
    CComPtr<Itf> result;
    if (object) object->QueryInterface(__uuidof(Itf), reinterpret_cast<void**>(&result));
    return result;
}

// Captures one category's events as "PRIORITY message" lines while it lives.
class LogCapture {
public:
    explicit LogCapture(const char* category);
    ~LogCapture();
    std::string Text() const { return m_stream.str(); }

private:
    log4cpp::Category& m_category;
    std::ostringstream m_stream;
    log4cpp::OstreamAppender* m_appender;
};

// The HRESULT a call raised, S_OK when it raised nothing.
template <class Call>
HRESULT Raised(Call&& call) {
    try {
        call();
        return S_OK;
    } catch (const CRaisedError& e) {
        return e.Result();
    }
}

// VARIANTs of the types a caller may pass.
CComVariant I2(short value);
CComVariant Int(int value);
CComVariant Real(double value);
CComVariant Bool(bool value);
CComVariant Omitted();  // an optional argument left out: VT_ERROR DISP_E_PARAMNOTFOUND

// A narrow copy for readable assertions.
inline std::string N(const std::wstring& text) { return testsupport::Narrow(text); }
inline std::string N(BSTR text) { return testsupport::Narrow(text); }

}  // namespace servicetest
