// Helpers of the service tests: the module the linked classes run in, documents built in memory,
// log capture, the satellite's error texts and the raised-failure catcher.
#pragma once

#include <windows.h>
#include <msxml2.h>
#include <oleauto.h>

#include <atlbase.h>
#include <atlcom.h>
#include <gtest/gtest.h>

#include <string>

#include "ComTestSupport.h"
#include "LogCapture.h"
#include "SdkTestSupport.h"

namespace servicetest {

// A DOM document parsed from xml; fails the test when it does not parse.
CComPtr<IXMLDOMDocument> LoadXml(const wchar_t* xml);
// The first element with that qualified name.
CComPtr<IXMLDOMNode> Element(IXMLDOMDocument* document, const wchar_t* tag);

// Text id of the English satellite library, formatted with wide inserts when there are any.
using sdktest::SdkText;
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
using testsupport::LogCapture;

// The HRESULT a call raised, S_OK when it raised nothing.
using sdktest::Raised;

// VARIANTs of the types a caller may pass.
CComVariant I2(short value);
CComVariant Int(int value);
CComVariant Real(double value);
CComVariant Bool(bool value);
CComVariant Omitted();  // an optional argument left out: VT_ERROR DISP_E_PARAMNOTFOUND

// A narrow copy for readable assertions.
inline std::string N(const std::wstring& text) { return testsupport::Narrow(text); }
inline std::string N(BSTR text) { return testsupport::Narrow(text); }

// The interface a getter belongs to, taken from the getter alone (so a CComPtr may be passed).
template <class T>
struct Of {
    using type = T;
};

// The text a BSTR property answers, narrow; the getter is expected to answer S_OK.
template <class Itf>
std::string Text(typename Of<Itf>::type* object, HRESULT (STDMETHODCALLTYPE Itf::*get)(BSTR*)) {
    CComBSTR text;
    EXPECT_EQ(S_OK, (object->*get)(&text));
    return N(text);
}

// The value a property answers into a value that starts as the type's zero.
template <class Itf, class Value>
Value Read(typename Of<Itf>::type* object, HRESULT (STDMETHODCALLTYPE Itf::*get)(Value*)) {
    Value value = Value();
    (object->*get)(&value);
    return value;
}

}  // namespace servicetest
