// SPDX-License-Identifier: MIT
#include "report/ReportTable.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <numeric>

namespace {

constexpr double SmallestPointSize = 6.0;
constexpr double PointSizeStep = 0.5;
const QColor HeadingFill(226, 230, 236);
const QColor RuleColor(170, 170, 170);

} // namespace

TTableLayout::TTableLayout(const TPrintTable& table, const QFont& font, double width,
                           const QPaintDevice* device)
    : table_(table), font_(font), width_(width) {
    Measure(device);
}

void TTableLayout::Measure(const QPaintDevice* device) {
    const size_t count = static_cast<size_t>(table_.Heading.size());
    for (;;) {
        bold_ = font_;
        bold_.setBold(true);
        const QFontMetricsF metrics(font_, device);
        const QFontMetricsF boldMetrics(bold_, device);
        padding_ = metrics.averageCharWidth() * 0.8;
        rowHeight_ = metrics.height() * 1.45;
        columns_.assign(count, 0.0);
        for (size_t column = 0; column < count; ++column) {
            double widest = boldMetrics.horizontalAdvance(table_.Heading[static_cast<qsizetype>(column)]);
            for (const QStringList& row : table_.Rows)
                if (column < static_cast<size_t>(row.size()))
                    widest = std::max(widest, metrics.horizontalAdvance(row[static_cast<qsizetype>(column)]));
            columns_[column] = widest + 2 * padding_;
        }
        const double natural = std::accumulate(columns_.begin(), columns_.end(), 0.0);
        if (natural <= width_ || font_.pointSizeF() - PointSizeStep < SmallestPointSize) {
            fits_ = natural <= width_;
            if (!fits_) {
                // Each column gets its share of what there is; the texts are elided to it.
                for (double& column : columns_)
                    column *= width_ / natural;
            } else if (count > 1) {
                const double extra = (width_ - natural) / static_cast<double>(count - 1);
                for (size_t column = 1; column < count; ++column)
                    columns_[column] += extra;
            } else if (count == 1) {
                columns_[0] = width_;
            }
            return;
        }
        font_.setPointSizeF(font_.pointSizeF() - PointSizeStep);
    }
}

void TTableLayout::Draw(QPainter& painter, double left, double top) const {
    painter.save();
    const QRectF heading(left, top, width_, rowHeight_);
    painter.fillRect(heading, HeadingFill);
    const double point = painter.device()->logicalDpiY() / 72.0;
    const QPen rule(RuleColor, 0.4 * point);
    const auto drawRow = [&](const QStringList& cells, double y, const QFont& font) {
        painter.setFont(font);
        const QFontMetricsF metrics(font, painter.device());
        double x = left;
        for (size_t column = 0; column < columns_.size(); ++column) {
            const QRectF cell(x + padding_, y, columns_[column] - 2 * padding_, rowHeight_);
            QString text = column < static_cast<size_t>(cells.size()) ? cells[static_cast<qsizetype>(column)]
                                                                      : QString();
            if (!fits_)
                text = metrics.elidedText(text, Qt::ElideRight, cell.width());
            const Qt::Alignment side = column == 0 ? Qt::AlignLeft : Qt::AlignRight;
            painter.drawText(cell, static_cast<int>(side | Qt::AlignVCenter | Qt::TextSingleLine), text);
            x += columns_[column];
        }
    };
    painter.setPen(Qt::black);
    drawRow(table_.Heading, top, bold_);
    double y = top + rowHeight_;
    for (const QStringList& row : table_.Rows) {
        painter.setPen(Qt::black);
        drawRow(row, y, font_);
        y += rowHeight_;
        painter.setPen(rule);
        painter.drawLine(QPointF(left, y), QPointF(left + width_, y));
    }
    painter.setPen(QPen(Qt::black, 0.7 * point));
    painter.drawLine(QPointF(left, top), QPointF(left + width_, top));
    painter.drawLine(QPointF(left, top + rowHeight_), QPointF(left + width_, top + rowHeight_));
    painter.drawLine(QPointF(left, y), QPointF(left + width_, y));
    painter.restore();
}
