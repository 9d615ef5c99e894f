// The program's windows under real input in tests: its message loop (the application's
// pre-translation first), input given again until it takes effect, a frame brought to the front
// of its desktop, and a profile of a test's own for the bars' layout.
#pragma once

#include <windows.h>

#include <functional>

// Pumps the thread's messages as the program's loop does until the condition holds or the time is
// up; returns the condition.
bool PumpAsProgramUntil(const std::function<bool()>& condition, DWORD timeoutMs);
// Pumps for 300 ms: what the last input started (the release of Alt, say) is handled.
void SettleAsProgram();
// Gives the input until the condition holds within 1.5 s of pumping, three times at the most.
bool InputAsProgramUntil(const std::function<void()>& input, const std::function<bool()>& condition);
// Brings the top-level window to the front of its desktop (another program may have taken it) and
// puts the focus in the child; true when both hold.
bool BringToFrontWithFocus(HWND window, HWND focus);

// While it lives the application keeps the bars' layouts under a profile of this name, empty at
// the start and removed at the end (other test programs close windows of the same titles).
class CLayoutProfileScope {
public:
    explicit CLayoutProfileScope(const char* profile);
    ~CLayoutProfileScope();
    CLayoutProfileScope(const CLayoutProfileScope&) = delete;
    CLayoutProfileScope& operator=(const CLayoutProfileScope&) = delete;
    // Forgets the layouts kept so far under the profile: a scene that starts again opens its
    // windows as at first.
    static void Clear(const char* profile);

private:
    const char* m_profile;
    const char* m_saved;
};
