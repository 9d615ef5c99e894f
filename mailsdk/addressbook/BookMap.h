// The address books found by the last listing: display name to the book's entry identifier,
// ordered by VarBstrCmp (user locale, flags 0, so case-sensitive). A name met twice keeps the
// later book.
#pragma once

#include <windows.h>
#include <mapidefs.h>

#include <atlbase.h>

#include <map>
#include <vector>

class CContainerEntry {
public:
    enum Kind : ULONG { PersonalAddressBook = 1, HierarchyContainer = 2 };

    // Keeps a copy of the identifier's bytes.
    CContainerEntry(ULONG kind, ULONG cbEntryID, const ENTRYID* entryID);

    ULONG GetKind() const { return m_kind; }
    ULONG Size() const { return static_cast<ULONG>(m_bytes.size()); }
    // For MAPI calls, which take a non-const pointer and do not change it.
    LPENTRYID Id() const { return reinterpret_cast<LPENTRYID>(const_cast<BYTE*>(m_bytes.data())); }

private:
    ULONG m_kind;
    std::vector<BYTE> m_bytes;
};

class CBookMap {
public:
    void Clear() { m_books.clear(); }
    bool Empty() const { return m_books.empty(); }
    size_t Size() const { return m_books.size(); }
    void Put(const CComBSTR& name, const CContainerEntry& entry);
    // The book of exactly this name; null when there is none.
    const CContainerEntry* Find(BSTR name) const;

private:
    struct NameLess {
        bool operator()(const CComBSTR& a, const CComBSTR& b) const;
    };
    std::map<CComBSTR, CContainerEntry, NameLess> m_books;
};
