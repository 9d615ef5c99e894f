#include "customize/TkCustomizeSheet.h"

#include "commandbars/TkCommandBar.h"
#include "commandbars/TkCommandBars.h"
#include "commandbars/TkHooks.h"
#include "customize/TkCustomizePages.h"
#include "res/TkResource.h"

namespace {

// The hooks of the running sheet: set while a sheet runs, none otherwise.
struct CTkCustomizeHooks {
    HHOOK mouse = nullptr;
    HHOOK keyboard = nullptr;
    CTkCustomizeSheet* sheet = nullptr;
};
CTkCustomizeHooks* g_pCustomizeHooks = nullptr;

bool IsSelfOrChild(HWND parent, HWND wnd) {
    return parent && wnd && (parent == wnd || ::IsChild(parent, wnd));
}

CTkCommandBar* AsCommandBar(HWND hwnd) {
    CWnd* object = hwnd ? CWnd::FromHandlePermanent(hwnd) : nullptr;
    return object && object->IsKindOf(RUNTIME_CLASS(CTkCommandBar)) ? static_cast<CTkCommandBar*>(object) : nullptr;
}

// The command bar a window is, or is a child of; none for other windows.
CTkCommandBar* BarOfWindow(HWND hwnd) {
    if (CTkCommandBar* bar = AsCommandBar(hwnd)) return bar;
    return hwnd ? AsCommandBar(::GetParent(hwnd)) : nullptr;
}

}  // namespace

IMPLEMENT_DYNAMIC(CTkCustomizeSheet, CPropertySheet)

CTkCustomizeSheet::CTkCustomizeSheet(ITkCustomizeBars* bars, int firstPage)
    : CPropertySheet(IDS_TK_CUSTOMIZE_CAPTION, bars->GetFrame(), (UINT)std::max(firstPage, 0)),
      m_pBars(bars),
      m_pFrame(bars->GetFrame()) {
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
    m_pToolbarsPage = std::make_unique<CTkCustomizeToolbarsPage>(this);
    m_pCommandsPage = std::make_unique<CTkCustomizeCommandsPage>(this);
    AddPage(m_pToolbarsPage.get());
    AddPage(m_pCommandsPage.get());
    m_hImages = ImageList_LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDB_TK_CUSTOMIZE_IMAGES), 16, 1,
                                     RGB(0, 255, 0), IMAGE_BITMAP, LR_CREATEDIBSECTION);
}

CTkCustomizeSheet::~CTkCustomizeSheet() {
    if (m_hWnd) DestroyWindow();
    // The pages go after the window and before the image list, in this order.
    m_pToolbarsPage.reset();
    m_pCommandsPage.reset();
    if (m_hImages) ImageList_Destroy(m_hImages);
}

CTkCustomizeSheet* CTkCustomizeSheet::GetRunning() {
    return g_pCustomizeHooks ? g_pCustomizeHooks->sheet : nullptr;
}

bool CTkCustomizeSheet::CreateSheetWindow() {
    return Create(m_pFrame, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
}

INT_PTR CTkCustomizeSheet::DoModal() {
    if (g_pCustomizeHooks) return IDCANCEL;
    m_pBars->SetCustomizeMode(true);
    if (CWinApp* app = AfxGetApp()) app->EnableModeless(false);
    HWND owner = GetSafeOwner();
    static CTkCustomizeHooks hooks;
    hooks = CTkCustomizeHooks();
    hooks.sheet = this;
    g_pCustomizeHooks = &hooks;
    if (owner) {
        hooks.mouse = ::SetWindowsHookExW(WH_MOUSE, MouseHookProc, nullptr, ::GetCurrentThreadId());
        hooks.keyboard = ::SetWindowsHookExW(WH_KEYBOARD, KeyboardHookProc, nullptr, ::GetCurrentThreadId());
    }
    if (HWND capture = ::GetCapture()) ::SendMessageW(capture, WM_CANCELMODE, 0, 0);

    if (!CreateSheetWindow()) {
        EndCustomizing(false);
        return -1;
    }
    m_pBars->SetCustomizeSheet(this);
    int result = RunModalLoop(MLF_SHOWONIDLE);
    EndCustomizing(true);
    return result;
}

void CTkCustomizeSheet::EndCustomizing(bool created) {
    if (created && m_hWnd) {
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSIZE | SWP_NOMOVE);
    }
    CTkCustomizeHooks* hooks = g_pCustomizeHooks;
    if (hooks->mouse) ::UnhookWindowsHookEx(hooks->mouse);
    if (hooks->keyboard) ::UnhookWindowsHookEx(hooks->keyboard);
    hooks->mouse = hooks->keyboard = nullptr;
    if (created && m_hWnd) {
        HWND owner = GetSafeOwner();
        if (owner && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(owner);
        DestroyWindow();
    }
    m_pBars->SetCustomizeSheet(nullptr);
    if (CWinApp* app = AfxGetApp()) app->EnableModeless(true);
    m_pBars->SetCustomizeMode(false);
    hooks->sheet = nullptr;
    g_pCustomizeHooks = nullptr;
}

bool CTkCustomizeSheet::OnInitDialog() {
    if (HWND ok = ::GetDlgItem(m_hWnd, IDOK)) ::ShowWindow(ok, SW_HIDE);
    CString close;
    if (TkLoadString(IDS_TK_CUSTOMIZE_CLOSE, close)) SetDlgItemText(IDCANCEL, close);
    return true;
}

char CTkCustomizeSheet::MnemonicOf(const CString& caption) {
    char mnemonic = 0;
    const int length = caption.GetLength();
    for (int i = 0; i < length; ++i) {
        if (caption[i] != '&') continue;
        if (i + 1 >= length) break;             // a trailing "&" marks nothing
        if (caption[i + 1] == '&') {            // "&&" is an ampersand
            ++i;
            continue;
        }
        char ch = caption[i + 1];
        if (ch != ' ') mnemonic = (char)(UINT_PTR)::CharUpperA((LPSTR)(UINT_PTR)(unsigned char)ch);
        ++i;
    }
    return mnemonic;
}

int CTkCustomizeSheet::FindTabForKey(UINT virtualKey) const {
    HWND tab = GetTabControl();
    if (!tab || !virtualKey) return -1;
    int count = (int)::SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 128;
        if (!::SendMessageW(tab, TCM_GETITEMW, i, (LPARAM)&item)) continue;
        char mnemonic = MnemonicOf(CString(text));
        if (mnemonic && (UINT)(unsigned char)mnemonic == virtualKey) return i;
    }
    return -1;
}

bool CTkCustomizeSheet::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_SYSKEYDOWN) {
        int index = FindTabForKey((UINT)msg->wParam);
        if (index >= 0) {
            SetActivePage(index);
            return true;
        }
    }
    return CPropertySheet::PreTranslateMessage(msg);
}

CTkCustomizeFilterState CTkCustomizeSheet::GetFilterState() const {
    CTkCustomizeFilterState state;
    state.frame = m_pFrame ? m_pFrame->m_hWnd : nullptr;
    state.sheet = m_hWnd;
    state.foreground = ::GetForegroundWindow();
    state.focus = ::GetFocus();
    state.capture = ::GetCapture();
    state.manager = m_pBars->GetCommandBars();
    return state;
}

bool CTkCustomizeSheet::MousePasses(const CTkCustomizeFilterState& state, UINT message, HWND target, POINT point) {
    if (message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE) return true;
    CTkMouseTracker& tracker = CTkMouseTracker::ForThread();
    if (tracker.HasTrackedBars()) {
        // Popups of no manager (the sheet's own menus) work as usual; the others see the
        // message as their tracker would, so a click elsewhere closes them.
        CTkCommandBar* bar = BarOfWindow(target);
        if (bar && !bar->GetManager()) return true;
        for (ITkTrackedBar* tracked : tracker.GetTrackedBars()) {
            CTkCommandBar* trackedBar = BarOfWindow(tracked ? tracked->GetTrackedWindow() : nullptr);
            if (trackedBar && !trackedBar->GetManager()) {
                tracker.FilterMouse(message, point);
                break;
            }
        }
    }
    if (!IsSelfOrChild(state.frame, target)) return true;
    if (IsSelfOrChild(state.sheet, target) || IsSelfOrChild(state.foreground, target)) return true;
    CTkCommandBar* bar = BarOfWindow(target);
    return bar && bar->GetManager() == state.manager;
}

bool CTkCustomizeSheet::KeyPasses(const CTkCustomizeFilterState& state) {
    if (IsSelfOrChild(state.sheet, state.focus)) return true;
    if (state.focus && AsCommandBar(::GetParent(state.focus))) return true;  // an edit control on a bar
    if (IsSelfOrChild(state.foreground, state.focus)) return true;
    return state.capture != nullptr;
}

LRESULT CALLBACK CTkCustomizeSheet::MouseHookProc(int code, WPARAM wParam, LPARAM lParam) {
    CTkCustomizeHooks* hooks = g_pCustomizeHooks;
    HHOOK next = hooks ? hooks->mouse : nullptr;
    if (code < 0 || !hooks || !hooks->sheet) return ::CallNextHookEx(next, code, wParam, lParam);
    const auto* mouse = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
    if (MousePasses(hooks->sheet->GetFilterState(), (UINT)wParam, mouse->hwnd, mouse->pt))
        return ::CallNextHookEx(next, code, wParam, lParam);
    return 1;
}

LRESULT CALLBACK CTkCustomizeSheet::KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam) {
    CTkCustomizeHooks* hooks = g_pCustomizeHooks;
    HHOOK next = hooks ? hooks->keyboard : nullptr;
    if (code < 0 || !hooks || !hooks->sheet) return ::CallNextHookEx(next, code, wParam, lParam);
    if (KeyPasses(hooks->sheet->GetFilterState())) return ::CallNextHookEx(next, code, wParam, lParam);
    return 1;
}
