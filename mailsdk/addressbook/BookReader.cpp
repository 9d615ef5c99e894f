#include "BookReader.h"

#include <mapitags.h>

#include "MailErrors.h"
#include "MapiHandles.h"

namespace {

SizedSPropTagArray(4, kContentsColumns) = {4, {PR_ENTRYID, PR_GIVEN_NAME_A, PR_SURNAME_A, PR_MOBILE_TELEPHONE_NUMBER_A}};
SizedSPropTagArray(1, kMobileTag) = {1, {PR_MOBILE_TELEPHONE_NUMBER_A}};

std::string NonEmptyText(const SPropValue& value, ULONG tag) {
    return value.ulPropTag == tag && value.Value.lpszA ? std::string(value.Value.lpszA) : std::string();
}

// Raises a failed MAPI call; the caller turns every failure into its warning.
void Check(HRESULT hr) {
    if (FAILED(hr)) ThrowHResult(hr);
}

}  // namespace

CBookReader::CBookReader(IAddrBook* addressBook, const CContactFactory& factory)
    : m_addressBook(addressBook), m_factory(factory), m_mobileExists() {
    m_mobileExists.rt = RES_EXIST;
    m_mobileExists.res.resExist.ulReserved1 = 0;
    m_mobileExists.res.resExist.ulPropTag = PR_MOBILE_TELEPHONE_NUMBER_A;
    m_mobileExists.res.resExist.ulReserved2 = 0;
}

void CBookReader::Read(const CContainerEntry& book, IObjectCollection* collection) const {
    ULONG objectType = 0;
    CMapiRef<IABContainer> container;
    Check(m_addressBook->OpenEntry(book.Size(), book.Id(), nullptr, 0, &objectType, container.OutUnknown()));
    CMapiRef<IMAPITable> table;
    Check(container->GetContentsTable(0, table.Out()));
    Check(table->SetColumns(reinterpret_cast<LPSPropTagArray>(&kContentsColumns), 0));
    const HRESULT restricted = table->Restrict(const_cast<SRestriction*>(&m_mobileExists), 0);
    if (restricted != MAPI_E_TOO_COMPLEX) Check(restricted);  // too complex: read every row
    Check(table->SeekRow(BOOKMARK_BEGINNING, 0, nullptr));

    std::set<std::string> numbersTaken;
    for (ULONG read = 0; read < kMaxRows; ++read) {
        CRowSet rows;
        Check(table->QueryRows(1, 0, rows.Out()));
        if (rows.Count() == 0) break;
        const SRow& row = rows.Row(0);
        const std::string mobile = MobileNumber(container.Get(), row);
        if (mobile.empty() || !numbersTaken.insert(mobile).second) continue;
        AddContact(row, mobile, collection);
    }
}

std::string CBookReader::MobileNumber(IABContainer* container, const SRow& row) const {
    if (row.cValues < 4) return std::string();
    const std::string column = NonEmptyText(row.lpProps[3], PR_MOBILE_TELEPHONE_NUMBER_A);
    if (!column.empty()) return column;
    return row.lpProps[0].ulPropTag == PR_ENTRYID ? MobileOfEntry(container, row.lpProps[0]) : std::string();
}

std::string CBookReader::MobileOfEntry(IABContainer* container, const SPropValue& entryID) const {
    ULONG objectType = 0;
    CMapiRef<IMAPIProp> entry;
    if (FAILED(container->OpenEntry(entryID.Value.bin.cb, reinterpret_cast<LPENTRYID>(entryID.Value.bin.lpb), nullptr, 0,
                                    &objectType, entry.OutUnknown())) ||
        objectType != MAPI_MAILUSER)
        return std::string();
    ULONG count = 0;
    CMapiBuffer<SPropValue> values;
    if (FAILED(entry->GetProps(reinterpret_cast<LPSPropTagArray>(&kMobileTag), 0, &count, values.Out())) || count < 1)
        return std::string();
    return NonEmptyText(values.Get()[0], PR_MOBILE_TELEPHONE_NUMBER_A);
}

void CBookReader::AddContact(const SRow& row, const std::string& mobile, IObjectCollection* collection) const {
    CComPtr<IContact> contact = m_factory.NewContact();
    SetContactText(contact, &IContact::put_MobileNumber, mobile.c_str());
    if (row.lpProps[1].ulPropTag == PR_GIVEN_NAME_A) SetContactText(contact, &IContact::put_FirstName, row.lpProps[1].Value.lpszA);
    if (row.lpProps[2].ulPropTag == PR_SURNAME_A) SetContactText(contact, &IContact::put_LastName, row.lpProps[2].Value.lpszA);
    CComPtr<IDispatch> item;
    if (SUCCEEDED(contact.QueryInterface(&item))) collection->Add(item);
}
