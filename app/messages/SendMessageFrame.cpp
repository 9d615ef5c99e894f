#include "messages/SendMessageFrame.h"

#include "afxcmn.h"
#include "contacts/SelectContactsDlgEx.h"
#include "controls/TkControl.h"
#include "messages/ServiceAliasDlg.h"
#include "resource.h"
#include "shared/Helpers.h"
#include "signin/LoginState.h"
#include "TarvockLib.h"
#include "TarvockMailSDK.h"

#include <comsupp.h>

namespace {

const long kFeatureServiceAliasing = 1;  // ACCOUNT_FEATURE_SERVICE_ALIASING
const int kMaxBodyBytes = 160;

// Without the blanks (" " only) at both ends.
CString TrimBlanks(const CString& text) {
    int start = 0, end = text.GetLength();
    while (start < end && text[start] == ' ') ++start;
    while (end > start && text[end - 1] == ' ') --end;
    return text.Mid(start, end - start);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The view.

IMPLEMENT_DYNAMIC(CSendMessageView, CFormView)

BEGIN_MESSAGE_MAP(CSendMessageView, CFormViewBase)
    ON_COMMAND(ID_SEND_MESSAGE, OnSend)
    ON_COMMAND(ID_SEND_AND_CLOSE, OnSendAndClose)
    ON_COMMAND(ID_SEND, OnSend)
    ON_COMMAND(ID_IMPORT_ADDRESS_BOOK, OnImportFromAddressBook)
    ON_BN_CLICKED(IDC_SELECT_RECIPIENTS, OnSelectRecipients)
    ON_BN_CLICKED(IDC_EDIT_ORIGINATOR, OnEditOriginator)
    ON_EN_CHANGE(IDC_MESSAGE_BODY, OnBodyChanged)
    ON_WM_SIZE()
END_MESSAGE_MAP()

CSendMessageView::CSendMessageView() : CFormViewBase(IDD_SEND_MESSAGE) {
    m_originator = CLoginState::ServiceAlias().IsEmpty() ? CLoginState::Account() : CLoginState::ServiceAlias();
}

void CSendMessageView::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_MESSAGE_ORIGINATOR, m_originatorEdit);
    DDX_Control(dx, IDC_MESSAGE_RECIPIENTS, m_recipientsEdit);
    DDX_Control(dx, IDC_MESSAGE_BODY, m_bodyEdit);
    DDX_Text(dx, IDC_MESSAGE_ORIGINATOR, m_originator);
    DDX_Text(dx, IDC_MESSAGE_RECIPIENTS, m_recipients);
    DDX_Text(dx, IDC_MESSAGE_BODY, m_body);
}

void CSendMessageView::OnInitialUpdate() {
    CFormViewBase::OnInitialUpdate();
    m_originatorEdit.EnableWindow((CLoginState::Features() & kFeatureServiceAliasing) != 0);
}

void CSendMessageView::OnSize(UINT type, int cx, int cy) {
    CWnd::OnSize(type, cx, cy);
    StretchControl(IDC_MESSAGE_RECIPIENTS, cx, 0);
    StretchControl(IDC_MESSAGE_BODY, cx, cy);
}

void CSendMessageView::SetRecipients(const char* recipients) {
    m_recipients = recipients;
    UpdateData(false);
}

bool CSendMessageView::HasText() {
    UpdateData(true);
    CString recipients(m_recipients), body(m_body);
    recipients.Trim();
    body.Trim();
    return !recipients.IsEmpty() || !body.IsEmpty();
}

void CSendMessageView::OnBodyChanged() {
    CFrameBase* frame = static_cast<CFrameBase*>(GetParentFrame());
    CString count;
    count.Format(CResString(IDS_CHARACTER_COUNT), ::GetWindowTextLengthW(m_bodyEdit.m_hWnd));
    if (frame && frame->GetStatusBar()) frame->GetStatusBar()->SetPaneText(1, count);
}

CString CSendMessageView::JoinRecipients(const char* recipients) {
    CString joined;
    CString text(recipients);
    int start = 0;
    while (start <= text.GetLength()) {
        int end = text.Find(';', start);
        if (end < 0) end = text.GetLength();
        CString entry = TrimBlanks(text.Mid(start, end - start));
        if (!entry.IsEmpty()) {
            if (!joined.IsEmpty()) joined += ",";
            joined += entry;
        }
        start = end + 1;
    }
    return joined;
}

bool CSendMessageView::Send() {
    if (!UpdateData(true)) return false;
    CComPtr<ISendService2> service;
    HRESULT hr = CreateRunningObject(CLSID_SendService2, service);
    if (FAILED(hr)) {
        ReportHResult(CResString(IDS_SERVICE_NOT_CREATED), hr);
        return false;
    }
    bool sent = false;
    try {
        _bstr_t user(CLoginState::Username()), password(CLoginState::Password()), account(CLoginState::Account());
        HR_CHECK_ON(service.p, IID_ISendService2, service->Initialise(user, password, account, MissingArgument()));
        CString recipients = JoinRecipients(m_recipients);
        m_body.Trim();
        if (!ValidateOriginator(m_originator)) {
        } else if (recipients.IsEmpty()) {
            ShowWarning(IDS_NO_RECIPIENTS);  // also a text of separators and blanks only
        } else if (m_body.GetLength() > kMaxBodyBytes) {
            ShowWarning(IDS_MESSAGE_TOO_LONG);
        } else if (m_body.IsEmpty()) {
            ShowWarning(IDS_MESSAGE_EMPTY);
        } else {
            CComPtr<IStringCollection2> ids;
            HR_CHECK_ON(service.p, IID_ISendService2,
                        service->SendMessageMultipleRecipientsFull(_bstr_t(m_originator), _bstr_t(recipients),
                                                                   _bstr_t(m_body), MESSAGE_TYPE_TEXT, 0, &ids));
            sent = true;
        }
    } catch (const _com_error& error) {
        ReportComErrorId(IDS_SEND_FAILED, error, true);
    }
    return sent;
}

void CSendMessageView::OnSend() {
    CWaitCursor wait;
    if (!Send()) return;
    AfxMessageBox(CResString(IDS_MESSAGE_SENT), MB_ICONINFORMATION);
    if (CSendMessageFrame* frame = static_cast<CSendMessageFrame*>(GetParentFrame())) frame->UpdateStatus();
    m_body.Empty();
    m_recipients.Empty();
    UpdateData(false);
    OnBodyChanged();
}

void CSendMessageView::OnSendAndClose() {
    CWaitCursor wait;
    if (Send()) GetParentFrame()->DestroyWindow();  // the view goes with its frame: nothing after this
}

void CSendMessageView::OnSelectRecipients() {
    CWaitCursor wait;
    UpdateData(true);
    CSelectContactsDlgEx picker(m_recipients, this);
    if (picker.DoModal() != IDOK) return;
    m_recipients = picker.GetRecipients();
    UpdateData(false);
}

void CSendMessageView::OnEditOriginator() {
    if (!(CLoginState::Features() & kFeatureServiceAliasing)) {
        AfxMessageBox(CResString(IDS_ALIAS_NOT_AVAILABLE), MB_ICONINFORMATION);
        return;
    }
    UpdateData(true);
    CServiceAliasDlg dialog(m_originator, this);
    if (dialog.DoModal() != IDOK) return;
    m_originator = dialog.GetOriginator();
    UpdateData(false);
}

CString CSendMessageView::AppendRecipients(const CString& recipients, const CString& numbers) {
    if (numbers.IsEmpty()) return recipients;
    return recipients.IsEmpty() ? numbers : recipients + "; " + numbers;
}

void CSendMessageView::OnImportFromAddressBook() {
    CWaitCursor wait;
    UpdateData(true);
    CComPtr<IAddressBook> book;
    HRESULT hr = CreateRunningObject(CLSID_AddressBook, book);
    if (FAILED(hr)) {
        ReportHResult(CResString(IDS_ADDRESS_BOOK_NOT_READ), hr);
        return;
    }
    try {
        CComPtr<IObjectCollection> chosen;
        HR_CHECK_ON(book.p, IID_IAddressBook, book->SelectContacts((unsigned long)(ULONG_PTR)m_hWnd, &chosen));
        if (chosen) {
            CString numbers, withoutNumber;
            ImportContacts(chosen, numbers, withoutNumber);
            m_recipients = AppendRecipients(m_recipients, numbers);
            UpdateData(false);
            if (!withoutNumber.IsEmpty())
                AfxMessageBox(CResString(IDS_NO_MOBILE_NUMBER) + "\n" + withoutNumber, MB_ICONEXCLAMATION);
        }
    } catch (const _com_error& error) {
        ReportComErrorId(IDS_ADDRESS_BOOK_NOT_READ, error, true);
    }
}

void CSendMessageView::ImportContacts(IObjectCollection* chosen, CString& numbers, CString& withoutNumber) {
    long count = 0;
    HR_CHECK_ON(chosen, IID_IObjectCollection, chosen->get_Count(&count));
    for (long i = 1; i <= count; ++i) {
        CComPtr<IDispatch> item;
        HR_CHECK_ON(chosen, IID_IObjectCollection, chosen->get_Item(i, &item));
        CComPtr<IContact> contact;
        if (item) item->QueryInterface(IID_IContact, (void**)&contact);
        if (!contact) continue;  // not a contact: nothing to import
        CComBSTR text;
        HRESULT hr = contact->get_MobileNumber(&text);
        CString mobile(text);
        CString first, last;
        if (SUCCEEDED(hr) && mobile.IsEmpty()) {
            text.Empty();
            if (SUCCEEDED(hr)) hr = contact->get_FirstName(&text);
            first = CString(text);
            text.Empty();
            if (SUCCEEDED(hr)) hr = contact->get_LastName(&text);
            last = CString(text);
        }
        if (FAILED(hr)) comsupp::ThrowComError(hr);
        if (!mobile.IsEmpty()) {
            if (!numbers.IsEmpty()) numbers += "; ";
            numbers += mobile;
        } else {
            withoutNumber += first + " " + last + "\n";
        }
    }
}

// ---------------------------------------------------------------------------------------------
// The frame.

IMPLEMENT_DYNCREATE(CSendMessageFrame, CFrameBase)

BEGIN_MESSAGE_MAP(CSendMessageFrame, CFrameBase)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CSendMessageFrame::CSendMessageFrame() : m_messageLimit(CLoginState::MessageLimit()) {}

int CSendMessageFrame::OnCreate(LPCREATESTRUCT cs) {
    if (CFrameBase::OnCreate(cs) == -1) return -1;
    UpdateStatus();  // the one refresh of the account state when the window opens
    return 0;
}

bool CSendMessageFrame::CreateClientView() {
    CSendMessageView* view = new CSendMessageView;
    if (!CreateFormClientView(view)) return false;
    m_pView = view;
    return true;
}

UINT CSendMessageFrame::GetBarResourceId(int) {
    return IDR_SEND_WINDOW;
}

bool CSendMessageFrame::CanClose() {
    if (!m_pView || !m_pView->HasText()) return true;
    switch (AfxMessageBox(CResString(IDS_SEND_BEFORE_CLOSING), MB_YESNOCANCEL | MB_ICONQUESTION | MB_SYSTEMMODAL)) {
    case IDYES:
        return m_pView->Send();
    case IDNO:
        return true;
    default:
        return false;
    }
}

void CSendMessageFrame::SetRecipients(const char* recipients) {
    if (m_pView) m_pView->SetRecipients(recipients);
}

void CSendMessageFrame::UpdateStatus() {
    CLoginState::RefreshAccountState();
    m_messageLimit = CLoginState::MessageLimit();
    CString text;
    text.Format(CResString(IDS_MESSAGE_LIMIT), (int)m_messageLimit);
    ShowMessageLimit(text);
}

void CSendMessageFrame::ShowMessageLimit(const CString& text) {
    m_messageLimitText = text;
    // The caption of the limit's control, found by its command wherever the user moved it.
    if (CTkControl* control = FindBarControl(ID_MESSAGE_LIMIT)) control->SetCaption(text);
}
