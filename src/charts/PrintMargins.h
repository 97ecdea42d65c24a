// SPDX-License-Identifier: MIT
#pragma once

#include <QSizeF>

// The page margins a chart is printed with, in per cent: left and right of the page width, top and
// bottom of the page height. A margin and its opposite always add up to less than 100.
struct TPrintMargins {
    int Left = 4;
    int Top = 4;
    int Right = 4;
    int Bottom = 4;

    bool operator==(const TPrintMargins& other) const {
        return Left == other.Left && Top == other.Top && Right == other.Right && Bottom == other.Bottom;
    }
    bool operator!=(const TPrintMargins& other) const { return !(*this == other); }
};

// The margins that let a chart of chartSize span 70 % of the page along its longer side while it
// keeps its on-screen proportions. page is in printer pixels, dpiX and dpiY the printer's pixel
// densities. An empty chart or page leaves current unchanged.
TPrintMargins ProportionalMargins(const QSizeF& chartSize, const QSizeF& page, double dpiX, double dpiY,
                                  const TPrintMargins& current);
