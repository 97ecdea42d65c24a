// SPDX-License-Identifier: MIT
// The report of one year of daily measurements: reading the range, computing its figures and
// writing both PDF pages with their charts (goal: 1 s), and the PDF alone.
#include "DailyStore.h"
#include "RunBenchmarks.h"
#include "report/ReportContent.h"
#include "report/ReportPdf.h"

#include <QBuffer>
#include <benchmark/benchmark.h>

namespace {

const QDate Today(2024, 3, 31);
constexpr int OneYear = 365;

// One measurement a day for days days up to Today, with a profile.
class ReportSetup {
public:
    explicit ReportSetup(int days) : data_(days, Today), from_(Today.addDays(1 - days)) {}

    TReportContent Read() const { return ReadReportContent(data_.Store(), 1, true, from_, Today, Today); }
    QString Target() const { return data_.FilePath(QStringLiteral("report.pdf")); }

private:
    TDailyStore data_;
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
