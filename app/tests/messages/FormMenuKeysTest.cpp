// The menus from the keyboard in the windows whose view is a dialog form (the send and read
// windows), with the focus in the form's fields and real key presses on a desktop of the scene's
// own: Alt+letter of a menu title opens it, its keys work, the form keeps its own mnemonics, Tab
// and Enter, and the frame's filter sees each key once.
#include "support/ProgramLoop.h"
#include "support/TestMessengerApp.h"

#include "commandbars/TkCommandBar.h"
#include "commandbars/TkHooks.h"
#include "commandbars/TkToolBar.h"
#include "controls/TkControl.h"
#include "messages/ReadMessageFrame.h"
#include "messages/SendMessageFrame.h"
#include "resource.h"

#include "DesktopSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

namespace {

const int kFileTitle = 0, kViewTitle = 1;

// How often the frame's filter was offered each key message of the form's fields.
struct CFilterTally {
    int offersOfCurrent = 0;
    int formKeys = 0;       // key messages to the form and its fields
    int formKeysOnce = 0;   // of those, offered to the frame's filter exactly once
};
thread_local CFilterTally* g_tally = nullptr;

void CountFilterOffer() {
    if (g_tally) ++g_tally->offersOfCurrent;
}

// The form view's pre-translation of a key message, with the frame's offers counted.
bool TallyFormKey(MSG* msg, const std::function<bool()>& preTranslate) {
    CFilterTally* tally = g_tally;
    if (!tally || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return preTranslate();
    tally->offersOfCurrent = 0;
    const bool taken = preTranslate();
    ++tally->formKeys;
    if (tally->offersOfCurrent == 1) ++tally->formKeysOnce;
    return taken;
}

// The send window's own view, with the recipient picker's button noted instead of running the
// picker (it needs the signed-in service).
class CPickerProbeView : public CSendMessageView {
public:
    int pickerAsked = 0;
    bool PreTranslateMessage(MSG* msg) override {
        return TallyFormKey(msg, [&] { return CSendMessageView::PreTranslateMessage(msg); });
    }

protected:
    afx_msg void OnPickerAsked() { ++pickerAsked; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPickerProbeView, CSendMessageView)
    ON_BN_CLICKED(IDC_SELECT_RECIPIENTS, OnPickerAsked)
END_MESSAGE_MAP()

// A frame of a scene: it counts what its filter is offered and notes when another program takes
// the foreground from it (which closes its menus and takes the keys elsewhere).
thread_local int g_deactivations = 0;

template <class Base>
class CSceneFrame : public Base {
public:
    bool PreTranslateMessage(MSG* msg) override {
        CountFilterOffer();
        return Base::PreTranslateMessage(msg);
    }

protected:
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        if (message == WM_ACTIVATEAPP && !wParam) ++g_deactivations;
        return Base::OnWndMsg(message, wParam, lParam, result);
    }
};

// The program's frame base with the send window's bars around the probe view (the send window's
// own frame reads the account from the service when it is made).
class CSendFormFrame : public CSceneFrame<CFrameBase> {
public:
    CPickerProbeView* view = nullptr;
    UINT GetBarResourceId(int) override { return IDR_SEND_WINDOW; }
    bool CreateClientView() override {
        auto* made = new CPickerProbeView;
        if (!CreateFormClientView(made)) return false;
        view = made;
        return true;
    }
};

// The read window's own view and frame.
class CTallyingReadView : public CReadMessageView {
public:
    bool PreTranslateMessage(MSG* msg) override {
        return TallyFormKey(msg, [&] { return CReadMessageView::PreTranslateMessage(msg); });
    }
};

class CCountingReadFrame : public CSceneFrame<CReadMessageFrame> {
public:
    bool CreateClientView() override {
        AfxInitRichEdit2();  // as the read window does before its view
        auto* view = new CTallyingReadView;
        if (!CreateFormClientView(view)) return false;
        m_pView = view;
        return true;
    }
};

// The system's own menu loop (what Alt+letter started when the form's dialog handling took the
// key) is noted and ended, so that the scene goes on.
thread_local bool* g_systemMenuLoop = nullptr;
void CALLBACK WatchMenuLoop(HWND, UINT, UINT_PTR, DWORD) {
    GUITHREADINFO info = {sizeof(info)};
    if (g_systemMenuLoop && ::GetGUIThreadInfo(::GetCurrentThreadId(), &info) && (info.flags & GUI_INMENUMODE)) {
        *g_systemMenuLoop = true;
        ::EndMenu();
    }
}

bool PopupTracks(CTkCommandBar* bar, int title) {
    CTkControl* control = bar->GetControl(title);
    CTkCommandBar* popup = control ? control->GetCommandBar() : nullptr;
    return bar->m_nPopupIndex == title && popup && popup->m_nTrackingMode != TK_TRACKING_NONE && popup->GetSafeHwnd() &&
           ::IsWindowVisible(popup->GetSafeHwnd());
}

bool BarIdle(CTkCommandBar* bar) {
    return bar->m_nTrackingMode == TK_TRACKING_NONE && bar->m_nPopupIndex == -1;
}

// The steps of a scene's real input. Each starts with the frame in front and the focus in its
// field. A step during which another program took the foreground proves nothing either way: what
// it changed is put back and it is made again, three times at most; any other result stands.
class CSceneSteps {
public:
    explicit CSceneSteps(CFrameBase* frame) : m_frame(frame) {}
    bool Step(const char* name, HWND field, const std::function<bool()>& step,
              const std::function<void()>& putBack = nullptr) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (!BringToFrontWithFocus(m_frame->m_hWnd, field)) {
                Note(name, "the frame did not come to the front");
                continue;
            }
            const int deactivations = g_deactivations;
            const bool held = step();
            if (held || g_deactivations == deactivations) return held;
            Note(name, "made again: another program took the foreground");
            CTkMouseTracker::ForThread().CloseTracked();
            if (putBack) putBack();
        }
        return false;
    }
    // What went astray, for the test's output.
    std::string notes;

private:
    void Note(const char* name, const char* what) { notes += std::string(name) + ": " + what + "; "; }
    CFrameBase* m_frame;
};

// Alt+V, then T (the View menu's Toolbar item), twice: the toolbar hides, then shows; each time
// the menus close and the focus is back in the field.
struct CToggleRound {
    bool opened = false;
    bool toggled = false;
    bool closed = false;
    bool focusBack = false;
    bool Held() const { return opened && toggled && closed && focusBack; }
};

struct CToggleOutcome {
    CToggleRound rounds[2];
    bool visibleAtEnd = false;
    bool Held() const { return rounds[0].Held() && rounds[1].Held() && visibleAtEnd; }
};

void ToggleToolbarByKeys(CFrameBase* frame, CSceneSteps& steps, HWND field, CToggleOutcome& out) {
    CTkToolBar* menuBar = frame->GetMenuBar();
    CTkToolBar* toolBar = frame->GetToolBar();
    if (!menuBar || !toolBar) return;
    for (CToggleRound& round : out.rounds) {
        bool wasVisible = toolBar->IsVisible();
        const bool held = steps.Step("Alt+V, T", field, [&] {
            round = CToggleRound();
            wasVisible = toolBar->IsVisible();
            round.opened =
                InputAsProgramUntil([] { TestPressKey('V', true); }, [&] { return PopupTracks(menuBar, kViewTitle); });
            SettleAsProgram();  // the release of Alt is handled first
            if (!round.opened) return false;
            round.toggled =
                InputAsProgramUntil([] { TestPressKey('T'); }, [&] { return toolBar->IsVisible() != wasVisible; });
            SettleAsProgram();
            CTkCommandBar* viewMenu = menuBar->GetControl(kViewTitle)->GetCommandBar();
            round.closed = BarIdle(menuBar) && viewMenu && viewMenu->m_nTrackingMode == TK_TRACKING_NONE;
            round.focusBack = ::GetFocus() == field;
            return round.Held();
        }, [&] {
            if (toolBar->IsVisible() != wasVisible) frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
        });
        if (!held) return;
    }
    out.visibleAtEnd = toolBar->IsVisible() && ::IsWindowVisible(toolBar->m_hWnd);
}

// Alt+F opens File; Esc goes back to its title with the bar still active; Esc leaves the bar.
struct CFileEscOutcome {
    bool opened = false;
    bool backToTitle = false;
    bool left = false;
    bool focusBack = false;
    bool Held() const { return opened && backToTitle && left && focusBack; }
};

void OpenFileAndEscape(CFrameBase* frame, CSceneSteps& steps, HWND field, CFileEscOutcome& out) {
    CTkToolBar* menuBar = frame->GetMenuBar();
    if (!menuBar) return;
    steps.Step("Alt+F, Esc, Esc", field, [&] {
        out = CFileEscOutcome();
        out.opened =
            InputAsProgramUntil([] { TestPressKey('F', true); }, [&] { return PopupTracks(menuBar, kFileTitle); });
        SettleAsProgram();
        if (!out.opened) return false;
        out.backToTitle = InputAsProgramUntil([] { TestPressKey(VK_ESCAPE); }, [&] {
            return menuBar->m_nPopupIndex == -1 && menuBar->m_nTrackingMode == TK_TRACKING_ACTIVE;
        });
        out.left = InputAsProgramUntil([] { TestPressKey(VK_ESCAPE); }, [&] { return BarIdle(menuBar); });
        SettleAsProgram();
        out.focusBack = ::GetFocus() == field;
        return out.Held();
    });
}

// The wheel over the text while View is open goes to the open menu, which keeps it (the text
// behind it stays put); with the menu closed the wheel scrolls the text.
struct CWheelOutcome {
    bool opened = false;
    bool textKept = false;
    bool menuKept = false;
    bool closed = false;
    bool scrollsAfter = false;
    bool Held() const { return opened && textKept && menuKept && closed && scrollsAfter; }
};

void WheelUnderOpenMenu(CFrameBase* frame, CSceneSteps& steps, HWND text, CWheelOutcome& out) {
    CTkToolBar* menuBar = frame->GetMenuBar();
    if (!menuBar) return;
    std::string lines;
    for (int line = 1; line <= 60; ++line) lines += "line " + std::to_string(line) + "\r\n";
    ::SetWindowTextA(text, lines.c_str());
    RECT box = {};
    ::GetWindowRect(text, &box);
    const POINT at = {box.right - 40, box.bottom - 20};
    auto wheel = [at] {
        INPUT input = TestMouseInput(at, MOUSEEVENTF_WHEEL);
        input.mi.mouseData = (DWORD)-WHEEL_DELTA;
        ::SendInput(1, &input, sizeof(INPUT));
    };
    auto firstLine = [&] { return ::SendMessageW(text, EM_GETFIRSTVISIBLELINE, 0, 0); };
    steps.Step("the wheel", text, [&] {
        out = CWheelOutcome();
        ::SendMessageW(text, EM_SETSEL, 0, 0);
        ::SendMessageW(text, EM_SCROLLCARET, 0, 0);
        out.opened =
            InputAsProgramUntil([] { TestPressKey('V', true); }, [&] { return PopupTracks(menuBar, kViewTitle); });
        SettleAsProgram();
        if (!out.opened) return false;
        wheel();
        SettleAsProgram();
        out.textKept = firstLine() == 0;
        out.menuKept = PopupTracks(menuBar, kViewTitle);
        out.closed =
            InputAsProgramUntil([] { TestPressKey(VK_ESCAPE); }, [&] { return menuBar->m_nPopupIndex == -1; }) &&
            InputAsProgramUntil([] { TestPressKey(VK_ESCAPE); }, [&] { return BarIdle(menuBar); });
        out.scrollsAfter = InputAsProgramUntil(wheel, [&] { return firstLine() > 0; });
        return out.Held();
    });
}

// What every scene keeps: whether its frame was made, the filter's tally, whether the system's
// menu loop started, and what went astray.
struct CSceneOutcome {
    bool made = false;
    CFilterTally tally;
    bool systemMenuLoop = false;
    std::string notes;
};

struct CSendKeysOutcome : CSceneOutcome {
    CToggleOutcome toggle;            // focus in the message text
    CWheelOutcome wheel;
    CFileEscOutcome file;             // focus in the recipients
    int pickerAsked = -1;             // Alt+T, focus in the recipients
    bool barIdleAfterAltT = false;
    bool tabToText = false;           // Tab from the recipients
    CString textAfterEnter;           // a, Enter, b in the message text
    bool Held() const {
        return made && toggle.Held() && wheel.Held() && file.Held() && pickerAsked == 1 && barIdleAfterAltT &&
               tabToText && textAfterEnter == "a\r\nb" && !systemMenuLoop;
    }
};

struct CReadKeysOutcome : CSceneOutcome {
    CFileEscOutcome file;             // focus in the message text
    CToggleOutcome toggle;
    bool Held() const { return made && file.Held() && toggle.Held() && !systemMenuLoop; }
};

// Runs the steps of a scene with the filter's tally and the menu-loop watch in place, then
// closes whatever a failed step left open and the frame.
void WithinScene(CFrameBase* frame, CSceneOutcome& out, const std::function<void(CSceneSteps&)>& run) {
    const HWND window = frame->m_hWnd;
    CSceneSteps steps(frame);
    g_tally = &out.tally;
    g_systemMenuLoop = &out.systemMenuLoop;
    const UINT_PTR watch = ::SetTimer(nullptr, 0, 200, WatchMenuLoop);
    run(steps);
    ::KillTimer(nullptr, watch);
    g_systemMenuLoop = nullptr;
    g_tally = nullptr;
    out.notes = steps.notes;
    CTkMouseTracker::ForThread().CloseTracked();
    if (::IsWindow(window)) frame->DestroyWindow();
}

// Makes a scene's frame, noting in the outcome that it was made; null when it cannot be.
template <class Frame>
Frame* MakeSceneFrame(CSceneOutcome& out) {
    auto* frame = new Frame;
    if (!frame->Create(nullptr)) {
        delete frame;
        return nullptr;
    }
    out.made = true;
    return frame;
}

void RunSendKeys(CSendKeysOutcome& out) {
    auto* frame = MakeSceneFrame<CSendFormFrame>(out);
    if (!frame) return;
    CPickerProbeView* view = frame->view;
    const HWND recipients = ::GetDlgItem(view->m_hWnd, IDC_MESSAGE_RECIPIENTS);
    const HWND text = ::GetDlgItem(view->m_hWnd, IDC_MESSAGE_BODY);
    WithinScene(frame, out, [&](CSceneSteps& steps) {
        ToggleToolbarByKeys(frame, steps, text, out.toggle);
        WheelUnderOpenMenu(frame, steps, text, out.wheel);
        OpenFileAndEscape(frame, steps, recipients, out.file);
        steps.Step("Alt+T", recipients, [&] {
            const int before = view->pickerAsked;
            InputAsProgramUntil([] { TestPressKey('T', true); }, [&] { return view->pickerAsked > before; });
            SettleAsProgram();
            out.pickerAsked = view->pickerAsked - before;
            out.barIdleAfterAltT = BarIdle(frame->GetMenuBar());
            return out.pickerAsked == 1 && out.barIdleAfterAltT;
        });
        steps.Step("Tab", recipients, [&] {
            out.tabToText = InputAsProgramUntil([] { TestPressKey(VK_TAB); }, [&] { return ::GetFocus() == text; });
            return out.tabToText;
        });
        steps.Step("Enter", text, [&] {
            ::SetWindowTextW(text, L"");
            TestPressKey('A');
            TestPressKey(VK_RETURN);
            TestPressKey('B');
            PumpAsProgramUntil([&] { return ::GetWindowTextLengthW(text) >= 4; }, 1500);
            SettleAsProgram();
            out.textAfterEnter = view->GetDlgItemText(IDC_MESSAGE_BODY);
            return out.textAfterEnter == "a\r\nb";
        });
    });
}

void RunReadKeys(CReadKeysOutcome& out) {
    auto* frame = MakeSceneFrame<CCountingReadFrame>(out);
    if (!frame) return;
    const HWND text = ::GetDlgItem(frame->GetView()->m_hWnd, IDC_MESSAGE_BODY);
    ::SetWindowTextW(text, L"See you at eight");
    WithinScene(frame, out, [&](CSceneSteps& steps) {
        OpenFileAndEscape(frame, steps, text, out.file);
        ToggleToolbarByKeys(frame, steps, text, out.toggle);
    });
}

void ExpectToggled(const CToggleOutcome& toggle) {
    for (int round = 0; round < 2; ++round) {
        EXPECT_TRUE(toggle.rounds[round].opened) << "Alt+V opens View, round " << round;
        EXPECT_TRUE(toggle.rounds[round].toggled) << "T " << (round ? "shows" : "hides") << " the toolbar";
        EXPECT_TRUE(toggle.rounds[round].closed) << round;
        EXPECT_TRUE(toggle.rounds[round].focusBack) << round;
    }
    EXPECT_TRUE(toggle.visibleAtEnd);
}

void ExpectFileEscaped(const CFileEscOutcome& file) {
    EXPECT_TRUE(file.opened) << "Alt+F opens File";
    EXPECT_TRUE(file.backToTitle) << "the first Esc goes back to the title";
    EXPECT_TRUE(file.left) << "the second Esc leaves the bar";
    EXPECT_TRUE(file.focusBack);
}

void ExpectEachKeyFilteredOnce(const CFilterTally& tally) {
    EXPECT_LT(10, tally.formKeys);
    EXPECT_EQ(tally.formKeys, tally.formKeysOnce) << "every key to the form reaches the frame's filter once";
}

// The bars' layout is kept in a profile of these tests' own; a scene that starts again starts
// from the default layout.
const char kLayoutProfile[] = "Form Menu Keys Tests";

// Runs a scene on the tests' desktop until its outcome holds, from the default layout each time;
// a scene that starts again says why on the test's output. The outcome outlives a scene that does
// not end.
template <class Outcome>
bool RunKeysScene(Outcome& out, void (*run)(Outcome&), const char* what) {
    return TestRunInputScene(L"TarvockVelkoFormKeys", [&out, run, what] {
        out = Outcome();
        CLayoutProfileScope::Clear(kLayoutProfile);
        run(out);
        if (!out.Held()) std::fprintf(stderr, "%s again: %s\n", what, out.notes.c_str());
        return out.Held();
    }, 180000);
}

class FormMenuKeys : public ::testing::Test {
protected:
    void SetUp() override { theTestApp.SetUpToolkit(); }

    CSatelliteScope m_satellite;
    CLayoutProfileScope m_layoutProfile{kLayoutProfile};
    // A key that went astray (another test program's, say) may press a button that asks
    // something: the question is answered instead of holding the scene.
    CMessageBoxRecorder m_boxes;
};

}  // namespace

// In the send window: Alt+V, T hides and shows the toolbar from the message text, and the wheel
// under the open View stays with the menu; Alt+F (whose
// letter the form's "&From:" shares) opens File from the recipients, Esc, Esc leave the bar;
// Alt+T presses the form's "&To..."; Tab goes from the recipients to the text, where Enter makes
// a new line.
TEST_F(FormMenuKeys, TheSendWindowsMenusOpenFromItsFieldsAndTheFormKeepsItsKeys) {
    static CSendKeysOutcome out;
    ASSERT_TRUE(RunKeysScene(out, RunSendKeys, "the send window's keys"));
    ASSERT_TRUE(out.made);
    SCOPED_TRACE(out.notes);
    EXPECT_FALSE(out.systemMenuLoop) << "the system's menu loop never starts";
    ExpectToggled(out.toggle);
    EXPECT_TRUE(out.wheel.opened);
    EXPECT_TRUE(out.wheel.textKept) << "the wheel under an open menu leaves the text";
    EXPECT_TRUE(out.wheel.menuKept);
    EXPECT_TRUE(out.wheel.closed);
    EXPECT_TRUE(out.wheel.scrollsAfter) << "with the menu closed the wheel scrolls the text";
    ExpectFileEscaped(out.file);
    EXPECT_EQ(1, out.pickerAsked) << "Alt+T asks for the recipient picker once";
    EXPECT_TRUE(out.barIdleAfterAltT);
    EXPECT_TRUE(out.tabToText);
    EXPECT_STREQ("a\r\nb", out.textAfterEnter);
    ExpectEachKeyFilteredOnce(out.tally);
}

// In the read window, with the focus in the message text: Alt+F opens File, Esc, Esc leave the
// bar; Alt+V, T hides and shows the toolbar.
TEST_F(FormMenuKeys, TheReadWindowsMenusOpenFromItsText) {
    static CReadKeysOutcome out;
    ASSERT_TRUE(RunKeysScene(out, RunReadKeys, "the read window's keys"));
    ASSERT_TRUE(out.made);
    SCOPED_TRACE(out.notes);
    EXPECT_FALSE(out.systemMenuLoop);
    ExpectFileEscaped(out.file);
    ExpectToggled(out.toggle);
    ExpectEachKeyFilteredOnce(out.tally);
}
