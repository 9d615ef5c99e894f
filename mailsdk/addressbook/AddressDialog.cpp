#include "AddressDialog.h"

#include <string>

#include "MailErrors.h"
#include "MethodLog.h"
#include "resource.h"

namespace {

// DIALOG_MODAL | AB_SELECTONLY | AB_RESOLVE
const ULONG kDialogFlags = 0x31;

}  // namespace

ULONG_PTR CAddressDialog::WindowParam(ULONG hwnd) {
    return static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(hwnd)));
}

CAddressDialog::Result CAddressDialog::Show(ULONG hwnd, CAdrList& recipients) const {
    CMethodLog log("ShowDialog");
    // Both texts stay alive until Address returns; MAPI reads them as ANSI (no MAPI_UNICODE).
    std::string caption = LoadMailStringA(IDS_DIALOG_CAPTION);
    std::string wellTitle = LoadMailStringA(IDS_RECIPIENTS_WELL);
    char helpFile[] = "";
    LPSTR destTitles[] = {&wellTitle[0]};

    ADRPARM parms = {};
    parms.cbABContEntryID = 0;
    parms.lpABContEntryID = nullptr;
    parms.ulFlags = kDialogFlags;
    parms.ulHelpContext = 0;
    parms.lpszHelpFileName = reinterpret_cast<LPTSTR>(helpFile);
    parms.lpszCaption = reinterpret_cast<LPTSTR>(&caption[0]);
    parms.lpszNewEntryTitle = nullptr;
    parms.lpszDestWellsTitle = nullptr;
    parms.cDestFields = 1;
    parms.nDestFieldFocus = 0;
    parms.lppszDestTitles = reinterpret_cast<LPTSTR*>(destTitles);
    parms.lpulDestComps = nullptr;
    parms.lpContRestriction = nullptr;
    parms.lpHierRestriction = nullptr;

    ULONG_PTR parent = WindowParam(hwnd);
    const HRESULT hr = m_addressBook->Address(&parent, &parms, recipients.Out());
    if (hr == MAPI_E_USER_CANCEL) {
        log.Exit();
        return Cancelled;
    }
    if (FAILED(hr)) {
        log.Failure(hr);
        ThrowCallFailure(hr, IDS_RECIPIENTS_NOT_READ);
    }
    log.Exit();
    return Chosen;
}
