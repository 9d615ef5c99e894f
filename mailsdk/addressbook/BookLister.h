// Lists the address books that hold recipients: the personal address book first, then the
// root hierarchy's containers that hold recipients and neither hold subcontainers nor are
// searched only on open. Each name also goes into the book map with its entry identifier.
#pragma once

#include <mapix.h>

#include <vector>

#include "BookMap.h"

class CBookLister {
public:
    CBookLister(IAddrBook* addressBook, IABContainer* root) : m_addressBook(addressBook), m_root(root) {}

    // Empties the map, then fills it; the names in the order found. MAPI failures are raised
    // (text 5101), except that a personal address book whose name cannot be read is left out
    // (its failure logged).
    std::vector<CComBSTR> List(CBookMap& books) const;

    // The names as a VARIANT of type VT_ARRAY | VT_VARIANT, lower bound 0, one VT_BSTR each.
    static HRESULT ToVariant(const std::vector<CComBSTR>& names, VARIANT* result);

private:
    // getAddressBookName: the display name of a container; false (logged) on any result but S_OK.
    bool ContainerName(const CContainerEntry& entry, CComBSTR& name) const;
    // Any result but S_OK (warnings included) is a failure.
    HRESULT ReadContainerName(const CContainerEntry& entry, CComBSTR& name) const;
    void ListPersonalBook(CBookMap& books, std::vector<CComBSTR>& names) const;
    void ListHierarchy(CBookMap& books, std::vector<CComBSTR>& names) const;

    IAddrBook* m_addressBook;
    IABContainer* m_root;
};
