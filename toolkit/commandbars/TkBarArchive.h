// The bar and control archive: the fields every bar and control class writes after its object
// header, which bars a layout stores, and the bars read back from one.
//
// An archive is an int count of bars, then each bar written by class (CArchive::WriteObject).
// A bar writes its record and then its control collection; every control writes its record.
// The layout of each record is pinned by the golden archive of the tests (BarArchiveTest).
//
// The text members of a control, in the order of the control record: caption, shortcut text,
// tooltip, description, parameter; after the custom icon id the custom caption; since schema 2
// the category. The part of a caption after a TAB is not stored. The record's parameter word is
// the control's user value.
//
// Reading trusts nothing it reads: the archive layer checks classes before creating them,
// back-references and string lengths; the records here refuse newer schemas and bar types and
// positions out of range, skip custom pictures outside the custom range, and link popup controls
// to their child bars without making a bar its own ancestor.
#pragma once

#include "afxarchive.h"
#include "commandbars/TkCommandBar.h"

#include <vector>

// The schema every bar and control class is registered with; objects of a newer schema are
// refused with badSchema.
const UINT TK_ARCHIVE_SCHEMA = VERSIONABLE_SCHEMA | 7;
// Stored popup bars are numbered from this id up, in the order they are reached.
const UINT TK_ARCHIVE_FIRST_POPUP_ID = 0x1000000;
// The custom icon ids an archive may carry: user-edited pictures, from the icon store's first
// custom id on.
const UINT TK_ARCHIVE_LAST_CUSTOM_ICON_ID = 0x10AAA + 0xFFFFF;

// The schema of the object being read; throws badSchema when it is newer than this program's.
UINT TkArchiveSchema(CArchive& ar);

// Bars in order, each holding one reference of the list's, released with the list.
class CTkBarList {
public:
    CTkBarList() = default;
    ~CTkBarList() { RemoveAll(); }
    CTkBarList(const CTkBarList&) = delete;
    CTkBarList& operator=(const CTkBarList&) = delete;

    // Adds the bar with a new reference; false (nothing added) when it is in the list.
    bool Add(CTkCommandBar* bar);
    // Adds a bar whose reference the caller gives to the list.
    void Adopt(CTkCommandBar* bar) { m_bars.push_back(TkAdoptRef(bar)); }
    // Takes the bar out of the list and releases the list's reference; false when not in it.
    bool Remove(CTkCommandBar* bar);
    bool Contains(const CTkCommandBar* bar) const;
    // The first bar with the id, none for id 0.
    CTkCommandBar* FindById(UINT id) const;
    int GetCount() const { return (int)m_bars.size(); }
    CTkCommandBar* GetAt(int index) const { return m_bars[(size_t)index].Get(); }
    const std::vector<CTkRef<CTkCommandBar>>& Bars() const { return m_bars; }
    // Releases every bar.
    void RemoveAll();

private:
    std::vector<CTkRef<CTkCommandBar>> m_bars;
};

// The bars a layout stores, in the order they are written: each bar of `bars` that needs
// storing, followed by the popup bars reachable from its controls (recursively). The popup bars
// are numbered from TK_ARCHIVE_FIRST_POPUP_ID, so that their popup controls write those ids.
void TkCollectBars(const std::vector<CTkCommandBar*>& bars, CTkBarList& stored);
// Writes the count and the bars. The caller makes the manager the archive's context object.
void TkWriteBarsArchive(CArchive& ar, const CTkBarList& bars);
// Reads the bars of an archive into `loaded` and links their popup controls to the child bars
// read with them; combo boxes take the strings of their stored lists, which then leave the list.
// False when the archive is damaged or holds something that is not a bar; the
// bars read before stay in the list (whose release frees them). The caller makes the manager the
// archive's context object.
bool TkReadBarsArchive(CArchive& ar, CTkBarList& loaded);
// Gives the popup controls of a bar (and of its child bars) whose child bar is not set the bar
// of the list with the id they read, unless that would make a bar its own ancestor.
void TkLinkPopupBars(CTkCommandBar* bar, const CTkBarList& loaded);
