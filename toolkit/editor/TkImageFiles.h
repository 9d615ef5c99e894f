// Readers of picture files for the button image editor: the 32-bit image of an icon file, the
// bit depth of a bitmap file, and a picture file read into an editor picture.
#pragma once

#include "editor/TkEditPicture.h"

#include <vector>

// The 32-bit image of an icon file's bytes whose width is width (0: any width), as a DIB section
// of the icon's colour part; none when the directory, the entry or its header is damaged.
HBITMAP TkIconImage32FromBytes(const BYTE* data, size_t size, int width);
// True when the icon directory's header, count and entries lie within the bytes.
bool TkIconDirectoryFits(const BYTE* data, size_t size);
// The same read from a file; none when the file cannot be read.
HBITMAP TkReadIconFile32(const wchar_t* path, int width);
// True when the bitmap file's info header says 32 bits per pixel; false when it cannot be read.
bool TkIsBitmapFile32(const wchar_t* path);
// The whole file, or false.
bool TkReadWholeFile(const wchar_t* path, std::vector<BYTE>& bytes, size_t limit);

// A picture file (".ico", ".bmp", or anything the OLE picture loader reads) as a picture of the
// given size; none when it cannot be loaded.
std::unique_ptr<CTkEditPicture> TkLoadPictureFile(const wchar_t* path, int width, int height);
