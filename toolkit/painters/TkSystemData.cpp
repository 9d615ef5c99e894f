#include "painters/TkSystemData.h"

#include "commandbars/TkResourceHandles.h"

CTkSystemData& CTkSystemData::Instance() {
    static CTkSystemData data;
    return data;
}

CTkSystemData::CTkSystemData() {
    HINSTANCE module = ::GetModuleHandleW(nullptr);
    SetToolkitResourceHandles(module, module);
    Refresh();
}

CTkSystemData::~CTkSystemData() {
    m_fontRegular.DeleteObject();
    m_fontBold.DeleteObject();
}

void CTkSystemData::Refresh() {
    m_nSmallIconWidth = ::GetSystemMetrics(SM_CXSMICON);
    m_nSmallIconHeight = ::GetSystemMetrics(SM_CYSMICON);
    BuildFonts();
}

void CTkSystemData::BuildFonts() {
    m_fontRegular.DeleteObject();
    m_fontBold.DeleteObject();
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return;
    LOGFONTA base = {};
    base.lfHeight = metrics.lfMenuFont.lfHeight;
    base.lfWeight = metrics.lfMenuFont.lfWeight;
    base.lfItalic = metrics.lfMenuFont.lfItalic;
    lstrcpynA(base.lfFaceName, metrics.lfMenuFont.lfFaceName, LF_FACESIZE);
    HDC screen = ::GetDC(nullptr);
    base.lfCharSet = (BYTE)::GetTextCharsetInfo(screen, nullptr, 0);
    ::ReleaseDC(nullptr, screen);
    if (!m_fontRegular.CreateFontIndirect(&base)) return;
    LOGFONTA bold = base;
    bold.lfWeight = FW_BOLD;
    m_fontBold.CreateFontIndirect(&bold);
}
