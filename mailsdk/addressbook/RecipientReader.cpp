#include "RecipientReader.h"

#include <mapitags.h>

#include <string>

#include "MailErrors.h"
#include "MapiHandles.h"
#include "MethodLog.h"

namespace {

struct FieldMapping {
    ULONG propertyId;
    ContactSetter setter;
};

// Property identifier to contact field; the street address is split separately.
const FieldMapping kFields[] = {
    {0x3A4F, &IContact::put_QuickName},        // PR_NICKNAME
    {0x3A06, &IContact::put_FirstName},        // PR_GIVEN_NAME
    {0x3A11, &IContact::put_LastName},         // PR_SURNAME
    {0x3A1A, &IContact::put_TelephoneNumber},  // PR_PRIMARY_TELEPHONE_NUMBER
    {0x3A1C, &IContact::put_MobileNumber},     // PR_MOBILE_TELEPHONE_NUMBER
    {0x3A27, &IContact::put_Town},             // PR_LOCALITY
    {0x3A28, &IContact::put_County},           // PR_STATE_OR_PROVINCE
    {0x3A2A, &IContact::put_Postcode},         // PR_POSTAL_CODE
    {0x3A26, &IContact::put_Country},          // PR_COUNTRY
    {0x3003, &IContact::put_EmailAddress},     // PR_EMAIL_ADDRESS
};
const ULONG kStreetAddress = 0x3A29;  // PR_STREET_ADDRESS

// The street address in the ANSI code page, split at line feeds: the first line (a carriage
// return before its line feed stays) and the second; further lines are dropped.
void ApplyStreetAddress(IContact* contact, const std::string& street) {
    const size_t first = street.find('\n');
    SetContactText(contact, &IContact::put_StreetAddress1, street.substr(0, first).c_str());
    if (first == std::string::npos) return;
    const size_t second = street.find('\n', first + 1);
    SetContactText(contact, &IContact::put_StreetAddress2,
                   street.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1).c_str());
}

const SPropValue* FindEntryID(const ADRENTRY& recipient) {
    for (ULONG i = 0; i < recipient.cValues; ++i) {
        if (recipient.rgPropVals[i].ulPropTag == PR_ENTRYID) return &recipient.rgPropVals[i];
    }
    return nullptr;
}

}  // namespace

CComPtr<IObjectCollection> CRecipientReader::Read(const ADRLIST& recipients) const {
    CMethodLog log("getContacts");
    CComPtr<IObjectCollection> collection = m_factory.NewCollection();
    for (ULONG i = 0; i < recipients.cEntries; ++i) {
        CComPtr<IContact> contact = MakeContact(recipients.aEntries[i]);
        CComPtr<IDispatch> item;
        if (contact && SUCCEEDED(contact.QueryInterface(&item))) collection->Add(item);
    }
    log.Exit();
    return collection;
}

CComPtr<IContact> CRecipientReader::MakeContact(const ADRENTRY& recipient) const {
    CMethodLog log("makeContact");
    CComPtr<IContact> contact = m_factory.NewContact();
    const HRESULT hr = FillContact(recipient, contact);
    if (hr != S_OK) {
        log.Failure(hr);
        return nullptr;
    }
    log.Exit();
    return contact;
}

HRESULT CRecipientReader::FillContact(const ADRENTRY& recipient, IContact* contact) const {
    const SPropValue* entryID = FindEntryID(recipient);
    if (!entryID) return MAPI_E_NOT_FOUND;
    ULONG objectType = 0;
    CMapiRef<IMAPIProp> entry;
    HRESULT hr = m_addressBook->OpenEntry(entryID->Value.bin.cb, reinterpret_cast<LPENTRYID>(entryID->Value.bin.lpb),
                                          nullptr, MAPI_BEST_ACCESS, &objectType, entry.OutUnknown());
    if (hr != S_OK) return hr;
    ULONG count = 0;
    CMapiBuffer<SPropValue> values;
    hr = entry->GetProps(nullptr, 0, &count, values.Out());
    if (hr != S_OK) return hr;
    for (ULONG i = 0; i < count; ++i) ApplyProperty(contact, values.Get()[i]);
    return S_OK;
}

void CRecipientReader::ApplyProperty(IContact* contact, const SPropValue& value) {
    const ULONG type = PROP_TYPE(value.ulPropTag);
    if (type != PT_STRING8 && type != PT_UNICODE) return;
    const ULONG id = PROP_ID(value.ulPropTag);
    if (id == kStreetAddress) {
        ApplyStreetAddress(contact, type == PT_STRING8 ? std::string(value.Value.lpszA ? value.Value.lpszA : "")
                                                       : AnsiFromWide(value.Value.lpszW));
        return;
    }
    for (const FieldMapping& field : kFields) {
        if (field.propertyId != id) continue;
        if (type == PT_STRING8)
            SetContactText(contact, field.setter, value.Value.lpszA);
        else
            SetContactText(contact, field.setter, value.Value.lpszW);
        return;
    }
}
