// SPDX-License-Identifier: MIT
// The measurement list reading ten years and 100,000 rows, and the export of the largest sheet.
#include "RunBenchmarks.h"
#include "core/Clock.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/MessageBox.h"
#include "lang/LangMgr.h"
#include "records/TMeasurementListModel.h"
#include "records/TfrmMyData.h"
#include "store/TdmMain.h"

#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

const QDate Today(2024, 3, 31);

// A language, a database of rows measurements of user 1 spread over days days up to Today, and
// the list open over all of them in an MDI area.
class ListSetup {
public:
    ListSetup(int rows, int days) {
        QDir().mkpath(folder_.filePath(QStringLiteral("Lang")));
        QFile language(folder_.filePath(QStringLiteral("Lang/bench.xml")));
        language.open(QIODevice::WriteOnly);
        language.write(
            "<?xml version=\"1.0\" encoding=\"utf-8\"?><Root><Language Name=\"Bench\" LangId=\"1033\"/>"
            "<Text><KG>KG</KG><LB>LB</LB><FmtRecordCnt>%d record(s)</FmtRecordCnt>"
            "<Date>Date</Date><WeightKG>Weight (kg)</WeightKG><FAT>FAT</FAT><TBW>TBW</TBW>"
            "<MUS>MUS</MUS><BONE>BONE</BONE><Notify>Notify</Notify></Text></Root>");
        language.close();
        LangMgr().LoadLanguageList(folder_.filePath(QStringLiteral("Lang")) + QLatin1Char('/'), false);
        LangMgr().SetLanguage(QStringLiteral("Bench"));

        store_ = std::make_unique<TdmMain>(folder_.filePath(QStringLiteral("db")), QString());
        store_->DataModuleCreate();
        SetDataModule(store_.get());
        store_->ExecuteSql(
            QStringLiteral("insert into P_DATA(USER_ID, THE_DATE, WEIGHT, FAT, TBW, MUS, BONE) "
                           "with recursive n(i) as (select 0 union all select i + 1 from n where i < %1) "
                           "select 1, date('2024-03-31', '-' || (i % %2) || ' days'), 60 + (i % 400) / 10.0, "
                           "15 + (i % 200) / 10.0, 50 + (i % 100) / 10.0, 35 + (i % 90) / 10.0, "
                           "2 + (i % 30) / 10.0 from n")
                .arg(rows - 1)
                .arg(days));
        Globals.CurrentUserId = 1;
        SetClock([] { return QDateTime(Today, QTime(12, 0)); });

        area_.resize(1024, 768);
        area_.show();
        form_ = ShowMyData(&area_);
        form_->findChild<QDateEdit*>(QStringLiteral("dtpFrom"))->setDate(Today.addDays(-days));
        form_->RefreshList();
        if (form_->Model()->rowCount() != rows)
            qFatal("expected %d listed rows, found %d", rows, form_->Model()->rowCount());
    }
    ~ListSetup() { SetDataModule(nullptr); }

    TfrmMyData* Form() const { return form_; }
    QString FilePath(const QString& name) const { return folder_.filePath(name); }

private:
    QTemporaryDir folder_;
    std::unique_ptr<TdmMain> store_;
    QMdiArea area_;
    TfrmMyData* form_ = nullptr;
};

void RefreshList(benchmark::State& state, int unit) {
    const int rows = static_cast<int>(state.range(0));
    ListSetup setup(rows, std::min(rows, 3650));
    Globals.CurrentUnit = unit;
    for (auto _ : state) {
        setup.Form()->RefreshList();
        benchmark::DoNotOptimize(setup.Form()->Model()->rowCount());
    }
    state.SetItemsProcessed(state.iterations() * rows);
}

void BM_RefreshListKg(benchmark::State& state) {
    RefreshList(state, 0);
}
BENCHMARK(BM_RefreshListKg)->Arg(3650)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_RefreshListLb(benchmark::State& state) {
    RefreshList(state, 1);
}
BENCHMARK(BM_RefreshListLb)->Arg(3650)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ExportToXls(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    ListSetup setup(rows, 3650);
    Globals.CurrentUnit = 0;
    // Every export after the first replaces the file, with the person's consent.
    const MessageBoxHook previous =
        SetMessageBoxHook([](QWidget*, const QString&, const QString&, int) { return int(IDOK); });
    const QString file = setup.FilePath(QStringLiteral("bench.xls"));
    for (auto _ : state)
        setup.Form()->ExportToXls(file);
    state.counters["bytes"] = static_cast<double>(QFile(file).size());
    SetMessageBoxHook(previous);
}
BENCHMARK(BM_ExportToXls)->Arg(65535)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks(argc, argv);
}
