#include "Containers.h"

#include <atlbase.h>
#include <mapicode.h>
#include <mapiguid.h>
#include <mapitags.h>

#include "EntryId.h"
#include "Table.h"

namespace mapiprovider {

namespace {

const std::vector<ULONG> kHierarchyColumns = {PR_ENTRYID,     PR_DISPLAY_NAME_A, PR_CONTAINER_FLAGS, PR_DEPTH,
                                              PR_OBJECT_TYPE, PR_DISPLAY_TYPE,   PR_INSTANCE_KEY};
const std::vector<ULONG> kContentsColumns = {PR_ENTRYID, PR_DISPLAY_NAME_A, PR_OBJECT_TYPE, PR_DISPLAY_TYPE, PR_INSTANCE_KEY};

// Hands a new object to the caller: as it is, or as the interface asked for.
HRESULT Hand(IUnknown* made, LPCIID lpInterface, LPUNKNOWN* unknown) {
    CComPtr<IUnknown> object;
    object.Attach(made);  // the creator's reference
    if (!lpInterface) {
        *unknown = object.Detach();
        return S_OK;
    }
    return object->QueryInterface(*lpInterface, reinterpret_cast<void**>(unknown));
}

// A table the container does not serve.
HRESULT NoTable(LPMAPITABLE* table) {
    if (table) *table = nullptr;
    return MAPI_E_NO_SUPPORT;
}

HRESULT EmptyTable(const std::wstring& name, const std::vector<ULONG>& columns, LPMAPITABLE* table) {
    if (!table) return MAPI_E_INVALID_PARAMETER;
    *table = new CMapiTable(name, {}, columns, true);
    return S_OK;
}

CPropertyBag RootProperties() {
    CPropertyBag bag;
    bag.Set(CPropValue::Long(PROP_ID(PR_OBJECT_TYPE), MAPI_ABCONT));
    bag.Set(CPropValue::Long(PROP_ID(PR_DISPLAY_TYPE), DT_NOT_SPECIFIC));
    bag.Set(CPropValue::Long(PROP_ID(PR_CONTAINER_FLAGS), AB_SUBCONTAINERS | AB_UNMODIFIABLE));
    return bag;
}

}  // namespace

HRESULT CEntryOpener::Open(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG* objectType,
                           LPUNKNOWN* unknown) const {
    if (!objectType || !unknown) return MAPI_E_INVALID_PARAMETER;
    *objectType = 0;
    *unknown = nullptr;
    CEntryId id;
    if (!CEntryId::Decode(cbEntryID, lpEntryID, &id)) return MAPI_E_UNKNOWN_ENTRYID;

    if (id.kind == EntryKind::Root) {
        HRESULT hr = InjectedFailure(L"OpenRoot");
        if (FAILED(hr)) return hr;
        *objectType = MAPI_ABCONT;
        return Hand(new CRootContainer(*this), lpInterface, unknown);
    }
    if (id.kind == EntryKind::Book) {
        CBook book;
        if (!m_store->FindBook(id.book, &book)) return MAPI_E_NOT_FOUND;
        HRESULT hr = InjectedFailure(L"OpenEntry", book.hasName ? book.displayName : std::wstring());
        if (FAILED(hr)) return hr;
        *objectType = MAPI_ABCONT;
        return Hand(new CBookContainer(*this, book), lpInterface, unknown);
    }
    CEntry entry;
    if (!m_store->FindEntry(id.book, id.file, id.index, &entry)) return MAPI_E_NOT_FOUND;
    HRESULT hr = InjectedFailure(L"OpenEntry", entry.DisplayName());
    if (FAILED(hr)) return hr;
    *objectType = entry.objectType;
    if (entry.objectType == MAPI_DISTLIST) return Hand(new CDistListEntry(*this, entry.properties), lpInterface, unknown);
    return Hand(new CMailUserEntry(entry.properties), lpInterface, unknown);
}

CRootContainer::CRootContainer(const CEntryOpener& opener)
    : CEntryContainer<IABContainer>({&IID_IABContainer, &IID_IMAPIContainer, &IID_IMAPIProp}, RootProperties(), opener) {}

STDMETHODIMP CRootContainer::GetContentsTable(ULONG, LPMAPITABLE* table) {
    return NoTable(table);
}

STDMETHODIMP CRootContainer::GetHierarchyTable(ULONG, LPMAPITABLE* table) {
    if (!table) return MAPI_E_INVALID_PARAMETER;
    *table = nullptr;
    HRESULT hr = InjectedFailure(L"GetHierarchyTable");
    if (FAILED(hr)) return hr;
    std::vector<CTableRow> rows;
    for (const CBook& book : Store().HierarchyBooks()) {
        CPropertyBag properties = book.Properties();
        rows.push_back({properties, properties});
    }
    *table = new CMapiTable(L"", std::move(rows), kHierarchyColumns, true);
    return S_OK;
}

CBookContainer::CBookContainer(const CEntryOpener& opener, CBook book)
    : CEntryContainer<IABContainer>({&IID_IABContainer, &IID_IMAPIContainer, &IID_IMAPIProp}, book.Properties(), opener),
      m_book(std::move(book)) {}

STDMETHODIMP CBookContainer::GetContentsTable(ULONG, LPMAPITABLE* table) {
    if (!table) return MAPI_E_INVALID_PARAMETER;
    *table = nullptr;
    const std::wstring name = m_book.hasName ? m_book.displayName : std::wstring();
    HRESULT hr = InjectedFailure(L"GetContentsTable", name);
    if (FAILED(hr)) return hr;
    std::vector<CTableRow> rows;
    for (const CEntry& entry : Store().Entries(m_book)) rows.push_back({entry.TableRow(m_book), entry.properties});
    *table = new CMapiTable(name, std::move(rows), kContentsColumns, m_book.restrictable);
    return S_OK;
}

STDMETHODIMP CBookContainer::GetHierarchyTable(ULONG, LPMAPITABLE* table) {
    return EmptyTable(m_book.displayName, kHierarchyColumns, table);
}

CMailUserEntry::CMailUserEntry(CPropertyBag properties)
    : CMapiProp<IMailUser>({&IID_IMailUser, &IID_IMAPIProp}, std::move(properties)) {}

CDistListEntry::CDistListEntry(const CEntryOpener& opener, CPropertyBag properties)
    : CEntryContainer<IDistList>({&IID_IDistList, &IID_IMAPIContainer, &IID_IMAPIProp}, std::move(properties), opener) {}

STDMETHODIMP CDistListEntry::GetContentsTable(ULONG, LPMAPITABLE* table) {
    return EmptyTable(Properties().Text(PROP_ID(PR_DISPLAY_NAME_W)), kContentsColumns, table);
}

STDMETHODIMP CDistListEntry::GetHierarchyTable(ULONG, LPMAPITABLE* table) {
    return NoTable(table);
}

}  // namespace mapiprovider
