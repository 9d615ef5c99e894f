// The fonts every painter shares: built from the system's metrics, rebuilt together, and handed
// again to the windows that hold one of them.
#include "painters/TkThemePainter.h"

#include "commandbars/TkCommandBar.h"

#include <cstddef>
#include <set>

namespace {

struct CFontState {
    CTkPainterFonts* fonts = nullptr;
    std::set<HWND> users;
    int popupItemHeight = 0;
    bool tahomaSeen = false;
};

CFontState& FontState() {
    static CFontState state;
    return state;
}

int CALLBACK NoteFace(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool IsFontInstalled(const char* face) {
    LOGFONTA query = {};
    query.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(query.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    HDC screen = ::GetDC(nullptr);
    ::EnumFontFamiliesExA(screen, &query, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
    ::ReleaseDC(nullptr, screen);
    return found;
}

// The size of the metrics record every system version accepts.
const UINT kMetricsSize = offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof(LOGFONTA);

}  // namespace

CTkPainterFonts& CTkThemePainter::Fonts() {
    if (!FontState().fonts) RebuildFonts();
    return *FontState().fonts;
}

int CTkThemePainter::GetPopupItemHeight() {
    Fonts();
    return FontState().popupItemHeight;
}

bool CTkThemePainter::IsTahomaSeen() {
    return FontState().tahomaSeen;
}

void CTkThemePainter::AddFontUser(HWND window) {
    if (window) FontState().users.insert(window);
}

void CTkThemePainter::RemoveFontUser(HWND window) {
    FontState().users.erase(window);
}

void CTkThemePainter::RebuildFonts(const NONCLIENTMETRICSA* givenMetrics, const LOGFONTA* givenIconTitle) {
    CFontState& state = FontState();
    NONCLIENTMETRICSA metrics = {};
    if (givenMetrics) {
        metrics = *givenMetrics;
    } else {
        metrics.cbSize = kMetricsSize;
        ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kMetricsSize, &metrics, 0);
    }
    LOGFONTA iconTitle = {};
    if (givenIconTitle)
        iconTitle = *givenIconTitle;
    else
        ::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof iconTitle, &iconTitle, 0);

    LOGFONTA base = metrics.lfMenuFont;
    HDC screen = ::GetDC(nullptr);
    int screenCharset = ::GetTextCharsetInfo(screen, nullptr, 0);
    ::ReleaseDC(nullptr, screen);
    base.lfCharSet = (BYTE)screenCharset;
    if (base.lfHeight <= -1 && base.lfHeight >= -10) base.lfHeight = -11;

    if (lstrcmpiA(base.lfFaceName, "Tahoma") == 0) state.tahomaSeen = true;
    const bool tahomaInstalled = IsFontInstalled("Tahoma");
    if (base.lfCharSet <= SYMBOL_CHARSET && state.tahomaSeen && tahomaInstalled)
        lstrcpynA(base.lfFaceName, "Tahoma", LF_FACESIZE);

    auto* fonts = new CTkPainterFonts;
    LOGFONTA font = base;
    fonts->regular.CreateFontIndirect(&font);
    font.lfWeight = FW_BOLD;
    fonts->bold.CreateFontIndirect(&font);
    fonts->status.CreateFontIndirect(&metrics.lfStatusFont);
    fonts->smallCaption.CreateFontIndirect(&metrics.lfSmCaptionFont);

    font = base;
    font.lfEscapement = 2700;
    font.lfOrientation = 900;
    const bool useTahoma = tahomaInstalled && (state.tahomaSeen || lstrcmpiA(base.lfFaceName, "Arial") != 0);
    lstrcpynA(font.lfFaceName, useTahoma ? "Tahoma" : "Arial", LF_FACESIZE);
    fonts->vertical.CreateFontIndirect(&font);
    font.lfWeight = FW_BOLD;
    fonts->verticalBold.CreateFontIndirect(&font);

    fonts->iconTitle.CreateFontIndirect(&iconTitle);
    font = iconTitle;
    font.lfWeight = FW_BOLD;
    fonts->iconTitleBold.CreateFontIndirect(&font);
    LOGFONTA marlett = {};
    marlett.lfHeight = iconTitle.lfHeight;
    marlett.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(marlett.lfFaceName, "Marlett", LF_FACESIZE);
    fonts->marlett.CreateFontIndirect(&marlett);
    LOGFONTA glyph = {};
    HDC display = ::GetDC(nullptr);
    const int tenthsOfPoint = ::MulDiv(80, 96, ::GetDeviceCaps(display, LOGPIXELSX));
    glyph.lfHeight = -::MulDiv(tenthsOfPoint, ::GetDeviceCaps(display, LOGPIXELSY), 720);
    ::ReleaseDC(nullptr, display);
    glyph.lfWeight = FW_NORMAL;
    glyph.lfCharSet = SYMBOL_CHARSET;
    lstrcpynA(glyph.lfFaceName, "Marlett", LF_FACESIZE);
    fonts->glyph.CreateFontIndirect(&glyph);

    HDC measure = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(measure, fonts->regular.GetSafeHandle());
    SIZE blank = {};
    ::GetTextExtentPoint32A(measure, " ", 1, &blank);
    ::SelectObject(measure, old);
    ::DeleteDC(measure);
    state.popupItemHeight = blank.cy + 6;

    // Windows that hold one of the old fonts get its new version before the old ones go.
    CTkPainterFonts* previous = state.fonts;
    state.fonts = fonts;
    if (previous) {
        CFont* olds[] = {&previous->regular, &previous->bold, &previous->status, &previous->vertical,
                         &previous->verticalBold, &previous->smallCaption, &previous->iconTitle,
                         &previous->iconTitleBold, &previous->marlett};
        CFont* news[] = {&fonts->regular, &fonts->bold, &fonts->status, &fonts->vertical, &fonts->verticalBold,
                         &fonts->smallCaption, &fonts->iconTitle, &fonts->iconTitleBold, &fonts->marlett};
        std::set<HWND> users = state.users;
        for (HWND user : users) {
            if (!::IsWindow(user)) {
                state.users.erase(user);
                continue;
            }
            HGDIOBJ held = (HGDIOBJ)::SendMessageW(user, WM_GETFONT, 0, 0);
            for (size_t i = 0; i < sizeof olds / sizeof olds[0]; ++i) {
                if (held && held == olds[i]->GetSafeHandle()) {
                    ::SendMessageW(user, WM_SETFONT, (WPARAM)news[i]->GetSafeHandle(), TRUE);
                    break;
                }
            }
        }
        delete previous;
    }
}

CFont* CTkThemePainter::GetControlFont(CTkCommandBar* bar, bool bold) {
    CTkPainterFonts& fonts = Fonts();
    const bool vertical =
        bar && (bar->m_nPosition == TK_BAR_POSITION_LEFT || bar->m_nPosition == TK_BAR_POSITION_RIGHT);
    if (vertical) return bold ? &fonts.verticalBold : &fonts.vertical;
    return bold ? &fonts.bold : &fonts.regular;
}
