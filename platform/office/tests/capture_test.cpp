// Message boxes of a module are recorded, through its import address table, instead of shown.
#include "ComTestSupport.h"
#include "OfficeHost.h"

using officehost::CallLog;
using officehost::CaptureMessageBoxes;
using testsupport::Narrow;

namespace {

using ShowA = int (*)(const char*, const char*, UINT);
using ShowW = int (*)(const wchar_t*, const wchar_t*, UINT);

// Counts the windows created on this thread while it lives, and stops them being created: an
// uncaptured box then fails at once instead of waiting for a click.
class WindowWatch {
public:
    WindowWatch() {
        created_ = 0;
        hook_ = ::SetWindowsHookExW(WH_CBT, &WindowWatch::Hook, nullptr, ::GetCurrentThreadId());
    }
    ~WindowWatch() {
        if (hook_) ::UnhookWindowsHookEx(hook_);
    }
    bool Active() const { return hook_ != nullptr; }
    int Created() const { return created_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wparam, LPARAM lparam) {
        if (code == HCBT_CREATEWND) {
            ++created_;
            return 1;
        }
        return ::CallNextHookEx(nullptr, code, wparam, lparam);
    }
    static int created_;
    HHOOK hook_;
};
int WindowWatch::created_ = 0;

class CaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        probe = ::LoadLibraryW(testsupport::BesideProgram(L"officeboxprobe.dll").c_str());
        ASSERT_NE(nullptr, probe);
        showA = reinterpret_cast<ShowA>(::GetProcAddress(probe, "ShowProbeBoxA"));
        showW = reinterpret_cast<ShowW>(::GetProcAddress(probe, "ShowProbeBoxW"));
        ASSERT_NE(nullptr, showA);
        ASSERT_NE(nullptr, showW);
    }
    HMODULE probe = nullptr;
    ShowA showA = nullptr;
    ShowW showW = nullptr;
};

// The watch itself: a box nobody captured (this program's own) is seen, and held off the screen.
TEST_F(CaptureTest, TheWatchSeesAnUncapturedBox) {
    WindowWatch watch;
    ASSERT_TRUE(watch.Active());
    EXPECT_NE(IDOK, ::MessageBoxW(nullptr, L"uncaptured", L"watch", MB_OK));
    EXPECT_GT(watch.Created(), 0);
}

TEST_F(CaptureTest, BoxesAreRecordedAndNoWindowShows) {
    CallLog log;
    ASSERT_TRUE(CaptureMessageBoxes(probe, log));
    WindowWatch watch;
    ASSERT_TRUE(watch.Active());
    // A real box with Yes/No buttons could never answer OK.
    EXPECT_EQ(IDOK, showA("Cannot reach the service", "Brindlepost", MB_YESNO | MB_ICONERROR));
    EXPECT_EQ(IDOK, showW(L"Sent \x00e9t\x00e9", L"Brindlepost", MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(0, watch.Created());
    ASSERT_EQ(2u, log.Lines().size());
    EXPECT_EQ("MessageBox caption=\"Brindlepost\" text=\"Cannot reach the service\" type=0x00000014", Narrow(log.Lines()[0]));
    EXPECT_EQ("MessageBox caption=\"Brindlepost\" text=\"Sent \xc3\xa9t\xc3\xa9\" type=0x00000040", Narrow(log.Lines()[1]));
}

TEST_F(CaptureTest, RecorderOutlivesItsLogQuietly) {
    {
        CallLog log;
        ASSERT_TRUE(CaptureMessageBoxes(probe, log));
    }
    WindowWatch watch;
    EXPECT_EQ(IDOK, showA("after", "gone", MB_OK));
    EXPECT_EQ(0, watch.Created());
}

TEST_F(CaptureTest, AModuleWithoutMessageBoxesIsNotCaptured) {
    HMODULE quiet = ::LoadLibraryW(testsupport::BesideProgram(L"officequietprobe.dll").c_str());
    ASSERT_NE(nullptr, quiet);
    CallLog log;
    EXPECT_FALSE(CaptureMessageBoxes(quiet, log));
    EXPECT_FALSE(CaptureMessageBoxes(nullptr, log));
    ::FreeLibrary(quiet);
}

}  // namespace
