// The toolbar that stands in for a frame's native menu: filled from a menu resource, entered with
// the menu key (Alt or F10), and keeping one customisable control set per menu.
#pragma once

#include "commandbars/TkToolBar.h"

#include <map>

class CTkMenuBar : public CTkToolBar {
    DECLARE_SERIAL(CTkMenuBar)
public:
    CTkMenuBar();
    ~CTkMenuBar() override;
    // The toolbar record, the menu resource id and the control sets per menu (TkBarArchive.h).
    void Serialize(CArchive& ar) override;

    // Fills the bar from a menu resource (0 keeps the controls), takes the frame's menu key and
    // the frame's native menu (which the bar owns from then on). 0 when the menu cannot be loaded.
    int LoadMenu(UINT menuId);
    // Shows the control set of another menu: the current set is stored under the current key
    // (with customisation), the new key's stored set comes back or one is built from the menu.
    void SwitchMenu(HMENU menu);
    // Before the bar is stored: back to the frame's own menu, and the sets nobody changed dropped.
    void PrepareForSave();
    // Reloads the current menu (after asking) when the bar keeps sets per menu or has no
    // originals; otherwise the toolbar's reset.
    void ResetToOriginal() override;
    void Copy(const CTkCommandBar* from, bool recursive) override;

    // The stored control set of a menu key, none when there is none.
    CTkControls* GetMenuSet(int key) const;
    // Stores a set under a key, taking the caller's reference; a set stored there before is released.
    void SetMenuSet(int key, CTkControls* controls);
    int GetMenuSetCount() const { return (int)m_menuSets.size(); }
    // Takes over the sets of another menu bar (a loaded one): each replaces the set of its key.
    void TakeMenuSets(CTkMenuBar* from);
    // The frame's own menu, taken from it when the bar was loaded.
    HMENU GetNativeMenu() const { return m_hNativeMenu; }
    // The frame whose menu key the bar takes.
    HWND GetFrameWindow() const { return m_hwndFrame; }

    int m_bMdiFrame = 0;
    HWND m_hwndActiveChild = nullptr;
    UINT m_nMenuResourceId = 0;
    int m_nCurrentKey = 0;
    int m_bSwitchedToDefault = 0;

protected:
    // The frame's WM_SYSCOMMAND with SC_KEYMENU (the menu key alone) starts keyboard tracking.
    class CFrameSink : public ITkHookSink {
    public:
        explicit CFrameSink(CTkMenuBar* bar) : m_pBar(bar) {}
        int OnHookMessage(HWND hwnd, UINT message, WPARAM* wParam, LPARAM* lParam, LRESULT* result) override;

    private:
        CTkMenuBar* m_pBar;
    };
    // Replaces the controls with a new collection built from a menu, kept as its own originals.
    void BuildControls(HMENU menu);
    void ReleaseMenuSets();

    CFrameSink m_frameSink{this};
    HWND m_hwndFrame = nullptr;
    HMENU m_hNativeMenu = nullptr;
    std::map<int, CTkControls*> m_menuSets;
};
