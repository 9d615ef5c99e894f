#include "StandinEnvironment.h"

#include <windows.h>

namespace standin {

std::wstring EnvironmentText(const wchar_t* name) {
    const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) return std::wstring();
    std::wstring value(size, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(name, &value[0], size);
    value.resize(length < size ? length : 0);
    return value;
}

std::wstring ServiceUrl() {
    return EnvironmentText(L"TARVOCK_STANDIN_URL");
}

std::wstring ServerBase() {
    return EnvironmentText(L"TARVOCK_STANDIN_BASE");
}

std::wstring RequireServiceUrl() {
    std::wstring url = ServiceUrl();
    if (url.empty()) throw StandinError("TARVOCK_STANDIN_URL is not set: run the test through scripts/with-standin");
    return url;
}

std::wstring RequireServerBase() {
    std::wstring base = ServerBase();
    if (base.empty()) throw StandinError("TARVOCK_STANDIN_BASE is not set: run the test through scripts/with-standin");
    return base;
}

}  // namespace standin
