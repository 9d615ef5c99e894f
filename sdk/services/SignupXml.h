// The details of a new evaluation account read from a response.
#pragma once

#include <windows.h>
#include <msxml2.h>

#include <atlbase.h>

#include "TarvockLib.h"

// A new SignupCompletionElements from the children of element ("Username", "AccountReference",
// "WelcomeMessage"); others are ignored.
CComPtr<ISignupCompletionElements> SignupCompletionFromXml(IXMLDOMNode* element);
