// SPDX-License-Identifier: MIT
// The import's software cost per measurement against a scale that answers at once, and the cost of
// saving a full transfer into a P_DATA of ten users and ten years.
#include "RunBenchmarks.h"
#include "core/Clock.h"
#include "core/Globals.h"
#include "core/MessageBox.h"
#include "operations/TfrmDataImport.h"
#include "scale/ScaleSelection.h"
#include "scale/THidDeviceController.h"
#include "scale/VirtualHidBackend.h"
#include "store/TdmMain.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int Measurements = 1000;
const QDate Today(2024, 12, 31);
// Ten users with one row a day for ten years, all before the scale's measurements.
const QDate HistoryStart(2012, 1, 1);
constexpr int HistoryDays = 3650;

// A database, a controller with one virtual scale holding the measurements of user 1, and
// message boxes that answer Cancel (so a save never asks the scale to delete anything).
class Rig {
public:
    explicit Rig(const QDate& firstMeasurement) {
        Globals = TGlobals{};
        Globals.CurrentUserId = 1;
        SetClock([] { return QDateTime(Today, QTime(12, 0)); });
        SetMessageBoxHook([](QWidget*, const QString&, const QString&, int) { return IDCANCEL; });
        store_ = std::make_unique<TdmMain>(folder_.filePath(QStringLiteral("db")), QString());
        store_->DataModuleCreate();
        SetDataModule(store_.get());
        store_->ExecuteSql(
            QStringLiteral(
                "insert into P_DATA(USER_ID, THE_DATE, WEIGHT, FAT, TBW, MUS, BONE) "
                "with recursive days(i) as (select 0 union all select i + 1 from days where i < %1), "
                "users(u) as (select 1 union all select u + 1 from users where u < 10) "
                "select u, date('%2', '+' || i || ' days'), 70.5, 20.5, 55, 40.2, 3.1 from users, days")
                .arg(HistoryDays - 1)
                .arg(HistoryStart.toString(Qt::ISODate)));

        auto backend = std::make_unique<VirtualHidBackend>();
        VirtualScale& scale = backend->plugIn();
        for (int i = 0; i < Measurements; ++i)
            scale.addMeasurement(1, MeasurementRecord{firstMeasurement.addDays(i), 70.0 + (i % 50) / 10.0,
                                                      21.5, 54.3, 39.8, 3.2});
        controller_ = std::make_unique<THidDeviceController>(std::move(backend));
        QObject::connect(controller_.get(), &THidDeviceController::OnArrival,
                         [this](THidDevice* device) { SelectArrivedScale(*controller_, device); });
        WaitFor([] { return Globals.AttachedScale != nullptr; });

        dialog_ = std::make_unique<TfrmDataImport>();
        dialog_->FormCreate();
        dialog_->show();
        dialog_->StartCounting();
        WaitFor([this] { return dialog_->Total() == Measurements; });
    }

    ~Rig() {
        dialog_->close();
        dialog_.reset();
        controller_.reset();
        SetDataModule(nullptr);
        SetMessageBoxHook({});
        SetClock({});
    }

    template <typename Condition> static void WaitFor(Condition condition) {
        while (!condition())
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }

    // Reads every measurement and waits until the transfer has ended.
    void Import() {
        dialog_->findChild<QPushButton*>(QStringLiteral("btnImport"))->click();
        WaitFor([this] { return dialog_->ReadCount() == Measurements; });
        QCoreApplication::processEvents(); // the "Complete" notice
    }
    void Save() { dialog_->findChild<QPushButton*>(QStringLiteral("btnSave"))->click(); }

    TdmMain& Store() { return *store_; }

private:
    QTemporaryDir folder_;
    std::unique_ptr<TdmMain> store_;
    std::unique_ptr<THidDeviceController> controller_;
    std::unique_ptr<TfrmDataImport> dialog_;
};

void PerMeasurement(benchmark::State& state) {
    state.counters["per_measurement"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * Measurements,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_ImportFromAnInstantScale(benchmark::State& state) {
    Rig rig(HistoryStart.addDays(HistoryDays));
    for (auto _ : state)
        rig.Import();
    PerMeasurement(state);
}
// per_measurement: wall time on the first line; on the second, the CPU time of every thread of the
// process (dialog, reader thread and virtual scale), which is what the software costs when the
// machine is shared.
BENCHMARK(BM_ImportFromAnInstantScale)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_ImportFromAnInstantScale)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->Iterations(10);

// The usual save: days that P_DATA does not hold yet.
void BM_SaveNewDays(benchmark::State& state) {
    Rig rig(HistoryStart.addDays(HistoryDays));
    rig.Import();
    const QString rowsAdded = QStringLiteral("delete from P_DATA where THE_DATE >= '%1'")
                                  .arg(HistoryStart.addDays(HistoryDays).toString(Qt::ISODate));
    for (auto _ : state) {
        rig.Save();
        state.PauseTiming();
        rig.Store().ExecuteSql(rowsAdded);
        state.ResumeTiming();
    }
    PerMeasurement(state);
}
BENCHMARK(BM_SaveNewDays)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

// Saving days that are already stored: each one replaces its row.
void BM_SaveReplacingStoredDays(benchmark::State& state) {
    Rig rig(HistoryStart.addDays(HistoryDays - Measurements));
    rig.Import();
    for (auto _ : state)
        rig.Save();
    PerMeasurement(state);
}
BENCHMARK(BM_SaveReplacingStoredDays)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks(argc, argv);
}
