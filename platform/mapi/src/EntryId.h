// Entry identifiers of the provider's objects: the root container, a book (one folder) and an
// entry (one card of a .vcf file in a book's folder).
#pragma once

#include <windows.h>
#include <mapidefs.h>

#include <string>
#include <vector>

namespace mapiprovider {

enum class EntryKind : BYTE { Root = 1, Book = 2, Entry = 3 };

struct CEntryId {
    EntryKind kind = EntryKind::Root;
    std::wstring book;  // the book's folder name
    std::wstring file;  // the .vcf file name (entries)
    ULONG index = 0;    // the card's position in the file (entries)

    static CEntryId ForBook(const std::wstring& book);
    static CEntryId ForEntry(const std::wstring& book, const std::wstring& file, ULONG index);

    std::vector<BYTE> Encode() const;
    // An empty identifier is the root container; false when the bytes are not ours.
    static bool Decode(ULONG cb, const ENTRYID* id, CEntryId* out);
};

}  // namespace mapiprovider
