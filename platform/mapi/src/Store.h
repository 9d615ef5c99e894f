// The address books on disk: a root folder with one subfolder per book, each holding .vcf files.
// Everything is read afresh on each call, so tests may change the folders between calls.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "PropertyBag.h"
#include "VCard.h"

namespace mapiprovider {

struct CBook {
    std::wstring folder;       // subfolder name, the book's identity
    std::wstring path;         // full path of the subfolder
    bool hasName = true;       // false: the container has no display name
    std::wstring displayName;
    ULONG containerFlags = 0;
    bool restrictable = true;  // false: Restrict answers MAPI_E_TOO_COMPLEX
    bool mobileInTable = true; // false: the contents table leaves the mobile number out
    bool personal = false;     // the personal address book

    // The container's properties (entry identifier, name, flags, object and display type).
    CPropertyBag Properties() const;
};

struct CEntry {
    std::wstring file;
    ULONG index = 0;
    ULONG objectType = 0;      // MAPI_MAILUSER or MAPI_DISTLIST
    CPropertyBag properties;   // everything the entry object serves

    std::wstring DisplayName() const;
    // What a contents-table row of the book shows of this entry.
    CPropertyBag TableRow(const CBook& book) const;
};

// A card's MAPI properties: names, telephone numbers, postal address, e-mail address and the
// object and display types. KIND:group makes a distribution list.
CPropertyBag ContactProperties(const CVCard& card, ULONG* objectType);

class CStore {
public:
    explicit CStore(std::wstring root);

    const std::wstring& Root() const { return m_root; }
    bool Exists() const;

    // The books of the root hierarchy (every subfolder but the personal address book), in
    // folder-name order.
    std::vector<CBook> HierarchyBooks() const;
    // The personal address book named by <root>\profile.ini; false when there is none.
    bool PersonalBook(CBook* book) const;
    bool FindBook(const std::wstring& folder, CBook* book) const;

    // The cards of a book, files in name order and cards in file order.
    std::vector<CEntry> Entries(const CBook& book) const;
    // One card of a book by the book's folder name, its file and its place in the file.
    bool FindEntry(const std::wstring& folder, const std::wstring& file, ULONG index, CEntry* entry) const;

private:
    // The cards of a file, parsed again only when the file changed since the last call.
    const std::vector<CVCard>& Cards(const std::wstring& path) const;
    std::wstring PersonalFolder() const;
    CBook LoadBook(const std::wstring& folder) const;

    struct CParsedFile {
        FILETIME written;
        ULONGLONG size;
        std::vector<CVCard> cards;
    };

    std::wstring m_root;
    mutable std::map<std::wstring, CParsedFile> m_files;  // by path; the store serves one thread
};

}  // namespace mapiprovider
