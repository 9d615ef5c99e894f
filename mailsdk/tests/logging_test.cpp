// The server configures logging from c:\TarvockLogging.properties when it loads; without a
// readable file it says so on the debugger output and still serves its class.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "MailTestSupport.h"

namespace {

const char kProperties[] = "c:\\TarvockLogging.properties";

std::string TempFile(const char* name) {
    char dir[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

std::vector<std::string> g_debugOutput;

LONG CALLBACK CaptureDebugOutput(EXCEPTION_POINTERS* info) {
    if (info->ExceptionRecord->ExceptionCode == DBG_PRINTEXCEPTION_C && info->ExceptionRecord->NumberParameters >= 2)
        g_debugOutput.emplace_back(reinterpret_cast<const char*>(info->ExceptionRecord->ExceptionInformation[1]));
    return EXCEPTION_CONTINUE_SEARCH;
}

class MailLoggingTest : public mailtest::AddressBookTest {
protected:
    void TearDown() override {
        ::DeleteFileA(kProperties);
        AddressBookTest::TearDown();
    }

    // Loads the server, lists the books through a new object, and unloads it again.
    static HRESULT LoadListAndUnload() {
        HMODULE server = ::LoadLibraryW(testsupport::BesideProgram(L"TarvockMailSDK.dll").c_str());
        if (!server) return HRESULT_FROM_WIN32(::GetLastError());
        auto getClassObject = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(::GetProcAddress(server, "DllGetClassObject"));
        HRESULT hr = E_FAIL;
        {
            CComPtr<IClassFactory> factory;
            hr = getClassObject(CLSID_AddressBook, IID_IClassFactory, reinterpret_cast<void**>(&factory));
            CComPtr<IAddressBook> addressBook;
            if (SUCCEEDED(hr)) hr = factory->CreateInstance(nullptr, IID_IAddressBook, reinterpret_cast<void**>(&addressBook));
            CComVariant names;
            if (SUCCEEDED(hr)) hr = addressBook->get_AddressBookNames(&names);
        }
        ::FreeLibrary(server);
        return hr;
    }
};

TEST_F(MailLoggingTest, PropertiesFileRoutesTheClassCategoryToAFile) {
    const std::string log = TempFile("tarvock-mail-logging-test.log");
    ::DeleteFileA(log.c_str());
    std::ofstream(kProperties) << "log4cpp.rootCategory=ERROR\n"
                                  "log4cpp.category.CAddressBook=DEBUG, F\n"
                                  "log4cpp.appender.F=FileAppender\n"
                                  "log4cpp.appender.F.fileName=" << log << "\n"
                                  "log4cpp.appender.F.layout=PatternLayout\n"
                                  "log4cpp.appender.F.layout.ConversionPattern=%p %c %m%n\n";
    ASSERT_EQ(S_OK, LoadListAndUnload());
    std::ifstream in(log);
    std::ostringstream text;
    text << in.rdbuf();
    EXPECT_NE(std::string::npos, text.str().find("DEBUG CAddressBook Entering CAddressBook::get_AddressBookNames\n")) << text.str();
    EXPECT_NE(std::string::npos, text.str().find("DEBUG CAddressBook Exiting CAddressBook::get_AddressBookNames\n")) << text.str();
    in.close();
    ::DeleteFileA(log.c_str());
}

TEST_F(MailLoggingTest, AnUnreadableFileGoesToTheDebuggerAndTheServerStillServes) {
    ::DeleteFileA(kProperties);
    g_debugOutput.clear();
    PVOID handler = ::AddVectoredExceptionHandler(1, CaptureDebugOutput);
    const HRESULT hr = LoadListAndUnload();
    ::RemoveVectoredExceptionHandler(handler);
    EXPECT_EQ(S_OK, hr);
    bool reported = false;
    for (const std::string& line : g_debugOutput) {
        if (line.rfind("Failed to configure log4cpp ", 0) == 0 && line.back() == '\n') reported = true;
    }
    EXPECT_TRUE(reported) << "debugger output lines: " << g_debugOutput.size();
}

}  // namespace
