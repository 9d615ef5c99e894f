// The add-in module: its two classes and its resource source (the satellite library when one
// was loaded, else the module itself).
#pragma once

#include <atlbase.h>

extern CComModule _Module;

inline HINSTANCE PluginResourceInstance() {
    return _Module.GetResourceInstance();
}
