#include "LinkedSdkModule.h"

#include <atlbase.h>

#include "ComTestSupport.h"

CComModule _Module;

namespace sdktest {

HMODULE LinkSdkModule() {
    static HMODULE satellite = nullptr;
    if (satellite) return satellite;
    _Module.Init(nullptr, ::GetModuleHandleW(nullptr), &GUID_NULL);
    satellite = ::LoadLibraryW(testsupport::BesideProgram(L"TarvockSDK_en.dll").c_str());
    if (satellite) _Module.SetResourceInstance(satellite);
    return satellite;
}

}  // namespace sdktest
