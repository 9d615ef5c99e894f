// A desktop of the test process's own, on the test display, for tests that open windows; pumping
// messages, real key input and scenes of real input on a desktop of their own.
#pragma once

#include <windows.h>

// Makes the calling thread use a desktop of that name and waits until windows can be created on
// it: the desktop's own process starts with the first window and, under load, late. When the
// named desktop does not come up (its process may be ending as another test program leaves it),
// a desktop of the name and this process's id is used instead. False when no desktop came up.
bool TestUseOwnDesktop(const wchar_t* name);
// Makes the calling thread use the named desktop and waits until windows can be created on it;
// false when they cannot within the time.
bool TestUseDesktop(const wchar_t* name, DWORD timeoutMs);

#include <functional>
#include <initializer_list>

// Pumps the thread's messages until the condition holds or the time is up; returns the condition.
// When preTranslate is given each message goes to it first and is dispatched only when it answers
// false, as a program's message loop offers each message to its application.
bool TestPumpUntil(const std::function<bool()>& condition, DWORD timeoutMs,
                   const std::function<bool(MSG*)>& preTranslate = nullptr);

// One key event for SendInput: the key going down, or coming up.
INPUT TestKeyInput(WORD key, bool up);
// Sends the key events, in order, through the system's input as a keyboard sends them.
void TestSendKeys(std::initializer_list<INPUT> keys);
// Presses and releases a key; with Alt, Alt goes down before it and comes up after it (Alt+letter
// as a user types it).
void TestPressKey(WORD key, bool withAlt = false);
// A mouse event for SendInput at a point of the screen (absolute, with a move to the point).
INPUT TestMouseInput(POINT at, DWORD flags);
// A click of the left button at a point of the screen, through the system's input.
void TestSendClick(POINT at);
// Gives the input until `arrived` (which pumps and waits a while) sees it take effect, three times
// at the most: an input of the shared display may go astray.
bool TestInputUntil(const std::function<void()>& input, const std::function<bool()>& arrived);

// Runs a scene of real input on a thread of its own, on the named desktop of this process's own
// (real input reaches that desktop's foreground window only). The scene runs again, three times at
// the most, while it answers false (another program took the foreground). False when no desktop
// came up or the scene did not end in time; what the scene writes must outlive such a scene.
bool TestRunInputScene(const wchar_t* desktop, std::function<bool()> scene, DWORD timeoutMs);
