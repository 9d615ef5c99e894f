// Windows of our small class library: command targets and message maps, CWnd with its handle
// map and creation hook, frames, views, dialogs with data exchange, controls, GDI wrappers and
// the application object with its message pump, profile and message-box choke point.
#pragma once

#include "afx.h"

#include <commctrl.h>

#include <functional>
#include <map>
#include <set>

class CCmdTarget;
class CCmdUI;
class CWnd;
class CWinApp;
class CDC;
class CDataExchange;

// Flags of CWnd::RunModalLoop.
enum : DWORD {
    MLF_NOIDLEMSG = 0x0001,
    MLF_NOKICKIDLE = 0x0002,
    MLF_SHOWONIDLE = 0x0004,
};

// Well-known identifiers of the class library.
enum : UINT {
    CN_COMMAND = 0,
    CN_UPDATE_COMMAND_UI = (UINT)-1,
    WM_REFLECT_BASE = 0xBC00,
    WM_SIZEPARENT = 0x0361,
    WM_INITIALUPDATE = 0x0364,
    WM_IDLEUPDATECMDUI = 0x0363,
    WM_HELPHITTEST = 0x0366,
    WM_FLOATSTATUS = 0x036D,         // wParam FS_ flags: a floating window follows its frame
    WM_KICKIDLE = 0x036A,            // a modal loop's idle time: wParam MSGF_DIALOGBOX, lParam the idle count
    AFX_IDS_APP_TITLE = 0xE000,      // 57344
    ID_APP_EXIT = 0xE141,
    ID_FILE_CLOSE = 0xE102,          // 57602
    ID_VIEW_TOOLBAR = 0xE800,        // 59392
    ID_VIEW_STATUS_BAR = 0xE801,     // 59393
    AFX_IDW_PANE_FIRST = 0xE900,
};

// WM_FLOATSTATUS flags.
enum : UINT {
    FS_SHOW = 0x01,
    FS_HIDE = 0x02,
    FS_ACTIVATE = 0x04,
    FS_DEACTIVATE = 0x08,
    FS_ENABLE = 0x10,
    FS_DISABLE = 0x20,
    FS_SYNCACTIVE = 0x40,
};

// ---------------------------------------------------------------------------------------------
// Message maps. Each entry holds a thunk that calls the member of the class that declared it.

struct AFX_MSGCALL {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    void* extra;      // CCmdUI* for update handlers
    LRESULT result;
};

using AFX_THUNK = bool (*)(CCmdTarget*, AFX_MSGCALL&);

// Passed as pExtra with CN_COMMAND: OnCmdMsg only reports whether (and where) a handler exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
};

// A notification routed like a command (OnCmdMsg with nCode MAKELONG(code, WM_NOTIFY)): the
// ON_NOTIFY handlers of the route see the header, and the one that takes it sets the result.
struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // WM_COMMAND for commands and control notifications
    UINT nCode;     // CN_COMMAND, CN_UPDATE_COMMAND_UI, or a notification code
    UINT nID;
    UINT nLastID;
    AFX_THUNK pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                    \
protected:                                       \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                         \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                  \
        typedef theClass ThisClass [[maybe_unused]];                                   \
        typedef baseClass TheBaseClass;                                                \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                              \
    {0, 0, 0, 0, nullptr}};                                                            \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, _messageEntries}; \
    return &messageMap;                                                                \
    }

#define AFX_THIS(t) static_cast<ThisClass*>(t)

#define ON_COMMAND(id, fn) \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), [](CCmdTarget* t, AFX_MSGCALL&) { AFX_THIS(t)->fn(); return true; }},
#define ON_COMMAND_RANGE(id, last, fn) \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(last), [](CCmdTarget* t, AFX_MSGCALL& c) { AFX_THIS(t)->fn((UINT)c.wParam); return true; }},
#define ON_UPDATE_COMMAND_UI(id, fn) \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(id), [](CCmdTarget* t, AFX_MSGCALL& c) { AFX_THIS(t)->fn(static_cast<CCmdUI*>(c.extra)); return true; }},
#define ON_CONTROL(code, id, fn) \
    {WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(id), [](CCmdTarget* t, AFX_MSGCALL&) { AFX_THIS(t)->fn(); return true; }},
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_LBN_DBLCLK(id, fn) ON_CONTROL(LBN_DBLCLK, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_CONTROL(LBN_SELCHANGE, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_NOTIFY(code, id, fn) \
    {WM_NOTIFY, (UINT)(code), (UINT)(id), (UINT)(id), [](CCmdTarget* t, AFX_MSGCALL& c) { c.result = 0; AFX_THIS(t)->fn(reinterpret_cast<NMHDR*>(c.lParam), &c.result); return true; }},
#define ON_NOTIFY_REFLECT(code, fn) \
    {WM_NOTIFY + WM_REFLECT_BASE, (UINT)(code), 0, 0, [](CCmdTarget* t, AFX_MSGCALL& c) { c.result = 0; AFX_THIS(t)->fn(reinterpret_cast<NMHDR*>(c.lParam), &c.result); return true; }},
// The control handles its own notification first; when the handler answers false the parent's
// map sees the notification too.
#define ON_NOTIFY_REFLECT_EX(code, fn) \
    {WM_NOTIFY + WM_REFLECT_BASE, (UINT)(code), 0, 0, [](CCmdTarget* t, AFX_MSGCALL& c) { c.result = 0; return AFX_THIS(t)->fn(reinterpret_cast<NMHDR*>(c.lParam), &c.result); }},
// An owner-drawn control's WM_DRAWITEM, reflected to the control: DrawItem(LPDRAWITEMSTRUCT).
#define ON_WM_DRAWITEM_REFLECT() \
    {WM_DRAWITEM + WM_REFLECT_BASE, 0, 0, 0, [](CCmdTarget* t, AFX_MSGCALL& c) { AFX_THIS(t)->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(c.lParam)); c.result = TRUE; return true; }},
#define ON_MESSAGE(msg, fn) \
    {(UINT)(msg), 0, 0, 0, [](CCmdTarget* t, AFX_MSGCALL& c) { c.result = AFX_THIS(t)->fn(c.wParam, c.lParam); return true; }},
#define ON_WM_CREATE() \
    {WM_CREATE, 0, 0, 0, [](CCmdTarget* t, AFX_MSGCALL& c) { c.result = AFX_THIS(t)->OnCreate(reinterpret_cast<LPCREATESTRUCT>(c.lParam)); return true; }},
#define ON_WM_DESTROY() \
    {WM_DESTROY, 0, 0, 0, [](CCmdTarget* t, AFX_MSGCALL&) { AFX_THIS(t)->OnDestroy(); return true; }},
#define ON_WM_CLOSE() \
    {WM_CLOSE, 0, 0, 0, [](CCmdTarget* t, AFX_MSGCALL&) { AFX_THIS(t)->OnClose(); return true; }},
#define ON_WM_TIMER() \
    {WM_TIMER, 0, 0, 0, [](CCmdTarget* t, AFX_MSGCALL& c) { AFX_THIS(t)->OnTimer((UINT_PTR)c.wParam); return true; }},
#define ON_WM_SIZE() \
    {WM_SIZE, 0, 0, 0, [](CCmdTarget* t, AFX_MSGCALL& c) { AFX_THIS(t)->OnSize((UINT)c.wParam, (short)LOWORD(c.lParam), (short)HIWORD(c.lParam)); return true; }},
#define ON_WM_ENABLE() \
    {WM_ENABLE, 0, 0, 0, [](CCmdTarget* t, AFX_MSGCALL& c) { AFX_THIS(t)->OnEnable(c.wParam != 0); return true; }},
#define ON_WM_ERASEBKGND() \
    {WM_ERASEBKGND, 0, 0, 0, [](CCmdTarget* t, AFX_MSGCALL& c) { c.result = AFX_THIS(t)->OnEraseBkgnd((HDC)c.wParam); return true; }},
#define ON_WM_PAINT() \
    {WM_PAINT, 0, 0, 0, [](CCmdTarget* t, AFX_MSGCALL&) { AFX_THIS(t)->OnPaint(); return true; }},

// ---------------------------------------------------------------------------------------------

// The command target: command routing through the message map.
class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    ~CCmdTarget() override;

    // Runs the handler of a command (nCode CN_COMMAND or a control notification) or an update
    // handler (CN_UPDATE_COMMAND_UI, pExtra the CCmdUI). True when a handler was found. With
    // nCode MAKELONG(code, WM_NOTIFY) and pExtra an AFX_NOTIFY, the ON_NOTIFY handler of that
    // code and id runs instead.
    virtual bool OnCmdMsg(UINT nID, int nCode, void* pExtra);

    // Automation and interface support (afxdisp.h).
    void EnableAutomation() { m_bAutomation = true; }
    ULONG InternalAddRef();
    ULONG InternalRelease();
    HRESULT InternalQueryInterface(REFIID iid, void** object);
    ULONG ExternalAddRef() { return InternalAddRef(); }
    ULONG ExternalRelease() { return InternalRelease(); }
    HRESULT ExternalQueryInterface(REFIID iid, void** object) { return InternalQueryInterface(iid, object); }
    // Called when the reference count reaches zero: deletes the object.
    virtual void OnFinalRelease();
    struct AFX_INTERFACEMAP_ENTRY {
        const IID* piid;
        size_t offset;  // of the nested interface object in the class
    };
    struct AFX_INTERFACEMAP {
        const AFX_INTERFACEMAP* (*pfnGetBaseMap)();
        const AFX_INTERFACEMAP_ENTRY* pEntry;
    };
    static const AFX_INTERFACEMAP* GetThisInterfaceMap();
    virtual const AFX_INTERFACEMAP* GetInterfaceMap() const;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
    // Finds the entry for a message (and code and id) in this class's map chain.
    const AFX_MSGMAP_ENTRY* FindEntry(UINT message, UINT code, UINT id) const;

    LONG m_dwRef = 1;
    bool m_bAutomation = false;
};

// Holds one reference on a command target for a scope: a loop that dispatches messages, or a
// call that may take the target out of its owner, cannot free it while the scope runs.
class CHoldRef {
public:
    explicit CHoldRef(CCmdTarget* target) : m_target(target) {
        if (m_target) m_target->InternalAddRef();
    }
    ~CHoldRef() {
        if (m_target) m_target->InternalRelease();
    }
    CHoldRef(const CHoldRef&) = delete;
    CHoldRef& operator=(const CHoldRef&) = delete;

private:
    CCmdTarget* m_target;
};

// The user-interface item that an update handler enables, checks or renames.
class CCmdUI {
public:
    UINT m_nID = 0;
    UINT m_nIndex = 0;
    HMENU m_hMenu = nullptr;   // the menu holding the item, or none
    CWnd* m_pOther = nullptr;  // the window of the item when not a menu item
    bool m_bEnableChanged = false;

    virtual ~CCmdUI() = default;
    virtual void Enable(bool on = true);
    virtual void SetCheck(int check = 1);
    virtual void SetText(const char* text);
    // Asks target's update handler; without one, enables the item when target handles the
    // command and, when disableIfNoHandler, disables it otherwise. True when handled. Ids 0
    // and 0xFFFF (submenus, separators) are not updated.
    bool DoUpdate(CCmdTarget* target, bool disableIfNoHandler);
};

// ---------------------------------------------------------------------------------------------
// GDI wrappers.

class CGdiObject : public CObject {
public:
    HGDIOBJ m_hObject = nullptr;
    ~CGdiObject() override { DeleteObject(); }
    bool Attach(HGDIOBJ object);
    HGDIOBJ Detach();
    bool DeleteObject();
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF colour) { CreateSolidBrush(colour); }
    bool CreateSolidBrush(COLORREF colour) { return Attach(::CreateSolidBrush(colour)); }
    operator HBRUSH() const { return (HBRUSH)m_hObject; }
};

class CPen : public CGdiObject {
public:
    bool CreatePen(int style, int width, COLORREF colour) { return Attach(::CreatePen(style, width, colour)); }
    operator HPEN() const { return (HPEN)m_hObject; }
};

class CFont : public CGdiObject {
public:
    bool CreateFontIndirect(const LOGFONTA* font) { return Attach(::CreateFontIndirectA(font)); }
    bool CreatePointFont(int tenthsOfPoint, const char* face, CDC* dc = nullptr);
    operator HFONT() const { return (HFONT)m_hObject; }
};

class CBitmap : public CGdiObject {
public:
    bool LoadBitmap(UINT id);
    bool CreateCompatibleBitmap(CDC* dc, int width, int height);
    operator HBITMAP() const { return (HBITMAP)m_hObject; }
};

class CDC : public CObject {
public:
    HDC m_hDC = nullptr;
    CDC() = default;
    ~CDC() override;
    static CDC* FromHandle(HDC dc);
    bool Attach(HDC dc);
    HDC Detach();
    bool CreateCompatibleDC(CDC* dc);
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    HGDIOBJ SelectObject(CGdiObject* object) { return ::SelectObject(m_hDC, object->m_hObject); }
    HGDIOBJ SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }
    COLORREF SetTextColor(COLORREF colour) { return ::SetTextColor(m_hDC, colour); }
    COLORREF SetBkColor(COLORREF colour) { return ::SetBkColor(m_hDC, colour); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    void FillSolidRect(const RECT& rect, COLORREF colour);
    // A one-pixel frame: top and left in the first colour, right and bottom in the second.
    void Draw3dRect(const RECT& rect, COLORREF topLeft, COLORREF bottomRight);
    void FillRect(const RECT& rect, CBrush* brush) { ::FillRect(m_hDC, &rect, *brush); }
    bool TextOut(int x, int y, const CString& text);
    int DrawText(const CString& text, RECT* rect, UINT format);
    CSize GetTextExtent(const CString& text) const;
    bool BitBlt(int x, int y, int width, int height, CDC* source, int sx, int sy, DWORD rop);
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }

protected:
    bool m_bOwned = false;  // created (deleted at destruction) rather than attached
};

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps = {};

private:
    HWND m_hWnd;
};

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

private:
    HWND m_hWnd;
};

// ---------------------------------------------------------------------------------------------

// A window. Each CWnd that owns a window is in the thread's handle map, so messages reach its
// message map; the creation hook attaches it before WM_NCCREATE.
class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd() = default;
    ~CWnd() override;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The permanent object of a window handle, or none.
    static CWnd* FromHandlePermanent(HWND hwnd);
    // The permanent object, or a temporary one freed at the next idle time (none for null).
    static CWnd* FromHandle(HWND hwnd);
    // Frees the temporary objects (idle time).
    static void DeleteTempMap();

    bool Attach(HWND hwnd);
    HWND Detach();
    // Makes this object the window's owner and routes its messages through the message map.
    bool SubclassWindow(HWND hwnd);
    bool SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    // A creation that fails leaves the object to the caller (it is never deleted by it).
    virtual bool CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                          int x, int y, int width, int height, HWND parent, HMENU menuOrId,
                          void* param = nullptr);
    virtual bool Create(const char* className, const char* windowName, DWORD style, const RECT& rect,
                        CWnd* parent, UINT id, void* context = nullptr);
    virtual bool DestroyWindow();

    // Overridables of the window procedure.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual bool OnCommand(WPARAM wParam, LPARAM lParam);
    virtual bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A child's reflected notification (WM_NOTIFY + WM_REFLECT_BASE in the child's map).
    virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual bool PreTranslateMessage(MSG* msg);
    // Offers the message to the window and its parents, up to the top level, until one takes it.
    // A window that offers it to its parents itself ends the walk: each is asked once.
    static bool WalkPreTranslateTree(HWND hwnd, MSG* msg);
    virtual bool PreCreateWindow(CREATESTRUCTW& cs);
    virtual void PreSubclassWindow() {}
    // After the last message (WM_NCDESTROY); frames and views delete themselves here.
    virtual void PostNcDestroy() {}
    virtual void DoDataExchange(CDataExchange*) {}
    bool UpdateData(bool saveAndValidate = true);
    // The default handling of the message being handled.
    LRESULT Default();
    // Whether PreTranslateMessage offers the message to the window's parents itself (before its
    // own translation), so that the walk up the parents ends at this window.
    virtual bool PreTranslatesParents() const { return false; }

    // A modal message loop for this window (the thread's messages go through the usual
    // pre-translation); returns the result given to EndModalLoop. MLF_SHOWONIDLE shows the window
    // at the first idle time; WM_KICKIDLE is sent at idle times unless MLF_NOKICKIDLE.
    virtual int RunModalLoop(DWORD flags = 0);
    // Whether the loop goes on: until EndModalLoop, or the window is gone.
    virtual bool ContinueModal();
    virtual void EndModalLoop(int result);

    // Handlers the message map macros name.
    afx_msg int OnCreate(LPCREATESTRUCT) { return (int)Default(); }
    afx_msg void OnDestroy() { Default(); }
    afx_msg void OnClose() { Default(); }
    afx_msg void OnTimer(UINT_PTR) { Default(); }
    afx_msg void OnSize(UINT, int, int) { Default(); }
    afx_msg void OnEnable(bool) { Default(); }
    afx_msg BOOL OnEraseBkgnd(HDC) { return (BOOL)Default(); }
    afx_msg void OnPaint() { Default(); }

    // Thin wrappers.
    bool ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd) != FALSE; }
    bool IsWindowVisible() const { return ::IsWindowVisible(m_hWnd) != FALSE; }
    bool EnableWindow(bool enable = true) { return ::EnableWindow(m_hWnd, enable) != FALSE; }
    bool IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd) != FALSE; }
    void SetWindowText(const char* text);
    CString GetWindowText() const;
    void GetWindowText(CString& text) const { text = GetWindowText(); }
    CWnd* GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    void SetDlgItemText(int id, const char* text);
    CString GetDlgItemText(int id) const;
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    void GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
    void ScreenToClient(RECT* rect) const;
    bool SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) {
        return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags) != FALSE;
    }
    void MoveWindow(const RECT& rect, bool repaint = true) {
        ::MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, repaint);
    }
    void CenterWindow(CWnd* alternateOwner = nullptr);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageW(m_hWnd, message, wParam, lParam) != FALSE;
    }
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, bool deep = true);
    CWnd* SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
    bool SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd) != FALSE; }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse) { return ::SetTimer(m_hWnd, id, elapse, nullptr); }
    bool KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id) != FALSE; }
    HICON SetIcon(HICON icon, bool big) { return (HICON)SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, (LPARAM)icon); }
    void Invalidate(bool erase = true) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    HMENU GetMenu() const { return ::GetMenu(m_hWnd); }
    DWORD GetStyle() const { return (DWORD)::GetWindowLongPtrW(m_hWnd, GWL_STYLE); }
    bool IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }

    // Frame helpers.
    CWnd* GetTopLevelParent() const;
    class CFrameWnd* GetParentFrame() const;
    virtual bool IsFrameWnd() const { return false; }

    // Tooltips: while the mouse is over a window that enables them, the thread's tooltip shows
    // the tool its OnToolHitTest answers (see AfxRelayToolTipMessage).
    void EnableToolTips(bool enable = true) { m_bToolTips = enable; }
    bool AreToolTipsEnabled() const { return m_bToolTips; }
    // The tool at a client point: its id, -1 for none. When info is given (cbSize at least 40)
    // it receives the window, the tool id, its rectangle and a text from AfxAllocToolTipText,
    // which the caller frees. The base answers for a visible child window under the point.
    virtual INT_PTR OnToolHitTest(POINT point, TOOLINFOW* info) const;

protected:
    WNDPROC m_pfnSuper = nullptr;  // the procedure the window had before us (dialogs, controls)
    bool m_bToolTips = false;
    int m_nModalResult = -1;
    bool m_bContinueModal = false;
    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend void AfxHandleNcDestroy(CWnd*);
    DECLARE_MESSAGE_MAP()
};

LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The thread's record of the message being handled (what Default() passes on); window
// procedures that stand in front of the class library's save and restore it whole.
MSG* AfxGetCurrentMessage();
// The text of a tool for TOOLINFOW::lpszText, and its release. Every copy made must be freed;
// AfxToolTipTextsAlive counts the copies not yet freed.
wchar_t* AfxAllocToolTipText(const char* text);
void AfxFreeToolTipText(wchar_t* text);
LONG AfxToolTipTextsAlive();
// For a mouse message: asks the window with tooltips under the mouse (the message's window or a
// parent) for its tool, gives it to the thread's tooltip and relays the message to it. The
// application's pre-translation calls it for every message; loops of their own may call it too.
void AfxRelayToolTipMessage(const MSG* msg);
// The thread's tooltip window, none before a tool was shown; and the tool it holds now (id -1:
// none).
HWND AfxGetThreadToolTip();
INT_PTR AfxGetCurrentToolId();
// Registers (once) a window class of the class library's procedure; returns its name.
const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                                HICON icon = nullptr);

// ---------------------------------------------------------------------------------------------
// Controls: thin wrappers of the system's control classes.

class CStatic : public CWnd {
public:
    bool Create(const char* text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF) {
        return CWnd::Create("STATIC", text, style, rect, parent, id);
    }
};

class CButton : public CWnd {
public:
    bool Create(const char* text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CWnd::Create("BUTTON", text, style, rect, parent, id);
    }
    int GetCheck() const { return (int)SendMessage(BM_GETCHECK); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, check); }
};

class CEdit : public CWnd {
public:
    bool Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CWnd::Create("EDIT", "", style, rect, parent, id);
    }
    void SetLimitText(UINT max) { SendMessage(EM_SETLIMITTEXT, max); }
    void SetSel(int start, int end) { SendMessage(EM_SETSEL, start, end); }
};

class CComboBox : public CWnd {
public:
    bool Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CWnd::Create("COMBOBOX", "", style, rect, parent, id);
    }
    int AddString(const char* text);
    // At the index (-1: at the end, unsorted); the index it got, or CB_ERR.
    int InsertString(int index, const char* text);
    // The count left, or CB_ERR.
    int DeleteString(int index) { return (int)SendMessage(CB_DELETESTRING, index); }
    // The first entry after `after` (-1: from the start) equal to the text, ignoring case; CB_ERR when none.
    int FindStringExact(int after, const char* text) const;
    int GetCount() const { return (int)SendMessage(CB_GETCOUNT); }
    int GetCurSel() const { return (int)SendMessage(CB_GETCURSEL); }
    int SetCurSel(int index) { return (int)SendMessage(CB_SETCURSEL, index); }
    CString GetLBText(int index) const;
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    DWORD_PTR GetItemData(int index) const { return (DWORD_PTR)SendMessage(CB_GETITEMDATA, index); }
    int SetItemData(int index, DWORD_PTR data) { return (int)SendMessage(CB_SETITEMDATA, index, (LPARAM)data); }
    void* GetItemDataPtr(int index) const;
    int SetItemDataPtr(int index, void* data) { return SetItemData(index, (DWORD_PTR)data); }
};

class CListBox : public CWnd {
public:
    bool Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CWnd::Create("LISTBOX", "", style, rect, parent, id);
    }
    int AddString(const char* text);
    // At the index (-1: at the end, unsorted); the index it got, or LB_ERR.
    int InsertString(int index, const char* text);
    // The count left, or LB_ERR.
    int DeleteString(int index) { return (int)SendMessage(LB_DELETESTRING, index); }
    // The first entry after `after` (-1: from the start) equal to the text, ignoring case; LB_ERR when none.
    int FindStringExact(int after, const char* text) const;
    int GetCount() const { return (int)SendMessage(LB_GETCOUNT); }
    int GetCurSel() const { return (int)SendMessage(LB_GETCURSEL); }
    int SetCurSel(int index) { return (int)SendMessage(LB_SETCURSEL, index); }
    CString GetText(int index) const;
    void GetText(int index, CString& text) const { text = GetText(index); }
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
    DWORD_PTR GetItemData(int index) const { return (DWORD_PTR)SendMessage(LB_GETITEMDATA, index); }
    int SetItemData(int index, DWORD_PTR data) { return (int)SendMessage(LB_SETITEMDATA, index, (LPARAM)data); }
    // Null for an index that does not exist.
    void* GetItemDataPtr(int index) const;
    int SetItemDataPtr(int index, void* data) { return SetItemData(index, (DWORD_PTR)data); }
};

// Shows the wait cursor while it lives (nested ones keep it until the outermost ends).
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    // Shows it again after something (a message box) changed the cursor.
    void Restore();

private:
    HCURSOR m_previous;
};

// ---------------------------------------------------------------------------------------------

class CView;

// What a frame's layout query (WM_SIZEPARENT, lParam) carries to each child: the rectangle the
// bars have left so far, from which a bar that answers takes its edge, and the moves of this
// layout. A null hDWP asks the bars to measure only: they shrink the rectangle but stay put.
struct AFX_SIZEPARENTPARAMS {
    HDWP hDWP;
    RECT rect;
    SIZE sizeTotal;   // what the bars took across and down
    BOOL bStretch;
};
// Moves a child to a rectangle (parent client coordinates) as part of the layout; nothing when
// the layout only measures.
void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* layout, HWND child, const RECT& rect);

// A top-level frame: routes commands to the active view, itself and the application; lays
// out its view over the client area; updates its menus' items through their update handlers.
class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd() = default;

    bool IsFrameWnd() const override { return true; }
    bool OnCmdMsg(UINT nID, int nCode, void* pExtra) override;
    bool PreTranslateMessage(MSG* msg) override;
    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* view) { m_pViewActive = view; }
    // Sends the initial update to the views and shows the frame.
    void InitialUpdateFrame(void* document, bool makeVisible);
    // Lays the bars out around the view: every child but the view gets the layout query in
    // creation order (the status bar first: it keeps the frame's whole bottom edge), and the
    // view takes what is left.
    virtual void RecalcLayout();
    // Asks for a layout at the next idle update (several requests make one layout).
    void DelayRecalcLayout() { m_nIdleFlags |= idleLayout; }
    enum { idleLayout = 0x8 };
    int m_nIdleFlags = 0;
    // Shows or hides the child bar with this id (the class library's bar toggle).
    void OnBarCheck(UINT barId);
    void OnUpdateControlBarMenu(CCmdUI* cmdUI);
    // Updates the items of a menu through the update handlers (WM_INITMENUPOPUP).
    void UpdateMenuItems(HMENU menu);

protected:
    void PostNcDestroy() override { delete this; }
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnClose();
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM);
    afx_msg LRESULT OnInitMenuPopup(WPARAM, LPARAM);

    CView* m_pViewActive = nullptr;

public:
    // The frame's keyboard accelerators (the frame does not own the table).
    HACCEL m_hAccelTable = nullptr;
    // True while the frame runs context help: a click asks what the item is instead of running it.
    bool m_bHelpMode = false;

protected:
    DECLARE_MESSAGE_MAP()
};

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    virtual void OnInitialUpdate() {}
    CFrameWnd* GetParentFrame() const { return CWnd::GetParentFrame(); }

protected:
    void PostNcDestroy() override { delete this; }
    afx_msg LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};

// ---------------------------------------------------------------------------------------------

// A dialog from a template of the resource handle, modal or modeless.
class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog() = default;
    explicit CDialog(UINT templateId, CWnd* parent = nullptr) : m_nIDHelp(templateId), m_pParentWnd(parent) {}

    virtual INT_PTR DoModal();
    // Modeless creation (invisible unless the template is WS_VISIBLE).
    virtual bool Create(UINT templateId, CWnd* parent = nullptr);
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int result);
    bool PreTranslateMessage(MSG* msg) override;
    UINT GetTemplateId() const { return m_nIDHelp; }

protected:
    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);
    const DLGTEMPLATE* LoadTemplate() const;
    UINT m_nIDHelp = 0;
    CWnd* m_pParentWnd = nullptr;
    bool m_bModal = false;
    DECLARE_MESSAGE_MAP()
};

// A view made from a dialog template, as a child of its frame.
class CFormView : public CView {
    DECLARE_DYNAMIC(CFormView)
public:
    explicit CFormView(UINT templateId) : m_nIDTemplate(templateId) {}
    bool Create(const char* className, const char* windowName, DWORD style, const RECT& rect, CWnd* parent,
                UINT id, void* context = nullptr) override;
    void OnInitialUpdate() override { UpdateData(false); }
    // The frames first (the dialog manager would take their keys, a menu title's Alt+letter
    // among them), then the dialog manager, which gets keyboard and mouse input only.
    bool PreTranslateMessage(MSG* msg) override;
    bool PreTranslatesParents() const override { return true; }

protected:
    friend INT_PTR CALLBACK AfxFormDlgProc(HWND, UINT, WPARAM, LPARAM);
    UINT m_nIDTemplate;
};

// ---------------------------------------------------------------------------------------------
// Dialog data exchange.

class CDataExchange {
public:
    CDataExchange(CWnd* dlgWnd, bool saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dlgWnd) {}
    bool m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    HWND m_idLastControl = nullptr;
    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id) { return PrepareCtrl(id); }
    // Puts the focus back on the last control and abandons the exchange.
    [[noreturn]] void Fail();
};

void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
void DDX_Radio(CDataExchange* dx, int id, int& value);
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
void DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars);
void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue);

// ---------------------------------------------------------------------------------------------

// Command-line switches the class library knows ("/" or "-", case-insensitive).
class CCommandLineInfo {
public:
    enum { FileNew, FileOpen, FileNothing = 4, AppRegister = 7, AppUnregister = 8 };
    virtual ~CCommandLineInfo() = default;
    virtual void ParseParam(const char* param, bool isFlag, bool isLast);
    bool m_bRunEmbedded = false;
    bool m_bRunAutomated = false;
    int m_nShellCommand = FileNew;
    CString m_strFileName;
};

// Hook of the message-box choke point: receives the text and style, returns the button.
using AFX_MSGBOX_HOOK = std::function<int(const CString& text, UINT type)>;

// The application object: one per process; start-up, message pump with idle updates, profile
// and resource handle.
class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;

    virtual bool InitApplication();
    virtual bool InitInstance() { return true; }
    virtual int ExitInstance();
    virtual int Run();
    virtual bool OnIdle(LONG count);
    virtual bool PreTranslateMessage(MSG* msg);
    bool PumpMessage();
    virtual int DoMessageBox(const char* text, UINT type, UINT helpId);
    // Switches the application's modeless windows off (false) and on again (true); the calls nest.
    virtual void EnableModeless(bool enable);
    bool IsModelessEnabled() const { return m_nModelessDisabled == 0; }

    void ParseCommandLine(CCommandLineInfo& info);
    void SetRegistryKey(const char* key);

    // Profile under HKEY_CURRENT_USER\Software\<registry key>\<profile name>\<section>.
    UINT GetProfileInt(const char* section, const char* entry, int defaultValue);
    bool WriteProfileInt(const char* section, const char* entry, int value);
    CString GetProfileString(const char* section, const char* entry, const char* defaultValue = nullptr);
    // A null value deletes the entry; a null entry deletes the whole section.
    bool WriteProfileString(const char* section, const char* entry, const char* value);
    bool GetProfileBinary(const char* section, const char* entry, std::vector<BYTE>& data);
    bool WriteProfileBinary(const char* section, const char* entry, const BYTE* data, UINT bytes);
    // The profile key of a section (created when missing), or null; the caller closes it.
    HKEY GetSectionKey(const char* section);
    HKEY GetAppRegistryKey();

    const char* m_pszAppName = nullptr;
    const char* m_pszRegistryKey = nullptr;
    const char* m_pszProfileName = nullptr;
    const char* m_lpCmdLine = "";  // after the program name
    HINSTANCE m_hInstance = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd* m_pMainWnd = nullptr;
    MSG m_msgCur = {};

protected:
    CString m_strAppName, m_strRegistryKey, m_strProfileName;
    CWinApp* m_pPreviousApp = nullptr;  // a nested application object (tests) gives the role back
    int m_nModelessDisabled = 0;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE resources);

// The one way the class library and its programs show a message box.
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
int AfxMessageBox(UINT promptId, UINT type = MB_OK, UINT helpId = (UINT)-1);
// Installs a hook that receives every message box instead of the screen; returns the previous.
AFX_MSGBOX_HOOK AfxSetMessageBoxHook(AFX_MSGBOX_HOOK hook);

// The program's entry: initialise, run InitInstance, the loop or ExitInstance.
int AfxWinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int showCmd);
