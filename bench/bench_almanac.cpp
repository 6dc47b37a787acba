// Timing of the precise almanac: a month of the --csv content (31 days, every
// column). Each run takes another month, so no position computed for an
// earlier run is reused.
#include <benchmark/benchmark.h>

#include "almanac/almanacText.h"

namespace {

void almanac_month(benchmark::State& st)
{
    almanac::Site site;
    site.latitude = 35.67;
    site.longitude = 139.5;
    site.timeZone = 9;
    int n = 0;
    for (auto _ : st) {
        const int year = 1901 + (n * 7) % 199;
        ++n;
        std::string text = almanac::csvMonthText(site, year, 1);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(almanac_month)->Unit(benchmark::kMillisecond);

}  // namespace
