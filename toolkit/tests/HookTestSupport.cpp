#include "HookTestSupport.h"

#include "DesktopSupport.h"

#include <map>

namespace {
std::map<HWND, std::vector<MSG>>& Recorded() {
    static std::map<HWND, std::vector<MSG>> recorded;
    return recorded;
}

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Recorded()[hwnd].push_back(MSG{hwnd, message, wParam, lParam, 0, {0, 0}});
    if (message == WM_APP + 1) return kRecordingAnswer;
    if (message == WM_NCDESTROY) Recorded().erase(hwnd);
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

const wchar_t* RecordingClass() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
        wc.lpszClassName = L"TkRecordingWindow";
        registered = ::RegisterClassW(&wc) != 0;
    }
    return L"TkRecordingWindow";
}
}  // namespace

HWND TkCreateRecordingWindow(const RECT& rect, DWORD exStyle) {
    return ::CreateWindowExW(exStyle, RecordingClass(), L"", WS_POPUP, rect.left, rect.top, rect.right - rect.left,
                             rect.bottom - rect.top, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

int TkRecordedCount(HWND hwnd, UINT message) {
    int count = 0;
    for (const MSG& msg : Recorded()[hwnd])
        if (msg.message == message) ++count;
    return count;
}

MSG TkLastRecorded(HWND hwnd, UINT message) {
    const auto& messages = Recorded()[hwnd];
    for (auto it = messages.rbegin(); it != messages.rend(); ++it)
        if (it->message == message) return *it;
    return MSG{};
}

void TkClearRecorded(HWND hwnd) {
    Recorded()[hwnd].clear();
}

CTkFakeBar::~CTkFakeBar() {
    CTkMouseTracker::ForThread().ForgetBar(this);
    if (m_hWnd) ::DestroyWindow(m_hWnd);
}

bool CTkFakeBar::Create(const RECT& rect) {
    m_hWnd = TkCreateRecordingWindow(rect);
    return m_hWnd != nullptr;
}

void CTkFakeBar::LeaveTracking() {
    ++m_left;
    for (auto it = m_chain.rbegin(); it != m_chain.rend(); ++it) CTkMouseTracker::ForThread().UntrackBar(*it);
}

INPUT TkMouseInput(POINT at, DWORD flags) {
    return TestMouseInput(at, flags);
}

INPUT TkKeyInput(WORD key, bool up) {
    return TestKeyInput(key, up);
}

void TkSendKey(WORD key) {
    TestPressKey(key);
}

void TkSendClick(POINT at) {
    TestSendClick(at);
}
