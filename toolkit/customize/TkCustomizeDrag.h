// The customise drag of a command-bars manager: a control taken from a bar (or from the commands
// list of the customise sheet) is dragged with the mouse captured, over the manager's bars as
// drop targets, and moved, copied (Ctrl held, or always from the list) or, released over no
// bar, taken off its bar. One per manager.
#pragma once

#include "controls/TkControl.h"

#include <vector>

class CTkCommandBar;
class CTkCommandBars;
class CTkCustomizeSheet;

class CTkControlDragSource final : public ITkControlDragSource {
public:
    // What a drag ends with.
    enum Result : int {
        kReleasedOutside = 0,  // released over no bar after the mouse moved
        kCopied = 1,
        kMoved = 2,
        kCancelled = 5,        // Esc, right button, capture lost, quit, or dropped onto itself
    };

    explicit CTkControlDragSource(CTkCommandBars* manager);
    ~CTkControlDragSource();
    CTkControlDragSource(const CTkControlDragSource&) = delete;
    CTkControlDragSource& operator=(const CTkControlDragSource&) = delete;

    // Bars of the manager while their windows live, in the order they came.
    void AddTarget(CTkCommandBar* bar);
    void RemoveTarget(CTkCommandBar* bar);
    std::vector<CTkCommandBar*> GetTargets() const;

    // Runs the drag until the button is released or the drag is cancelled (a Result).
    int BeginDrag(CTkControl* control, bool forceCopy);
    // A drag from a bar: DROPEFFECT_MOVE when the control leaves its place (moved, or released
    // over no bar), DROPEFFECT_COPY when copied, DROPEFFECT_NONE when cancelled.
    DWORD DoDragControl(CTkControl* control) override;
    // The customise sheet that runs now over this manager's frame, none when none does.
    CTkCustomizeSheet* GetCustomizeSheet() const;

    // --- The steps of a drag (the loop runs them; tests may too).
    // A drag of the control begins at a screen point (no target, copy unless moved).
    void StartAt(CTkControl* control, bool forceCopy, POINT screen);
    // The cursor is at a screen point: the target bar under it is entered, dragged over or left.
    void DragOver(POINT screen);
    // Ctrl pressed (copy) or released (move).
    void SetMove(bool move);
    // The button was released at a screen point; the result (after the target's drop step).
    int Release(POINT screen, bool movedOnce);
    // The target (when any) is left; the drag is over.
    void Finish();

    CTkControl* GetDragged() const { return m_pDragged; }
    CTkCommandBar* GetTarget() const { return m_pTarget; }
    bool IsMove() const { return m_bMove; }
    // The cursor the rule gives now: copy over a bar when copying, move over a bar when
    // moving, no drop over no bar.
    HCURSOR GetRuleCursor() const;
    HCURSOR GetCopyCursor() const { return Cursor(0); }
    HCURSOR GetMoveCursor() const { return Cursor(1); }
    HCURSOR GetNoDropCursor() const { return Cursor(2); }

private:
    void UpdateCursor() const;
    // Copy, move and no-drop cursors (9301 to 9303), loaded when first asked for.
    HCURSOR Cursor(int index) const;
    // The window that holds the capture: the sheet, else the manager's frame.
    HWND CaptureWindow() const;

    CTkCommandBars* m_pManager;
    CTkCommandBar* m_pFirstTarget = nullptr;
    CTkCommandBar* m_pLastTarget = nullptr;
    CTkControl* m_pDragged = nullptr;
    CTkCommandBar* m_pTarget = nullptr;
    bool m_bMove = false;
    bool m_bForceCopy = false;
    POINT m_ptStart = {0, 0};
    mutable HCURSOR m_hCursors[3] = {};
    mutable bool m_bCursorsLoaded = false;
};
