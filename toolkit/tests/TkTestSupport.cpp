#include "TkTestSupport.h"

#include "images/TkIconStore.h"

namespace {
class CTkTestApp : public CWinApp {
public:
    CTkTestApp() : CWinApp(nullptr) {}
};
CTkTestApp theApp;

}  // namespace

bool TkUseOwnDesktop(const wchar_t* name) {
    HDESK desktop = ::CreateDesktopW(name, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    if (!desktop || !::SetThreadDesktop(desktop)) return false;
    for (int attempt = 0; attempt < 150; ++attempt) {
        HWND probe = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        if (probe) {
            ::DestroyWindow(probe);
            return true;
        }
        ::Sleep(100);
    }
    return false;
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
    DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > timeoutMs) return condition();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        TkPumpPending();
    }
    return true;
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
