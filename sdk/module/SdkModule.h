// The SDK server module: its class table and its resource source (the satellite library when
// one was loaded, else the module itself).
#pragma once

#include <atlbase.h>

extern CComModule _Module;

inline HINSTANCE SdkResourceInstance() {
    return _Module.GetResourceInstance();
}
