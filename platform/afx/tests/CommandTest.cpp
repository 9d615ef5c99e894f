#include "TestApp.h"

#include <gtest/gtest.h>

namespace {

class CRecordingCmdUI : public CCmdUI {
public:
    int enabled = -1;  // -1: untouched
    CString text;
    void Enable(bool on) override {
        enabled = on ? 1 : 0;
        m_bEnableChanged = true;
    }
    void SetText(const char* newText) override { text = newText; }
};

class CBaseTarget : public CCmdTarget {
public:
    std::vector<UINT> ran;
    afx_msg void OnBase() { ran.push_back(1); }
    afx_msg void OnOverridden() { ran.push_back(2); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseTarget, CCmdTarget)
    ON_COMMAND(100, OnBase)
    ON_COMMAND(101, OnOverridden)
END_MESSAGE_MAP()

class CDerivedTarget : public CBaseTarget {
public:
    bool signedIn = false;
    afx_msg void OnOverriddenHere() { ran.push_back(3); }
    afx_msg void OnRange(UINT id) { ran.push_back(id); }
    afx_msg void OnUpdateSignedIn(CCmdUI* ui) { ui->Enable(signedIn); }
    afx_msg void OnUpdateText(CCmdUI* ui) {
        if (!signedIn) ui->SetText("Sign in");
    }
    afx_msg void OnExecuted(NMHDR* header, LRESULT* result) {
        ran.push_back((UINT)header->idFrom);
        *result = 7;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedTarget, CBaseTarget)
    ON_COMMAND(101, OnOverriddenHere)
    ON_COMMAND_RANGE(200, 210, OnRange)
    ON_UPDATE_COMMAND_UI(200, OnUpdateSignedIn)
    ON_UPDATE_COMMAND_UI(300, OnUpdateText)
    ON_NOTIFY(100, 400, OnExecuted)
END_MESSAGE_MAP()

}  // namespace

TEST(CommandRouting, RunsTheMostDerivedHandlerAndFallsBackToTheBase) {
    CDerivedTarget target;
    EXPECT_TRUE(target.OnCmdMsg(100, CN_COMMAND, nullptr));
    EXPECT_TRUE(target.OnCmdMsg(101, CN_COMMAND, nullptr));
    EXPECT_TRUE(target.OnCmdMsg(205, CN_COMMAND, nullptr));
    EXPECT_FALSE(target.OnCmdMsg(211, CN_COMMAND, nullptr));
    EXPECT_FALSE(target.OnCmdMsg(100, BN_DBLCLK, nullptr));  // another notification code
    EXPECT_EQ((std::vector<UINT>{1, 3, 205}), target.ran);
}

TEST(CommandRouting, AProbeFindsAHandlerWithoutRunningIt) {
    CDerivedTarget target;
    AFX_CMDHANDLERINFO info = {};
    EXPECT_TRUE(target.OnCmdMsg(100, CN_COMMAND, &info));
    EXPECT_EQ(&target, info.pTarget);
    EXPECT_TRUE(target.ran.empty());
}

// A notification routed like a command reaches the ON_NOTIFY handler of its code and id only,
// which sets the result; commands of the same id are not run by it.
TEST(CommandRouting, ARoutedNotificationRunsTheNotifyHandlerOfItsCodeAndId) {
    CDerivedTarget target;
    NMHDR header = {nullptr, 400, 100};
    LRESULT result = 0;
    AFX_NOTIFY notify = {&result, &header};
    EXPECT_TRUE(target.OnCmdMsg(400, MAKELONG(100, WM_NOTIFY), &notify));
    EXPECT_EQ(7, result);
    result = 0;
    EXPECT_FALSE(target.OnCmdMsg(400, MAKELONG(101, WM_NOTIFY), &notify));  // another code
    EXPECT_FALSE(target.OnCmdMsg(100, MAKELONG(100, WM_NOTIFY), &notify));  // a command's id
    EXPECT_FALSE(target.OnCmdMsg(400, MAKELONG(100, WM_NOTIFY), nullptr));  // nothing to pass on
    EXPECT_FALSE(target.OnCmdMsg(400, CN_COMMAND, nullptr));
    EXPECT_EQ(0, result);
    EXPECT_EQ((std::vector<UINT>{400}), target.ran);
}

TEST(CommandUpdate, AnUpdateHandlerDecides) {
    CDerivedTarget target;
    CRecordingCmdUI ui;
    ui.m_nID = 200;
    ui.DoUpdate(&target, true);
    EXPECT_EQ(0, ui.enabled);
    target.signedIn = true;
    ui.DoUpdate(&target, true);
    EXPECT_EQ(1, ui.enabled);
    EXPECT_TRUE(target.ran.empty());
}

TEST(CommandUpdate, WithoutAnUpdateHandlerAHandledCommandIsEnabledAndAnUnhandledOneDisabled) {
    CDerivedTarget target;
    CRecordingCmdUI handled;
    handled.m_nID = 100;
    handled.DoUpdate(&target, true);
    EXPECT_EQ(1, handled.enabled);
    CRecordingCmdUI unhandled;
    unhandled.m_nID = 999;
    unhandled.DoUpdate(&target, true);
    EXPECT_EQ(0, unhandled.enabled);
    CRecordingCmdUI untouched;
    untouched.m_nID = 999;
    untouched.DoUpdate(&target, false);
    EXPECT_EQ(-1, untouched.enabled);
    // A submenu or separator (id 0 or 0xFFFF) keeps its state.
    for (UINT id : {0u, 0xFFFFu}) {
        CRecordingCmdUI submenu;
        submenu.m_nID = id;
        submenu.DoUpdate(&target, true);
        EXPECT_EQ(-1, submenu.enabled) << id;
    }
}

TEST(CommandUpdate, AHandlerThatOnlyRenamesLeavesTheEnablingToTheDefault) {
    CDerivedTarget target;
    CRecordingCmdUI ui;
    ui.m_nID = 300;
    ui.DoUpdate(&target, true);
    EXPECT_STREQ("Sign in", ui.text);
    EXPECT_EQ(0, ui.enabled);  // no command handler for 300
}
