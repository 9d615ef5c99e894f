// The error family and the method frame: descriptions from the satellite library, formatted
// inserts, and what a failed method leaves on the thread.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include "ComTestSupport.h"
#include "Errors.h"
#include "LogCapture.h"
#include "Method.h"
#include "SdkModule.h"
#include "SdkTestSupport.h"
#include "resource.h"

// The module, with the satellite library as resource source, is the sdk_linked_module library's
// (CMakeLists.txt).

namespace {

using sdktest::Raised;
using testsupport::TakeErrorDescription;

// Captures one category's output ("PRIORITY category message" lines) for the length of a test.
class LogCapture : public testsupport::LogCapture {
public:
    explicit LogCapture(const char* name) : testsupport::LogCapture(name, "%p %c %m%n") {}
};

class ErrorsTest : public ::testing::Test {};

TEST_F(ErrorsTest, MissingArgumentNamesTheArgument) {
    EXPECT_EQ(E_INVALIDARG, Raised([] { RaiseMissingArgument("Recipient"); }));
    EXPECT_EQ(L"The argument Recipient is missing or empty.", TakeErrorDescription());
}

TEST_F(ErrorsTest, HttpStatusTextCarriesTheNumberAndTheStatusText) {
    EXPECT_EQ(E_FAIL, Raised([] { RaiseFormattedError(E_FAIL, IDS_HTTP_STATUS, {404, "Not Found"}); }));
    EXPECT_EQ(L"The web service answered with HTTP status 404 (Not Found).", TakeErrorDescription());
}

TEST_F(ErrorsTest, FormattingFailureStillRaisesWithAnEmptyDescription) {
    EXPECT_EQ(E_ACCESSDENIED, Raised([] { RaiseFormattedError(E_ACCESSDENIED, 4242, {"x"}); }));
    EXPECT_EQ(L"", TakeErrorDescription());
}

TEST_F(ErrorsTest, ErrorByIdAndPlainText) {
    EXPECT_EQ(E_FAIL, Raised([] { RaiseErrorById(IDS_INDEX_OUT_OF_RANGE, E_FAIL); }));
    EXPECT_EQ(L"The index is outside the collection.", TakeErrorDescription());
    EXPECT_EQ(ServiceErrorResult(17), Raised([] { RaiseError(L"Body too long", ServiceErrorResult(17)); }));
    EXPECT_EQ(static_cast<HRESULT>(0x80020011), ServiceErrorResult(17));
    EXPECT_EQ(L"Body too long", TakeErrorDescription());
}

TEST_F(ErrorsTest, ErrorInfoHasNoSourceAndNoHelp) {
    Raised([] { RaiseErrorById(IDS_NOT_INITIALISED, E_FAIL); });
    IErrorInfo* info = nullptr;
    ASSERT_EQ(S_OK, ::GetErrorInfo(0, &info));
    BSTR source = nullptr, helpFile = nullptr;
    GUID guid = {};
    info->GetSource(&source);
    info->GetHelpFile(&helpFile);
    info->GetGUID(&guid);
    EXPECT_EQ(0u, ::SysStringLen(source));
    EXPECT_EQ(0u, ::SysStringLen(helpFile));
    EXPECT_TRUE(::IsEqualGUID(GUID_NULL, guid));
    ::SysFreeString(source);
    ::SysFreeString(helpFile);
    info->Release();
}

TEST_F(ErrorsTest, XmlHttpErrorCarriesTheCallAndThePlatformDescription) {
    testsupport::SetErrorDescription(L"Connection refused");
    EXPECT_EQ(kConnectionFailed, Raised([] { RaiseXmlHttpError("send", IDS_XMLHTTP_CALL_FAILED); }));
    EXPECT_EQ(L"The connection to the web service failed in send: Connection refused", TakeErrorDescription());

    // Without error info the second insert is empty.
    EXPECT_EQ(kConnectionFailed, Raised([] { RaiseXmlHttpError("open", IDS_XMLHTTP_CALL_FAILED); }));
    EXPECT_EQ(L"The connection to the web service failed in open: ", TakeErrorDescription());
}

TEST_F(ErrorsTest, NullResultPointerFailsWithoutTouchingTheErrorInfo) {
    testsupport::SetErrorDescription(L"left by an earlier call");
    BSTR* nowhere = nullptr;
    EXPECT_EQ(E_INVALIDARG, RunMethod("CTestCategory", "CTest", "Get", [&] { RequireResult(nowhere); }));
    EXPECT_EQ(L"left by an earlier call", TakeErrorDescription());
}

TEST_F(ErrorsTest, RequireResultClearsTheResult) {
    long value = 42;
    EXPECT_EQ(S_OK, RunMethod("CTestCategory", "CTest", "Get", [&] { RequireResult(&value); }));
    EXPECT_EQ(0, value);
}

TEST_F(ErrorsTest, MethodFrameLogsEntryExitAndFailures) {
    LogCapture capture("CFrameTest");
    EXPECT_EQ(S_OK, RunMethod("CFrameTest", "CFrame", "Works", [] {}));
    EXPECT_EQ(E_INVALIDARG, RunMethod("CFrameTest", "CFrame", "Refuses", [] { RaiseMissingArgument("Body"); }));
    EXPECT_EQ(E_FAIL, RunMethod("CFrameTest", "CFrame", "Throws", [] { throw std::runtime_error("wrapper"); }));
    EXPECT_EQ(S_OK, RunMethod("CFrameTest", "CFrame", "EntryOnly", [] {}, ExitLog::No));
    EXPECT_EQ(
        "DEBUG CFrameTest Entering CFrame::Works\n"
        "DEBUG CFrameTest Exiting CFrame::Works\n"
        "DEBUG CFrameTest Entering CFrame::Refuses\n"
        "ERROR CFrameTest An error occurred.  CFrame::Refuses\n"
        "DEBUG CFrameTest Entering CFrame::Throws\n"
        "ERROR CFrameTest An error occurred.  CFrame::Throws\n"
        "DEBUG CFrameTest Entering CFrame::EntryOnly\n",
        capture.Text());
}

TEST_F(ErrorsTest, ServiceErrorTextsExistForEveryCode) {
    for (UINT code = 0; code <= 18; ++code) {
        if (code == 17) continue;  // the service's own message is shown for validation errors
        EXPECT_FALSE(LoadResourceString(IDS_SERVICE_ERROR_BASE + code).empty()) << code;
    }
    EXPECT_TRUE(LoadResourceString(IDS_SERVICE_ERROR_BASE + 17).empty());
}

}  // namespace
