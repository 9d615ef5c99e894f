// The button image editor's edit area driven by mouse messages on a 16 x 16 picture, its
// clipboard formats and its picture files.
#include "TkTestSupport.h"
#include "editor/TkButtonImageClipboard.h"
#include "editor/TkImageEditArea.h"
#include "editor/TkImageFiles.h"
#include "painters/TkColors.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGreen = RGB(0, 128, 0);

// A 160 x 160 edit area for a 16 x 16 picture (10 x 10 screen pixels per picture pixel).
class EditArea : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(TkDesktopReady());
        ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "editor", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr));
        HWND control = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 10, 10, 160, 160,
                                         parent.GetSafeHwnd(), (HMENU)(UINT_PTR)9361, nullptr, nullptr);
        ASSERT_NE(nullptr, control);
        ASSERT_TRUE(area.AttachToControl(&parent, 9361, 16, 16));
    }
    void TearDown() override {
        parent.DestroyWindow();
        ::OleUninitialize();
    }
    static LPARAM At(int x, int y) { return MAKELPARAM((WORD)(short)x, (WORD)(short)y); }
    // Screen point in the middle of a picture pixel.
    static LPARAM Cell(int x, int y) { return At(x * 10 + 5, y * 10 + 5); }
    void Drag(int tool, COLORREF colour, CPoint from, CPoint to) {
        area.SetTool(tool);
        area.SetColor(colour);
        area.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Cell(from.x, from.y));
        area.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, Cell(to.x, to.y));
        area.SendMessage(WM_LBUTTONUP, 0, Cell(to.x, to.y));
    }
    void Click(int tool, COLORREF colour, int x, int y) { Drag(tool, colour, CPoint(x, y), CPoint(x, y)); }
    COLORREF Pixel(int x, int y) const { return area.GetPicture()->ColorAt(x, y); }
    bool Transparent(int x, int y) const { return !area.GetPicture() || area.GetPicture()->IsTransparentAt(x, y); }
    // A picture whose pixel (x, y) has a colour made from x and y, with a transparent column 0.
    static std::unique_ptr<CTkEditPicture> Pattern(bool alpha) {
        auto picture = CTkEditPicture::Create(16, 16, alpha);
        for (int y = 0; y < 16; ++y)
            for (int x = 1; x < 16; ++x) picture->SetPixel(x, y, TkPixelOf(RGB(x * 16, y * 16, 99), alpha ? 200 : 0));
        return picture;
    }
    static std::vector<DWORD> Bits(const CTkEditPicture& picture) {
        std::vector<DWORD> bits;
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x) bits.push_back(picture.GetPixel(x, y));
        return bits;
    }
    void Open() { ASSERT_TRUE(::OpenClipboard(parent.GetSafeHwnd())); }

    CWnd parent;
    CTkImageEditArea area;
};

TEST_F(EditArea, CellsAndPictureSizesStayInBounds) {
    EXPECT_EQ(10, area.GetCellWidth());
    EXPECT_EQ(10, area.GetCellHeight());
    CRect client;
    area.GetClientRect(&client);
    EXPECT_EQ(161, client.Width());
    EXPECT_EQ(161, client.Height());
    EXPECT_EQ(2, area.PixelFromPoint(CPoint(25, 37)).x);
    EXPECT_EQ(3, area.PixelFromPoint(CPoint(25, 37)).y);
    EXPECT_EQ(-1, area.PixelFromPoint(CPoint(-3, 5)).x);
    // A picture wider than the control still has cells of one pixel; sizes are limited to 1..256.
    area.SetPictureSize(400, 0);
    EXPECT_EQ(256, area.GetPictureWidth());
    EXPECT_EQ(1, area.GetPictureHeight());
    EXPECT_EQ(1, area.GetCellWidth());
    EXPECT_EQ(255, area.PixelFromPoint(CPoint(255, 0)).x);
    auto large = CTkEditPicture::Create(1000, -5);
    EXPECT_EQ(256, large->Width());
    EXPECT_EQ(1, large->Height());
}

TEST_F(EditArea, ToolsProduceTheExpectedPixels) {
    // Pencil: a click paints, a second click with the same colour erases.
    Click(CTkImageEditArea::ToolPencil, kRed, 3, 4);
    EXPECT_EQ(kRed, Pixel(3, 4));
    EXPECT_TRUE(Transparent(3, 3));
    Click(CTkImageEditArea::ToolPencil, kRed, 3, 4);
    EXPECT_TRUE(Transparent(3, 4));
    // Line from (0, 0) to (5, 0): the end pixel is not drawn.
    Drag(CTkImageEditArea::ToolLine, kBlue, CPoint(0, 0), CPoint(5, 0));
    for (int x = 0; x < 5; ++x) EXPECT_EQ(kBlue, Pixel(x, 0)) << x;
    EXPECT_TRUE(Transparent(5, 0));
    // Rectangle from (12, 12) back to (2, 2): a frame from 2 to 11.
    Drag(CTkImageEditArea::ToolRectangle, kRed, CPoint(12, 12), CPoint(2, 2));
    EXPECT_EQ(kRed, Pixel(2, 7));
    EXPECT_EQ(kRed, Pixel(11, 7));
    EXPECT_EQ(kRed, Pixel(7, 2));
    EXPECT_EQ(kRed, Pixel(7, 11));
    EXPECT_TRUE(Transparent(7, 7));
    EXPECT_TRUE(Transparent(12, 7));
    // Fill inside the frame, then outside it.
    Click(CTkImageEditArea::ToolFill, kGreen, 5, 5);
    EXPECT_EQ(kGreen, Pixel(7, 7));
    EXPECT_EQ(kGreen, Pixel(3, 10));
    EXPECT_EQ(kRed, Pixel(2, 7));
    EXPECT_TRUE(Transparent(13, 13));
    Click(CTkImageEditArea::ToolFill, kBlue, 14, 14);
    EXPECT_EQ(kBlue, Pixel(13, 13));
    EXPECT_EQ(kBlue, Pixel(15, 0));
    EXPECT_EQ(kGreen, Pixel(7, 7));
    EXPECT_EQ(kRed, Pixel(11, 7));
    // Ellipse over a cleared picture: outline in the colour, inside transparent.
    area.Clear();
    EXPECT_EQ(nullptr, area.GetPicture());
    Click(CTkImageEditArea::ToolPencil, kGreen, 7, 7);
    Drag(CTkImageEditArea::ToolEllipse, kBlue, CPoint(2, 2), CPoint(13, 13));
    EXPECT_EQ(kBlue, Pixel(7, 2));
    EXPECT_EQ(kBlue, Pixel(2, 7));
    EXPECT_TRUE(Transparent(7, 7));
    EXPECT_TRUE(Transparent(0, 0));
}

TEST_F(EditArea, DrawingOnAnAlphaPictureMakesTheStrokeOpaque) {
    area.SetPicture(CTkEditPicture::Create(16, 16, true));
    Drag(CTkImageEditArea::ToolLine, kRed, CPoint(1, 1), CPoint(1, 6));
    EXPECT_EQ(0xFFFF0000u, area.GetPicture()->GetPixel(1, 3));
    EXPECT_EQ(0u, area.GetPicture()->GetPixel(2, 3) >> 24);
    Click(CTkImageEditArea::ToolPencil, kRed, 1, 3);
    EXPECT_TRUE(Transparent(1, 3));
}

TEST_F(EditArea, PointsOutsideThePictureAreNeverWritten) {
    area.SetTool(CTkImageEditArea::ToolPencil);
    area.SetColor(kRed);
    area.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Cell(5, 5));
    for (LPARAM point : {At(-30, 500), At(2000, 10), At(-1, -1), At(160, 5), At(5, 32000)})
        area.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, point);
    area.SendMessage(WM_LBUTTONUP, 0, At(-30, 500));
    int painted = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) painted += !Transparent(x, y);
    EXPECT_EQ(1, painted);
    // Shapes end at the nearest pixel of the picture.
    area.SetTool(CTkImageEditArea::ToolLine);
    area.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Cell(0, 9));
    area.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(5000, 95));
    area.SendMessage(WM_LBUTTONUP, 0, At(5000, 95));
    EXPECT_EQ(kRed, Pixel(14, 9));
    EXPECT_EQ(16, area.GetPicture()->Width());
    // A click on the frame below the last cell does nothing.
    const size_t before = area.GetUndoCount();
    area.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 160));
    area.SendMessage(WM_LBUTTONUP, 0, At(5, 160));
    EXPECT_EQ(before, area.GetUndoCount());
}

TEST_F(EditArea, UndoAndRedoWalkBackAndForth) {
    for (int i = 0; i < 17; ++i) Click(CTkImageEditArea::ToolPencil, kRed, i % 16, i / 16);
    EXPECT_EQ(CTkImageEditArea::kMaxUndo, area.GetUndoCount());
    // Sixteen steps back: the first click stays, every later one is gone.
    for (int i = 0; i < 16; ++i) area.Undo();
    EXPECT_FALSE(area.CanUndo());
    EXPECT_EQ(kRed, Pixel(0, 0));
    EXPECT_TRUE(Transparent(1, 0));
    EXPECT_TRUE(Transparent(0, 1));
    // Forward again, then back by three.
    for (int i = 0; i < 16; ++i) area.Redo();
    EXPECT_FALSE(area.CanRedo());
    EXPECT_EQ(kRed, Pixel(0, 1));
    area.Undo();
    area.Undo();
    area.Undo();
    EXPECT_TRUE(Transparent(0, 1));
    EXPECT_TRUE(Transparent(15, 0));
    EXPECT_EQ(kRed, Pixel(13, 0));
    area.Redo();
    EXPECT_EQ(kRed, Pixel(14, 0));
    // A new change after an undo empties the redo list.
    Click(CTkImageEditArea::ToolPencil, kBlue, 8, 8);
    EXPECT_FALSE(area.CanRedo());
    // Clearing is a change like any other.
    area.Clear();
    EXPECT_EQ(nullptr, area.GetPicture());
    area.Undo();
    EXPECT_EQ(kBlue, Pixel(8, 8));
}

TEST_F(EditArea, AStrayCaptureChangeAddsNoUndoEntry) {
    area.SendMessage(WM_CAPTURECHANGED, 0, 0);
    EXPECT_FALSE(area.CanUndo());
    Click(CTkImageEditArea::ToolPencil, kRed, 1, 1);
    EXPECT_EQ(1u, area.GetUndoCount());
    area.SendMessage(WM_CAPTURECHANGED, 0, 0);
    area.SendMessage(WM_LBUTTONUP, 0, Cell(1, 1));
    EXPECT_EQ(1u, area.GetUndoCount());
}

TEST_F(EditArea, MovingRightLosesTheLastColumn) {
    area.SetPicture(Pattern(false));
    area.Move(1, 0);
    for (int y = 0; y < 16; ++y) {
        EXPECT_TRUE(Transparent(0, y));
        EXPECT_TRUE(Transparent(1, y));
        for (int x = 2; x < 16; ++x) EXPECT_EQ(RGB((x - 1) * 16, y * 16, 99), Pixel(x, y));
    }
    area.Move(0, -1);
    EXPECT_EQ(RGB(16, 16, 99), Pixel(2, 0));
    EXPECT_TRUE(Transparent(5, 15));
    area.Undo();
    area.Undo();
    EXPECT_EQ(Bits(*Pattern(false)), Bits(*area.GetPicture()));
}

TEST_F(EditArea, PaintingShowsTheCheckerboardAndBlendsAlpha) {
    CRect client;
    area.GetClientRect(&client);
    CTkTestCanvas empty(client.Width(), client.Height(), RGB(1, 2, 3));
    CDC emptyDC;
    emptyDC.Attach(empty.dc());
    area.PaintTo(emptyDC);
    emptyDC.Detach();
    // An empty picture shows the background: the checkerboard, with the black frame.
    EXPECT_NE(empty.At(2, 2), empty.At(6, 2));
    EXPECT_EQ(RGB(255, 255, 255), empty.At(2, 2));
    EXPECT_EQ(RGB(235, 235, 235), empty.At(6, 2));
    EXPECT_EQ(RGB(0, 0, 0), empty.At(0, 50));
    EXPECT_EQ(RGB(0, 0, 0), empty.At(160, 160));
    area.SetPicture(CTkEditPicture::Create(16, 16));
    CTkTestCanvas transparent(client.Width(), client.Height());
    CDC transparentDC;
    transparentDC.Attach(transparent.dc());
    area.PaintTo(transparentDC);
    transparentDC.Detach();
    for (int i = 1; i < 160; i += 7) EXPECT_EQ(empty.At(i, 81), transparent.At(i, 81)) << i;
    // Red at alpha 128 over white and over the grey square.
    auto alpha = CTkEditPicture::Create(16, 16, true);
    alpha->Fill(0x80FF0000);
    area.SetPicture(std::move(alpha));
    CTkTestCanvas blended(client.Width(), client.Height());
    CDC blendedDC;
    blendedDC.Attach(blended.dc());
    area.PaintTo(blendedDC);
    blendedDC.Detach();
    EXPECT_EQ(RGB(255, 127, 127), blended.At(2, 2));
    EXPECT_EQ(RGB(245, 118, 118), blended.At(6, 2));
}

// ---------------------------------------------------------------------------------------------
// Clipboard.

TEST_F(EditArea, CopyAndPasteRoundTripThroughBothFormats) {
    // A plain picture: transparent pixels travel as the button face, and come back transparent.
    area.SetPicture(Pattern(false));
    area.Copy();
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP));
    EXPECT_FALSE(::IsClipboardFormatAvailable(CTkIconStore::Global().GetAlphaMarkerFormat()));
    Open();
    HBITMAP onClipboard = (HBITMAP)::GetClipboardData(CF_BITMAP);
    auto copied = CTkEditPicture::FromBitmap(onClipboard, 16, 16, false);
    ::CloseClipboard();
    ASSERT_NE(nullptr, copied);
    EXPECT_EQ(TkGetColor(TK_COLOR_BTNFACE), copied->ColorAt(0, 5));
    area.Clear();
    ASSERT_TRUE(area.Paste());
    EXPECT_EQ(Bits(*Pattern(false)), Bits(*area.GetPicture()));
    EXPECT_FALSE(area.GetPicture()->IsAlpha());
    // An alpha picture puts the marker beside the bitmap and comes back with its alpha.
    area.SetPicture(Pattern(true));
    area.Copy();
    EXPECT_TRUE(::IsClipboardFormatAvailable(CTkIconStore::Global().GetAlphaMarkerFormat()));
    area.Clear();
    ASSERT_TRUE(area.Paste());
    EXPECT_TRUE(area.GetPicture()->IsAlpha());
    EXPECT_EQ(Bits(*Pattern(true)), Bits(*area.GetPicture()));
    // A button's picture copied with its icon set: the store's format pastes as a new custom
    // icon with the same pixels, and the editor takes the bitmap beside it.
    CTkIconStore store;
    CTkIconImage button = CTkIconImage::FromAlphaBitmap(Pattern(true)->CopyBitmap(0));
    ASSERT_TRUE(store.AddIcon(button, 501));
    ASSERT_TRUE(TkCopyButtonImage(store, 501, parent.GetSafeHwnd()));
    EXPECT_TRUE(::IsClipboardFormatAvailable(store.GetToolbarImageFormat()));
    EXPECT_TRUE(::IsClipboardFormatAvailable(store.GetAlphaMarkerFormat()));
    IDataObject* data = nullptr;
    ASSERT_EQ(S_OK, ::OleGetClipboard(&data));
    const UINT id = TkPasteButtonImage(store, data);
    data->Release();
    EXPECT_EQ(CTkIconStore::kFirstCustomBase + 1, id);
    CTkIconEntry* pasted = store.GetImage(id, 16);
    ASSERT_NE(nullptr, pasted);
    auto pastedPicture = CTkEditPicture::FromBitmap(pasted->GetNormal().GetAlphaBitmap(), 16, 16, true);
    EXPECT_EQ(Bits(*Pattern(true)), Bits(*pastedPicture));
    area.Clear();
    ASSERT_TRUE(area.Paste());
    EXPECT_EQ(Bits(*Pattern(true)), Bits(*area.GetPicture()));
}

TEST_F(EditArea, PasteConvertsDeviceBitmapsAndReadsDib32Formats) {
    // A device-dependent bitmap on the clipboard: button-face pixels become transparent.
    HDC screen = ::GetDC(nullptr);
    HBITMAP device = ::CreateCompatibleBitmap(screen, 8, 8);
    HDC memory = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(memory, device);
    CDC dc;
    dc.Attach(memory);
    dc.FillSolidRect(CRect(0, 0, 8, 8), kBlue);
    dc.FillSolidRect(CRect(0, 0, 2, 8), ::GetSysColor(COLOR_BTNFACE));
    dc.Detach();
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    Open();
    ::EmptyClipboard();
    ASSERT_NE(nullptr, ::SetClipboardData(CF_BITMAP, device));
    ::CloseClipboard();
    ASSERT_TRUE(area.Paste());
    EXPECT_FALSE(area.GetPicture()->IsAlpha());
    EXPECT_EQ(kBlue, Pixel(5, 5));
    EXPECT_TRUE(Transparent(1, 5));
    EXPECT_TRUE(Transparent(12, 12));
    // A format whose name holds "DIB32" after its first character makes the paste an alpha paste.
    area.SetPicture(Pattern(true));
    area.Copy();
    EXPECT_TRUE(area.Paste());
    Open();
    HBITMAP copy = TkCopyAlphaBitmap((HBITMAP)::GetClipboardData(CF_BITMAP));
    ::EmptyClipboard();
    ::SetClipboardData(CF_BITMAP, copy);
    TkSetClipboardBlock(::RegisterClipboardFormatW(L"PNG+DIB32 picture"), "x", 1);
    ::CloseClipboard();
    area.Clear();
    ASSERT_TRUE(area.Paste());
    EXPECT_TRUE(area.GetPicture()->IsAlpha());
    // Without a bitmap on the clipboard, nothing changes.
    Open();
    ::EmptyClipboard();
    ::CloseClipboard();
    const size_t undo = area.GetUndoCount();
    EXPECT_FALSE(area.Paste());
    EXPECT_EQ(undo, area.GetUndoCount());
    EXPECT_TRUE(area.GetPicture()->IsAlpha());
}

TEST_F(EditArea, CopyingNothingOrFailingLeavesNothingBehind) {
    // An empty picture is not copied: the clipboard keeps what it had.
    Open();
    ::EmptyClipboard();
    TkSetClipboardBlock(CF_PRIVATEFIRST + 0, "k", 1);
    ::CloseClipboard();
    area.Copy();
    EXPECT_FALSE(::IsClipboardFormatAvailable(CF_BITMAP));
    // A clipboard that is not open refuses the bitmap and the marker (the bitmap is deleted, but
    // Wine keeps a bitmap once offered to the clipboard, so that cannot be seen here).
    EXPECT_FALSE(TkSetClipboardPicture(TkCreateAlphaBitmap(4, 4), true));
    EXPECT_FALSE(TkSetClipboardPicture(nullptr, false));
    EXPECT_FALSE(TkSetClipboardBlock(CF_TEXT, "x", 1));
    EXPECT_FALSE(::IsClipboardFormatAvailable(CF_BITMAP));
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_PRIVATEFIRST));
    // No picture to copy, and palette buttons without a picture, give nothing.
    CTkIconStore store;
    EXPECT_FALSE(TkCopyButtonImage(store, 77, parent.GetSafeHwnd()));
    EXPECT_EQ(0u, TkCustomIconFromPalette(store, 0x50000));
    store.FindIconSet(0);
    CTkIconImage empty;
    EXPECT_FALSE(store.AddIcon(empty, 0x50001));
    EXPECT_EQ(0, store.GetSetCount());
    // A palette button with a picture gives a new custom icon with a copy of it.
    CTkIconImage picture = CTkIconImage::FromAlphaBitmap(Pattern(true)->CopyBitmap(0));
    ASSERT_TRUE(store.AddIcon(picture, 0x50002));
    const UINT id = TkCustomIconFromPalette(store, 0x50002);
    EXPECT_EQ(CTkIconStore::kFirstCustomBase + 1, id);
    EXPECT_TRUE(store.GetImage(id, 16)->HasAlphaBitmap());
    EXPECT_TRUE(store.GetImage(0x50002, 16)->HasAlphaBitmap());
}

// ---------------------------------------------------------------------------------------------
// Picture files.

// An icon file with one 16 x 16 image of the given depth (32: alpha 255 except column 0).
std::vector<BYTE> IconFile(int bits, COLORREF colour) {
    const int width = 16, height = 16;
    const int colours = bits <= 8 ? (1 << bits) : 0;
    const int stride = ((width * bits + 31) / 32) * 4, maskStride = 4;
    const DWORD size = 40 + colours * 4 + stride * height + maskStride * height;
    std::vector<BYTE> file(6 + 16 + size, 0);
    file[2] = 1;
    file[4] = 1;
    BYTE* entry = file.data() + 6;
    entry[0] = width;
    entry[1] = height;
    entry[4] = 1;
    entry[6] = (BYTE)bits;
    std::memcpy(entry + 8, &size, 4);
    const DWORD offset = 22;
    std::memcpy(entry + 12, &offset, 4);
    BITMAPINFOHEADER header = {sizeof header, width, height * 2, 1, (WORD)bits, BI_RGB, 0, 0, 0, 0, 0};
    std::memcpy(file.data() + offset, &header, sizeof header);
    BYTE* palette = file.data() + offset + 40;
    if (colours) {
        palette[4] = GetBValue(colour);
        palette[5] = GetGValue(colour);
        palette[6] = GetRValue(colour);
    }
    BYTE* pixels = palette + colours * 4;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (bits == 32) {
                DWORD pixel = TkPixelOf(colour, x == 0 ? 0 : 255);
                std::memcpy(pixels + y * stride + x * 4, &pixel, 4);
            } else if (bits == 8) {
                pixels[y * stride + x] = x == 0 ? 0 : 1;
            }
        }
    // The mask: column 0 transparent.
    BYTE* mask = pixels + stride * height;
    for (int y = 0; y < height; ++y) mask[y * maskStride] = 0x80;
    return file;
}

std::wstring WriteTemp(const wchar_t* name, const std::vector<BYTE>& bytes) {
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    std::wstring path = std::wstring(folder) + name;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    ::CloseHandle(file);
    return path;
}

TEST(TkIconFileReader, DamagedIconFilesGiveNoImage) {
    const std::vector<BYTE> good = IconFile(32, kRed);
    HBITMAP image = TkIconImage32FromBytes(good.data(), good.size(), 16);
    ASSERT_NE(nullptr, image);
    ::DeleteObject(image);
    EXPECT_EQ(nullptr, TkIconImage32FromBytes(good.data(), good.size(), 24));
    auto damaged = [&](auto change) {
        std::vector<BYTE> bytes = good;
        change(bytes);
        HBITMAP result = TkIconImage32FromBytes(bytes.data(), bytes.size(), 16);
        if (result) ::DeleteObject(result);
        return result == nullptr;
    };
    EXPECT_TRUE(damaged([](std::vector<BYTE>& b) { b[4] = 200; }));                      // count beyond the file
    EXPECT_TRUE(damaged([](std::vector<BYTE>& b) { b[4] = 0; }));                        // no entries
    EXPECT_TRUE(damaged([](std::vector<BYTE>& b) { b.resize(b.size() - 1); }));          // data cut short
    EXPECT_TRUE(damaged([](std::vector<BYTE>& b) { b[6 + 8] = 60; b[6 + 9] = 0; }));     // entry smaller than its image
    EXPECT_TRUE(damaged([](std::vector<BYTE>& b) { b[6 + 12] = 0xF0; b[6 + 15] = 0x7F; }));  // offset far outside
    EXPECT_TRUE(damaged([](std::vector<BYTE>& b) { b[22] = 12; }));                      // header size
    EXPECT_TRUE(damaged([](std::vector<BYTE>& b) { b[22 + 4] = 64; }));                  // header width
    EXPECT_TRUE(damaged([](std::vector<BYTE>& b) { b[22 + 8] = 64; }));                  // header height
    EXPECT_TRUE(damaged([](std::vector<BYTE>& b) { b[22 + 14] = 24; }));                 // header depth
    EXPECT_TRUE(damaged([](std::vector<BYTE>& b) { b.resize(5); }));
    // Random damage never reads outside the bytes and gives a 16 x 16 image or none.
    std::mt19937 random(25);
    for (int round = 0; round < 3000; ++round) {
        std::vector<BYTE> bytes = good;
        const int changes = 1 + (int)(random() % 6);
        for (int i = 0; i < changes; ++i) bytes[random() % 70] = (BYTE)random();
        if (round % 3 == 0) bytes.resize(random() % bytes.size());
        HBITMAP result = TkIconImage32FromBytes(bytes.data(), bytes.size(), round % 2 ? 16 : 0);
        if (result) {
            BITMAP bm = {};
            ::GetObjectW(result, sizeof bm, &bm);
            EXPECT_EQ(16, bm.bmWidth);
            EXPECT_EQ(16, std::abs(bm.bmHeight));
            ::DeleteObject(result);
        }
    }
}

TEST_F(EditArea, ImportsIconAndBitmapFiles) {
    // A 32-bit icon gives an alpha picture.
    ASSERT_TRUE(area.Import(WriteTemp(L"tk-editor-32.ico", IconFile(32, kRed)).c_str()));
    EXPECT_TRUE(area.GetPicture()->IsAlpha());
    EXPECT_EQ(0xFFFF0000u, area.GetPicture()->GetPixel(5, 5));
    EXPECT_TRUE(Transparent(0, 5));
    // An icon with only an 8-bit image gives a plain picture through the system's loader.
    ASSERT_TRUE(area.Import(WriteTemp(L"tk-editor-8.ico", IconFile(8, kBlue)).c_str()));
    EXPECT_FALSE(area.GetPicture()->IsAlpha());
    EXPECT_EQ(kBlue, Pixel(5, 5));
    EXPECT_TRUE(Transparent(0, 5));
    // A damaged icon, a missing file and a damaged bitmap change nothing.
    const size_t undo = area.GetUndoCount();
    std::vector<BYTE> damaged = IconFile(32, kGreen);
    damaged[4] = 9;
    EXPECT_FALSE(area.Import(WriteTemp(L"tk-editor-damaged.ico", damaged).c_str()));
    EXPECT_FALSE(area.Import(L"c:\\no such folder\\missing.bmp"));
    EXPECT_FALSE(area.Import(WriteTemp(L"tk-editor-damaged.bmp", {'B', 'M', 1, 2, 3}).c_str()));
    EXPECT_EQ(undo, area.GetUndoCount());
    EXPECT_EQ(kBlue, Pixel(5, 5));
    // A 32-bit bitmap whose alpha bytes are all 0 is opaque.
    std::vector<BYTE> bmp(14 + 40 + 16 * 16 * 4, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    const DWORD fileSize = (DWORD)bmp.size(), bitsAt = 54;
    std::memcpy(&bmp[2], &fileSize, 4);
    std::memcpy(&bmp[10], &bitsAt, 4);
    BITMAPINFOHEADER header = {40, 16, 16, 1, 32, BI_RGB, 16 * 16 * 4, 0, 0, 0, 0};
    std::memcpy(&bmp[14], &header, 40);
    for (int i = 0; i < 256; ++i) {
        const DWORD pixel = TkPixelOf(kGreen, 0);
        std::memcpy(&bmp[54 + i * 4], &pixel, 4);
    }
    ASSERT_TRUE(area.Import(WriteTemp(L"tk-editor-noalpha.bmp", bmp).c_str()));
    EXPECT_FALSE(Transparent(3, 3));
    EXPECT_EQ(kGreen, Pixel(3, 3));
    // With real alpha it stays an alpha picture.
    for (int i = 0; i < 256; ++i) {
        const DWORD pixel = TkPixelOf(kGreen, i < 16 ? 0 : 255);
        std::memcpy(&bmp[54 + i * 4], &pixel, 4);
    }
    ASSERT_TRUE(area.Import(WriteTemp(L"tk-editor-alpha.bmp", bmp).c_str()));
    EXPECT_TRUE(area.GetPicture()->IsAlpha());
    EXPECT_TRUE(Transparent(3, 15));  // the file's first row is the picture's last
    EXPECT_FALSE(Transparent(3, 3));
}

}  // namespace
