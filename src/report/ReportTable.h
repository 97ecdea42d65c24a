// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QStringList>
#include <vector>

class QPainter;

// A table of texts for a printed page: a shaded heading row, then the rows with a hairline
// between them; the first column left-aligned, the others (numbers) right-aligned.
struct TPrintTable {
    QStringList Heading;
    std::vector<QStringList> Rows;
};

// How a table is drawn into a given width: in font, shrunk from the font asked for until every
// column holds its widest text, with the room to spare shared by the number columns.
class TTableLayout {
public:
    TTableLayout(const TPrintTable& table, const QFont& font, double width, const QPaintDevice* device);

    double RowHeight() const { return rowHeight_; }
    double Height() const { return rowHeight_ * static_cast<double>(table_.Rows.size() + 1); }
    // Whether the texts fit even in the smallest font; when not, they are drawn elided.
    bool Fits() const { return fits_; }

    // Draws the table with its top-left corner at (left, top).
    void Draw(QPainter& painter, double left, double top) const;

private:
    void Measure(const QPaintDevice* device);

    const TPrintTable& table_;
    QFont font_;
    QFont bold_;
    double width_;
    double padding_ = 0;
    double rowHeight_ = 0;
    bool fits_ = true;
    std::vector<double> columns_;
};
