// The server configures logging from c:\TarvockLogging.properties when it loads; without a
// readable file it says so on the debugger output and still serves its classes.
#include <windows.h>

#include <gtest/gtest.h>

#include <atlbase.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ComTestSupport.h"
#include "TarvockLib.h"

namespace {

const char kProperties[] = "c:\\TarvockLogging.properties";

std::string TempFile(const char* name) {
    char dir[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Debugger output of this process, seen through the exception that OutputDebugString raises.
std::vector<std::string> g_debugOutput;

LONG CALLBACK CaptureDebugOutput(EXCEPTION_POINTERS* info) {
    if (info->ExceptionRecord->ExceptionCode == DBG_PRINTEXCEPTION_C && info->ExceptionRecord->NumberParameters >= 2) {
        g_debugOutput.emplace_back(reinterpret_cast<const char*>(info->ExceptionRecord->ExceptionInformation[1]));
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

class LoggingTest : public testsupport::ComTest {
protected:
    void TearDown() override {
        ::DeleteFileA(kProperties);
        ComTest::TearDown();
    }

    // Loads a fresh copy of the server, creates a message through its class factory and calls
    // one logged accessor; unloads it again.
    static HRESULT LoadServeAndUnload(const std::wstring& path = testsupport::BesideProgram(L"TarvockSDK2.dll")) {
        HMODULE server = ::LoadLibraryW(path.c_str());
        if (!server) return HRESULT_FROM_WIN32(::GetLastError());
        auto getClassObject = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
            ::GetProcAddress(server, "DllGetClassObject"));
        HRESULT hr = E_FAIL;
        {
            CComPtr<IClassFactory> factory;
            hr = getClassObject(CLSID_SMSMessage2, IID_IClassFactory, reinterpret_cast<void**>(&factory));
            CComPtr<ISMSMessage2> message;
            if (SUCCEEDED(hr)) hr = factory->CreateInstance(nullptr, IID_ISMSMessage2, reinterpret_cast<void**>(&message));
            if (SUCCEEDED(hr)) hr = message->put_Body(CComBSTR(L"hello"));
        }
        ::FreeLibrary(server);
        return hr;
    }
};

TEST_F(LoggingTest, PropertiesFileRoutesACategoryToAFile) {
    const std::string log = TempFile("tarvock-sdk-logging-test.log");
    ::DeleteFileA(log.c_str());
    std::ofstream(kProperties) << "log4cpp.rootCategory=ERROR\n"
                                  "log4cpp.category.global=DEBUG, F\n"
                                  "log4cpp.category.CSMSMessage=DEBUG, F\n"
                                  "log4cpp.appender.F=FileAppender\n"
                                  "log4cpp.appender.F.fileName=" << log << "\n"
                                  "log4cpp.appender.F.layout=PatternLayout\n"
                                  "log4cpp.appender.F.layout.ConversionPattern=%p %c %m%n\n";

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
    g_debugOutput.clear();
    PVOID handler = ::AddVectoredExceptionHandler(1, CaptureDebugOutput);
    const HRESULT hr = LoadServeAndUnload();
    ::RemoveVectoredExceptionHandler(handler);

    EXPECT_HRESULT_SUCCEEDED(hr);
    bool reported = false;
    for (const std::string& line : g_debugOutput) {
        if (line.rfind("Failed to configure log4cpp ", 0) == 0 && line.back() == '\n') reported = true;
    }
    EXPECT_TRUE(reported) << "debugger output lines: " << g_debugOutput.size();
}

// A copy of the server in a folder without its satellite library: attach goes on, classes are
// served, and error descriptions are empty because their texts are not found.
TEST_F(LoggingTest, ServerWithoutSatelliteStillServes) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"tarvock-no-satellite";
    const std::wstring copy = folder + L"\\TarvockSDK2.dll";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileW(testsupport::BesideProgram(L"TarvockSDK2.dll").c_str(), copy.c_str(), FALSE));

    HMODULE server = ::LoadLibraryW(copy.c_str());
    ASSERT_NE(nullptr, server);
    auto getClassObject = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
        ::GetProcAddress(server, "DllGetClassObject"));
    {
        CComPtr<IClassFactory> factory;
        ASSERT_HRESULT_SUCCEEDED(getClassObject(CLSID_ObjectCollection, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
        CComPtr<IObjectCollection> collection;
        ASSERT_HRESULT_SUCCEEDED(factory->CreateInstance(nullptr, IID_IObjectCollection, reinterpret_cast<void**>(&collection)));
        EXPECT_EQ(E_FAIL, collection->Remove(1));
        EXPECT_EQ(L"", testsupport::TakeErrorDescription());
    }
    ::FreeLibrary(server);
    ::DeleteFileW(copy.c_str());
    ::RemoveDirectoryW(folder.c_str());
}

}  // namespace
