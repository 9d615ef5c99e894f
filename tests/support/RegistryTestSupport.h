// Registry readers of the registration tests (every path is under HKEY_CLASSES_ROOT) and a
// silent regsvr32 run.
#pragma once

#include <windows.h>

#include <set>
#include <string>

namespace testsupport {

bool KeyExists(const std::wstring& path);
// The string value name (null: the default value) of a key; "<missing>" when absent or not a string.
std::wstring Value(const std::wstring& path, const wchar_t* name = nullptr);
// The names of a key's subkeys, and of its values (empty when the key is absent).
std::set<std::wstring> SubKeys(const std::wstring& path);
std::set<std::wstring> ValueNames(const std::wstring& path);

// Runs `regsvr32.exe /s arguments` and returns its exit code (-1 when it does not start).
DWORD RunRegsvr32(const std::wstring& arguments);

// Paths (or GUID texts) compared ordinally, ignoring case.
bool SamePath(const std::wstring& a, const std::wstring& b);

}  // namespace testsupport
