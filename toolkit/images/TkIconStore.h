// The store of command pictures: per command id a set of entries of one or more widths, each
// with a normal, a hot and a disabled picture and pictures derived from them on demand. Pictures
// loaded from a bitmap that is not an alpha bitmap are made when an entry's slot is first asked for.
#pragma once

#include "afxarchive.h"
#include "afxwin.h"

#include <memory>
#include <vector>

class CTkIconSet;
class CTkIconStore;
class CTkIconStrip;

// One picture: an icon with a mask or a 32-bit alpha bitmap (blue, green, red, alpha).
class CTkIconImage {
public:
    CTkIconImage() = default;
    explicit CTkIconImage(HICON icon, bool owns = true) : m_hIcon(icon), m_bOwns(owns) {}
    static CTkIconImage FromAlphaBitmap(HBITMAP bitmap, bool owns = true);
    ~CTkIconImage() { Clear(); }
    CTkIconImage(const CTkIconImage&) = delete;
    CTkIconImage& operator=(const CTkIconImage&) = delete;
    CTkIconImage(CTkIconImage&& other) noexcept { *this = std::move(other); }
    CTkIconImage& operator=(CTkIconImage&& other) noexcept;

    // Destroys what the owns flag allows and always the premultiplied copy.
    void Clear();
    bool IsEmpty() const { return !m_hIcon && !m_hAlphaBitmap; }
    bool IsAlpha() const { return m_hAlphaBitmap != nullptr; }
    HICON GetIcon() const { return m_hIcon; }
    HBITMAP GetAlphaBitmap() const { return m_hAlphaBitmap; }
    // A copy that owns its own handles (CopyIcon, or a new DIB section with the same bits).
    CTkIconImage Copy() const;
    // The picture's real size.
    SIZE GetSize() const;

    HICON m_hIcon = nullptr;
    HBITMAP m_hAlphaBitmap = nullptr;
    HBITMAP m_hPremultiplied = nullptr;
    bool m_bOwns = true;
};

// Keeps one icon and destroys it when replaced or at the end.
class CTkIconHolder {
public:
    CTkIconHolder() = default;
    virtual ~CTkIconHolder();
    CTkIconHolder(const CTkIconHolder&) = delete;
    CTkIconHolder& operator=(const CTkIconHolder&) = delete;
    HICON GetIcon() const { return m_hIcon; }
    void Reset(HICON icon = nullptr);

private:
    HICON m_hIcon = nullptr;
};

// The pictures of one command at one width.
class CTkIconEntry {
public:
    enum Slot { SlotNormal, SlotFaded, SlotShadow, SlotHot, SlotDisabled, SlotGeneratedDisabled, SlotCount };

    CTkIconEntry(CTkIconSet* set, UINT id, int width, int height = 15);
    ~CTkIconEntry();
    CTkIconEntry(const CTkIconEntry&) = delete;
    CTkIconEntry& operator=(const CTkIconEntry&) = delete;

    CTkIconImage& GetNormal() { return Realised(SlotNormal); }
    CTkIconImage& GetHot();
    CTkIconImage& GetDisabled();
    CTkIconImage& GetFaded();
    CTkIconImage& GetShadow();
    bool HasAlphaBitmap() const { return m_images[SlotNormal].IsAlpha(); }  // a picture to be made is an icon
    // Each stores a copy and clears the argument.
    void SetNormal(CTkIconImage& image);
    void SetHot(CTkIconImage& image);
    void SetDisabled(CTkIconImage& image);
    void Draw(HDC dc, int x, int y, CTkIconImage& image, int width = 0, int height = 0);
    void DrawMono(HDC dc, int x, int y, CTkIconImage& image, COLORREF colour);
    // Clears the faded, shadow and generated-disabled pictures.
    void ClearDerived();

    UINT GetID() const { return m_nID; }
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    bool IsScaled() const { return m_bScaled; }
    CTkIconImage& Slot(int slot) { return Realised(slot); }

private:
    friend class CTkIconSet;
    friend class CTkIconStore;
    // A picture of the store's own making (not a caller's), taken as it is: as SetNormal, SetHot or
    // SetDisabled, without the copy; size is the picture's real size (used for the normal slot).
    void Adopt(int slot, CTkIconImage&& image, SIZE size);
    // As Adopt, with the picture made from the strip the first time the slot is asked for.
    void AdoptPending(int slot, std::shared_ptr<CTkIconStrip> strip, int index);
    // The slot, its picture made first when it is still pending.
    CTkIconImage& Realised(int slot);
    void ClearAll();

    // A picture still to be made: the strip and the picture's index in it.
    struct CPending {
        std::shared_ptr<CTkIconStrip> strip;
        int index = 0;
    };
    UINT m_nID;
    int m_nWidth;
    int m_nHeight;
    CTkIconImage m_images[SlotCount];
    CPending m_pending[SlotCount];
    CTkIconSet* m_pSet;
    bool m_bScaled = false;
};

// The entries of one command, keyed by width.
class CTkIconSet {
public:
    CTkIconSet(CTkIconStore* store, UINT id);
    ~CTkIconSet();
    CTkIconSet(const CTkIconSet&) = delete;
    CTkIconSet& operator=(const CTkIconSet&) = delete;

    UINT GetID() const { return m_nID; }
    int GetCount() const { return m_entries.GetCount(); }
    CTkIconEntry* Lookup(UINT width);
    CTkIconEntry* GetOrCreate(UINT width);
    // The entry whose key is nearest to width (first in iteration order among equals).
    CTkIconEntry* FindNearest(UINT width);
    // Removes the scaled entries and clears the derived pictures of the others.
    void Refresh();
    void RemoveAll();
    void Add(UINT width, CTkIconEntry* entry) { m_entries.SetAt(width, entry); }
    template <class F>
    void ForEach(F visit) { m_entries.ForEach([&](UINT key, CTkIconEntry* entry) { visit(key, entry); }); }
    CTkIconStore* GetStore() const { return m_pStore; }

private:
    CTkIconStore* m_pStore;
    UINT m_nID;
    CMap<UINT, UINT, CTkIconEntry*, CTkIconEntry*> m_entries;
};

// A toolbar resource (type 241) read and checked: WORD version, width, height, count, then
// count command ids, 0 for a separator.
struct CTkToolbarResource {
    int version = 0;
    int width = 0;
    int height = 0;
    std::vector<UINT> ids;
};
const WORD TK_RT_TOOLBAR = 241;
// Reads the toolbar resource of an id; false when it is missing or shorter than its item count
// says (such a resource is refused whole).
bool TkReadToolbarResource(HINSTANCE module, UINT resourceId, CTkToolbarResource& resource);

class CTkIconStore : public CCmdTarget {
    DECLARE_DYNAMIC(CTkIconStore)
public:
    enum State { StateNormal = 0, StateDisabled = 1, StateHot = 2 };
    static const UINT kFirstCustomBase = 0x10AAA;
    using PFNALPHABLEND = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);

    CTkIconStore();
    ~CTkIconStore() override;

    // The process-wide store.
    static CTkIconStore& Global();

    COLORREF SetTransparentColor(COLORREF colour);
    COLORREF GetTransparentColor() const { return m_clrTransparent; }
    bool AddIcon(CTkIconImage& image, UINT id, int width = 0, int height = 0, int state = StateNormal);
    bool AddIconsFromImageList(HIMAGELIST imageList, const UINT* ids, int count, int width, int height, int state);
    bool AddIconsFromBitmap(HBITMAP bitmap, const UINT* ids, int count, int width, int height, int state,
                            bool isAlphaBitmap);
    bool AddIconsFromBitmapResource(UINT bitmapId, const UINT* ids, int count, int width, int height, int state);
    bool LoadToolbarIcons(UINT toolbarId, UINT bitmapId, int state = StateNormal);
    bool LoadIconsFromBitmap(UINT resourceId, int state = StateNormal) {
        return LoadToolbarIcons(resourceId, resourceId, state);
    }
    UINT AddCustomIcon(CTkIconImage& image);
    CTkIconSet* FindIconSet(UINT id);
    CTkIconEntry* GetImage(UINT id, int width);
    void RefreshDerivedImages();
    void RemoveAll();

    // Archive of every set, and of one set ("CTkImageManagerIcons", its entries and pictures).
    virtual void Serialize(CArchive& ar);
    void SerializeIconSet(UINT id, CArchive& ar);
    // Puts the set's record on the (opened) clipboard under the toolbar-image format.
    bool CopyIconSetToClipboard(UINT id);
    // Reads a set record from the data object under a new custom id; 0 when there is none.
    UINT PasteIconSetFromClipboard(IDataObject* dataObject);
    int GetSetCount() const { return m_sets.GetCount(); }
    UINT GetNextCustomId() const { return m_nNextCustomId; }

    UINT GetToolbarImageFormat() const { return m_cfToolbarImage; }
    UINT GetAlphaMarkerFormat() const { return m_cfAlphaMarker; }
    PFNALPHABLEND GetAlphaBlend() const { return m_pfnAlphaBlend; }
    // Tests play a system without AlphaBlend through this.
    void SetAlphaBlend(PFNALPHABLEND function) { m_pfnAlphaBlend = function; }

private:
    CTkIconEntry* MakeScaledEntry(CTkIconSet* set, CTkIconEntry* source, int width);
    // The entry a picture of that state and width goes to for the id: created as needed, the set
    // too for a normal picture; none when a hot or disabled picture has no set to join.
    CTkIconEntry* EntryForPicture(UINT id, int width, int state);
    // The strip's pictures in order for the non-zero ids, each made when first asked for; false
    // when the strip has fewer pictures than ids (the ids before keep theirs).
    bool AddIconsFromStrip(const std::shared_ptr<CTkIconStrip>& strip, const UINT* ids, int count, int width,
                           int state);

    UINT m_cfToolbarImage = 0;
    UINT m_cfAlphaMarker = 0;
    COLORREF m_clrTransparent = (COLORREF)-1;
    CMap<UINT, UINT, CTkIconSet*, CTkIconSet*> m_sets;
    UINT m_nNextCustomId = kFirstCustomBase;
    HMODULE m_hMsimg32 = nullptr;
    PFNALPHABLEND m_pfnAlphaBlend = nullptr;
};

// Bitmap helpers of the store.
// The largest width or height accepted from a resource or an archive.
const LONG TK_MAX_BITMAP_SIDE = 4096;
// The description of a top-down 32-bit bitmap of that size.
BITMAPINFO TkTopDownInfo(int width, int height);
// A top-down 32-bit DIB section of the given size; bits receives its pixels.
HBITMAP TkCreateAlphaBitmap(int width, int height, DWORD** bits = nullptr);
// The pixels of a DIB section (null for other bitmaps).
DWORD* TkAlphaBits(HBITMAP bitmap, BITMAP* info = nullptr);
// A top-down 32-bit DIB section with the pixels of any bitmap (device-dependent ones converted).
HBITMAP TkCopyAlphaBitmap(HBITMAP source);
// Puts a copy of the bytes on the (opened) clipboard in a movable block; the block is freed when
// the clipboard does not take it.
bool TkSetClipboardBlock(UINT format, const void* data, size_t size);
