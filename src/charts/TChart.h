// SPDX-License-Identifier: MIT
#pragma once

#include "charts/PrintMargins.h"

#include <QChartView>
#include <QColor>
#include <QDate>
#include <QPoint>
#include <functional>
#include <optional>
#include <vector>

class QAbstractSeries;
class QDateTimeAxis;
class QGraphicsRectItem;
class TTitleBand;
class QLineSeries;
class QPainter;
class QValueAxis;

// One chart of the chart view: a line chart over days with a date axis at the bottom and a value
// axis at the left, a blue title band, a legend, a white-to-green gradient background, rectangle
// zoom with the left mouse button and vertical panning with the right one (a right click without
// dragging undoes the zoom). It also keeps the settings it is printed with.
class TChart : public QChartView {
    Q_OBJECT
public:
    explicit TChart(QWidget* parent = nullptr);
    ~TChart() override;

    void SetTitle(const QString& text);
    QString Title() const;
    void SetLeftAxisTitle(const QString& text);
    QString LeftAxisTitle() const;

    enum class TAxisSide { Left, Right };

    // Adds a line series drawn with small square markers; an outlined marker has a dark rim. A
    // series on the right-hand value axis (created with the first such series) is fitted apart
    // from those on the left.
    QLineSeries* AddSeries(const QString& name, const QString& title, const QColor& color, bool markerOutline,
                           TAxisSide side = TAxisSide::Left);
    // Adds a thicker line without markers on the left axis, for a smoothed course of a series.
    QLineSeries* AddTrendSeries(const QString& name, const QString& title, const QColor& color);
    // Adds a dashed horizontal line at one value of the left axis, across the whole date range;
    // hidden while it has no value (SetGuideValue).
    QLineSeries* AddGuideLine(const QString& name, const QString& title, const QColor& color);
    void SetGuideValue(QLineSeries* guide, std::optional<double> value);
    std::optional<double> GuideValue(const QLineSeries* guide) const;

    // Fits the date axis to the points of every shown series and each value axis to the points of
    // its own series, with a little room above and below. A guide line's value is taken into the
    // left axis when it lies no further from the points than their own spread (at least one unit),
    // so that a far goal does not flatten the course of the points. A chart without points shows
    // the days emptyFirst..emptyLast.
    void FitAxes(const QDate& emptyFirst, const QDate& emptyLast);
    // Zooming eases the axes to their new ranges.
    void SetZoomAnimated(bool animated);
    // A dotted grey legend frame with a grey shadow instead of a solid black one.
    void SetShadowedLegend();

    // Writes the chart as it is shown, at its on-screen size, to path as a Windows bitmap.
    // AppError when the file cannot be written.
    void SaveToBitmapFile(const QString& path);

    // Print settings, kept for the next preview.
    TPrintMargins PrintMargins() const { return printMargins_; }
    void SetPrintMargins(const TPrintMargins& margins) { printMargins_ = margins; }
    bool PrintProportional() const { return printProportional_; }
    void SetPrintProportional(bool proportional) { printProportional_ = proportional; }
    // -100 ("More": laid out at twice the screen size, finer) to 0 ("Normal": screen size).
    int PrintResolution() const { return printResolution_; }
    void SetPrintResolution(int resolution);
    // The margins for a page of page printer pixels (see ProportionalMargins).
    TPrintMargins CalcProportionalMargins(const QSizeF& page, double dpiX, double dpiY) const;
    // The size the chart is laid out at for printing: (1 - resolution / 100) times its screen size.
    QSizeF PrintLayoutSize() const;
    // Draws the chart, laid out at PrintLayoutSize(), stretched into target. asBitmap draws it into
    // a bitmap first and places the bitmap; otherwise it is drawn straight onto the painter.
    void Draw(QPainter& painter, const QRectF& target, bool asBitmap);

    QDateTimeAxis* AxisBottom() const { return axisBottom_; }
    QValueAxis* AxisLeft() const { return axisLeft_; }
    QValueAxis* AxisRight() const { return axisRight_; } // none until a series is added on the right
    void SetRightAxisTitle(const QString& text);
    QString RightAxisTitle() const;

    // The x value of a day on the date axis and back. A day sits at its noon, so that the date
    // labels, spaced evenly in milliseconds, name the right day also across a daylight-saving change.
    static qreal DayToX(const QDate& day);
    static QDate XToDay(qreal x);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void drawForeground(QPainter* painter, const QRectF& rect) override;

private:
    // A new line series named name, titled title in the legend and drawn with pen, styled further
    // by style before it joins the chart against the date axis and valueAxis.
    QLineSeries* AddLine(const QString& name, const QString& title, const QPen& pen, QValueAxis* valueAxis,
                         const std::function<void(QLineSeries*)>& style);
    void UpdateLegendFrame();
    void ChartGeometryChanged();
    void FitDateTicks();
    void FitValueAxis(QValueAxis* axis, bool withGuides);
    void PlaceGuideLines();
    QValueAxis* RightAxis();
    bool IsGuide(const QAbstractSeries* series) const;

    struct TGuide {
        QLineSeries* Series;
        std::optional<double> Value;
    };

    QChart* chart_;
    TTitleBand* titleBand_;
    QGraphicsRectItem* legendFrame_;
    QGraphicsRectItem* legendShadow_;
    bool showLegendShadow_ = false;
    QDateTimeAxis* axisBottom_;
    QValueAxis* axisLeft_;
    QValueAxis* axisRight_ = nullptr;
    QString leftAxisTitle_;
    QString rightAxisTitle_;
    std::vector<TGuide> guides_;
    QDate firstDay_;
    QDate lastDay_;

    TPrintMargins printMargins_;
    bool printProportional_ = false;
    int printResolution_ = 0;

    bool panning_ = false;
    bool panned_ = false;
    QPoint panFrom_;
};
