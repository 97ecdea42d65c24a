// SPDX-License-Identifier: MIT
// First-run creation of the database, an import saving 1,000 days into a ten-year table, and the
// list's and the chart's reading of one user's ten years.
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

// P_DATA holds ten users with days days each, one row a day from 2000-01-01.
void FillDays(TdmMain& store, int days) {
    const QDate first(2000, 1, 1);
    store.StartTransaction();
    for (int user = 1; user <= 10; ++user)
        for (int day = 0; day < days; ++day)
            store.ExecuteSql(SqlInsertMeasurement(user, first.addDays(day), 70.5, 20.1, 55.2, 40.3, 3.1));
    store.Commit();
}

// How the engine runs statement, for the label: shows whether the day index is used.
std::string QueryPlan(TdmMain& store, const QString& statement) {
    QString plan;
    for (const TDataRow& row : store.SelectRows(QStringLiteral("explain query plan ") + statement))
        plan += row.AsString(QStringLiteral("detail")) + QLatin1Char(' ');
    return plan.trimmed().toStdString();
}

// Goal: at most 20 ms. P_DATA holds 36,500 rows (ten users, ten years each); one import replaces
// 1,000 days of user 1 with delete-then-insert per day in one transaction, as the import dialog
// saves. The second variant drops the day index to show what each delete's table scan costs.
void ImportThousandDays(benchmark::State& state, bool withDayIndex) {
    QTemporaryDir folder;
    TdmMain store(folder.filePath(QStringLiteral("db")), QString());
    store.DataModuleCreate();
    FillDays(store, 3650);
    if (!withDayIndex)
        store.ExecuteSql(QStringLiteral("drop index P_DATA_USER_DAY"));
    const QDate first(2000, 1, 1);
    state.SetLabel(QueryPlan(store, SqlDeleteDay(1, first)));

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
    ImportThousandDays(state, true);
}
BENCHMARK(BM_ImportThousandDays)->Unit(benchmark::kMillisecond);

void BM_ImportThousandDaysWithoutDayIndex(benchmark::State& state) {
    ImportThousandDays(state, false);
}
BENCHMARK(BM_ImportThousandDaysWithoutDayIndex)->Unit(benchmark::kMillisecond);

// Goal: at most 50 ms each. P_DATA holds 100,000 rows (ten users, 10,000 days each); the list's
// and the chart's statement read ten years (3,653 rows) of user 1, every column of every row.
void ReadTenYears(benchmark::State& state, QString (*statementFor)(int, const QDate&, const QDate&)) {
    QTemporaryDir folder;
    TdmMain store(folder.filePath(QStringLiteral("db")), QString());
    store.DataModuleCreate();
    FillDays(store, 10000);
    const QDate from(2010, 1, 1);
    const QString statement = statementFor(1, from, from.addYears(10).addDays(-1));
    state.SetLabel(QueryPlan(store, statement));
    qint64 rows = 0;
    for (auto _ : state) {
        const TRowSet read = store.SelectRows(statement);
        for (const TDataRow& row : read)
            benchmark::DoNotOptimize(row.AsString(QStringLiteral("WEIGHT")));
        rows = static_cast<qint64>(read.size());
    }
    state.counters["rows"] = static_cast<double>(rows);
}

void BM_ListTenYears(benchmark::State& state) {
    ReadTenYears(state, SqlListRange);
}
BENCHMARK(BM_ListTenYears)->Unit(benchmark::kMillisecond);

void BM_ChartTenYears(benchmark::State& state) {
    ReadTenYears(state, SqlChartRange);
}
BENCHMARK(BM_ChartTenYears)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks(argc, argv);
}
