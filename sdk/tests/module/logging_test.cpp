// The server configures logging from c:\TarvockLogging.properties when it loads; without a
// readable file it says so on the debugger output and still serves its classes.
#include <windows.h>

#include <gtest/gtest.h>

#include <atlbase.h>

#include <string>

#include "ComTestSupport.h"
#include "ServerLoadSupport.h"
#include "TarvockLib.h"

namespace {

using testsupport::CreateFromServer;
using testsupport::DebugOutputCapture;
using testsupport::ReadFile;
using testsupport::TempFile;

const char* const kProperties = testsupport::kLoggingProperties;

class LoggingTest : public testsupport::ComTest {
protected:
    void TearDown() override {
        ::DeleteFileA(kProperties);
        ComTest::TearDown();
    }

    // Loads a fresh copy of the server, creates a message through its class factory and calls
    // one logged accessor; unloads it again.
    static HRESULT LoadServeAndUnload(const std::wstring& path = testsupport::BesideProgram(L"TarvockSDK2.dll")) {
        return testsupport::LoadUseAndUnload<ISMSMessage2>(
            path, CLSID_SMSMessage2, [](ISMSMessage2* message) { return message->put_Body(CComBSTR(L"hello")); });
    }
};

TEST_F(LoggingTest, PropertiesFileRoutesACategoryToAFile) {
    const std::string log = TempFile("tarvock-sdk-logging-test.log");
    ::DeleteFileA(log.c_str());
    testsupport::WriteFileLoggingProperties({"global", "CSMSMessage"}, log);

    ASSERT_HRESULT_SUCCEEDED(LoadServeAndUnload());

    const std::string text = ReadFile(log);
    EXPECT_NE(std::string::npos, text.find("DEBUG global Entering global::DllMain\n")) << text;
    EXPECT_NE(std::string::npos, text.find("DEBUG global MSXML ProgID MSXML2.DOMDOCUMENT.")) << text;
    EXPECT_NE(std::string::npos, text.find(" was found\n")) << text;
    EXPECT_NE(std::string::npos, text.find("DEBUG CSMSMessage Entering CSMSMessage::put_Body\n")) << text;
    ::DeleteFileA(log.c_str());
}

TEST_F(LoggingTest, UnreadableFileGoesToTheDebuggerAndTheServerStillServes) {
    ::DeleteFileA(kProperties);
    DebugOutputCapture output;
    const HRESULT hr = LoadServeAndUnload();
    EXPECT_HRESULT_SUCCEEDED(hr);
    EXPECT_TRUE(output.HasLineStartingWith("Failed to configure log4cpp ")) << "debugger output lines: " << output.Lines().size();
}

// A copy of the server in a folder without its satellite library: attach goes on, classes are
// served, and error descriptions are empty because their texts are not found.
TEST_F(LoggingTest, ServerWithoutSatelliteStillServes) {
    const testsupport::LoneCopy copy(L"TarvockSDK2.dll", L"tarvock-no-satellite");
    ASSERT_TRUE(copy.Copied());

    HMODULE server = ::LoadLibraryW(copy.Path().c_str());
    ASSERT_NE(nullptr, server);
    {
        CComPtr<IObjectCollection> collection;
        const HRESULT created = CreateFromServer(server, CLSID_ObjectCollection, IID_IObjectCollection,
                                                 reinterpret_cast<void**>(&collection));
        ASSERT_HRESULT_SUCCEEDED(created);
        EXPECT_EQ(E_FAIL, collection->Remove(1));
        EXPECT_EQ(L"", testsupport::TakeErrorDescription());
    }
    ::FreeLibrary(server);
}

}  // namespace
