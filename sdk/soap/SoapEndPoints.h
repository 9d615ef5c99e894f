// The process-wide end-point texts shared by every service object of the module: the base-address
// override and the mock address. Empty at load and never reset; read and written under a lock.
#pragma once

#include <string>

class CSoapEndPoints {
public:
    // Replaces both texts (null makes a text empty).
    static void Set(const wchar_t* uri, const wchar_t* mockUri);
    static std::wstring Override();
    static std::wstring Mock();
};
