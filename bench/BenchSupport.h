// What the benchmarks share: failures as exceptions, the stand-in's addresses from the
// environment, the performance counter, medians, and the program's frame (count argument, COM,
// failure report).
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

namespace bench {

// Throws std::runtime_error naming what failed when hr is a failure.
void Check(HRESULT hr, const char* what);

// An environment variable's value (empty when unset).
std::wstring Environment(const wchar_t* name);

// The performance counter in seconds.
double Seconds();

// The value at fraction p of the sorted values (0.5: the median); 0 for none.
double Percentile(std::vector<double> values, double p);
inline double Median(std::vector<double> values) { return Percentile(std::move(values), 0.5); }

// main() of a benchmark: argv[1] or defaultCount as the count, COM initialised around run(count);
// a failure is reported on stderr as "<failurePrefix>: <what>" and gives 1.
int Main(int argc, char** argv, int defaultCount, const char* usage, const char* failurePrefix, int (*run)(int));

}  // namespace bench
