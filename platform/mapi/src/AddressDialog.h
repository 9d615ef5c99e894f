// IAddrBook::Address: the modal dialog in which the user picks recipients from the books, or,
// when TARVOCK_MAPI_ADDRESS_SCRIPT is set, the picks that the script names.
#pragma once

#include <windows.h>
#include <mapix.h>

#include <string>
#include <vector>

#include "Store.h"

namespace mapiprovider {

struct CPick {
    CBook book;
    CEntry entry;
};

// The texts of an ADRPARM (ANSI unless its flags carry MAPI_UNICODE).
struct CDialogTexts {
    std::wstring caption;
    std::wstring destTitle;  // the title of the first destination well

    static CDialogTexts From(const ADRPARM& parms);
};

class CAddressDialog {
public:
    explicit CAddressDialog(const CStore& store) : m_store(store) {}

    // The books the dialog offers: the personal address book, then the hierarchy's books that
    // hold recipients.
    std::vector<CBook> Books() const;

    // The script's picks: MAPI_E_USER_CANCEL for "cancel", MAPI_E_NOT_FOUND when a pick names no
    // book or entry.
    HRESULT RunScript(const std::wstring& script, std::vector<CPick>* picks) const;
    // The interactive dialog: MAPI_E_USER_CANCEL when cancelled, MAPI_E_CALL_FAILED when it
    // cannot be shown.
    HRESULT RunInteractive(HWND parent, const CDialogTexts& texts, std::vector<CPick>* picks) const;

private:
    const CStore& m_store;
};

// The recipient list of the picks: one MAPIAllocateBuffer block for the list and one per entry,
// each entry with its display name, address type, e-mail address, object and display type,
// recipient type and, last, its entry identifier.
HRESULT MakeAdrList(const std::vector<CPick>& picks, ULONG flags, LPADRLIST* list);

}  // namespace mapiprovider
