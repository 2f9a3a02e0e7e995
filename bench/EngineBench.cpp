// Building every broadcast year the program accepts and listing all of its
// weeks: the work behind `kalvara-cli weeks 1920 9999`.

#include "engine/BroadcastYearTable.h"

#include <benchmark/benchmark.h>

namespace {

void BM_EveryBroadcastYearAndWeek(benchmark::State& state) {
    kalvara::BroadcastYearTable table;
    kalvara::InitDaysInMonth(table);
    std::int64_t weeks = 0;
    for (auto _ : state) {
        std::int64_t checksum = 0;
        weeks = 0;
        for (std::int32_t year = 1920; year <= 9999; ++year) {
            kalvara::BuildBroadcastYear(year, table);
            for (std::int32_t month = 1; month <= 12; ++month) {
                for (kalvara::DayNumber monday = table.First(month); monday < table.Last(month);
                     monday += 7) {
                    checksum += kalvara::BroadcastWeekNumber(monday, table);
                    ++weeks;
                }
            }
        }
        benchmark::DoNotOptimize(checksum);
    }
    state.counters["weeks"] = static_cast<double>(weeks);
    // Shown in seconds with an SI prefix: "2.3n" is 2.3 ns per week.
    state.counters["seconds_per_week"] = benchmark::Counter(
        static_cast<double>(weeks),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_EveryBroadcastYearAndWeek)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
