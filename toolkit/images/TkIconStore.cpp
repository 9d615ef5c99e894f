#include "images/TkIconStore.h"

#include "painters/TkColors.h"
#include "painters/TkDrawTools.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

IMPLEMENT_DYNAMIC(CTkIconStore, CCmdTarget)

// ---------------------------------------------------------------------------------------------
// Bitmap helpers.

BITMAPINFO TkTopDownInfo(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = width * 4 * height;
    return info;
}

namespace {

// A bitmap's pixels as 32-bit values, top-down; false unless every row was read.
bool GetTopDownPixels(HBITMAP bitmap, int width, int height, std::vector<DWORD>& pixels) {
    BITMAPINFO info = TkTopDownInfo(width, height);
    pixels.assign((size_t)width * height, 0);
    HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return rows == height;
}

}  // namespace

HBITMAP TkCreateAlphaBitmap(int width, int height, DWORD** bits) {
    BITMAPINFO info = TkTopDownInfo(width, height);
    void* pixels = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bits) *bits = static_cast<DWORD*>(pixels);
    return bitmap;
}

DWORD* TkAlphaBits(HBITMAP bitmap, BITMAP* info) {
    DIBSECTION section = {};
    if (!bitmap || ::GetObjectW(bitmap, sizeof section, &section) != sizeof section) return nullptr;
    if (info) *info = section.dsBm;
    return static_cast<DWORD*>(section.dsBm.bmBits);
}

namespace {

// The pixels of a 32-bit bitmap, top-down whatever the bitmap's own row order.
bool ReadTopDown(HBITMAP bitmap, int& width, int& height, std::vector<DWORD>& pixels) {
    BITMAP bm = {};
    if (!bitmap || !::GetObjectW(bitmap, sizeof bm, &bm)) return false;
    width = bm.bmWidth;
    height = std::abs(bm.bmHeight);
    return GetTopDownPixels(bitmap, width, height, pixels);
}

// A new top-down 32-bit DIB section of the given pixels (or of part of their columns).
HBITMAP MakeTopDown(const std::vector<DWORD>& pixels, int fullWidth, int height, int firstColumn, int width) {
    DWORD* bits = nullptr;
    HBITMAP bitmap = TkCreateAlphaBitmap(width, height, &bits);
    if (!bitmap || !bits) {
        if (bitmap) ::DeleteObject(bitmap);
        return nullptr;
    }
    for (int row = 0; row < height; ++row)
        std::memcpy(bits + (size_t)row * width, pixels.data() + (size_t)row * fullWidth + firstColumn,
                    (size_t)width * 4);
    return bitmap;
}

}  // namespace

HBITMAP TkCopyAlphaBitmap(HBITMAP source) {
    int width = 0, height = 0;
    std::vector<DWORD> pixels;
    if (!ReadTopDown(source, width, height, pixels) || width <= 0 || height <= 0) return nullptr;
    return MakeTopDown(pixels, width, height, 0, width);
}

namespace {

// The pixels of an icon's colour bitmap and mask, top-down, 32 bits each.
struct CIconPixels {
    int width = 0, height = 0;
    std::vector<DWORD> colour, mask;
    HBITMAP hbmMask = nullptr;
    HBITMAP hbmColor = nullptr;
    ~CIconPixels() {
        if (hbmMask) ::DeleteObject(hbmMask);
        if (hbmColor) ::DeleteObject(hbmColor);
    }
    bool Read(HICON icon) {
        ICONINFO ii = {};
        if (!::GetIconInfo(icon, &ii)) return false;
        hbmMask = ii.hbmMask;
        hbmColor = ii.hbmColor;
        if (!hbmColor || !hbmMask) return false;
        BITMAP bm = {};
        ::GetObjectW(hbmColor, sizeof bm, &bm);
        width = bm.bmWidth;
        height = bm.bmHeight;
        return GetTopDownPixels(hbmColor, width, height, colour) && GetTopDownPixels(hbmMask, width, height, mask);
    }
    // A new icon of the changed colour pixels and the old mask.
    HICON Build() const {
        HDC screen = ::GetDC(nullptr);
        HBITMAP colourBitmap = ::CreateCompatibleBitmap(screen, width, height);
        BITMAPINFO info = TkTopDownInfo(width, height);
        std::vector<DWORD> opaque(colour);
        for (auto& pixel : opaque) pixel &= 0x00FFFFFF;
        ::SetDIBits(screen, colourBitmap, 0, height, opaque.data(), &info, DIB_RGB_COLORS);
        ::ReleaseDC(nullptr, screen);
        ICONINFO ii = {};
        ii.fIcon = TRUE;
        ii.hbmMask = hbmMask;
        ii.hbmColor = colourBitmap;
        HICON icon = ::CreateIconIndirect(&ii);
        ::DeleteObject(colourBitmap);
        return icon;
    }
};

DWORD Pixel(int red, int green, int blue, DWORD alphaFrom) {
    return (alphaFrom & 0xFF000000) | ((DWORD)(red & 0xFF) << 16) | ((DWORD)(green & 0xFF) << 8) | (DWORD)(blue & 0xFF);
}

template <class F>
void ForEachAlphaPixel(HBITMAP bitmap, F change) {
    BITMAP bm = {};
    DWORD* bits = TkAlphaBits(bitmap, &bm);
    if (!bits) return;
    size_t count = (size_t)bm.bmWidth * std::abs(bm.bmHeight);
    for (size_t i = 0; i < count; ++i) bits[i] = change(bits[i]);
    ::GdiFlush();
}

// Changes every pixel whose mask pixel is 0; the result replaces the image's icon.
template <class F>
CTkIconImage ChangeIcon(HICON icon, F change) {
    CIconPixels pixels;
    if (!pixels.Read(icon)) return CTkIconImage(::CopyIcon(icon));
    for (size_t i = 0; i < pixels.colour.size(); ++i)
        if ((pixels.mask[i] & 0x00FFFFFF) == 0) pixels.colour[i] = change(pixels.colour[i]);
    return CTkIconImage(pixels.Build());
}

BYTE R(DWORD pixel) { return (BYTE)(pixel >> 16); }
BYTE G(DWORD pixel) { return (BYTE)(pixel >> 8); }
BYTE B(DWORD pixel) { return (BYTE)pixel; }

}  // namespace

// ---------------------------------------------------------------------------------------------
// CTkIconImage.

CTkIconImage CTkIconImage::FromAlphaBitmap(HBITMAP bitmap, bool owns) {
    CTkIconImage image;
    image.m_hAlphaBitmap = bitmap;
    image.m_bOwns = owns;
    return image;
}

CTkIconImage& CTkIconImage::operator=(CTkIconImage&& other) noexcept {
    if (this != &other) {
        Clear();
        m_hIcon = other.m_hIcon;
        m_hAlphaBitmap = other.m_hAlphaBitmap;
        m_hPremultiplied = other.m_hPremultiplied;
        m_bOwns = other.m_bOwns;
        other.m_hIcon = nullptr;
        other.m_hAlphaBitmap = nullptr;
        other.m_hPremultiplied = nullptr;
    }
    return *this;
}

void CTkIconImage::Clear() {
    if (m_bOwns) {
        if (m_hIcon) ::DestroyIcon(m_hIcon);
        if (m_hAlphaBitmap) ::DeleteObject(m_hAlphaBitmap);
    }
    if (m_hPremultiplied) ::DeleteObject(m_hPremultiplied);
    m_hIcon = nullptr;
    m_hAlphaBitmap = nullptr;
    m_hPremultiplied = nullptr;
}

CTkIconImage CTkIconImage::Copy() const {
    CTkIconImage copy;
    if (m_hIcon) copy.m_hIcon = ::CopyIcon(m_hIcon);
    if (m_hAlphaBitmap) copy.m_hAlphaBitmap = TkCopyAlphaBitmap(m_hAlphaBitmap);
    return copy;
}

SIZE CTkIconImage::GetSize() const {
    SIZE size = {0, 0};
    if (m_hIcon) {
        ICONINFO ii = {};
        if (::GetIconInfo(m_hIcon, &ii)) {
            BITMAP bm = {};
            ::GetObjectW(ii.hbmMask, sizeof bm, &bm);
            size.cx = bm.bmWidth;
            size.cy = ii.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
            if (ii.hbmMask) ::DeleteObject(ii.hbmMask);
            if (ii.hbmColor) ::DeleteObject(ii.hbmColor);
        }
    } else if (m_hAlphaBitmap) {
        BITMAP bm = {};
        ::GetObjectW(m_hAlphaBitmap, sizeof bm, &bm);
        size.cx = bm.bmWidth;
        size.cy = std::abs(bm.bmHeight);
    }
    return size;
}

CTkIconHolder::~CTkIconHolder() {
    if (m_hIcon) ::DestroyIcon(m_hIcon);
}

void CTkIconHolder::Reset(HICON icon) {
    if (m_hIcon && m_hIcon != icon) ::DestroyIcon(m_hIcon);
    m_hIcon = icon;
}

// ---------------------------------------------------------------------------------------------
// CTkIconStrip.

// The masked image list of a bitmap strip, kept while pictures of it are still to be made: making
// an icon is the costly part of loading a toolbar's pictures, so each is made when first asked for.
class CTkIconStrip {
public:
    explicit CTkIconStrip(HIMAGELIST imageList) : m_hImageList(imageList) {}
    ~CTkIconStrip() { ImageList_Destroy(m_hImageList); }
    CTkIconStrip(const CTkIconStrip&) = delete;
    CTkIconStrip& operator=(const CTkIconStrip&) = delete;

    int GetCount() const { return ImageList_GetImageCount(m_hImageList); }
    SIZE GetSize() const {
        int width = 0, height = 0;
        ImageList_GetIconSize(m_hImageList, &width, &height);
        return {width, height};
    }
    HICON MakeIcon(int index) const { return ImageList_GetIcon(m_hImageList, index, ILD_NORMAL); }

private:
    HIMAGELIST m_hImageList;
};

// ---------------------------------------------------------------------------------------------
// CTkIconEntry.

CTkIconEntry::CTkIconEntry(CTkIconSet* set, UINT id, int width, int height)
    : m_nID(id), m_nWidth(width), m_nHeight(height), m_pSet(set) {}

CTkIconEntry::~CTkIconEntry() {
    ClearAll();
}

void CTkIconEntry::ClearAll() {
    for (auto& image : m_images) image.Clear();
    for (auto& pending : m_pending) pending = CPending();
}

void CTkIconEntry::ClearDerived() {
    m_images[SlotFaded].Clear();
    m_images[SlotShadow].Clear();
    m_images[SlotGeneratedDisabled].Clear();
}

CTkIconImage& CTkIconEntry::Realised(int slot) {
    CPending& pending = m_pending[slot];
    if (pending.strip) {
        const CPending taken = std::move(pending);
        pending = CPending();
        m_images[slot] = CTkIconImage(taken.strip->MakeIcon(taken.index));
    }
    return m_images[slot];
}

void CTkIconEntry::Adopt(int slot, CTkIconImage&& image, SIZE size) {
    if (slot == SlotNormal) {
        ClearAll();
        m_images[SlotNormal] = std::move(image);
        m_nWidth = size.cx;
        m_nHeight = size.cy;
        m_bScaled = false;
        if (m_pSet) m_pSet->Refresh();
        return;
    }
    ClearDerived();
    m_pending[slot] = CPending();
    m_images[slot] = std::move(image);
}

void CTkIconEntry::AdoptPending(int slot, std::shared_ptr<CTkIconStrip> strip, int index) {
    Adopt(slot, CTkIconImage(), strip->GetSize());
    m_pending[slot] = CPending{std::move(strip), index};
}

void CTkIconEntry::SetNormal(CTkIconImage& image) {
    ClearAll();
    CTkIconImage copy = image.Copy();
    image.Clear();
    const SIZE size = copy.GetSize();
    Adopt(SlotNormal, std::move(copy), size);
}

void CTkIconEntry::SetHot(CTkIconImage& image) {
    Adopt(SlotHot, image.Copy(), SIZE());
    image.Clear();
}

void CTkIconEntry::SetDisabled(CTkIconImage& image) {
    Adopt(SlotDisabled, image.Copy(), SIZE());
    image.Clear();
}

CTkIconImage& CTkIconEntry::GetHot() {
    CTkIconImage& hot = Realised(SlotHot);
    return hot.IsEmpty() ? Realised(SlotNormal) : hot;
}

CTkIconImage& CTkIconEntry::GetDisabled() {
    if (!Realised(SlotDisabled).IsEmpty()) return m_images[SlotDisabled];
    CTkIconImage& generated = m_images[SlotGeneratedDisabled];
    const CTkIconImage& normal = Realised(SlotNormal);
    if (generated.IsEmpty() && !normal.IsEmpty()) {
        auto grey = [](DWORD pixel) {
            double luma = 0.299 * R(pixel) + 0.587 * G(pixel) + 0.114 * B(pixel);
            int value = (int)(255.0 * std::sqrt(luma / 255.0));
            return value;
        };
        if (normal.IsAlpha()) {
            generated = normal.Copy();
            ForEachAlphaPixel(generated.m_hAlphaBitmap, [&](DWORD pixel) {
                int value = grey(pixel);
                int alpha = (int)((pixel >> 24) / 1.0);
                return Pixel(value, value, value, (DWORD)alpha << 24);
            });
        } else {
            generated = ChangeIcon(normal.m_hIcon, [&](DWORD pixel) {
                int value = grey(pixel);
                return Pixel(value, value, value, 0);
            });
        }
    }
    return generated;
}

CTkIconImage& CTkIconEntry::GetFaded() {
    CTkIconImage& faded = m_images[SlotFaded];
    const CTkIconImage& normal = Realised(SlotNormal);
    if (faded.IsEmpty() && !normal.IsEmpty()) {
        if (normal.IsAlpha()) {
            faded = normal.Copy();
            ForEachAlphaPixel(faded.m_hAlphaBitmap, [](DWORD pixel) {
                auto fade = [](BYTE c) { return (int)(0.7 * c + 76.5); };
                return Pixel(fade(R(pixel)), fade(G(pixel)), fade(B(pixel)), pixel);
            });
        } else if (IsLowColorDisplay(nullptr)) {
            faded = normal.Copy();
        } else {
            faded = ChangeIcon(normal.m_hIcon, [](DWORD pixel) {
                auto fade = [](BYTE c) { return (int)(0.3 * 255 + 0.7 * c); };
                return Pixel(fade(R(pixel)), fade(G(pixel)), fade(B(pixel)), 0);
            });
        }
    }
    return faded;
}

CTkIconImage& CTkIconEntry::GetShadow() {
    CTkIconImage& shadow = m_images[SlotShadow];
    const CTkIconImage& source = GetHot();
    if (shadow.IsEmpty() && !source.IsEmpty()) {
        COLORREF base = TkGetColor(TK_COLOR_HOT_FILL);
        int red = (int)(GetRValue(base) * 0.75), green = (int)(GetGValue(base) * 0.75),
            blue = (int)(GetBValue(base) * 0.75);
        if (source.IsAlpha()) {
            shadow = source.Copy();
            ForEachAlphaPixel(shadow.m_hAlphaBitmap, [&](DWORD pixel) { return Pixel(red, green, blue, pixel); });
        } else {
            shadow = ChangeIcon(source.m_hIcon, [&](DWORD) { return Pixel(red, green, blue, 0); });
        }
    }
    return shadow;
}

void CTkIconEntry::Draw(HDC dc, int x, int y, CTkIconImage& image, int width, int height) {
    if (image.IsEmpty() || !dc) return;
    if (width == 0) width = m_nWidth;
    if (height == 0) height = m_nWidth ? (int)((UINT)width * (UINT)m_nHeight / (UINT)m_nWidth) : 0;
    if (image.m_hIcon) {
        ::DrawIconEx(dc, x, y, image.m_hIcon, width, height, 0, nullptr, DI_NORMAL);
        return;
    }
    CTkIconStore* store = m_pSet ? m_pSet->GetStore() : &CTkIconStore::Global();
    auto alphaBlend = store->GetAlphaBlend();
    if (!alphaBlend) return;
    if (!image.m_hPremultiplied) {
        image.m_hPremultiplied = TkCopyAlphaBitmap(image.m_hAlphaBitmap);
        if (!image.m_hPremultiplied) return;
        ForEachAlphaPixel(image.m_hPremultiplied, [](DWORD pixel) {
            DWORD alpha = pixel >> 24;
            return Pixel(R(pixel) * alpha / 255, G(pixel) * alpha / 255, B(pixel) * alpha / 255, pixel);
        });
    }
    CTkBitmapDC memory(dc, image.m_hPremultiplied);
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    alphaBlend(dc, x, y, width, height, memory.GetSafeHdc(), 0, 0, m_nWidth, m_nHeight, blend);
}

void CTkIconEntry::DrawMono(HDC dc, int x, int y, CTkIconImage& image, COLORREF colour) {
    if (!image.m_hIcon || !dc) return;
    CBrush brush(colour);
    ::DrawStateW(dc, brush, nullptr, (LPARAM)image.m_hIcon, 0, x, y, 0, 0, DST_ICON | DSS_MONO);
}

// ---------------------------------------------------------------------------------------------
// CTkIconSet.

CTkIconSet::CTkIconSet(CTkIconStore* store, UINT id) : m_pStore(store), m_nID(id) {}

CTkIconSet::~CTkIconSet() {
    RemoveAll();
}

void CTkIconSet::RemoveAll() {
    m_entries.ForEach([](UINT, CTkIconEntry* entry) { delete entry; });
    m_entries.RemoveAll();
}

CTkIconEntry* CTkIconSet::Lookup(UINT width) {
    CTkIconEntry* entry = nullptr;
    return m_entries.Lookup(width, entry) ? entry : nullptr;
}

CTkIconEntry* CTkIconSet::GetOrCreate(UINT width) {
    if (CTkIconEntry* entry = Lookup(width)) return entry;
    auto* entry = new CTkIconEntry(this, m_nID, (int)width);
    m_entries.SetAt(width, entry);
    return entry;
}

CTkIconEntry* CTkIconSet::FindNearest(UINT width) {
    CTkIconEntry* best = nullptr;
    long long bestDistance = 0;
    m_entries.ForEach([&](UINT key, CTkIconEntry* entry) {
        long long distance = std::llabs((long long)key - (long long)width);
        if (!best || distance < bestDistance) {
            best = entry;
            bestDistance = distance;
        }
    });
    return best;
}

void CTkIconSet::Refresh() {
    std::vector<UINT> scaled;
    m_entries.ForEach([&](UINT key, CTkIconEntry* entry) {
        if (entry->IsScaled())
            scaled.push_back(key);
        else
            entry->ClearDerived();
    });
    for (UINT key : scaled) {
        CTkIconEntry* entry = Lookup(key);
        m_entries.RemoveKey(key);
        delete entry;
    }
}

// ---------------------------------------------------------------------------------------------
// CTkIconStore.

CTkIconStore::CTkIconStore() {
    m_cfToolbarImage = (WORD)::RegisterClipboardFormatW(L"ToolBar Button Image");
    m_cfAlphaMarker = (WORD)::RegisterClipboardFormatW(L"Alpha Bitmap Image");
    m_hMsimg32 = ::LoadLibraryW(L"msimg32.dll");
    if (m_hMsimg32)
        m_pfnAlphaBlend = reinterpret_cast<PFNALPHABLEND>(
            reinterpret_cast<void*>(::GetProcAddress(m_hMsimg32, "AlphaBlend")));
}

CTkIconStore::~CTkIconStore() {
    RemoveAll();
    if (m_hMsimg32) ::FreeLibrary(m_hMsimg32);
}

CTkIconStore& CTkIconStore::Global() {
    static CTkIconStore store;
    return store;
}

void CTkIconStore::RemoveAll() {
    m_sets.ForEach([](UINT, CTkIconSet* set) { delete set; });
    m_sets.RemoveAll();
}

COLORREF CTkIconStore::SetTransparentColor(COLORREF colour) {
    COLORREF previous = m_clrTransparent;
    m_clrTransparent = colour;
    return previous;
}

CTkIconSet* CTkIconStore::FindIconSet(UINT id) {
    CTkIconSet* set = nullptr;
    return m_sets.Lookup(id, set) ? set : nullptr;
}

bool CTkIconStore::AddIcon(CTkIconImage& image, UINT id, int width, int height, int state) {
    if (image.IsEmpty()) return false;
    if (width == 0 && height == 0) {
        SIZE size = image.GetSize();
        width = size.cx;
        height = size.cy;
        if (width == 0 && height == 0) {
            image.Clear();
            return false;
        }
    }
    CTkIconEntry* entry = EntryForPicture(id, width, state);
    if (!entry) {
        image.Clear();
        return false;
    }
    switch (state) {
    case StateNormal: entry->SetNormal(image); break;
    case StateDisabled: entry->SetDisabled(image); break;
    case StateHot: entry->SetHot(image); break;
    default: image.Clear(); break;
    }
    return true;
}

CTkIconEntry* CTkIconStore::EntryForPicture(UINT id, int width, int state) {
    CTkIconSet* set = FindIconSet(id);
    if (!set) {
        if (state != StateNormal) return nullptr;
        set = new CTkIconSet(this, id);
        m_sets.SetAt(id, set);
    }
    return set->GetOrCreate((UINT)width);
}

namespace {

// The entry's slot that a picture added in a state fills; -1 for a state that fills none.
int SlotOfState(int state) {
    switch (state) {
    case CTkIconStore::StateNormal: return CTkIconEntry::SlotNormal;
    case CTkIconStore::StateDisabled: return CTkIconEntry::SlotDisabled;
    case CTkIconStore::StateHot: return CTkIconEntry::SlotHot;
    default: return -1;
    }
}

// Calls add (id, index) for each non-zero id of the list with the index of its picture (separators
// take no picture), until add answers false; false then.
template <class F>
bool ForEachPictureId(const UINT* ids, int count, F add) {
    int index = 0;
    for (int i = 0; i < count; ++i) {
        if (ids[i] == 0) continue;
        if (!add(ids[i], index)) return false;
        ++index;
    }
    return true;
}

}  // namespace

UINT CTkIconStore::AddCustomIcon(CTkIconImage& image) {
    UINT id = ++m_nNextCustomId;
    auto* set = new CTkIconSet(this, id);
    m_sets.SetAt(id, set);
    CTkIconEntry* entry = set->GetOrCreate((UINT)image.GetSize().cx);
    entry->SetNormal(image);
    return id;
}

bool CTkIconStore::AddIconsFromImageList(HIMAGELIST imageList, const UINT* ids, int count, int width, int height,
                                         int state) {
    // The caller keeps its list, so the icons are made now; they are the store's own and are kept
    // as they are.
    int listWidth = 0, listHeight = 0;
    ImageList_GetIconSize(imageList, &listWidth, &listHeight);
    const SIZE size = {listWidth, listHeight};
    if (width == 0 && height == 0) {
        width = listWidth;
        height = listHeight;
    }
    return ForEachPictureId(ids, count, [&](UINT id, int index) {
        HICON icon = ImageList_GetIcon(imageList, index, ILD_NORMAL);
        if (!icon) return false;
        CTkIconImage image(icon);
        CTkIconEntry* entry = width || height ? EntryForPicture(id, width, state) : nullptr;
        const int slot = SlotOfState(state);
        if (entry && slot >= 0) entry->Adopt(slot, std::move(image), size);
        return true;
    });
}

bool CTkIconStore::AddIconsFromStrip(const std::shared_ptr<CTkIconStrip>& strip, const UINT* ids, int count,
                                     int width, int state) {
    const int pictures = strip->GetCount();
    return ForEachPictureId(ids, count, [&](UINT id, int index) {
        if (index >= pictures) return false;
        CTkIconEntry* entry = EntryForPicture(id, width, state);
        const int slot = SlotOfState(state);
        if (entry && slot >= 0) entry->AdoptPending(slot, strip, index);
        return true;
    });
}

bool CTkIconStore::AddIconsFromBitmap(HBITMAP bitmap, const UINT* ids, int count, int width, int height, int state,
                                      bool isAlphaBitmap) {
    if (width <= 0 || height < 0 || count < 0 || !bitmap || (count && !ids)) return false;
    if (isAlphaBitmap) {
        int fullWidth = 0, rows = 0;
        std::vector<DWORD> pixels;
        if (!ReadTopDown(bitmap, fullWidth, rows, pixels)) return false;
        if (fullWidth % width != 0) return false;
        const int n = fullWidth / width;
        int piece = 0;
        for (int i = 0; i < count && piece < n; ++i) {
            if (ids[i] == 0) continue;
            HBITMAP part = MakeTopDown(pixels, fullWidth, rows, piece * width, width);
            if (!part) return false;
            CTkIconImage image = CTkIconImage::FromAlphaBitmap(part);
            AddIcon(image, ids[i], width, height, state);  // stores a copy; the piece is deleted
            ++piece;
        }
        return true;
    }
    BITMAP bm = {};
    ::GetObjectW(bitmap, sizeof bm, &bm);
    if (height == 0) height = bm.bmHeight;
    COLORREF transparent = m_clrTransparent;
    if (transparent == (COLORREF)-1) {
        CTkBitmapDC memory(nullptr, bitmap);
        transparent = ::GetPixel(memory.GetSafeHdc(), 0, 0);
    }
    HIMAGELIST imageList = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 0, 1);
    if (!imageList) return false;
    ImageList_AddMasked(imageList, bitmap, transparent);
    // The icons are made from the list when first asked for.
    return AddIconsFromStrip(std::make_shared<CTkIconStrip>(imageList), ids, count, width, state);
}

bool CTkIconStore::AddIconsFromBitmapResource(UINT bitmapId, const UINT* ids, int count, int width, int height,
                                              int state) {
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(bitmapId), (LPCWSTR)RT_BITMAP);
    if (!resource) return false;
    HGLOBAL loaded = ::LoadResource(module, resource);
    const auto* header = loaded ? static_cast<const BITMAPINFOHEADER*>(::LockResource(loaded)) : nullptr;
    const DWORD size = ::SizeofResource(module, resource);
    // The header, and everything read after it, must lie within the resource.
    if (!header || size < sizeof(BITMAPINFOHEADER) || header->biSize < sizeof(BITMAPINFOHEADER) ||
        header->biSize > size)
        return false;
    HBITMAP bitmap = nullptr;
    bool isAlpha = header->biBitCount == 32;
    if (isAlpha) {
        if (header->biWidth <= 0 || header->biHeight == 0 || header->biWidth > TK_MAX_BITMAP_SIDE ||
            std::abs(header->biHeight) > TK_MAX_BITMAP_SIDE)
            return false;
        const size_t rows = (size_t)std::abs(header->biHeight);
        const size_t bytes = (size_t)header->biWidth * 4 * rows;
        // The pixels follow the header and the three colour masks of a BI_BITFIELDS bitmap.
        const size_t offset = header->biSize + (header->biCompression == BI_BITFIELDS ? 3 * sizeof(DWORD) : 0) +
                              (size_t)header->biClrUsed * sizeof(RGBQUAD);
        if (header->biClrUsed > 256 || offset > size || size - offset < bytes) return false;
        BITMAPINFO info = {};
        info.bmiHeader = *header;
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biCompression = BI_RGB;
        info.bmiHeader.biClrUsed = 0;
        info.bmiHeader.biSizeImage = (DWORD)bytes;
        void* bits = nullptr;
        bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bitmap || !bits) {
            if (bitmap) ::DeleteObject(bitmap);
            return false;
        }
        std::memcpy(bits, reinterpret_cast<const BYTE*>(header) + offset, bytes);
    } else {
        bitmap = ::LoadBitmapW(module, MAKEINTRESOURCEW(bitmapId));
        if (!bitmap) return false;
    }
    if (width == 0 && height == 0) {
        BITMAP bm = {};
        ::GetObjectW(bitmap, sizeof bm, &bm);
        width = count ? bm.bmWidth / count : 0;
        height = std::abs(bm.bmHeight);
    }
    bool ok = AddIconsFromBitmap(bitmap, ids, count, width, height, state, isAlpha);
    ::DeleteObject(bitmap);
    return ok;
}

bool TkReadToolbarResource(HINSTANCE module, UINT resourceId, CTkToolbarResource& resource) {
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(TK_RT_TOOLBAR));
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const auto* words = loaded ? static_cast<const WORD*>(::LockResource(loaded)) : nullptr;
    const DWORD size = found ? ::SizeofResource(module, found) : 0;
    if (!words || size < 8) return false;
    const WORD count = words[3];
    if (size < 8u + 2u * count) return false;
    resource.version = words[0];
    resource.width = words[1];
    resource.height = words[2];
    resource.ids.assign(words + 4, words + 4 + count);
    return true;
}

bool CTkIconStore::LoadToolbarIcons(UINT toolbarId, UINT bitmapId, int state) {
    CTkToolbarResource resource;
    if (!TkReadToolbarResource(AfxGetResourceHandle(), toolbarId, resource)) return false;
    std::vector<UINT> ids;
    for (UINT id : resource.ids)
        if (id != 0) ids.push_back(id);
    return AddIconsFromBitmapResource(bitmapId, ids.data(), (int)ids.size(), 0, 0, state);
}

CTkIconEntry* CTkIconStore::GetImage(UINT id, int width) {
    CTkIconSet* set = FindIconSet(id);
    if (!set) return nullptr;
    if (CTkIconEntry* exact = set->Lookup((UINT)width)) return exact;
    CTkIconEntry* nearest = set->FindNearest((UINT)width);
    if (!nearest) return nullptr;
    if (nearest->HasAlphaBitmap() || width == 0 || !nearest->GetNormal().m_hIcon) return nearest;
    return MakeScaledEntry(set, nearest, width);
}

namespace {
HICON StretchIcon(HICON icon, int sourceWidth, int width, int height) {
    if (!icon) return nullptr;
    if (width == sourceWidth) return ::CopyIcon(icon);
    HIMAGELIST imageList = ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 1, 1);
    if (!imageList) return nullptr;
    HICON stretched = nullptr;
    if (ImageList_ReplaceIcon(imageList, -1, icon) >= 0) stretched = ImageList_GetIcon(imageList, 0, ILD_NORMAL);
    ImageList_Destroy(imageList);
    return stretched;
}
}  // namespace

CTkIconEntry* CTkIconStore::MakeScaledEntry(CTkIconSet* set, CTkIconEntry* source, int width) {
    int height = ::MulDiv(source->GetHeight(), width, source->GetWidth());
    auto* entry = new CTkIconEntry(set, set->GetID(), width, height);
    const int slots[] = {CTkIconEntry::SlotNormal, CTkIconEntry::SlotDisabled, CTkIconEntry::SlotHot};
    for (int slot : slots)
        if (HICON icon = source->Slot(slot).m_hIcon)
            entry->Slot(slot) = CTkIconImage(StretchIcon(icon, source->GetWidth(), width, height));
    entry->m_bScaled = true;
    set->Add((UINT)width, entry);
    return entry;
}

void CTkIconStore::RefreshDerivedImages() {
    m_sets.ForEach([](UINT, CTkIconSet* set) { set->Refresh(); });
}
