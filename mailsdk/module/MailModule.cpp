// Entry and exit of the address-book server and its four server exports.
#include "MailModule.h"

#include <atlcom.h>
#include <log4cpp/Category.hh>

#include <memory>

#include "AddressBook.h"
#include "ModuleLogging.h"
#include "ResourceDll.h"
#include "UserMessage.h"

CComModule _Module;

namespace {

BEGIN_OBJECT_MAP(ObjectMap)
OBJECT_ENTRY(CLSID_AddressBook, CAddressBook)
END_OBJECT_MAP()

// The registry script of the server's AppID; the class's own script is 102.
const UINT kAppIdScript = 101;

std::unique_ptr<CResourceDll> g_resources;

BOOL Attach(HINSTANCE instance) {
    if (FAILED(_Module.Init(ObjectMap, instance, &LIBID_TarvockMailSDKLib))) return FALSE;
    ConfigureModuleLogging();
    const auto makeResourceSource = [](HINSTANCE library) { _Module.SetResourceInstance(library); };
    if (!LoadModuleSatellite(g_resources, "TarvockMailSDK", instance, ::GetCommandLineA(), makeResourceSource))
        ShowMessageBox("TarvockMailSDK: No Resource DLL", "Error", MB_ICONERROR);
    return TRUE;
}

void Detach() {
    log4cpp::Category::shutdown();
    g_resources.reset();
    _Module.Term();
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        ::DisableThreadLibraryCalls(instance);
        return Attach(instance);
    }
    if (reason == DLL_PROCESS_DETACH) Detach();
    return TRUE;
}

STDAPI DllCanUnloadNow() {
    return _Module.CanUnloadNow();
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** ppv) {
    return _Module.GetClassObject(clsid, iid, ppv);
}

STDAPI DllRegisterServer() {
    const HRESULT hr = _Module.UpdateRegistryFromResource(kAppIdScript, TRUE);
    return FAILED(hr) ? hr : _Module.RegisterServer(TRUE);
}

STDAPI DllUnregisterServer() {
    const HRESULT hr = _Module.UnregisterServer(TRUE);
    const HRESULT appId = _Module.UpdateRegistryFromResource(kAppIdScript, FALSE);
    return FAILED(hr) ? hr : appId;
}
