#include "BenchSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace bench {

void Check(HRESULT hr, const char* what) {
    if (FAILED(hr)) {
        char text[160];
        std::snprintf(text, sizeof text, "%s failed (0x%08lX)", what, static_cast<unsigned long>(hr));
        throw std::runtime_error(text);
    }
}

std::wstring Environment(const wchar_t* name) {
    wchar_t value[1024] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, value, 1024);
    return length && length < 1024 ? std::wstring(value, length) : std::wstring();
}

double Seconds() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(p * (values.size() - 1) + 0.5)];
}

int Main(int argc, char** argv, int defaultCount, const char* usage, const char* failurePrefix, int (*run)(int)) {
    const int count = argc > 1 ? std::atoi(argv[1]) : defaultCount;
    if (count <= 0) {
        std::fprintf(stderr, "usage: %s\n", usage);
        return 2;
    }
    ::CoInitialize(nullptr);
    int status = 1;
    try {
        status = run(count);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", failurePrefix, e.what());
    }
    ::CoUninitialize();
    return status;
}

}  // namespace bench
