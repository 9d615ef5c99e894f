// Where the main window gets a new read window for a message it announced.
#pragma once

#include "afxwin.h"

struct ISMSMessage2;

class CReadWindowFactory {
public:
    using PFNOPENREADWINDOW = CWnd* (*)(ISMSMessage2* message);

    // Opens a new read window showing the message (the window takes its own reference through
    // SetMessage). Null when no window was made.
    static CWnd* Open(ISMSMessage2* message) { return s_pfnOpen ? s_pfnOpen(message) : nullptr; }

    // The program's own factory: a new read window (null when it could not be made).
    static CWnd* NewReadWindow(ISMSMessage2* message);

    // The factory Open goes through; tests put a recorder in its place.
    static PFNOPENREADWINDOW s_pfnOpen;
};
