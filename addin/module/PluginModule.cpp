// Entry and exit of the mail-client add-in and its four server exports. The add-in keeps no log.
#include "PluginModule.h"

#include <atlcom.h>

#include <memory>

#include "Addin.h"
#include "ButtonHolder.h"
#include "ResourceDll.h"

CComModule _Module;

namespace {

BEGIN_OBJECT_MAP(ObjectMap)
OBJECT_ENTRY(CLSID_Addin, CAddin)
OBJECT_ENTRY(CLSID_ButtonHolder, CButtonHolder)
END_OBJECT_MAP()

std::unique_ptr<CResourceDll> g_resources;

void Attach(HINSTANCE instance) {
    _Module.Init(ObjectMap, instance, &LIBID_TarvockOfficePluginLib);
    const auto makeResourceSource = [](HINSTANCE library) { _Module.SetResourceInstance(library); };
    if (!LoadModuleSatellite(g_resources, "TarvockOfficePlugin", instance, ::GetCommandLineA(), makeResourceSource))
        ::MessageBoxA(nullptr, "TarvockOfficePlugin: No Resource DLL", "Error", MB_ICONERROR);
}

void Detach() {
    g_resources.reset();
    _Module.Term();
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        ::DisableThreadLibraryCalls(instance);
        Attach(instance);
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
    return _Module.RegisterServer(TRUE);
}

STDAPI DllUnregisterServer() {
    return _Module.UnregisterServer(TRUE);
}
