// SPDX-License-Identifier: MIT
#include "report/ReportPdf.h"

#include "charts/MeasurementCharts.h"
#include "charts/StatisticsTable.h"
#include "charts/TChart.h"
#include "core/AppError.h"
#include "core/AtomicFile.h"
#include "core/ErrorHandler.h"
#include "core/Units.h"
#include "insight/Body.h"
#include "lang/LangMgr.h"
#include "records/FormatText.h"
#include "report/ReportTable.h"

#include <QChart>
#include <QFontMetricsF>
#include <QLegend>
#include <QLineSeries>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

namespace {

constexpr int Resolution = 720; // device units per inch: ten per point
constexpr double Point = Resolution / 72.0;
constexpr double Millimetre = Resolution / 25.4;
constexpr double MarginMm = 16;
// Days shown one by one in the charts; a longer range is drawn as weekly means.
constexpr size_t MostChartDays = 120;
// The charts are laid out at this many screen pixels per millimetre of paper, so that their
// texts come out at about seven points.
constexpr double ChartPixelsPerMm = 4.4;

const QString Dash = QStringLiteral("\u2013");
const QColor Grey(90, 90, 90);
const QColor SectionColour(20, 50, 90);

QString DayText(const QDate& day) {
    return day.toString(QStringLiteral("yyyy-MM-dd"));
}

QString RangeText(const QDate& from, const QDate& to) {
    return QStringLiteral("%1 %2 %3").arg(DayText(from), Dash, DayText(to));
}

QString Number(double value) {
    return QString::number(value, 'f', 1);
}

const char* GenderKey(int index) {
    switch (index) {
    case 1:
        return "ReportFemale";
    case 2:
        return "ReportMaleAthlete";
    case 3:
        return "ReportFemaleAthlete";
    default:
        return "ReportMale";
    }
}

QFont TextFont(double points, bool bold = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    // Any letter spacing turns ligatures off, so that "fi" is searched and copied as two letters.
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.05);
    return font;
}

// The pages as they are filled from the top down, in device units.
class TReportPages {
public:
    TReportPages(QPdfWriter& writer, const TReportContent& content)
        : writer_(writer), painter_(&writer), content_(content) {
        painter_.setRenderHint(QPainter::Antialiasing);
        const QRectF page(QPointF(), QSizeF(writer.width(), writer.height()));
        area_ = page.adjusted(MarginMm * Millimetre, MarginMm * Millimetre, -MarginMm * Millimetre,
                              -MarginMm * Millimetre);
        top_ = area_.top();
    }

    void Write() {
        if (!painter_.isActive())
            throw AppError(QStringLiteral("The PDF writer cannot start"));
        Header();
        Person();
        Latest();
        Change();
        Means();
        Footer(1);
        writer_.newPage();
        top_ = area_.top();
        RunningHeader();
        Charts();
        Footer(2);
        painter_.end();
    }

private:
    double Width() const { return area_.width(); }
    double Left() const { return area_.left(); }

    // One line of text at the top of the room left; returns its height.
    double Line(const QString& text, const QFont& font, const QColor& colour,
                Qt::Alignment side = Qt::AlignLeft) {
        painter_.setFont(font);
        painter_.setPen(colour);
        const QFontMetricsF metrics(font, &writer_);
        const QRectF box(Left(), top_, Width(), metrics.height());
        painter_.drawText(box, static_cast<int>(side | Qt::AlignTop | Qt::TextSingleLine),
                          metrics.elidedText(text, Qt::ElideRight, Width()));
        return metrics.height();
    }
    // Text that wraps within the width.
    void Paragraph(const QString& text, const QFont& font, const QColor& colour) {
        painter_.setFont(font);
        painter_.setPen(colour);
        const QRectF bounds(Left(), top_, Width(), area_.bottom() - top_);
        QRectF used;
        painter_.drawText(bounds, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text, &used);
        top_ += used.height();
    }
    void Gap(double mm) { top_ += mm * Millimetre; }
    void Rule(double widthPoints, const QColor& colour) {
        painter_.setPen(QPen(colour, widthPoints * Point));
        painter_.drawLine(QPointF(Left(), top_), QPointF(area_.right(), top_));
    }
    void Section(const QString& title) {
        Gap(5);
        top_ += Line(title, TextFont(12, true), SectionColour);
        Gap(0.8);
        Rule(0.5, SectionColour);
        Gap(2);
    }
    double SectionHeight() const {
        return QFontMetricsF(TextFont(12, true), &writer_).height() + 7.8 * Millimetre;
    }
    double ParagraphHeight(const QString& text, const QFont& font) const {
        return QFontMetricsF(font, &writer_)
            .boundingRect(QRectF(0, 0, Width(), area_.height()), Qt::AlignLeft | Qt::TextWordWrap, text)
            .height();
    }
    void Table(const TPrintTable& table) {
        const TTableLayout layout(table, TextFont(9), Width(), &writer_);
        layout.Draw(painter_, Left(), top_);
        top_ += layout.Height();
    }

    void Header() {
        const double small = Line(ApplicationTitle, TextFont(9), Grey);
        Line(TextWith("ReportMadeOn", DayText(content_.MadeOn)), TextFont(9), Grey, Qt::AlignRight);
        top_ += small;
        Gap(1.5);
        top_ += Line(GetText("ReportTitle"), TextFont(20, true), Qt::black);
        Gap(1);
        top_ += Line(TextWith("ReportPeriod", RangeText(content_.From, content_.To)) +
                         QStringLiteral("   \u00b7   ") +
                         TextWith("ReportMeasuredDays", static_cast<int>(content_.Days.size())),
                     TextFont(11), Qt::black);
        Gap(2);
        Rule(1, Qt::black);
    }

    // Name, age, gender, height and unit as captions above their values, side by side; the name
    // takes what the others leave.
    void Person() {
        Section(GetText("ReportPerson"));
        const TOverviewProfile& profile = content_.Profile;
        QString height = Dash;
        if (profile.Known)
            height = content_.Metric ? QStringLiteral("%1 %2").arg(profile.HeightCm).arg(GetText("UnitCM"))
                                     : InchToFeetText(content_.HeightInches);
        const std::vector<std::pair<QString, QString>> fields = {
            {GetText("ReportName"), content_.UserName},
            {GetText("ReportAge"),
             profile.Known ? TextWith("ReportAgeYears", AgeInYears(profile.Birthday, content_.MadeOn))
                           : Dash},
            {GetText("ReportGender"), profile.Known ? GetText(GenderKey(profile.GenderIndex)) : Dash},
            {GetText("ReportHeight"), height},
            {GetText("ReportUnit"), GetText(content_.Metric ? "KG" : "LB")},
        };
        const double gap = 6 * Millimetre;
        const QFontMetricsF valueMetrics(TextFont(11, true), &writer_);
        std::vector<double> widths;
        for (const auto& [name, text] : fields)
            widths.push_back(std::max(QFontMetricsF(TextFont(8.5), &writer_).horizontalAdvance(name),
                                      valueMetrics.horizontalAdvance(text)));
        // The others as wide as their texts, but at least a sixth of the line, so that they do not
        // huddle at its end; the name takes the rest, or a line of its own when it is longer.
        double others = gap * static_cast<double>(widths.size() - 1);
        for (size_t i = 1; i < widths.size(); ++i) {
            widths[i] = std::max(widths[i], Width() / 6);
            others += widths[i];
        }
        if (widths[0] <= Width() - others) {
            widths[0] = Width() - others;
            FieldRow(fields, widths, gap);
            return;
        }
        FieldRow({fields.front()}, {Width()}, gap);
        Gap(2);
        FieldRow({fields.begin() + 1, fields.end()}, {widths.begin() + 1, widths.end()}, gap);
    }

    // Captions above their values, side by side in columns of widths; the last column takes the
    // rest of the line. A value too long for its column is set smaller, down to nine points.
    void FieldRow(const std::vector<std::pair<QString, QString>>& fields, const std::vector<double>& widths,
                  double gap) {
        const QFont caption = TextFont(8.5);
        const QFontMetricsF captionMetrics(caption, &writer_);
        const double valueHeight = QFontMetricsF(TextFont(11, true), &writer_).height();
        double x = Left();
        for (size_t i = 0; i < fields.size(); ++i) {
            const double width = i + 1 == fields.size() ? Left() + Width() - x : widths[i];
            QFont value = TextFont(11, true);
            while (value.pointSizeF() > 9 &&
                   QFontMetricsF(value, &writer_).horizontalAdvance(fields[i].second) > width)
                value.setPointSizeF(value.pointSizeF() - 0.5);
            const QFontMetricsF valueMetrics(value, &writer_);
            // On common baselines, so that a value in a fallback font (Chinese, Japanese) lines up.
            painter_.setFont(caption);
            painter_.setPen(Grey);
            painter_.drawText(QPointF(x, top_ + captionMetrics.ascent()),
                              captionMetrics.elidedText(fields[i].first, Qt::ElideRight, width));
            painter_.setFont(value);
            painter_.setPen(Qt::black);
            painter_.drawText(QPointF(x, top_ + captionMetrics.height() + valueMetrics.ascent()),
                              valueMetrics.elidedText(fields[i].second, Qt::ElideRight, width));
            x += width + gap;
        }
        top_ += captionMetrics.height() + valueHeight;
    }

    // The latest day's values, named as the statistics name them, with BMI and its band.
    void Latest() {
        const TOverviewFigures& figures = content_.Figures;
        Section(GetText("ReportLatest"));
        if (!figures.Latest)
            return;
        const TDayMean& latest = *figures.Latest;
        top_ += Line(TextWith("OverviewMeasuredOn", DayText(latest.Day)), TextFont(9.5), Qt::black);
        Gap(1.5);
        TPrintTable table;
        for (const QStringList& row : StatisticsRows({}, content_.Metric))
            table.Heading << row.first();
        // Measured masses in pounds by the scale's own table, as the measurement list shows them.
        const auto mass = [this](double kg) { return Number(content_.Metric ? kg : KgToLb(kg)); };
        QStringList values{mass(latest.Weight), Number(latest.Fat), Number(latest.Tbw), Number(latest.Mus),
                           mass(latest.Bone)};
        if (figures.Bmi) {
            table.Heading << GetText("ReportBmi") << GetText("ReportBmiBand");
            values << Number(*figures.Bmi) << GetText(BmiBandInfo(figures.BmiBand).TextKey);
        }
        // The first column is the one left-aligned: here every column is a value.
        table.Heading.prepend(GetText("Date"));
        values.prepend(DayText(latest.Day));
        table.Rows.push_back(values);
        Table(table);
        if (!figures.Bmi) {
            Gap(1.5);
            Paragraph(GetText("OverviewNeedsProfile"), TextFont(9), Grey);
        }
    }

    void Change() {
        Section(GetText("ReportChange"));
        TPrintTable table{StatisticsHeading(),
                          StatisticsRows(InShownUnit(content_.Days, content_.Metric), content_.Metric)};
        Table(table);
    }

    // The weekly means in what is left of the first page; months, or the latest months, when the
    // weeks do not fit, with a note that says so.
    void Means() {
        const QFont noteFont = TextFont(9);
        const std::vector<TDayMean> days = InShownUnit(content_.Days, content_.Metric);
        // The row height does not depend on the rows' texts: a table of the heading alone tells it.
        const TPrintTable probe{MeansHeading(content_.Metric), {}};
        const double rowHeight = TTableLayout(probe, TextFont(9), Width(), &writer_).RowHeight();
        // Room for the heading and the longer of the notes, however they wrap.
        double noteHeight = 0;
        for (const QString& note : {GetText("ReportWeeksDoNotFit"), TextWith("ReportRecentMonths", 999)})
            noteHeight = std::max(noteHeight, ParagraphHeight(note, noteFont));
        const double headingHeight = SectionHeight() + noteHeight + 1.5 * Millimetre;
        const double room = area_.bottom() - FooterHeight() - top_ - headingHeight;
        const auto rows = static_cast<size_t>(std::max(0.0, room / rowHeight - 1));
        const TReportMeans means = ChooseReportMeans(days, std::max<size_t>(rows, 1));
        Section(GetText(means.Kind == TPeriod::Week ? "ReportWeeklyMeans" : "ReportMonthlyMeans"));
        if (means.Kind == TPeriod::Month) {
            Paragraph(means.LeftOut > 0 ? TextWith("ReportRecentMonths", static_cast<int>(means.Means.size()))
                                        : GetText("ReportWeeksDoNotFit"),
                      noteFont, Grey);
            Gap(1.5);
        }
        Table({MeansHeading(content_.Metric), MeansRows(means.Means, means.Kind)});
    }

    // Who and when on the left, the title on the right; the title goes below when both do not fit.
    void RunningHeader() {
        const QFont font = TextFont(9);
        const QFontMetricsF metrics(font, &writer_);
        const QString who =
            QStringLiteral("%1   \u00b7   %2").arg(content_.UserName, RangeText(content_.From, content_.To));
        const QString title = GetText("ReportTitle");
        const double height = Line(who, font, Grey);
        if (metrics.horizontalAdvance(who) + metrics.horizontalAdvance(title) + 6 * Millimetre > Width())
            top_ += height;
        top_ += Line(title, font, Grey, Qt::AlignRight);
        Gap(1.5);
        Rule(0.5, Grey);
    }

    // Both charts of the chart view, drawn straight onto the page so that they stay vectors.
    void Charts() {
        Section(GetText("ReportCharts"));
        const double gap = 6 * Millimetre;
        const double height = (area_.bottom() - FooterHeight() - 2 * Millimetre - top_ - gap) / 2;
        const QSize pixels(qRound(Width() / Millimetre * ChartPixelsPerMm),
                           qRound(height / Millimetre * ChartPixelsPerMm));
        TChart weight;
        TChart composition;
        for (TChart* chart : {&weight, &composition}) {
            chart->setAttribute(Qt::WA_DontShowOnScreen);
            chart->resize(pixels);
            chart->show();
            chart->chart()->setBackgroundBrush(Qt::white);
        }
        TMeasurementCharts charts(&weight, &composition);
        charts.ComposeTexts();
        const TPeriod period = content_.Days.size() > MostChartDays ? TPeriod::Week : TPeriod::Day;
        charts.ShowDays(content_.Days, period, content_.Metric, true, std::nullopt, content_.From,
                        content_.To);
        ForPrint(charts);
        weight.Draw(painter_, QRectF(Left(), top_, Width(), height), false);
        top_ += height + gap;
        composition.Draw(painter_, QRectF(Left(), top_, Width(), height), false);
        top_ += height;
    }

    // Lines told apart by their dashes as well as their colours, so that a black-and-white print
    // still tells which is which; markers drawn as vector circles.
    static void ForPrint(const TMeasurementCharts& charts) {
        const auto style = [](QLineSeries* series, Qt::PenStyle dashes, double width) {
            QPen pen = series->pen();
            pen.setStyle(dashes);
            pen.setWidthF(width);
            series->setPen(pen);
        };
        for (QLineSeries* series :
             {charts.srsWeight(), charts.srsBone(), charts.srsFat(), charts.srsTBW(), charts.srsMus()}) {
            series->setLightMarker(QImage());
            series->setMarkerSize(4);
            series->setPointsVisible(true);
        }
        // The legend shows each line with its dashes.
        for (TChart* chart : {charts.Weight(), charts.Composition()})
            chart->chart()->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
        style(charts.srsWeight(), Qt::SolidLine, 1.2);
        style(charts.srsBone(), Qt::DashLine, 1.2);
        style(charts.srsFat(), Qt::SolidLine, 1.2);
        style(charts.srsTBW(), Qt::DashLine, 1.2);
        style(charts.srsMus(), Qt::DotLine, 1.4);
    }

    double FooterHeight() const { return QFontMetricsF(TextFont(8), &writer_).height() + 2 * Millimetre; }

    void Footer(int page) {
        const QFont font = TextFont(8);
        const double height = QFontMetricsF(font, &writer_).height();
        const double saved = top_;
        top_ = area_.bottom() - height;
        Line(QStringLiteral("%1   \u00b7   %2").arg(ApplicationTitle, content_.UserName), font, Grey);
        Line(QStringLiteral("%1 / 2").arg(page), font, Grey, Qt::AlignRight);
        top_ = saved;
    }

    QPdfWriter& writer_;
    QPainter painter_;
    const TReportContent& content_;
    QRectF area_;
    double top_ = 0;
};

} // namespace

void WriteReportPdf(const TReportContent& content, QIODevice& device) {
    QPdfWriter writer(&device);
    writer.setResolution(Resolution);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(QStringLiteral("%1 %2 %3").arg(GetText("ReportTitle"), Dash, content.UserName));
    writer.setCreator(ApplicationTitle);
    TReportPages(writer, content).Write();
}

bool SaveReportPdf(const TReportContent& content, const QString& path) {
    try {
        WriteFileAtomically(path, [&](QIODevice& out) { WriteReportPdf(content, out); });
    } catch (const AppError&) {
        return false;
    }
    return true;
}
