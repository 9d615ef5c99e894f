#include "TestApp.h"

#include <gtest/gtest.h>

namespace {

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override { theTestApp.SetRegistryKey("TarvockAfxTests"); }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\TarvockAfxTests"); }
};

class CIdleApp : public CWinApp {
public:
    CIdleApp() : CWinApp("Idle") {}
    std::vector<LONG> idleCounts;
    bool OnIdle(LONG count) override {
        idleCounts.push_back(count);
        if (count == 1) ::PostQuitMessage(3);
        return CWinApp::OnIdle(count);
    }
};

}  // namespace

TEST(Application, TakesItsNameFromTheTitleString) {
    EXPECT_STREQ("Afx Tests", theTestApp.m_pszAppName);
    EXPECT_EQ(&theTestApp, AfxGetApp());
}

TEST(Application, TheLoopRunsIdleUpdatesAndEndsWithTheQuitCode) {
    {
        CIdleApp app;
        EXPECT_EQ(&app, AfxGetApp());
        EXPECT_EQ(3, app.Run());
        EXPECT_EQ((std::vector<LONG>{0, 1}), app.idleCounts);
    }
    EXPECT_EQ(&theTestApp, AfxGetApp());
}

TEST_F(ProfileTest, WritesAndReadsUnderSoftwareKeyAndAppName) {
    EXPECT_EQ(10u, theTestApp.GetProfileInt("Options", "PollInterval", 10));
    EXPECT_TRUE(theTestApp.WriteProfileInt("Options", "PollInterval", 25));
    EXPECT_EQ(25u, theTestApp.GetProfileInt("Options", "PollInterval", 10));
    EXPECT_STREQ("-1", theTestApp.GetProfileString("Accounts\\A1", "LastMessageId", "-1"));
    EXPECT_TRUE(theTestApp.WriteProfileString("Accounts\\A1", "LastMessageId", "17"));
    EXPECT_STREQ("17", theTestApp.GetProfileString("Accounts\\A1", "LastMessageId", "-1"));
    const BYTE data[] = {1, 0, 2, 0xFF};
    EXPECT_TRUE(theTestApp.WriteProfileBinary("Login", "Password", data, sizeof data));
    std::vector<BYTE> read;
    EXPECT_TRUE(theTestApp.GetProfileBinary("Login", "Password", read));
    EXPECT_EQ((std::vector<BYTE>{1, 0, 2, 0xFF}), read);
    EXPECT_FALSE(theTestApp.GetProfileBinary("Login", "Missing", read));

    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\TarvockAfxTests\\Afx Tests\\Options", 0,
                                             KEY_READ, &key));
    DWORD value = 0, size = sizeof value, type = 0;
    EXPECT_EQ(ERROR_SUCCESS, ::RegQueryValueExW(key, L"PollInterval", nullptr, &type, (BYTE*)&value, &size));
    EXPECT_EQ((DWORD)REG_DWORD, type);
    EXPECT_EQ(25u, value);
    ::RegCloseKey(key);
}

TEST_F(ProfileTest, AValueOfAnotherTypeGivesTheDefault) {
    EXPECT_TRUE(theTestApp.WriteProfileString("Options", "PollInterval", "7"));
    EXPECT_EQ(10u, theTestApp.GetProfileInt("Options", "PollInterval", 10));
}

TEST_F(ProfileTest, ANullEntryDeletesTheWholeSectionAndANullValueOneEntry) {
    ASSERT_TRUE(theTestApp.WriteProfileInt("Bars\\Main-Bar0", "Visible", 0));
    ASSERT_TRUE(theTestApp.WriteProfileInt("Bars\\Main-Bar0", "BarID", 7));
    ASSERT_TRUE(theTestApp.WriteProfileInt("Bars\\Main-Bar0\\Below", "Kept", 1));
    ASSERT_TRUE(theTestApp.WriteProfileInt("Bars\\Main-Bar1", "BarID", 8));
    EXPECT_TRUE(theTestApp.WriteProfileString("Bars\\Main-Bar0", "Visible", nullptr));
    EXPECT_EQ(1u, theTestApp.GetProfileInt("Bars\\Main-Bar0", "Visible", 1));
    EXPECT_EQ(7u, theTestApp.GetProfileInt("Bars\\Main-Bar0", "BarID", 0));

    EXPECT_TRUE(theTestApp.WriteProfileString("Bars\\Main-Bar0", nullptr, nullptr));
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, ::RegOpenKeyExW(HKEY_CURRENT_USER,
                                                    L"Software\\TarvockAfxTests\\Afx Tests\\Bars\\Main-Bar0", 0,
                                                    KEY_READ, &key));
    EXPECT_EQ(8u, theTestApp.GetProfileInt("Bars\\Main-Bar1", "BarID", 0));
    // A section that is not there is already deleted.
    EXPECT_TRUE(theTestApp.WriteProfileString("Bars\\Missing", nullptr, nullptr));
    EXPECT_FALSE(theTestApp.WriteProfileString("", nullptr, nullptr));
}

TEST(CommandLine, KnowsTheAutomationAndRegistrationSwitches) {
    struct Case {
        const char* line;
        bool embedded, automated;
        int command;
    } cases[] = {
        {"", false, false, CCommandLineInfo::FileNew},
        {"-Embedding", true, false, CCommandLineInfo::FileNothing},
        {"/automation", false, true, CCommandLineInfo::FileNothing},
        {"/RegServer", false, false, CCommandLineInfo::AppRegister},
        {"-unregserver", false, false, CCommandLineInfo::AppUnregister},
        {"/StartupGroup /l:de", false, false, CCommandLineInfo::FileNew},
    };
    for (const Case& c : cases) {
        theTestApp.m_lpCmdLine = c.line;
        CCommandLineInfo info;
        theTestApp.ParseCommandLine(info);
        EXPECT_EQ(c.embedded, info.m_bRunEmbedded) << c.line;
        EXPECT_EQ(c.automated, info.m_bRunAutomated) << c.line;
        EXPECT_EQ(c.command, info.m_nShellCommand) << c.line;
    }
    theTestApp.m_lpCmdLine = "";
}

TEST(MessageBox, EveryBoxPassesTheOneHook) {
    CMessageBoxRecorder recorder(IDYES);
    EXPECT_EQ(IDYES, AfxMessageBox("plain", MB_YESNO));
    EXPECT_EQ(IDYES, AfxMessageBox(101, MB_ICONSTOP));
    ASSERT_EQ(2u, recorder.boxes.size());
    EXPECT_STREQ("plain", recorder.boxes[0].text);
    EXPECT_EQ((UINT)MB_YESNO, recorder.boxes[0].type);
    EXPECT_STREQ("Second text", recorder.boxes[1].text);
    EXPECT_EQ((UINT)MB_ICONSTOP, recorder.boxes[1].type);
}

TEST(ResourceHandle, LooksUpStringsInTheLibraryThatWasSet) {
    HINSTANCE program = ::GetModuleHandleW(nullptr);
    EXPECT_EQ(program, AfxGetResourceHandle());
    AfxSetResourceHandle(::GetModuleHandleW(L"kernel32.dll"));
    CString text;
    EXPECT_FALSE(text.LoadString(100));
    AfxSetResourceHandle(nullptr);
    EXPECT_TRUE(text.LoadString(100));
}
