// Placeholder buttons of popup menus that stand for lists known only when the menu opens: the
// bars of the manager, the recent files, the frame's MDI windows, OLE verbs and tab-group
// commands. When their popup is laid out they put generated items after themselves; the items
// are temporary (never stored) and made anew at each layout. While the user customises a popup
// the placeholder shows itself and generates nothing; outside popups it is never shown.
#pragma once

#include "controls/TkControl.h"

#include <vector>

// Hides a placeholder whose items stand in its place, or that lies outside a popup bar.
const int TK_CONTROL_HIDE_EXPANDED = 0x1;

class CTkControlPlaceholder : public CTkControlButton {
    DECLARE_DYNAMIC(CTkControlPlaceholder)
public:
    // In a popup bar outside customise mode: the items of the last expansion go and new ones
    // follow the placeholder, which hides; in customise mode the items go and the placeholder
    // shows; outside popup bars it stays hidden.
    void OnCalcDynamicSize(DWORD mode) override;
    void SetParent(CTkCommandBar* bar) override;
    // The items the last expansion put into the collection (owned by the collection).
    const std::vector<CTkControl*>& GetItems() const { return m_items; }

protected:
    // New controls (one reference each) for the items; ids and captions set.
    virtual void GenerateItems(std::vector<CTkControl*>& items) = 0;
    // The frame the bars belong to: the bar's site.
    CWnd* GetFrame() const;

private:
    void RemoveItems();
    std::vector<CTkControl*> m_items;
};

// One check item per bar of the manager; choosing it shows or hides the bar.
class CTkControlToolbars : public CTkControlPlaceholder {
    DECLARE_SERIAL(CTkControlToolbars)
protected:
    void GenerateItems(std::vector<CTkControl*>& items) override;
};

// The verbs of the selected OLE item; this program holds no OLE items, so none.
class CTkControlOleItems : public CTkControlPlaceholder {
    DECLARE_SERIAL(CTkControlOleItems)
public:
    static const int kFirstVerbId = 57872;
    static const int kLastVerbId = 57887;

protected:
    void GenerateItems(std::vector<CTkControl*>&) override {}
};

// One item per entry of the application's recent-file list, numbered &1 to &9, then &0.
class CTkControlRecentFileList : public CTkControlPlaceholder {
    DECLARE_SERIAL(CTkControlRecentFileList)
public:
    static const int kFirstFileId = 57616;
    static const int kMaxFiles = 16;
    // Where the application's recent files come from (full paths, the latest first); none: no
    // recent files.
    using Source = std::vector<CString> (*)();
    static void SetSource(Source source);
    // A path shown relative to the directory when it lies inside it.
    static CString DisplayName(const CString& path, const CString& directory);

protected:
    void GenerateItems(std::vector<CTkControl*>& items) override;
};

// One item per visible MDI child window of the frame, in child-id order.
class CTkControlWindowList : public CTkControlPlaceholder {
    DECLARE_SERIAL(CTkControlWindowList)
public:
    static const int kFirstChildId = 0xFF00;

protected:
    void GenerateItems(std::vector<CTkControl*>& items) override;
};

// The tab-group commands an MDI tab client offers; this program's frames have none, so none.
class CTkControlWorkspaceActions : public CTkControlPlaceholder {
    DECLARE_SERIAL(CTkControlWorkspaceActions)
protected:
    void GenerateItems(std::vector<CTkControl*>&) override {}
};
