// SPDX-License-Identifier: MIT
// The overview of ten years of daily measurements: reading them, computing every figure and
// composing the window (goal: 20 ms), and the computation alone.
#include "RunBenchmarks.h"
#include "core/Clock.h"
#include "core/Globals.h"
#include "lang/LangMgr.h"
#include "overview/OverviewFigures.h"
#include "overview/TfrmOverview.h"
#include "store/DayMeans.h"
#include "store/Goals.h"
#include "store/Statements.h"
#include "store/TdmMain.h"

#include <QMdiArea>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

const QDate Today(2024, 3, 31);
constexpr int TenYears = 3650;

// The English texts, a database holding one measurement a day for days days up to Today for
// user 1 with a profile and a goal, and the overview open over it.
class OverviewSetup {
public:
    explicit OverviewSetup(int days) {
        LangMgr().LoadLanguageList(QStringLiteral(BFS_LANG_DIR) + QLatin1Char('/'), false);
        LangMgr().SetLanguage(QStringLiteral("English"));
        Globals.SettingsPath = folder_.filePath(QStringLiteral("my.ini"));
        store_ = std::make_unique<TdmMain>(folder_.filePath(QStringLiteral("db")), QString());
        store_->DataModuleCreate();
        SetDataModule(store_.get());
        store_->ExecuteSql(
            QStringLiteral("insert into P_DATA(USER_ID, THE_DATE, WEIGHT, FAT, TBW, MUS, BONE) "
                           "with recursive n(i) as (select 0 union all select i + 1 from n where i < %1) "
                           "select 1, date('2024-03-31', '-' || i || ' days'), 70 + (i % 40) / 10.0, "
                           "20 + (i % 30) / 10.0, 55, 40, 3 from n")
                .arg(days - 1));
        store_->ExecuteSql(
            QStringLiteral("update P_USERS set SEX = 1, BIRTHDAY = '1980-05-06', HEIGHT = 168, "
                           "HEIGHT_EN = 66 where USER_ID = 1"));
        SaveGoal(*store_, 1, TGoal{65, QDate(2024, 12, 31)});
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
    TdmMain& Store() const { return *store_; }

private:
    QTemporaryDir folder_;
    std::unique_ptr<TdmMain> store_;
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
