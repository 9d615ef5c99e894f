// The countries a contact's Country may name: two-letter codes and their English names, in the
// order the contact dialog lists them.
#pragma once

#include <windows.h>

struct CountryEntry {
    const char* code;
    const char* name;
};

const int kCountryCount = 245;
extern const CountryEntry kCountries[kCountryCount];

// The index of the code (ignoring case), or -1 when it is not one of the list.
int FindCountryCode(const char* code);
