#include "BookMap.h"

#include <oleauto.h>

CContainerEntry::CContainerEntry(ULONG kind, ULONG cbEntryID, const ENTRYID* entryID)
    : m_kind(kind),
      m_bytes(reinterpret_cast<const BYTE*>(entryID), reinterpret_cast<const BYTE*>(entryID) + (entryID ? cbEntryID : 0)) {}

bool CBookMap::NameLess::operator()(const CComBSTR& a, const CComBSTR& b) const {
    return ::VarBstrCmp(a, b, LOCALE_USER_DEFAULT, 0) == VARCMP_LT;
}

void CBookMap::Put(const CComBSTR& name, const CContainerEntry& entry) {
    auto found = m_books.find(name);
    if (found != m_books.end())
        found->second = entry;
    else
        m_books.emplace(name, entry);
}

const CContainerEntry* CBookMap::Find(BSTR name) const {
    auto found = m_books.find(CComBSTR(name, ::SysStringLen(name)));
    return found == m_books.end() ? nullptr : &found->second;
}
