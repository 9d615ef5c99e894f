#include "MessageWindowTest.h"

void MessageWindowTest::SetUp() {
    StandinTest::SetUp();
    standin::PointSdkAtStandin();
    CLoginState::ReleaseCachedCollections();
    SignIn("test", "TEST01");
    m_framesBefore = theTestApp.GetFrames().size();
}

void MessageWindowTest::TearDown() {
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
