// The server configures logging from c:\TarvockLogging.properties when it loads; without a
// readable file it says so on the debugger output and still serves its class.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "MailTestSupport.h"
#include "ServerLoadSupport.h"

namespace {

using testsupport::DebugOutputCapture;
using testsupport::ReadFile;
using testsupport::TempFile;

const char* const kProperties = testsupport::kLoggingProperties;

class MailLoggingTest : public mailtest::AddressBookTest {
protected:
    void TearDown() override {
        ::DeleteFileA(kProperties);
        AddressBookTest::TearDown();
    }

    // Loads the server, lists the books through a new object, and unloads it again.
    static HRESULT LoadListAndUnload() {
        return testsupport::LoadUseAndUnload<IAddressBook>(
            testsupport::BesideProgram(L"TarvockMailSDK.dll"), CLSID_AddressBook, [](IAddressBook* addressBook) {
                CComVariant names;
                return addressBook->get_AddressBookNames(&names);
            });
    }
};

TEST_F(MailLoggingTest, PropertiesFileRoutesTheClassCategoryToAFile) {
    const std::string log = TempFile("tarvock-mail-logging-test.log");
    ::DeleteFileA(log.c_str());
    testsupport::WriteFileLoggingProperties({"CAddressBook"}, log);
    ASSERT_EQ(S_OK, LoadListAndUnload());
    const std::string text = ReadFile(log);
    EXPECT_NE(std::string::npos, text.find("DEBUG CAddressBook Entering CAddressBook::get_AddressBookNames\n")) << text;
    EXPECT_NE(std::string::npos, text.find("DEBUG CAddressBook Exiting CAddressBook::get_AddressBookNames\n")) << text;
    ::DeleteFileA(log.c_str());
}

TEST_F(MailLoggingTest, AnUnreadableFileGoesToTheDebuggerAndTheServerStillServes) {
    ::DeleteFileA(kProperties);
    DebugOutputCapture output;
    const HRESULT hr = LoadListAndUnload();
    EXPECT_EQ(S_OK, hr);
    EXPECT_TRUE(output.HasLineStartingWith("Failed to configure log4cpp ")) << "debugger output lines: " << output.Lines().size();
}

}  // namespace
