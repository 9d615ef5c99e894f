// What the bars ask of the command-bars manager that owns them: its own painter and icon store
// and its display settings. The manager's frame handling, customisation and persistence are
// added to this class by the manager itself.
#pragma once

#include "afxwin.h"

class CTkIconStore;
class CTkThemePainter;

class CTkCommandBars : public CCmdTarget {
    DECLARE_DYNCREATE(CTkCommandBars)
public:
    CTkCommandBars() = default;
    ~CTkCommandBars() override;

    // The manager's own painter, none when its bars use the current painter.
    CTkThemePainter* GetOwnPainter() const { return m_pPainter; }
    // Replace the manager's own painter (a reference is added; the old one released).
    void SetPainter(CTkThemePainter* painter);
    CTkIconStore* GetOwnIconStore() const { return m_pIconStore; }
    void SetIconStore(CTkIconStore* store);
    // The site window the bars report to.
    CWnd* GetSite() const { return m_pSite; }
    // A new popup bar for a popup control the site supplied none for (one reference).
    virtual CTkCommandBar* CreateDefaultPopupBar() { return nullptr; }
    bool IsCustomizeMode() const { return m_bCustomizeMode; }

    // Display settings the bars and painters read.
    CSize m_szToolbarIcons;            // 0 x 0: 16 x 16
    CSize m_szLargeIcons;              // 0 x 0: double the toolbar icons
    CSize m_szPopupIcons = CSize(16, 16);
    bool m_bLargeIcons = false;
    bool m_bTextBelowIcons = false;

    CWnd* m_pSite = nullptr;
    bool m_bCustomizeMode = false;

protected:
    CTkThemePainter* m_pPainter = nullptr;
    CTkIconStore* m_pIconStore = nullptr;
};
