#include "ContactWindowsTest.h"

#include "shared/Helpers.h"

namespace {

// The texts of every <element> in an XML text, without parsing namespaces.
std::vector<std::wstring> ElementTexts(const std::wstring& xml, const wchar_t* element) {
    std::vector<std::wstring> texts;
    const std::wstring open = std::wstring(L"<") + element;
    const std::wstring close = std::wstring(L"</") + element + L">";
    for (size_t at = xml.find(open); at != std::wstring::npos; at = xml.find(open, at + 1)) {
        size_t after = at + open.size();
        if (after >= xml.size() || (xml[after] != L'>' && xml[after] != L' ' && xml[after] != L'/')) continue;
        size_t start = xml.find(L'>', after);
        if (start == std::wstring::npos) break;
        if (xml[start - 1] == L'/') {
            texts.push_back(L"");
            continue;
        }
        size_t end = xml.find(close, start);
        if (end == std::wstring::npos) break;
        texts.push_back(xml.substr(start + 1, end - start - 1));
    }
    return texts;
}

}  // namespace

void ContactWindowsTest::SetUp() {
    StandinTest::SetUp();
    standin::PointSdkAtStandin();
    CLoginState::ReleaseCachedCollections();
    ASSERT_TRUE(CLoginState::SignInCore("test", "test", "TEST01", true));
    Log().Reset();
    m_boxes.boxes.clear();
}

void ContactWindowsTest::TearDown() {
    CLoginState::ReleaseCachedCollections();
    StandinTest::TearDown();
}

void ContactWindowsTest::WarmCaches() {
    CComPtr<IContactService> service = NewService();
    CCachedCollection contacts(CCachedCollection::kContacts), groups(CCachedCollection::kGroups);
    ASSERT_TRUE(contacts.Fetch(service));
    ASSERT_TRUE(groups.Fetch(service));
    Log().Reset();
}

CComPtr<IContactService> ContactWindowsTest::NewService(const char* password) const {
    CComPtr<IContactService> service = CreateSdkObject<IContactService>(CLSID_ContactService, "ContactService");
    if (service) {
        service->Initialise(CComBSTR(L"test"), CComBSTR(CString(password).Wide().c_str()), CComBSTR(L"TEST01"), MissingArgument());
    }
    return service;
}

std::wstring ContactWindowsTest::LastField(const wchar_t* operation, const wchar_t* element) const {
    std::vector<std::wstring> texts = LastFields(operation, element);
    return texts.empty() ? std::wstring() : texts[0];
}

std::vector<std::wstring> ContactWindowsTest::LastFields(const wchar_t* operation, const wchar_t* element) const {
    std::vector<standin::LoggedRequest> requests = Log().ByOperation(operation);
    if (requests.empty()) return {};
    return ElementTexts(requests.back().body, element);
}

CString ContactText(IContact* contact, HRESULT (STDMETHODCALLTYPE IContact::*get)(BSTR*)) {
    CComBSTR text;
    if (!contact || FAILED((contact->*get)(&text))) return CString();
    return CString(text);
}

ULONG RefCount(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

// ---------------------------------------------------------------------------------------------
// CDialogScript.

namespace {

thread_local CDialogScript* t_script = nullptr;

// The thread's visible, enabled dialog windows; the innermost modal one is the enabled one.
HWND EnabledDialog() {
    struct Search {
        HWND found = nullptr;
    } search;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            wchar_t className[16] = {};
            ::GetClassNameW(window, className, 16);
            if (wcscmp(className, L"#32770") == 0 && ::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
                reinterpret_cast<Search*>(param)->found = window;
                return FALSE;
            }
            return TRUE;
        },
        (LPARAM)&search);
    return search.found;
}

void EndEveryDialog() {
    while (HWND dialog = EnabledDialog()) {
        ::EndDialog(dialog, IDABORT);
        ::ShowWindow(dialog, SW_HIDE);
    }
}

}  // namespace

CDialogScript::CDialogScript() : m_outer(t_script) {
    t_script = this;
    m_timer = ::SetTimer(nullptr, 0, 20, &CDialogScript::OnTimer);
}

CDialogScript::~CDialogScript() {
    ::KillTimer(nullptr, m_timer);
    t_script = m_outer;
}

CDialogScript& CDialogScript::Then(const char* caption, Step step) {
    m_steps.push_back({caption, std::move(step)});
    return *this;
}

void CALLBACK CDialogScript::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    CDialogScript* script = t_script;
    if (!script || script->m_next >= script->m_steps.size() || script->m_timedOut) return;
    HWND dialog = EnabledDialog();
    const Entry& entry = script->m_steps[script->m_next];
    if (!dialog || CWnd::FromHandle(dialog)->GetWindowText() != entry.caption) {
        if (++script->m_waited > 750) {
            script->m_timedOut = true;
            ADD_FAILURE() << "no dialog \"" << (const char*)entry.caption << "\" for step " << script->m_next;
            EndEveryDialog();
        }
        return;
    }
    script->m_waited = 0;
    ++script->m_next;  // before the step: a step may run a nested modal loop
    entry.step(dialog);
}

void CDialogScript::Type(HWND dialog, int id, const char* text) {
    ::SetDlgItemTextW(dialog, id, CString(text).Wide().c_str());
}

CString CDialogScript::Text(HWND dialog, int id) {
    return CWnd::FromHandle(::GetDlgItem(dialog, id))->GetWindowText();
}

void CDialogScript::Click(HWND dialog, int id) {
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)::GetDlgItem(dialog, id));
}

bool CDialogScript::Select(HWND dialog, int id, const char* text) {
    HWND list = ::GetDlgItem(dialog, id);
    LRESULT index = ::SendMessageW(list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)CString(text).Wide().c_str());
    if (index == LB_ERR) return false;
    ::SendMessageW(list, LB_SETCURSEL, index, 0);
    return true;
}

bool CDialogScript::SelectCombo(HWND dialog, int id, const char* text) {
    HWND combo = ::GetDlgItem(dialog, id);
    LRESULT index = ::SendMessageW(combo, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)CString(text).Wide().c_str());
    if (index == CB_ERR) return false;
    ::SendMessageW(combo, CB_SETCURSEL, index, 0);
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)combo);
    return true;
}

void CDialogScript::DoubleClick(HWND dialog, int id) {
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_DBLCLK), (LPARAM)::GetDlgItem(dialog, id));
}

void CDialogScript::SelectTab(HWND dialog, int id, int tab) {
    HWND tabs = ::GetDlgItem(dialog, id);
    ::SendMessageW(tabs, TCM_SETCURSEL, tab, 0);
    NMHDR change = {tabs, (UINT_PTR)id, (UINT)TCN_SELCHANGE};
    ::SendMessageW(dialog, WM_NOTIFY, id, (LPARAM)&change);
}

std::vector<CString> CDialogScript::Entries(HWND dialog, int id) {
    std::vector<CString> entries;
    HWND control = ::GetDlgItem(dialog, id);
    wchar_t className[16] = {};
    ::GetClassNameW(control, className, 16);
    bool combo = _wcsicmp(className, L"ComboBox") == 0;
    int count = (int)::SendMessageW(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        int length = (int)::SendMessageW(control, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i, 0);
        std::wstring text(length + 1, L'\0');
        ::SendMessageW(control, combo ? CB_GETLBTEXT : LB_GETTEXT, i, (LPARAM)&text[0]);
        text.resize(length);
        entries.push_back(CString(text.c_str()));
    }
    return entries;
}

CString CDialogScript::Selected(HWND dialog, int id) {
    int index = (int)::SendDlgItemMessageW(dialog, id, LB_GETCURSEL, 0, 0);
    std::vector<CString> entries = Entries(dialog, id);
    return index >= 0 && index < (int)entries.size() ? entries[index] : CString();
}
