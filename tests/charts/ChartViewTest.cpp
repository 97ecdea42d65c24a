// SPDX-License-Identifier: MIT
#include "ChartsFixture.h"

#include "core/ErrorHandler.h"
#include "core/Units.h"

#include <QDateEdit>
#include <QDateTimeAxis>
#include <QFileInfo>
#include <QImage>
#include <QLegend>
#include <QLegendMarker>
#include <QPushButton>
#include <QTest>
#include <QValueAxis>

namespace {

using ChartViewTest = ChartsTest;

QDateEdit* DateEdit(TfrmChat* form, const char* name) {
    return form->findChild<QDateEdit*>(QString::fromLatin1(name));
}

void Click(TfrmChat* form, const char* button) {
    form->findChild<QPushButton*>(QString::fromLatin1(button))->click();
}

QList<QDate> DaysOf(QLineSeries* series) {
    QList<QDate> days;
    for (const QPointF& point : series->points())
        days.append(TChart::XToDay(point.x()));
    return days;
}

QList<double> ValuesOf(QLineSeries* series) {
    QList<double> values;
    for (const QPointF& point : series->points())
        values.append(point.y());
    return values;
}

TEST_F(ChartViewTest, OnePointPerDayHoldingTheMeanOfThatDaysRows) {
    Add(Today.addDays(-5), 70.0, 20.0, 50.0, 40.0, 3.0);
    Add(Today.addDays(-5), 71.0, 21.0, 51.0, 41.0, 3.2);
    Add(Today.addDays(-5), 72.0, 22.0, 52.0, 42.0, 3.4);
    Add(Today.addDays(-4), 80.0, 30.0, 60.0, 45.0, 4.0);
    Add(Today.addDays(-4), 99.0, 40.0, 40.0, 40.0, 9.0, /*user*/ 2);

    TfrmChat* form = Open();
    const QList<QDate> days{Today.addDays(-5), Today.addDays(-4)};
    for (QLineSeries* series :
         {form->srsWeight(), form->srsBone(), form->srsFat(), form->srsTBW(), form->srsMus()})
        EXPECT_EQ(DaysOf(series), days) << series->objectName().toStdString();
    EXPECT_EQ(ValuesOf(form->srsWeight()), QList<double>({71.0, 80.0}));
    EXPECT_EQ(ValuesOf(form->srsFat()), QList<double>({21.0, 30.0}));
    EXPECT_EQ(ValuesOf(form->srsTBW()), QList<double>({51.0, 60.0}));
    EXPECT_EQ(ValuesOf(form->srsMus()), QList<double>({41.0, 45.0}));
    ASSERT_EQ(ValuesOf(form->srsBone()).size(), 2);
    EXPECT_DOUBLE_EQ(ValuesOf(form->srsBone())[0], 3.2);
    // A point stands for its day: it lies inside the bottom axis' range.
    const QDateTimeAxis* axis = form->chtWeight()->AxisBottom();
    EXPECT_LE(axis->min().toMSecsSinceEpoch(), form->srsWeight()->at(0).x());
    EXPECT_GE(axis->max().toMSecsSinceEpoch(), form->srsWeight()->at(1).x());
}

TEST_F(ChartViewTest, BothEndsOfTheRangeAreIncluded) {
    Add(Today.addDays(-31), 60.0);
    Add(Today.addDays(-30), 61.0);
    Add(Today, 62.0);
    Add(Today.addDays(1), 63.0);
    TfrmChat* form = Open();
    EXPECT_EQ(DateEdit(form, "dtpFrom")->date(), Today.addDays(-30));
    EXPECT_EQ(DateEdit(form, "dtpTo")->date(), Today);
    EXPECT_EQ(ValuesOf(form->srsWeight()), QList<double>({61.0, 62.0}));

    DateEdit(form, "dtpFrom")->setDate(Today.addDays(1));
    DateEdit(form, "dtpTo")->setDate(Today.addDays(1));
    Click(form, "btnFilter");
    EXPECT_EQ(ValuesOf(form->srsWeight()), QList<double>({63.0}));
}

TEST_F(ChartViewTest, PoundsConvertTheDaysMeanNotItsRowsAndLeavePercentagesAlone) {
    Globals.CurrentUnit = 1;
    Add(Today.addDays(-2), 70.0, 20.0, 50.0, 40.0, 3.0);
    Add(Today.addDays(-1), 70.0, 20.0, 50.0, 40.0, 3.0);
    Add(Today.addDays(-1), 70.1, 21.0, 51.0, 41.0, 3.1);
    TfrmChat* form = Open();

    EXPECT_EQ(form->chtWeight()->LeftAxisTitle(), "Weight  Unit:LB");
    const QList<double> weights = ValuesOf(form->srsWeight());
    ASSERT_EQ(weights.size(), 2);
    EXPECT_DOUBLE_EQ(weights[0], 154.4); // 70.0 kg, not 154.32
    EXPECT_DOUBLE_EQ(weights[1], KgToLb(70.05));
    EXPECT_NE(weights[1], (KgToLb(70.0) + KgToLb(70.1)) / 2);
    EXPECT_DOUBLE_EQ(ValuesOf(form->srsBone())[0], KgToLb(3.0));
    EXPECT_EQ(ValuesOf(form->srsFat()), QList<double>({20.0, 20.5}));
    EXPECT_EQ(ValuesOf(form->srsTBW()), QList<double>({50.0, 50.5}));
}

TEST_F(ChartViewTest, TitlesComeFromTheLanguageAndTheWeightAxisShowsTheUnit) {
    UseLanguage({{"ChatTitleWeight", QString()}, {"ChatTitleBMI", "Body"}, {"WeightUnitKG", "kg!"}});
    TfrmChat* form = Open();
    EXPECT_EQ(form->chtWeight()->Title(), ""); // the key is missing
    EXPECT_EQ(form->chtBMI()->Title(), "Body");
    EXPECT_EQ(form->chtWeight()->LeftAxisTitle(), "kg!");
    EXPECT_EQ(form->chtBMI()->LeftAxisTitle(), "FAT/TBW/MUS");
    EXPECT_EQ(form->parentWidget()->windowTitle(), "Chart");
}

TEST_F(ChartViewTest, ALanguageSwitchComposesTitlesAxesAndLegendAgain) {
    Globals.CurrentUnit = 1;
    TfrmChat* form = Open();
    EXPECT_EQ(form->chtWeight()->LeftAxisTitle(), "Weight  Unit:LB");

    UseLanguage({{"ChatTitleWeight", "Gewicht"},
                 {"ChatTitleBMI", "Fett, Wasser, Muskeln"},
                 {"WeightUnitLB", "Gewicht (lb)"},
                 {"ChatBMILeftAxis", "Prozent"},
                 {"ChatSeriesWeight", "Gewicht"},
                 {"ChatSeriesBone", "Knochen"},
                 {"ChatSeriesFat", "Fett"},
                 {"ChatSeriesTBW", "Wasser"},
                 {"ChatSeriesMus", "Muskeln"},
                 {"BoneUnitLB", "Knochen (lb)"},
                 {"ChatTrendWeight", "Gewichtstrend"},
                 {"ChatTrendFat", "Fetttrend"}});
    EXPECT_EQ(form->chtWeight()->Title(), "Gewicht");
    EXPECT_EQ(form->chtBMI()->Title(), "Fett, Wasser, Muskeln");
    // The axis keeps naming the unit of the points it shows.
    EXPECT_EQ(form->chtWeight()->LeftAxisTitle(), "Gewicht (lb)");
    EXPECT_EQ(form->chtBMI()->LeftAxisTitle(), "Prozent");
    EXPECT_EQ(form->chtWeight()->RightAxisTitle(), "Knochen (lb)");
    const auto legend = [](TChart* chart) {
        QStringList labels;
        for (const QLegendMarker* marker : chart->chart()->legend()->markers())
            if (marker->isVisible()) // the goal line's entry shows only with a goal
                labels << marker->label();
        return labels;
    };
    EXPECT_EQ(legend(form->chtWeight()), QStringList({"Gewicht", "Knochen", "Gewichtstrend"}));
    EXPECT_EQ(legend(form->chtBMI()), QStringList({"Fett", "Wasser", "Muskeln", "Fetttrend"}));
}

TEST_F(ChartViewTest, BeforeTheFirstLoadALanguageSwitchKeepsTheDesignAxisText) {
    auto* form = new TfrmChat;
    form->FormCreate();
    UseLanguage({{"ChatWeightLeftAxis", "Achse"}});
    EXPECT_EQ(form->chtWeight()->LeftAxisTitle(), "Achse");
    delete form;
}

TEST_F(ChartViewTest, NoRowsOrABackwardRangeGiveEmptyChartsWithTheUnitStillShown) {
    Add(Today.addDays(-3), 70.0);
    TfrmChat* form = Open();
    DateEdit(form, "dtpFrom")->setDate(Today);
    DateEdit(form, "dtpTo")->setDate(Today.addDays(-10));
    Click(form, "btnFilter");
    for (QLineSeries* series :
         {form->srsWeight(), form->srsBone(), form->srsFat(), form->srsTBW(), form->srsMus()})
        EXPECT_EQ(series->count(), 0) << series->objectName().toStdString();
    EXPECT_EQ(form->chtWeight()->LeftAxisTitle(), "Weight  Unit:KG");
    EXPECT_TRUE(boxes_.shown().isEmpty());
    // The axes still span days, first before last.
    EXPECT_LT(form->chtWeight()->AxisBottom()->min(), form->chtWeight()->AxisBottom()->max());
}

TEST_F(ChartViewTest, ChoosingTheViewAgainKeepsOneWindowWithItsDatesAndReloads) {
    Add(Today.addDays(-40), 60.0);
    TfrmChat* form = Open();
    EXPECT_EQ(form->srsWeight()->count(), 0);
    DateEdit(form, "dtpFrom")->setDate(Today.addDays(-50));

    Add(Today.addDays(-45), 65.0);
    TfrmChat* again = Open();
    EXPECT_EQ(again, form);
    EXPECT_EQ(area_->subWindowList().size(), 1);
    EXPECT_EQ(DateEdit(form, "dtpFrom")->date(), Today.addDays(-50));
    EXPECT_EQ(ValuesOf(form->srsWeight()), QList<double>({65.0, 60.0}));
    EXPECT_EQ(area_->activeSubWindow(), form->parentWidget());
}

TEST_F(ChartViewTest, IsMaximisedWhenActivatedAndFreedOnClose) {
    TfrmChat* form = Open();
    QCoreApplication::processEvents();
    auto* frame = qobject_cast<QMdiSubWindow*>(form->parentWidget());
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isMaximized());

    DateEdit(form, "dtpFrom")->setDate(Today.addDays(-100));
    frame->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(ChartView(), nullptr);
    EXPECT_TRUE(area_->subWindowList().isEmpty());

    TfrmChat* fresh = Open();
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(DateEdit(fresh, "dtpFrom")->date(), Today.addDays(-30));
}

TEST_F(ChartViewTest, ChartsShareTheRoomBelowTheStripAndKeepTheirPlaceWhenItRunsOut) {
    TfrmChat form;
    form.show();
    struct Case {
        QSize client;
        QRect weight; // the geometry expected afterwards; BMI lies below it
        QRect bmi;
    };
    const Case cases[] = {
        {{781, 454}, {2, 32, 777, 208}, {2, 242, 777, 208}},
        {{781, 455}, {2, 32, 777, 208}, {2, 242, 777, 208}}, // the odd pixel is left over
        {{300, 40}, {2, 32, 296, 1}, {2, 35, 296, 1}},       // smaller than a chart would like
        {{300, 39}, {2, 32, 296, 1}, {2, 35, 296, 1}},       // no room: unchanged
        {{4, 500}, {2, 32, 296, 1}, {2, 35, 296, 1}},        // no width: unchanged
        {{5, 500}, {2, 32, 1, 231}, {2, 265, 1, 231}},
    };
    for (const Case& c : cases) {
        form.resize(c.client);
        EXPECT_EQ(form.chtWeight()->geometry(), c.weight) << c.client.width() << "x" << c.client.height();
        EXPECT_EQ(form.chtBMI()->geometry(), c.bmi) << c.client.width() << "x" << c.client.height();
    }
}

TEST_F(ChartViewTest, SavesTheChartAsABitmapAddingTheExtensionAndReplacingSilently) {
    TfrmChat* form = Open();
    QString filter, suffix;
    QString answer = folder_.filePath(QStringLiteral("weight"));
    SetSaveFileHook([&](QWidget*, const QString&, const QString& f, const QString& s) {
        filter = f;
        suffix = s;
        return answer;
    });
    Click(form, "btnSaveWeight");
    EXPECT_EQ(filter, "Bmp files (*.bmp)");
    EXPECT_EQ(suffix, "bmp");
    const QString written = folder_.filePath(QStringLiteral("weight.bmp"));
    QImage image;
    ASSERT_TRUE(image.load(written, "BMP"));
    EXPECT_EQ(image.size(), form->chtWeight()->size());

    // An existing file with an extension is replaced without a question.
    answer = folder_.filePath(QStringLiteral("fat.image"));
    {
        QFile old(answer);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    Click(form, "btnSaveFat");
    EXPECT_TRUE(image.load(answer, "BMP"));
    EXPECT_EQ(image.size(), form->chtBMI()->size());
    EXPECT_FALSE(QFileInfo::exists(answer + ".bmp"));
    EXPECT_TRUE(boxes_.shown().isEmpty());

    // Cancelling writes nothing.
    answer.clear();
    const QStringList before = QDir(folder_.path()).entryList(QDir::Files);
    Click(form, "btnSaveWeight");
    EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files), before);
}

TEST_F(ChartViewTest, AnUnwritableBitmapReachesTheErrorHandler) {
    TfrmChat* form = Open();
    const QString path = folder_.filePath(QStringLiteral("missing/folder/chart.bmp"));
    SetSaveFileHook([&](QWidget*, const QString&, const QString&, const QString&) { return path; });
    Click(form, "btnSaveWeight");
    ASSERT_EQ(boxes_.shown().size(), 1);
    EXPECT_EQ(boxes_.shown()[0].caption, ApplicationTitle);
    EXPECT_EQ(boxes_.shown()[0].flags, MB_OK | MB_ICONERROR);
    EXPECT_TRUE(boxes_.shown()[0].text.contains(path));
}

TEST_F(ChartViewTest, ADatabaseErrorReachesTheErrorHandlerWithTheChartsEmptied) {
    Add(Today, 70.0);
    TfrmChat* form = Open();
    ASSERT_EQ(form->srsWeight()->count(), 1);
    store_->ExecuteSql(QStringLiteral("drop table P_DATA"));
    Click(form, "btnFilter");
    ASSERT_EQ(boxes_.shown().size(), 1);
    EXPECT_TRUE(boxes_.shown()[0].text.contains("P_DATA")) << boxes_.shown()[0].text.toStdString();
    EXPECT_EQ(form->srsWeight()->count(), 0);
}

TEST_F(ChartViewTest, ChartsAreConfiguredAsDesigned) {
    TfrmChat* form = Open();
    struct Expected {
        QLineSeries* series;
        const char* name;
        const char* title;
        QColor color;
    };
    const Expected expected[] = {
        {form->srsWeight(), "srsWeight", "Weight", Qt::red},
        {form->srsBone(), "srsBone", "Bone", QColor(0, 128, 0)},
        {form->srsFat(), "srsFat", "FAT", Qt::red},
        {form->srsTBW(), "srsTBW", "TBW", QColor(0, 64, 128)},
        {form->srsMus(), "srsMus", "Mus", QColor(255, 0, 255)},
        {form->srsWeightTrend(), "srsWeightTrend", "Weight trend", QColor(128, 0, 64)},
        {form->srsFatTrend(), "srsFatTrend", "FAT trend", QColor(128, 0, 64)},
    };
    for (const Expected& e : expected) {
        EXPECT_EQ(e.series->objectName(), e.name);
        EXPECT_EQ(e.series->name(), e.title);
        EXPECT_EQ(e.series->color(), e.color) << e.name;
        EXPECT_FALSE(e.series->pointLabelsVisible());
    }
    EXPECT_EQ(form->chtWeight()->chart()->series().size(), 4); // with the trend and the goal
    EXPECT_EQ(form->chtBMI()->chart()->series().size(), 4);    // with the trend
    EXPECT_EQ(form->chtWeight()->AxisBottom()->format(), "yyyy-M-d");
    EXPECT_EQ(form->chtWeight()->rubberBand(), QChartView::RectangleRubberBand);
    EXPECT_TRUE(form->chtBMI()->chart()->legend()->isVisible());
    EXPECT_EQ(form->chtWeight()->PrintMargins(), TPrintMargins());
    EXPECT_FALSE(form->chtWeight()->PrintProportional());
}

TEST_F(ChartViewTest, TheMouseZoomsARectangleAndPansOnlyUpAndDown) {
    for (int day = 0; day < 20; ++day)
        Add(Today.addDays(-day), 70.0 + day % 5, 20.0 + day % 3);
    TfrmChat* form = Open();
    TChart* chart = form->chtBMI();
    QWidget* surface = chart->viewport();
    const QRectF plot = chart->chart()->plotArea();
    const auto xRange = [&] {
        return std::make_pair(chart->AxisBottom()->min(), chart->AxisBottom()->max());
    };
    const auto yRange = [&] { return std::make_pair(chart->AxisLeft()->min(), chart->AxisLeft()->max()); };
    const auto fullX = xRange();

    const QPoint from = (plot.topLeft() + QPointF(20, 20)).toPoint();
    const QPoint to = plot.center().toPoint();
    QTest::mousePress(surface, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(surface, to);
    QTest::mouseRelease(surface, Qt::LeftButton, Qt::NoModifier, to);
    ASSERT_TRUE(chart->chart()->isZoomed());
    const auto zoomedX = xRange();
    EXPECT_GT(zoomedX.first, fullX.first);
    EXPECT_LT(zoomedX.second, fullX.second);

    const auto zoomedY = yRange();
    QTest::mousePress(surface, Qt::RightButton, Qt::NoModifier, to);
    QTest::mouseMove(surface, to + QPoint(40, 30));
    QTest::mouseRelease(surface, Qt::RightButton, Qt::NoModifier, to + QPoint(40, 30));
    EXPECT_EQ(xRange(), zoomedX) << "no sideways panning";
    EXPECT_NE(yRange(), zoomedY);
    EXPECT_NEAR(yRange().second - yRange().first, zoomedY.second - zoomedY.first, 1e-9);

    // A right click that does not drag undoes the zoom.
    QTest::mouseClick(surface, Qt::RightButton, Qt::NoModifier, to);
    EXPECT_FALSE(chart->chart()->isZoomed());
    EXPECT_EQ(xRange(), fullX);
}

} // namespace
