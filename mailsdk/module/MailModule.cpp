// Entry and exit of the address-book server and its four server exports.
#include "MailModule.h"

#include <atlcom.h>
#include <log4cpp/Category.hh>
#include <log4cpp/PropertyConfigurator.hh>

#include <memory>
#include <string>

#include "AddressBook.h"
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

void ConfigureLogging() {
    try {
        log4cpp::PropertyConfigurator::configure("c:\\TarvockLogging.properties");
    } catch (const log4cpp::ConfigureFailure& failure) {
        const std::string text = std::string("Failed to configure log4cpp ") + failure.what() + "\n";
        ::OutputDebugStringA(text.c_str());
    }
}

BOOL Attach(HINSTANCE instance) {
    if (FAILED(_Module.Init(ObjectMap, instance, &LIBID_TarvockMailSDKLib))) return FALSE;
    ConfigureLogging();
    g_resources = std::make_unique<CResourceDll>("TarvockMailSDK", instance);
    if (HMODULE library = g_resources->GetLoadedLibrary()) {
        _Module.SetResourceInstance(library);
        g_resources->ApplyLocale(library);
    } else {
        ShowMessageBox("TarvockMailSDK: No Resource DLL", "Error", MB_ICONERROR);
    }
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
