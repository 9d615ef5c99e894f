#include "mainwindow/MessengerDlg.h"

#include "mainwindow/ReadWindowFactory.h"
#include "resource.h"
#include "shared/Helpers.h"
#include "signin/LoginState.h"
#include "startup/AppSettings.h"
#include "startup/MessengerApp.h"
#include "TarvockLib.h"

#include <comsupp.h>
#include <log4cpp/Category.hh>

#include <cstdlib>
#include <cwchar>
#include <exception>
#include <string>
#include <utility>

namespace {

log4cpp::Category& Log() {
    return log4cpp::Category::getInstance("CMessengerDlg");
}

CString LoadText(UINT id) {
    CString text;
    text.LoadString(id);
    return text;
}

const UINT kMaxBodyCharacters = 100;

HICON LoadIconSized(UINT id, int size) {
    return (HICON)::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The notification-area icon.

void CTrayNotifyWnd::ShowMenu() {
    if (m_menu || !m_pNotifyWnd || !m_pNotifyWnd->GetSafeHwnd()) return;
    HMENU menu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nid.uID));
    if (!menu) return;
    HWND notify = m_pNotifyWnd->GetSafeHwnd();
    HMENU popup = ::GetSubMenu(menu, 0);
    ::SetMenuDefaultItem(popup, m_nDefaultItem, FALSE);
    ::SetForegroundWindow(notify);
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    m_menu = menu;
    ::TrackPopupMenu(popup, TPM_LEFTBUTTON, cursor.x, cursor.y, 0, notify, nullptr);
    ::PostMessageW(notify, WM_NULL, 0, 0);
    m_menu = nullptr;
    ::DestroyMenu(menu);
}

void CTrayNotifyWnd::EndShowingMenu() {
    // The menu is destroyed when its tracking returns.
    if (m_menu) ::EndMenu();
}

LRESULT CTrayNotifyWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TK_WM_TRAYNOTIFY && (UINT)wParam == m_nid.uID) {
        switch ((UINT)LOWORD(lParam)) {
        case WM_CONTEXTMENU:
        case WM_RBUTTONUP:
            ShowMenu();
            return 1;
        case WM_LBUTTONDOWN:
            m_bClickPending = true;
            SetTimer(kClickTimer, ::GetDoubleClickTime() + 10);
            break;
        case WM_LBUTTONDBLCLK:
            m_bClickPending = false;
            EndShowingMenu();
            break;
        default:
            break;
        }
    } else if (message == WM_TIMER && (UINT)wParam == kClickTimer) {
        KillTimer(kClickTimer);
        if (m_bClickPending) {
            m_bClickPending = false;
            ShowMenu();
        }
        return 0;
    } else if (message == WM_ACTIVATEAPP && !wParam) {
        EndShowingMenu();
    } else if (message == WM_COMMAND && m_pNotifyWnd && m_pNotifyWnd->GetSafeHwnd()) {
        // A command that reaches the icon's hidden window (it is a top-level window of the
        // program too) belongs to the notification window, which routes it to the application.
        return ::SendMessageW(m_pNotifyWnd->GetSafeHwnd(), message, wParam, lParam);
    }
    return CTkNotifyIconWnd::WindowProc(message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// The main window.

IMPLEMENT_DYNAMIC(CMessengerDlg, CFrameWnd)

const char* const CMessengerDlg::kAccountSectionFormat = "Accounts\\%s";
const char* const CMessengerDlg::kLastMessageIdValue = "LastMessageId";

BEGIN_MESSAGE_MAP(CMessengerDlg, CFrameWnd)
    ON_WM_CREATE()
    {WM_TIMER, 0, 0, 0, [](CCmdTarget* t, AFX_MSGCALL& c) { AFX_THIS(t)->PollInbox((UINT_PTR)c.wParam); return true; }},
    ON_MESSAGE(TK_WM_DESKTOPALERT, OnPopupClick)
    ON_MESSAGE(TK_WM_TRAYNOTIFY, OnTrayNotify)
END_MESSAGE_MAP()

CMessengerDlg::~CMessengerDlg() {
    m_pKeptMessage.Release();
    m_pInbox.Release();
    if (m_alert.GetSafeHwnd()) m_alert.DestroyWindow();
    RemoveTrayIcon();
}

bool CMessengerDlg::CreateHidden(CWnd* parent) {
    HICON icon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_TRAY));
    const char* windowClass =
        AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1), icon);
    return CreateEx(0, windowClass, "", WS_POPUP, 0, 0, 0, 0, parent ? parent->m_hWnd : nullptr, nullptr);
}

bool CMessengerDlg::DestroyWindow() {
    if (m_hWnd) KillTimer(kPollTimer);
    return CFrameWnd::DestroyWindow();
}

UINT CMessengerDlg::PollIntervalMs() {
    int minutes = CAppSettings::ClampInterval(10);
    if (CMessengerApp* app = CMessengerApp::Get())
        if (CAppSettings* settings = app->GetSettings()) minutes = settings->PollInterval;
    return (UINT)minutes * 60000u;
}

int CMessengerDlg::OnCreate(LPCREATESTRUCT create) {
    if (CFrameWnd::OnCreate(create) == -1) return -1;
    m_pInbox = CreateSdkObject<IInboxService2>(CLSID_InboxService2, "InboxService");
    if (!m_pInbox) return -1;
    m_strBaseTip = LoadText(IDS_TRAY_TIP);
    if (!UpdateTrayIcon()) return -1;
    CreatePopup();
    SetTimer(kPollTimer, PollIntervalMs());
    return 0;
}

void CMessengerDlg::RemoveTrayIcon() {
    if (!m_pTray) return;
    m_pTray->HideTrayIcon();
    if (m_pTray->GetSafeHwnd()) m_pTray->DestroyWindow();
    m_pTray.reset();
}

bool CMessengerDlg::UpdateTrayIcon() {
    RemoveTrayIcon();
    bool signedIn = CLoginState::IsSignedIn();
    CString tip = m_strBaseTip;
    if (signedIn)
        tip += CString(" (Signed in as ") + CLoginState::Username() + ")";
    else
        tip += " (Signed out)";
    m_pTray = std::make_unique<CTrayNotifyWnd>();
    m_bTrayCreated = m_pTray->Create(tip, this, signedIn ? IDR_TRAY : IDI_SIGNED_OUT, IDR_TRAY,
                                     signedIn ? ID_SEND : ID_SIGN_IN_OUT, false);
    return m_bTrayCreated;
}

void CMessengerDlg::RestartPollTimer() {
    if (!m_hWnd) return;
    KillTimer(kPollTimer);
    SetTimer(kPollTimer, PollIntervalMs());
}

void CMessengerDlg::CreatePopup() {
    int popupSeconds = 5;
    if (CMessengerApp* app = CMessengerApp::Get())
        if (CAppSettings* settings = app->GetSettings()) popupSeconds = settings->PopupInterval;
    m_alert.SetTheme(2);
    m_alert.SetAlpha(200);
    m_alert.SetAnimation(CTkDesktopAlertWnd::AnimationFade);
    m_alert.SetShowTime((UINT)popupSeconds * 1000u);
    m_alert.SetWidth(270);
    m_alert.SetHeight(100);
    m_alert.ClearItems();

    CTkPopupItem* caption =
        m_alert.AppendItem(new CTkPopupItem(CRect(5, 10, 260, 26), LoadText(IDS_ALERT_CAPTION), kAlertItemInert));
    caption->SetFormat(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    caption->SetBold(true);
    caption->m_bUnderlineHot = false;

    CTkPopupItem* close = m_alert.AppendItem(new CTkPopupItem(CRect(250, 10, 266, 26), "", kAlertItemClose));
    if (HICON icon = LoadIconSized(IDI_CLOSE, 16)) {
        close->SetIcon(icon);  // the item keeps a copy
        ::DestroyIcon(icon);
    }
    close->m_bButton = true;

    CTkPopupItem* picture = m_alert.AppendItem(new CTkPopupItem(CRect(5, 27, 37, 59), "", kAlertItemInert));
    if (HICON icon = LoadIconSized(IDI_ALERT, 32)) {
        picture->SetIcon(icon);
        ::DestroyIcon(icon);
    }

    m_pTitleItem =
        m_alert.AppendItem(new CTkPopupItem(CRect(50, 27, 230, 45), LoadText(IDS_ALERT_TITLE), kAlertItemMessage));
    m_pTitleItem->SetBold(true);

    m_pBodyItem =
        m_alert.AppendItem(new CTkPopupItem(CRect(50, 45, 230, 100), LoadText(IDS_ALERT_BODY), kAlertItemMessage));
    m_pBodyItem->SetFormat(DT_WORDBREAK);
}

void CMessengerDlg::PollInbox(UINT_PTR timerId) {
    if (!CLoginState::IsSignedIn() || m_bBusy) return;
    // Whatever happens to this poll, the next tick polls again.
    struct CBusyScope {
        bool& busy;
        explicit CBusyScope(bool& flag) : busy(flag) { busy = true; }
        ~CBusyScope() { busy = false; }
    } busy(m_bBusy);
    if (timerId == kPollTimer) {
        try {
            PollInboxCore();
        } catch (const _com_error&) {
            // Silent: the next tick tries again.
        } catch (const std::exception& error) {
            Log().error("The inbox poll failed: %s", error.what());
        } catch (CException* error) {
            Log().error("The inbox poll failed: a class library exception");
            error->Delete();
        } catch (...) {
            Log().error("The inbox poll failed: an unexpected exception");
        }
    }
    DefWindowProc(WM_TIMER, timerId, 0);  // the default handling
}

void CMessengerDlg::PollInboxCore() {
    if (!m_pInbox) return;
    CString section;
    section.Format(kAccountSectionFormat, (const char*)CLoginState::Account());
    CWinApp* app = AfxGetApp();
    long lastIndex = std::atol(app->GetProfileString(section, kLastMessageIdValue, "-1"));

    _bstr_t user(CLoginState::Username()), password(CLoginState::Password()), account(CLoginState::Account());
    _variant_t notGiven(DISP_E_PARAMNOTFOUND, VT_ERROR);
    HR_CHECK_ON(m_pInbox.p, IID_IInboxService2,
                m_pInbox->Initialise(user, password, account, notGiven));

    VARIANT last;
    ::VariantInit(&last);
    last.vt = VT_INT;
    last.intVal = (int)lastIndex;
    VARIANT most;
    ::VariantInit(&most);
    most.vt = VT_INT;
    most.intVal = -1;
    CComPtr<IObjectCollection> messages;
    HR_CHECK_ON(m_pInbox.p, IID_IInboxService2, m_pInbox->GetLatestMessages(last, most, &messages));
    if (!messages) return;
    long count = 0;
    HR_CHECK_ON(messages.p, IID_IObjectCollection, messages->get_Count(&count));
    if (count == 0) return;

    CComPtr<IDispatch> first;
    HR_CHECK_ON(messages.p, IID_IObjectCollection, messages->get_Item(1, &first));
    if (!first) return;
    CComPtr<ISMSMessage2> message;
    HR_CHECK(first->QueryInterface(IID_ISMSMessage2, (void**)&message));
    long index = 0;
    HR_CHECK_ON(message.p, IID_ISMSMessage2, message->get_MessageIndex(&index));
    CString indexText;
    indexText.Format("%d", (int)index);
    app->WriteProfileString(section, kLastMessageIdValue, indexText);

    CString title, body;
    if (count == 1) {
        m_pKeptMessage = message;
        CComBSTR text;
        HR_CHECK_ON(message.p, IID_ISMSMessage2, message->get_Body(&text));
        std::wstring wide(text.m_str ? text.m_str : L"");
        if (wide.size() > kMaxBodyCharacters) wide = wide.substr(0, kMaxBodyCharacters) + L"...";
        body = CString(wide.c_str());
        CComBSTR originator;
        HR_CHECK_ON(message.p, IID_ISMSMessage2, message->get_Originator(&originator));
        std::wstring number(originator.m_str ? originator.m_str : L"");
        title = GetContactNameForNumber(number.c_str());
    } else {
        m_pKeptMessage.Release();
        title.Format(LoadText(IDS_NEW_MESSAGES_TITLE), (int)count);
        body = LoadText(IDS_NEW_MESSAGES_BODY);
    }
    if (m_pTitleItem) m_pTitleItem->SetCaption(title);
    if (m_pBodyItem) m_pBodyItem->SetCaption(body);
    m_alert.Show(this);
}

CString CMessengerDlg::GetContactNameForNumber(const wchar_t* number) {
    CString result(number ? number : L"");
    if (!number) return result;
    try {
        CComPtr<IContactService> service = CreateSdkObject<IContactService>(CLSID_ContactService, "ContactService");
        if (!service) return result;
        {
            _bstr_t user(CLoginState::Username()), password(CLoginState::Password()), account(CLoginState::Account());
            _variant_t notGiven(DISP_E_PARAMNOTFOUND, VT_ERROR);
            HRESULT hr = service->Initialise(user, password, account, notGiven);
            if (FAILED(hr)) return result;
        }
        // The look-up keeps its own reference: releasing the cache meanwhile leaves it valid.
        CComPtr<IObjectCollection> contacts = CLoginState::GetCachedContacts(std::move(service));
        if (!contacts) return result;
        long count = 0;
        HR_CHECK_ON(contacts.p, IID_IObjectCollection, contacts->get_Count(&count));
        for (long i = 1; i <= count; ++i) {
            CComPtr<IDispatch> item;
            HR_CHECK_ON(contacts.p, IID_IObjectCollection, contacts->get_Item(i, &item));
            if (!item) continue;
            CComPtr<IContact> contact;
            if (FAILED(item->QueryInterface(IID_IContact, (void**)&contact)) || !contact) continue;
            CComBSTR mobile;
            HR_CHECK_ON(contact.p, IID_IContact, contact->get_MobileNumber(&mobile));
            if (std::wcscmp(mobile.m_str ? mobile.m_str : L"", number) != 0) continue;
            result = ReadText(contact.p, &IContact::get_QuickName);
            break;
        }
    } catch (...) {
        result = CString(number);
    }
    return result;
}

LRESULT CMessengerDlg::OnPopupClick(WPARAM code, LPARAM item) {
    if (code != TK_ALERT_CLICKED) return 1;
    CTkPopupItem* clicked = reinterpret_cast<CTkPopupItem*>(item);
    UINT id = clicked ? clicked->m_nID : (UINT)kAlertItemInert;  // read before the alert lets go of its items
    m_alert.Close();
    if (id != kAlertItemMessage) return 1;
    if (m_pKeptMessage) {
        CReadWindowFactory::Open(m_pKeptMessage);
    } else {
        // The application's inbox command (the inbox web page).
        SendMessage(WM_COMMAND, ID_SMS_INBOX, 0);
    }
    return 1;
}
