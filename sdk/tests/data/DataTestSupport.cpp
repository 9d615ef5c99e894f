#include <windows.h>

#include "DataTestSupport.h"

namespace datatest {

HRESULT NewContact(const wchar_t* id, IContact** contact) {
    HRESULT hr = Create(CLSID_Contact, IID_IContact, contact);
    if (FAILED(hr)) return hr;
    Text value(id);
    return (*contact)->put_ID(value);
}

}  // namespace datatest
