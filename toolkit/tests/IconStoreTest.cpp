#include "TkTestSupport.h"
#include "images/TkIconStore.h"
#include "painters/TkColors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

const COLORREF kWhite = RGB(255, 255, 255);

// A 16 x 16 icon: a square of the colour with a transparent border of two pixels.
HICON MakeIcon(COLORREF colour, int size = 16) {
    HDC screen = ::GetDC(nullptr);
    HBITMAP colourBitmap = ::CreateCompatibleBitmap(screen, size, size);
    HDC memory = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(memory, colourBitmap);
    RECT all = {0, 0, size, size}, inner = {2, 2, size - 2, size - 2};
    ::FillRect(memory, &all, (HBRUSH)::GetStockObject(BLACK_BRUSH));
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::FillRect(memory, &inner, brush);
    ::DeleteObject(brush);
    ::SelectObject(memory, old);
    std::vector<BYTE> maskBits(((size + 15) / 16) * 2 * size, 0xFF);
    int stride = ((size + 15) / 16) * 2;
    for (int y = 2; y < size - 2; ++y)
        for (int x = 2; x < size - 2; ++x) maskBits[y * stride + x / 8] &= (BYTE) ~(0x80 >> (x % 8));
    HBITMAP mask = ::CreateBitmap(size, size, 1, 1, maskBits.data());
    ICONINFO ii = {TRUE, 0, 0, mask, colourBitmap};
    HICON icon = ::CreateIconIndirect(&ii);
    ::DeleteObject(mask);
    ::DeleteObject(colourBitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return icon;
}

// A 16 x 16 alpha bitmap of one colour; column 0 transparent.
HBITMAP MakeAlpha(BYTE red, BYTE green, BYTE blue, BYTE alpha = 255) {
    DWORD* bits = nullptr;
    HBITMAP bitmap = TkCreateAlphaBitmap(16, 16, &bits);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            bits[y * 16 + x] = (x == 0 ? 0u : ((DWORD)alpha << 24)) | ((DWORD)red << 16) | ((DWORD)green << 8) | blue;
    return bitmap;
}

DWORD AlphaPixel(HBITMAP bitmap, int x, int y) {
    BITMAP bm = {};
    ::GetObjectW(bitmap, sizeof bm, &bm);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = bm.bmWidth;
    info.bmiHeader.biHeight = -bm.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels((size_t)bm.bmWidth * bm.bmHeight);
    HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, bitmap, 0, bm.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return pixels[(size_t)y * bm.bmWidth + x];
}

bool IsIconAlive(HICON icon) {
    ICONINFO ii = {};
    if (!::GetIconInfo(icon, &ii)) return false;
    if (ii.hbmMask) ::DeleteObject(ii.hbmMask);
    if (ii.hbmColor) ::DeleteObject(ii.hbmColor);
    return true;
}

COLORREF DrawnCentre(CTkIconEntry* entry, CTkIconImage& image) {
    CTkTestCanvas canvas(32, 32);
    entry->Draw(canvas.dc(), 0, 0, image);
    return canvas.At(8, 8);
}

TEST(TkIconStore, AddIconInOtherStatesNeedsASet) {
    CTkIconStore store;
    CTkIconImage hot(MakeIcon(RGB(255, 0, 0)));
    EXPECT_FALSE(store.AddIcon(hot, 10, 0, 0, CTkIconStore::StateHot));
    EXPECT_TRUE(hot.IsEmpty());
    CTkIconImage disabled(MakeIcon(RGB(255, 0, 0)));
    EXPECT_FALSE(store.AddIcon(disabled, 10, 0, 0, CTkIconStore::StateDisabled));
    EXPECT_EQ(nullptr, store.FindIconSet(10));
    CTkIconImage normal(MakeIcon(RGB(255, 0, 0)));
    HICON callers = normal.GetIcon();
    EXPECT_TRUE(store.AddIcon(normal, 10));
    EXPECT_TRUE(normal.IsEmpty());
    EXPECT_FALSE(IsIconAlive(callers));  // the argument was cleared; the store keeps a copy
    ASSERT_NE(nullptr, store.FindIconSet(10));
    CTkIconEntry* entry = store.GetImage(10, 16);
    ASSERT_NE(nullptr, entry);
    EXPECT_EQ(16, entry->GetWidth());
    EXPECT_EQ(16, entry->GetHeight());
    EXPECT_NE(callers, entry->GetNormal().GetIcon());
    CTkIconImage empty;
    EXPECT_FALSE(store.AddIcon(empty, 11));
}

TEST(TkIconStore, SettingTheNormalPictureDropsHotDisabledAndStretched) {
    CTkIconStore store;
    CTkIconImage normal(MakeIcon(RGB(255, 0, 0))), hot(MakeIcon(RGB(0, 255, 0))), disabled(MakeIcon(RGB(0, 0, 255)));
    ASSERT_TRUE(store.AddIcon(normal, 5));
    ASSERT_TRUE(store.AddIcon(hot, 5, 0, 0, CTkIconStore::StateHot));
    ASSERT_TRUE(store.AddIcon(disabled, 5, 0, 0, CTkIconStore::StateDisabled));
    CTkIconEntry* entry = store.GetImage(5, 16);
    EXPECT_EQ(RGB(0, 255, 0), DrawnCentre(entry, entry->GetHot()));
    EXPECT_EQ(RGB(0, 0, 255), DrawnCentre(entry, entry->GetDisabled()));
    ASSERT_NE(nullptr, store.GetImage(5, 24));
    EXPECT_EQ(2, store.FindIconSet(5)->GetCount());

    CTkIconImage again(MakeIcon(RGB(255, 255, 0)));
    ASSERT_TRUE(store.AddIcon(again, 5));
    EXPECT_EQ(1, store.FindIconSet(5)->GetCount());
    EXPECT_TRUE(entry->Slot(CTkIconEntry::SlotHot).IsEmpty());
    EXPECT_TRUE(entry->Slot(CTkIconEntry::SlotDisabled).IsEmpty());
    EXPECT_EQ(RGB(255, 255, 0), DrawnCentre(entry, entry->GetHot()));
}

TEST(TkIconStore, ToolbarWithSeparatorsAssignsImagesToTheIdsInOrder) {
    CTkIconStore store;
    ASSERT_TRUE(store.LoadToolbarIcons(201, 201));
    EXPECT_EQ(3, store.GetSetCount());
    const UINT ids[] = {1001, 1002, 1003};
    const COLORREF expected[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
    for (int i = 0; i < 3; ++i) {
        CTkIconEntry* entry = store.GetImage(ids[i], 16);
        ASSERT_NE(nullptr, entry) << ids[i];
        EXPECT_EQ(16, entry->GetWidth());
        EXPECT_EQ(15, entry->GetHeight());
        CTkTestCanvas canvas(16, 15);
        entry->Draw(canvas.dc(), 0, 0, entry->GetNormal());
        EXPECT_EQ(expected[i], canvas.At(8, 7)) << ids[i];
        // The magenta of the top-left pixel is transparent.
        EXPECT_EQ(kWhite, canvas.At(0, 0)) << ids[i];
    }
    EXPECT_FALSE(store.LoadToolbarIcons(999, 201));
    EXPECT_FALSE(store.LoadIconsFromBitmap(999));
}

TEST(TkIconStore, ExplicitTransparentColour) {
    CTkIconStore store;
    EXPECT_EQ((COLORREF)-1, store.SetTransparentColor(RGB(255, 0, 0)));
    EXPECT_EQ(RGB(255, 0, 0), store.SetTransparentColor(RGB(255, 0, 255)));
    store.SetTransparentColor(RGB(255, 0, 0));
    ASSERT_TRUE(store.LoadToolbarIcons(201, 201));
    CTkIconEntry* entry = store.GetImage(1001, 16);
    CTkTestCanvas canvas(16, 15);
    entry->Draw(canvas.dc(), 0, 0, entry->GetNormal());
    EXPECT_EQ(kWhite, canvas.At(8, 7));              // red is now transparent
    EXPECT_EQ(RGB(255, 0, 255), canvas.At(0, 0));    // and magenta is not
}

std::vector<BYTE> StoreAll(CTkIconStore& store) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        store.Serialize(ar);
    }
    return file.GetData();
}

// A toolbar's pictures are made from its bitmap when first asked for: whatever asks first (a draw,
// a stretch, the archive), they are the pictures an image list of the same bitmap gives at once.
TEST(TkIconStore, ToolbarPicturesMadeOnFirstUseEqualThoseTakenAtOnce) {
    const UINT ids[] = {1001, 1002, 1003};
    CTkIconStore atOnce;
    HBITMAP bitmap = ::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(201));
    ASSERT_NE(nullptr, bitmap);
    HIMAGELIST list = ImageList_Create(16, 15, ILC_COLOR24 | ILC_MASK, 0, 1);
    ImageList_AddMasked(list, bitmap, RGB(255, 0, 255));
    ::DeleteObject(bitmap);
    ASSERT_TRUE(atOnce.AddIconsFromImageList(list, ids, 3, 16, 15, CTkIconStore::StateNormal));
    ImageList_Destroy(list);  // the store keeps nothing of the caller's list
    const std::vector<BYTE> expected = StoreAll(atOnce);

    CTkIconStore onFirstUse;
    ASSERT_TRUE(onFirstUse.LoadToolbarIcons(201, 201));
    EXPECT_EQ(RGB(0, 255, 0), DrawnCentre(onFirstUse.GetImage(1002, 16), onFirstUse.GetImage(1002, 16)->GetNormal()));
    CTkIconEntry* stretched = onFirstUse.GetImage(1003, 24);
    ASSERT_NE(nullptr, stretched);
    EXPECT_TRUE(stretched->IsScaled());
    EXPECT_EQ(24, stretched->GetNormal().GetSize().cx);
    onFirstUse.RefreshDerivedImages();  // the archive holds no stretched entries
    EXPECT_EQ(expected, StoreAll(onFirstUse));

    // Hot pictures wait the same way; a normal picture set over a waiting one replaces it.
    CTkIconStore states;
    ASSERT_TRUE(states.LoadToolbarIcons(201, 201, CTkIconStore::StateHot));
    EXPECT_EQ(0, states.GetSetCount());  // a hot picture needs a set
    ASSERT_TRUE(states.LoadToolbarIcons(201, 201));
    ASSERT_TRUE(states.AddIconsFromBitmapResource(201, ids + 1, 2, 16, 15, CTkIconStore::StateHot));
    CTkIconEntry* entry = states.GetImage(1001, 16);
    EXPECT_EQ(RGB(255, 0, 0), DrawnCentre(entry, entry->GetNormal()));
    EXPECT_EQ(RGB(255, 0, 0), DrawnCentre(entry, entry->GetHot()));  // the picture at index 0
    CTkIconImage yellow(MakeIcon(RGB(255, 255, 0)));
    ASSERT_TRUE(states.AddIcon(yellow, 1002));
    entry = states.GetImage(1002, 16);
    EXPECT_EQ(RGB(255, 255, 0), DrawnCentre(entry, entry->GetHot()));
    EXPECT_TRUE(entry->Slot(CTkIconEntry::SlotHot).IsEmpty());

    // More ids than pictures: false, and the ids before the first missing picture keep theirs.
    CTkIconStore shortStrip;
    const UINT more[] = {4001, 0, 4002, 4003, 4004};
    EXPECT_FALSE(shortStrip.AddIconsFromBitmapResource(201, more, 5, 16, 15, CTkIconStore::StateNormal));
    EXPECT_EQ(3, shortStrip.GetSetCount());
    EXPECT_EQ(RGB(0, 0, 255), DrawnCentre(shortStrip.GetImage(4003, 16), shortStrip.GetImage(4003, 16)->GetNormal()));
    EXPECT_EQ(nullptr, shortStrip.FindIconSet(4004));
}

TEST(TkIconStore, AlphaBitmapResourceSplitsIntoPieces) {
    CTkIconStore store;
    ASSERT_TRUE(store.LoadToolbarIcons(202, 202));
    EXPECT_EQ(10, store.GetSetCount());
    for (UINT id = 2001; id <= 2010; ++id) {
        CTkIconEntry* entry = store.GetImage(id, 16);
        ASSERT_NE(nullptr, entry) << id;
        EXPECT_TRUE(entry->HasAlphaBitmap());
        EXPECT_EQ(16, entry->GetWidth());
        EXPECT_EQ(16, entry->GetHeight());
        HBITMAP bitmap = entry->GetNormal().GetAlphaBitmap();
        BYTE blue = (BYTE)((id - 2001) * 20);
        EXPECT_EQ(0xFF000000u | (200u << 16) | (100u << 8) | blue, AlphaPixel(bitmap, 5, 5)) << id;
        EXPECT_EQ(0xFF000000u, AlphaPixel(bitmap, 1, 0)) << id;  // the dot stays at the top
        EXPECT_EQ(0u, AlphaPixel(bitmap, 0, 5) >> 24) << id;
    }
    const UINT ids[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    CTkIconStore other;
    EXPECT_FALSE(other.AddIconsFromBitmapResource(202, ids, 10, 17, 16, 0));
    EXPECT_TRUE(other.AddIconsFromBitmapResource(202, ids, 10, 16, 16, 0));
    EXPECT_EQ(10, other.GetSetCount());
    EXPECT_FALSE(other.AddIconsFromBitmapResource(999, ids, 10, 16, 16, 0));
}

TEST(TkIconStore, StretchedEntriesAreCachedUntilRefresh) {
    CTkIconStore store;
    CTkIconImage icon(MakeIcon(RGB(0, 0, 255)));
    ASSERT_TRUE(store.AddIcon(icon, 7));
    CTkIconEntry* scaled = store.GetImage(7, 24);
    ASSERT_NE(nullptr, scaled);
    EXPECT_TRUE(scaled->IsScaled());
    EXPECT_EQ(24, scaled->GetWidth());
    EXPECT_EQ(24, scaled->GetHeight());
    EXPECT_EQ(24, scaled->GetNormal().GetSize().cx);
    EXPECT_EQ(scaled, store.GetImage(7, 24));
    EXPECT_EQ(2, store.FindIconSet(7)->GetCount());
    CTkTestCanvas canvas(24, 24);
    scaled->Draw(canvas.dc(), 0, 0, scaled->GetNormal());
    EXPECT_EQ(RGB(0, 0, 255), canvas.At(12, 12));
    store.RefreshDerivedImages();
    EXPECT_EQ(1, store.FindIconSet(7)->GetCount());
    CTkIconEntry* again = store.GetImage(7, 24);
    ASSERT_NE(nullptr, again);
    EXPECT_TRUE(again->IsScaled());
    EXPECT_EQ(2, store.FindIconSet(7)->GetCount());
    // Width 0 takes the nearest entry as it is; an unknown id gives nothing.
    EXPECT_FALSE(store.GetImage(7, 0)->IsScaled());
    EXPECT_EQ(nullptr, store.GetImage(8, 16));
}

TEST(TkIconStore, AlphaBitmapsAreNotStretched) {
    CTkIconStore store;
    CTkIconImage image = CTkIconImage::FromAlphaBitmap(MakeAlpha(10, 20, 30));
    ASSERT_TRUE(store.AddIcon(image, 9));
    CTkIconEntry* entry = store.GetImage(9, 24);
    ASSERT_NE(nullptr, entry);
    EXPECT_EQ(16, entry->GetWidth());
    EXPECT_FALSE(entry->IsScaled());
    EXPECT_EQ(1, store.FindIconSet(9)->GetCount());
}

TEST(TkIconStore, DerivedAlphaPictures) {
    CTkIconStore store;
    CTkIconImage image = CTkIconImage::FromAlphaBitmap(MakeAlpha(200, 100, 50, 255));
    ASSERT_TRUE(store.AddIcon(image, 3));
    CTkIconEntry* entry = store.GetImage(3, 16);
    auto fade = [](int c) { return (DWORD)(0.7 * c + 76.5); };
    EXPECT_EQ(0xFF000000u | (fade(200) << 16) | (fade(100) << 8) | fade(50),
              AlphaPixel(entry->GetFaded().GetAlphaBitmap(), 4, 4));
    double luma = 0.299 * 200 + 0.587 * 100 + 0.114 * 50;
    DWORD grey = (DWORD)(255.0 * std::sqrt(luma / 255.0));
    EXPECT_EQ(0xFF000000u | (grey << 16) | (grey << 8) | grey, AlphaPixel(entry->GetDisabled().GetAlphaBitmap(), 4, 4));
    COLORREF base = TkGetColor(TK_COLOR_HOT_FILL);
    DWORD shadow = ((DWORD)(GetRValue(base) * 0.75) << 16) | ((DWORD)(GetGValue(base) * 0.75) << 8) |
                   (DWORD)(GetBValue(base) * 0.75);
    EXPECT_EQ(0xFF000000u | shadow, AlphaPixel(entry->GetShadow().GetAlphaBitmap(), 4, 4));
    EXPECT_EQ(shadow, AlphaPixel(entry->GetShadow().GetAlphaBitmap(), 0, 4));  // alpha 0 kept
    // The normal picture is unchanged and the derived ones are kept until a refresh.
    EXPECT_EQ(0xFF000000u | (200u << 16) | (100u << 8) | 50u, AlphaPixel(entry->GetNormal().GetAlphaBitmap(), 4, 4));
    HBITMAP faded = entry->GetFaded().GetAlphaBitmap();
    EXPECT_EQ(faded, entry->GetFaded().GetAlphaBitmap());
    store.RefreshDerivedImages();
    EXPECT_TRUE(entry->Slot(CTkIconEntry::SlotFaded).IsEmpty());
    EXPECT_TRUE(entry->Slot(CTkIconEntry::SlotShadow).IsEmpty());
    EXPECT_FALSE(entry->GetNormal().IsEmpty());
}

TEST(TkIconStore, DerivedIconPictures) {
    CTkIconStore store;
    CTkIconImage icon(MakeIcon(RGB(200, 100, 50)));
    ASSERT_TRUE(store.AddIcon(icon, 4));
    CTkIconEntry* entry = store.GetImage(4, 16);
    auto fade = [](int c) { return (int)(0.3 * 255 + 0.7 * c); };
    CTkTestCanvas canvas(16, 16);
    entry->Draw(canvas.dc(), 0, 0, entry->GetFaded());
    EXPECT_EQ(RGB(fade(200), fade(100), fade(50)), canvas.At(8, 8));
    EXPECT_EQ(kWhite, canvas.At(0, 0));
    double luma = 0.299 * 200 + 0.587 * 100 + 0.114 * 50;
    int grey = (int)(255.0 * std::sqrt(luma / 255.0));
    CTkTestCanvas disabled(16, 16);
    entry->Draw(disabled.dc(), 0, 0, entry->GetDisabled());
    EXPECT_EQ(RGB(grey, grey, grey), disabled.At(8, 8));
    EXPECT_EQ(kWhite, disabled.At(1, 1));
    COLORREF base = TkGetColor(TK_COLOR_HOT_FILL);
    CTkTestCanvas shadow(16, 16);
    entry->Draw(shadow.dc(), 0, 0, entry->GetShadow());
    EXPECT_EQ(RGB((int)(GetRValue(base) * 0.75), (int)(GetGValue(base) * 0.75), (int)(GetBValue(base) * 0.75)),
              shadow.At(8, 8));
    EXPECT_EQ(kWhite, shadow.At(15, 15));
}

TEST(TkIconStore, DrawsAlphaBitmapsBlendedAndNothingWithoutAlphaBlend) {
    CTkIconStore store;
    ASSERT_NE(nullptr, store.GetAlphaBlend());
    CTkIconImage image = CTkIconImage::FromAlphaBitmap(MakeAlpha(0, 0, 255, 255));
    ASSERT_TRUE(store.AddIcon(image, 12));
    CTkIconEntry* entry = store.GetImage(12, 16);
    {
        CTkTestCanvas canvas(20, 20);
        entry->Draw(canvas.dc(), 2, 2, entry->GetNormal());
        EXPECT_EQ(RGB(0, 0, 255), canvas.At(10, 10));
        EXPECT_EQ(kWhite, canvas.At(2, 10));  // column 0 is transparent
        EXPECT_EQ(kWhite, canvas.At(1, 1));
    }
    store.SetAlphaBlend(nullptr);
    {
        CTkTestCanvas canvas(20, 20);
        entry->Draw(canvas.dc(), 2, 2, entry->GetNormal());
        EXPECT_EQ(kWhite, canvas.At(10, 10));
    }
    CTkIconImage icon(MakeIcon(RGB(0, 128, 0)));
    ASSERT_TRUE(store.AddIcon(icon, 13));
    CTkIconEntry* iconEntry = store.GetImage(13, 16);
    CTkTestCanvas canvas(20, 20);
    iconEntry->Draw(canvas.dc(), 0, 0, iconEntry->GetNormal());
    EXPECT_EQ(RGB(0, 128, 0), canvas.At(8, 8));
}

TEST(TkIconStore, DrawScalesToTheRequestedWidth) {
    CTkIconStore store;
    CTkIconImage icon(MakeIcon(RGB(0, 128, 0)));
    ASSERT_TRUE(store.AddIcon(icon, 14));
    CTkIconEntry* entry = store.GetImage(14, 16);
    CTkTestCanvas canvas(40, 40);
    entry->Draw(canvas.dc(), 0, 0, entry->GetNormal(), 32);
    EXPECT_EQ(RGB(0, 128, 0), canvas.At(5, 5));
    EXPECT_EQ(RGB(0, 128, 0), canvas.At(27, 27));
    EXPECT_EQ(kWhite, canvas.At(3, 3));
    EXPECT_EQ(kWhite, canvas.At(29, 29));
}

TEST(TkIconStore, DrawMonoPaintsTheShapeInOneColour) {
    CTkIconStore store;
    CTkIconImage icon(MakeIcon(RGB(0, 128, 0)));
    ASSERT_TRUE(store.AddIcon(icon, 15));
    CTkIconEntry* entry = store.GetImage(15, 16);
    CTkTestCanvas canvas(20, 20);
    entry->DrawMono(canvas.dc(), 0, 0, entry->GetNormal(), RGB(255, 0, 0));
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(8, 8));
    EXPECT_EQ(kWhite, canvas.At(0, 0));
    CTkIconImage alpha = CTkIconImage::FromAlphaBitmap(MakeAlpha(1, 2, 3));
    ASSERT_TRUE(store.AddIcon(alpha, 16));
    CTkIconEntry* alphaEntry = store.GetImage(16, 16);
    CTkTestCanvas untouched(20, 20);
    alphaEntry->DrawMono(untouched.dc(), 0, 0, alphaEntry->GetNormal(), RGB(255, 0, 0));
    EXPECT_EQ(kWhite, untouched.At(8, 8));
}

TEST(TkIconStore, CustomIconIds) {
    CTkIconStore store;
    CTkIconImage first(MakeIcon(RGB(1, 1, 1)));
    EXPECT_EQ(68267u, store.AddCustomIcon(first));
    CTkIconImage second = CTkIconImage::FromAlphaBitmap(MakeAlpha(1, 1, 1));
    EXPECT_EQ(68268u, store.AddCustomIcon(second));
    ASSERT_NE(nullptr, store.GetImage(68268, 16));
    EXPECT_TRUE(store.GetImage(68268, 16)->HasAlphaBitmap());
}

TEST(TkIconStore, ClipboardFormatsAreRegistered) {
    CTkIconStore& store = CTkIconStore::Global();
    EXPECT_EQ(::RegisterClipboardFormatW(L"ToolBar Button Image"), store.GetToolbarImageFormat());
    EXPECT_EQ(::RegisterClipboardFormatW(L"Alpha Bitmap Image"), store.GetAlphaMarkerFormat());
    EXPECT_NE(0u, store.GetToolbarImageFormat());
}

TEST(TkIconStore, CopiesKeepTheAlphaBitmapsOrientation) {
    CTkIconImage image = CTkIconImage::FromAlphaBitmap(MakeAlpha(9, 9, 9));
    DWORD* bits = nullptr;
    BITMAP bm = {};
    bits = TkAlphaBits(image.GetAlphaBitmap(), &bm);
    bits[0] = 0xFF123456;  // top-left of a top-down bitmap
    ASSERT_EQ(0xFF123456u, AlphaPixel(image.GetAlphaBitmap(), 0, 0));
    CTkIconImage copy = image.Copy();
    EXPECT_EQ(0xFF123456u, AlphaPixel(copy.GetAlphaBitmap(), 0, 0));
    EXPECT_NE(image.GetAlphaBitmap(), copy.GetAlphaBitmap());
}

TEST(TkIconHolder, ResetDestroysThePreviousIcon) {
    HICON first = MakeIcon(RGB(1, 2, 3)), second = MakeIcon(RGB(4, 5, 6));
    {
        CTkIconHolder holder;
        EXPECT_EQ(nullptr, holder.GetIcon());
        holder.Reset(first);
        EXPECT_EQ(first, holder.GetIcon());
        holder.Reset(second);
        EXPECT_FALSE(IsIconAlive(first));
        EXPECT_TRUE(IsIconAlive(second));
    }
    EXPECT_FALSE(IsIconAlive(second));
}

}  // namespace

namespace {

std::vector<BYTE> StoreSet(CTkIconStore& store, UINT id) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    store.SerializeIconSet(id, ar);
    return file.GetData();
}

TEST(TkIconStoreArchive, StoreAndLoadKeepEveryPicture) {
    CTkIconStore store;
    CTkIconImage normal(MakeIcon(RGB(200, 0, 0))), hot(MakeIcon(RGB(0, 200, 0)));
    ASSERT_TRUE(store.AddIcon(normal, 21));
    ASSERT_TRUE(store.AddIcon(hot, 21, 0, 0, CTkIconStore::StateHot));
    CTkIconImage alpha = CTkIconImage::FromAlphaBitmap(MakeAlpha(10, 20, 30));
    ASSERT_TRUE(store.AddIcon(alpha, 22));
    ASSERT_NE(nullptr, store.GetImage(21, 24));  // a stretched cache entry is stored too
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        store.Serialize(ar);
    }
    CTkIconStore loaded;
    CTkIconImage stale(MakeIcon(RGB(1, 1, 1)));
    ASSERT_TRUE(loaded.AddIcon(stale, 99));
    file.SeekToBegin();
    {
        CArchive ar(&file, CArchive::load);
        loaded.Serialize(ar);
    }
    EXPECT_EQ(nullptr, loaded.FindIconSet(99));
    EXPECT_EQ(2, loaded.GetSetCount());
    CTkIconEntry* entry = loaded.FindIconSet(21)->Lookup(16);
    ASSERT_NE(nullptr, entry);
    EXPECT_EQ(16, entry->GetHeight());
    EXPECT_EQ(RGB(200, 0, 0), DrawnCentre(entry, entry->GetNormal()));
    EXPECT_EQ(RGB(0, 200, 0), DrawnCentre(entry, entry->GetHot()));
    EXPECT_TRUE(entry->Slot(CTkIconEntry::SlotDisabled).IsEmpty());
    CTkTestCanvas canvas(16, 16);
    entry->Draw(canvas.dc(), 0, 0, entry->GetNormal());
    EXPECT_EQ(kWhite, canvas.At(0, 0));  // the mask survived
    CTkIconEntry* alphaEntry = loaded.GetImage(22, 16);
    ASSERT_NE(nullptr, alphaEntry);
    ASSERT_TRUE(alphaEntry->HasAlphaBitmap());
    EXPECT_EQ(0xFF000000u | (10u << 16) | (20u << 8) | 30u, AlphaPixel(alphaEntry->GetNormal().GetAlphaBitmap(), 5, 3));
    EXPECT_EQ(0u, AlphaPixel(alphaEntry->GetNormal().GetAlphaBitmap(), 0, 3) >> 24);
}

TEST(TkIconStoreArchive, SetWithoutPicturesIsTheTagAndCountZero) {
    CTkIconStore store;
    std::vector<BYTE> bytes = StoreSet(store, 5);
    ASSERT_EQ(1u + 20u + 2u, bytes.size());
    EXPECT_EQ(20, bytes[0]);
    EXPECT_EQ("CTkImageManagerIcons", std::string(bytes.begin() + 1, bytes.begin() + 21));
    EXPECT_EQ(0, bytes[21]);
    EXPECT_EQ(0, bytes[22]);
}

TEST(TkIconStoreArchive, WrongTagThrowsBadClass) {
    CTkIconStore store;
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << CString("SomethingElse");
        ar.WriteCount(0);
    }
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    int cause = -1;
    try {
        store.SerializeIconSet(3, ar);
    } catch (CArchiveException* e) {
        cause = e->m_cause;
        e->Delete();
    }
    EXPECT_EQ(CArchiveException::badClass, cause);
}

TEST(TkIconStoreArchive, LoadingAHighIdRaisesTheCustomCounter) {
    CTkIconStore source;
    CTkIconImage icon(MakeIcon(RGB(3, 3, 3)));
    ASSERT_TRUE(source.AddIcon(icon, 70000));
    std::vector<BYTE> bytes = StoreSet(source, 70000);
    CTkIconStore store;
    CMemFile file(bytes.data(), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    store.SerializeIconSet(70000, ar);
    CTkIconImage custom(MakeIcon(RGB(4, 4, 4)));
    EXPECT_EQ(70001u, store.AddCustomIcon(custom));
}

TEST(TkIconStoreArchive, ClipboardCopyAndPasteGiveANewId) {
    ASSERT_TRUE(TkDesktopReady());
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
    CTkIconStore store;
    CTkIconImage icon(MakeIcon(RGB(0, 0, 200)));
    ASSERT_TRUE(store.AddIcon(icon, 31));
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "clipboard", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    ASSERT_TRUE(::OpenClipboard(owner.GetSafeHwnd()));
    ::EmptyClipboard();
    EXPECT_TRUE(store.CopyIconSetToClipboard(31));
    ::CloseClipboard();
    IDataObject* data = nullptr;
    ASSERT_EQ(S_OK, ::OleGetClipboard(&data));
    UINT id = store.PasteIconSetFromClipboard(data);
    data->Release();
    EXPECT_EQ(68267u, id);
    CTkIconEntry* pasted = store.GetImage(id, 16);
    ASSERT_NE(nullptr, pasted);
    EXPECT_EQ(RGB(0, 0, 200), DrawnCentre(pasted, pasted->GetNormal()));
    EXPECT_EQ(1, store.FindIconSet(31)->GetCount());
    EXPECT_EQ(RGB(0, 0, 200), DrawnCentre(store.GetImage(31, 16), store.GetImage(31, 16)->GetNormal()));
    EXPECT_EQ(0u, store.PasteIconSetFromClipboard(nullptr));
    owner.DestroyWindow();
    ::OleUninitialize();
}

TEST(TkIconStore, BitmapResourceShorterThanItsHeaderIsRefused) {
    CTkIconStore store;
    const UINT ids[] = {3001, 3002, 3003, 3004};
    EXPECT_FALSE(store.AddIconsFromBitmapResource(203, ids, 4, 16, 16, 0));
    EXPECT_EQ(nullptr, store.FindIconSet(3001));
    EXPECT_FALSE(store.AddIconsFromBitmapResource(203, ids, 4, 0, 0, 0));
    // The whole picture of the same kind loads.
    const UINT full[] = {3101, 3102};
    EXPECT_TRUE(store.AddIconsFromBitmapResource(202, full, 2, 16, 16, 0));
}

// An archive of one set with one entry whose first bitmap record is given as bytes.
std::vector<BYTE> SetWithBitmapRecord(const std::vector<BYTE>& record) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << CString("CTkImageManagerIcons");
        ar.WriteCount(1);
        ar << (DWORD)16 << (LONG)16 << (DWORD)0;
        ar.Write(record.data(), (UINT)record.size());
        for (int i = 0; i < 5; ++i) ar.WriteCount(0);  // the other five records empty
    }
    return file.GetData();
}

std::vector<BYTE> BitmapRecord(BITMAPINFOHEADER header, WORD headerCount, size_t storedHeader, WORD bitsCount,
                               size_t storedBits) {
    std::vector<BYTE> bytes;
    auto put = [&](const void* data, size_t size) {
        const BYTE* p = static_cast<const BYTE*>(data);
        bytes.insert(bytes.end(), p, p + size);
    };
    put(&headerCount, 2);
    std::vector<BYTE> headerBytes(storedHeader, 0);
    std::memcpy(headerBytes.data(), &header, std::min(storedHeader, sizeof header));
    put(headerBytes.data(), headerBytes.size());
    put(&bitsCount, 2);
    std::vector<BYTE> bits(storedBits, 0x7F);
    put(bits.data(), bits.size());
    return bytes;
}

int LoadCause(const std::vector<BYTE>& bytes) {
    CTkIconStore store;
    CMemFile file(bytes.data(), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    try {
        store.SerializeIconSet(40, ar);
    } catch (CArchiveException* e) {
        int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return CArchiveException::none;
}

BITMAPINFOHEADER Header(LONG width, LONG height, WORD bits) {
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bits;
    header.biCompression = BI_RGB;
    return header;
}

TEST(TkIconStoreArchive, BitmapRecordsAreReadWithinTheirBounds) {
    // A well-formed 4 x 4 record loads.
    EXPECT_EQ(CArchiveException::none, LoadCause(SetWithBitmapRecord(BitmapRecord(Header(4, 4, 32), 52, 52, 64, 64))));
    // Fewer pixel bytes than the bitmap holds are accepted (the rest stays empty).
    EXPECT_EQ(CArchiveException::none, LoadCause(SetWithBitmapRecord(BitmapRecord(Header(4, 4, 32), 52, 52, 16, 16))));
    // More pixel bytes than the bitmap holds.
    EXPECT_EQ(CArchiveException::badSchema,
              LoadCause(SetWithBitmapRecord(BitmapRecord(Header(4, 4, 32), 52, 52, 4000, 4000))));
    // A header count shorter than a header.
    EXPECT_EQ(CArchiveException::badSchema, LoadCause(SetWithBitmapRecord(BitmapRecord(Header(4, 4, 32), 8, 8, 0, 0))));
    // A header that claims to be larger than what was stored.
    BITMAPINFOHEADER large = Header(4, 4, 32);
    large.biSize = 124;
    EXPECT_EQ(CArchiveException::badSchema, LoadCause(SetWithBitmapRecord(BitmapRecord(large, 52, 52, 64, 64))));
    // A palette picture without its colour table.
    EXPECT_EQ(CArchiveException::badSchema, LoadCause(SetWithBitmapRecord(BitmapRecord(Header(4, 4, 8), 40, 40, 16, 16))));
    // Sizes out of range.
    EXPECT_EQ(CArchiveException::badSchema,
              LoadCause(SetWithBitmapRecord(BitmapRecord(Header(100000, 4, 32), 52, 52, 0, 0))));
    EXPECT_EQ(CArchiveException::badSchema, LoadCause(SetWithBitmapRecord(BitmapRecord(Header(-4, 4, 32), 52, 52, 0, 0))));
    EXPECT_EQ(CArchiveException::badSchema, LoadCause(SetWithBitmapRecord(BitmapRecord(Header(4, 4, 7), 52, 52, 0, 0))));
    // A record cut short: the archive ends before the promised bytes.
    std::vector<BYTE> cut = SetWithBitmapRecord(BitmapRecord(Header(4, 4, 32), 52, 52, 64, 64));
    cut.resize(1 + 20 + 2 + 12 + 2 + 52 + 2 + 10);
    EXPECT_EQ(CArchiveException::endOfFile, LoadCause(cut));
}

TEST(TkIconStoreArchive, DamagedClipboardDataIsRefused) {
    ASSERT_TRUE(TkDesktopReady());
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
    const std::vector<BYTE> bytes = SetWithBitmapRecord(BitmapRecord(Header(4, 4, 32), 52, 52, 4000, 4000));
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "clipboard", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    ASSERT_TRUE(::OpenClipboard(owner.GetSafeHwnd()));
    ::EmptyClipboard();
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    ASSERT_NE(nullptr, block);
    std::memcpy(::GlobalLock(block), bytes.data(), bytes.size());
    ::GlobalUnlock(block);
    EXPECT_NE(nullptr, ::SetClipboardData(::RegisterClipboardFormatW(L"ToolBar Button Image"), block));
    ::CloseClipboard();
    IDataObject* data = nullptr;
    ASSERT_EQ(S_OK, ::OleGetClipboard(&data));
    CTkIconStore store;
    EXPECT_EQ(0u, store.PasteIconSetFromClipboard(data));
    data->Release();
    owner.DestroyWindow();
    ::OleUninitialize();
}

}  // namespace
