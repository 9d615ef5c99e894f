// The platform's modal address dialog with one destination well: caption text 202, well title
// text 201, select-only and resolving.
#pragma once

#include <mapix.h>

#include "MapiHandles.h"

class CAddressDialog {
public:
    enum Result { Chosen = 0, Cancelled = 1 };

    explicit CAddressDialog(IAddrBook* addressBook) : m_addressBook(addressBook) {}

    // ShowDialog: Chosen (the recipients are in the list) or Cancelled; another failure of the
    // dialog is logged and raised with text 5102.
    Result Show(ULONG hwnd, CAdrList& recipients) const;

    // The window handle of an automation argument (32 bits) as the platform's pointer-sized
    // parameter: sign-extended, as window handles are.
    static ULONG_PTR WindowParam(ULONG hwnd);

private:
    IAddrBook* m_addressBook;
};
