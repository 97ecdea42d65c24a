// SPDX-License-Identifier: MIT
// The overview of ten years of daily measurements: reading them, computing every figure and
// composing the window (goal: 20 ms), and the computation alone.
#include "DailyStore.h"
#include "RunBenchmarks.h"
#include "core/Clock.h"
#include "core/Globals.h"
#include "overview/OverviewFigures.h"
#include "overview/TfrmOverview.h"
#include "store/DayMeans.h"
#include "store/Goals.h"
#include "store/Statements.h"
#include "store/TdmMain.h"

#include <QMdiArea>
#include <benchmark/benchmark.h>

namespace {

const QDate Today(2024, 3, 31);
constexpr int TenYears = 3650;

// One measurement a day for days days up to Today, with a profile and a goal, and the overview
// open over it.
class OverviewSetup {
public:
    explicit OverviewSetup(int days) : data_(days, Today) {
        SetDataModule(&data_.Store());
        SaveGoal(data_.Store(), 1, TGoal{65, QDate(2024, 12, 31)});
        Globals.CurrentUserId = 1;
        SetClock([] { return QDateTime(Today, QTime(12, 0)); });
        area_.resize(1280, 900);
        area_.show();
        form_ = ShowOverview(&area_);
        if (!form_->Figures().Latest)
            qFatal("the overview shows no measurement");
    }
    ~OverviewSetup() { SetDataModule(nullptr); }

    TfrmOverview* Form() const { return form_; }
    TdmMain& Store() const { return data_.Store(); }

private:
    TDailyStore data_;
    QMdiArea area_;
    TfrmOverview* form_ = nullptr;
};

void BM_RefreshOverview(benchmark::State& state) {
    OverviewSetup setup(static_cast<int>(state.range(0)));
    Globals.CurrentUnit = 0;
    for (auto _ : state) {
        setup.Form()->RefreshOverview();
        benchmark::DoNotOptimize(setup.Form()->Figures().LatestTrend);
    }
}
BENCHMARK(BM_RefreshOverview)->Arg(TenYears)->Unit(benchmark::kMillisecond);

void BM_ReadOverviewDays(benchmark::State& state) {
    OverviewSetup setup(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(DailyMeans(setup.Store().SelectRows(SqlUserDays(1))).size());
}
BENCHMARK(BM_ReadOverviewDays)->Arg(TenYears)->Unit(benchmark::kMillisecond);

void BM_ComputeOverview(benchmark::State& state) {
    OverviewSetup setup(static_cast<int>(state.range(0)));
    const std::vector<TDayMean> days = DailyMeans(setup.Store().SelectRows(SqlUserDays(1)));
    const TOverviewProfile profile{true, 1, QDate(1980, 5, 6), 168};
    const TGoal goal{65, QDate(2024, 12, 31)};
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeOverview(days, profile, goal, Today).LatestTrend);
}
BENCHMARK(BM_ComputeOverview)->Arg(TenYears)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks(argc, argv);
}
