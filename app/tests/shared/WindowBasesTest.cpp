#include "support/TestMessengerApp.h"

#include "images/TkIconStore.h"
#include "painters/TkThemePainter.h"
#include "resource.h"
#include "shared/Helpers.h"
#include "shared/TabPageCtrl.h"

#include <gtest/gtest.h>

namespace {

class CRequiredDlg : public CDialog {
public:
    CRequiredDlg() : CDialog(IDD_OPTIONS) {}
    CString name;
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Text(dx, IDC_POLL_INTERVAL, name);
        DDV_RequiredText(dx, name, IDS_ORIGINATOR_EMPTY);
    }
};

class CTestForm : public CFormViewBase {
public:
    CTestForm() : CFormViewBase(IDD_OPTIONS) {}
};

CRect ChildRect(CWnd* parent, UINT id) {
    CRect rect;
    ::GetWindowRect(::GetDlgItem(parent->m_hWnd, id), &rect);
    parent->ScreenToClient(&rect);
    return rect;
}

// The command ids of a toolbar resource of the satellite library, separators left out.
std::vector<UINT> ToolbarCommands(UINT toolbar) {
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(toolbar), MAKEINTRESOURCEW(241));
    std::vector<UINT> ids;
    if (!resource) return ids;
    const auto* words = static_cast<const WORD*>(::LockResource(::LoadResource(module, resource)));
    for (WORD i = 0; i < words[3]; ++i)
        if (words[4 + i]) ids.push_back(words[4 + i]);
    return ids;
}

// Pixels of an icon drawn on white that are not white.
int PaintedPixels(HICON icon, COLORREF* corner) {
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 16, 16);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    RECT all = {0, 0, 16, 16};
    ::FillRect(dc, &all, (HBRUSH)::GetStockObject(WHITE_BRUSH));
    ::DrawIconEx(dc, 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
    int painted = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) painted += ::GetPixel(dc, x, y) != RGB(255, 255, 255);
    *corner = ::GetPixel(dc, 0, 0);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return painted;
}

}  // namespace

// Start-up's toolkit set-up: theme 2 and a picture, transparent where magenta, for every
// command of every window's toolbar (the groups window's too) and of the tray's.
TEST(ToolkitSetUp, LoadsEveryToolbarsPicturesWithMagentaTransparent) {
    CSatelliteScope satellite;
    theTestApp.SetUpToolkit();
    EXPECT_EQ(2, CTkThemePainter::GetCurrent()->GetThemeId());
    const UINT toolbars[] = {IDR_TRAY, IDR_SEND_WINDOW, IDR_CONTACTS_WINDOW, IDR_GROUPS_WINDOW, IDR_READ_WINDOW};
    for (UINT toolbar : toolbars) {
        std::vector<UINT> ids = ToolbarCommands(toolbar);
        ASSERT_FALSE(ids.empty()) << toolbar;
        for (UINT id : ids) {
            CTkIconEntry* entry = CTkIconStore::Global().GetImage(id, 16);
            ASSERT_TRUE(entry && entry->GetNormal().GetIcon()) << "toolbar " << toolbar << " command " << id;
            COLORREF corner = 0;
            EXPECT_GT(PaintedPixels(entry->GetNormal().GetIcon(), &corner), 20) << id;
            EXPECT_EQ(RGB(255, 255, 255), corner) << id;
        }
    }
    EXPECT_EQ(ToolbarCommands(IDR_GROUPS_WINDOW).back(), (UINT)ID_GROUPS);
    EXPECT_EQ(ToolbarCommands(IDR_SEND_WINDOW)[3], (UINT)ID_MESSAGE_LIMIT);
}

TEST(RequiredText, IsTrimmedAndAnEmptyOneIsRefused) {
    CSatelliteScope satellite;
    CMessageBoxRecorder boxes;
    CRequiredDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_OPTIONS));
    dlg.SetDlgItemText(IDC_POLL_INTERVAL, "  Jo  ");
    EXPECT_TRUE(dlg.UpdateData(true));
    EXPECT_STREQ("Jo", dlg.name);
    dlg.SetDlgItemText(IDC_POLL_INTERVAL, " \t ");
    EXPECT_FALSE(dlg.UpdateData(true));
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_STREQ(LoadText(IDS_ORIGINATOR_EMPTY), boxes.boxes[0].text);
    EXPECT_EQ((UINT)MB_ICONEXCLAMATION, boxes.boxes[0].type);
    dlg.name = "   ";
    EXPECT_TRUE(dlg.UpdateData(false));  // loading does not check
    dlg.DestroyWindow();
}

TEST(FormViewBase, StretchingWithRightZeroChangesTheHeightOnly) {
    CSatelliteScope satellite;
    CFrameWnd* frame = new CFrameWnd;
    ASSERT_TRUE(frame->CreateEx(0, nullptr, "form", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr, nullptr));
    CTestForm* form = new CTestForm;
    ASSERT_TRUE(form->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 600, 400), frame, AFX_IDW_PANE_FIRST));
    CRect before = ChildRect(form, IDC_POLL_INTERVAL);
    form->StretchControl(IDC_POLL_INTERVAL, 0, 300);
    CRect after = ChildRect(form, IDC_POLL_INTERVAL);
    EXPECT_EQ(before.left, after.left);
    EXPECT_EQ(before.top, after.top);
    EXPECT_EQ(before.right, after.right);
    EXPECT_EQ(294, after.bottom);
    form->StretchControl(IDC_POLL_INTERVAL, 500, 0);
    after = ChildRect(form, IDC_POLL_INTERVAL);
    EXPECT_EQ(496, after.right);
    EXPECT_EQ(294, after.bottom);
    form->StretchControl(4711, 100, 100);  // no such control: nothing happens
    frame->DestroyWindow();
}

TEST(TabPages, OnlyTheSelectedTabsControlsShow) {
    CFrameWnd* frame = new CFrameWnd;
    ASSERT_TRUE(frame->CreateEx(0, nullptr, "tabs", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr));
    AfxInitCommonControls(ICC_TAB_CLASSES);
    CTabPageCtrl tabs;
    ASSERT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 380, 260), frame, 10));
    EXPECT_EQ(-1, tabs.GetShowingTab());
    tabs.InsertItem(0, "First");
    tabs.InsertItem(1, "Second");
    CEdit first, second;
    ASSERT_TRUE(first.Create(WS_CHILD | WS_VISIBLE, CRect(10, 40, 100, 60), frame, 11));
    ASSERT_TRUE(second.Create(WS_CHILD | WS_VISIBLE, CRect(10, 70, 100, 90), frame, 12));
    EXPECT_TRUE(tabs.AddControl(&first, 0));
    EXPECT_TRUE(tabs.AddControl(&second, 1));
    EXPECT_FALSE(tabs.AddControl(&second, 2));  // no such tab
    EXPECT_FALSE(first.IsWindowVisible());      // hidden until their tab is selected
    EXPECT_FALSE(second.IsWindowVisible());

    tabs.SetCurSel(0);
    EXPECT_TRUE(first.IsWindowVisible());
    EXPECT_FALSE(second.IsWindowVisible());
    tabs.SetCurSel(1);
    EXPECT_FALSE(first.IsWindowVisible());
    EXPECT_TRUE(second.IsWindowVisible());
    EXPECT_EQ(1, tabs.GetShowingTab());

    // A click on a tab arrives as the reflected selection change.
    ::SendMessageW(tabs.m_hWnd, TCM_SETCURSEL, 0, 0);
    NMHDR change = {tabs.m_hWnd, 10, (UINT)TCN_SELCHANGE};
    frame->SendMessage(WM_NOTIFY, 10, (LPARAM)&change);
    EXPECT_TRUE(first.IsWindowVisible());
    EXPECT_FALSE(second.IsWindowVisible());

    tabs.EnableWindow(false);
    EXPECT_FALSE(first.IsWindowEnabled());
    EXPECT_FALSE(second.IsWindowEnabled());
    tabs.EnableWindow(true);
    EXPECT_TRUE(second.IsWindowEnabled());
    first.UnsubclassWindow();
    second.UnsubclassWindow();
    tabs.UnsubclassWindow();
    frame->DestroyWindow();
}

TEST(DialogBase, SetsItsIconFromTheSatelliteLibrary) {
    CSatelliteScope satellite;
    CDialogBase dlg(IDD_OPTIONS, nullptr, IDR_TRAY);
    ASSERT_TRUE(dlg.Create(IDD_OPTIONS));
    EXPECT_NE(0, dlg.SendMessage(WM_GETICON, ICON_BIG));
    EXPECT_NE(0, dlg.SendMessage(WM_GETICON, ICON_SMALL));
    dlg.DestroyWindow();
}

// For the screenshot script: shows a frame and a dialog and waits until told to stop.
TEST(Screenshot, DISABLED_ShowsAFrameAndADialog) {
    CSatelliteScope satellite;
    CTestFrame* frame = new CTestFrame;
    ASSERT_TRUE(frame->Create(nullptr));
    frame->SetWindowPos(nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    CDialogBase dlg(IDD_OPTIONS, nullptr, IDR_TRAY);
    ASSERT_TRUE(dlg.Create(IDD_OPTIONS));
    dlg.SetDlgItemText(IDC_POLL_INTERVAL, "10");
    dlg.SetDlgItemText(IDC_POPUP_INTERVAL, "5");
    dlg.SetWindowPos(nullptr, 600, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    dlg.ShowWindow(SW_SHOW);
    EXPECT_TRUE(HoldForScreenshot(1000));
    dlg.DestroyWindow();
    frame->DestroyWindow();
}
