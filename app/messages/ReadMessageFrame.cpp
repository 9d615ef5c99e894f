#include "messages/ReadMessageFrame.h"

#include "afxcmn.h"
#include "resource.h"
#include "shared/Helpers.h"
#include "signin/LoginState.h"
#include "startup/MessengerApp.h"
#include "TarvockLib.h"

#include <comsupp.h>

// ---------------------------------------------------------------------------------------------
// The view.

IMPLEMENT_DYNAMIC(CReadMessageView, CFormView)

BEGIN_MESSAGE_MAP(CReadMessageView, CFormViewBase)
    ON_COMMAND(ID_REPLY, OnReply)
    ON_COMMAND(ID_DELETE_MESSAGE, OnDelete)
    ON_UPDATE_COMMAND_UI(ID_REPLY, OnUpdateNeedsMessage)
    ON_UPDATE_COMMAND_UI(ID_DELETE_MESSAGE, OnUpdateNeedsMessage)
    ON_WM_SIZE()
END_MESSAGE_MAP()

CReadMessageView::CReadMessageView() : CFormViewBase(IDD_READ_MESSAGE) {}

void CReadMessageView::OnInitialUpdate() {
    CFormViewBase::OnInitialUpdate();
    LRESULT font = SendMessage(WM_GETFONT);
    ::SendDlgItemMessageW(m_hWnd, IDC_MESSAGE_BODY, WM_SETFONT, (WPARAM)font, TRUE);
}

void CReadMessageView::OnSize(UINT type, int cx, int cy) {
    CWnd::OnSize(type, cx, cy);
    StretchControl(IDC_MESSAGE_BODY, cx, cy);
}

void CReadMessageView::ShowFields(const wchar_t* originator, const wchar_t* receivedAt, const wchar_t* body) {
    // The body goes in as wide text: the rich edit shows every character of it.
    ::SetDlgItemTextW(m_hWnd, IDC_MESSAGE_BODY, body);
    ::SetDlgItemTextW(m_hWnd, IDC_MESSAGE_ORIGINATOR, originator);
    ::SetDlgItemTextW(m_hWnd, IDC_MESSAGE_RECEIVED_AT, receivedAt);
}

bool CReadMessageView::SetMessage(ISMSMessage2* message) {
    try {
        if (!message) _com_issue_error(E_POINTER);
        _bstr_t id, body, originator;
        HR_CHECK_ON(message, IID_ISMSMessage2, message->get_ID(id.GetAddress()));
        HR_CHECK_ON(message, IID_ISMSMessage2, message->get_Body(body.GetAddress()));
        HR_CHECK_ON(message, IID_ISMSMessage2, message->get_Originator(originator.GetAddress()));
        DATE receivedAt = 0;
        HR_CHECK_ON(message, IID_ISMSMessage2, message->get_ReceivedAt(&receivedAt));
        std::wstring when = FormatDateTimeText(receivedAt).Wide();
        m_messageId = id;
        ShowFields(originator.length() ? (const wchar_t*)originator : L"", when.c_str(),
                   body.length() ? (const wchar_t*)body : L"");
        return true;
    } catch (const _com_error& error) {
        m_messageId = _bstr_t();
        ShowFields(L"", L"", L"");
        ReportComErrorId(IDS_MESSAGE_NOT_SHOWN, error, true);
        return false;
    }
}

void CReadMessageView::OnUpdateNeedsMessage(CCmdUI* cmdUI) {
    cmdUI->Enable(HasMessage());
}

void CReadMessageView::OnReply() {
    if (!HasMessage()) return;
    CString originator = GetDlgItemText(IDC_MESSAGE_ORIGINATOR);
    if (CMessengerApp* app = CMessengerApp::Get()) app->SendSMS(originator);
}

void CReadMessageView::OnDelete() {
    if (!HasMessage()) return;
    CComPtr<IInboxService2> inbox = CreateSdkObject<IInboxService2>(CLSID_InboxService2, "InboxService");
    if (!inbox) return;  // reported
    try {
        _bstr_t user(CLoginState::Username()), password(CLoginState::Password()), account(CLoginState::Account());
        HR_CHECK_ON(inbox.p, IID_IInboxService2, inbox->Initialise(user, password, account, MissingArgument()));
        HR_CHECK_ON(inbox.p, IID_IInboxService2, inbox->DeleteMessage(m_messageId));
    } catch (const _com_error& error) {
        ReportComErrorId(IDS_DELETE_FAILED, error, true);
        return;
    }
    inbox.Release();
    GetParentFrame()->DestroyWindow();  // the view goes with its frame: nothing after this
}

// ---------------------------------------------------------------------------------------------
// The frame.

IMPLEMENT_DYNCREATE(CReadMessageFrame, CFrameBase)

bool CReadMessageFrame::CreateClientView() {
    AfxInitRichEdit2();
    CReadMessageView* view = new CReadMessageView;
    if (!CreateFormClientView(view)) return false;
    m_pView = view;
    return true;
}

UINT CReadMessageFrame::GetBarResourceId(int) {
    return IDR_READ_WINDOW;
}

bool CReadMessageFrame::SetMessage(ISMSMessage2* message) {
    CComPtr<ISMSMessage2> held(message);  // alive while the view reads it
    return m_pView && m_pView->SetMessage(held);
}
