// The real program in processes of its own: without a satellite library, a first copy that
// runs, a second copy that finds it and ends, exit, and the registration switches.
#include "support/TestMessengerApp.h"
#include "support/ProgramProcess.h"

#include "resource.h"

#include <gtest/gtest.h>

namespace {

// The text of a message box, which is then dismissed.
CString TakeMessageBox(CProgramProcess& program) {
    HWND box = program.FindWindowOf(L"#32770", 20000);
    if (!box) return CString("<no message box>");
    // The box may be found before its text control is filled in.
    wchar_t text[1024] = {};
    PollUntil([&] { return ::GetDlgItemTextW(box, 0xFFFF, text, 1024) > 0; }, 5000);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    return CString(text);
}

bool MutexExists() {
    HANDLE mutex = ::OpenMutexA(SYNCHRONIZE, FALSE, CMessengerApp::kMutexName);
    if (mutex) ::CloseHandle(mutex);
    return mutex != nullptr;
}

bool TypeLibRegistered() {
    HKEY key = nullptr;
    bool found = ::RegOpenKeyExW(HKEY_CLASSES_ROOT, L"TypeLib\\{CB43E667-FD7C-450A-BE84-F5442084D0B6}\\1.0", 0,
                                 KEY_READ, &key) == ERROR_SUCCESS;
    if (key) ::RegCloseKey(key);
    return found;
}

}  // namespace

TEST(Startup, WithoutASatelliteLibraryTheProgramSaysSoAndEnds) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring dir = std::wstring(temp) + L"VelkoWithoutSatellite";
    ::CreateDirectoryW(dir.c_str(), nullptr);
    std::wstring copy = dir + L"\\TarvockVelko.exe";
    ASSERT_TRUE(::CopyFileW((ThisProgramDirectory() + L"\\TarvockVelko.exe").c_str(), copy.c_str(), FALSE));
    {
        CProgramProcess program(copy, L"");
        ASSERT_TRUE(program.started);
        EXPECT_STREQ("Tarvock Velko: No resource DLL found.", TakeMessageBox(program));
        EXPECT_TRUE(program.Exited(20000));
        EXPECT_FALSE(MutexExists());
    }
    ::DeleteFileW(copy.c_str());
    ::RemoveDirectoryW(dir.c_str());
}

TEST(Startup, TheFirstCopyRunsASecondFindsItThroughTheMutexAsksItToShowItselfAndEnds) {
    CSatelliteScope satellite;
    std::wstring exe = ThisProgramDirectory() + L"\\TarvockVelko.exe";
    ASSERT_FALSE(MutexExists());
    CProgramProcess first(exe, L"/StartupGroup");
    ASSERT_TRUE(first.started);
    // With no stored credentials the first copy asks the user to sign in; cancelled, it runs
    // signed out.
    HWND signIn = first.FindWindowOf(L"#32770", 30000);
    ASSERT_NE(nullptr, signIn) << "the first copy did not ask the user to sign in";
    ::PostMessageW(signIn, WM_COMMAND, IDCANCEL, 0);
    HWND main = first.FindWindowOf(L"Afx:", 30000);
    ASSERT_NE(nullptr, main) << "the first copy made no main window";
    EXPECT_FALSE(::IsWindowVisible(main));
    EXPECT_TRUE(MutexExists());

    // The second copy reaches the first through COM and calls Show. The first copy is signed
    // out, so Show asks the user to sign in there first, inside the call.
    CProgramProcess second(exe, L"");
    ASSERT_TRUE(second.started);
    HWND again = first.FindWindowOf(L"#32770", 30000);
    ASSERT_NE(nullptr, again) << "the second copy did not reach the first one's Show";
    EXPECT_EQ(nullptr, second.FindWindowOf(L"#32770", 0)) << "the second copy did not wait for Show";
    // Cancelled, Show answers false: the second copy says so (string 102) and ends; the first
    // copy keeps running.
    ::PostMessageW(again, WM_COMMAND, IDCANCEL, 0);
    EXPECT_STREQ(LoadText(IDS_ALREADY_RUNNING), TakeMessageBox(second));
    EXPECT_TRUE(second.Exited(20000));
    EXPECT_FALSE(first.Exited(0));

    ::PostMessageW(main, WM_COMMAND, ID_APP_EXIT_COMMAND, 0);
    ASSERT_TRUE(first.Exited(30000));
    EXPECT_EQ(0u, first.ExitCode());
    EXPECT_FALSE(MutexExists());
}

TEST(Startup, RegserverRegistersTheTypeLibraryAndUnregserverRemovesIt) {
    std::wstring exe = ThisProgramDirectory() + L"\\TarvockVelko.exe";
    {
        CProgramProcess program(exe, L"/UnregServer");
        ASSERT_TRUE(program.Exited(30000));
    }
    EXPECT_FALSE(TypeLibRegistered());
    {
        CProgramProcess program(exe, L"/RegServer");
        ASSERT_TRUE(program.Exited(30000));
    }
    EXPECT_TRUE(TypeLibRegistered());
    EXPECT_FALSE(MutexExists());  // ended before the single-instance step
}

TEST(Startup, TheUpgradeCheckGoesOnWhenTheServiceCannotAnswer) {
    // Without a running stand-in (or with a service that does not give a version) the check is
    // only logged, and start-up goes on.
    CSatelliteScope satellite;
    CMessageBoxRecorder boxes;
    ::CoInitialize(nullptr);
    theTestApp.upgradeOffers = 0;
    EXPECT_TRUE(theTestApp.CheckForUpgrade());
    ::CoUninitialize();
    EXPECT_TRUE(boxes.boxes.empty()) << (boxes.boxes.empty() ? "" : (const char*)boxes.boxes[0].text);
}
