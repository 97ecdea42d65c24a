// SPDX-License-Identifier: MIT
#include "about/TfrmAbout.h"
#include "app/Themes.h"
#include "core/Contrast.h"
#include "core/Globals.h"
#include "lang/LangMgr.h"
#include "operations/TImportListModel.h"
#include "operations/TfrmDataImport.h"
#include "operations/TfrmSyncDate.h"
#include "records/TfrmMyData.h"
#include "store/Statements.h"
#include "store/TdmMain.h"
#include "support/MessageBoxRecorder.h"
#include "support/TestLanguage.h"

#include <QApplication>
#include <QDateEdit>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The colours actually painted in an area that holds text: the background is the colour most of
// its pixels have, the text the colour that stands out most from it.
struct PaintedText {
    QColor Text;
    QColor Background;
    double Ratio = 0;
};

PaintedText MeasurePainted(const QImage& image, const QRect& area) {
    QHash<QRgb, int> counts;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            ++counts[image.pixel(x, y) | 0xff000000u];
    PaintedText painted;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            painted.Background = QColor(it.key());
        }
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        const double ratio = ContrastRatio(QColor(it.key()), painted.Background);
        if (ratio > painted.Ratio) {
            painted.Ratio = ratio;
            painted.Text = QColor(it.key());
        }
    }
    return painted;
}

// Reports what is not readable, named by theme and place.
class ReadabilityReport {
public:
    void Check(const QString& theme, const QString& where, const QImage& image, const QRect& area) {
        const PaintedText painted = MeasurePainted(image, area);
        if (painted.Ratio >= ReadableContrast)
            return;
        unreadable_ << QStringLiteral("%1, %2: %3 on %4 is %5 : 1")
                           .arg(theme, where, painted.Text.name(), painted.Background.name())
                           .arg(painted.Ratio, 0, 'f', 2);
    }
    void Expect() const {
        EXPECT_TRUE(unreadable_.isEmpty()) << unreadable_.join(QLatin1Char('\n')).toStdString();
    }

private:
    QStringList unreadable_;
};

class ThemeReadabilityTest : public ::testing::Test {
protected:
    void SetUp() override {
        Globals = TGlobals{};
        Globals.CurrentUserId = 1;
        Globals.CurrentUserName = QStringLiteral("USER 1");
        ASSERT_FALSE(UseTestLanguage(folder_.path(), {{"MeasuringDate", "Measuring Date"},
                                                      {"Weight", "Weight"},
                                                      {"FAT", "FAT"},
                                                      {"TBW", "TBW"},
                                                      {"MUS", "MUS"},
                                                      {"BONE", "BONE"},
                                                      {"KG", "KG"},
                                                      {"FmtRecordCnt", "%d record(s)"}})
                         .isEmpty());
        store_ = std::make_unique<TdmMain>(folder_.filePath(QStringLiteral("db")), QString());
        store_->DataModuleCreate();
        SetDataModule(store_.get());
    }
    void TearDown() override {
        TThemes::Select(TThemes::DefaultName);
        area_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetDataModule(nullptr);
        Globals = TGlobals{};
    }

    // Inside a cell, clear of the grid lines.
    static QRect CellArea(const QTableView* list, int row, int column) {
        return list->visualRect(list->model()->index(row, column)).adjusted(2, 2, -2, -2);
    }

    // The tinted row 0, the white row 1 and the selected row 2 of a list, and its first caption.
    static void CheckList(ReadabilityReport& report, const QString& theme, const QString& name,
                          QTableView* list) {
        list->selectRow(2);
        QCoreApplication::processEvents();
        const QImage rows = list->viewport()->grab().toImage();
        for (const auto& [row, what] : {std::pair{0, "tinted row"}, {1, "white row"}, {2, "selected row"}})
            for (int column : {0, 1})
                report.Check(theme, QStringLiteral("%1 %2 column %3").arg(name, what).arg(column), rows,
                             CellArea(list, row, column));
        QHeaderView* header = list->horizontalHeader();
        const QImage captions = header->grab().toImage();
        report.Check(theme, name + QStringLiteral(" caption"), captions,
                     QRect(header->sectionViewportPosition(0), 0, header->sectionSize(0), header->height())
                         .adjusted(2, 2, -2, -2));
    }

    QTemporaryDir folder_;
    std::unique_ptr<TdmMain> store_;
    std::unique_ptr<QMdiArea> area_;
    MessageBoxRecorder boxes_;
};

TEST_F(ThemeReadabilityTest, ListsAndTheirWindowsAreReadableInEveryTheme) {
    const QDate today = QDate::currentDate();
    for (int day = 0; day < 5; ++day)
        store_->ExecuteSql(SqlInsertMeasurement(1, today.addDays(-day), 70.5 + day, 20.5, 55.0, 40.2, 3.1));
    area_ = std::make_unique<QMdiArea>();
    area_->resize(900, 700);
    area_->show();
    TfrmMyData* myData = ShowMyData(area_.get());

    TfrmDataImport import;
    import.FormCreate();
    std::vector<TImportListModel::NewRow> rows;
    for (int day = 0; day < 5; ++day) {
        const MeasurementRecord record{today.addDays(-day), 70.5 + day, 20.5, 55.0, 40.2, 3.1};
        rows.push_back({record, TfrmDataImport::CellTexts(record, 0)});
    }
    import.Model()->Append(rows);
    import.show();

    ReadabilityReport report;
    for (const QString& theme : TThemes::Names()) {
        TThemes::Select(theme);
        QCoreApplication::processEvents();
        CheckList(report, theme, QStringLiteral("measurement list"), myData->findChild<QTableView*>("lv1"));
        CheckList(report, theme, QStringLiteral("import list"), import.findChild<QTableView*>("lv1"));

        // The other kinds of widget of these windows: a label on the window, a button, a date field.
        const QImage window = myData->grab().toImage();
        for (const char* name : {"lblMsg", "Label1", "btnFilter", "dtpFrom"}) {
            const QWidget* widget = myData->findChild<QWidget*>(QLatin1String(name));
            // A button's caption is measured without its icon.
            const int icon = qobject_cast<const QPushButton*>(widget) ? 24 : 0;
            report.Check(
                theme, QLatin1String(name), window,
                QRect(widget->mapTo(myData, QPoint(0, 0)), widget->size()).adjusted(2 + icon, 2, -2, -2));
        }
    }
    report.Expect();
}

// The two texts with colours of their own: the clock of the clock dialog, the about box's version.
TEST_F(ThemeReadabilityTest, TheClockAndTheVersionReadInEveryTheme) {
    ReadabilityReport report;
    for (const QString& theme : TThemes::Names()) {
        TThemes::Select(theme);
        // Made anew for each theme, as the clock dialog is for each use.
        TfrmSyncDate dialog;
        QLineEdit* clock = dialog.findChild<QLineEdit*>(QStringLiteral("edtDate"));
        clock->setText(QStringLiteral("2024-03-31 09:30:00"));
        dialog.show();
        QCoreApplication::processEvents();
        const QImage image = clock->grab().toImage();
        report.Check(theme, QStringLiteral("clock"), image, image.rect().adjusted(3, 3, -3, -3));

        TfrmAbout about;
        QLabel* version = about.findChild<QLabel*>(QStringLiteral("lblVer"));
        version->setText(QStringLiteral("1.0.0.83"));
        about.show();
        QCoreApplication::processEvents();
        const QImage box = about.grab().toImage();
        report.Check(theme, QStringLiteral("version"), box,
                     QRect(version->mapTo(&about, QPoint(0, 0)), version->sizeHint()));
    }
    report.Expect();
}

} // namespace
