// The read window against the stand-in (account test/test/TEST01 and its inbox fixtures): what
// it shows, Reply, Delete and its failures, and a message that cannot be read.
#include "MessageWindowTest.h"

#include "mainwindow/ReadWindowFactory.h"
#include "messages/ReadMessageFrame.h"
#include "messages/SendMessageFrame.h"
#include "resource.h"
#include "shared/Helpers.h"
#include "TarvockLib.h"

#include <atlbase.h>

namespace {

const wchar_t kFirstId[] = L"20000000-0000-4000-8000-000000000001";
const wchar_t kEuroId[] = L"20000000-0000-4000-8000-000000000004";

class ReadWindowTest : public MessageWindowTest {
protected:
    CComPtr<ISMSMessage2> FetchMessage(const wchar_t* id) {
        CComPtr<IInboxService2> inbox;
        EXPECT_EQ(S_OK, inbox.CoCreateInstance(CLSID_InboxService2));
        CComVariant omitted;
        omitted.vt = VT_ERROR;
        omitted.scode = DISP_E_PARAMNOTFOUND;
        CComPtr<ISMSMessage2> message;
        if (inbox) {
            EXPECT_EQ(S_OK, inbox->Initialise(CComBSTR(L"test"), CComBSTR(L"test"), CComBSTR(L"TEST01"), omitted));
            EXPECT_EQ(S_OK, inbox->GetMessageW(CComBSTR(id), &message));
        }
        Log().Reset();
        return message;
    }
    // A read window made the way the main window's alert click makes it.
    CReadMessageFrame* Open(ISMSMessage2* message) {
        CWnd* made = CReadWindowFactory::Open(message);
        return made && made->IsKindOf(RUNTIME_CLASS(CReadMessageFrame)) ? static_cast<CReadMessageFrame*>(made) : nullptr;
    }
    static DATE Date(int year, int month, int day, int hour, int minute) {
        SYSTEMTIME st = {};
        st.wYear = (WORD)year;
        st.wMonth = (WORD)month;
        st.wDay = (WORD)day;
        st.wHour = (WORD)hour;
        st.wMinute = (WORD)minute;
        DATE date = 0;
        ::SystemTimeToVariantTime(&st, &date);
        return date;
    }
};

}  // namespace

TEST_F(ReadWindowTest, ShowsTheOriginatorTheDateAndTheBodyWithEveryCharacter) {
    CReadMessageFrame* frame = Open(FetchMessage(kFirstId));
    ASSERT_NE(nullptr, frame);
    EXPECT_EQ(m_framesBefore.size() + 1, theTestApp.GetFrames().size()) << "the window joins the open frames";
    EXPECT_STREQ(LoadText(IDS_READ_WINDOW), frame->GetWindowText());
    HWND view = frame->GetView()->m_hWnd;
    EXPECT_EQ(L"447700900201", WideText(view, IDC_MESSAGE_ORIGINATOR));
    EXPECT_EQ(std::wstring(FormatDateTimeText(Date(2024, 3, 14, 9, 15)).Wide()), WideText(view, IDC_MESSAGE_RECEIVED_AT));
    EXPECT_EQ(L"Morning, are we still on for lunch?", WideText(view, IDC_MESSAGE_BODY));
    EXPECT_EQ(std::wstring(kFirstId), std::wstring((const wchar_t*)frame->GetView()->GetMessageId()));
    EXPECT_TRUE(IsCommandEnabled(frame, ID_REPLY));
    EXPECT_TRUE(IsCommandEnabled(frame, ID_DELETE_MESSAGE));

    CReadMessageFrame* euro = Open(FetchMessage(kEuroId));
    ASSERT_NE(nullptr, euro);
    EXPECT_EQ(L"Prix: 15 \u20AC \u2013 merci", WideText(euro->GetView()->m_hWnd, IDC_MESSAGE_BODY));
    EXPECT_TRUE(m_boxes.boxes.empty());
    EXPECT_EQ(0u, Requests(L"DeleteMessage")) << "showing a message asks the service nothing";
}

TEST_F(ReadWindowTest, ReplyOpensASendWindowForTheOriginatorAndStaysOpen) {
    CReadMessageFrame* frame = Open(FetchMessage(kFirstId));
    ASSERT_NE(nullptr, frame);
    HWND handle = frame->m_hWnd;
    frame->SendMessage(WM_COMMAND, ID_REPLY);
    auto sendWindows = NewSendFrames();
    ASSERT_EQ(1u, sendWindows.size());
    EXPECT_STREQ("447700900201", sendWindows[0]->GetView()->GetDlgItemText(IDC_MESSAGE_RECIPIENTS));
    EXPECT_TRUE(::IsWindow(handle));
}

TEST_F(ReadWindowTest, DeleteSendsOneRequestAndClosesAndASecondDeleteIsReportedAndKeepsTheWindow) {
    CComPtr<ISMSMessage2> message = FetchMessage(kFirstId);
    CReadMessageFrame* first = Open(message);
    CReadMessageFrame* second = Open(message);
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);
    HWND firstHandle = first->m_hWnd, secondHandle = second->m_hWnd;

    first->SendMessage(WM_COMMAND, ID_DELETE_MESSAGE);
    auto deletes = Log().ByOperation(L"DeleteMessage");
    ASSERT_EQ(1u, deletes.size());
    EXPECT_NE(std::wstring::npos, deletes[0].body.find(kFirstId));
    EXPECT_FALSE(::IsWindow(firstHandle)) << "the window closes once the service deleted the message";
    EXPECT_EQ(0u, theTestApp.GetFrames().count(firstHandle));
    EXPECT_TRUE(m_boxes.boxes.empty());

    second->SendMessage(WM_COMMAND, ID_DELETE_MESSAGE);
    EXPECT_EQ(2u, Requests(L"DeleteMessage"));
    ASSERT_EQ(1u, m_boxes.boxes.size());
    EXPECT_EQ(0, m_boxes.boxes[0].text.Find(LoadText(IDS_DELETE_FAILED) + "\n\n")) << m_boxes.boxes[0].text;
    EXPECT_GT(m_boxes.boxes[0].text.GetLength(), LoadText(IDS_DELETE_FAILED).GetLength() + 2) << "with the service's reason";
    EXPECT_EQ((UINT)MB_ICONSTOP, m_boxes.boxes[0].type & MB_ICONMASK);
    EXPECT_TRUE(::IsWindow(secondHandle)) << "a failed delete keeps the window";
}

TEST_F(ReadWindowTest, AMessageThatCannotBeReadIsReportedAndLeavesReplyAndDeleteDisabled) {
    CReadMessageFrame* frame = Open(nullptr);
    ASSERT_NE(nullptr, frame) << "the window opens, empty";
    ASSERT_EQ(1u, m_boxes.boxes.size());
    EXPECT_EQ(0, m_boxes.boxes[0].text.Find(LoadText(IDS_MESSAGE_NOT_SHOWN)));
    EXPECT_FALSE(frame->GetView()->HasMessage());
    EXPECT_FALSE(IsCommandEnabled(frame, ID_REPLY));
    EXPECT_FALSE(IsCommandEnabled(frame, ID_DELETE_MESSAGE));

    theTestApp.framesMade.clear();
    frame->SendMessage(WM_COMMAND, ID_DELETE_MESSAGE);
    frame->SendMessage(WM_COMMAND, ID_REPLY);
    EXPECT_EQ(0u, Requests(L"DeleteMessage"));
    EXPECT_TRUE(theTestApp.framesMade.empty());
    EXPECT_TRUE(::IsWindow(frame->m_hWnd));
}
