// An open popup bar under real input on the test display: Escape closes it and leaves its bar
// tracking, Alt closes the whole chain, a click outside closes it and a click inside does not.
#include "HookTestSupport.h"
#include "PainterTestSupport.h"
#include "commandbars/TkPopupBar.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct CPopupOutcome {
    bool desktop = false;
    bool opened = false;
    bool escapeClosed = false;
    int barModeAfterEscape = -1;
    bool altClosed = false;
    int barModeAfterAlt = -1;
    bool clickClosed = false;
    bool insideClickKeptOpen = false;
};

// A site frame with a bar whose "&File" title opens a popup bar of three commands.
class CPopupScene {
public:
    CPopupScene() {
        m_site.CreateEx(0, nullptr, "site", WS_POPUP | WS_VISIBLE, 300, 300, 400, 400, nullptr, nullptr);
        m_bar.reset(new CTestBar(300, 26, TK_BAR_POSITION_TOP, TK_BAR_TYPE_MENUBAR, &m_site));
        m_title = new CTkControlPopup;
        m_title->m_strCaption = "&File";
        m_title->m_rcControl = CRect(4, 2, 60, 24);
        m_bar->GetControls()->Append(m_title);
        m_popup = new CTkPopupBar;
        for (const char* caption : {"One", "Two", "Three"}) {
            auto* item = new CTkControlButton;
            item->m_strCaption = caption;
            m_popup->GetControls()->Append(item);
        }
        m_title->AttachChildBar(m_popup);
        m_popup->InternalRelease();  // the title holds the popup now
    }
    ~CPopupScene() {
        if (m_bar->m_nTrackingMode) m_bar->SetTrackingMode(TK_TRACKING_NONE, true, false);
        m_bar.reset();
        m_site.DestroyWindow();
    }
    bool IsPopupOpen() const { return m_popup->GetSafeHwnd() && ::IsWindowVisible(m_popup->GetSafeHwnd()); }
    // Brings the site to the front, opens the popup and sends the input until the popup closes,
    // a few times should the first input be lost.
    bool ClosesOn(const std::function<void()>& input, CPopupOutcome& out) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (m_bar->m_nTrackingMode) m_bar->SetTrackingMode(TK_TRACKING_NONE, true, false);
            TkBringToFront(m_site.GetSafeHwnd(), 1000);
            m_bar->SetPopuped(0, false);
            out.opened = TkPumpUntil([&] { return IsPopupOpen(); }, 1000);
            input();
            if (TkPumpUntil([&] { return !IsPopupOpen(); }, 1500)) return true;
        }
        return false;
    }
    void Run(CPopupOutcome& out) {
        out.escapeClosed = ClosesOn([] { TkSendKey(VK_ESCAPE); }, out);
        out.barModeAfterEscape = m_bar->m_nTrackingMode;
        out.altClosed = ClosesOn([] { TkSendKey(VK_MENU); }, out);
        out.barModeAfterAlt = m_bar->m_nTrackingMode;
        out.clickClosed = ClosesOn([] { TkSendClick(POINT{650, 650}); }, out);

        m_bar->SetPopuped(0, false);
        TkPumpUntil([&] { return IsPopupOpen(); }, 1000);
        CRect popup;
        ::GetWindowRect(m_popup->GetSafeHwnd(), &popup);
        // A click on the popup's own border keeps it open.
        TkSendClick(POINT{popup.left + 1, popup.top + 1});
        TkPumpUntil([] { return false; }, 300);
        out.insideClickKeptOpen = IsPopupOpen();
    }

private:
    CWnd m_site;
    std::unique_ptr<CTestBar> m_bar;
    CTkControlPopup* m_title = nullptr;
    CTkPopupBar* m_popup = nullptr;
};

DWORD WINAPI RunPopupScene(void* param) {
    auto& out = *static_cast<CPopupOutcome*>(param);
    out.desktop = TkUseOwnDesktop(L"TarvockPopupInputTests");
    if (out.desktop) CPopupScene().Run(out);
    return 0;
}

// Once, on a thread and desktop of its own, so the input reaches no other test program.
const CPopupOutcome& PopupOutcome() {
    static CPopupOutcome outcome;
    static bool ran = false;
    if (!ran) {
        ran = true;
        HANDLE thread = ::CreateThread(nullptr, 0, RunPopupScene, &outcome, 0, nullptr);
        ::WaitForSingleObject(thread, 60000);
        ::CloseHandle(thread);
    }
    return outcome;
}

TEST(TkPopupBarInput, EscapeClosesThePopupAndTheBarKeepsTracking) {
    const CPopupOutcome& seen = PopupOutcome();
    ASSERT_TRUE(seen.desktop);
    EXPECT_TRUE(seen.opened);
    EXPECT_TRUE(seen.escapeClosed);
    EXPECT_EQ(TK_TRACKING_ACTIVE, seen.barModeAfterEscape);
}

TEST(TkPopupBarInput, AltClosesTheWholeChain) {
    const CPopupOutcome& seen = PopupOutcome();
    ASSERT_TRUE(seen.desktop);
    EXPECT_TRUE(seen.altClosed);
    EXPECT_EQ(TK_TRACKING_NONE, seen.barModeAfterAlt);
}

TEST(TkPopupBarInput, AClickOutsideClosesItAndAClickOnItDoesNot) {
    const CPopupOutcome& seen = PopupOutcome();
    ASSERT_TRUE(seen.desktop);
    EXPECT_TRUE(seen.clickClosed);
    EXPECT_TRUE(seen.insideClickKeptOpen);
}

}  // namespace
