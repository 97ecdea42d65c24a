// SPDX-License-Identifier: MIT
// First-run creation of the database, and an import saving 1,000 days into a ten-year table.
#include "RunBenchmarks.h"
#include "store/Statements.h"
#include "store/TdmMain.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// Goal: at most 100 ms from no file to an open database with its ten users.
void BM_FirstRunCreation(benchmark::State& state) {
    QTemporaryDir folder;
    const QString dbFolder = folder.filePath(QStringLiteral("db"));
    for (auto _ : state) {
        TdmMain store(dbFolder, QString());
        store.DataModuleCreate();
        state.PauseTiming();
        QDir(dbFolder).removeRecursively();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstRunCreation)->Unit(benchmark::kMillisecond);

// P_DATA holds ten users with 3,650 days each (36,500 rows); one import replaces 1,000 days of
// user 1 with delete-then-insert per day in one transaction, as the import dialog saves. P_DATA
// has no index on USER_ID and THE_DATE, so each delete scans the whole table; the second variant
// adds such an index (not part of the program's schema) to show what the scan costs.
void ImportThousandDays(benchmark::State& state, bool withIndex) {
    QTemporaryDir folder;
    TdmMain store(folder.filePath(QStringLiteral("db")), QString());
    store.DataModuleCreate();
    const QDate first(2000, 1, 1);
    store.StartTransaction();
    for (int user = 1; user <= 10; ++user)
        for (int day = 0; day < 3650; ++day)
            store.ExecuteSql(SqlInsertMeasurement(user, first.addDays(day), 70.5, 20.1, 55.2, 40.3, 3.1));
    store.Commit();
    if (withIndex)
        store.ExecuteSql(QStringLiteral("create index P_DATA_USER_DAY on P_DATA (USER_ID, THE_DATE)"));

    QString plan;
    for (const TDataRow& row :
         store.SelectRows(QStringLiteral("explain query plan ") + SqlDeleteDay(1, first)))
        plan += row.AsString(QStringLiteral("detail")) + QLatin1Char(' ');
    state.SetLabel(plan.trimmed().toStdString());

    double weight = 60.0;
    QElapsedTimer clock;
    qint64 nanoseconds = 0;
    for (auto _ : state) {
        weight += 0.1;
        clock.start();
        store.StartTransaction();
        for (int day = 0; day < 1000; ++day) {
            const QDate date = first.addDays(day * 3);
            store.ExecuteSql(SqlDeleteDay(1, date));
            store.ExecuteSql(SqlInsertMeasurement(1, date, weight, 20.1, 55.2, 40.3, 3.1));
        }
        store.Commit();
        nanoseconds += clock.nsecsElapsed();
    }
    state.counters["us_per_day"] =
        static_cast<double>(nanoseconds) / 1000.0 / 1000.0 / static_cast<double>(state.iterations());
    state.counters["rows"] = store.SelectRows(QStringLiteral("select count(*) as N from P_DATA"))
                                 .at(0)
                                 .AsInteger(QStringLiteral("N"));
}

void BM_ImportThousandDays(benchmark::State& state) {
    ImportThousandDays(state, false);
}
BENCHMARK(BM_ImportThousandDays)->Unit(benchmark::kMillisecond);

void BM_ImportThousandDaysWithIndex(benchmark::State& state) {
    ImportThousandDays(state, true);
}
BENCHMARK(BM_ImportThousandDaysWithIndex)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks(argc, argv);
}
