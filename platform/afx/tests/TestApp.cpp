#include "TestApp.h"

#include "DesktopSupport.h"

CTestApp theTestApp;

namespace {
// The application object learns its name from the program's resources once.
struct CInit {
    CInit() { theTestApp.InitApplication(); }
} init;
}  // namespace

CMessageBoxRecorder::CMessageBoxRecorder(int answer) {
    m_previous = AfxSetMessageBoxHook([this, answer](const CString& text, UINT type) {
        boxes.push_back({text, type});
        return answer;
    });
}

CMessageBoxRecorder::~CMessageBoxRecorder() {
    AfxSetMessageBoxHook(std::move(m_previous));
}

void PumpPending() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!theTestApp.PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

bool UsePrivateDesktop(const wchar_t* name) {
    return TestUseOwnDesktop(name);
}

bool WaitForDesktopReady() {
    // The desktop's own process starts with the first window; until it is up, creation fails.
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
