// The system data the toolkit shares: the small-icon size and the regular and bold fonts of its
// lists and headers.
#pragma once

#include "afxwin.h"

class CTkSystemData {
public:
    static CTkSystemData& Instance();
    ~CTkSystemData();
    // Reads the metrics and rebuilds the fonts.
    void Refresh();

    int m_nSmallIconWidth = 16;
    int m_nSmallIconHeight = 16;
    CFont m_fontRegular;
    CFont m_fontBold;

private:
    CTkSystemData();
    void BuildFonts();
};
