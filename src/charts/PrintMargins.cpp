// SPDX-License-Identifier: MIT
#include "charts/PrintMargins.h"

#include <QtGlobal>
#include <algorithm>

namespace {

// Half of the page share left free, as one margin; never negative, and two of them stay below 100.
int HalfOfRest(double freePercent) {
    return std::clamp(qRound(freePercent) / 2, 0, 49);
}

} // namespace

TPrintMargins ProportionalMargins(const QSizeF& chartSize, const QSizeF& page, double dpiX, double dpiY,
                                  const TPrintMargins& current) {
    const double w = chartSize.width();
    const double h = chartSize.height();
    const double pw = page.width();
    const double ph = page.height();
    if (w <= 0 || h <= 0 || pw <= 0 || ph <= 0 || dpiX <= 0 || dpiY <= 0)
        return current;

    TPrintMargins margins;
    if (w > h) {
        // The printed width is 0.7 PW pixels across; the height in (vertical) pixels follows from
        // the chart's proportions and the printer's vertical-to-horizontal density.
        margins.Left = margins.Right = 15;
        margins.Top = margins.Bottom = HalfOfRest(100.0 * (ph - 0.7 * pw * (h / w) * (dpiY / dpiX)) / ph);
    } else {
        margins.Top = margins.Bottom = 15;
        margins.Left = margins.Right = HalfOfRest(100.0 * (pw - 0.7 * ph * (w / h) * (dpiX / dpiY)) / pw);
    }
    return margins;
}
