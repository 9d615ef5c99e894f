// The argument rules the service methods share.
#pragma once

#include <windows.h>
#include <oaidl.h>

class CSOAPService;

// Required: not null and not empty, else 5004 naming the argument (E_INVALIDARG).
void RequireText(BSTR value, const char* name);

// Present: not null (an empty text passes), else 5004 naming the argument. A present text is
// logged at debug level under category as "name=text".
void RequirePresent(const char* category, BSTR value, const char* name);

// A message index of GetLatestMessages: a reference is followed first; empty or omitted gives
// -1, VT_I2 is sign-extended, VT_I4 and VT_INT are taken as they are; any other type raises
// E_INVALIDARG without a description.
long MessageIndexFromVariant(const VARIANT& value);

// Initialise of every service with an account: logs the entry only and leaves the rest, its own
// logging included, to the transport, with IsServerSide taken out of a reference first.
HRESULT ForwardInitialise(const char* category, const char* className, CSOAPService& soap, BSTR Username,
                          BSTR Password, BSTR Account, const VARIANT& IsServerSide);
