// Entry and exit of the SDK server, its class table and the four server exports.
#include "SdkModule.h"

#include <log4cpp/Category.hh>

#include <memory>

#include "ClassTable.h"
#include "ModuleLogging.h"
#include "ResourceDll.h"
#include "TarvockLib.h"

CComModule _Module;

namespace {

std::unique_ptr<CResourceDll> g_resources;

// Logs which XML parser is installed; documents are always created by the version-independent
// class, so this only leaves a trace.
void ProbeXmlParser() {
    static const wchar_t* const progIds[] = {
        L"MSXML2.DOMDOCUMENT.4.0", L"MSXML2.DOMDOCUMENT.3.0", L"MSXML2.DOMDOCUMENT.2.6", L"MSXML2.DOMDOCUMENT",
        L"MSXML.DOMDOCUMENT",      L"MICROSOFT.XMLDOM.1.0",   L"MICROSOFT.XMLDOM",
    };
    log4cpp::Category& log = log4cpp::Category::getInstance("global");
    log.debug("Entering %s::%s", "global", "DllMain");
    for (const wchar_t* progId : progIds) {
        CLSID clsid;
        if (SUCCEEDED(::CLSIDFromProgID(progId, &clsid))) {
            log.debug("MSXML ProgID %S was found", progId);
            return;
        }
        log.debug("MSXML ProgID %S is not registered", progId);
    }
}

void Attach(HINSTANCE instance) {
    _Module.Init(SdkClassTable(), instance, &LIBID_TarvockLib);
    const auto makeResourceSource = [](HINSTANCE library) { _Module.SetResourceInstance(library); };
    if (!LoadModuleSatellite(g_resources, "TarvockSDK", instance, ::GetCommandLineA(), makeResourceSource))
        ::MessageBoxA(nullptr, "TarvockSDK: No Resource DLL", "Error", MB_OK | MB_ICONERROR);
    ConfigureModuleLogging();
    ProbeXmlParser();
}

void Detach() {
    g_resources.reset();
    log4cpp::Category::shutdown();
    _Module.Term();
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        ::DisableThreadLibraryCalls(instance);
        Attach(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        Detach();
    }
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
