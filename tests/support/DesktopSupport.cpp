#include "DesktopSupport.h"

#include <cstdio>
#include <string>

namespace {

bool WindowsCanBeCreated(DWORD timeoutMs) {
    for (DWORD waited = 0;; waited += 100) {
        HWND probe = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        if (probe) {
            ::DestroyWindow(probe);
            return true;
        }
        if (waited >= timeoutMs) return false;
        ::Sleep(100);
    }
}

}  // namespace

bool TestUseDesktop(const wchar_t* name, DWORD timeoutMs) {
    HDESK desktop = ::CreateDesktopW(name, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    return desktop && ::SetThreadDesktop(desktop) && WindowsCanBeCreated(timeoutMs);
}

bool TestUseOwnDesktop(const wchar_t* name) {
    // A desktop that is late says so on the test's output, with how long it took.
    const DWORD start = ::GetTickCount();
    if (TestUseDesktop(name, 20000)) return true;
    std::fprintf(stderr, "desktop %ls: no window could be created in %lu ms (error %lu); trying one of this process's own\n",
                 name, ::GetTickCount() - start, ::GetLastError());
    const std::wstring own = std::wstring(name) + L"-" + std::to_wstring(::GetCurrentProcessId());
    const bool ready = TestUseDesktop(own.c_str(), 40000);
    std::fprintf(stderr, "desktop %ls: %s after %lu ms (error %lu)\n", own.c_str(), ready ? "ready" : "not ready",
                 ::GetTickCount() - start, ::GetLastError());
    return ready;
}

bool TestPumpUntil(const std::function<bool()>& condition, DWORD timeoutMs,
                   const std::function<bool(MSG*)>& preTranslate) {
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > timeoutMs) return condition();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (preTranslate && preTranslate(&msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return true;
}

INPUT TestKeyInput(WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

void TestSendKeys(std::initializer_list<INPUT> keys) {
    ::SendInput((UINT)keys.size(), const_cast<INPUT*>(keys.begin()), sizeof(INPUT));
}

void TestPressKey(WORD key, bool withAlt) {
    if (withAlt)
        TestSendKeys({TestKeyInput(VK_MENU, false), TestKeyInput(key, false), TestKeyInput(key, true),
                      TestKeyInput(VK_MENU, true)});
    else
        TestSendKeys({TestKeyInput(key, false), TestKeyInput(key, true)});
}

INPUT TestMouseInput(POINT at, DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (at.x * 65535 + ::GetSystemMetrics(SM_CXSCREEN) / 2) / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = (at.y * 65535 + ::GetSystemMetrics(SM_CYSCREEN) / 2) / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
    return input;
}

void TestSendClick(POINT at) {
    INPUT input[2] = {TestMouseInput(at, MOUSEEVENTF_LEFTDOWN), TestMouseInput(at, MOUSEEVENTF_LEFTUP)};
    ::SendInput(2, input, sizeof(INPUT));
}

bool TestInputUntil(const std::function<void()>& input, const std::function<bool()>& arrived) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        input();
        if (arrived()) return true;
    }
    return false;
}

namespace {

struct CInputScene {
    std::wstring desktop;
    std::function<bool()> scene;
    bool desktopReady = false;
};

DWORD WINAPI RunInputScene(void* parameter) {
    auto* scene = static_cast<CInputScene*>(parameter);
    scene->desktopReady = TestUseOwnDesktop(scene->desktop.c_str());
    if (!scene->desktopReady) return 0;
    for (int attempt = 0; attempt < 3; ++attempt)
        if (scene->scene()) break;
    return 0;
}

}  // namespace

bool TestRunInputScene(const wchar_t* desktop, std::function<bool()> scene, DWORD timeoutMs) {
    // A scene that does not end keeps its state: it is left to the process's end.
    auto* state = new CInputScene{desktop, std::move(scene)};
    HANDLE thread = ::CreateThread(nullptr, 0, RunInputScene, state, 0, nullptr);
    if (!thread) {
        delete state;
        return false;
    }
    const bool ended = ::WaitForSingleObject(thread, timeoutMs) == WAIT_OBJECT_0;
    ::CloseHandle(thread);
    if (!ended) return false;
    const bool ready = state->desktopReady;
    delete state;
    return ready;
}
