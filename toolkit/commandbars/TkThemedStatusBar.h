// The status bar of the program's frames: a class-library status bar drawn by the toolkit's
// theme painter, so that it matches the themed menu bar and toolbars.
#pragma once

#include "afxcmn.h"

class CTkCommandBars;
class CTkThemePainter;

class CTkThemedStatusBar : public CStatusBar {
public:
    CTkThemedStatusBar() = default;
    ~CTkThemedStatusBar() override;

    // Gives the bar the painters' status font, its panes and a height of at least 20 pixels.
    bool SetIndicators(const UINT* ids, int count);
    // The manager's painter when a manager is set, else the current painter.
    CTkThemePainter* GetPainter() const;
    // Paints the whole bar into a device context in client coordinates.
    void DoPaint(CDC* dc);

    // The command-bars manager whose painter the bar uses, none for the current painter.
    CTkCommandBars* m_pManager = nullptr;

protected:
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(HDC dc);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};
