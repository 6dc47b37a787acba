// Timing of the pictures' geometry: one day's graph (the almanac's day, the
// curves every ten minutes, bands and marks) and the year of daylight (every
// date of a year). Each run takes another date or year, so nothing computed
// for an earlier run is reused.
#include <benchmark/benchmark.h>

#include "almanac/almanac.h"
#include "graph/dayGraph.h"
#include "graph/yearGraph.h"

namespace {

almanac::Site tokyo()
{
    almanac::Site site;
    site.latitude = 35.68;
    site.longitude = 139.77;
    site.timeZone = 9;
    return site;
}

void graph_day(benchmark::State& st)
{
    const almanac::Site site = tokyo();
    const graph::Rect plot = graph::dayPlotArea(graph::dayGraphWidth, graph::dayGraphHeight);
    int n = 0;
    for (auto _ : st) {
        const int year = 1901 + (n * 7) % 199, month = 1 + n % 12;
        ++n;
        const almanac::Day day = almanac::computeDay(site, year, month, 15);
        graph::DayGraph g = graph::dayGraph(site, day, plot);
        benchmark::DoNotOptimize(g.sun.data());
    }
}
BENCHMARK(graph_day)->Unit(benchmark::kMillisecond);

void graph_year(benchmark::State& st)
{
    const almanac::Site site = tokyo();
    int n = 0;
    for (auto _ : st) {
        const int year = 1901 + (n * 7) % 199;
        ++n;
        const std::vector<graph::YearDay> days = graph::yearDays(site, year);
        graph::YearGraph g = graph::yearGraph(days, graph::YearView::clock, graph::yearPlotArea(780, 330), 100);
        benchmark::DoNotOptimize(g.areas.data());
    }
}
BENCHMARK(graph_year)->Unit(benchmark::kMillisecond);

}  // namespace
