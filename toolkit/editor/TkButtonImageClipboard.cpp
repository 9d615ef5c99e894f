#include "editor/TkButtonImageClipboard.h"

#include "painters/TkDrawTools.h"

#include <cwchar>

namespace {

FORMATETC FormatOf(UINT format) {
    FORMATETC etc = {(CLIPFORMAT)format, nullptr, DVASPECT_CONTENT, -1,
                     format == CF_BITMAP ? (DWORD)TYMED_GDI : (DWORD)TYMED_HGLOBAL};
    return etc;
}

// The picture drawn into a new 32-bit bitmap: an alpha bitmap copied, an icon drawn onto the
// button face.
HBITMAP BitmapOfImage(const CTkIconImage& image) {
    if (image.IsAlpha()) return TkCopyAlphaBitmap(image.m_hAlphaBitmap);
    const SIZE size = image.GetSize();
    if (size.cx <= 0 || size.cy <= 0) return nullptr;
    HBITMAP bitmap = TkCreateAlphaBitmap(size.cx, size.cy);
    if (!bitmap) return nullptr;
    CTkBitmapDC dc(nullptr, bitmap);
    dc.GetDC().FillSolidRect(CRect(0, 0, size.cx, size.cy), ::GetSysColor(COLOR_BTNFACE));
    ::DrawStateW(dc.GetSafeHdc(), nullptr, nullptr, (LPARAM)image.m_hIcon, 0, 0, 0, 0, 0, DST_ICON);
    ::GdiFlush();
    return bitmap;
}

}  // namespace

bool TkSetClipboardPicture(HBITMAP bitmap, bool alpha) {
    if (!bitmap) return false;
    if (!::SetClipboardData(CF_BITMAP, bitmap)) {
        ::DeleteObject(bitmap);
        return false;
    }
    if (!alpha) return true;
    const BYTE marker = 0;
    return TkSetClipboardBlock(CTkIconStore::Global().GetAlphaMarkerFormat(), &marker, 1);
}

bool TkClipboardOffers(IDataObject* data, UINT format) {
    if (!data) return false;
    FORMATETC etc = FormatOf(format);
    return data->QueryGetData(&etc) == S_OK;
}

bool TkIsAlphaPaste(IDataObject* data) {
    IEnumFORMATETC* formats = nullptr;
    if (data && SUCCEEDED(data->EnumFormatEtc(DATADIR_GET, &formats)) && formats) {
        FORMATETC etc;
        ULONG fetched = 0;
        bool found = false;
        while (!found && formats->Next(1, &etc, &fetched) == S_OK && fetched == 1) {
            if (etc.ptd) ::CoTaskMemFree(etc.ptd);
            wchar_t name[255] = {};
            if (etc.cfFormat >= 0xC000 && ::GetClipboardFormatNameW(etc.cfFormat, name, 255) > 0) {
                const wchar_t* at = std::wcsstr(name, L"DIB32");
                found = at && at > name;
            }
        }
        formats->Release();
        if (found) return true;
    }
    return TkClipboardOffers(data, CTkIconStore::Global().GetAlphaMarkerFormat());
}

HBITMAP TkGetClipboardBitmap(IDataObject* data) {
    if (!data) return nullptr;
    FORMATETC etc = FormatOf(CF_BITMAP);
    STGMEDIUM medium = {};
    if (FAILED(data->GetData(&etc, &medium))) return nullptr;
    HBITMAP copy = medium.tymed == TYMED_GDI && medium.hBitmap ? TkCopyAlphaBitmap(medium.hBitmap) : nullptr;
    ::ReleaseStgMedium(&medium);
    return copy;
}

bool TkCopyButtonImage(CTkIconStore& store, UINT iconId, HWND owner) {
    CTkIconEntry* entry = store.GetImage(iconId, 16);
    if (!entry || entry->GetNormal().IsEmpty()) return false;
    const bool alpha = entry->GetNormal().IsAlpha();
    HBITMAP bitmap = BitmapOfImage(entry->GetNormal());
    if (!bitmap) return false;
    if (!::OpenClipboard(owner)) {
        ::DeleteObject(bitmap);
        return false;
    }
    if (!::EmptyClipboard()) {
        ::CloseClipboard();
        ::DeleteObject(bitmap);
        return false;
    }
    // The bitmap is the clipboard's from here on, or already deleted when it was refused.
    bool ok = TkSetClipboardPicture(bitmap, alpha);
    if (ok && store.FindIconSet(iconId)) ok = store.CopyIconSetToClipboard(iconId);
    ::CloseClipboard();
    return ok;
}

UINT TkPasteButtonImage(CTkIconStore& store, IDataObject* data) {
    if (!data) return 0;
    if (TkClipboardOffers(data, store.GetToolbarImageFormat())) return store.PasteIconSetFromClipboard(data);
    HBITMAP bitmap = TkGetClipboardBitmap(data);
    if (!bitmap) return 0;
    CTkIconImage picture;
    if (TkClipboardOffers(data, store.GetAlphaMarkerFormat())) {
        picture = CTkIconImage::FromAlphaBitmap(bitmap);
        bitmap = nullptr;
    } else {
        BITMAP bm = {};
        ::GetObjectW(bitmap, sizeof bm, &bm);
        HIMAGELIST list = ::ImageList_Create(bm.bmWidth, std::abs(bm.bmHeight), ILC_COLOR24 | ILC_MASK, 0, 1);
        if (list) {
            ::ImageList_AddMasked(list, bitmap, ::GetSysColor(COLOR_BTNFACE));
            if (::ImageList_GetImageCount(list) == 1) picture = CTkIconImage(::ImageList_GetIcon(list, 0, ILD_NORMAL));
            ::ImageList_Destroy(list);
        }
        ::DeleteObject(bitmap);
    }
    return picture.IsEmpty() ? 0 : store.AddCustomIcon(picture);
}

UINT TkCustomIconFromPalette(CTkIconStore& store, UINT paletteIconId) {
    CTkIconSet* set = store.FindIconSet(paletteIconId);
    if (!set) return 0;
    CTkIconEntry* first = nullptr;
    set->ForEach([&](UINT, CTkIconEntry* entry) {
        if (!first) first = entry;
    });
    if (!first || first->GetNormal().IsEmpty()) return 0;
    CTkIconImage picture = first->GetNormal().Copy();
    return store.AddCustomIcon(picture);
}
