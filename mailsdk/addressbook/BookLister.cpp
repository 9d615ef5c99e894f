#include "BookLister.h"

#include <mapitags.h>

#include "MailErrors.h"
#include "MapiHandles.h"
#include "MethodLog.h"
#include "resource.h"

namespace {

SizedSPropTagArray(3, kBookListColumns) = {3, {PR_ENTRYID, PR_DISPLAY_NAME_A, PR_CONTAINER_FLAGS}};

LPSPropTagArray BookListColumns() {
    return reinterpret_cast<LPSPropTagArray>(&kBookListColumns);
}

// A container the list offers: it holds recipients, and neither holds subcontainers nor is
// searched only on open.
bool HoldsRecipients(const SPropValue& flags) {
    if (flags.ulPropTag != PR_CONTAINER_FLAGS) return false;
    const ULONG value = static_cast<ULONG>(flags.Value.l);
    return (value & AB_RECIPIENTS) && !(value & AB_SUBCONTAINERS) && !(value & AB_FIND_ON_OPEN);
}

}  // namespace

std::vector<CComBSTR> CBookLister::List(CBookMap& books) const {
    books.Clear();
    std::vector<CComBSTR> names;
    ListPersonalBook(books, names);
    ListHierarchy(books, names);
    return names;
}

void CBookLister::ListPersonalBook(CBookMap& books, std::vector<CComBSTR>& names) const {
    ULONG cbEntryID = 0;
    CMapiBuffer<ENTRYID> entryID;
    CheckCall(m_addressBook->GetPAB(&cbEntryID, entryID.Out()), IDS_BOOKS_NOT_LISTED);
    // An empty identifier: there is no personal address book (it would name the root).
    if (cbEntryID == 0 || !entryID.Get()) return;
    const CContainerEntry entry(CContainerEntry::PersonalAddressBook, cbEntryID, entryID.Get());
    CComBSTR name;
    if (!ContainerName(entry, name)) return;
    books.Put(name, entry);
    names.push_back(name);
}

bool CBookLister::ContainerName(const CContainerEntry& entry, CComBSTR& name) const {
    CMethodLog log("getAddressBookName");
    const HRESULT hr = ReadContainerName(entry, name);
    if (hr != S_OK) {
        log.Failure(hr);
        return false;
    }
    log.Exit();
    return true;
}

HRESULT CBookLister::ReadContainerName(const CContainerEntry& entry, CComBSTR& name) const {
    ULONG objectType = 0;
    CMapiRef<IMAPIProp> container;
    HRESULT hr = m_addressBook->OpenEntry(entry.Size(), entry.Id(), nullptr, 0, &objectType, container.OutUnknown());
    if (hr != S_OK) return hr;
    ULONG count = 0;
    CMapiBuffer<SPropValue> values;
    hr = container->GetProps(BookListColumns(), 0, &count, values.Out());
    if (hr != S_OK) return hr;
    if (count < 2 || values.Get()[1].ulPropTag != PR_DISPLAY_NAME_A) return MAPI_E_NOT_FOUND;
    name = WideFromAnsi(values.Get()[1].Value.lpszA).c_str();
    return S_OK;
}

void CBookLister::ListHierarchy(CBookMap& books, std::vector<CComBSTR>& names) const {
    CMapiRef<IMAPITable> table;
    CheckCall(m_root->GetHierarchyTable(0, table.Out()), IDS_BOOKS_NOT_LISTED);
    CheckCall(table->SetColumns(BookListColumns(), 0), IDS_BOOKS_NOT_LISTED);
    CheckCall(table->SeekRow(BOOKMARK_BEGINNING, 0, nullptr), IDS_BOOKS_NOT_LISTED);
    while (true) {
        CRowSet rows;
        CheckCall(table->QueryRows(1, 0, rows.Out()), IDS_BOOKS_NOT_LISTED);
        if (rows.Count() == 0) break;
        const SRow& row = rows.Row(0);
        if (row.cValues < 3) continue;
        const SPropValue& entryID = row.lpProps[0];
        const SPropValue& name = row.lpProps[1];
        // A container without a display name (an error value in the column) is left out.
        if (entryID.ulPropTag != PR_ENTRYID || name.ulPropTag != PR_DISPLAY_NAME_A || !HoldsRecipients(row.lpProps[2])) continue;
        const CComBSTR bookName(WideFromAnsi(name.Value.lpszA).c_str());
        books.Put(bookName, CContainerEntry(CContainerEntry::HierarchyContainer, entryID.Value.bin.cb,
                                            reinterpret_cast<const ENTRYID*>(entryID.Value.bin.lpb)));
        names.push_back(bookName);
    }
}

HRESULT CBookLister::ToVariant(const std::vector<CComBSTR>& names, VARIANT* result) {
    SAFEARRAYBOUND bound = {static_cast<ULONG>(names.size()), 0};
    SAFEARRAY* array = ::SafeArrayCreate(VT_VARIANT, 1, &bound);
    if (!array) return E_OUTOFMEMORY;
    for (LONG i = 0; i < static_cast<LONG>(names.size()); ++i) {
        VARIANT item;
        ::VariantInit(&item);
        item.vt = VT_BSTR;
        item.bstrVal = names[i].m_str;
        HRESULT hr = ::SafeArrayPutElement(array, &i, &item);  // copies the string
        if (FAILED(hr)) {
            ::SafeArrayDestroy(array);
            return hr;
        }
    }
    ::VariantInit(result);
    result->vt = VT_ARRAY | VT_VARIANT;
    result->parray = array;
    return S_OK;
}
