// The objects an entry identifier opens: the root container (whose hierarchy lists the books),
// a book container (whose contents list its cards), and the entries, mail users or
// distribution lists.
#pragma once

#include <initializer_list>
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

// A container whose entries open through the opener it was made with.
template <class Itf>
class CEntryContainer : public CMapiContainer<Itf> {
public:
    CEntryContainer(std::initializer_list<const IID*> interfaces, CPropertyBag properties, const CEntryOpener& opener)
        : CMapiContainer<Itf>(interfaces, std::move(properties)), m_opener(opener) {}

    STDMETHOD(OpenEntry)(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG, ULONG* objectType,
                         LPUNKNOWN* unknown) override {
        return m_opener.Open(cbEntryID, lpEntryID, lpInterface, objectType, unknown);
    }

protected:
    const CStore& Store() const { return m_opener.Store(); }

private:
    CEntryOpener m_opener;
};

class CRootContainer final : public CEntryContainer<IABContainer> {
public:
    explicit CRootContainer(const CEntryOpener& opener);

    STDMETHOD(GetContentsTable)(ULONG flags, LPMAPITABLE* table) override;
    STDMETHOD(GetHierarchyTable)(ULONG flags, LPMAPITABLE* table) override;
};

class CBookContainer final : public CEntryContainer<IABContainer> {
public:
    CBookContainer(const CEntryOpener& opener, CBook book);

    STDMETHOD(GetContentsTable)(ULONG flags, LPMAPITABLE* table) override;
    STDMETHOD(GetHierarchyTable)(ULONG flags, LPMAPITABLE* table) override;

private:
    CBook m_book;
};

class CMailUserEntry final : public CMapiProp<IMailUser> {
public:
    explicit CMailUserEntry(CPropertyBag properties);
};

class CDistListEntry final : public CEntryContainer<IDistList> {
public:
    CDistListEntry(const CEntryOpener& opener, CPropertyBag properties);

    STDMETHOD(GetContentsTable)(ULONG flags, LPMAPITABLE* table) override;
    STDMETHOD(GetHierarchyTable)(ULONG flags, LPMAPITABLE* table) override;
};

}  // namespace mapiprovider
