// SPDX-License-Identifier: MIT
#include "charts/TPreviewPanel.h"

#include "charts/TChart.h"
#include "charts/TPrinter.h"
#include "core/AppError.h"
#include "core/SaveFileDialog.h"

#include <QDir>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace {

constexpr int Border = 12; // free space around the sheet
constexpr int ShadowOffset = 4;
constexpr int GripDistance = 3; // how near a margin line the mouse takes hold of it

} // namespace

QRectF MarginRect(const QRectF& page, const TPrintMargins& margins) {
    return QRectF(QPointF(page.left() + page.width() * margins.Left / 100.0,
                          page.top() + page.height() * margins.Top / 100.0),
                  QPointF(page.left() + page.width() * (100 - margins.Right) / 100.0,
                          page.top() + page.height() * (100 - margins.Bottom) / 100.0));
}

TPreviewPanel::TPreviewPanel(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPreviewPanel::SetChart(TChart* chart) {
    chart_ = chart;
    Repaint();
}

void TPreviewPanel::SetAsBitmap(bool asBitmap) {
    asBitmap_ = asBitmap;
    Repaint();
}

void TPreviewPanel::SetMarginsVisible(bool visible) {
    marginsVisible_ = visible;
    update();
}

void TPreviewPanel::Repaint() {
    sheetPicture_ = QImage();
    update();
}

// The current printer's page; the screen stands in for it while no printer is installed.
QSizeF TPreviewPanel::PageSize() const {
    if (!Printer().PageSize().isEmpty())
        return Printer().PageSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return screen->size();
    return QSizeF(4, 3);
}

QRectF TPreviewPanel::SheetRect() const {
    const QSizeF page = PageSize();
    const QSizeF room(std::max(1, width() - 2 * Border - ShadowOffset),
                      std::max(1, height() - 2 * Border - ShadowOffset));
    const QSizeF sheet = page.scaled(room, Qt::KeepAspectRatio);
    return QRectF(QPointF(std::floor((width() - ShadowOffset - sheet.width()) / 2),
                          std::floor((height() - ShadowOffset - sheet.height()) / 2)),
                  sheet);
}

QRectF TPreviewPanel::ChartRect() const {
    return MarginRect(SheetRect(), chart_ ? chart_->PrintMargins() : TPrintMargins());
}

// The page drawn as the printer gets it (in printer pixels, fonts at the printer's resolution),
// only scaled down to the sheet's pixels on screen: sharp at any size and true to the print.
const QImage& TPreviewPanel::SheetPicture() {
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (SheetRect().size() * ratio).toSize().expandedTo(QSize(1, 1));
    if (!sheetPicture_.isNull() && sheetPicture_.size() == pixels)
        return sheetPicture_;
    sheetPicture_ = QImage(pixels, QImage::Format_RGB32);
    sheetPicture_.fill(Qt::white);
    if (chart_) {
        const QSizeF page = PageSize();
        const bool printed = !Printer().PageSize().isEmpty();
        sheetPicture_.setDotsPerMeterX(qRound((printed ? Printer().DpiX() : logicalDpiX()) / 0.0254));
        sheetPicture_.setDotsPerMeterY(qRound((printed ? Printer().DpiY() : logicalDpiY()) / 0.0254));
        QPainter painter(&sheetPicture_);
        painter.scale(pixels.width() / page.width(), pixels.height() / page.height());
        chart_->Draw(painter, MarginRect(QRectF(QPointF(), page), chart_->PrintMargins()), asBitmap_);
    }
    sheetPicture_.setDevicePixelRatio(ratio);
    return sheetPicture_;
}

void TPreviewPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QLinearGradient background(rect().topLeft(), rect().bottomRight());
    background.setColorAt(0, Qt::white);
    background.setColorAt(1, Qt::gray);
    painter.fillRect(rect(), background);

    const QRectF sheet = SheetRect();
    painter.fillRect(sheet.translated(ShadowOffset, ShadowOffset), Qt::gray);
    painter.drawImage(sheet.topLeft(), SheetPicture());
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(sheet.adjusted(0, 0, -1, -1));

    if (marginsVisible_) {
        const QRectF chart = ChartRect();
        painter.setPen(QPen(Qt::blue, 1, Qt::DotLine));
        painter.drawLine(QPointF(chart.left(), sheet.top()), QPointF(chart.left(), sheet.bottom()));
        painter.drawLine(QPointF(chart.right(), sheet.top()), QPointF(chart.right(), sheet.bottom()));
        painter.drawLine(QPointF(sheet.left(), chart.top()), QPointF(sheet.right(), chart.top()));
        painter.drawLine(QPointF(sheet.left(), chart.bottom()), QPointF(sheet.right(), chart.bottom()));
    }
}

void TPreviewPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    sheetPicture_ = QImage();
}

TPreviewPanel::Handle TPreviewPanel::HandleAt(const QPointF& at) const {
    if (!chart_ || !SheetRect().contains(at))
        return Handle::None;
    const QRectF chart = ChartRect();
    if (marginsVisible_) {
        if (std::abs(at.x() - chart.left()) <= GripDistance)
            return Handle::Left;
        if (std::abs(at.x() - chart.right()) <= GripDistance)
            return Handle::Right;
        if (std::abs(at.y() - chart.top()) <= GripDistance)
            return Handle::Top;
        if (std::abs(at.y() - chart.bottom()) <= GripDistance)
            return Handle::Bottom;
    }
    return chart.contains(at) ? Handle::Chart : Handle::None;
}

void TPreviewPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    dragging_ = HandleAt(event->position());
    dragFrom_ = event->position();
    if (chart_)
        dragMargins_ = chart_->PrintMargins();
}

void TPreviewPanel::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ != Handle::None) {
        Drag(event->position());
        return;
    }
    switch (HandleAt(event->position())) {
    case Handle::Left:
    case Handle::Right:
        setCursor(Qt::SizeHorCursor);
        break;
    case Handle::Top:
    case Handle::Bottom:
        setCursor(Qt::SizeVerCursor);
        break;
    case Handle::Chart:
        setCursor(Qt::SizeAllCursor);
        break;
    case Handle::None:
        unsetCursor();
        break;
    }
}

void TPreviewPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && dragging_ != Handle::None) {
        Drag(event->position());
        dragging_ = Handle::None;
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

// Moves the held margin (or the whole chart) by the mouse's way since the press, in whole per
// cent, keeping every margin at 0 or more and each pair below 100.
void TPreviewPanel::Drag(const QPointF& at) {
    if (!chart_)
        return;
    const QRectF sheet = SheetRect();
    const int dx = qRound((at.x() - dragFrom_.x()) * 100 / sheet.width());
    const int dy = qRound((at.y() - dragFrom_.y()) * 100 / sheet.height());
    TPrintMargins margins = dragMargins_;
    switch (dragging_) {
    case Handle::Left:
        margins.Left = std::clamp(dragMargins_.Left + dx, 0, 99 - margins.Right);
        break;
    case Handle::Right:
        margins.Right = std::clamp(dragMargins_.Right - dx, 0, 99 - margins.Left);
        break;
    case Handle::Top:
        margins.Top = std::clamp(dragMargins_.Top + dy, 0, 99 - margins.Bottom);
        break;
    case Handle::Bottom:
        margins.Bottom = std::clamp(dragMargins_.Bottom - dy, 0, 99 - margins.Top);
        break;
    case Handle::Chart: {
        const int moveX = std::clamp(dx, -dragMargins_.Left, dragMargins_.Right);
        const int moveY = std::clamp(dy, -dragMargins_.Top, dragMargins_.Bottom);
        margins.Left += moveX;
        margins.Right -= moveX;
        margins.Top += moveY;
        margins.Bottom -= moveY;
        break;
    }
    case Handle::None:
        return;
    }
    if (margins == chart_->PrintMargins())
        return;
    chart_->SetPrintMargins(margins);
    Repaint();
    emit ChangeMargins(true, margins);
}

void TPreviewPanel::Print() {
    if (!chart_)
        return;
    TPrinter& printer = Printer();
    QPrinter& device = printer.Device();
    QString destination = printer.PrinterName();
    if (printer.PrintsToPdfFile()) {
        destination =
            AskSaveFileName(window(), QString(), QStringLiteral("PDF (*.pdf)"), QStringLiteral("pdf"));
        if (destination.isEmpty())
            return;
        printer.SetPdfFileName(destination);
        destination = QDir::toNativeSeparators(destination);
    }

    const QSizeF page = printer.PageSize();
    if (chart_->PrintProportional())
        chart_->SetPrintMargins(chart_->CalcProportionalMargins(page, printer.DpiX(), printer.DpiY()));

    device.setDocName(chart_->objectName());
    const QString failure = QStringLiteral("Unable to print on %1").arg(destination);
    QPainter painter;
    if (!painter.begin(&device))
        throw AppError(failure);
    try {
        chart_->Draw(painter, MarginRect(QRectF(QPointF(), page), chart_->PrintMargins()), asBitmap_);
    } catch (...) {
        device.abort();
        painter.end();
        throw;
    }
    if (!painter.end())
        throw AppError(failure);
}
