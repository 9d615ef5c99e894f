#include "editor/TkImageEditArea.h"

#include "commandbars/TkResourceHandles.h"
#include "editor/TkButtonImageClipboard.h"
#include "editor/TkImageFiles.h"
#include "images/TkIconStore.h"
#include "painters/TkColors.h"
#include "painters/TkDrawTools.h"
#include "painters/TkSystemData.h"
#include "res/TkResource.h"

#include <algorithm>
#include <vector>

namespace {

// The colour of the picture's pixel as it shows over 0xFFFEFF.
COLORREF RenderedColor(const CTkEditPicture& picture, int x, int y) {
    const DWORD pixel = picture.GetPixel(x, y);
    if (!picture.IsAlpha()) return TkColorOf(pixel);
    const int alpha = pixel >> 24;
    auto over = [alpha](int channel, int background) { return background - alpha * (background - channel) / 255; };
    return RGB(over((BYTE)(pixel >> 16), 255), over((BYTE)(pixel >> 8), 254), over((BYTE)pixel, 255));
}

}  // namespace

BEGIN_MESSAGE_MAP(CTkImageEditArea, CStatic)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
    ON_MESSAGE(WM_LBUTTONUP, OnLButtonUp)
    ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
    ON_MESSAGE(WM_SETCURSOR, OnSetCursor)
END_MESSAGE_MAP()

CTkImageEditArea::CTkImageEditArea() {
    CTkSystemData::Instance();  // sets the toolkit's resource handles
    const UINT ids[4] = {IDC_TK_CURSOR_SHAPE, IDC_TK_CURSOR_PICK, IDC_TK_CURSOR_FILL, IDC_TK_CURSOR_PENCIL};
    for (int i = 0; i < 4; ++i)
        m_hCursors[i] = (HCURSOR)::LoadImageW(GetToolkitResourceHandle(), MAKEINTRESOURCEW(ids[i]), IMAGE_CURSOR, 0, 0,
                                              LR_DEFAULTSIZE);
}

CTkImageEditArea::~CTkImageEditArea() {
    for (HCURSOR cursor : m_hCursors)
        if (cursor) ::DestroyCursor(cursor);
}

bool CTkImageEditArea::AttachToControl(CWnd* parent, UINT id, int width, int height) {
    if (!SubclassDlgItem(id, parent)) return false;
    SetPictureSize(width, height);
    return true;
}

void CTkImageEditArea::SetPictureSize(int width, int height) {
    m_nPictureWidth = TkClampPictureSide(width);
    m_nPictureHeight = TkClampPictureSide(height);
    if (!m_hWnd) return;
    CRect client, window;
    GetClientRect(&client);
    GetWindowRect(&window);
    m_nCellWidth = std::max(1, client.Width() / m_nPictureWidth);
    m_nCellHeight = std::max(1, client.Height() / m_nPictureHeight);
    SetWindowPos(nullptr, 0, 0, m_nPictureWidth * m_nCellWidth + 1 + window.Width() - client.Width(),
                 m_nPictureHeight * m_nCellHeight + 1 + window.Height() - client.Height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CPoint CTkImageEditArea::PixelFromPoint(CPoint point) const {
    if (point.x < 0 || point.y < 0) return CPoint(-1, -1);
    return CPoint(point.x / m_nCellWidth, point.y / m_nCellHeight);
}

CPoint CTkImageEditArea::ClampToPicture(CPoint pixel) const {
    return CPoint(std::clamp((int)pixel.x, 0, m_nPictureWidth - 1), std::clamp((int)pixel.y, 0, m_nPictureHeight - 1));
}

void CTkImageEditArea::SetPicture(std::unique_ptr<CTkEditPicture> picture) {
    if (picture && (picture->Width() != m_nPictureWidth || picture->Height() != m_nPictureHeight))
        picture = CTkEditPicture::FromBitmap(picture->Bitmap(), m_nPictureWidth, m_nPictureHeight, picture->IsAlpha());
    m_pPicture = std::move(picture);
    Changed();
}

std::unique_ptr<CTkEditPicture> CTkImageEditArea::Rendered() const {
    return m_pPicture ? m_pPicture->Clone() : CTkEditPicture::Create(m_nPictureWidth, m_nPictureHeight);
}

// ---------------------------------------------------------------------------------------------
// Changes.

void CTkImageEditArea::BeginChange() {
    m_pStart = std::move(m_pPicture);
    m_pPicture = m_pStart ? m_pStart->Clone()
                          : CTkEditPicture::Create(m_nPictureWidth, m_nPictureHeight);
}

void CTkImageEditArea::ReplaceWith(std::unique_ptr<CTkEditPicture> picture) {
    m_pStart = std::move(m_pPicture);
    m_pPicture = std::move(picture);
    Commit();
}

void CTkImageEditArea::Commit() {
    m_redo.clear();
    while (m_undo.size() >= kMaxUndo) m_undo.pop_front();
    m_undo.push_back(std::move(m_pStart));
    Changed();
}

void CTkImageEditArea::Changed() {
    if (m_hWnd) Invalidate(false);
    if (m_pSite) m_pSite->OnEditPictureChanged();
}

void CTkImageEditArea::Step(std::deque<std::unique_ptr<CTkEditPicture>>& from,
                            std::deque<std::unique_ptr<CTkEditPicture>>& to) {
    if (from.empty()) return;
    to.push_back(std::move(m_pPicture));
    m_pPicture = std::move(from.back());
    from.pop_back();
    Changed();
}

void CTkImageEditArea::Undo() {
    Step(m_undo, m_redo);
}

void CTkImageEditArea::Redo() {
    Step(m_redo, m_undo);
}

void CTkImageEditArea::Clear() {
    ReplaceWith(nullptr);
}

void CTkImageEditArea::Move(int dx, int dy) {
    auto moved = Rendered();
    if (moved) moved = moved->Moved(dx, dy);
    if (moved) ReplaceWith(std::move(moved));
}

void CTkImageEditArea::Copy() {
    if (!m_pPicture || !::OpenClipboard(m_hWnd)) return;
    if (::EmptyClipboard())
        TkSetClipboardPicture(m_pPicture->CopyBitmap(TkGetColor(TK_COLOR_BTNFACE)), m_pPicture->IsAlpha());
    ::CloseClipboard();
}

bool CTkImageEditArea::Paste() {
    IDataObject* data = nullptr;
    if (FAILED(::OleGetClipboard(&data)) || !data) return false;
    const bool alpha = TkIsAlphaPaste(data);
    HBITMAP bitmap = TkGetClipboardBitmap(data);
    data->Release();
    if (!bitmap) return false;
    auto picture = CTkEditPicture::FromBitmap(bitmap, m_nPictureWidth, m_nPictureHeight, alpha);
    ::DeleteObject(bitmap);
    if (!picture) return false;
    if (!alpha) picture->ReplaceColor(TkGetColor(TK_COLOR_BTNFACE), TK_EDIT_TRANSPARENT_PIXEL);
    ReplaceWith(std::move(picture));
    return true;
}

bool CTkImageEditArea::Import(const wchar_t* path) {
    auto picture = TkLoadPictureFile(path, m_nPictureWidth, m_nPictureHeight);
    if (!picture) return false;
    ReplaceWith(std::move(picture));
    return true;
}

// ---------------------------------------------------------------------------------------------
// Painting.

void CTkImageEditArea::PaintTo(CDC& dc) const {
    CRect client;
    GetClientRect(&client);
    const int width = client.Width(), height = client.Height();
    if (width <= 0 || height <= 0) return;
    std::vector<DWORD> pixels((size_t)width * height, 0x00FFFFFF);
    const CTkEditPicture* picture = m_pPicture.get();
    for (int j = 0; j < height; ++j) {
        const int y = j * m_nPictureHeight / height;
        for (int i = 0; i < width; ++i) {
            const int x = i * m_nPictureWidth / width;
            const int grey = (((i + 3) / 4 + (j + 3) / 4) % 2) ? 0xEB : 0xFF;
            const DWORD checker = (DWORD)grey * 0x010101;
            DWORD& target = pixels[(size_t)j * width + i];
            if (!picture) {
                target = checker;
            } else if (picture->IsAlpha()) {
                const DWORD pixel = picture->GetPixel(x, y);
                const int alpha = pixel >> 24;
                auto over = [&](int channel) { return (DWORD)(grey - alpha * (grey - channel) / 255) & 0xFF; };
                target = (over((BYTE)(pixel >> 16)) << 16) | (over((BYTE)(pixel >> 8)) << 8) | over((BYTE)pixel);
            } else {
                const DWORD pixel = picture->GetPixel(x, y) & 0x00FFFFFF;
                target = pixel == TK_EDIT_TRANSPARENT_PIXEL ? checker : pixel;
            }
        }
    }
    BITMAPINFO info = TkTopDownInfo(width, height);
    ::SetDIBitsToDevice(dc.GetSafeHdc(), 0, 0, width, height, 0, 0, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    dc.Draw3dRect(client, RGB(0, 0, 0), RGB(0, 0, 0));
}

void CTkImageEditArea::OnPaint() {
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CTkOffscreenDC offscreen(paint.GetSafeHdc(), client);
    PaintTo(offscreen);
}

// ---------------------------------------------------------------------------------------------
// Mouse.

LRESULT CTkImageEditArea::OnLButtonDown(WPARAM, LPARAM lParam) {
    const CPoint pixel = PixelFromPoint(CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)));
    const CTkEditPicture* current = m_pPicture.get();
    if (pixel.x < 0 || pixel.x >= m_nPictureWidth || pixel.y < 0 || pixel.y >= m_nPictureHeight) return 0;
    if (m_nTool == ToolPick) {
        const COLORREF colour = current ? RenderedColor(*current, pixel.x, pixel.y) : TK_EDIT_TRANSPARENT;
        if (m_pSite) m_pSite->OnEditColorPicked(colour);
        return 0;
    }
    BeginChange();
    if (!m_pPicture) {
        m_pPicture = std::move(m_pStart);
        return 0;
    }
    if (m_nTool == ToolFill) {
        {
            CTkBitmapDC dc(nullptr, m_pPicture->Bitmap());
            CTkBrushScope brush(dc.GetSafeHdc(), m_clrCurrent);
            ::ExtFloodFill(dc.GetSafeHdc(), pixel.x, pixel.y, ::GetPixel(dc.GetSafeHdc(), pixel.x, pixel.y),
                           FLOODFILLSURFACE);
            ::GdiFlush();
        }
        m_pPicture->RepairAlpha(m_pStart.get());
        Commit();
        return 0;
    }
    // A second click with the colour a pixel already has erases it (the pencil's stroke).
    const bool erase = m_pPicture->ColorAt(pixel.x, pixel.y) == m_clrCurrent;
    const COLORREF stroke = erase ? TK_EDIT_TRANSPARENT : m_clrCurrent;
    m_dwStroke = TkPixelOf(stroke, (m_pPicture->IsAlpha() && stroke != TK_EDIT_TRANSPARENT) ? 255 : 0);
    m_bDrawing = true;
    m_bChangePending = true;
    m_ptStart = pixel;
    SetCapture(m_hWnd);
    OnMouseMove(0, lParam);
    return 0;
}

LRESULT CTkImageEditArea::OnMouseMove(WPARAM, LPARAM lParam) {
    if (!m_bDrawing || !m_pPicture) return 0;
    const CPoint pixel = PixelFromPoint(CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)));
    if (m_nTool == ToolPencil)
        DrawStroke(pixel);
    else
        DrawShape(m_ptStart, ClampToPicture(pixel));
    Changed();
    return 0;
}

void CTkImageEditArea::DrawStroke(CPoint pixel) {
    // Points outside the picture (the area keeps the capture while drawing) are ignored.
    m_pPicture->SetPixel(pixel.x, pixel.y, m_dwStroke);
}

void CTkImageEditArea::DrawShape(CPoint from, CPoint to) {
    auto picture = m_pStart ? m_pStart->Clone() : CTkEditPicture::Create(m_nPictureWidth, m_nPictureHeight);
    if (!picture) return;
    {
        CTkBitmapDC memory(nullptr, picture->Bitmap());
        CDC& dc = memory.GetDC();
        const CRect rect(std::min(from.x, to.x), std::min(from.y, to.y), std::max(from.x, to.x),
                         std::max(from.y, to.y));
        CTkPenScope pen(dc.GetSafeHdc(), m_clrCurrent);
        if (m_nTool == ToolRectangle) {
            dc.Draw3dRect(rect, m_clrCurrent, m_clrCurrent);
        } else if (m_nTool == ToolEllipse) {
            CTkBrushScope brush(dc.GetSafeHdc(), TK_EDIT_TRANSPARENT);
            ::Ellipse(dc.GetSafeHdc(), rect.left, rect.top, rect.right, rect.bottom);
        } else {
            ::MoveToEx(dc.GetSafeHdc(), from.x, from.y, nullptr);
            ::LineTo(dc.GetSafeHdc(), to.x, to.y);
        }
        ::GdiFlush();
    }
    picture->RepairAlpha(m_pStart.get());
    m_pPicture = std::move(picture);
}

LRESULT CTkImageEditArea::OnLButtonUp(WPARAM, LPARAM) {
    if (!m_bDrawing) return 0;
    m_bDrawing = false;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    return 0;
}

LRESULT CTkImageEditArea::OnCaptureChanged(WPARAM, LPARAM) {
    m_bDrawing = false;
    if (m_bChangePending) {
        m_bChangePending = false;
        Commit();
    }
    return 0;
}

LRESULT CTkImageEditArea::OnSetCursor(WPARAM, LPARAM) {
    static const int byTool[ToolCount] = {3, 2, 1, 0, 0, 0};
    HCURSOR cursor = m_nTool >= 0 && m_nTool < ToolCount ? m_hCursors[byTool[m_nTool]] : nullptr;
    ::SetCursor(cursor ? cursor : ::LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW));
    return TRUE;
}
