// Texts and message boxes of the add-in. The boxes have no owner: the add-in does not know the
// mail client's windows.
#pragma once

#include <windows.h>
#include <comdef.h>

#include <string>

// A text of the resource source (the satellite library, else the module); empty when missing.
std::wstring LoadPluginText(UINT id);
// The text in the ANSI code page.
std::string ToAnsi(const std::wstring& text);

// Shows the error box for a failed COM call: the error's description, else the general error
// text. Returns the error's HRESULT.
HRESULT ReportAddinComError(const _com_error& error);
// The desktop program did not carry out the command (the user did not sign in).
void ShowCommandFailed();
