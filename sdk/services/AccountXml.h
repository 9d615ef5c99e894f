// The account's details read from a response.
#pragma once

#include <windows.h>
#include <msxml2.h>

#include <atlbase.h>

#include "TarvockLib.h"

// ACCOUNT_FEATURES flags of a text of blank-separated words: "Inbox" adds
// ACCOUNT_FEATURE_INBOX, "ServiceAliasing" ACCOUNT_FEATURE_SERVICE_ALIASING; other words are
// ignored; a null or empty text gives 0.
long AccountFeaturesFromText(const wchar_t* text);

// A new AccountState from the children of element ("ID", "Reference", "Address",
// "ServiceAlias", "MessageLimit", "Features"); others are ignored.
CComPtr<IAccountState> AccountStateFromXml(IXMLDOMNode* element);
