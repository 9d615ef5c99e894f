// The address-book server module: its one class and its resource source (the satellite library
// when one was loaded, else the module itself).
#pragma once

#include <atlbase.h>

extern CComModule _Module;

inline HINSTANCE MailResourceInstance() {
    return _Module.GetResourceInstance();
}
