#include "EntryId.h"

#include <cstring>

namespace mapiprovider {

namespace {

// The provider's MAPIUID, after the four flag bytes of every entry identifier.
const BYTE kProviderUid[16] = {0x5A, 0x1C, 0x7E, 0x44, 0x93, 0x0B, 0x4D, 0x2F,
                               0xA8, 0x61, 0x3C, 0xD2, 0x7B, 0x90, 0x15, 0xE6};
const size_t kHeaderSize = 4 + sizeof kProviderUid + 1 + sizeof(ULONG);

}  // namespace

CEntryId CEntryId::ForBook(const std::wstring& book) {
    CEntryId id;
    id.kind = EntryKind::Book;
    id.book = book;
    return id;
}

CEntryId CEntryId::ForEntry(const std::wstring& book, const std::wstring& file, ULONG index) {
    CEntryId id;
    id.kind = EntryKind::Entry;
    id.book = book;
    id.file = file;
    id.index = index;
    return id;
}

std::vector<BYTE> CEntryId::Encode() const {
    const std::wstring path = book + L"|" + file;
    std::vector<BYTE> bytes(kHeaderSize + path.size() * sizeof(wchar_t), 0);
    std::memcpy(&bytes[4], kProviderUid, sizeof kProviderUid);
    bytes[4 + sizeof kProviderUid] = static_cast<BYTE>(kind);
    std::memcpy(&bytes[4 + sizeof kProviderUid + 1], &index, sizeof index);
    if (!path.empty()) std::memcpy(&bytes[kHeaderSize], path.data(), path.size() * sizeof(wchar_t));
    return bytes;
}

bool CEntryId::Decode(ULONG cb, const ENTRYID* id, CEntryId* out) {
    *out = CEntryId();
    if (cb == 0) return true;
    if (!id || cb < kHeaderSize || (cb - kHeaderSize) % sizeof(wchar_t) != 0) return false;
    const BYTE* bytes = reinterpret_cast<const BYTE*>(id);
    if (std::memcmp(bytes + 4, kProviderUid, sizeof kProviderUid) != 0) return false;
    const BYTE kind = bytes[4 + sizeof kProviderUid];
    if (kind < static_cast<BYTE>(EntryKind::Root) || kind > static_cast<BYTE>(EntryKind::Entry)) return false;
    out->kind = static_cast<EntryKind>(kind);
    std::memcpy(&out->index, bytes + 4 + sizeof kProviderUid + 1, sizeof out->index);
    std::wstring path((cb - kHeaderSize) / sizeof(wchar_t), L'\0');
    if (!path.empty()) std::memcpy(&path[0], bytes + kHeaderSize, path.size() * sizeof(wchar_t));
    const size_t bar = path.find(L'|');
    if (out->kind != EntryKind::Root && bar == std::wstring::npos) return false;
    if (bar != std::wstring::npos) {
        out->book = path.substr(0, bar);
        out->file = path.substr(bar + 1);
    }
    return true;
}

}  // namespace mapiprovider
