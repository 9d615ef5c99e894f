// A control that hosts any child window of the program (a slider, a progress bar) in a command
// bar: the window is re-parented to the bar and placed inside the control less its margins.
#pragma once

#include "commandbars/TkHooks.h"
#include "controls/TkControl.h"

class CTkControlCustom : public CTkControlButton, public ITkHookSink {
    DECLARE_SERIAL(CTkControlCustom)
public:
    CTkControlCustom();
    ~CTkControlCustom() override;

    // Hosts a window (none releases the one hosted); false, and nothing hosted, for a window that
    // is a bar, a dock bar, the status bar, a view or hosted by another control.
    bool SetHostedWindow(HWND hwnd);
    HWND GetHostedWindow() const { return m_hwndHosted; }
    // Hosts the frame's window with the hosted id, under the same rules: a child of the frame,
    // or a window another control had put into a bar of the frame.
    bool AttachHostedById(HWND frame);
    // Whether a window may be hosted: of a kind that may be (IsHostableKind) and not hosted already.
    static bool CanHost(HWND hwnd);
    // Whether a window is of a kind that may be hosted: not a toolkit bar, dock bar, status bar or view.
    static bool IsHostableKind(HWND hwnd);
    // Whether a stored hosted-window id may be hosted in the frame: never the ids of the status
    // bar, the dock bars or the view, nor a child of the frame of a kind that may not be.
    static bool MayHostId(HWND frame, int id);
    // The button record, the margins, the size, the vertical option and the hosted window's id
    // (TkBarArchive.h). An id naming a window of the frame that may not be hosted is damage.
    void Serialize(CArchive& ar) override;

    CSize GetSize(CDC*) override { return m_szControl; }
    void Draw(CDC*) override {}
    void SetRect(int left, int top, int right, int bottom) override;
    void SetHideFlags(int flags) override;
    void SetParent(CTkCommandBar* bar) override;
    // Only customise mode drags it; the hosted window takes the clicks.
    void OnClick(bool byKeyboard, POINT point) override;
    void Copy(const CTkControl* from, bool recursive) override;

    // Mouse moves over the hosted window go to the bar in its coordinates.
    int OnHookMessage(HWND hwnd, UINT message, WPARAM* wParam, LPARAM* lParam, LRESULT* result) override;

    CRect m_rcMargins;
    CSize m_szControl{100, 22};
    int m_nVerticalOption = 0;
    int m_nHostedId = 0;

private:
    void UpdateVisibility();

    HWND m_hwndHosted = nullptr;
    CTkCommandBar* m_pPlacedIn = nullptr;
    CRect m_rcPlaced;
};
