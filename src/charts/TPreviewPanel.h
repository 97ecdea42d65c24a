// SPDX-License-Identifier: MIT
#pragma once

#include "charts/PrintMargins.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

class TChart;

// The print preview panel: one sheet of the current printer's paper with the chart inside its
// margins. The margin lines and the chart itself can be dragged with the mouse; each change is
// stored in the chart's print margins and reported with ChangeMargins. It also prints the page.
class TPreviewPanel : public QWidget {
    Q_OBJECT
public:
    explicit TPreviewPanel(QWidget* parent = nullptr);

    void SetChart(TChart* chart);
    TChart* Chart() const { return chart_; }

    // Smooth drawing: the chart is drawn into a bitmap first, on the sheet and on paper.
    bool AsBitmap() const { return asBitmap_; }
    void SetAsBitmap(bool asBitmap);
    bool MarginsVisible() const { return marginsVisible_; }
    void SetMarginsVisible(bool visible);

    // Draws the sheet anew from the chart's and the printer's current settings.
    void Repaint();
    // Prints one page with the chart on the current printer, the job titled with the chart's name.
    // AppError when the printer cannot take the page; a started job is then aborted.
    void Print();

    // Where the sheet and, inside it, the chart are drawn on the panel.
    QRectF SheetRect() const;
    QRectF ChartRect() const;
    // The sheet as the panel shows it, in device pixels.
    QImage SheetImage() { return SheetPicture(); }

signals:
    // The person moved a margin or the chart; the chart's print margins already hold margins.
    void ChangeMargins(bool disableProportional, const TPrintMargins& margins);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class Handle { None, Left, Top, Right, Bottom, Chart };

    QSizeF PageSize() const;
    Handle HandleAt(const QPointF& at) const;
    void Drag(const QPointF& at);
    const QImage& SheetPicture();

    QPointer<TChart> chart_;
    bool asBitmap_ = false;
    bool marginsVisible_ = true;
    QImage sheetPicture_; // the sheet with the chart, drawn once per change and size

    Handle dragging_ = Handle::None;
    QPointF dragFrom_;
    TPrintMargins dragMargins_;
};

// The rectangle the margins leave of page: left % to (100 - right) % of its width, top % to
// (100 - bottom) % of its height.
QRectF MarginRect(const QRectF& page, const TPrintMargins& margins);
