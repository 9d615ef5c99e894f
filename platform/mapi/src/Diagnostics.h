// What the provider counts for its tests, and the failures they inject.
#pragma once

#include <windows.h>

#include <string>

#include "MapiProviderControl.h"

namespace mapiprovider {

// The process-wide counters (the provider is called on one thread at a time).
TarvockMapiCounters& Counters();

// Copies text into a fixed buffer of the counters, cut to fit.
void Record(WCHAR (&field)[128], const std::wstring& text);

// The failure injected for a call point and the book or entry it concerns; S_OK when none.
HRESULT InjectedFailure(const wchar_t* point, const std::wstring& target = std::wstring());

// A variable of the process environment; empty when unset.
std::wstring EnvironmentValue(const wchar_t* name);

// Keeps the live-object count for the lifetime of each provider object.
class CLiveObject {
public:
    CLiveObject() { ++Counters().liveObjects; }
    CLiveObject(const CLiveObject&) : CLiveObject() {}
    CLiveObject& operator=(const CLiveObject&) = default;
    ~CLiveObject() { --Counters().liveObjects; }
};

}  // namespace mapiprovider
