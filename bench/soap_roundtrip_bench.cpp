// Times the SDK's SOAP round trip for one small operation (GetMessageLimit) against a raw XMLHTTP
// post of the same envelope to the same stand-in, in one run, the two interleaved call by call.
// Prints the medians and the ratio SDK/raw. Run it under scripts/with-standin (scripts/bench).
//   soap_roundtrip_bench [CALLS]   (default 500 of each)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "RoundTrips.h"
#include "SdkModule.h"

CComModule _Module;

namespace {

const double kTarget = 1.15;
const long kExpectedLimit = 100;  // the stand-in's test account
const int kWarmUpCalls = 20;

std::wstring Environment(const wchar_t* name) {
    wchar_t value[1024] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, value, 1024);
    return length && length < 1024 ? std::wstring(value, length) : std::wstring();
}

std::wstring BesideProgram(const wchar_t* fileName) {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + fileName;
}

// One timed series: the durations of its calls in microseconds.
class CSeries {
public:
    CSeries(const char* name, std::function<long()> call) : m_name(name), m_call(std::move(call)) {}

    void Run() {
        LARGE_INTEGER start, end;
        ::QueryPerformanceCounter(&start);
        const long limit = m_call();
        ::QueryPerformanceCounter(&end);
        if (limit != kExpectedLimit)
            throw std::runtime_error(std::string(m_name) + " answered " + std::to_string(limit));
        m_micros.push_back(static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 / Frequency());
    }
    void WarmUp() {
        for (int i = 0; i < kWarmUpCalls; ++i) m_call();
    }
    double Percentile(double p) const {
        std::vector<double> sorted(m_micros);
        std::sort(sorted.begin(), sorted.end());
        return sorted[static_cast<size_t>(p * (sorted.size() - 1) + 0.5)];
    }
    double Median() const { return Percentile(0.5); }
    const char* Name() const { return m_name; }
    // The median of this series' call-by-call ratios to another's (the calls of one round ran
    // back to back, so load that comes and goes weighs on both alike).
    double PairedRatio(const CSeries& other) const {
        std::vector<double> ratios;
        for (size_t i = 0; i < m_micros.size() && i < other.m_micros.size(); ++i)
            ratios.push_back(m_micros[i] / other.m_micros[i]);
        std::sort(ratios.begin(), ratios.end());
        return ratios.empty() ? 0 : ratios[ratios.size() / 2];
    }

private:
    static double Frequency() {
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart);
    }

    const char* m_name;
    std::function<long()> m_call;
    std::vector<double> m_micros;
};

void Report(const CSeries& series, const CSeries& raw) {
    std::printf("  %-30s median %9.1f us   p10 %9.1f   p90 %9.1f   ratio to raw %.3f\n", series.Name(), series.Median(),
                series.Percentile(0.1), series.Percentile(0.9), series.Median() / raw.Median());
}

int Run(int calls) {
    const std::wstring url = Environment(L"TARVOCK_STANDIN_URL");
    if (url.empty()) {
        std::fprintf(stderr, "TARVOCK_STANDIN_URL is not set: run under scripts/with-standin\n");
        return 2;
    }
    _Module.Init(nullptr, ::GetModuleHandleW(nullptr), &GUID_NULL);
    HMODULE satellite = ::LoadLibraryW(BesideProgram(L"TarvockSDK_en.dll").c_str());
    if (!satellite) {
        std::fprintf(stderr, "TarvockSDK_en.dll is not beside the program\n");
        return 2;
    }
    _Module.SetResourceInstance(satellite);

    CTransportRoundTrip transport(url);
    CRawRoundTrip raw(url + L"AccountService.asmx", transport.Envelope());
    CComObjectRoundTrip object(BesideProgram(L"TarvockSDK2.dll"), url);

    std::vector<CSeries> series;
    series.emplace_back("raw XMLHTTP post", [&] { return raw.Call(); });
    series.emplace_back("SDK transport (CSOAPService)", [&] { return transport.Call(); });
    if (object.Usable()) series.emplace_back("SDK AccountService object", [&] { return object.Call(); });

    for (CSeries& s : series) s.WarmUp();
    for (int i = 0; i < calls; ++i) {
        // Each round runs every series once, in a rotating order, so drift hits them alike.
        for (size_t k = 0; k < series.size(); ++k) series[(i + k) % series.size()].Run();
    }

    std::printf("GetMessageLimit round trips against %ls, %d calls each (interleaved)\n", url.c_str(), calls);
    for (const CSeries& s : series) Report(s, series[0]);
    if (!object.Usable()) std::printf("  (AccountService object skipped: %s)\n", object.Reason().c_str());
    const double ratio = series[1].Median() / series[0].Median();
    std::printf("median of the paired SDK/raw ratios: %.3f\n", series[1].PairedRatio(series[0]));
    std::printf("SDK/raw median ratio: %.3f (target <= %.2f) %s\n", ratio, kTarget,
                ratio <= kTarget ? "within target" : "ABOVE TARGET");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const int calls = argc > 1 ? std::atoi(argv[1]) : 500;
    if (calls <= 0) {
        std::fprintf(stderr, "usage: soap_roundtrip_bench [CALLS]\n");
        return 2;
    }
    ::CoInitialize(nullptr);
    int status = 1;
    try {
        status = Run(calls);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench failed: %s\n", e.what());
    }
    ::CoUninitialize();
    return status;
}
