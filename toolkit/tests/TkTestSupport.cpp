#include "TkTestSupport.h"

#include "DesktopSupport.h"
#include "images/TkIconStore.h"

namespace {
class CTkTestApp : public CWinApp {
public:
    CTkTestApp() : CWinApp(nullptr) {}
};
CTkTestApp theApp;

}  // namespace

bool TkUseOwnDesktop(const wchar_t* name) {
    return TestUseOwnDesktop(name);
}

namespace {
struct CInit {
    bool ready;
    CInit() {
        theApp.InitApplication();
        ready = TkUseOwnDesktop(L"TarvockToolkitTests");
    }
} init;
}  // namespace

bool TkDesktopReady() {
    return init.ready;
}

void TkPumpPending() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

bool TkPumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    return TestPumpUntil(condition, timeoutMs);
}

bool TkBringToFront(HWND top, DWORD timeoutMs) {
    auto inFront = [top] { return ::GetForegroundWindow() == top && ::GetActiveWindow() == top; };
    const DWORD start = ::GetTickCount();
    while (!inFront()) {
        if (::GetTickCount() - start > timeoutMs) return false;
        ::SetForegroundWindow(top);
        ::SetActiveWindow(top);
        TkPumpUntil(inFront, 200);
    }
    return true;
}

HWND TkFindThreadWindow(const wchar_t* className, const wchar_t* title) {
    struct CSearch {
        const wchar_t* className;
        const wchar_t* title;
        HWND found;
    } search = {className, title, nullptr};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* search = reinterpret_cast<CSearch*>(parameter);
            wchar_t text[256] = L"";
            if (search->className && (!::GetClassNameW(window, text, 256) || ::lstrcmpW(text, search->className)))
                return TRUE;
            if (search->title && (::GetWindowTextW(window, text, 256) < 0 || ::lstrcmpW(text, search->title)))
                return TRUE;
            search->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

CTkTestCanvas::CTkTestCanvas(int width, int height, COLORREF fill) : m_width(width), m_height(height) {
    BITMAPINFO info = TkTopDownInfo(width, height);
    void* bits = nullptr;
    m_bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<DWORD*>(bits);
    m_dc = ::CreateCompatibleDC(nullptr);
    m_old = ::SelectObject(m_dc, m_bitmap);
    RECT all = {0, 0, width, height};
    HBRUSH brush = ::CreateSolidBrush(fill);
    ::FillRect(m_dc, &all, brush);
    ::DeleteObject(brush);
}

CTkTestCanvas::~CTkTestCanvas() {
    ::SelectObject(m_dc, m_old);
    ::DeleteDC(m_dc);
    ::DeleteObject(m_bitmap);
}

COLORREF CTkTestCanvas::At(int x, int y) const {
    ::GdiFlush();
    DWORD pixel = m_bits[y * m_width + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

BYTE CTkTestCanvas::AlphaAt(int x, int y) const {
    ::GdiFlush();
    return (BYTE)(m_bits[y * m_width + x] >> 24);
}
