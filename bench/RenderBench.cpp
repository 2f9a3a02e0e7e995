// Producing each calendar style in memory, the work behind one press of
// "Generate" short of the disk: the year table, every page, compression and
// the finished PDF bytes. Counters show the time and bytes per page.

#include "render/CalendarDocument.h"

#include <benchmark/benchmark.h>

namespace {

using kalvara::CalendarStyle;

void ProduceStyle(benchmark::State& state, CalendarStyle style, std::int32_t period,
                  std::int32_t pages) {
    kalvara::CalendarSelection selection;
    selection.Style = style;
    selection.Period = period;
    selection.StartYear = 2025;
    selection.Preferences = kalvara::ShowQuarters; // the longer labels
    kalvara::BroadcastYearTable years;
    std::string bytes;
    for (auto _ : state) {
        kalvara::PdfRunState run;
        if (!kalvara::RenderCalendarDocument(selection, years, run, bytes)) {
            state.SkipWithError("libharu failed");
            return;
        }
        benchmark::DoNotOptimize(bytes.data());
    }
    state.counters["pages"] = pages;
    state.counters["bytes_per_page"] = static_cast<double>(bytes.size()) / pages;
    // Shown in seconds with an SI prefix: "1.2m" is 1.2 ms per page.
    state.counters["time_per_page"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * pages,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_MonthAllTwelve(benchmark::State& state) {
    ProduceStyle(state, CalendarStyle::Month, kalvara::AllPeriods, 12);
}
void BM_QuarterAllFour(benchmark::State& state) {
    ProduceStyle(state, CalendarStyle::Quarter, kalvara::AllPeriods, 4);
}
void BM_Year(benchmark::State& state) {
    ProduceStyle(state, CalendarStyle::Year, 0, 1);
}
void BM_ThreeYears(benchmark::State& state) {
    ProduceStyle(state, CalendarStyle::ThreeYears, 0, 1);
}
void BM_KeyboardStrips(benchmark::State& state) {
    ProduceStyle(state, CalendarStyle::KeyboardStrips, 0, 1);
}
void BM_Planning(benchmark::State& state) {
    ProduceStyle(state, CalendarStyle::Planning, 0, 1);
}

BENCHMARK(BM_MonthAllTwelve)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuarterAllFour)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Year)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ThreeYears)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeyboardStrips)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Planning)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
