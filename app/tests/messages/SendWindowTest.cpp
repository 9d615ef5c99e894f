// The send window against the stand-in (account test/test/TEST01, alias TestAlias, limit 100):
// the originator per account, sending and what it clears, the checks before a request, service
// errors, closing with text, the originator dialog, and the address-book import's contacts.
#include "MessageWindowTest.h"

#include "commandbars/TkToolBar.h"
#include "controls/TkControls.h"
#include "messages/SendMessageFrame.h"
#include "resource.h"
#include "TarvockLib.h"

#include <atlbase.h>

namespace {

class SendWindowTest : public MessageWindowTest {
protected:
    CSendMessageFrame* Open() {
        size_t before = Requests(L"GetAccountState");
        theTestApp.SendSMS("");
        auto made = NewSendFrames();
        EXPECT_EQ(1u, made.size());
        if (made.size() != 1) return nullptr;
        m_frame = made[0];
        m_view = m_frame->GetView()->m_hWnd;
        EXPECT_EQ(before + 1, Requests(L"GetAccountState")) << "the account state is read once when the window opens";
        Log().Reset();
        m_framesBefore = theTestApp.GetFrames();
        return m_frame;
    }
    void Fill(const char* originator, const char* recipients, const char* body) {
        if (originator) m_frame->GetView()->SetDlgItemText(IDC_MESSAGE_ORIGINATOR, originator);
        m_frame->GetView()->SetDlgItemText(IDC_MESSAGE_RECIPIENTS, recipients);
        m_frame->GetView()->SetDlgItemText(IDC_MESSAGE_BODY, body);
    }
    // Fills the fields and presses Send; the message boxes it showed.
    std::vector<CMessageBoxRecorder::Box> Submit(const char* originator, const char* recipients, const char* body) {
        m_boxes.boxes.clear();
        Fill(originator, recipients, body);
        m_frame->SendMessage(WM_COMMAND, ID_SEND_MESSAGE);
        return m_boxes.boxes;
    }
    CString Field(UINT id) { return m_frame->GetView()->GetDlgItemText(id); }
    static CString Format(UINT id, int value) {
        CString text;
        text.Format(LoadText(id), value);
        return text;
    }
    // The recipients of a logged send request, in order.
    static std::vector<std::wstring> Recipients(const standin::LoggedRequest& request) {
        std::vector<std::wstring> found;
        const std::wstring& body = request.body;
        size_t start = body.find(L"recipients");
        size_t end = body.find(L"recipients", start + 1);
        for (size_t at = body.find(L"<string", start); at < end && at != std::wstring::npos;
             at = body.find(L"<string", at + 1)) {
            size_t open = body.find(L'>', at) + 1;
            found.push_back(body.substr(open, body.find(L"</string>", open) - open));
        }
        return found;
    }
    static bool Holds(const standin::LoggedRequest& request, const wchar_t* text) {
        return request.body.find(text) != std::wstring::npos;
    }

    CSendMessageFrame* m_frame = nullptr;
    HWND m_view = nullptr;
};

}  // namespace

TEST_F(SendWindowTest, TheOriginatorIsTheAliasOrTheAccountAndCanBeChangedOnlyWithAliasing) {
    ASSERT_NE(nullptr, Open());
    EXPECT_STREQ("TestAlias", Field(IDC_MESSAGE_ORIGINATOR));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(m_view, IDC_MESSAGE_ORIGINATOR)));
    EXPECT_EQ(100, m_frame->GetMessageLimit());
    EXPECT_STREQ(Format(IDS_MESSAGE_LIMIT, 100), m_frame->GetMessageLimitText());
    EXPECT_STREQ(LoadText(IDS_SEND_WINDOW), m_frame->GetWindowText());

    SignIn("plain", "PLAIN01");
    ASSERT_NE(nullptr, Open());
    EXPECT_STREQ("PLAIN01", Field(IDC_MESSAGE_ORIGINATOR));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(m_view, IDC_MESSAGE_ORIGINATOR)));
    ::SendMessageW(::GetDlgItem(m_view, IDC_EDIT_ORIGINATOR), BM_CLICK, 0, 0);
    ASSERT_EQ(1u, m_boxes.boxes.size());
    EXPECT_STREQ(LoadText(IDS_ALIAS_NOT_AVAILABLE), m_boxes.boxes[0].text);
    EXPECT_EQ((UINT)MB_ICONINFORMATION, m_boxes.boxes[0].type & MB_ICONMASK);
}

TEST_F(SendWindowTest, SendingSendsTheTrimmedEntriesAndBodyThenClearsTheFieldsAndShowsTheNewLimit) {
    ASSERT_NE(nullptr, Open());
    auto boxes = Submit(nullptr, " ;447700900301;; ; 447700900302;", "  Hello  ");
    auto sends = Log().ByOperation(L"SendMessageMultipleRecipientsFull");
    ASSERT_EQ(1u, sends.size());
    EXPECT_EQ((std::vector<std::wstring>{L"447700900301", L"447700900302"}), Recipients(sends[0]));
    EXPECT_TRUE(Holds(sends[0], L">Hello<")) << std::string(CString(sends[0].body.c_str()));
    EXPECT_TRUE(Holds(sends[0], L">TestAlias<"));
    EXPECT_TRUE(Holds(sends[0], L"validityperiod>0<"));
    EXPECT_TRUE(Holds(sends[0], L">Text<"));
    ASSERT_EQ(1u, boxes.size());
    EXPECT_STREQ(LoadText(IDS_MESSAGE_SENT), boxes[0].text);
    EXPECT_EQ((UINT)MB_ICONINFORMATION, boxes[0].type & MB_ICONMASK);
    EXPECT_EQ(1u, Requests(L"GetAccountState")) << "the limit is read again after a send";
    EXPECT_EQ(98, m_frame->GetMessageLimit());
    EXPECT_STREQ(Format(IDS_MESSAGE_LIMIT, 98), m_frame->GetMessageLimitText());
    EXPECT_STREQ("", Field(IDC_MESSAGE_RECIPIENTS));
    EXPECT_STREQ("", Field(IDC_MESSAGE_BODY));
    EXPECT_STREQ("TestAlias", Field(IDC_MESSAGE_ORIGINATOR)) << "the originator is kept";
    ASSERT_NE(nullptr, m_frame->GetStatusBar());
    EXPECT_STREQ(Format(IDS_CHARACTER_COUNT, 0), m_frame->GetStatusBar()->GetPaneText(1));

    for (wchar_t typed : std::wstring(L"abc")) ::SendMessageW(::GetDlgItem(m_view, IDC_MESSAGE_BODY), WM_CHAR, typed, 1);
    EXPECT_STREQ(Format(IDS_CHARACTER_COUNT, 3), m_frame->GetStatusBar()->GetPaneText(1)) << "the counter follows the body";
}

// The toolbar's Send reaches the view. The limit is the caption of the limit command's button
// wherever the user moved it: after it went to the front of the menu bar, a send shows the new
// limit there and on no other control.
TEST_F(SendWindowTest, TheToolbarsSendReachesTheViewAndTheNewLimitShowsOnTheLimitButtonWhereverItWasMoved) {
    ASSERT_NE(nullptr, Open());
    CTkToolBar* toolBar = m_frame->GetToolBar();
    ASSERT_NE(nullptr, toolBar);
    CTkControl* limit = toolBar->GetControl(3);
    ASSERT_NE(nullptr, limit);
    EXPECT_EQ(ID_MESSAGE_LIMIT, limit->m_nId) << "the fourth button of the send window's toolbar";
    EXPECT_STREQ(Format(IDS_MESSAGE_LIMIT, 100), limit->m_strCaption);

    ASSERT_NE(nullptr, m_frame->GetMenuBar());
    CTkControl* moved = m_frame->GetMenuBar()->GetControls()->InsertCopy(limit, 0, false);
    ASSERT_NE(nullptr, moved);
    toolBar->GetControls()->RemoveControl(limit);
    moved->SetCaption("");
    Fill(nullptr, "447700900301", "Hello");
    toolBar->GetControl(0)->Execute();
    ASSERT_EQ(1u, Log().ByOperation(L"SendMessageMultipleRecipientsFull").size()) << "the toolbar's Send reached the view";
    EXPECT_EQ(99, m_frame->GetMessageLimit());
    EXPECT_STREQ(Format(IDS_MESSAGE_LIMIT, 99), moved->m_strCaption);
    for (int i = 0; CTkControl* control = toolBar->GetControl(i); ++i)
        EXPECT_STRNE(Format(IDS_MESSAGE_LIMIT, 99), control->m_strCaption) << i;
}

TEST_F(SendWindowTest, EveryCheckShowsItsMessageAndSendsNothing) {
    ASSERT_NE(nullptr, Open());
    struct Case {
        const char* originator;
        const char* recipients;
        CString body;
        UINT refusal;  // 0: sent
    } cases[] = {
        {"TestAlias", "447700900301", CString('a', 160), 0},
        {"TestAlias", "447700900301", CString('a', 161), IDS_MESSAGE_TOO_LONG},
        {"TestAlias", "447700900301", "  \r\n  ", IDS_MESSAGE_EMPTY},
        {"TestAlias", "", "Hi", IDS_NO_RECIPIENTS},
        {"TestAlias", " ; ;;  ; ", "Hi", IDS_NO_RECIPIENTS},
        {"", "447700900301", "Hi", IDS_ORIGINATOR_EMPTY},
        {"44770090010A", "447700900301", "Hi", IDS_ORIGINATOR_INVALID},
        {"447700900101", "447700900301", "Hi", 0},
        {"ABCDEFGHIJKLM", "447700900301", "Hi", IDS_ORIGINATOR_INVALID},
        {"ABCDEFGHIJK", "447700900301", "Hi", 0},
    };
    size_t sent = 0;
    for (const Case& c : cases) {
        auto boxes = Submit(c.originator, c.recipients, c.body);
        if (c.refusal == 0) ++sent;
        EXPECT_EQ(sent, Requests(L"SendMessageMultipleRecipientsFull")) << c.originator << " / " << c.recipients;
        ASSERT_EQ(1u, boxes.size()) << c.originator << " / " << c.recipients;
        if (c.refusal) {
            EXPECT_STREQ(LoadText(c.refusal), boxes[0].text) << c.originator << " / " << c.recipients;
            EXPECT_EQ((UINT)MB_ICONEXCLAMATION, boxes[0].type & MB_ICONMASK);
            EXPECT_STREQ(c.recipients, Field(IDC_MESSAGE_RECIPIENTS)) << "a refused message keeps its fields";
            EXPECT_STREQ(c.originator, Field(IDC_MESSAGE_ORIGINATOR));
        } else {
            EXPECT_STREQ(LoadText(IDS_MESSAGE_SENT), boxes[0].text);
        }
    }
}

TEST_F(SendWindowTest, AServiceErrorIsShownWithItsReasonAndEveryFieldIsKept) {
    SignIn("lowlimit", "LOW01");
    ASSERT_NE(nullptr, Open());
    auto boxes = Submit(nullptr, "447700900301; 447700900302; 447700900303", "Three is too many");
    EXPECT_EQ(1u, Requests(L"SendMessageMultipleRecipientsFull"));
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(0, boxes[0].text.Find(LoadText(IDS_SEND_FAILED) + "\n\n")) << boxes[0].text;
    EXPECT_GT(boxes[0].text.GetLength(), LoadText(IDS_SEND_FAILED).GetLength() + 2) << "with the service's reason";
    EXPECT_EQ((UINT)MB_ICONSTOP, boxes[0].type & MB_ICONMASK);
    EXPECT_STREQ("447700900301; 447700900302; 447700900303", Field(IDC_MESSAGE_RECIPIENTS));
    EXPECT_STREQ("Three is too many", Field(IDC_MESSAGE_BODY));
    EXPECT_STREQ("LOW01", Field(IDC_MESSAGE_ORIGINATOR));
    EXPECT_EQ(0u, Requests(L"GetAccountState"));
    EXPECT_STREQ(Format(IDS_MESSAGE_LIMIT, 2), m_frame->GetMessageLimitText());
}

TEST_F(SendWindowTest, ClosingWithTextAsksWhetherToSendFirst) {
    struct Case {
        int answer;
        const char* recipients;
        UINT close;  // WM_CLOSE, or the File > Close command
        bool closes;
        size_t sends;
    } cases[] = {
        {IDYES, "447700900301", WM_CLOSE, true, 1},
        {IDYES, "123", WM_CLOSE, false, 1},  // the service refuses the number: the window stays
        {IDNO, "447700900301", ID_FILE_CLOSE, true, 0},
        {IDCANCEL, "447700900301", WM_CLOSE, false, 0},
        {IDCANCEL, "447700900301", ID_FILE_CLOSE, false, 0},
    };
    for (const Case& c : cases) {
        ASSERT_NE(nullptr, Open());
        HWND frame = m_frame->m_hWnd;
        Fill(nullptr, c.recipients, "Before I go");
        m_boxes.boxes.clear();
        m_boxes.answers = {c.answer};
        if (c.close == WM_CLOSE)
            ::SendMessageW(frame, WM_CLOSE, 0, 0);
        else
            ::SendMessageW(frame, WM_COMMAND, ID_FILE_CLOSE, 0);
        ASSERT_FALSE(m_boxes.boxes.empty());
        EXPECT_STREQ(LoadText(IDS_SEND_BEFORE_CLOSING), m_boxes.boxes[0].text);
        EXPECT_EQ((UINT)(MB_YESNOCANCEL | MB_ICONQUESTION | MB_SYSTEMMODAL), m_boxes.boxes[0].type);
        EXPECT_EQ(c.closes, !::IsWindow(frame)) << "answer " << c.answer << " to " << c.recipients;
        EXPECT_EQ(c.sends, Requests(L"SendMessageMultipleRecipientsFull")) << "answer " << c.answer;
        if (::IsWindow(frame)) ::DestroyWindow(frame);
        Log().Reset();
    }

    ASSERT_NE(nullptr, Open());
    HWND empty = m_frame->m_hWnd;
    m_boxes.boxes.clear();
    ::SendMessageW(empty, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(empty)) << "an empty window closes without a question";
    EXPECT_TRUE(m_boxes.boxes.empty());
}

TEST_F(SendWindowTest, SendAndCloseClosesAfterOneSendWithoutReadingTheLimit) {
    ASSERT_NE(nullptr, Open());
    HWND frame = m_frame->m_hWnd;
    Fill(nullptr, "447700900301", "Bye");
    m_frame->SendMessage(WM_COMMAND, ID_SEND_AND_CLOSE);
    EXPECT_FALSE(::IsWindow(frame));
    EXPECT_EQ(1u, Requests(L"SendMessageMultipleRecipientsFull"));
    EXPECT_EQ(0u, Requests(L"GetAccountState"));
    EXPECT_TRUE(m_boxes.boxes.empty());
}

TEST_F(SendWindowTest, SendSmsOpensAWindowWithExactlyThatRecipientsText) {
    theTestApp.SendSMS("Alice; 447700900302");
    auto made = NewSendFrames();
    ASSERT_EQ(1u, made.size());
    EXPECT_STREQ("Alice; 447700900302", made[0]->GetView()->GetDlgItemText(IDC_MESSAGE_RECIPIENTS));
}

TEST_F(SendWindowTest, AnUnreachableServiceAtOpeningIsShownOnce) {
    CComPtr<ITestService> test;
    ASSERT_EQ(S_OK, test.CoCreateInstance(CLSID_TestService));
    ASSERT_EQ(S_OK, test->SetSoapEndPoints(CComBSTR(L"http://127.0.0.1:1/secure/messenger/soap/"), CComBSTR(L"")));
    theTestApp.SendSMS("");
    standin::PointSdkAtStandin();
    ASSERT_EQ(1u, NewSendFrames().size()) << "the window opens all the same";
    EXPECT_EQ(1u, m_boxes.boxes.size());
}

TEST_F(SendWindowTest, TheOriginatorDialogTakesOnlyAValidOriginator) {
    ASSERT_NE(nullptr, Open());
    HWND button = ::GetDlgItem(m_view, IDC_EDIT_ORIGINATOR);
    bool stayedOpen = false;
    ASSERT_TRUE(WithModalDialog([&] { ::SendMessageW(button, BM_CLICK, 0, 0); },
                                [&](HWND dialog) {
                                    ::SetDlgItemTextW(dialog, IDC_SERVICE_ALIAS, L"TOOLONGALIAS12");
                                    ::SendMessageW(dialog, WM_COMMAND, IDOK, 0);
                                    stayedOpen = ::IsWindowVisible(dialog) != FALSE;
                                    ::SetDlgItemTextW(dialog, IDC_SERVICE_ALIAS, L"NewAlias");
                                    ::SendMessageW(dialog, WM_COMMAND, IDOK, 0);
                                }));
    EXPECT_TRUE(stayedOpen) << "a refused originator keeps the dialog";
    ASSERT_EQ(1u, m_boxes.boxes.size());
    EXPECT_STREQ(LoadText(IDS_ORIGINATOR_INVALID), m_boxes.boxes[0].text);
    EXPECT_STREQ("NewAlias", Field(IDC_MESSAGE_ORIGINATOR));

    ASSERT_TRUE(WithModalDialog([&] { ::SendMessageW(button, BM_CLICK, 0, 0); },
                                [&](HWND dialog) {
                                    ::SetDlgItemTextW(dialog, IDC_SERVICE_ALIAS, L"Other");
                                    ::SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                                }));
    EXPECT_STREQ("NewAlias", Field(IDC_MESSAGE_ORIGINATOR)) << "Cancel changes nothing";
}

TEST_F(SendWindowTest, ImportTakesTheContactsNumbersSkipsOtherItemsAndListsContactsWithoutOne) {
    auto contact = [](const wchar_t* first, const wchar_t* last, const wchar_t* mobile) {
        CComPtr<IContact> made;
        EXPECT_EQ(S_OK, made.CoCreateInstance(CLSID_Contact));
        made->put_FirstName(CComBSTR(first));
        made->put_LastName(CComBSTR(last));
        made->put_MobileNumber(CComBSTR(mobile));
        return made;
    };
    CComPtr<IObjectCollection> chosen;
    ASSERT_EQ(S_OK, chosen.CoCreateInstance(CLSID_ObjectCollection));
    CComPtr<IContactGroup> group;
    ASSERT_EQ(S_OK, group.CoCreateInstance(CLSID_ContactGroup));
    chosen->Add(contact(L"Ann", L"Able", L"447700900401"));
    chosen->Add(group);
    chosen->Add(contact(L"No", L"Number", L""));
    chosen->Add(contact(L"Ben", L"Best", L"447700900402"));
    CString numbers, withoutNumber;
    CSendMessageView::ImportContacts(chosen, numbers, withoutNumber);
    EXPECT_STREQ("447700900401; 447700900402", numbers);
    EXPECT_STREQ("No Number\n", withoutNumber);
    EXPECT_STREQ("447700900301; 447700900401; 447700900402", CSendMessageView::AppendRecipients("447700900301", numbers));
    EXPECT_STREQ("447700900401; 447700900402", CSendMessageView::AppendRecipients("", numbers));
    EXPECT_STREQ("447700900301", CSendMessageView::AppendRecipients("447700900301", ""))
        << "no numbers: nothing appended, no dangling separator";
}

TEST_F(SendWindowTest, NamesChosenInThePickerReachTheServiceAsNamesAndEachNumberGetsOneMessage) {
    ASSERT_NE(nullptr, Open());
    auto pick = [](HWND dialog, int tab, UINT listId, const wchar_t* text) {
        ::SendDlgItemMessageW(dialog, IDC_SOURCE_TABS, TCM_SETCURSEL, tab, 0);
        NMHDR change = {::GetDlgItem(dialog, IDC_SOURCE_TABS), IDC_SOURCE_TABS, (UINT)TCN_SELCHANGE};
        ::SendMessageW(dialog, WM_NOTIFY, IDC_SOURCE_TABS, (LPARAM)&change);
        LRESULT index = ::SendDlgItemMessageW(dialog, listId, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)text);
        ::SendDlgItemMessageW(dialog, listId, LB_SETCURSEL, index, 0);
        ::SendMessageW(dialog, WM_COMMAND, IDC_ADD_RECIPIENT, 0);
    };
    ASSERT_TRUE(WithModalDialog([&] { ::SendMessageW(::GetDlgItem(m_view, IDC_SELECT_RECIPIENTS), BM_CLICK, 0, 0); },
                                [&](HWND dialog) {
                                    pick(dialog, 0, IDC_CONTACTS_LIST, L"Alice");
                                    pick(dialog, 1, IDC_GROUPS_LIST, L"Friends");
                                    ::SendMessageW(dialog, WM_COMMAND, IDOK, 0);
                                }));
    EXPECT_STREQ("Alice; Friends", Field(IDC_MESSAGE_RECIPIENTS));
    m_boxes.boxes.clear();
    m_frame->GetView()->SetDlgItemText(IDC_MESSAGE_BODY, "To my friends");
    m_frame->SendMessage(WM_COMMAND, ID_SEND_MESSAGE);
    auto sends = Log().ByOperation(L"SendMessageMultipleRecipientsFull");
    ASSERT_EQ(1u, sends.size());
    EXPECT_EQ((std::vector<std::wstring>{L"Alice", L"Friends"}), Recipients(sends[0])) << "names are sent as they are";
    ASSERT_EQ(1u, m_boxes.boxes.size());
    EXPECT_STREQ(LoadText(IDS_MESSAGE_SENT), m_boxes.boxes[0].text);
    // Alice is one of the Friends: her number and Bob's get one message each.
    size_t ids = 0;
    for (size_t at = sends[0].response.find(L"<string"); at != std::wstring::npos; at = sends[0].response.find(L"<string", at + 1))
        ++ids;
    EXPECT_EQ(2u, ids) << std::string(CString(sends[0].response.c_str()));
    EXPECT_EQ(98, m_frame->GetMessageLimit());
}
