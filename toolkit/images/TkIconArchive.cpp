// The archive record of the store's icon sets, and the clipboard that carries one set's record.
#include "images/TkIconStore.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
const char kIconSetTag[] = "CTkImageManagerIcons";

void WriteEmptyBitmap(CArchive& ar) {
    ar.WriteCount(0);
}

// A bitmap record: count 52, the header and 12 bytes of colour masks, then count and bits (as
// 32-bit pixels, so no colour table is needed).
void WriteBitmap(CArchive& ar, HBITMAP bitmap) {
    BITMAP bm = {};
    if (!bitmap || !::GetObjectW(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight == 0) {
        WriteEmptyBitmap(ar);
        return;
    }
    const int width = bm.bmWidth, height = std::abs(bm.bmHeight);
    BYTE header[52] = {};
    auto* info = reinterpret_cast<BITMAPINFOHEADER*>(header);
    info->biSize = sizeof(BITMAPINFOHEADER);
    info->biWidth = width;
    info->biHeight = height;
    info->biPlanes = 1;
    info->biBitCount = 32;
    info->biCompression = BI_RGB;
    info->biSizeImage = width * 4 * height;
    std::vector<BYTE> bits(info->biSizeImage);
    BITMAPINFO query = {};
    query.bmiHeader = *info;
    HDC screen = ::GetDC(nullptr);
    int rows = ::GetDIBits(screen, bitmap, 0, height, bits.data(), &query, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows != height) {
        WriteEmptyBitmap(ar);
        return;
    }
    ar.WriteCount(sizeof header);
    ar.Write(header, sizeof header);
    ar.WriteCount(bits.size());
    ar.Write(bits.data(), (UINT)bits.size());
}

// Reads a bitmap record; none for an empty one. A record whose header or pixels do not fit
// together (sizes out of range, a header that claims more than was stored, more pixel bytes than
// the bitmap holds) throws badSchema; nothing is read or written outside the record's bytes.
HBITMAP ReadBitmap(CArchive& ar) {
    const DWORD_PTR headerSize = ar.ReadCount();
    if (headerSize == 0) return nullptr;
    // At most a header with a full 256-entry colour table.
    const size_t kMaxHeader = sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD);
    if (headerSize < sizeof(BITMAPINFOHEADER) || headerSize > kMaxHeader)
        AfxThrowArchiveException(CArchiveException::badSchema);
    // Room for the largest colour table, zeroed beyond what was stored.
    std::vector<BYTE> header(kMaxHeader + 3 * sizeof(DWORD), 0);
    ar.Read(header.data(), (UINT)headerSize);
    BITMAPINFOHEADER info = {};
    std::memcpy(&info, header.data(), sizeof info);
    const bool knownDepth = info.biBitCount == 1 || info.biBitCount == 4 || info.biBitCount == 8 ||
                            info.biBitCount == 16 || info.biBitCount == 24 || info.biBitCount == 32;
    if (info.biSize != sizeof(BITMAPINFOHEADER) || info.biWidth <= 0 || info.biHeight == 0 ||
        info.biWidth > TK_MAX_BITMAP_SIDE || std::abs(info.biHeight) > TK_MAX_BITMAP_SIDE || info.biPlanes != 1 ||
        !knownDepth || (info.biCompression != BI_RGB && info.biCompression != BI_BITFIELDS) ||
        info.biClrUsed > 256)
        AfxThrowArchiveException(CArchiveException::badSchema);
    size_t tableBytes = 0;
    if (info.biCompression == BI_BITFIELDS) tableBytes = 3 * sizeof(DWORD);
    if (info.biBitCount <= 8)
        tableBytes = (info.biClrUsed ? info.biClrUsed : (1u << info.biBitCount)) * sizeof(RGBQUAD);
    else if (info.biClrUsed)
        tableBytes += (size_t)info.biClrUsed * sizeof(RGBQUAD);
    if (sizeof(BITMAPINFOHEADER) + tableBytes > headerSize)
        AfxThrowArchiveException(CArchiveException::badSchema);
    const size_t stride = (((size_t)info.biWidth * info.biBitCount + 31) / 32) * 4;
    const size_t capacity = stride * (size_t)std::abs(info.biHeight);
    const DWORD_PTR size = ar.ReadCount();
    if (size > capacity) AfxThrowArchiveException(CArchiveException::badSchema);
    std::vector<BYTE> bits(size);
    if (size) ar.Read(bits.data(), (UINT)size);
    void* pixels = nullptr;
    HBITMAP bitmap =
        ::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(header.data()), DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!bitmap || !pixels) {
        if (bitmap) ::DeleteObject(bitmap);
        return nullptr;
    }
    if (size) std::memcpy(pixels, bits.data(), (size_t)size);
    ::GdiFlush();
    return bitmap;
}

void WriteImage(CArchive& ar, const CTkIconImage& image) {
    if (image.m_hIcon) {
        ICONINFO ii = {};
        if (::GetIconInfo(image.m_hIcon, &ii)) {
            WriteBitmap(ar, ii.hbmColor);
            WriteBitmap(ar, ii.hbmMask);
            if (ii.hbmColor) ::DeleteObject(ii.hbmColor);
            if (ii.hbmMask) ::DeleteObject(ii.hbmMask);
            return;
        }
        WriteEmptyBitmap(ar);
        WriteEmptyBitmap(ar);
    } else if (image.m_hAlphaBitmap) {
        WriteBitmap(ar, image.m_hAlphaBitmap);
        WriteEmptyBitmap(ar);
    } else {
        WriteEmptyBitmap(ar);
        WriteEmptyBitmap(ar);
    }
}

CTkIconImage ReadImage(CArchive& ar) {
    HBITMAP colour = ReadBitmap(ar);
    HBITMAP mask = nullptr;
    try {
        mask = ReadBitmap(ar);
    } catch (...) {
        if (colour) ::DeleteObject(colour);
        throw;
    }
    if (colour && mask) {
        BITMAP bm = {};
        ::GetObjectW(colour, sizeof bm, &bm);
        HICON icon = nullptr;
        if (HIMAGELIST imageList = ImageList_Create(bm.bmWidth, std::abs(bm.bmHeight), ILC_COLOR24 | ILC_MASK, 1, 1)) {
            if (ImageList_Add(imageList, colour, mask) >= 0) icon = ImageList_GetIcon(imageList, 0, ILD_NORMAL);
            ImageList_Destroy(imageList);
        }
        ::DeleteObject(colour);
        ::DeleteObject(mask);
        return CTkIconImage(icon);
    }
    if (mask) ::DeleteObject(mask);
    if (colour) return CTkIconImage::FromAlphaBitmap(colour);
    return CTkIconImage();
}
}  // namespace

void CTkIconStore::SerializeIconSet(UINT id, CArchive& ar) {
    if (ar.IsStoring()) {
        ar << CString(kIconSetTag);
        CTkIconSet* set = FindIconSet(id);
        ar.WriteCount(set ? set->GetCount() : 0);
        if (set) {
            set->ForEach([&](UINT key, CTkIconEntry* entry) {
                ar << (DWORD)key;
                ar << (LONG)entry->GetHeight() << (DWORD)0;
                WriteImage(ar, entry->Slot(CTkIconEntry::SlotNormal));
                WriteImage(ar, entry->Slot(CTkIconEntry::SlotDisabled));
                WriteImage(ar, entry->Slot(CTkIconEntry::SlotHot));
            });
        }
    } else {
        CString tag;
        ar >> tag;
        if (tag != kIconSetTag) AfxThrowArchiveException(CArchiveException::badClass);
        CTkIconSet* set = FindIconSet(id);
        if (set) {
            set->RemoveAll();
        } else {
            set = new CTkIconSet(this, id);
            m_sets.SetAt(id, set);
        }
        DWORD_PTR count = ar.ReadCount();
        for (DWORD_PTR i = 0; i < count; ++i) {
            DWORD key = 0;
            LONG height = 0;
            DWORD reserved = 0;
            ar >> key;
            // A set holds one entry per width: a second one is damage.
            if (set->Lookup(key)) AfxThrowArchiveException(CArchiveException::badSchema);
            auto* entry = new CTkIconEntry(set, id, (int)key, 15);
            set->Add(key, entry);
            ar >> height >> reserved;
            entry->m_nHeight = height;
            entry->Slot(CTkIconEntry::SlotNormal) = ReadImage(ar);
            entry->Slot(CTkIconEntry::SlotDisabled) = ReadImage(ar);
            entry->Slot(CTkIconEntry::SlotHot) = ReadImage(ar);
        }
    }
    if (id > m_nNextCustomId) m_nNextCustomId = id;
}

void CTkIconStore::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(m_sets.GetCount());
        m_sets.ForEach([&](UINT id, CTkIconSet*) {
            ar << (DWORD)id;
            SerializeIconSet(id, ar);
        });
    } else {
        RemoveAll();
        DWORD_PTR count = ar.ReadCount();
        for (DWORD_PTR i = 0; i < count; ++i) {
            DWORD id = 0;
            ar >> id;
            SerializeIconSet(id, ar);
        }
    }
}

bool CTkIconStore::CopyIconSetToClipboard(UINT id) {
    CMemFile file(1024);
    {
        CArchive ar(&file, CArchive::store, 4096);
        SerializeIconSet(id, ar);
        ar.Close();
    }
    const std::vector<BYTE>& bytes = file.GetData();
    return TkSetClipboardBlock(m_cfToolbarImage, bytes.data(), bytes.size());
}

bool TkSetClipboardBlock(UINT format, const void* data, size_t size) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
    if (!block) return false;
    void* target = ::GlobalLock(block);
    if (!target) {
        ::GlobalFree(block);
        return false;
    }
    if (size) std::memcpy(target, data, size);
    ::GlobalUnlock(block);
    if (!::SetClipboardData(format, block)) {
        ::GlobalFree(block);
        return false;
    }
    return true;
}

UINT CTkIconStore::PasteIconSetFromClipboard(IDataObject* dataObject) {
    if (!dataObject) return 0;
    FORMATETC format = {(CLIPFORMAT)m_cfToolbarImage, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {};
    if (FAILED(dataObject->GetData(&format, &medium))) return 0;
    UINT id = ++m_nNextCustomId;
    UINT result = 0;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
        const BYTE* data = static_cast<const BYTE*>(::GlobalLock(medium.hGlobal));
        SIZE_T size = ::GlobalSize(medium.hGlobal);
        if (data) {
            try {
                CMemFile file(data, (UINT)size, 4096);
                CArchive ar(&file, CArchive::load, 4096);
                SerializeIconSet(id, ar);
                result = id;
            } catch (CArchiveException* e) {
                e->Delete();
            }
            ::GlobalUnlock(medium.hGlobal);
        }
    }
    ::ReleaseStgMedium(&medium);
    return result;
}
