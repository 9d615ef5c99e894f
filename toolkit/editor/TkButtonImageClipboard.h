// Button pictures on the clipboard: the bitmap with the "Alpha Bitmap Image" marker beside it,
// the icon store's "ToolBar Button Image" sets, and the picture commands of a control (copy,
// paste, and a picture taken from the palette of button images).
#pragma once

#include "images/TkIconStore.h"

// Puts the bitmap on the opened clipboard as CF_BITMAP and, for an alpha picture, a 1-byte
// marker block beside it. The clipboard owns the bitmap afterwards; when it does not take it the
// bitmap is deleted here.
bool TkSetClipboardPicture(HBITMAP bitmap, bool alpha);
// True when the data object offers the format (CF_BITMAP as a GDI object, others in memory).
bool TkClipboardOffers(IDataObject* data, UINT format);
// Whether a bitmap on the clipboard carries alpha: a registered format whose name holds "DIB32"
// after its first character decides; without one (or when the formats cannot be listed) the
// "Alpha Bitmap Image" marker does.
bool TkIsAlphaPaste(IDataObject* data);
// A top-down 32-bit DIB section copy of the clipboard's bitmap (device-dependent bitmaps are
// converted); none when there is none. The clipboard's bitmap stays the clipboard's.
HBITMAP TkGetClipboardBitmap(IDataObject* data);

// The picture of the icon id at width 16 on the clipboard (bitmap, marker, and the icon set when
// the store holds one). False, with nothing left behind, when there is no picture or the
// clipboard cannot be used.
bool TkCopyButtonImage(CTkIconStore& store, UINT iconId, HWND owner);
// A picture from the clipboard stored as a new custom icon: the store's set format first, else
// the bitmap. The new id, or 0 when nothing could be pasted.
UINT TkPasteButtonImage(CTkIconStore& store, IDataObject* data);
// The picture of a palette button (the first entry of its set) stored as a new custom icon; 0
// when the button has no picture.
UINT TkCustomIconFromPalette(CTkIconStore& store, UINT paletteIconId);
