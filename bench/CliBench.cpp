// The two largest outputs of kalvara-cli, in-process: the CSV of every week
// 1920..9999 (`weeks 1920 9999 --format csv`, 421,594 rows) and 100,000 dates
// answered from standard input (`date - --format csv`). Both write to
// /dev/null through the same checked writer as the command.

#include "cli/Cli.h"
#include "cli/DateTables.h"
#include "cli/OutputWriter.h"
#include "engine/CivilDate.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <fmt/format.h>

namespace {

constexpr double WeeksFrom1920To9999 = 421594;
constexpr int BatchDates = 100000;

void PerRow(benchmark::State& state, double rows) {
    // Shown in seconds with an SI prefix: "80n" is 80 ns per row.
    state.counters["seconds_per_row"] = benchmark::Counter(
        rows, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_WeeksCsvFrom1920To9999(benchmark::State& state) {
    std::FILE* sink = std::fopen("/dev/null", "w");
    for (auto _ : state) {
        kalvara::cli::OutputWriter out(sink);
        kalvara::cli::WriteWeeksTable(out, 1920, 9999, kalvara::cli::OutputFormat::Csv);
        benchmark::DoNotOptimize(out.Finish());
    }
    std::fclose(sink);
    PerRow(state, WeeksFrom1920To9999);
}
BENCHMARK(BM_WeeksCsvFrom1920To9999)->Unit(benchmark::kMillisecond);

void BM_DateBatchFromStandardInput(benchmark::State& state) {
    std::FILE* in = std::tmpfile();
    const kalvara::DayNumber first = kalvara::JulianDate(1, 1, 1990);
    for (int i = 0; i < BatchDates; ++i) {
        std::int32_t m = 0, d = 0, y = 0;
        kalvara::JulianToMDY(first + i * 3, m, d, y);
        fmt::print(in, "{:04}-{:02}-{:02}\n", y, m, d);
    }
    std::FILE* sink = std::fopen("/dev/null", "w");
    for (auto _ : state) {
        std::rewind(in);
        benchmark::DoNotOptimize(
            kalvara::cli::RunCli({"date", "-", "--format", "csv"}, {in, sink, sink}));
    }
    std::fclose(sink);
    std::fclose(in);
    PerRow(state, BatchDates);
}
BENCHMARK(BM_DateBatchFromStandardInput)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
