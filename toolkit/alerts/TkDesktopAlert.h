// The desktop alert: a small top-most window in the bottom-right corner of the work area that
// shows a few items for a while, optionally fading, sliding or unfolding in and out, and tells
// its owner when an item is clicked or its state changes.
#pragma once

#include "afxwin.h"
#include "commandbars/TkRefHolder.h"
#include "painters/TkDrawTools.h"

#include <memory>
#include <vector>

class CTkDesktopAlertWnd;
class CTkDesktopAlertTheme;

// The notification to the owner: wParam a code, lParam the item or the alert window.
const UINT TK_WM_DESKTOPALERT = 0x8A1F;
enum TkDesktopAlertNotification { TK_ALERT_CLICKED = 1, TK_ALERT_STATECHANGED = 2 };

// One item of an alert: a text or an icon, optionally framed as a button.
class CTkPopupItem : public CCmdTarget {
    DECLARE_DYNCREATE(CTkPopupItem)
public:
    enum IconState { IconNormal = 0, IconHot = 2, IconPressed = 4 };

    CTkPopupItem() = default;
    CTkPopupItem(const RECT& rect, const char* caption, UINT id = 0);
    ~CTkPopupItem() override;

    virtual void Draw(CDC* dc);
    virtual HFONT GetFont();
    virtual void OnInserted() {}

    // Stores a copy of the icon and destroys the one it replaces.
    void SetIcon(HICON icon, int state = IconNormal);
    HICON GetIcon(int state = IconNormal) const;
    bool IsHot() const;
    bool IsPressed() const;

    void SetCaption(const char* caption);
    void SetFormat(UINT format);
    void SetBold(bool bold);
    void SetFont(HFONT font) { m_hFont = font; }
    void RedrawOwner();

    CRect m_rcItem;
    CString m_strCaption;
    UINT m_nID = 0;
    bool m_bButton = false;
    bool m_bUnderlineHot = true;
    bool m_bBold = false;
    UINT m_nFormat = 0;
    COLORREF m_clrText = (COLORREF)-1;
    COLORREF m_clrBack = (COLORREF)-1;
    COLORREF m_clrBorder = (COLORREF)-1;
    HFONT m_hFont = nullptr;  // not owned
    HICON m_hIcons[3] = {};   // normal, hot, pressed; owned copies
    CPoint m_ptIconOffset;
    CTkDesktopAlertWnd* m_pAlert = nullptr;
};

// The painter of an alert; the base is the look of unknown theme ids.
class CTkDesktopAlertTheme {
public:
    static const COLORREF kNone = (COLORREF)-1;
    CTkDesktopAlertTheme();
    virtual ~CTkDesktopAlertTheme() = default;
    virtual void DrawBackground(CDC* dc, CRect rect);
    void DrawItem(CDC* dc, CTkPopupItem* item);

    CFont m_font;
    COLORREF m_clrText;
    CTkColorPair m_grcBack;
    CTkColorPair m_grcBorder;  // clrStart kNone: no border
    COLORREF m_clrHotFill = kNone;
    COLORREF m_clrPressedFill = kNone;
    CTkColorPair m_grcHotBorder;
    CTkColorPair m_grcPressedBorder;

protected:
    void DrawBorder(CDC* dc, const CRect& rect);
    void DrawButtonFrame(CDC* dc, const CRect& rect, COLORREF fill, const CTkColorPair& border);
};

// Theme 0: caption band and a sunken, then raised, frame with a strip at the left.
class CTkDesktopAlertCaptionTheme : public CTkDesktopAlertTheme {
public:
    CTkDesktopAlertCaptionTheme();
    void DrawBackground(CDC* dc, CRect rect) override;
};

// Theme 1: the toolkit's menu colours, caption band and a strip at the left.
class CTkDesktopAlertFlatTheme : public CTkDesktopAlertTheme {
public:
    CTkDesktopAlertFlatTheme();
    void DrawBackground(CDC* dc, CRect rect) override;
};

// Theme 2: the XP scheme's face gradient with a grip band at the top.
class CTkDesktopAlertSchemeTheme : public CTkDesktopAlertFlatTheme {
public:
    CTkDesktopAlertSchemeTheme();
    void DrawBackground(CDC* dc, CRect rect) override;
    CTkColorPair m_grcTopBand;
};

// Theme 3: light blue bands.
class CTkDesktopAlertBandsTheme : public CTkDesktopAlertTheme {
public:
    CTkDesktopAlertBandsTheme();
    void DrawBackground(CDC* dc, CRect rect) override;
};

// 3-D frame: top and left in one colour, bottom and right in the other.
void TkDraw3dRect(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight);

class CTkDesktopAlertWnd : public CWnd {
public:
    enum Animation { AnimationNone = 0, AnimationFade = 1, AnimationSlide = 2, AnimationUnfold = 3 };
    enum State { StateHidden = 0, StateShowing = 1, StateShown = 2, StateHiding = 3 };
    enum Timer : UINT { TimerShowing = 296, TimerHiding = 297, TimerShown = 304 };
    using PFNSETLAYEREDWINDOWATTRIBUTES = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

    CTkDesktopAlertWnd();
    ~CTkDesktopAlertWnd() override;

    virtual bool Create(CWnd* parent);
    virtual void OnClick(CTkPopupItem* item);
    virtual void StartShowing(bool fresh);
    virtual void StartHiding();
    virtual void OnShown();
    virtual void NotifyOwner(WPARAM code, LPARAM argument);

    bool Show(CWnd* parent);
    void Close();
    void SetTheme(int id);
    void SetThemePainter(CTkDesktopAlertTheme* painter);
    CTkPopupItem* AppendItem(CTkPopupItem* item);
    void ClearItems();
    CTkPopupItem* HitTest(POINT point) const;

    void SetAnimation(int animation) { m_nAnimation = animation; }
    void SetAlpha(BYTE alpha) { m_nAlpha = alpha; }
    void SetWidth(int width) { m_nWidth = width; }
    void SetHeight(int height) { m_nHeight = height; }
    void SetShowTime(UINT ms) { m_nShowTime = ms; }
    void SetAnimationDuration(UINT ms) { m_nDuration = ms; }
    void SetStepInterval(UINT ms) { m_nStep = ms; }
    // A corner of the owner's choosing, kept for every show; without one the corner is the work
    // area's bottom-right, taken again each time the alert is shown.
    void SetAnchor(POINT anchor) {
        m_ptAnchor = CPoint(anchor.x, anchor.y);
        m_bFixedAnchor = true;
    }
    void ClearAnchor() {
        m_bFixedAnchor = false;
        UpdateAnchor();
    }
    bool HasFixedAnchor() const { return m_bFixedAnchor; }

    // Where the work area comes from; tests put a function of their own in its place.
    using PFNGETWORKAREA = RECT (*)();
    static PFNGETWORKAREA s_pfnGetWorkArea;

    int GetState() const { return m_nState; }
    int GetThemeId() const { return m_nThemeId; }
    CTkDesktopAlertTheme* GetPainter() const { return m_pPainter.get(); }
    CTkPopupItem* GetHotItem() const { return m_pHot; }
    CTkPopupItem* GetPressedItem() const { return m_pPressed; }
    int GetItemCount() const { return (int)m_items.size(); }
    CTkPopupItem* GetItem(int index) const { return m_items[index].Get(); }
    int GetRemainingSteps() const { return m_nRemaining; }
    int GetCurrentAlpha() const { return m_nCurrentAlpha; }
    CRect GetCurrentRect() const { return m_rcCurrent; }
    bool IsMouseInside() const { return m_bMouseInside; }
    POINT GetAnchor() const { return m_ptAnchor; }
    bool HasLayeredFunction() const { return m_pfnSetLayered != nullptr; }
    // Paints the alert (background and items) into a device context of its size.
    void DrawAlert(CDC* dc);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void UpdateAnchor();
    void Step(int remaining);
    void Apply();
    void MoveToCurrent();
    void SetOpacity(int alpha);
    void OnTimerTick(UINT_PTR id);
    void OnMouseMove(POINT point);
    void OnLButtonDown(POINT point);
    void OnLButtonUp(POINT point);
    void OnPaintAlert();

    std::unique_ptr<CTkDesktopAlertTheme> m_pPainter;
    int m_nThemeId = 0;
    std::vector<CTkRef<CTkPopupItem>> m_items;
    CTkPopupItem* m_pHot = nullptr;
    CTkPopupItem* m_pPressed = nullptr;
    int m_nAnimation = AnimationNone;
    int m_nState = StateHidden;
    int m_nWidth = 170;
    int m_nHeight = 130;
    CPoint m_ptAnchor;
    bool m_bFixedAnchor = false;
    int m_nAlpha = 255;
    UINT m_nShowTime = 5000;
    UINT m_nDuration = 256;
    UINT m_nStep = 16;
    int m_nRemaining = 0;
    bool m_bMouseInside = false;
    CRect m_rcTarget;
    int m_nTargetAlpha = 255;
    CRect m_rcCurrent;
    int m_nCurrentAlpha = 255;
    HMODULE m_hUser32 = nullptr;
    PFNSETLAYEREDWINDOWATTRIBUTES m_pfnSetLayered = nullptr;
};
