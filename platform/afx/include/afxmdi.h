// The multiple-document frame: a frame whose client area is the system's MDI client, and the
// document child frames that live in it. Only what the command bars and their tests need.
#pragma once

#include "afxwin.h"

enum : UINT {
    AFX_IDM_FIRST_MDICHILD = 0xFF00,  // the window menu's items of the open children
};

class CMDIChildWnd;

class CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    CMDIFrameWnd() = default;

    // Creates the MDI client in the frame's client area (it takes what the bars leave, as a
    // view would). windowMenu receives the children's items; it may be null.
    bool CreateClient(HMENU windowMenu = nullptr);
    HWND GetClientHwnd() const { return m_hWndMDIClient; }
    // The active child, none when no child is open; maximized (optional) tells whether it is.
    CMDIChildWnd* MDIGetActive(bool* maximized = nullptr) const;
    HWND MDIGetActiveHwnd(bool* maximized = nullptr) const;
    void MDIActivate(HWND child) const;
    void MDIMaximize(HWND child) const;
    void MDIRestore(HWND child) const;

    bool PreTranslateMessage(MSG* msg) override;

    HWND m_hWndMDIClient = nullptr;

protected:
    // Everything the frame does not handle itself goes to the frame procedure of the MDI system.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CMDIChildWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIChildWnd)
public:
    CMDIChildWnd() = default;

    // Creates the child in the frame's MDI client (WM_MDICREATE). className may be null.
    bool Create(const char* className, const char* title, DWORD style, const RECT& rect, CMDIFrameWnd* frame);
    CMDIFrameWnd* GetMDIFrame() const { return m_pMDIFrame; }
    // Closes the child through its MDI client.
    void MDIDestroy();

    // The resource id of the child's document type (menu, icon, title); 0 when it has none.
    UINT m_nIDResource = 0;

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnClose();

    CMDIFrameWnd* m_pMDIFrame = nullptr;
    DECLARE_MESSAGE_MAP()
};
