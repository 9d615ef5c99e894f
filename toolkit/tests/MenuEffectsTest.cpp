// The menu-sound thread with a recording player, the preference mask at its real size, and the
// drop shadows of popups on windows of the test's own.
#include "HookTestSupport.h"
#include "TkTestSupport.h"
#include "commandbars/TkDropShadow.h"
#include "commandbars/TkMenuEffects.h"
#include "commandbars/TkMenuSound.h"

#include <gtest/gtest.h>

#include <mmsystem.h>

#include <mutex>
#include <string>

namespace {

// ---------------------------------------------------------------------------------------------
// Sounds.

// What the thread asked the sound system for. The player waits at the gate while it is shut,
// the way a slow sound keeps the thread busy.
struct CSoundLog {
    std::mutex lock;
    std::vector<std::wstring> sounds;  // "" for the purge at the end
    std::vector<DWORD> flags;
    HANDLE gate = ::CreateEventW(nullptr, TRUE, TRUE, nullptr);
    HANDLE entered = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);

    size_t Count() {
        std::lock_guard<std::mutex> hold(lock);
        return sounds.size();
    }
    std::vector<std::wstring> Sounds() {
        std::lock_guard<std::mutex> hold(lock);
        return sounds;
    }
    void Reset() {
        std::lock_guard<std::mutex> hold(lock);
        sounds.clear();
        flags.clear();
        ::SetEvent(gate);
        ::ResetEvent(entered);
    }
} g_sounds;

BOOL WINAPI RecordSound(LPCWSTR sound, HMODULE, DWORD flags) {
    {
        std::lock_guard<std::mutex> hold(g_sounds.lock);
        g_sounds.sounds.push_back(sound ? sound : L"");
        g_sounds.flags.push_back(flags);
    }
    if (sound) {
        ::SetEvent(g_sounds.entered);
        ::WaitForSingleObject(g_sounds.gate, 5000);
    }
    return TRUE;
}

bool WaitForSounds(size_t count) {
    DWORD start = ::GetTickCount();
    while (g_sounds.Count() < count) {
        if (::GetTickCount() - start > 2000) return false;
        ::Sleep(2);
    }
    return true;
}

DWORD TimeStop(CTkMenuSoundPlayer& player, bool* stopped) {
    DWORD start = ::GetTickCount();
    *stopped = player.Stop();
    return ::GetTickCount() - start;
}

class TkMenuSoundPlayer : public ::testing::Test {
protected:
    void SetUp() override { g_sounds.Reset(); }
    void TearDown() override { ::SetEvent(g_sounds.gate); }
    CTkMenuSoundPlayer m_player{RecordSound};
};

TEST_F(TkMenuSoundPlayer, TheThreadStartsAtTheFirstSoundPlaysBothKindsAndEndsWithinTheTimeLimit) {
    EXPECT_FALSE(m_player.HasThread());
    m_player.Play(CTkMenuSoundPlayer::RequestNone);
    m_player.Play(CTkMenuSoundPlayer::RequestQuit);
    EXPECT_FALSE(m_player.HasThread());

    m_player.Play(CTkMenuSoundPlayer::RequestPopup);
    ASSERT_TRUE(m_player.HasThread());
    EXPECT_EQ(THREAD_PRIORITY_BELOW_NORMAL, ::GetThreadPriority(m_player.GetThreadHandle()));
    ASSERT_TRUE(WaitForSounds(1));
    m_player.Play(CTkMenuSoundPlayer::RequestCommand);
    ASSERT_TRUE(WaitForSounds(2));
    EXPECT_EQ((std::vector<std::wstring>{L"MenuPopup", L"MenuCommand"}), g_sounds.Sounds());
    EXPECT_EQ((DWORD)(SND_ALIAS | SND_NOWAIT | SND_NODEFAULT), g_sounds.flags[0]);
    EXPECT_TRUE(TkPumpUntil([&] { return m_player.GetPendingRequest() == CTkMenuSoundPlayer::RequestNone; }, 1000));

    bool stopped = false;
    EXPECT_LT(TimeStop(m_player, &stopped), CTkMenuSoundPlayer::kStopTimeoutMs);
    EXPECT_TRUE(stopped);
    EXPECT_FALSE(m_player.HasThread());
    ASSERT_EQ(3u, g_sounds.Count());
    EXPECT_EQ(L"", g_sounds.Sounds()[2]);
    EXPECT_EQ((DWORD)SND_PURGE, g_sounds.flags[2]);
    EXPECT_TRUE(m_player.Stop());
}

TEST_F(TkMenuSoundPlayer, RequestsMadeWhileASoundPlaysBecomeOneSoundAndAreNotLost) {
    ::ResetEvent(g_sounds.gate);
    m_player.Play(CTkMenuSoundPlayer::RequestCommand);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(g_sounds.entered, 2000));
    // Two popups open while "MenuCommand" still plays: the later request replaces the earlier.
    m_player.Play(CTkMenuSoundPlayer::RequestPopup);
    m_player.Play(CTkMenuSoundPlayer::RequestPopup);
    EXPECT_EQ(CTkMenuSoundPlayer::RequestPopup, m_player.GetPendingRequest());
    ::SetEvent(g_sounds.gate);
    ASSERT_TRUE(WaitForSounds(2));
    ::Sleep(50);
    EXPECT_EQ((std::vector<std::wstring>{L"MenuCommand", L"MenuPopup"}), g_sounds.Sounds());
}

TEST_F(TkMenuSoundPlayer, AStopDuringASoundWaitsAtMostTheLimitAndTheThreadStillEnds) {
    ::ResetEvent(g_sounds.gate);
    m_player.Play(CTkMenuSoundPlayer::RequestCommand);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(g_sounds.entered, 2000));
    HANDLE thread = m_player.GetThreadHandle();

    bool stopped = true;
    DWORD waited = TimeStop(m_player, &stopped);
    EXPECT_FALSE(stopped);
    EXPECT_GE(waited + 10, CTkMenuSoundPlayer::kStopTimeoutMs);
    EXPECT_LT(waited, 3 * CTkMenuSoundPlayer::kStopTimeoutMs);
    // The busy thread is kept, not forgotten: its quit request survives the sound's end.
    EXPECT_EQ(thread, m_player.GetThreadHandle());
    ::SetEvent(g_sounds.gate);
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thread, 1000));
    EXPECT_EQ(L"", g_sounds.Sounds().back());
    EXPECT_TRUE(m_player.Stop());
    EXPECT_FALSE(m_player.HasThread());

    // A sound asked for while a stopped thread is still busy keeps that thread, the only one.
    g_sounds.Reset();
    ::ResetEvent(g_sounds.gate);
    m_player.Play(CTkMenuSoundPlayer::RequestCommand);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(g_sounds.entered, 2000));
    thread = m_player.GetThreadHandle();
    EXPECT_FALSE(m_player.Stop());
    m_player.Play(CTkMenuSoundPlayer::RequestPopup);
    EXPECT_EQ(thread, m_player.GetThreadHandle());
    ::SetEvent(g_sounds.gate);
    ASSERT_TRUE(WaitForSounds(2));
    EXPECT_EQ(L"MenuPopup", g_sounds.Sounds()[1]);
    EXPECT_TRUE(m_player.Stop());
}

TEST_F(TkMenuSoundPlayer, EveryThreadHandleIsClosed) {
    DWORD before = 0, after = 0;
    ASSERT_TRUE(::GetProcessHandleCount(::GetCurrentProcess(), &before));
    for (int round = 0; round < 20; ++round) {
        m_player.Play(CTkMenuSoundPlayer::RequestPopup);
        ASSERT_TRUE(WaitForSounds(2 * round + 1));
        ASSERT_TRUE(m_player.Stop());
    }
    ASSERT_TRUE(::GetProcessHandleCount(::GetCurrentProcess(), &after));
    EXPECT_LE(after, before + 2);
}

TEST(TkMenuSoundPlayerOfTheProgram, PlaysThroughTheSystemAndStopsWithinTheTimeLimit) {
    CTkMenuSoundPlayer& player = CTkMenuSoundPlayer::Instance();
    player.Play(CTkMenuSoundPlayer::RequestPopup);
    ASSERT_TRUE(player.HasThread());
    EXPECT_TRUE(TkPumpUntil([&] { return player.GetPendingRequest() == CTkMenuSoundPlayer::RequestNone; }, 2000));
    bool stopped = false;
    EXPECT_LT(TimeStop(player, &stopped), CTkMenuSoundPlayer::kStopTimeoutMs);
    EXPECT_TRUE(stopped);
    EXPECT_FALSE(player.HasThread());
}

// ---------------------------------------------------------------------------------------------
// The preference mask.

class TkUserPreferencesMask : public ::testing::Test {
protected:
    void SetUp() override {
        m_subKey = L"Software\\Tarvock\\ToolkitTests\\Preferences" + std::to_wstring(::GetCurrentProcessId());
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CURRENT_USER, m_subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                   nullptr, &m_key, nullptr));
    }
    void TearDown() override {
        ::RegCloseKey(m_key);
        ::RegDeleteKeyW(HKEY_CURRENT_USER, m_subKey.c_str());
    }
    void Write(std::vector<BYTE> bytes, DWORD type = REG_BINARY) {
        ASSERT_EQ(ERROR_SUCCESS,
                  ::RegSetValueExW(m_key, L"UserPreferencesMask", 0, type, bytes.data(), (DWORD)bytes.size()));
    }
    bool Read(DWORD* mask) { return TkReadUserPreferencesMask(mask, HKEY_CURRENT_USER, m_subKey.c_str()); }
    std::wstring m_subKey;
    HKEY m_key = nullptr;
};

TEST_F(TkUserPreferencesMask, TheSystemsValueIsReadWhateverItsSize) {
    HKEY desktop = nullptr;
    DWORD size = 0;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_READ, &desktop));
    ASSERT_EQ(ERROR_SUCCESS, ::RegQueryValueExW(desktop, L"UserPreferencesMask", nullptr, nullptr, nullptr, &size));
    std::vector<BYTE> bytes(size);
    ::RegQueryValueExW(desktop, L"UserPreferencesMask", nullptr, nullptr, bytes.data(), &size);
    ::RegCloseKey(desktop);
    EXPECT_GT(size, 4u);  // 8 bytes here, as on current systems

    DWORD mask = 0xDEADBEEF;
    ASSERT_TRUE(TkReadUserPreferencesMask(&mask));
    EXPECT_EQ((DWORD)(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | bytes[3] << 24), mask);
    EXPECT_EQ(TkMenuAnimationFromMask(mask), TkGetSystemMenuAnimation());
}

TEST_F(TkUserPreferencesMask, SizesAndAnimations) {
    DWORD mask = 1;
    EXPECT_FALSE(Read(&mask));
    EXPECT_EQ(0u, mask);

    Write({0x02, 0x02, 0x00, 0x00, 0x12, 0x00, 0x00, 0x00});
    ASSERT_TRUE(Read(&mask));
    EXPECT_EQ(0x202u, mask);
    EXPECT_EQ(4, TkMenuAnimationFromMask(mask));

    Write({0x32, 0x00, 0x00, 0x80, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    ASSERT_TRUE(Read(&mask));
    EXPECT_EQ(0x80000032u, mask);
    EXPECT_EQ(3, TkMenuAnimationFromMask(mask));

    // An old 4-byte value, and a short one padded with zeros.
    Write({0x00, 0x02, 0x00, 0x00});
    ASSERT_TRUE(Read(&mask));
    EXPECT_EQ(0x200u, mask);
    EXPECT_EQ(0, TkMenuAnimationFromMask(mask));
    Write({0x02});
    ASSERT_TRUE(Read(&mask));
    EXPECT_EQ(0x2u, mask);

    // A value of another type is not the mask.
    Write({0x02, 0x02, 0x00, 0x00}, REG_DWORD);
    EXPECT_FALSE(Read(&mask));
    EXPECT_EQ(0u, mask);
}

// ---------------------------------------------------------------------------------------------
// Drop shadows.

bool SystemShadowsOn() { return true; }
bool SystemShadowsOff() { return false; }

CRect WindowRect(HWND hwnd) {
    CRect rect;
    ::GetWindowRect(hwnd, &rect);
    return rect;
}

::testing::AssertionResult RectIs(const CRect& expected, const CRect& actual) {
    if (::EqualRect(&expected, &actual)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.left << "," << actual.top << "," << actual.right << ","
                                         << actual.bottom << ") instead of (" << expected.left << "," << expected.top
                                         << "," << expected.right << "," << expected.bottom << ")";
}

class TkDropShadows : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(TkDesktopReady());
        ASSERT_TRUE(m_shadows.HasLayeredShadows());
        m_shadows.SetSystemDropShadow(SystemShadowsOff);
        m_popup = OpenPopup(CRect(100, 40, 300, 340));
        m_forced.painterForcesShadows = true;
        m_forced.shadowColor = RGB(60, 0, 0);
    }
    void TearDown() override {
        for (HWND popup : m_popups)
            if (::IsWindow(popup)) ::DestroyWindow(popup);
    }
    HWND OpenPopup(const CRect& rect) {
        HWND popup = TkCreateRecordingWindow(rect, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
        ::ShowWindow(popup, SW_SHOWNOACTIVATE);
        m_popups.push_back(popup);
        return popup;
    }
    CTkDropShadows m_shadows;
    CTkShadowStyle m_forced;
    HWND m_popup = nullptr;
    std::vector<HWND> m_popups;
};

TEST_F(TkDropShadows, OnlyAForcingPainterOrTheSystemSettingGivesShadows) {
    CTkShadowStyle plain;
    m_shadows.AddShadows(m_popup, CRect(), plain);
    EXPECT_TRUE(m_shadows.GetShadows().empty());
    CTkShadowStyle customizing = m_forced;
    customizing.customizing = true;
    m_shadows.AddShadows(m_popup, CRect(), customizing);
    m_shadows.AddControlShadows(m_popup, CRect(100, 20, 140, 40), customizing);
    EXPECT_TRUE(m_shadows.GetShadows().empty());
    EXPECT_FALSE(CTkSubclassRegistry::Instance().IsSubclassed(m_popup));

    m_shadows.SetSystemDropShadow(SystemShadowsOn);
    m_shadows.AddShadows(m_popup, CRect(), plain);
    EXPECT_EQ(2u, m_shadows.GetShadows(m_popup).size());
    // Control shadows come only from a forcing painter.
    m_shadows.AddControlShadows(m_popup, CRect(100, 20, 140, 40), plain);
    EXPECT_EQ(2u, m_shadows.GetShadows(m_popup).size());
    m_shadows.RemoveShadows(m_popup);
    EXPECT_TRUE(m_shadows.GetShadows().empty());
    EXPECT_FALSE(CTkSubclassRegistry::Instance().IsSubclassed(m_popup));
}

TEST_F(TkDropShadows, StripsBesideThePopupAreLayeredTransparentAndSkipTheOpeningControl) {
    const CRect opener(290, 100, 320, 130);
    m_shadows.AddShadows(m_popup, opener, m_forced);
    auto strips = m_shadows.GetShadows(m_popup);
    ASSERT_EQ(2u, strips.size());
    CTkDropShadowWnd* bottom = strips[0];
    CTkDropShadowWnd* right = strips[1];
    EXPECT_EQ(CTkDropShadowWnd::Bottom, bottom->GetOrientation());
    EXPECT_TRUE(RectIs(CRect(104, 340, 304, 344), WindowRect(bottom->GetSafeHwnd())));
    EXPECT_TRUE(RectIs(CRect(300, 44, 304, 340), WindowRect(right->GetSafeHwnd())));
    for (CTkDropShadowWnd* strip : strips) {
        HWND hwnd = strip->GetSafeHwnd();
        EXPECT_EQ((LONG_PTR)0x80088, ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & 0x80088);
        EXPECT_EQ((LONG_PTR)WS_POPUP, ::GetWindowLongPtrW(hwnd, GWL_STYLE) & (WS_POPUP | WS_CHILD));
        EXPECT_TRUE(::IsWindowVisible(hwnd));
        EXPECT_EQ(HTTRANSPARENT, ::SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(302, 200)));
        EXPECT_TRUE(CTkSubclassRegistry::Instance().HasSink(m_popup, strip));
    }
    // The right strip has a hole where the opening control lies: y 100 to 130 of the screen.
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, ::GetWindowRgn(right->GetSafeHwnd(), region));
    EXPECT_TRUE(::PtInRegion(region, 2, 10));
    EXPECT_FALSE(::PtInRegion(region, 2, 100 - 44));
    EXPECT_FALSE(::PtInRegion(region, 2, 129 - 44));
    EXPECT_TRUE(::PtInRegion(region, 2, 130 - 44));
    ::DeleteObject(region);
    // The bottom strip meets no cut and keeps no region.
    region = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(ERROR, ::GetWindowRgn(bottom->GetSafeHwnd(), region));
    ::DeleteObject(region);
}

TEST_F(TkDropShadows, LayeredPixelsRampAcrossTheStripAndFadeAtItsEnds) {
    const int width = 20, height = 4;
    std::vector<DWORD> plain(width * height), forced(width * height);
    CTkDropShadowWnd::FillShadowPixels(plain.data(), width, height, CTkDropShadowWnd::Bottom, RGB(200, 100, 0), false);
    CTkDropShadowWnd::FillShadowPixels(forced.data(), width, height, CTkDropShadowWnd::Bottom, RGB(200, 100, 0), true);
    auto alpha = [](const std::vector<DWORD>& pixels, int x, int y) { return (int)(pixels[y * 20 + x] >> 24); };
    for (int y = 1; y < height; ++y) EXPECT_GT(alpha(plain, 10, y), alpha(plain, 10, y - 1));
    for (int x = 1; x < 5; ++x) {
        EXPECT_GT(alpha(plain, x, 3), alpha(plain, x - 1, 3));
        EXPECT_GT(alpha(plain, width - x - 1, 3), alpha(plain, width - x, 3));
    }
    EXPECT_EQ(alpha(plain, 5, 3), alpha(plain, 14, 3));
    EXPECT_EQ(alpha(plain, 10, 3), 2 * alpha(forced, 10, 3));
    // Premultiplied colour.
    DWORD pixel = plain[3 * width + 10];
    int a = (int)(pixel >> 24);
    EXPECT_EQ(200 * a / 255, (int)((pixel >> 16) & 0xFF));
    EXPECT_EQ(100 * a / 255, (int)((pixel >> 8) & 0xFF));
    EXPECT_EQ(0, (int)(pixel & 0xFF));

    // The right strip runs down: the ramp goes across its width.
    std::vector<DWORD> down(4 * 20);
    CTkDropShadowWnd::FillShadowPixels(down.data(), 4, 20, CTkDropShadowWnd::Right, RGB(0, 0, 0), false);
    EXPECT_GT(down[10 * 4 + 3] >> 24, down[10 * 4 + 0] >> 24);
    EXPECT_GT(down[10 * 4 + 3] >> 24, down[0 * 4 + 3] >> 24);
}

TEST_F(TkDropShadows, ShadowsFollowThePopupAndGoWithItsWindow) {
    m_shadows.AddShadows(m_popup, CRect(), m_forced);
    auto strips = m_shadows.GetShadows(m_popup);
    ASSERT_EQ(2u, strips.size());
    HWND bottom = strips[0]->GetSafeHwnd(), right = strips[1]->GetSafeHwnd();

    ::ShowWindow(m_popup, SW_HIDE);
    EXPECT_FALSE(::IsWindowVisible(bottom));
    EXPECT_FALSE(::IsWindowVisible(right));
    HWND active = ::GetActiveWindow();
    ::ShowWindow(m_popup, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(::IsWindowVisible(bottom));
    EXPECT_TRUE(::IsWindowVisible(right));
    EXPECT_EQ(active, ::GetActiveWindow());
    // The popup still gets its own messages.
    EXPECT_EQ(3, TkRecordedCount(m_popup, WM_SHOWWINDOW));

    // Destroyed without being hidden first: both shadows leave with it.
    ::DestroyWindow(m_popup);
    EXPECT_TRUE(m_shadows.GetShadows().empty());
    EXPECT_FALSE(::IsWindow(bottom));
    EXPECT_FALSE(::IsWindow(right));
    EXPECT_FALSE(CTkSubclassRegistry::Instance().IsSubclassed(m_popup));
}

TEST_F(TkDropShadows, APopupOfTheClassLibraryLosesItsShadowsAndEndsItsLifeAsUsual) {
    class CPopup : public CWnd {
    public:
        void PostNcDestroy() override { ++m_ended; }
        int m_ended = 0;
    } popup;
    ASSERT_TRUE(popup.CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, nullptr, "popup", WS_POPUP, 600, 100, 150, 200,
                               nullptr, nullptr));
    popup.ShowWindow(SW_SHOWNOACTIVATE);
    m_shadows.AddShadows(popup.GetSafeHwnd(), CRect(), m_forced);
    ASSERT_EQ(2u, m_shadows.GetShadows(popup.GetSafeHwnd()).size());
    HWND hwnd = popup.GetSafeHwnd();
    popup.ShowWindow(SW_HIDE);
    EXPECT_FALSE(::IsWindowVisible(m_shadows.GetShadows(hwnd)[0]->GetSafeHwnd()));
    popup.DestroyWindow();
    EXPECT_TRUE(m_shadows.GetShadows(hwnd).empty());
    EXPECT_EQ(1, popup.m_ended);
    EXPECT_EQ(nullptr, popup.GetSafeHwnd());
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hwnd));
}

TEST_F(TkDropShadows, APopupOpenedFromAnotherKeepsItsStripsOffTheFirstOnes) {
    m_shadows.AddShadows(m_popup, CRect(), m_forced);
    // A sub-menu opened beside an item of the first popup, overlapping its edge by 3 pixels.
    HWND sub = OpenPopup(CRect(297, 100, 477, 250));
    m_shadows.AddShadows(sub, CRect(200, 100, 297, 122), m_forced);
    auto strips = m_shadows.GetShadows(sub);
    ASSERT_EQ(2u, strips.size());
    // Its bottom strip starts where the first popup's right strip ends.
    EXPECT_TRUE(RectIs(CRect(304, 250, 481, 254), WindowRect(strips[0]->GetSafeHwnd())));
    EXPECT_TRUE(RectIs(CRect(477, 104, 481, 250), WindowRect(strips[1]->GetSafeHwnd())));

    // The opening control of a menu bar shaded beside its popup; the strips go with that popup.
    m_shadows.AddControlShadows(sub, CRect(250, 80, 297, 100), m_forced);
    EXPECT_EQ(4u, m_shadows.GetShadows(sub).size());
    m_shadows.RemoveShadows(sub);
    EXPECT_TRUE(m_shadows.GetShadows(sub).empty());
    EXPECT_EQ(2u, m_shadows.GetShadows(m_popup).size());
    EXPECT_FALSE(CTkSubclassRegistry::Instance().IsSubclassed(sub));
}

TEST_F(TkDropShadows, WithoutLayeredWindowsOnlyAForcingPainterDrawsThinStrips) {
    m_shadows.SetUpdateLayeredWindow(nullptr);
    m_shadows.SetSystemDropShadow(SystemShadowsOn);
    m_shadows.AddShadows(m_popup, CRect(), CTkShadowStyle());
    EXPECT_TRUE(m_shadows.GetShadows().empty());
    m_shadows.AddShadows(m_popup, CRect(), m_forced);
    auto strips = m_shadows.GetShadows(m_popup);
    ASSERT_EQ(2u, strips.size());
    EXPECT_TRUE(RectIs(CRect(102, 340, 302, 342), WindowRect(strips[0]->GetSafeHwnd())));
    EXPECT_TRUE(RectIs(CRect(300, 42, 302, 340), WindowRect(strips[1]->GetSafeHwnd())));
    EXPECT_EQ(0, ::GetWindowLongPtrW(strips[0]->GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

}  // namespace
