// SPDX-License-Identifier: MIT
// The report of one year of daily measurements: reading the range, computing its figures and
// writing both PDF pages with their charts (goal: 1 s), and the PDF alone.
#include "RunBenchmarks.h"
#include "core/Globals.h"
#include "lang/LangMgr.h"
#include "report/ReportContent.h"
#include "report/ReportPdf.h"
#include "store/TdmMain.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

const QDate Today(2024, 3, 31);
constexpr int OneYear = 365;

// The English texts and a database holding one measurement a day for days days up to Today for
// user 1, with a profile.
class ReportSetup {
public:
    explicit ReportSetup(int days) {
        LangMgr().LoadLanguageList(QStringLiteral(BFS_LANG_DIR) + QLatin1Char('/'), false);
        LangMgr().SetLanguage(QStringLiteral("English"));
        Globals.SettingsPath = folder_.filePath(QStringLiteral("my.ini"));
        store_ = std::make_unique<TdmMain>(folder_.filePath(QStringLiteral("db")), QString());
        store_->DataModuleCreate();
        store_->ExecuteSql(
            QStringLiteral("insert into P_DATA(USER_ID, THE_DATE, WEIGHT, FAT, TBW, MUS, BONE) "
                           "with recursive n(i) as (select 0 union all select i + 1 from n where i < %1) "
                           "select 1, date('2024-03-31', '-' || i || ' days'), 70 + (i % 40) / 10.0, "
                           "20 + (i % 30) / 10.0, 55, 40, 3 from n")
                .arg(days - 1));
        store_->ExecuteSql(
            QStringLiteral("update P_USERS set SEX = 1, BIRTHDAY = '1980-05-06', HEIGHT = 168, "
                           "HEIGHT_EN = 66 where USER_ID = 1"));
        from_ = Today.addDays(1 - days);
    }

    TReportContent Read() const { return ReadReportContent(*store_, 1, true, from_, Today, Today); }
    QString Target() const { return folder_.filePath(QStringLiteral("report.pdf")); }

private:
    QTemporaryDir folder_;
    std::unique_ptr<TdmMain> store_;
    QDate from_;
};

void BM_ReportOfAYear(benchmark::State& state) {
    const ReportSetup setup(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const TReportContent content = setup.Read();
        if (content.Days.size() != static_cast<size_t>(state.range(0)) ||
            !SaveReportPdf(content, setup.Target()))
            state.SkipWithError("the report was not written");
    }
}
BENCHMARK(BM_ReportOfAYear)->Arg(OneYear)->Unit(benchmark::kMillisecond);

void BM_ReportPdfOfAYear(benchmark::State& state) {
    const ReportSetup setup(static_cast<int>(state.range(0)));
    const TReportContent content = setup.Read();
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        WriteReportPdf(content, buffer);
        benchmark::DoNotOptimize(buffer.size());
    }
}
BENCHMARK(BM_ReportPdfOfAYear)->Arg(OneYear)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks(argc, argv);
}
