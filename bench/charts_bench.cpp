// SPDX-License-Identifier: MIT
// Loading the charts of ten years, and printing one chart page to a PDF printer.
#include "RunBenchmarks.h"
#include "charts/TChart.h"
#include "charts/TPdfPrinters.h"
#include "charts/TPreviewPanel.h"
#include "charts/TPrinter.h"
#include "charts/TfrmChat.h"
#include "core/Globals.h"
#include "store/Goals.h"
#include "store/TdmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QLineSeries>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

const QDate FirstDay(2015, 1, 1);
constexpr int Days = 3650;

// A database whose P_DATA holds rowsPerDay rows a day for ten years for user 1, and, with
// otherUsers, one row a day for users 2 to 10 as well; and a chart view showing those ten years.
class TenYears {
public:
    TenYears(int rowsPerDay, bool otherUsers) : store_(folder_.filePath(QStringLiteral("db")), QString()) {
        store_.DataModuleCreate();
        SetDataModule(&store_);
        store_.ExecuteSql(QStringLiteral("insert into P_DATA(USER_ID, THE_DATE, WEIGHT, FAT, TBW, MUS, BONE) "
                                         "with recursive d(i) as (select 0 union all select i + 1 from d "
                                         "where i < %1), r(k) as (select 1 union all select k + 1 from r "
                                         "where k < %2), u(id) as (select 1 union all select id + 1 from u "
                                         "where id < %3) "
                                         "select id, date('%4', '+' || i || ' days'), 70 + (i % 50) / 10.0 + "
                                         "k / 10.0, 20.5, 55.1, 40.2, 3.1 from d, r, u")
                              .arg(Days - 1)
                              .arg(rowsPerDay)
                              .arg(otherUsers ? 10 : 1)
                              .arg(FirstDay.toString(Qt::ISODate)));
        Globals.CurrentUserId = 1;
        Globals.CurrentUnit = 1;
        form_.resize(1200, 800);
        form_.show();
        form_.findChild<QDateEdit*>(QStringLiteral("dtpFrom"))->setDate(FirstDay);
        form_.findChild<QDateEdit*>(QStringLiteral("dtpTo"))->setDate(FirstDay.addDays(Days - 1));
        QCoreApplication::processEvents();
    }
    ~TenYears() { SetDataModule(nullptr); }

    TfrmChat& Form() { return form_; }
    TdmMain& Store() { return store_; }
    QString Folder() const { return folder_.path(); }

private:
    QTemporaryDir folder_;
    TdmMain store_;
    TfrmChat form_;
};

// Goal: at most 50 ms for 3,650 days of one row each, read from a table of 36,500 rows (ten users).
void BM_LoadChartsTenYearsOfDays(benchmark::State& state) {
    TenYears data(1, true);
    for (auto _ : state)
        data.Form().LoadCharts();
    state.counters["points"] = data.Form().srsWeight()->count();
}
BENCHMARK(BM_LoadChartsTenYearsOfDays)->Unit(benchmark::kMillisecond);

// Goal: within 10 % of BM_LoadChartsTenYearsOfDays before the trend lines and the goal line came
// (that figure is BM_LoadChartsTenYearsWithoutTrendAndGoal): both trends and a goal, as the chart
// view opens for a user who has set one.
void BM_LoadChartsTenYearsWithTrendAndGoal(benchmark::State& state) {
    TenYears data(1, true);
    SaveGoal(data.Store(), 1, TGoal{72.0, QDate()});
    for (auto _ : state)
        data.Form().LoadCharts();
    state.counters["points"] = data.Form().srsWeightTrend()->count();
}
BENCHMARK(BM_LoadChartsTenYearsWithTrendAndGoal)->Unit(benchmark::kMillisecond);

void BM_LoadChartsTenYearsWithoutTrendAndGoal(benchmark::State& state) {
    TenYears data(1, true);
    data.Form().findChild<QCheckBox*>(QStringLiteral("chkTrend"))->setChecked(false);
    for (auto _ : state)
        data.Form().LoadCharts();
    state.counters["points"] = data.Form().srsWeight()->count();
}
BENCHMARK(BM_LoadChartsTenYearsWithoutTrendAndGoal)->Unit(benchmark::kMillisecond);

// Goal: at most 300 ms for 36,500 rows of one user, ten a day, averaged into 3,650 points.
void BM_LoadChartsTenRowsADay(benchmark::State& state) {
    TenYears data(10, false);
    for (auto _ : state)
        data.Form().LoadCharts();
    state.counters["points"] = data.Form().srsWeight()->count();
}
BENCHMARK(BM_LoadChartsTenRowsADay)->Unit(benchmark::kMillisecond);

// Goal: at most 300 ms for one printed page of the ten-year weight chart, at the "More" detail,
// on an A4 landscape PDF printer at 300 dpi; smooth (through a bitmap) and direct.
void BM_PrintPage(benchmark::State& state) {
    const bool smooth = state.range(0) != 0;
    TenYears data(1, false);
    data.Form().LoadCharts();
    Printer().SetBackend(std::make_unique<TPdfPrinters>(
        QVector<TPdfPrinters::Entry>{{QStringLiteral("PDF"), QPageLayout::Landscape}}, data.Folder(), 300));
    TChart* chart = data.Form().chtWeight();
    chart->SetPrintResolution(-100);
    TPreviewPanel panel;
    panel.SetChart(chart);
    panel.SetAsBitmap(smooth);
    for (auto _ : state)
        panel.Print();
    state.SetLabel(smooth ? "smooth" : "direct");
}
BENCHMARK(BM_PrintPage)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks(argc, argv);
}
