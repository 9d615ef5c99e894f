// The class library's own: how its objects are bound to the windows they make.
#pragma once

#include "afxwin.h"

// The next window created on this thread becomes the given object's (the creation hook).
void AfxHookWindowCreate(CWnd* wnd);
// Ends the hook; true when the window was attached.
bool AfxUnhookWindowCreate();
// Hooks the creation of the object's window (AfxHookWindowCreate) and marks it as being made for
// the scope's life: a window that is destroyed before its creation returns (a dialog template
// whose controls cannot be made, say) does not end the object's life (no PostNcDestroy), so a
// creation that fails leaves the object to its caller.
class CAfxCreatingWindow {
public:
    explicit CAfxCreatingWindow(CWnd* wnd);
    ~CAfxCreatingWindow();
    CAfxCreatingWindow(const CAfxCreatingWindow&) = delete;
    CAfxCreatingWindow& operator=(const CAfxCreatingWindow&) = delete;
    // Whether the object's window is being made on this thread.
    static bool IsCreating(const CWnd* wnd);

private:
    CWnd* m_wnd;
    CAfxCreatingWindow* m_outer;
};
