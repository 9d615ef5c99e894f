#include "TestApp.h"
#include "afxdlgs.h"
#include "afxext.h"

#include <gtest/gtest.h>

namespace {

// A window whose tool bar shows the state its update handlers give.
class CBarOwner : public CWnd {
public:
    bool checked = true;
    afx_msg void OnHandled() {}
    afx_msg void OnUpdateDisabled(CCmdUI* cmdUI) { cmdUI->Enable(false); }
    afx_msg void OnUpdateChecked(CCmdUI* cmdUI) {
        cmdUI->Enable(true);
        cmdUI->SetCheck(checked);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBarOwner, CWnd)
    ON_COMMAND(100, OnHandled)
    ON_UPDATE_COMMAND_UI(101, OnUpdateDisabled)
    ON_UPDATE_COMMAND_UI(102, OnUpdateChecked)
END_MESSAGE_MAP()

TEST(ToolBar, ButtonsFollowTheirOwnersUpdateHandlers) {
    ASSERT_TRUE(WaitForDesktopReady());
    CBarOwner owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
    CToolBar bar;
    ASSERT_TRUE(bar.CreateEx(&owner, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE, 0xE800));
    const UINT ids[] = {100, 0, 101, 102, 103};
    ASSERT_TRUE(bar.SetButtons(ids, 5));
    bar.SetSizes(CSize(23, 23), CSize(16, 16));
    EXPECT_EQ(5, (int)bar.SendMessage(TB_BUTTONCOUNT));
    EXPECT_EQ(3, bar.CommandToIndex(102));
    // The separator takes no picture: the fourth button shows picture 2.
    TBBUTTON button = {};
    bar.SendMessage(TB_GETBUTTON, 3, (LPARAM)&button);
    EXPECT_EQ(2, button.iBitmap);
    bar.OnUpdateCmdUI(&owner, true);
    EXPECT_TRUE(bar.IsButtonEnabled(100));
    EXPECT_FALSE(bar.IsButtonEnabled(101));
    EXPECT_TRUE(bar.IsButtonChecked(102));
    EXPECT_FALSE(bar.IsButtonEnabled(103));
    // The idle update reaches the bar as a message.
    owner.checked = false;
    owner.SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_FALSE(bar.IsButtonChecked(102));
    // Wrapped after every second button: the third starts a new row.
    bar.WrapEvery(2);
    CRect first, third;
    bar.SendMessage(TB_GETITEMRECT, 0, (LPARAM)&first);
    bar.SendMessage(TB_GETITEMRECT, 2, (LPARAM)&third);
    EXPECT_GT(third.top, first.top);
    EXPECT_GE(bar.GetNeededSize().cy, third.bottom);
    owner.DestroyWindow();
}

TEST(CommonDialogs, FiltersAndInitialColours) {
    const std::wstring filter = CFileDialog::MakeFilter("Icons (*.ico)|*.ico|All|*.*||");
    EXPECT_EQ(std::wstring(L"Icons (*.ico)\0*.ico\0All\0*.*\0\0\0", 30), filter);
    EXPECT_TRUE(CFileDialog::MakeFilter(nullptr).empty());
    CFileDialog open(true, "ico", "start.ico", OFN_HIDEREADONLY, "A|*.a||");
    EXPECT_STREQ(L"start.ico", open.m_ofn.lpstrFile);
    EXPECT_TRUE(open.m_ofn.Flags & OFN_HIDEREADONLY);
    CColorDialog colour(RGB(1, 2, 3), CC_FULLOPEN);
    EXPECT_EQ(RGB(1, 2, 3), colour.GetColor());
    EXPECT_TRUE(colour.m_cc.Flags & CC_RGBINIT);
}

}  // namespace

namespace {

// A child that counts the idle updates it gets.
class CUpdateCounter : public CWnd {
public:
    int updates = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_IDLEUPDATECMDUI) ++updates;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST(Frame, IdleUpdatesReachTheChildrenOfEveryVisibleFrame) {
    ASSERT_TRUE(WaitForDesktopReady());
    auto* first = new CFrameWnd;  // frames delete themselves when destroyed
    auto* second = new CFrameWnd;
    ASSERT_TRUE(first->CreateEx(0, nullptr, "first", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr));
    ASSERT_TRUE(second->CreateEx(0, nullptr, "second", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    CUpdateCounter inFirst, inSecond;
    ASSERT_TRUE(inFirst.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, first->GetSafeHwnd(), nullptr));
    ASSERT_TRUE(inSecond.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, second->GetSafeHwnd(), nullptr));
    CWnd* main = AfxGetApp()->m_pMainWnd;
    AfxGetApp()->m_pMainWnd = nullptr;  // not the main window: a frame of its own
    AfxGetApp()->OnIdle(0);
    AfxGetApp()->m_pMainWnd = main;
    EXPECT_EQ(1, inFirst.updates);
    EXPECT_EQ(0, inSecond.updates) << "hidden frames wait";
    inFirst.DestroyWindow();
    inSecond.DestroyWindow();
    first->DestroyWindow();
    second->DestroyWindow();
}

}  // namespace
