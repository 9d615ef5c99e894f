#include "editor/TkEditPicture.h"

#include "images/TkIconStore.h"

#include <algorithm>
#include <cstring>

std::unique_ptr<CTkEditPicture> CTkEditPicture::Create(int width, int height, bool alpha) {
    std::unique_ptr<CTkEditPicture> picture(new CTkEditPicture);
    picture->m_nWidth = TkClampPictureSide(width);
    picture->m_nHeight = TkClampPictureSide(height);
    picture->m_hBitmap = TkCreateAlphaBitmap(picture->m_nWidth, picture->m_nHeight, &picture->m_pBits);
    if (!picture->m_hBitmap || !picture->m_pBits) return nullptr;
    picture->m_bAlpha = alpha;
    picture->Fill(TK_EDIT_TRANSPARENT_PIXEL);
    return picture;
}

std::unique_ptr<CTkEditPicture> CTkEditPicture::FromBitmap(HBITMAP bitmap, int width, int height, bool alpha) {
    // Device-dependent bitmaps (the clipboard's among them) are converted to 32-bit pixels first.
    HBITMAP converted = TkCopyAlphaBitmap(bitmap);
    BITMAP bm = {};
    const DWORD* pixels = TkAlphaBits(converted, &bm);
    std::unique_ptr<CTkEditPicture> picture = pixels ? Create(width, height, alpha) : nullptr;
    if (picture) {
        ::GdiFlush();
        const int columns = std::min((int)bm.bmWidth, picture->m_nWidth);
        const int lines = std::min(std::abs((int)bm.bmHeight), picture->m_nHeight);
        for (int y = 0; y < lines; ++y)
            for (int x = 0; x < columns; ++x) {
                const DWORD pixel = pixels[(size_t)y * bm.bmWidth + x];
                picture->m_pBits[(size_t)y * picture->m_nWidth + x] = alpha ? pixel : (pixel & 0x00FFFFFF);
            }
    }
    if (converted) ::DeleteObject(converted);
    return picture;
}

CTkEditPicture::~CTkEditPicture() {
    if (m_hBitmap) ::DeleteObject(m_hBitmap);
}

std::unique_ptr<CTkEditPicture> CTkEditPicture::Clone() const {
    auto copy = Create(m_nWidth, m_nHeight, m_bAlpha);
    if (!copy) return nullptr;
    ::GdiFlush();
    std::memcpy(copy->m_pBits, m_pBits, (size_t)m_nWidth * m_nHeight * 4);
    return copy;
}

std::unique_ptr<CTkEditPicture> CTkEditPicture::Moved(int dx, int dy) const {
    auto moved = Create(m_nWidth, m_nHeight, m_bAlpha);
    if (!moved) return nullptr;
    for (int y = 0; y < m_nHeight; ++y)
        for (int x = 0; x < m_nWidth; ++x) moved->SetPixel(x + dx, y + dy, GetPixel(x, y));
    return moved;
}

HBITMAP CTkEditPicture::CopyBitmap(COLORREF transparentAs) const {
    DWORD* bits = nullptr;
    HBITMAP bitmap = TkCreateAlphaBitmap(m_nWidth, m_nHeight, &bits);
    if (!bitmap || !bits) {
        if (bitmap) ::DeleteObject(bitmap);
        return nullptr;
    }
    ::GdiFlush();
    const DWORD replacement = TkPixelOf(transparentAs);
    for (size_t i = 0, n = (size_t)m_nWidth * m_nHeight; i < n; ++i) {
        DWORD pixel = m_pBits[i];
        bits[i] = (!m_bAlpha && (pixel & 0x00FFFFFF) == TK_EDIT_TRANSPARENT_PIXEL) ? replacement : pixel;
    }
    return bitmap;
}

DWORD CTkEditPicture::GetPixel(int x, int y) const {
    if (!Contains(x, y)) return TK_EDIT_TRANSPARENT_PIXEL;
    ::GdiFlush();
    return m_pBits[(size_t)y * m_nWidth + x];
}

void CTkEditPicture::SetPixel(int x, int y, DWORD pixel) {
    if (!Contains(x, y)) return;
    ::GdiFlush();
    m_pBits[(size_t)y * m_nWidth + x] = pixel;
}

bool CTkEditPicture::IsTransparentAt(int x, int y) const {
    DWORD pixel = GetPixel(x, y);
    return m_bAlpha ? (pixel >> 24) == 0 : (pixel & 0x00FFFFFF) == TK_EDIT_TRANSPARENT_PIXEL;
}

void CTkEditPicture::Fill(DWORD pixel) {
    ::GdiFlush();
    std::fill(m_pBits, m_pBits + (size_t)m_nWidth * m_nHeight, pixel);
}

void CTkEditPicture::ReplaceColor(COLORREF from, DWORD to) {
    ::GdiFlush();
    const DWORD match = TkPixelOf(from);
    for (size_t i = 0, n = (size_t)m_nWidth * m_nHeight; i < n; ++i)
        if ((m_pBits[i] & 0x00FFFFFF) == match) m_pBits[i] = to;
}

void CTkEditPicture::RepairAlpha(const CTkEditPicture* reference) {
    if (!m_bAlpha) return;
    ::GdiFlush();
    for (size_t i = 0, n = (size_t)m_nWidth * m_nHeight; i < n; ++i) {
        const DWORD before = (reference && reference->m_nWidth == m_nWidth && reference->m_nHeight == m_nHeight)
                                 ? reference->m_pBits[i]
                                 : TK_EDIT_TRANSPARENT_PIXEL;
        if (m_pBits[i] != before && m_pBits[i] != TK_EDIT_TRANSPARENT_PIXEL) m_pBits[i] |= 0xFF000000;
    }
}

bool CTkEditPicture::AllAlphaZero() const {
    ::GdiFlush();
    return std::all_of(m_pBits, m_pBits + (size_t)m_nWidth * m_nHeight, [](DWORD p) { return (p >> 24) == 0; });
}
