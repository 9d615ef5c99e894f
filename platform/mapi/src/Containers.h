// The objects an entry identifier opens: the root container (whose hierarchy lists the books),
// a book container (whose contents list its cards), and the entries, mail users or
// distribution lists.
#pragma once

#include <memory>

#include "MapiObject.h"
#include "Store.h"

namespace mapiprovider {

// Opens any of the provider's entry identifiers; shared by the address book and the containers.
class CEntryOpener {
public:
    explicit CEntryOpener(std::shared_ptr<const CStore> store) : m_store(std::move(store)) {}

    HRESULT Open(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG* objectType, LPUNKNOWN* unknown) const;
    const CStore& Store() const { return *m_store; }

private:
    std::shared_ptr<const CStore> m_store;
};

class CRootContainer final : public CMapiContainer<IABContainer> {
public:
    explicit CRootContainer(const CEntryOpener& opener);

    STDMETHOD(GetContentsTable)(ULONG flags, LPMAPITABLE* table) override;
    STDMETHOD(GetHierarchyTable)(ULONG flags, LPMAPITABLE* table) override;
    STDMETHOD(OpenEntry)(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG flags, ULONG* objectType,
                         LPUNKNOWN* unknown) override;

private:
    CEntryOpener m_opener;
};

class CBookContainer final : public CMapiContainer<IABContainer> {
public:
    CBookContainer(const CEntryOpener& opener, CBook book);

    STDMETHOD(GetContentsTable)(ULONG flags, LPMAPITABLE* table) override;
    STDMETHOD(GetHierarchyTable)(ULONG flags, LPMAPITABLE* table) override;
    STDMETHOD(OpenEntry)(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG flags, ULONG* objectType,
                         LPUNKNOWN* unknown) override;

private:
    CEntryOpener m_opener;
    CBook m_book;
};

class CMailUserEntry final : public CMapiProp<IMailUser> {
public:
    explicit CMailUserEntry(CPropertyBag properties);
};

class CDistListEntry final : public CMapiContainer<IDistList> {
public:
    CDistListEntry(const CEntryOpener& opener, CPropertyBag properties);

    STDMETHOD(GetContentsTable)(ULONG flags, LPMAPITABLE* table) override;
    STDMETHOD(GetHierarchyTable)(ULONG flags, LPMAPITABLE* table) override;
    STDMETHOD(OpenEntry)(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG flags, ULONG* objectType,
                         LPUNKNOWN* unknown) override;

private:
    CEntryOpener m_opener;
};

}  // namespace mapiprovider
