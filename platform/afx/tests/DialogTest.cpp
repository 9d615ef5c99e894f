#include "TestApp.h"

#include <gtest/gtest.h>

namespace {

class CExchangeDlg : public CDialog {
public:
    CExchangeDlg() : CDialog(200) {}
    CString name = "initial";
    int minutes = 10;
    int check = 1;
    int choice = 1;
    bool initialised = false;
    std::vector<UINT> postOnInit;

    bool OnInitDialog() override {
        initialised = CDialog::OnInitDialog();
        for (UINT id : postOnInit) PostMessage(WM_COMMAND, id);
        return initialised;
    }
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Text(dx, 1001, name);
        DDX_Text(dx, 1006, minutes);
        DDV_MinMaxInt(dx, minutes, 1, 60);
        DDX_Check(dx, 1002, check);
        DDX_Radio(dx, 1003, choice);
    }
};

}  // namespace

TEST(Dialog, DataExchangeFillsTheControlsAndReadsThemBack) {
    CExchangeDlg dlg;
    ASSERT_TRUE(dlg.Create(200));
    EXPECT_TRUE(dlg.initialised);
    EXPECT_STREQ("initial", dlg.GetDlgItemText(1001));
    EXPECT_STREQ("10", dlg.GetDlgItemText(1006));
    EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(dlg.m_hWnd, 1002));
    EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(dlg.m_hWnd, 1004));

    dlg.SetDlgItemText(1001, "changed");
    dlg.SetDlgItemText(1006, "60");
    ::CheckDlgButton(dlg.m_hWnd, 1002, BST_UNCHECKED);
    ::CheckRadioButton(dlg.m_hWnd, 1003, 1005, 1005);
    EXPECT_TRUE(dlg.UpdateData(true));
    EXPECT_STREQ("changed", dlg.name);
    EXPECT_EQ(60, dlg.minutes);
    EXPECT_EQ(0, dlg.check);
    EXPECT_EQ(2, dlg.choice);
    dlg.DestroyWindow();
}

TEST(Dialog, ARangeCheckFailureTellsTheUserAndPutsTheFocusBack) {
    CExchangeDlg dlg;
    ASSERT_TRUE(dlg.Create(200));
    dlg.ShowWindow(SW_SHOW);
    CMessageBoxRecorder recorder;
    dlg.SetDlgItemText(1006, "61");
    EXPECT_FALSE(dlg.UpdateData(true));
    ASSERT_EQ(1u, recorder.boxes.size());
    EXPECT_STREQ("Please enter an integer between 1 and 60.", recorder.boxes[0].text);
    EXPECT_EQ(::GetDlgItem(dlg.m_hWnd, 1006), ::GetFocus());
    dlg.SetDlgItemText(1006, "x");
    EXPECT_FALSE(dlg.UpdateData(true));
    ASSERT_EQ(2u, recorder.boxes.size());
    EXPECT_STREQ("Please enter an integer.", recorder.boxes[1].text);
    dlg.DestroyWindow();
}

TEST(Dialog, AModalDialogStaysOpenUntilItsDataIsValid) {
    CExchangeDlg dlg;
    dlg.minutes = 0;  // out of range: OK is refused, Cancel ends
    dlg.postOnInit = {IDOK, IDCANCEL};
    CMessageBoxRecorder recorder;
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(1u, recorder.boxes.size());
    EXPECT_EQ(nullptr, dlg.m_hWnd);

    CExchangeDlg valid;
    valid.postOnInit = {IDOK};
    EXPECT_EQ(IDOK, valid.DoModal());
    EXPECT_STREQ("initial", valid.name);
}

TEST(FormView, ATemplateBecomesAChildPaneOfItsFrame) {
    CFrameWnd* frame = new CFrameWnd;
    ASSERT_TRUE(frame->CreateEx(0, nullptr, "form", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr));
    CFormView* view = new CFormView(200);
    ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), frame, AFX_IDW_PANE_FIRST));
    EXPECT_EQ(frame->m_hWnd, ::GetParent(view->m_hWnd));
    EXPECT_NE(0u, view->GetStyle() & WS_CHILD);
    EXPECT_EQ(0u, view->GetStyle() & WS_CAPTION);
    EXPECT_NE(nullptr, ::GetDlgItem(view->m_hWnd, 1001));
    frame->RecalcLayout();
    CRect client, pane;
    frame->GetClientRect(&client);
    view->GetClientRect(&pane);
    EXPECT_EQ(client.Width(), pane.Width());
    frame->DestroyWindow();
}

namespace {

// A frame that counts what it is offered to translate and takes one kind of message.
class CCountingFrame : public CFrameWnd {
public:
    std::vector<UINT> offered;
    UINT takes = 0;
    bool PreTranslateMessage(MSG* msg) override {
        offered.push_back(msg->message);
        return msg->message == takes;
    }
};

}  // namespace

// The frame translates a message for its form before the dialog manager, once; the dialog manager
// gets keyboard and mouse input only, and what the frame took never reaches it.
TEST(FormView, ItsFramesTranslateFirstOnceAndTheDialogManagerGetsOnlyInput) {
    CCountingFrame* frame = new CCountingFrame;
    ASSERT_TRUE(frame->CreateEx(0, nullptr, "form", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr));
    CFormView* view = new CFormView(200);
    ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), frame, AFX_IDW_PANE_FIRST));
    frame->ShowWindow(SW_SHOW);
    frame->RecalcLayout();
    HWND name = ::GetDlgItem(view->m_hWnd, 1001), minutes = ::GetDlgItem(view->m_hWnd, 1006);
    ::SetFocus(name);
    PumpPending();
    auto offer = [&](UINT message, WPARAM wParam, LPARAM lParam) {
        frame->offered.clear();
        MSG msg = {name, message, wParam, lParam, ::GetTickCount(), {}};
        return theTestApp.PreTranslateMessage(&msg);
    };

    // Alt+X: the frame takes the key; the dialog manager would have made a character of it.
    frame->takes = WM_SYSKEYDOWN;
    EXPECT_TRUE(offer(WM_SYSKEYDOWN, 'X', 0x20000001));
    EXPECT_EQ(std::vector<UINT>{WM_SYSKEYDOWN}, frame->offered);
    MSG pending;
    EXPECT_FALSE(::PeekMessageW(&pending, name, WM_SYSCHAR, WM_SYSCHAR, PM_NOREMOVE));

    // Tab, which the frame leaves: the dialog manager moves the focus. The focus is put back
    // first: another program on the display may have taken the foreground while this thread read
    // its queue, and with it the focus.
    frame->takes = 0;
    ::SetFocus(name);
    ASSERT_EQ(name, ::GetFocus());
    EXPECT_TRUE(offer(WM_KEYDOWN, VK_TAB, 1));
    EXPECT_EQ(std::vector<UINT>{WM_KEYDOWN}, frame->offered);
    EXPECT_EQ(minutes, ::GetFocus());

    // A message that is not input is left to the loop's own dispatch, after the frame saw it once.
    EXPECT_FALSE(offer(WM_APP, 0, 0));
    EXPECT_EQ(std::vector<UINT>{WM_APP}, frame->offered);
    EXPECT_FALSE(offer(WM_TIMER, 7, 0));
    EXPECT_EQ(std::vector<UINT>{WM_TIMER}, frame->offered);
    frame->DestroyWindow();
}

namespace {

// Counts the ends of its windows' lives and never deletes itself.
template <class Base>
class CNcDestroyProbe : public Base {
public:
    using Base::Base;
    int ncDestroyed = 0;

protected:
    void PostNcDestroy() override { ++ncDestroyed; }
};

}  // namespace

// A form or dialog whose template cannot be made (a control of a class nobody registered) fails
// its creation and stays its caller's: the window that was begun does not end the object.
TEST(FormView, ACreationThatFailsLeavesTheObjectToTheCaller) {
    CFrameWnd* frame = new CFrameWnd;
    ASSERT_TRUE(frame->CreateEx(0, nullptr, "form", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr));
    CNcDestroyProbe<CFormView> form(214);
    EXPECT_FALSE(form.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), frame, AFX_IDW_PANE_FIRST));
    EXPECT_EQ(nullptr, form.m_hWnd);
    EXPECT_EQ(0, form.ncDestroyed);
    EXPECT_EQ(nullptr, ::GetDlgItem(frame->m_hWnd, AFX_IDW_PANE_FIRST));

    CNcDestroyProbe<CDialog> dialog(214, frame);
    EXPECT_FALSE(dialog.Create(214, frame));
    EXPECT_EQ(nullptr, dialog.m_hWnd);
    EXPECT_EQ(0, dialog.ncDestroyed);
    frame->DestroyWindow();
}
