// The picture that the button image editor works on: a 32-bit DIB section (blue, green, red,
// alpha per pixel, rows top-down) and a flag that tells whether the alpha bytes count. Without
// the flag the colour 0xFFFEFF marks a transparent pixel.
#pragma once

#include "afxwin.h"

#include <memory>

// The colour of a transparent pixel in a picture without the alpha flag.
const COLORREF TK_EDIT_TRANSPARENT = RGB(255, 254, 255);
// The same as a pixel of the bits (alpha 0).
const DWORD TK_EDIT_TRANSPARENT_PIXEL = 0x00FFFEFF;
// Picture sides are limited to 1..256.
const int TK_EDIT_MAX_SIDE = 256;

inline int TkClampPictureSide(int side) {
    return side < 1 ? 1 : (side > TK_EDIT_MAX_SIDE ? TK_EDIT_MAX_SIDE : side);
}
// A pixel of the bits from a colour and an alpha, and back.
inline DWORD TkPixelOf(COLORREF colour, BYTE alpha = 0) {
    return ((DWORD)alpha << 24) | ((DWORD)GetRValue(colour) << 16) | ((DWORD)GetGValue(colour) << 8) |
           GetBValue(colour);
}
inline COLORREF TkColorOf(DWORD pixel) {
    return RGB((BYTE)(pixel >> 16), (BYTE)(pixel >> 8), (BYTE)pixel);
}

class CTkEditPicture {
public:
    // A picture filled with 0xFFFEFF (alpha 0); sides are limited to 1..256. None when the DIB
    // section cannot be made.
    static std::unique_ptr<CTkEditPicture> Create(int width, int height, bool alpha = false);
    // A bitmap of any kind (DIB section or device dependent, converted through GetDIBits) drawn
    // at 0, 0 onto a new picture of the given size; the rest stays 0xFFFEFF. None when the
    // bitmap cannot be read.
    static std::unique_ptr<CTkEditPicture> FromBitmap(HBITMAP bitmap, int width, int height, bool alpha);
    ~CTkEditPicture();
    CTkEditPicture(const CTkEditPicture&) = delete;
    CTkEditPicture& operator=(const CTkEditPicture&) = delete;

    // The same bits and flag in a new DIB section.
    std::unique_ptr<CTkEditPicture> Clone() const;
    // Moved by (dx, dy) into a new picture: pixels moved outside are lost, pixels moved in are
    // transparent.
    std::unique_ptr<CTkEditPicture> Moved(int dx, int dy) const;
    // A new 32-bit DIB section of the pixels, 0xFFFEFF replaced by the colour unless the
    // picture has the alpha flag.
    HBITMAP CopyBitmap(COLORREF transparentAs) const;

    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    HBITMAP Bitmap() const { return m_hBitmap; }
    bool IsAlpha() const { return m_bAlpha; }
    void SetAlpha(bool alpha) { m_bAlpha = alpha; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_nWidth && y < m_nHeight; }

    // Pixels of the bits; GDI is flushed before a read. Points outside read 0xFFFEFF and are
    // never written.
    DWORD GetPixel(int x, int y) const;
    void SetPixel(int x, int y, DWORD pixel);
    COLORREF ColorAt(int x, int y) const { return TkColorOf(GetPixel(x, y)); }
    // True when the pixel shows the background: 0xFFFEFF without the alpha flag, alpha 0 with it.
    bool IsTransparentAt(int x, int y) const;
    void Fill(DWORD pixel);
    // Every pixel whose colour (alpha ignored) is from becomes to.
    void ReplaceColor(COLORREF from, DWORD to);
    // For alpha pictures: every pixel that differs from the reference and is not 0x00FFFEFF gets
    // alpha 255 (GDI leaves alpha at 0). Nothing without the flag or with a reference of
    // another size.
    void RepairAlpha(const CTkEditPicture* reference);
    // Every alpha byte is 0 (a 32-bit file written without alpha).
    bool AllAlphaZero() const;

private:
    CTkEditPicture() = default;
    int m_nWidth = 0;
    int m_nHeight = 0;
    HBITMAP m_hBitmap = nullptr;
    DWORD* m_pBits = nullptr;
    bool m_bAlpha = false;
};
