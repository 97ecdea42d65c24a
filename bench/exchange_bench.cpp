// SPDX-License-Identifier: MIT
// CSV out and in, and the backup of a large database.
#include "RunBenchmarks.h"
#include "exchange/DatabaseBackup.h"
#include "exchange/MeasurementCsv.h"
#include "exchange/MeasurementCsvReader.h"
#include "exchange/MeasurementImport.h"
#include "store/Statements.h"
#include "store/TdmMain.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

std::vector<TDayMean> Days(int count) {
    std::vector<TDayMean> days;
    const QDate first(1900, 1, 1);
    for (int i = 0; i < count; ++i)
        days.push_back({first.addDays(i), 60 + (i % 400) / 10.0, 20.1, 55.2, 40.3, 3.1});
    return days;
}

// Goal: at most 100 ms for the most rows the spreadsheet can hold (65,535), written to a file.
void BM_CsvExport(benchmark::State& state) {
    QTemporaryDir folder;
    const std::vector<TDayMean> days = Days(65535);
    const TCsvUnit unit = state.range(0) ? TCsvUnit::Pounds : TCsvUnit::Kilograms;
    for (auto _ : state) {
        QSaveFile out(folder.filePath(QStringLiteral("out.csv")));
        out.open(QIODevice::WriteOnly);
        out.write(WriteMeasurementCsv(days, unit));
        benchmark::DoNotOptimize(out.commit());
    }
}
BENCHMARK(BM_CsvExport)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Goal: at most 500 ms to read a file of 36,500 days, preview it and save it into a database that
// already holds ten years of every other user and half of the days imported.
void BM_CsvImport(benchmark::State& state) {
    QTemporaryDir folder;
    const std::vector<TDayMean> days = Days(36500);
    const QString file = folder.filePath(QStringLiteral("in.csv"));
    {
        QFile out(file);
        out.open(QIODevice::WriteOnly);
        out.write(WriteMeasurementCsv(days, TCsvUnit::Kilograms));
    }
    TdmMain store(folder.filePath(QStringLiteral("db")), QString());
    store.DataModuleCreate();
    const std::vector<TDayMean> others = Days(3650);
    for (int user = 2; user <= 10; ++user)
        SaveImportedDays(store, user, others);
    for (auto _ : state) {
        state.PauseTiming();
        store.ExecuteSql(QStringLiteral("delete from P_DATA where USER_ID = 1"));
        SaveImportedDays(store, 1, std::vector<TDayMean>(days.begin(), days.begin() + 18250));
        state.ResumeTiming();
        const TCsvMeasurements read = ReadMeasurementCsvFile(file);
        const TImportPreview preview = PreviewImport(store, 1, read.Days);
        SaveImportedDays(store, 1, read.Days);
        benchmark::DoNotOptimize(preview);
    }
}
BENCHMARK(BM_CsvImport)->Unit(benchmark::kMillisecond)->Iterations(5);

// The reading alone, the part of the import that does not depend on the disk.
void BM_CsvRead(benchmark::State& state) {
    const QByteArray csv = WriteMeasurementCsv(Days(36500), TCsvUnit::Kilograms);
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadMeasurementCsv(csv));
}
BENCHMARK(BM_CsvRead)->Unit(benchmark::kMillisecond);

// Goal: at most 200 ms for a consistent copy of a database of 100,000 measurements.
void BM_Backup(benchmark::State& state) {
    QTemporaryDir folder;
    TdmMain store(folder.filePath(QStringLiteral("db")), QString());
    store.DataModuleCreate();
    const std::vector<TDayMean> days = Days(10000);
    for (int user = 1; user <= 10; ++user)
        SaveImportedDays(store, user, days);
    const QString target = folder.filePath(QStringLiteral("copy.DB"));
    for (auto _ : state)
        BackupDatabase(store, target);
    state.SetLabel(std::to_string(QFile(target).size() / 1024) + " KiB");
}
BENCHMARK(BM_Backup)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks(argc, argv);
}
