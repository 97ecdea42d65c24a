// SPDX-License-Identifier: MIT
#include "charts/TChart.h"

#include "core/AppError.h"
#include "core/Clock.h"

#include <QDateTime>
#include <QDateTimeAxis>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGraphicsItem>
#include <QGraphicsLayout>
#include <QGraphicsRectItem>
#include <QImage>
#include <QLegend>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QResizeEvent>
#include <QValueAxis>
#include <QtMath>
#include <algorithm>
#include <cmath>
#include <functional>

namespace {

const QColor TitleBlue(0, 128, 192);
const QColor MoneyGreen(192, 220, 192);
constexpr int MarkerSize = 5;
constexpr int LegendPadding = 4;     // between the legend entries and their frame
constexpr int TitleGap = 4;          // between the title band and what follows below it
constexpr int DateLabelSpacing = 90; // pixels a yyyy-M-d label needs on the bottom axis
constexpr qint64 MSecsPerDay = 86400000;
// A smooth drawing's bitmap holds at most this many pixels (64 MB): about 400 dpi on a full A4 page.
constexpr double MaxBitmapPixels = 16e6;

// The point marker: a filled square, with a dark rim when outlined.
QImage MarkerImage(const QColor& color, bool outline) {
    QImage image(MarkerSize, MarkerSize, QImage::Format_ARGB32);
    image.fill(outline ? QColor(Qt::black) : color);
    if (outline) {
        QPainter painter(&image);
        painter.fillRect(1, 1, MarkerSize - 2, MarkerSize - 2, color);
    }
    return image;
}

// What an item shows of its descendants, in its own coordinates: hidden items (the legend keeps a
// hidden title) take no room.
QRectF VisibleContent(const QGraphicsItem* item) {
    QRectF content;
    for (const QGraphicsItem* child : item->childItems()) {
        if (!child->isVisible())
            continue;
        const QRectF own = child->childItems().isEmpty() ? child->boundingRect() : VisibleContent(child);
        content |= child->mapRectToParent(own);
    }
    return content;
}

// Lays the chart out at another size for one drawing, at once (animations would draw it halfway),
// and puts it back as it was on screen when the drawing ends, also by an exception.
class PrintLayout {
public:
    PrintLayout(QChart* chart, const QSizeF& size)
        : chart_(chart), screenSize_(chart->size()), animations_(chart->animationOptions()) {
        chart_->setAnimationOptions(QChart::NoAnimation);
        Apply(size);
    }
    ~PrintLayout() {
        Apply(screenSize_);
        chart_->setAnimationOptions(animations_);
    }
    PrintLayout(const PrintLayout&) = delete;
    PrintLayout& operator=(const PrintLayout&) = delete;

private:
    void Apply(const QSizeF& size) {
        chart_->resize(size);
        chart_->layout()->activate();
    }

    QChart* chart_;
    QSizeF screenSize_;
    QChart::AnimationOptions animations_;
};

// Axis titles are rich text: the language's text is shown as written, every blank kept.
QString AxisTitleHtml(const QString& text) {
    return text.toHtmlEscaped().replace(QLatin1Char(' '), QStringLiteral("&nbsp;"));
}

// The range of the y values of points.
struct TValueRange {
    bool Any = false;
    qreal Min = 0;
    qreal Max = 0;

    void Add(qreal y) {
        Min = Any ? std::min(Min, y) : y;
        Max = Any ? std::max(Max, y) : y;
        Any = true;
    }
};

} // namespace

// The title: white bold text on a solid blue band across the chart, with a one-pixel shadow.
class TTitleBand : public QGraphicsItem {
public:
    explicit TTitleBand(QGraphicsItem* parent) : QGraphicsItem(parent) {}

    void SetText(const QString& text) {
        text_ = text;
        update();
    }
    const QString& Text() const { return text_; }
    void SetFont(const QFont& font) {
        prepareGeometryChange();
        font_ = font;
        font_.setBold(true);
        // In pixels of the scene: a size in points would grow with the resolution of a printer the
        // chart is drawn on, while the scene is scaled to the page as a whole.
        font_.setPixelSize(QFontInfo(font_).pixelSize());
    }
    int Height() const { return QFontMetrics(font_).height() + 6; }
    void SetWidth(qreal width) {
        prepareGeometryChange();
        width_ = std::max<qreal>(0, width);
    }

    QRectF boundingRect() const override { return QRectF(0, 0, width_ + 1, Height() + 1); }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override {
        const QRectF band(0, 0, width_, Height());
        painter->fillRect(band.translated(1, 1), Qt::darkGray);
        painter->fillRect(band, TitleBlue);
        painter->setFont(font_);
        painter->setPen(Qt::white);
        painter->drawText(band, Qt::AlignCenter | Qt::TextSingleLine, text_);
    }

private:
    QString text_;
    QFont font_;
    qreal width_ = 0;
};

// Created with its chart: a view created without one makes a default chart that setChart() would
// only disown, not free.
TChart::TChart(QWidget* parent) : QChartView(new QChart, parent), chart_(chart()) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::RectangleRubberBand);
    // Fitting the chart in raised the view's minimum to the chart's; the owner lays the view out.
    setMinimumSize(0, 0);

    chart_->layout()->setContentsMargins(0, 0, 0, 0);
    chart_->setBackgroundRoundness(0);
    chart_->setDropShadowEnabled(false);
    QLinearGradient background(0, 0, 0, 1);
    background.setCoordinateMode(QGradient::ObjectBoundingMode);
    background.setColorAt(0, Qt::white);
    background.setColorAt(1, MoneyGreen);
    chart_->setBackgroundBrush(background);
    chart_->setBackgroundPen(Qt::NoPen);
    // The back wall: its frame is the left, right, top and bottom axis line; it is not filled.
    chart_->setPlotAreaBackgroundVisible(true);
    chart_->setPlotAreaBackgroundBrush(Qt::NoBrush);
    chart_->setPlotAreaBackgroundPen(QPen(Qt::black, 1));

    titleBand_ = new TTitleBand(chart_);
    titleBand_->SetFont(font());
    titleBand_->setZValue(10);

    QFont bold = font();
    bold.setBold(true);
    axisBottom_ = new QDateTimeAxis(chart_);
    axisBottom_->setFormat(QStringLiteral("yyyy-M-d"));
    axisBottom_->setLabelsFont(font());
    axisBottom_->setLinePen(QPen(Qt::black, 1));
    chart_->addAxis(axisBottom_, Qt::AlignBottom);
    axisLeft_ = new QValueAxis(chart_);
    axisLeft_->setLabelsFont(font());
    axisLeft_->setTitleFont(bold);
    axisLeft_->setLinePen(QPen(Qt::black, 1));
    chart_->addAxis(axisLeft_, Qt::AlignLeft);

    QLegend* legend = chart_->legend();
    legend->setAlignment(Qt::AlignRight);
    legend->setFont(font());
    legend->setBackgroundVisible(false);
    legendShadow_ = new QGraphicsRectItem(chart_);
    legendShadow_->setPen(Qt::NoPen);
    legendShadow_->setBrush(Qt::gray);
    legendFrame_ = new QGraphicsRectItem(chart_);
    legendFrame_->setPen(QPen(Qt::black, 1));
    legendFrame_->setBrush(Qt::white);
    legendShadow_->setZValue(legend->zValue() - 0.2);
    legendFrame_->setZValue(legend->zValue() - 0.1);
    connect(chart_, &QChart::plotAreaChanged, this, [this] { UpdateLegendFrame(); });
    connect(legend, &QGraphicsWidget::geometryChanged, this, [this] { UpdateLegendFrame(); });

    connect(chart_, &QGraphicsWidget::geometryChanged, this, [this] { ChartGeometryChanged(); });
    ChartGeometryChanged();
    FitAxes(QDate(), QDate());
}

TChart::~TChart() = default;

void TChart::SetTitle(const QString& text) {
    titleBand_->SetText(text);
}
QString TChart::Title() const {
    return titleBand_->Text();
}
void TChart::SetLeftAxisTitle(const QString& text) {
    leftAxisTitle_ = text;
    axisLeft_->setTitleText(AxisTitleHtml(text));
}
QString TChart::LeftAxisTitle() const {
    return leftAxisTitle_;
}
void TChart::SetRightAxisTitle(const QString& text) {
    rightAxisTitle_ = text;
    RightAxis()->setTitleText(AxisTitleHtml(text));
}
QString TChart::RightAxisTitle() const {
    return rightAxisTitle_;
}

QLineSeries* TChart::AddLine(const QString& name, const QString& title, const QPen& pen,
                             QValueAxis* valueAxis, const std::function<void(QLineSeries*)>& style) {
    auto* series = new QLineSeries(chart_);
    series->setObjectName(name);
    series->setName(title);
    series->setPen(pen);
    series->setPointLabelsVisible(false);
    style(series);
    chart_->addSeries(series);
    series->attachAxis(axisBottom_);
    series->attachAxis(valueAxis);
    return series;
}

QLineSeries* TChart::AddSeries(const QString& name, const QString& title, const QColor& color,
                               bool markerOutline, TAxisSide side) {
    QLineSeries* series = AddLine(name, title, QPen(color, 1),
                                  side == TAxisSide::Right ? RightAxis() : axisLeft_, [&](QLineSeries* line) {
                                      line->setMarkerSize(MarkerSize);
                                      line->setLightMarker(MarkerImage(color, markerOutline));
                                  });
    UpdateLegendFrame();
    return series;
}

QLineSeries* TChart::AddTrendSeries(const QString& name, const QString& title, const QColor& color) {
    QLineSeries* series = AddLine(name, title, QPen(color, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin),
                                  axisLeft_, [](QLineSeries* line) { line->setPointsVisible(false); });
    UpdateLegendFrame();
    return series;
}

QLineSeries* TChart::AddGuideLine(const QString& name, const QString& title, const QColor& color) {
    QLineSeries* series =
        AddLine(name, title, QPen(color, 1.5, Qt::DashLine), axisLeft_, [](QLineSeries* line) {
            line->setPointsVisible(false);
            line->setVisible(false);
        });
    guides_.push_back({series, std::nullopt});
    UpdateLegendFrame();
    return series;
}

void TChart::SetGuideValue(QLineSeries* guide, std::optional<double> value) {
    for (TGuide& entry : guides_)
        if (entry.Series == guide) {
            entry.Value = value;
            guide->setVisible(value.has_value());
            if (!value)
                guide->clear();
        }
    PlaceGuideLines();
    UpdateLegendFrame();
}

std::optional<double> TChart::GuideValue(const QLineSeries* guide) const {
    for (const TGuide& entry : guides_)
        if (entry.Series == guide)
            return entry.Value;
    return std::nullopt;
}

bool TChart::IsGuide(const QAbstractSeries* series) const {
    return std::any_of(guides_.begin(), guides_.end(),
                       [series](const TGuide& guide) { return guide.Series == series; });
}

// The right-hand axis carries its own labels and title but no grid, which is the left axis'.
QValueAxis* TChart::RightAxis() {
    if (!axisRight_) {
        QFont bold = font();
        bold.setBold(true);
        axisRight_ = new QValueAxis(chart_);
        axisRight_->setLabelsFont(font());
        axisRight_->setTitleFont(bold);
        axisRight_->setLinePen(QPen(Qt::black, 1));
        axisRight_->setGridLineVisible(false);
        chart_->addAxis(axisRight_, Qt::AlignRight);
    }
    return axisRight_;
}

qreal TChart::DayToX(const QDate& day) {
    return static_cast<qreal>(QDateTime(day, QTime(12, 0)).toMSecsSinceEpoch());
}

QDate TChart::XToDay(qreal x) {
    return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(std::llround(x))).date();
}

void TChart::FitAxes(const QDate& emptyFirst, const QDate& emptyLast) {
    bool any = false;
    qreal minX = 0, maxX = 0;
    for (QAbstractSeries* abstract : chart_->series()) {
        const auto* series = static_cast<const QXYSeries*>(abstract);
        if (!series->isVisible() || IsGuide(series))
            continue;
        for (const QPointF& point : series->points()) {
            minX = any ? std::min(minX, point.x()) : point.x();
            maxX = any ? std::max(maxX, point.x()) : point.x();
            any = true;
        }
    }

    chart_->zoomReset();
    if (any) {
        firstDay_ = XToDay(minX);
        lastDay_ = XToDay(maxX);
    } else {
        const QDate today = CurrentDate();
        firstDay_ = emptyFirst.isValid() ? emptyFirst : today;
        lastDay_ = emptyLast.isValid() ? emptyLast : today;
        if (firstDay_ > lastDay_)
            std::swap(firstDay_, lastDay_);
    }
    if (firstDay_ == lastDay_) {
        firstDay_ = firstDay_.addDays(-1);
        lastDay_ = lastDay_.addDays(1);
    }
    FitValueAxis(axisLeft_, true);
    if (axisRight_)
        FitValueAxis(axisRight_, false);
    FitDateTicks();
}

void TChart::FitValueAxis(QValueAxis* axis, bool withGuides) {
    TValueRange range;
    for (QAbstractSeries* abstract : chart_->series()) {
        auto* series = static_cast<QXYSeries*>(abstract);
        if (!series->isVisible() || IsGuide(series) || !series->attachedAxes().contains(axis))
            continue;
        for (const QPointF& point : series->points())
            range.Add(point.y());
    }
    if (!range.Any) {
        axis->setRange(0, 100);
        axis->applyNiceNumbers();
        return;
    }
    if (withGuides) {
        const qreal reach = std::max<qreal>(range.Max - range.Min, 1);
        for (const TGuide& guide : guides_)
            if (guide.Value && *guide.Value >= range.Min - reach && *guide.Value <= range.Max + reach)
                range.Add(*guide.Value);
    }
    // A twentieth of the spread above and below keeps the highest and lowest points off the frame.
    const qreal room = std::max<qreal>((range.Max - range.Min) / 20, 0.5);
    axis->setRange(range.Min - room, range.Max + room);
    axis->applyNiceNumbers();
}

// A guide line runs from the first to the last day the date axis shows.
void TChart::PlaceGuideLines() {
    const qreal from = static_cast<qreal>(axisBottom_->min().toMSecsSinceEpoch());
    const qreal to = static_cast<qreal>(axisBottom_->max().toMSecsSinceEpoch());
    for (const TGuide& guide : guides_)
        if (guide.Value)
            guide.Series->replace({QPointF(from, *guide.Value), QPointF(to, *guide.Value)});
}

// Whole days from the first day on, as many labels as fit, at least one day apart. A step that
// divides the days evenly is preferred, so that the last label falls on the last day.
void TChart::FitDateTicks() {
    const qint64 days = firstDay_.daysTo(lastDay_);
    const qreal plotWidth = chart_->plotArea().width() > 0 ? chart_->plotArea().width() : width() * 0.8;
    const qint64 maxIntervals = std::max<qint64>(1, static_cast<qint64>(plotWidth) / DateLabelSpacing);
    const qint64 shortestStep = std::max<qint64>(1, (days + maxIntervals - 1) / maxIntervals);
    qint64 step = shortestStep;
    for (qint64 candidate = shortestStep; candidate <= shortestStep * 3 / 2 && candidate <= days; ++candidate)
        if (days % candidate == 0) {
            step = candidate;
            break;
        }
    const qint64 intervals = std::max<qint64>(1, (days + step - 1) / step);
    const qint64 first = static_cast<qint64>(DayToX(firstDay_));
    axisBottom_->setRange(QDateTime::fromMSecsSinceEpoch(first),
                          QDateTime::fromMSecsSinceEpoch(first + intervals * step * MSecsPerDay));
    axisBottom_->setTickCount(static_cast<int>(intervals + 1));
    PlaceGuideLines();
}

void TChart::SetZoomAnimated(bool animated) {
    chart_->setAnimationOptions(animated ? QChart::GridAxisAnimations : QChart::NoAnimation);
    chart_->setAnimationDuration(250);
}

void TChart::SetShadowedLegend() {
    legendFrame_->setPen(QPen(Qt::gray, 1, Qt::DotLine));
    showLegendShadow_ = true;
    UpdateLegendFrame();
}

void TChart::SaveToBitmapFile(const QString& path) {
    const QImage image = grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (!image.save(path, "BMP"))
        throw AppError(QStringLiteral("Unable to write to %1").arg(path));
}

void TChart::SetPrintResolution(int resolution) {
    printResolution_ = std::clamp(resolution, -100, 0);
}

TPrintMargins TChart::CalcProportionalMargins(const QSizeF& page, double dpiX, double dpiY) const {
    return ProportionalMargins(chart_->size(), page, dpiX, dpiY, printMargins_);
}

QSizeF TChart::PrintLayoutSize() const {
    return chart_->size() * (1.0 - printResolution_ / 100.0);
}

void TChart::Draw(QPainter& painter, const QRectF& target, bool asBitmap) {
    if (target.isEmpty() || chart_->size().isEmpty())
        return;
    const QSizeF layoutSize = PrintLayoutSize();
    const PrintLayout layout(chart_, layoutSize);
    const QRectF source(chart_->pos(), layoutSize);

    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    if (asBitmap) {
        // As many pixels as the target holds on the device in each direction, so that placing the
        // bitmap stretches nothing; a page beyond MaxBitmapPixels gets a finer bitmap than it.
        QSizeF pixels = painter.transform().mapRect(target).size();
        const double area = pixels.width() * pixels.height();
        if (area > MaxBitmapPixels)
            pixels *= std::sqrt(MaxBitmapPixels / area);
        QImage bitmap(QSize(qCeil(pixels.width()), qCeil(pixels.height())).expandedTo(QSize(1, 1)),
                      QImage::Format_RGB32);
        bitmap.fill(Qt::white);
        QPainter bitmapPainter(&bitmap);
        bitmapPainter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        scene()->render(&bitmapPainter, QRectF(QPointF(), QSizeF(bitmap.size())), source,
                        Qt::IgnoreAspectRatio);
        bitmapPainter.end();
        painter.drawImage(target, bitmap);
    } else {
        scene()->render(&painter, target, source, Qt::IgnoreAspectRatio);
    }
    painter.restore();
}

void TChart::ChartGeometryChanged() {
    const QSizeF size = chart_->size();
    const int marginX = qRound(size.width() / 100);
    const int marginY = qRound(size.height() / 100);
    titleBand_->setPos(marginX, marginY);
    titleBand_->SetWidth(size.width() - 2 * marginX);
    chart_->setMargins(QMargins(marginX, marginY + titleBand_->Height() + TitleGap, marginX, marginY));
}

// The chart gives the legend a column of its own; the frame surrounds only its entries.
void TChart::UpdateLegendFrame() {
    const QLegend* legend = chart_->legend();
    const QRectF entries = legend->mapRectToItem(chart_, VisibleContent(legend));
    const bool visible = legend->isVisible() && !chart_->series().isEmpty() && !entries.isEmpty();
    const QRectF frame = entries.adjusted(-LegendPadding, -LegendPadding, LegendPadding, LegendPadding);
    legendFrame_->setVisible(visible);
    legendFrame_->setRect(frame);
    legendShadow_->setVisible(visible && showLegendShadow_);
    legendShadow_->setRect(frame.translated(2, 2));
}

void TChart::resizeEvent(QResizeEvent* event) {
    // Not QChartView's own: it raises the view's minimum size to the chart's, which would resize
    // the view behind its owner's back; the owner lays the view out to the pixel.
    QGraphicsView::resizeEvent(event); // NOLINT(bugprone-parent-virtual-call)
    chart_->resize(event->size());
    setSceneRect(chart_->geometry());
    if (!chart_->isZoomed())
        FitDateTicks();
}

void TChart::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        panning_ = true;
        panned_ = false;
        panFrom_ = event->position().toPoint();
        event->accept();
        return;
    }
    QChartView::mousePressEvent(event);
}

void TChart::mouseMoveEvent(QMouseEvent* event) {
    if (panning_) {
        const QPoint at = event->position().toPoint();
        const int dy = at.y() - panFrom_.y();
        if (dy != 0) {
            chart_->scroll(0, dy);
            panned_ = true;
        }
        panFrom_ = at;
        event->accept();
        return;
    }
    QChartView::mouseMoveEvent(event);
}

void TChart::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton && panning_) {
        panning_ = false;
        if (!panned_) {
            chart_->zoomReset();
            FitDateTicks();
        }
        event->accept();
        return;
    }
    QChartView::mouseReleaseEvent(event);
}

// The inner bevel: light on the top and left, dark on the bottom and right.
void TChart::drawForeground(QPainter* painter, const QRectF& rect) {
    QChartView::drawForeground(painter, rect);
    const QRectF frame = chart_->geometry().adjusted(0, 0, -1, -1);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(Qt::white);
    painter->drawLine(frame.topLeft(), frame.topRight());
    painter->drawLine(frame.topLeft(), frame.bottomLeft());
    painter->setPen(Qt::gray);
    painter->drawLine(frame.bottomLeft(), frame.bottomRight());
    painter->drawLine(frame.topRight(), frame.bottomRight());
    painter->restore();
}
