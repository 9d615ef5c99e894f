// One icon in the taskbar's notification area: a hidden window that receives the icon's
// callbacks and turns them into a context menu and a default command for its owner.
#pragma once

#include "afxwin.h"
#include "images/TkIconStore.h"

#include <shellapi.h>

#include <memory>
#include <vector>

// The callback message of the icon, first offered to the notification window.
const UINT TK_WM_TRAYNOTIFY = 0x0DD1;

class CTkNotifyIconWnd : public CWnd {
public:
    using PFNSHELLNOTIFYICON = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAA);
    static const UINT kAnimationTimer = 1001;

    CTkNotifyIconWnd();
    ~CTkNotifyIconWnd() override;

    virtual bool Create(const char* tip, UINT unused, CWnd* notifyWnd, UINT iconResourceId);
    virtual bool Create(const char* tip, CWnd* notifyWnd, UINT iconResourceId, UINT iconId, UINT defaultItem,
                        bool byPosition);
    virtual void StopAnimation();
    virtual void StartAnimation(UINT periodMs);
    virtual bool SetAnimationIcons(const UINT* iconIds, const char* const* tips, int count);
    virtual bool SetAnimationIcons(const UINT* iconIds, int count, const char* const* tips);
    virtual LRESULT OnTrayCallback(WPARAM wParam, LPARAM lParam);
    virtual bool ShowTrayIcon();
    virtual bool AttachToHiddenParent(CWnd* wnd);
    virtual void ClearAnimation();
    virtual void SetIconFromResourceId(UINT iconResourceId) { SetIconFromResource(iconResourceId); }
    virtual void SetAnimationTimer(UINT timerId, UINT periodMs);

    bool AddTrayIcon();
    bool RemoveTrayIcon();
    bool HideTrayIcon();
    bool SetTipText(const char* text);
    bool SetIconFromResource(UINT iconResourceId);
    bool SetIconHandle(HICON icon);

    // What the shell is given and what the object knows of its state.
    const NOTIFYICONDATAA& GetRecord() const { return m_nid; }
    const CString& GetTipText() const { return m_strTip; }
    int GetTipLimit() const { return m_nTipLimit; }
    bool IsHidden() const { return m_bHidden; }
    bool IsRemoved() const { return m_bRemoved; }
    bool IsReAddPending() const { return m_bReAdd; }
    int GetFrameCount() const { return (int)m_frames.size(); }
    int GetFrameIndex() const { return m_nFrame; }
    CWnd* GetHiddenParent() const { return m_pHiddenParent.get(); }

    // The shell function; tests put a recorder in its place.
    static PFNSHELLNOTIFYICON s_pfnShellNotifyIcon;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void OnAnimationTick();
    HICON LoadSmallIcon(UINT iconResourceId) const;
    bool Notify(DWORD message, UINT flags);

    NOTIFYICONDATAA m_nid = {};
    UINT m_nCreateFlags = 0;
    CString m_strTip;
    int m_nTipLimit = 64;
    UINT m_nIconResourceId = 0;
    CWnd* m_pNotifyWnd = nullptr;
    UINT m_nDefaultItem = 0;
    bool m_bDefaultByPosition = true;
    bool m_bHidden = true;
    bool m_bRemoved = true;
    bool m_bReAdd = false;
    UINT m_nAnimationTimer = kAnimationTimer;
    struct CFrame {
        HICON icon;
        CString tip;
    };
    std::vector<CFrame> m_frames;
    int m_nFrame = 0;
    CTkIconHolder m_icon;
    std::unique_ptr<CWnd> m_pHiddenParent;
};
