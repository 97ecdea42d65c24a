// SPDX-License-Identifier: MIT
#include "ChartsFixture.h"

#include "charts/TPreviewPanel.h"
#include "charts/TfrmMyChartPreview.h"
#include "core/ErrorHandler.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSlider>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

namespace {

// The preview of one chart, shown without its own event loop so that the test can work it.
class ChartPreviewTest : public ChartsTest {
protected:
    void SetUp() override {
        ChartsTest::SetUp();
        Add(Today.addDays(-3), 70.0);
        Add(Today.addDays(-1), 71.0);
        form_ = Open();
    }

    void TearDown() override {
        preview_.reset();
        ChartsTest::TearDown();
    }

    TfrmMyChartPreview* ShowPreview(TChart* chart) {
        preview_ = std::make_unique<TfrmMyChartPreview>(form_);
        preview_->FormCreate();
        preview_->Preset(chart);
        preview_->show();
        QCoreApplication::processEvents();
        return preview_.get();
    }

    template <typename T> T* Find(const char* name) const {
        T* child = preview_->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    QSpinBox* Box(const char* name) const { return Find<QSpinBox>(name); }
    TPrintMargins Boxes() const {
        return {Box("SELeftMa")->value(), Box("SETopMa")->value(), Box("SERightMa")->value(),
                Box("SEBotMa")->value()};
    }
    // Types text into a margin box and ends the typing with Enter.
    void Type(const char* box, const QString& text) {
        QLineEdit* edit = Box(box)->findChild<QLineEdit*>();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    QString PdfOf(const QString& printer) const { return folder_.filePath("print/" + printer + ".pdf"); }

    TChart* Weight() const { return form_->chtWeight(); }

    TfrmChat* form_ = nullptr;
    std::unique_ptr<TfrmMyChartPreview> preview_;
};

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int PdfPageCount(const QByteArray& pdf) {
    return static_cast<int>(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") +
                            pdf.count("/Type /Page "));
}

TEST_F(ChartPreviewTest, FirstShowOfAChart) {
    TfrmMyChartPreview* preview = ShowPreview(Weight());
    EXPECT_EQ(Boxes(), TPrintMargins({4, 4, 4, 4}));
    EXPECT_EQ(preview->InitialMargins(), TPrintMargins({4, 4, 4, 4}));
    EXPECT_FALSE(Find<QCheckBox>("CBProp")->isChecked());
    EXPECT_FALSE(Find<QPushButton>("BReset")->isEnabled());
    EXPECT_EQ(Find<QSlider>("Resolution")->value(), 0);
    EXPECT_EQ(Weight()->PrintResolution(), -100);
    EXPECT_TRUE(Find<QCheckBox>("CheckBox1")->isChecked());
    EXPECT_TRUE(Find<TPreviewPanel>("PreviewPanel1")->AsBitmap());
    EXPECT_TRUE(Find<QCheckBox>("ShowMargins")->isChecked());
    EXPECT_TRUE(Find<QRadioButton>("OrientationLandscape")->isChecked());
    EXPECT_EQ(Printer().Orientation(), QPageLayout::Landscape);
    EXPECT_EQ(Find<QComboBox>("CBPrinters")->count(), 3);
    EXPECT_EQ(Find<QComboBox>("CBPrinters")->itemText(2), "PDF file");
    EXPECT_EQ(Find<QComboBox>("CBPrinters")->currentText(), "PDF A");
    EXPECT_TRUE(Find<QPushButton>("BPrint")->isEnabled());
    EXPECT_FALSE(preview->UpdatingMargins());
    EXPECT_TRUE(preview->isMaximized());
    EXPECT_EQ(preview->windowTitle(), "Chart Print Preview");
    EXPECT_EQ(preview->focusWidget(), Find<TPreviewPanel>("PreviewPanel1"));
}

TEST_F(ChartPreviewTest, AMarginAndItsOppositeStayBelowOneHundred) {
    Weight()->SetPrintMargins({50, 4, 45, 4});
    ShowPreview(Weight());
    QSpinBox* left = Box("SELeftMa");
    struct Step {
        const char* how;
        std::function<void()> act;
        int expected;
    };
    const Step steps[] = {
        {"arrow up to 55", [&] { left->stepUp(); }, 50},
        {"typed 55", [&] { Type("SELeftMa", "55"); }, 50},
        {"typed 54", [&] { Type("SELeftMa", "54"); }, 54},
        {"typed a word", [&] { Type("SELeftMa", "wide"); }, 54},
        {"typed 150", [&] { Type("SELeftMa", "150"); }, 54},
        {"typed -5", [&] { Type("SELeftMa", "-5"); }, 54},
        {"arrow down to 49", [&] { left->stepDown(); }, 49},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(left->value(), step.expected) << step.how;
        EXPECT_EQ(Weight()->PrintMargins().Left, step.expected) << step.how;
        EXPECT_EQ(left->text(), QString::number(step.expected)) << step.how;
    }
    EXPECT_EQ(Weight()->PrintMargins().Right, 45);
    EXPECT_TRUE(preview_->isVisible()) << "Enter in a margin box takes the margin, it does not close";
}

TEST_F(ChartPreviewTest, EditingAMarginLeavesProportionalAndResetTakesItBack) {
    ShowPreview(Weight());
    QCheckBox* proportional = Find<QCheckBox>("CBProp");
    QPushButton* reset = Find<QPushButton>("BReset");
    proportional->setChecked(true);
    ASSERT_TRUE(Weight()->PrintProportional());

    Box("SETopMa")->setValue(20);
    EXPECT_FALSE(proportional->isChecked());
    EXPECT_FALSE(Weight()->PrintProportional());
    EXPECT_TRUE(reset->isEnabled());
    const TPrintMargins initial = preview_->InitialMargins();
    EXPECT_EQ(Weight()->PrintMargins().Top, 20);

    Box("SETopMa")->setValue(initial.Top);
    EXPECT_FALSE(reset->isEnabled()) << "the margins equal the initial ones again";
    Box("SEBotMa")->setValue(30);
    Box("SELeftMa")->setValue(10);
    ASSERT_TRUE(reset->isEnabled());
    reset->click();
    EXPECT_EQ(Weight()->PrintMargins(), initial);
    EXPECT_EQ(Boxes(), initial);
    EXPECT_FALSE(reset->isEnabled());
}

TEST_F(ChartPreviewTest, DraggingAMarginOnTheSheetUpdatesTheBoxes) {
    ShowPreview(Weight());
    Find<QCheckBox>("CBProp")->setChecked(true);
    const TPrintMargins before = Weight()->PrintMargins();
    TPreviewPanel* panel = Find<TPreviewPanel>("PreviewPanel1");
    const QRectF sheet = panel->SheetRect();
    const QRectF chart = panel->ChartRect();
    const QPoint grip(qRound(chart.left()), qRound(chart.center().y()));
    const QPoint to = grip + QPoint(qRound(sheet.width() / 10), 0); // 10 % to the right

    QTest::mousePress(panel, Qt::LeftButton, Qt::NoModifier, grip);
    QTest::mouseMove(panel, to);
    QTest::mouseRelease(panel, Qt::LeftButton, Qt::NoModifier, to);

    EXPECT_EQ(Weight()->PrintMargins().Left, before.Left + 10);
    EXPECT_EQ(Boxes(), Weight()->PrintMargins());
    EXPECT_FALSE(Find<QCheckBox>("CBProp")->isChecked());
    EXPECT_FALSE(Weight()->PrintProportional());
    EXPECT_TRUE(Find<QPushButton>("BReset")->isEnabled());

    // Dragging the chart itself moves it as a whole.
    const QPoint inside = panel->ChartRect().center().toPoint();
    const QPoint down = inside + QPoint(0, qRound(sheet.height() / 20)); // 5 % down
    const TPrintMargins moved = Weight()->PrintMargins();
    QTest::mousePress(panel, Qt::LeftButton, Qt::NoModifier, inside);
    QTest::mouseRelease(panel, Qt::LeftButton, Qt::NoModifier, down);
    EXPECT_EQ(Weight()->PrintMargins(),
              TPrintMargins({moved.Left, moved.Top + 5, moved.Right, moved.Bottom - 5}));
    EXPECT_EQ(Boxes(), Weight()->PrintMargins());
}

TEST(ProportionalMarginsTest, ChartsKeepTheirProportionsOnThePage) {
    struct Case {
        QSizeF chart, page;
        TPrintMargins expected;
    };
    const Case cases[] = {
        // 100 * (1 - 0.7 / 3) = 76.7, rounded 77, halved 38
        {{600, 200}, {1000, 1000}, {15, 38, 15, 38}},
        // A4 landscape at 150 dpi: 100 * (1240 - 0.7 * 1754 / 3) / 1240 = 67.0 → 33
        {{600, 200}, {1754, 1240}, {15, 33, 15, 33}},
        // a tall chart spans 70 % of the height
        {{200, 400}, {1000, 1000}, {32, 15, 32, 15}},
        // a square chart takes the second branch
        {{300, 300}, {1000, 1000}, {15, 15, 15, 15}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProportionalMargins(c.chart, c.page, 150, 150, {}), c.expected)
            << c.chart.width() << "x" << c.chart.height();
}

TEST(ProportionalMarginsTest, ExtremeShapesStayOnThePage) {
    const TPrintMargins current{1, 2, 3, 4};
    EXPECT_EQ(ProportionalMargins({0, 0}, {1000, 1000}, 150, 150, current), current);
    EXPECT_EQ(ProportionalMargins({600, 200}, {0, 0}, 150, 150, current), current);
    // A wide page makes the free height negative: no negative margin.
    EXPECT_EQ(ProportionalMargins({600, 590}, {5000, 1000}, 150, 150, current),
              TPrintMargins({15, 0, 15, 0}));
    // A flat chart would leave everything free: the two margins still add up to less than 100.
    const TPrintMargins flat = ProportionalMargins({6000, 1}, {1000, 1000}, 150, 150, current);
    EXPECT_LT(flat.Top + flat.Bottom, 100);
}

TEST_F(ChartPreviewTest, ProportionalMarginsForAWideChart) {
    TChart chart;
    chart.setObjectName("chtWide");
    chart.resize(600, 200);
    chart.show();
    QCoreApplication::processEvents();
    TfrmMyChartPreview* preview = ShowPreview(&chart);
    Find<QCheckBox>("CBProp")->setChecked(true);

    const TPrintMargins margins = chart.PrintMargins();
    EXPECT_EQ(margins.Left, 15);
    EXPECT_EQ(margins.Right, 15);
    EXPECT_EQ(margins.Top, margins.Bottom);
    EXPECT_EQ(Boxes(), margins);
    EXPECT_EQ(preview->InitialMargins(), margins);
    // On the (landscape) page the chart is about three times as wide as high.
    const QSizeF page = Printer().PageSize();
    const double printedWidth = page.width() * (100 - 30) / 100.0;
    const double printedHeight = page.height() * (100 - 2 * margins.Top) / 100.0;
    EXPECT_NEAR(printedWidth / printedHeight, 3.0, 0.15);
}

// The next save question is answered with fileName; returns how often it was asked.
std::shared_ptr<int> AnswerSave(const QString& fileName) {
    auto asked = std::make_shared<int>(0);
    SetSaveFileHook(
        [asked, fileName](QWidget*, const QString&, const QString& filter, const QString& suffix) {
            ++*asked;
            EXPECT_EQ(filter, "PDF (*.pdf)");
            EXPECT_EQ(suffix, "pdf");
            return fileName;
        });
    return asked;
}

TEST_F(ChartPreviewTest, WithoutAPrinterThePdfFileEntryPrintsIntoTheNamedFile) {
    UsePrinters({});
    ShowPreview(Weight());
    QComboBox* printers = Find<QComboBox>("CBPrinters");
    EXPECT_EQ(printers->count(), 1);
    EXPECT_EQ(printers->currentText(), "PDF file");
    EXPECT_TRUE(Find<QPushButton>("BPrint")->isEnabled());
    EXPECT_TRUE(Find<QPushButton>("BSetupPrinter")->isEnabled());
    EXPECT_TRUE(Find<QGroupBox>("Orientation")->isEnabled());
    EXPECT_TRUE(Find<QRadioButton>("OrientationLandscape")->isChecked());
    Find<QCheckBox>("CBProp")->setChecked(true);
    EXPECT_EQ(Weight()->PrintMargins().Left, 15) << "the PDF page is a page like any printer's";

    const QString target = folder_.filePath("chart.pdf");
    const std::shared_ptr<int> asked = AnswerSave(target);
    Find<QPushButton>("BPrint")->click();
    EXPECT_EQ(*asked, 1);
    EXPECT_TRUE(boxes_.shown().isEmpty());
    const QByteArray pdf = FileBytes(target);
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(PdfPageCount(pdf), 1);
    const QRegularExpressionMatch box =
        QRegularExpression(R"(/MediaBox \[0 0 ([\d.]+) ([\d.]+)\])").match(QString::fromLatin1(pdf));
    ASSERT_TRUE(box.hasMatch());
    EXPECT_GT(box.captured(1).toDouble(), box.captured(2).toDouble()) << "landscape";

    // Cancelling the file question prints nothing and says nothing.
    QFile::remove(target);
    AnswerSave(QString());
    Find<QPushButton>("BPrint")->click();
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_TRUE(boxes_.shown().isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ChartPreviewTest, ThePdfFileEntryFollowsThePrintersAndKeepsItsOwnOrientation) {
    ShowPreview(Weight());
    QComboBox* printers = Find<QComboBox>("CBPrinters");
    printers->setCurrentIndex(2);
    emit printers->activated(2);
    EXPECT_TRUE(Printer().PrintsToPdfFile());
    EXPECT_EQ(Printer().PrinterIndex(), 2);
    Find<QRadioButton>("OrientationPortrait")->click();

    const QString target = folder_.filePath("chart.pdf");
    AnswerSave(target);
    Find<QPushButton>("BPrint")->click();
    EXPECT_EQ(PdfPageCount(FileBytes(target)), 1);
    EXPECT_FALSE(QFile::exists(PdfOf("PDF A"))) << "the printer's own output stays untouched";

    printers->setCurrentIndex(0);
    emit printers->activated(0);
    EXPECT_EQ(Printer().PrinterName(), "PDF A");
    EXPECT_EQ(Printer().Orientation(), QPageLayout::Landscape);
    printers->setCurrentIndex(2);
    emit printers->activated(2);
    EXPECT_EQ(Printer().Orientation(), QPageLayout::Portrait);
    EXPECT_TRUE(Find<QRadioButton>("OrientationPortrait")->isChecked());
}

TEST_F(ChartPreviewTest, AnUnwritablePdfFileReachesTheErrorHandler) {
    UsePrinters({});
    ShowPreview(Weight());
    AnswerSave(folder_.filePath("no/such/folder/chart.pdf"));
    Find<QPushButton>("BPrint")->click();
    ASSERT_EQ(boxes_.shown().size(), 1);
    EXPECT_EQ(boxes_.shown()[0].caption, ApplicationTitle);
    EXPECT_TRUE(boxes_.shown()[0].text.contains("chart.pdf")) << boxes_.shown()[0].text.toStdString();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ChartPreviewTest, EachPrinterKeepsItsOwnOrientation) {
    UsePrinters({{"PDF A", QPageLayout::Portrait}, {"PDF B", QPageLayout::Portrait}});
    ShowPreview(Weight());
    Find<QCheckBox>("CBProp")->setChecked(true);
    const TPrintMargins landscapeMargins = Weight()->PrintMargins();
    QComboBox* printers = Find<QComboBox>("CBPrinters");

    printers->setCurrentIndex(1);
    emit printers->activated(1);
    EXPECT_EQ(Printer().PrinterName(), "PDF B");
    EXPECT_EQ(Printer().Orientation(), QPageLayout::Portrait);
    EXPECT_TRUE(Find<QRadioButton>("OrientationPortrait")->isChecked());
    EXPECT_NE(Weight()->PrintMargins(), landscapeMargins) << "recomputed for the portrait page";
    EXPECT_EQ(Boxes(), Weight()->PrintMargins());

    printers->setCurrentIndex(0);
    emit printers->activated(0);
    EXPECT_EQ(Printer().Orientation(), QPageLayout::Landscape);
    EXPECT_TRUE(Find<QRadioButton>("OrientationLandscape")->isChecked());
    EXPECT_EQ(Weight()->PrintMargins(), landscapeMargins);

    Find<QRadioButton>("OrientationPortrait")->click();
    EXPECT_EQ(Printer().Orientation(), QPageLayout::Portrait);
    EXPECT_NE(Weight()->PrintMargins(), landscapeMargins);
}

TEST_F(ChartPreviewTest, SetupRefillsThePrinterList) {
    TPdfPrinters* printers = UsePrinters({{"PDF A", QPageLayout::Portrait}});
    ShowPreview(Weight());
    Find<QPushButton>("BSetupPrinter")->click();
    EXPECT_EQ(printers->SetupCount(), 1);
    EXPECT_EQ(Find<QComboBox>("CBPrinters")->count(), 2);
    EXPECT_EQ(Find<QComboBox>("CBPrinters")->currentText(), "PDF A");
}

TEST_F(ChartPreviewTest, PrintsOnePageTitledWithTheChartsName) {
    for (const bool smooth : {true, false}) {
        ShowPreview(Weight());
        Find<QCheckBox>("CheckBox1")->setChecked(smooth);
        Find<QPushButton>("BPrint")->click();
        EXPECT_TRUE(boxes_.shown().isEmpty());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);

        const QByteArray pdf = FileBytes(PdfOf("PDF A"));
        ASSERT_TRUE(pdf.startsWith("%PDF")) << "smooth " << smooth;
        EXPECT_EQ(PdfPageCount(pdf), 1);
        // Smooth pages carry the chart as one picture; direct ones draw its texts with fonts.
        EXPECT_EQ(pdf.contains("/Type /Font"), !smooth) << "smooth " << smooth;
        const QRegularExpressionMatch box =
            QRegularExpression(R"(/MediaBox \[0 0 ([\d.]+) ([\d.]+)\])").match(QString::fromLatin1(pdf));
        ASSERT_TRUE(box.hasMatch());
        EXPECT_GT(box.captured(1).toDouble(), box.captured(2).toDouble()) << "landscape";
        // The title is stored as UTF-16.
        const QByteArray title =
            QByteArray("\xFE\xFF") + QByteArray::fromRawData("\0c\0h\0t\0W\0e\0i\0g\0h\0t", 18);
        EXPECT_TRUE(pdf.contains(title) || pdf.contains("(chtWeight)") ||
                    pdf.contains(QByteArray("FEFF0063006800740057006500690067006800740")))
            << "smooth " << smooth;
        QFile::remove(PdfOf("PDF A"));
        preview_.reset();
    }
}

TEST_F(ChartPreviewTest, AFailedPrintReachesTheErrorHandlerAndRestoresTheCursor) {
    UsePrinters({{"Nowhere", QPageLayout::Portrait}}, "no/such/folder", false);
    ShowPreview(Weight());
    Find<QPushButton>("BPrint")->click();
    ASSERT_EQ(boxes_.shown().size(), 1);
    EXPECT_EQ(boxes_.shown()[0].caption, ApplicationTitle);
    EXPECT_TRUE(boxes_.shown()[0].text.contains("Nowhere"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ChartPreviewTest, PreviewingAgainStartsFromTheLastChoicesAndAtMoreDetail) {
    ShowPreview(Weight());
    Box("SETopMa")->setValue(20);
    Find<QSlider>("Resolution")->setValue(100);
    EXPECT_EQ(Weight()->PrintResolution(), 0);
    Find<QPushButton>("BClose")->click();
    EXPECT_EQ(preview_->result(), QDialog::Accepted);
    EXPECT_FALSE(preview_->isVisible());

    TfrmMyChartPreview* again = ShowPreview(Weight());
    EXPECT_EQ(Boxes().Top, 20);
    EXPECT_EQ(again->InitialMargins().Top, 20);
    EXPECT_FALSE(Find<QPushButton>("BReset")->isEnabled());
    EXPECT_EQ(Find<QSlider>("Resolution")->value(), 0);
    EXPECT_EQ(Weight()->PrintResolution(), -100);
}

TEST_F(ChartPreviewTest, ThePreviewButtonShowsThePresetDialogModally) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<TfrmMyChartPreview*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = true;
        EXPECT_TRUE(dialog->isMaximized());
        EXPECT_EQ(dialog->findChild<TPreviewPanel*>("PreviewPanel1")->Chart(), form_->chtBMI());
        EXPECT_TRUE(dialog->findChild<QCheckBox*>("CheckBox1")->isChecked());
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    form_->findChild<QPushButton*>("btnPreviewFat")->click();
    EXPECT_TRUE(seen);
    EXPECT_EQ(form_->chtBMI()->PrintResolution(), -100);
    EXPECT_TRUE(boxes_.shown().isEmpty());
}

// How sharp a picture is: the sum of the squared differences between neighbouring pixels. A
// blurred picture has less of it than a sharp one of the same content.
double Sharpness(const QImage& picture) {
    const QImage gray = picture.convertToFormat(QImage::Format_Grayscale8);
    double sum = 0;
    for (int y = 0; y + 1 < gray.height(); ++y) {
        const uchar* row = gray.constScanLine(y);
        const uchar* below = gray.constScanLine(y + 1);
        for (int x = 0; x + 1 < gray.width(); ++x) {
            const double dx = row[x + 1] - row[x];
            const double dy = below[x] - row[x];
            sum += dx * dx + dy * dy;
        }
    }
    return sum;
}

// The sheet on screen is the printed page made smaller: the page printed into a PDF file and
// rendered by a PDF reader at the sheet's size is about as sharp as the sheet, whether drawn
// smooth or direct, and at different window sizes.
TEST_F(ChartPreviewTest, TheSheetShowsThePageAsItPrints) {
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    const struct {
        bool smooth;
        QSize window;
    } cases[] = {{true, {1200, 900}}, {false, {1200, 900}}, {true, {700, 900}}, {false, {1600, 700}}};
    for (const auto& c : cases) {
        ShowPreview(Weight());
        preview_->setWindowState(Qt::WindowNoState);
        preview_->resize(c.window);
        Find<QCheckBox>("CheckBox1")->setChecked(c.smooth);
        QCoreApplication::processEvents();
        const QImage sheet = Find<TPreviewPanel>("PreviewPanel1")->SheetImage();

        Find<QPushButton>("BPrint")->click();
        const QString rendered = folder_.filePath("page");
        QProcess reader;
        reader.start(pdftoppm, {"-png", "-singlefile", "-scale-to-x", QString::number(sheet.width()),
                                "-scale-to-y", QString::number(sheet.height()), PdfOf("PDF A"), rendered});
        ASSERT_TRUE(reader.waitForFinished(60000));
        const QImage page(rendered + ".png");
        ASSERT_EQ(page.size(), sheet.size());
        // The reader draws the page's fine lines and texts crisper than a screen picture can
        // hold, but a sheet drawn from a bitmap stretched to fit keeps less than half of that.
        EXPECT_GT(Sharpness(sheet) / Sharpness(page), 0.5)
            << "smooth " << c.smooth << ", window " << c.window.width() << " x " << c.window.height();
        QFile::remove(PdfOf("PDF A"));
        preview_.reset();
    }
}

TEST_F(ChartPreviewTest, PrintDrawingLeavesTheScreenChartAsItWas) {
    QCoreApplication::processEvents();
    const QRectF plot = Weight()->chart()->plotArea();
    const QSizeF size = Weight()->chart()->size();
    QImage page(1200, 800, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    Weight()->SetPrintResolution(-100);
    Weight()->Draw(painter, QRectF(100, 100, 1000, 600), false);
    Weight()->Draw(painter, QRectF(100, 100, 1000, 600), true);
    painter.end();
    EXPECT_EQ(Weight()->chart()->size(), size);
    EXPECT_EQ(Weight()->chart()->plotArea(), plot);
    EXPECT_NE(page.pixel(600, 400), QColor(Qt::white).rgb()) << "something was drawn";
}

// A printer's painter has many more dots per inch than the screen. Drawn onto one as vectors, the
// title must keep its size within the blue band, as it has when the chart goes as a bitmap.
TEST_F(ChartPreviewTest, TheTitleKeepsItsSizeOnAFineDevice) {
    QCoreApplication::processEvents();
    const auto bandPixels = [this](bool asBitmap) {
        QImage page(1200, 800, QImage::Format_RGB32);
        page.setDotsPerMeterX(qRound(600 / 0.0254));
        page.setDotsPerMeterY(qRound(600 / 0.0254));
        page.fill(Qt::white);
        QPainter painter(&page);
        Weight()->Draw(painter, QRectF(100, 100, 1000, 600), asBitmap);
        painter.end();
        int blue = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                blue += std::abs(c.red()) + std::abs(c.green() - 128) + std::abs(c.blue() - 192) < 40;
            }
        return blue;
    };
    const int asBitmap = bandPixels(true);
    const int asVectors = bandPixels(false);
    ASSERT_GT(asBitmap, 1000);
    EXPECT_NEAR(asVectors, asBitmap, asBitmap / 10);
}

} // namespace
