// Drop shadows of open popups: two thin top-most windows, one under the popup and one at its
// right, that follow the popup's showing and hiding and go with its window.
#pragma once

#include "afxwin.h"
#include "commandbars/TkHooks.h"

#include <vector>

// What a popup's painter and manager decide for its shadows.
struct CTkShadowStyle {
    bool painterForcesShadows = false;   // the painter always draws popup shadows
    COLORREF shadowColor = RGB(0, 0, 0);  // the painter's shadow colour
    bool customizing = false;             // the manager is in customise mode: no shadows
};

class CTkDropShadows;

// One shadow strip. Transparent to the mouse; a sink of its popup's window.
class CTkDropShadowWnd : public CWnd, public ITkHookSink {
public:
    enum Orientation { Right = 0, Bottom = 1 };
    // Steps of the alpha ramp across the thickness.
    static constexpr int kAlphaStep = 40;
    static constexpr int kFadeLength = 4;

    CTkDropShadowWnd(CTkDropShadows* owner, int orientation, HWND popup, const CTkShadowStyle& style);

    int GetOrientation() const { return m_nOrientation; }
    HWND GetPopup() const { return m_hPopup; }
    bool IsPainterShadow() const { return m_bPainterShadow; }
    CRect GetStripRect() const { return m_rcStrip; }

    // The premultiplied pixels of a layered strip: alpha grows across the thickness away from the
    // popup and fades out over the last pixels at each end; a forcing painter's is half as strong.
    static void FillShadowPixels(DWORD* pixels, int width, int height, int orientation, COLORREF colour,
                                 bool painterShadow);

    int OnHookMessage(HWND hwnd, UINT message, WPARAM* wParam, LPARAM* lParam, LRESULT* result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    friend class CTkDropShadows;
    bool CreateOnce(bool layered);
    // Moves the window onto the strip and, when layered, gives it its pixels.
    void PlaceStrip(const CRect& strip);
    void RenderLayered();

    CTkDropShadows* m_pOwner;
    int m_nOrientation;
    bool m_bPainterShadow;
    COLORREF m_clrShadow;
    HWND m_hPopup;
    bool m_bLayered = false;
    CRect m_rcStrip;
};

// The program's list of live shadows.
class CTkDropShadows {
public:
    using PFNUPDATELAYEREDWINDOW = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*,
                                                 DWORD);
    using PFNSYSTEMDROPSHADOW = bool (*)();

    static CTkDropShadows& Instance();
    CTkDropShadows();
    ~CTkDropShadows();
    CTkDropShadows(const CTkDropShadows&) = delete;
    CTkDropShadows& operator=(const CTkDropShadows&) = delete;

    // Shadows of a popup window beside the rectangle of the control that opened it (screen
    // coordinates, empty for none).
    void AddShadows(HWND popup, const RECT& excludeRect, const CTkShadowStyle& style);
    // Shadows of an opening control's own rectangle (screen coordinates), removed with its popup.
    void AddControlShadows(HWND popup, const RECT& controlRect, const CTkShadowStyle& style);
    // Every shadow of the popup goes (it moved or closed).
    void RemoveShadows(HWND popup);

    bool HasLayeredShadows() const { return m_pfnUpdateLayered != nullptr; }
    int GetThickness() const { return HasLayeredShadows() ? 4 : 2; }
    std::vector<CTkDropShadowWnd*> GetShadows(HWND popup = nullptr) const;
    PFNUPDATELAYEREDWINDOW GetUpdateLayeredWindow() const { return m_pfnUpdateLayered; }

    // Tests play a system without layered windows, or with the system's shadows on.
    void SetUpdateLayeredWindow(PFNUPDATELAYEREDWINDOW function) { m_pfnUpdateLayered = function; }
    void SetSystemDropShadow(PFNSYSTEMDROPSHADOW function) { m_pfnSystemDropShadow = function; }

private:
    friend class CTkDropShadowWnd;
    CTkDropShadowWnd* CreateShadow(int orientation, const CRect& popupRect, const CRect& excludeRect, HWND popup,
                                   const CTkShadowStyle& style);
    // Keeps a new strip off the perpendicular strips already open (popups opened from one another).
    void ShortenAgainstOthers(int orientation, CRect& strip) const;
    void CutRegion(CTkDropShadowWnd* shadow, const CRect& excludeRect) const;
    // Unregisters, hides, unlinks, destroys and deletes one shadow.
    void DeleteShadow(CTkDropShadowWnd* shadow);

    HMODULE m_hUser32 = nullptr;
    PFNUPDATELAYEREDWINDOW m_pfnUpdateLayered = nullptr;
    PFNSYSTEMDROPSHADOW m_pfnSystemDropShadow;
    std::vector<CTkDropShadowWnd*> m_shadows;
};
