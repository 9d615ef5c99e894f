#include "editor/TkImageFiles.h"

#include "painters/TkDrawTools.h"

#include <olectl.h>

#include <cstring>
#include <cwchar>
#include <cwctype>

namespace {

// Icon files larger than this are not read (a 256 x 256 32-bit image is about 270 kB).
const size_t kMaxIconFile = 4 * 1024 * 1024;

#pragma pack(push, 1)
struct CIconDirEntry {
    BYTE width, height, colorCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInRes, imageOffset;
};
#pragma pack(pop)

// An entry's width or height byte: 0 stands for 256.
int SideOf(BYTE side) {
    return side ? side : 256;
}

WORD ReadWord(const BYTE* at) {
    return (WORD)(at[0] | (at[1] << 8));
}

// A bottom-up 32-bit DIB section of the header's size with the bits that follow the header.
HBITMAP MakeImage(const BITMAPINFOHEADER& header, const BYTE* bits, size_t bytes) {
    BITMAPINFO info = {};
    info.bmiHeader = header;
    void* target = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &target, nullptr, 0);
    if (!bitmap || !target) {
        if (bitmap) ::DeleteObject(bitmap);
        return nullptr;
    }
    std::memcpy(target, bits, bytes);
    return bitmap;
}

// The extension after the last dot, lower case.
std::wstring ExtensionOf(const wchar_t* path) {
    const wchar_t* dot = std::wcsrchr(path, L'.');
    std::wstring extension = dot ? dot + 1 : L"";
    for (auto& ch : extension) ch = (wchar_t)std::towlower(ch);
    return extension;
}

std::unique_ptr<CTkEditPicture> LoadIconFile(const wchar_t* path, int width, int height) {
    // A file whose directory does not fit it is not handed to the system's loader either.
    std::vector<BYTE> bytes;
    if (!TkReadWholeFile(path, bytes, kMaxIconFile) || !TkIconDirectoryFits(bytes.data(), bytes.size()))
        return nullptr;
    if (HBITMAP image = TkIconImage32FromBytes(bytes.data(), bytes.size(), width)) {
        auto picture = CTkEditPicture::FromBitmap(image, width, height, true);
        ::DeleteObject(image);
        return picture;
    }
    HICON icon = (HICON)::LoadImageW(nullptr, path, IMAGE_ICON, width, height, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (!icon) return nullptr;
    auto picture = CTkEditPicture::Create(width, height);
    if (picture) {
        CTkBitmapDC dc(nullptr, picture->Bitmap());
        ::DrawIconEx(dc.GetSafeHdc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
        ::GdiFlush();
    }
    ::DestroyIcon(icon);
    return picture;
}

std::unique_ptr<CTkEditPicture> LoadBitmapFile(const wchar_t* path, int width, int height) {
    HBITMAP bitmap = (HBITMAP)::LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0,
                                           LR_LOADFROMFILE | LR_CREATEDIBSECTION | LR_DEFAULTSIZE);
    if (!bitmap) return nullptr;
    auto picture = CTkEditPicture::FromBitmap(bitmap, width, height, TkIsBitmapFile32(path));
    ::DeleteObject(bitmap);
    return picture;
}

std::unique_ptr<CTkEditPicture> LoadOlePicture(const wchar_t* path, int width, int height) {
    IPicture* loaded = nullptr;
    if (FAILED(::OleLoadPicturePath(const_cast<LPOLESTR>(path), nullptr, 0, 0, IID_IPicture, (void**)&loaded)) ||
        !loaded)
        return nullptr;
    OLE_XSIZE_HIMETRIC hmWidth = 0;
    OLE_YSIZE_HIMETRIC hmHeight = 0;
    loaded->get_Width(&hmWidth);
    loaded->get_Height(&hmHeight);
    auto picture = CTkEditPicture::Create(width, height);
    if (picture) {
        CTkBitmapDC dc(nullptr, picture->Bitmap());
        if (FAILED(loaded->Render(dc.GetSafeHdc(), 0, 0, picture->Width(), picture->Height(), 0, hmHeight, hmWidth,
                                  -hmHeight, nullptr)))
            picture.reset();
        ::GdiFlush();
    }
    loaded->Release();
    return picture;
}

}  // namespace

bool TkIconDirectoryFits(const BYTE* data, size_t size) {
    if (!data || size < 6 || ReadWord(data) != 0 || ReadWord(data + 2) != 1) return false;
    const size_t count = ReadWord(data + 4);
    if (count == 0 || 6 + count * sizeof(CIconDirEntry) > size) return false;
    for (size_t i = 0; i < count; ++i) {
        CIconDirEntry entry;
        std::memcpy(&entry, data + 6 + i * sizeof entry, sizeof entry);
        if (entry.imageOffset > size || entry.bytesInRes > size - entry.imageOffset) return false;
    }
    return true;
}

HBITMAP TkIconImage32FromBytes(const BYTE* data, size_t size, int width) {
    if (!data || size < 6) return nullptr;
    const size_t count = ReadWord(data + 4);
    if (count == 0 || 6 + count * sizeof(CIconDirEntry) > size) return nullptr;
    for (size_t i = 0; i < count; ++i) {
        CIconDirEntry entry;
        std::memcpy(&entry, data + 6 + i * sizeof entry, sizeof entry);
        if (entry.bitCount != 32) continue;
        if (width != 0 && SideOf(entry.width) != width) continue;
        // The entry's data must lie in the file and hold its header and the colour part.
        if (entry.imageOffset > size || entry.bytesInRes > size - entry.imageOffset) continue;
        if (entry.bytesInRes < sizeof(BITMAPINFOHEADER)) continue;
        BITMAPINFOHEADER header;
        std::memcpy(&header, data + entry.imageOffset, sizeof header);
        const int entryWidth = SideOf(entry.width), entryHeight = SideOf(entry.height);
        if (header.biSize != sizeof(BITMAPINFOHEADER) || header.biBitCount != 32 || header.biCompression != BI_RGB ||
            header.biPlanes != 1 || header.biWidth != entryWidth || header.biHeight != 2 * entryHeight)
            continue;
        header.biHeight /= 2;
        header.biSizeImage = header.biWidth * 4 * header.biHeight;
        if (entry.bytesInRes - sizeof header < header.biSizeImage) continue;
        if (HBITMAP image = MakeImage(header, data + entry.imageOffset + sizeof header, header.biSizeImage))
            return image;
    }
    return nullptr;
}

bool TkReadWholeFile(const wchar_t* path, std::vector<BYTE>& bytes, size_t limit) {
    HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size = {};
    bool ok = ::GetFileSizeEx(file, &size) && (ULONGLONG)size.QuadPart <= limit;
    if (ok) {
        bytes.resize((size_t)size.QuadPart);
        DWORD read = 0;
        ok = bytes.empty() || (::ReadFile(file, bytes.data(), (DWORD)bytes.size(), &read, nullptr) && read == bytes.size());
    }
    ::CloseHandle(file);
    return ok;
}

HBITMAP TkReadIconFile32(const wchar_t* path, int width) {
    std::vector<BYTE> bytes;
    if (!TkReadWholeFile(path, bytes, kMaxIconFile)) return nullptr;
    return TkIconImage32FromBytes(bytes.data(), bytes.size(), width);
}

bool TkIsBitmapFile32(const wchar_t* path) {
    HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    BYTE headers[14 + sizeof(BITMAPINFOHEADER)] = {};
    DWORD read = 0;
    bool ok = ::ReadFile(file, headers, sizeof headers, &read, nullptr) && read == sizeof headers;
    ::CloseHandle(file);
    if (!ok) return false;
    BITMAPINFOHEADER info;
    std::memcpy(&info, headers + 14, sizeof info);
    return info.biBitCount == 32;
}

std::unique_ptr<CTkEditPicture> TkLoadPictureFile(const wchar_t* path, int width, int height) {
    if (!path || !*path) return nullptr;
    width = TkClampPictureSide(width);
    height = TkClampPictureSide(height);
    const std::wstring extension = ExtensionOf(path);
    std::unique_ptr<CTkEditPicture> picture;
    if (extension == L"ico")
        picture = LoadIconFile(path, width, height);
    else if (extension == L"bmp")
        picture = LoadBitmapFile(path, width, height);
    else
        picture = LoadOlePicture(path, width, height);
    // A 32-bit file written without alpha would otherwise be entirely transparent.
    if (picture && picture->IsAlpha() && picture->AllAlphaZero()) picture->SetAlpha(false);
    return picture;
}
