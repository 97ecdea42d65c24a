// SPDX-License-Identifier: MIT
// The trend and the weekly and monthly means of ten years of daily means.
#include "RunBenchmarks.h"
#include "insight/PeriodMeans.h"
#include "insight/RangeStatistics.h"
#include "insight/Trend.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int Days = 3650;

std::vector<TDayMean> TenYears() {
    std::vector<TDayMean> days;
    const QDate first(2015, 1, 1);
    for (int i = 0; i < Days; ++i)
        days.push_back({first.addDays(i), 70 + (i % 50) / 10.0, 20.5, 55.1, 40.2, 3.1});
    return days;
}

// Goal, together with BM_WeeklyMeans: at most 1 ms for 3,650 days.
void BM_Trend(benchmark::State& state) {
    const std::vector<TDayPoint> weight = PointsOf(TenYears(), TMeasure::Weight);
    for (auto _ : state)
        benchmark::DoNotOptimize(Trend(weight));
}
BENCHMARK(BM_Trend)->Unit(benchmark::kMicrosecond);

void BM_WeeklyMeans(benchmark::State& state) {
    const std::vector<TDayMean> days = TenYears();
    for (auto _ : state)
        benchmark::DoNotOptimize(PeriodMeans(days, TPeriod::Week));
}
BENCHMARK(BM_WeeklyMeans)->Unit(benchmark::kMicrosecond);

void BM_MonthlyMeans(benchmark::State& state) {
    const std::vector<TDayMean> days = TenYears();
    for (auto _ : state)
        benchmark::DoNotOptimize(PeriodMeans(days, TPeriod::Month));
}
BENCHMARK(BM_MonthlyMeans)->Unit(benchmark::kMicrosecond);

// The statistics of all five values, each with its trend.
void BM_RangeStatistics(benchmark::State& state) {
    const std::vector<TDayMean> days = TenYears();
    for (auto _ : state)
        benchmark::DoNotOptimize(RangeStatistics(days));
}
BENCHMARK(BM_RangeStatistics)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks(argc, argv);
}
