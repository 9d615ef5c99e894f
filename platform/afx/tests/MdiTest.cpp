// The multiple-document frame: children made through the MDI client, the active child and its
// maximised state, the client laid out beside the frame's bars, and closing a child.
#include "TestApp.h"
#include "afxmdi.h"

#include <gtest/gtest.h>

namespace {

// A child that reports its end.
class CProbeChild : public CMDIChildWnd {
public:
    explicit CProbeChild(bool* deleted) : m_deleted(deleted) {}
    ~CProbeChild() override { *m_deleted = true; }

private:
    bool* m_deleted;
};

class CTestMDIFrame : public CMDIFrameWnd {
protected:
    void PostNcDestroy() override {}
};

TEST(AfxMdiTest, ChildrenLiveInTheClientAndCloseThroughIt) {
    ASSERT_TRUE(WaitForDesktopReady());
    CTestMDIFrame frame;
    ASSERT_TRUE(frame.CreateEx(0, nullptr, "mdi", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 10, 10, 500, 400, nullptr,
                               nullptr));
    HMENU windowMenu = ::CreatePopupMenu();
    ASSERT_TRUE(frame.CreateClient(windowMenu));
    EXPECT_FALSE(frame.CreateClient());
    HWND client = frame.GetClientHwnd();
    char className[32] = {};
    ::GetClassNameA(client, className, sizeof className);
    EXPECT_STRCASEEQ("MDIClient", className);

    // The client takes the frame's client area as a view would.
    frame.MoveWindow(CRect(10, 10, 530, 430));
    CRect clientRect, frameClient;
    ::GetWindowRect(client, &clientRect);
    frame.ScreenToClient(&clientRect);
    frame.GetClientRect(&frameClient);
    EXPECT_TRUE(::EqualRect(&frameClient, &clientRect));

    bool firstDeleted = false, secondDeleted = false;
    auto* first = new CProbeChild(&firstDeleted);
    first->m_nIDResource = 721;
    ASSERT_TRUE(first->Create(nullptr, "First", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 150),
                              &frame));
    EXPECT_EQ(client, ::GetParent(first->GetSafeHwnd()));
    EXPECT_EQ(&frame, first->GetMDIFrame());
    auto* second = new CProbeChild(&secondDeleted);
    ASSERT_TRUE(second->Create(nullptr, "Second", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                               CRect(20, 20, 220, 170), &frame));
    bool maximized = true;
    EXPECT_EQ(second, frame.MDIGetActive(&maximized));
    EXPECT_FALSE(maximized);
    // The window menu lists the children.
    EXPECT_EQ(AFX_IDM_FIRST_MDICHILD + 1, ::GetMenuItemID(windowMenu, ::GetMenuItemCount(windowMenu) - 1));

    frame.MDIActivate(first->GetSafeHwnd());
    frame.MDIMaximize(first->GetSafeHwnd());
    EXPECT_EQ(first, frame.MDIGetActive(&maximized));
    EXPECT_TRUE(maximized);
    EXPECT_TRUE(first->GetStyle() & WS_MAXIMIZE);
    // The maximised child fills the client.
    CRect childRect, clientArea;
    first->GetClientRect(&childRect);
    ::GetClientRect(client, &clientArea);
    EXPECT_GE(childRect.Width(), clientArea.Width() - 1);

    // The system's close command and WM_CLOSE both end the child through the client.
    first->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpPending();
    EXPECT_TRUE(firstDeleted);
    EXPECT_EQ(second, frame.MDIGetActive());
    second->SendMessage(WM_CLOSE);
    EXPECT_TRUE(secondDeleted);
    EXPECT_EQ(nullptr, frame.MDIGetActive(&maximized));
    EXPECT_FALSE(maximized);

    // A child of a frame without a client is refused.
    CTestMDIFrame bare;
    ASSERT_TRUE(bare.CreateEx(0, nullptr, "bare", WS_OVERLAPPEDWINDOW, 10, 10, 200, 200, nullptr, nullptr));
    CMDIChildWnd orphan;
    EXPECT_FALSE(orphan.Create(nullptr, "orphan", WS_CHILD, CRect(0, 0, 10, 10), &bare));
    EXPECT_EQ(nullptr, orphan.GetSafeHwnd());
    bare.DestroyWindow();
    frame.DestroyWindow();
}

}  // namespace
