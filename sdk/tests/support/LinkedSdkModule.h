// The module of a program that links the SDK's classes in: they count their objects on it and read
// their templates and texts from the English satellite library. Linking the sdk_linked_module
// object library defines _Module and sets it up before the program's first test.
#pragma once

#include <windows.h>

namespace sdktest {

// Initialises _Module and makes TarvockSDK_en.dll from beside the program its resource source,
// once per program. The satellite library, null when it does not load.
HMODULE LinkSdkModule();

}  // namespace sdktest
