#include "Diagnostics.h"

#include <mapicode.h>

#include <cwchar>
#include <cwctype>

namespace mapiprovider {

namespace {

TarvockMapiCounters g_counters = {};

std::wstring Trim(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return std::wstring();
    const size_t last = text.find_last_not_of(L" \t");
    return text.substr(first, last - first + 1);
}

// One "<point>[:<target>][=<hr>]" item; true when it names this point and target.
bool Matches(const std::wstring& item, const wchar_t* point, const std::wstring& target, HRESULT* hr) {
    std::wstring fault = item;
    *hr = MAPI_E_CALL_FAILED;
    const size_t equals = fault.find(L'=');
    if (equals != std::wstring::npos) {
        *hr = static_cast<HRESULT>(std::wcstoul(fault.c_str() + equals + 1, nullptr, 0));
        fault.erase(equals);
    }
    std::wstring wantedTarget;
    bool anyTarget = true;
    const size_t colon = fault.find(L':');
    if (colon != std::wstring::npos) {
        wantedTarget = Trim(fault.substr(colon + 1));
        anyTarget = false;
        fault.erase(colon);
    }
    if (Trim(fault) != point) return false;
    return anyTarget || wantedTarget == target;
}

}  // namespace

TarvockMapiCounters& Counters() {
    return g_counters;
}

void Record(WCHAR (&field)[128], const std::wstring& text) {
    const size_t n = text.size() < 127 ? text.size() : 127;
    std::wmemcpy(field, text.data(), n);
    field[n] = L'\0';
}

std::wstring EnvironmentValue(const wchar_t* name) {
    const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) return std::wstring();
    std::wstring value(size, L'\0');
    const DWORD len = ::GetEnvironmentVariableW(name, &value[0], size);
    value.resize(len);
    return value;
}

HRESULT InjectedFailure(const wchar_t* point, const std::wstring& target) {
    const std::wstring faults = EnvironmentValue(TARVOCK_MAPI_FAIL_VARIABLE);
    size_t start = 0;
    while (start <= faults.size() && !faults.empty()) {
        size_t end = faults.find(L',', start);
        if (end == std::wstring::npos) end = faults.size();
        HRESULT hr = S_OK;
        if (Matches(faults.substr(start, end - start), point, target, &hr)) return hr;
        start = end + 1;
    }
    return S_OK;
}

}  // namespace mapiprovider

extern "C" void WINAPI TarvockMapiGetCounters(TarvockMapiCounters* counters) {
    if (counters) *counters = mapiprovider::g_counters;
}

extern "C" void WINAPI TarvockMapiResetCounters(void) {
    TarvockMapiCounters& c = mapiprovider::g_counters;
    const LONG liveObjects = c.liveObjects;
    const LONG liveBuffers = c.liveBuffers;
    c = TarvockMapiCounters{};
    c.liveObjects = liveObjects;
    c.liveBuffers = liveBuffers;
}
