// Times the SDK's SOAP round trip for one small operation (GetMessageLimit) against a raw XMLHTTP
// post of the same envelope to the same stand-in, in one run, the two interleaved call by call.
// Prints the medians and the ratio SDK/raw. Run it under scripts/with-standin (scripts/bench).
//   soap_roundtrip_bench [CALLS]   (default 500 of each)
#include <windows.h>

#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "ComTestSupport.h"
#include "LinkedSdkModule.h"
#include "RoundTrips.h"

namespace {

using bench::Environment;
using testsupport::BesideProgram;

const double kTarget = 1.15;
const long kExpectedLimit = 100;  // the stand-in's test account
const int kWarmUpCalls = 20;

// One timed series: the durations of its calls in microseconds.
class CSeries {
public:
    CSeries(const char* name, std::function<long()> call) : m_name(name), m_call(std::move(call)) {}

    void Run() {
        const double start = bench::Seconds();
        const long limit = m_call();
        const double end = bench::Seconds();
        if (limit != kExpectedLimit)
            throw std::runtime_error(std::string(m_name) + " answered " + std::to_string(limit));
        m_micros.push_back((end - start) * 1e6);
    }
    void WarmUp() {
        for (int i = 0; i < kWarmUpCalls; ++i) m_call();
    }
    double Percentile(double p) const { return bench::Percentile(m_micros, p); }
    double Median() const { return Percentile(0.5); }
    const char* Name() const { return m_name; }
    // The median of this series' call-by-call ratios to another's (the calls of one round ran
    // back to back, so load that comes and goes weighs on both alike).
    double PairedRatio(const CSeries& other) const {
        std::vector<double> ratios;
        for (size_t i = 0; i < m_micros.size() && i < other.m_micros.size(); ++i)
            ratios.push_back(m_micros[i] / other.m_micros[i]);
        return bench::Median(ratios);
    }

private:
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
    if (!sdktest::LinkSdkModule()) {
        std::fprintf(stderr, "TarvockSDK_en.dll is not beside the program\n");
        return 2;
    }

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
    return bench::Main(argc, argv, 500, "soap_roundtrip_bench [CALLS]", "bench failed", Run);
}
