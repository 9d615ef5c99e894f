#include "MessageWindowTest.h"

#include "messages/SendMessageFrame.h"

namespace {

std::function<void(HWND)> t_act;
bool t_acted = false;

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    if (std::wstring(className) == L"#32770" && ::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK ActOnDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindDialog, (LPARAM)&dialog);
    if (!dialog || t_acted) return;
    ::KillTimer(nullptr, timer);
    t_acted = true;
    t_act(dialog);
}

}  // namespace

void MessageWindowTest::SetUp() {
    StandinTest::SetUp();
    standin::PointSdkAtStandin();
    CLoginState::ReleaseCachedCollections();
    SignIn("test", "TEST01");
    m_framesBefore = theTestApp.GetFrames();
    theTestApp.realSendFrames = true;
}

void MessageWindowTest::TearDown() {
    theTestApp.realSendFrames = false;
    // Windows a test left open go without a question.
    std::set<HWND> open = theTestApp.GetFrames();
    for (HWND frame : open)
        if (::IsWindow(frame)) ::DestroyWindow(frame);
    PumpPending();
    CLoginState::ReleaseCachedCollections();
    StandinTest::TearDown();
}

void MessageWindowTest::SignIn(const char* user, const char* account) {
    ASSERT_TRUE(CLoginState::SignInCore(user, user, account, true));
    Log().Reset();
    m_boxes.boxes.clear();
}

size_t MessageWindowTest::Requests(const wchar_t* operation) const {
    return Log().Empty() ? 0 : Log().ByOperation(operation).size();
}

bool MessageWindowTest::IsCommandEnabled(CCmdTarget* target, UINT command) {
    CEnableProbe probe;
    probe.m_nID = command;
    EXPECT_TRUE(target->OnCmdMsg(command, CN_UPDATE_COMMAND_UI, &probe)) << "command " << command << " has an update handler";
    return probe.enabled;
}

std::wstring MessageWindowTest::WideText(HWND parent, UINT controlId) {
    HWND control = ::GetDlgItem(parent, controlId);
    int length = ::GetWindowTextLengthW(control);
    std::wstring text(length + 1, L'\0');
    ::GetWindowTextW(control, &text[0], length + 1);
    text.resize(length);
    return text;
}

std::vector<CSendMessageFrame*> MessageWindowTest::NewSendFrames() const {
    std::vector<CSendMessageFrame*> made;
    for (HWND frame : theTestApp.GetFrames()) {
        if (m_framesBefore.count(frame)) continue;
        CWnd* wnd = CWnd::FromHandlePermanent(frame);
        if (wnd && wnd->IsKindOf(RUNTIME_CLASS(CSendMessageFrame))) made.push_back(static_cast<CSendMessageFrame*>(wnd));
    }
    return made;
}

bool MessageWindowTest::WithModalDialog(const std::function<void()>& open, const std::function<void(HWND)>& act) {
    t_act = act;
    t_acted = false;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 50, ActOnDialog);
    open();
    if (!t_acted) ::KillTimer(nullptr, timer);
    t_act = nullptr;
    return t_acted;
}
