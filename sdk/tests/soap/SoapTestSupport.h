// What the transport and XML tests share: the SDK's classes linked into the test program with
// the English satellite library as resource source, a capture of a log category, and the
// HRESULT a raising call raised.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ComTestSupport.h"
#include "LogCapture.h"
#include "SdkTestSupport.h"
#include "XmlUtils.h"

namespace soaptest {

// Each test in a COM apartment of its own. The linked module, with TarvockSDK_en.dll from beside
// the program as its resource source, is set up before the first test (sdk_linked_module).
class LinkedSdkTest : public testsupport::ComTest {};

// Captures one category's output ("PRIORITY message" per line) for the length of a test.
using testsupport::LogCapture;

// The HRESULT raised by call (S_OK when it returned).
using sdktest::Raised;

// A DOM document parsed from text (fails the test when it does not parse).
CComPtr<IXMLDOMDocument> ParseXml(const wchar_t* text);

// The text of a BSTR ("<null>" for null) for readable assertions.
std::wstring Text(BSTR text);

// The string id of the satellite library.
std::wstring ResourceText(UINT id);

}  // namespace soaptest
