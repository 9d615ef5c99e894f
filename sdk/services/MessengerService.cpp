#include "MessengerService.h"

STDMETHODIMP CMessengerService::GetCurrentVersion(BSTR *pVersion) {
    return E_NOTIMPL;
}
