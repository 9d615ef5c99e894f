// Creates the SDK's Contact and ObjectCollection objects through COM (all contexts) and fills a
// contact's text fields from MAPI text.
#pragma once

#include <atlbase.h>

#include "TarvockLib.h"

class CContactFactory {
public:
    // A new empty collection; a failure is raised with its HRESULT and text 5103.
    CComPtr<IObjectCollection> NewCollection() const;
    // A new contact of CONTACT_TYPE_CONTACT; a failure is raised as above.
    CComPtr<IContact> NewContact() const;
};

// The contact setter for a text field.
typedef HRESULT (STDMETHODCALLTYPE IContact::*ContactSetter)(BSTR);
// Sets a text field from ANSI (CP_ACP) or wide text.
void SetContactText(IContact* contact, ContactSetter setter, const char* ansiText);
void SetContactText(IContact* contact, ContactSetter setter, const wchar_t* wideText);
