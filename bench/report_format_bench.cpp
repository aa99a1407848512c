// Cost of the report number rule on the hottest report path: one table row a
// line, as the national and loss tables write thousands of them.  The same
// rows are written through the report writer and through a bare vsnprintf
// into a line buffer (what the writer cost without the rule), so the
// difference is the rule's price per line.  The argument is the percentage
// of rows that show a value rounding to zero from below (each such row is
// printed a second time, value by value).
#include <benchmark/benchmark.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <string>

#include "framework/output/report_writer.h"

namespace {

constexpr int kRows = 1000;

// The loss table's row: three texts and seven numbers.
constexpr const char* kRow = "%s\t%s\t%s\t%.3lf\t%.2lf\t%.2lf\t%.2lf\t%s\t%.2lf\t%.2lf";

__attribute__((format(printf, 3, 4))) void BareLine(std::string& text, std::int32_t& lines, const char* format, ...)
{
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    text += buffer;
    text += '\n';
    ++lines;
}

// Row values that change from row to row; in `zeroPct` % of the rows one of
// them is a hair below zero.
double Value(int row, int column, int zeroPct)
{
    if (column == 4 && row % 100 < zeroPct) return -0.0001;
    return 0.37 * row - 2.5 * column;
}

void BM_TableRowsBareVsnprintf(benchmark::State& state)
{
    const int zeroPct = static_cast<int>(state.range(0));
    for (auto _ : state) {
        std::string text;
        std::int32_t lines = 0;
        for (int r = 0; r < kRows; ++r)
            BareLine(text, lines, kRow, "Leeds", "53.80N", "1.55W", Value(r, 1, zeroPct), Value(r, 2, zeroPct),
                     Value(r, 3, zeroPct), Value(r, 4, zeroPct), "42.000", Value(r, 5, zeroPct), Value(r, 6, zeroPct));
        benchmark::DoNotOptimize(text.data());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_TableRowsReportWriter(benchmark::State& state)
{
    const int zeroPct = static_cast<int>(state.range(0));
    for (auto _ : state) {
        std::string text;
        std::int32_t lines = 0;
        ReportWriter line(text, lines);
        for (int r = 0; r < kRows; ++r)
            line(kRow, "Leeds", "53.80N", "1.55W", Value(r, 1, zeroPct), Value(r, 2, zeroPct), Value(r, 3, zeroPct),
                 Value(r, 4, zeroPct), "42.000", Value(r, 5, zeroPct), Value(r, 6, zeroPct));
        benchmark::DoNotOptimize(text.data());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

BENCHMARK(BM_TableRowsBareVsnprintf)->Arg(0)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TableRowsReportWriter)->Arg(0)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
