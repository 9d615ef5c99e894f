// The test programs' application object and a recorder of message boxes.
#pragma once

#include "afxwin.h"

#include <vector>

class CTestApp : public CWinApp {
public:
    CTestApp() : CWinApp(nullptr) {}
};

extern CTestApp theTestApp;

// Records every message box while it lives and answers with the given button.
class CMessageBoxRecorder {
public:
    struct Box {
        CString text;
        UINT type;
    };
    explicit CMessageBoxRecorder(int answer = IDOK);
    ~CMessageBoxRecorder();
    std::vector<Box> boxes;

private:
    AFX_MSGBOX_HOOK m_previous;
};

// Dispatches the thread's pending messages.
void PumpPending();

// Moves the thread to a desktop of its own (before it creates a window), so that the desktop's
// window is made with this process's display even when the prefix's default desktop has none.
bool UsePrivateDesktop(const wchar_t* name);
// Waits (up to 15 s) until a window can be created on the thread's desktop.
bool WaitForDesktopReady();
