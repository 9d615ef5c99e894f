// The ordered controls of one command bar: creation by type, navigation, hit tests, comparison
// with the controls as first loaded, and the layout of the controls in rows. Each control in the
// collection holds one reference that the collection owns.
#pragma once

#include "commandbars/TkRefHolder.h"
#include "controls/TkControl.h"

#include <vector>

class CTkCommandBars;

// Layout modes: the class library's layout flags and two of the toolkit's own.
enum TkLayoutMode : DWORD {
    TK_LAYOUT_STRETCH = 0x1,
    TK_LAYOUT_HORIZONTAL = 0x2,
    TK_LAYOUT_MRU_WIDTH = 0x4,
    TK_LAYOUT_HORZ_DOCK = 0x8,
    TK_LAYOUT_VERT_DOCK = 0x10,
    TK_LAYOUT_LENGTH_IS_HEIGHT = 0x20,
    TK_LAYOUT_COMMIT = 0x40,
    TK_LAYOUT_HIDE_WRAP = 0x80,
    TK_LAYOUT_WRAP_MRU = 0x100,
};

// The gap a control that begins a group leaves before it.
const int TK_SEPARATOR_SIZE = 6;

class CTkControls : public CCmdTarget {
    DECLARE_DYNCREATE(CTkControls)
public:
    CTkControls() = default;
    ~CTkControls() override;

    int GetCount() const { return (int)m_controls.size(); }
    // The control at an index, none out of range.
    CTkControl* GetControl(int index) const {
        return index >= 0 && index < GetCount() ? m_controls[(size_t)index].Get() : nullptr;
    }
    CTkControl* First() const { return GetControl(0); }
    CTkControl* Next(const CTkControl* control) const { return control ? GetControl(control->m_nIndex + 1) : nullptr; }
    CTkCommandBar* GetOwnerBar() const { return m_pOwnerBar; }
    // The owner bar's manager, else the manager of a loose collection.
    CTkCommandBars* GetManager() const;
    void SetOwnerBar(CTkCommandBar* bar);

    // The class made for a type (and, for buttons, a command id; id 0 for any); later control
    // families register theirs. Types 1 to 4 are known from the start.
    static void RegisterControlClass(int type, int id, CRuntimeClass* cls);
    static CRuntimeClass* ControlClassFor(int type, int id);

    // Gives every control its index, this collection and the owner bar as parent.
    void Reindex();
    // Stores parameter and temporary, sets the id and inserts at before (out of range appends).
    CTkControl* Add(CTkControl* control, int id, const CString& parameter = CString(), int before = -1,
                    bool temporary = false);
    // A new control of a type; none (and nothing inserted) for a type without a class.
    CTkControl* AddNew(int type, int id, const CString& parameter = CString(), int before = -1, bool temporary = false);
    // A control for the menu item at a position, asking the site first; none when skipped.
    CTkControl* AddMenuItem(HMENU menu, int position);
    // Appends a control (the collection takes over the caller's reference).
    CTkControl* Append(CTkControl* control) { return Add(control, control ? control->m_nId : 0); }
    CTkControl* InsertCopy(CTkControl* control, int index, bool recursive);
    void RemoveControl(CTkControl* control);
    void RemoveControlAt(int index);
    // Unlinks and releases every control.
    void RemoveAllControls();

    CTkControl* FindByTypeAndId(int type, int id, bool visibleOnly = false, bool recursive = false) const;
    CTkControl* FindById(int id) const;
    CTkControl* ControlAtPoint(int x, int y) const;
    // The next control a keyboard walk may stop at, or -1; from outside the array is no start.
    int NextNavigable(int from, int step, bool skipNoNavigate = true, bool skipTemporary = false,
                      bool strict = true) const;

    // A new collection with copies of the controls that are not temporary (and of the originals).
    CTkControls* Clone(bool recursive) const;
    void KeepOriginal();
    bool SameAs(const CTkControls* other) const;
    bool IsCustomized() const;
    CTkControls* GetOriginal() const { return m_pOriginal; }
    // Replaces the original controls (a reference is added; none drops them).
    void SetOriginal(CTkControls* original);
    // The collection record of the bar archive, written and read with the owner bar's schema
    // (TkBarArchive.h): the controls that are not temporary, then the original controls.
    void Serialize(CArchive& ar) override;

    // The child bar of a new popup control: the site's answer to TK_WM_POPUPBAR_CREATE, else the manager's
    // default bar; one reference, none when neither supplies one.
    CTkCommandBar* RequestChildBar(CWnd* site, const CString& caption, int id);

    // Lays the controls out in rows; margins are left, top, right, bottom. Returns the size.
    CSize LayoutRows(CDC* dc, int length, DWORD mode, const CRect& margins, int minimum = 0);

    CTkCommandBar* m_pOwnerBar = nullptr;
    CTkCommandBars* m_pOwnerManager = nullptr;
    std::vector<CTkRef<CTkControl>> m_controls;

private:
    // Serialize at a depth of nested original collections (damaged archives nest them deeply).
    void SerializeNested(CArchive& ar, int depth);
    CTkControl* Insert(CTkControl* control, int before);

    struct CLayoutItem {
        CSize size;
        CRect rect;
        CRect row;
        bool beginGroup = false;
        bool visible = false;
        bool wrap = false;
        bool hidden = false;
    };
    // Marks the items that begin rows at a length; returns the number of rows.
    static int Wrap(std::vector<CLayoutItem>& items, int length, DWORD& mode);
    // Places the rows (columns when vertical) from the origin; returns the extent.
    static CSize Measure(std::vector<CLayoutItem>& items, bool vertical);
    // Moves the items by the margins and centres them in their rows.
    static void Arrange(std::vector<CLayoutItem>& items, bool vertical, const CRect& margins, CSize& size);
    CSize BestFitByWidth(std::vector<CLayoutItem>& items, int length, DWORD& mode);
    CSize BestFitByHeight(std::vector<CLayoutItem>& items, int height, DWORD& mode);

    CTkRef<CTkControls> m_pOriginal;
};
