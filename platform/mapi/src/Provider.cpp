// The provider's entry points: initialisation (counted, as the platform counts it) and logon
// to the address books under TARVOCK_MAPI_ROOT.
#include <windows.h>
#include <initguid.h>
#define USES_IID_IMAPISession
#define USES_IID_IMAPITable
#define USES_IID_IMAPIProp
#define USES_IID_IAddrBook
#define USES_IID_IMailUser
#define USES_IID_IMAPIContainer
#define USES_IID_IABContainer
#define USES_IID_IDistList
#include <mapiguid.h>
#include <mapix.h>

#include <memory>

#include "Diagnostics.h"
#include "Session.h"

namespace {

LONG g_initializations = 0;

}  // namespace

extern "C" HRESULT WINAPI MAPIInitialize(LPVOID) {
    HRESULT hr = mapiprovider::InjectedFailure(L"MAPIInitialize");
    if (FAILED(hr)) return hr;
    ++g_initializations;
    ++mapiprovider::Counters().initializeCalls;
    return S_OK;
}

extern "C" void WINAPI MAPIUninitialize(void) {
    if (g_initializations == 0) {
        ++mapiprovider::Counters().unbalancedUninitialize;
        return;
    }
    --g_initializations;
    ++mapiprovider::Counters().uninitializeCalls;
}

extern "C" HRESULT WINAPI MAPILogonEx(ULONG_PTR ulUIParam, LPTSTR, LPTSTR, ULONG ulFlags, LPMAPISESSION* lppSession) {
    if (!lppSession) return MAPI_E_INVALID_PARAMETER;
    *lppSession = nullptr;
    TarvockMapiCounters& counters = mapiprovider::Counters();
    counters.lastLogonUIParam = ulUIParam;
    counters.lastLogonFlags = ulFlags;
    if (g_initializations == 0) return MAPI_E_NOT_INITIALIZED;
    HRESULT hr = mapiprovider::InjectedFailure(L"MAPILogonEx");
    if (FAILED(hr)) return hr;
    auto store = std::make_shared<const mapiprovider::CStore>(mapiprovider::EnvironmentValue(TARVOCK_MAPI_ROOT_VARIABLE));
    if (!store->Exists()) return MAPI_E_LOGON_FAILED;
    *lppSession = new mapiprovider::CSession(store);
    ++counters.logons;
    return S_OK;
}
