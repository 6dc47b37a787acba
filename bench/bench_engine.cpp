// Timing of the engine's day result and of one month's formatted rows.
#include <benchmark/benchmark.h>

#include "app/mainState.h"
#include "engine/prcCalc.h"
#include "table/monthRows.h"

namespace {

void BM_mooncalc(benchmark::State& st)
{
    TcMainState state;
    putDefaultSite(state);
    const TcCalc calc(state);
    TcDayResult result;
    for (auto _ : st) {
        calc.mooncalc(2000, 1, 1, result);
        benchmark::DoNotOptimize(result);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_mooncalc);

// The month table's work: 31 day results, each formatted into a row.
void BM_monthRows(benchmark::State& st)
{
    TcMainState state;
    putDefaultSite(state);
    const TcCalc calc(state);
    for (auto _ : st) {
        std::vector<std::string> rows = monthRows(calc, 2000, 1);
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(BM_monthRows)->Unit(benchmark::kMicrosecond);

// The same month as the text the table copies and the command prints.
void BM_monthText(benchmark::State& st)
{
    TcMainState state;
    putDefaultSite(state);
    const TcCalc calc(state);
    for (auto _ : st) {
        std::string text = monthText(monthRows(calc, 2000, 1));
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_monthText)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
