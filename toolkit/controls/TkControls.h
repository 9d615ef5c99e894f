// The ordered controls of one command bar. Each control in the collection holds one reference
// that the collection owns.
#pragma once

#include "controls/TkControl.h"

#include <vector>

class CTkCommandBars;

class CTkControls : public CCmdTarget {
    DECLARE_DYNCREATE(CTkControls)
public:
    CTkControls() = default;
    ~CTkControls() override;

    int GetCount() const { return (int)m_controls.size(); }
    // The control at an index, none out of range.
    CTkControl* GetControl(int index) const {
        return index >= 0 && index < GetCount() ? m_controls[(size_t)index] : nullptr;
    }
    CTkCommandBar* GetOwnerBar() const { return m_pOwnerBar; }

    // Appends a control (the collection takes over the caller's reference) and relinks all.
    CTkControl* Append(CTkControl* control);
    // Gives every control its index, this collection and the owner bar as parent.
    void Reindex();
    // Unlinks and releases every control.
    void RemoveAllControls();

    CTkCommandBar* m_pOwnerBar = nullptr;
    CTkCommandBars* m_pOwnerManager = nullptr;
    std::vector<CTkControl*> m_controls;
};
