// SPDX-License-Identifier: MIT
#include "about/TWaterEffect.h"

#include "about/WaterRefraction.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// 32-bit signed arithmetic that wraps around instead of overflowing, as the heights may be driven
// to any value by strong drops.
inline std::int32_t Add32(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
inline std::int32_t Sub32(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
inline std::int32_t Mul32(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

// New height of one cell: the mean of its eight neighbours minus its older height, damped.
inline std::int32_t NextHeight(const std::int32_t* up, const std::int32_t* mid, const std::int32_t* down,
                               std::int32_t older, int x, int xl, int xr, std::int32_t factor) {
    const std::int32_t sum = Add32(Add32(Add32(up[xl], up[x]), Add32(up[xr], mid[xl])),
                                   Add32(Add32(mid[xr], down[xl]), Add32(down[x], down[xr])));
    const std::int32_t v = Sub32(sum / 4, older);
    return Mul32(v, factor) / 256;
}

// Cells from to before end of one row; the row loop vectorises, with AVX2 eight cells at a time
// where the processor has it.
#if defined(__x86_64__) && defined(__has_attribute)
#if __has_attribute(target_clones)
__attribute__((target_clones("avx2", "default")))
#endif
#endif
void PropagateRow(const std::int32_t* __restrict up, const std::int32_t* __restrict mid,
                  const std::int32_t* __restrict down, std::int32_t* __restrict old, int width, int from, int end,
                  std::int32_t factor) {
    if (width == 1) {
        old[0] = NextHeight(up, mid, down, old[0], 0, 0, 0, factor);
        return;
    }
    int x = from;
    if (x == 0) {
        old[0] = NextHeight(up, mid, down, old[0], 0, 0, 1, factor);
        x = 1;
    }
    const int interiorEnd = std::min(end, width - 1);
    for (; x < interiorEnd; ++x)
        old[x] = NextHeight(up, mid, down, old[x], x, x - 1, x + 1, factor);
    if (end == width && x == width - 1)
        old[width - 1] = NextHeight(up, mid, down, old[width - 1], width - 1, width - 2, width - 1, factor);
}

bool RowsFit(std::ptrdiff_t rowDistance, int width, int height) {
    return height <= 1 || std::abs(rowDistance) >= 3 * static_cast<std::ptrdiff_t>(width);
}

} // namespace

void TWaterEffect::TSpan::Include(const TSpan& other) {
    if (other.Empty())
        return;
    if (Empty()) {
        *this = other;
        return;
    }
    Begin = std::min(Begin, other.Begin);
    End = std::max(End, other.End);
}

TWaterEffect::TWaterEffect(TRandomSource random) : random_(std::move(random)) {}

std::int32_t* TWaterEffect::CurrentRow(int y) {
    currentSpans_[static_cast<std::size_t>(y)] = {0, mapWidth_};
    return currentRows_[static_cast<std::size_t>(y)];
}

std::int32_t* TWaterEffect::PreviousRow(int y) {
    previousSpans_[static_cast<std::size_t>(y)] = {0, mapWidth_};
    return previousRows_[static_cast<std::size_t>(y)];
}

void TWaterEffect::SetDamping(int damping) {
    if (damping >= 1 && damping <= 99)
        damping_ = static_cast<std::uint8_t>(damping);
}

void TWaterEffect::SetMapSize(int width, int height) {
    if (width <= 0 || height <= 0 || width > MaxMapSide || height > MaxMapSide) {
        width = 0;
        height = 0;
    }
    mapWidth_ = width;
    mapHeight_ = height;
    const std::size_t cells = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    firstMap_.assign(cells, 0);
    secondMap_.assign(cells, 0);
    currentRows_.assign(static_cast<std::size_t>(height), nullptr);
    previousRows_.assign(static_cast<std::size_t>(height), nullptr);
    sourceRows_.assign(static_cast<std::size_t>(height), nullptr);
    currentSpans_.assign(static_cast<std::size_t>(height), TSpan());
    previousSpans_.assign(static_cast<std::size_t>(height), TSpan());
    ClearMaps();
    for (int row = 0; row < height; ++row) {
        const std::size_t start = static_cast<std::size_t>(row) * static_cast<std::size_t>(width);
        currentRows_[static_cast<std::size_t>(row)] = firstMap_.data() + start;
        previousRows_[static_cast<std::size_t>(row)] = secondMap_.data() + start;
    }
}

void TWaterEffect::ClearMaps() {
    std::fill(firstMap_.begin(), firstMap_.end(), 0);
    std::fill(secondMap_.begin(), secondMap_.end(), 0);
    std::fill(currentSpans_.begin(), currentSpans_.end(), TSpan());
    std::fill(previousSpans_.begin(), previousSpans_.end(), TSpan());
}

void TWaterEffect::AddBlob(int x, int y, int radius, int strength) {
    if (radius < 0)
        return;
    const long long r = radius;
    if (x < 0 || x > mapWidth_ - 1) {
        const long long room = mapWidth_ - 2 * r - 1;
        if (room <= 0)
            return;
        x = static_cast<int>(random_(32767) % room + r + 1);
    }
    if (y < 0 || y > mapHeight_ - 1) {
        const long long room = mapHeight_ - 2 * r - 1;
        if (room <= 0)
            return;
        y = static_cast<int>(random_(32767) % room + r + 1);
    }
    const int left = -std::min(x, radius);
    const int right = std::min(mapWidth_ - 1 - x, radius);
    const int top = -std::min(y, radius);
    const int bottom = std::min(mapHeight_ - 1 - y, radius);
    for (int j = top; j <= bottom; ++j) {
        const int rowIndex = y + j; // never negative: top is -min(y, radius)
        std::int32_t* row = currentRows_[static_cast<std::size_t>(rowIndex)];
        currentSpans_[static_cast<std::size_t>(rowIndex)].Include({x + left, x + right + 1});
        for (int i = left; i <= right; ++i)
            if (static_cast<long long>(i) * i + static_cast<long long>(j) * j <= r * r)
                row[x + i] = Add32(row[x + i], strength);
    }
}

std::int32_t TWaterEffect::DampingFactor() const {
    return ((100 - damping_) * 256) / 100;
}

// Only the cells with a raised neighbour or a raised older height of their own are computed; the
// others stay 0. The row's span then shrinks to the heights that came out other than 0.
void TWaterEffect::PropagateRowOf(int y, std::int32_t factor) {
    const auto yu = static_cast<std::size_t>(std::max(y - 1, 0));
    const auto ym = static_cast<std::size_t>(y);
    const auto yd = static_cast<std::size_t>(std::min(y + 1, mapHeight_ - 1));
    TSpan raised = currentSpans_[yu];
    raised.Include(currentSpans_[ym]);
    raised.Include(currentSpans_[yd]);
    TSpan computed = previousSpans_[ym];
    if (!raised.Empty())
        computed.Include({std::max(raised.Begin - 1, 0), std::min(raised.End + 1, mapWidth_)});
    TSpan& written = previousSpans_[ym];
    if (computed.Empty()) {
        written = TSpan();
        return;
    }
    std::int32_t* old = previousRows_[ym];
    PropagateRow(currentRows_[yu], currentRows_[ym], currentRows_[yd], old, mapWidth_, computed.Begin,
                 computed.End, factor);
    while (computed.Begin < computed.End && old[computed.Begin] == 0)
        ++computed.Begin;
    while (computed.End > computed.Begin && old[computed.End - 1] == 0)
        --computed.End;
    written = computed;
}

void TWaterEffect::PropagateWaves() {
    const std::int32_t factor = DampingFactor();
    for (int y = 0; y < mapHeight_; ++y)
        PropagateRowOf(y, factor);
    // The blocks keep their memory; the row tables and their spans carry the roles.
    currentRows_.swap(previousRows_);
    currentSpans_.swap(previousSpans_);
}

bool TWaterEffect::PrepareDrawing(const TSourcePixels& source, const TTargetPixels& target, int& width,
                                  int& height) {
    width = std::min({mapWidth_, source.Width, target.Width});
    height = std::min({mapHeight_, source.Height, target.Height});
    if (width <= 0 || height <= 0 || source.Row0 == nullptr || target.Row0 == nullptr ||
        !RowsFit(source.RowDistance, source.Width, source.Height) ||
        !RowsFit(target.RowDistance, target.Width, target.Height))
        return false;
    for (int row = 0; row < height; ++row)
        sourceRows_[static_cast<std::size_t>(row)] = source.Row0 + row * source.RowDistance;
    sourceRowDistance_ = source.RowDistance;
    return true;
}

TWaterEffect::TSpan TWaterEffect::MovingColumns(const std::vector<TSpan>& spans, int y) const {
    // A pixel moves when its left or right neighbour, or the cell above or below it, is raised.
    TSpan moving = spans[static_cast<std::size_t>(std::max(y - 1, 0))];
    moving.Include(spans[static_cast<std::size_t>(std::min(y + 1, mapHeight_ - 1))]);
    const TSpan& own = spans[static_cast<std::size_t>(y)];
    if (!own.Empty())
        moving.Include({std::max(own.Begin - 1, 0), std::min(own.End + 1, mapWidth_)});
    return moving;
}

// Draws row y of the target from the map whose rows are mapRows and spans spans; width and height
// are the part that map, source and target have in common.
void TWaterEffect::DrawRow(const std::int32_t* const* mapRows, const std::vector<TSpan>& spans, int y,
                           const TTargetPixels& target, int width, int height) const {
    const std::uint8_t* sourceRow = sourceRows_[static_cast<std::size_t>(y)];
    std::uint8_t* targetRow = target.Row0 + y * target.RowDistance;
    const TSpan moving = MovingColumns(spans, y);
    const int from = std::min(moving.Begin, width);
    const int to = std::min(moving.End, width);
    if (moving.Empty() || from >= to) {
        std::memcpy(targetRow, sourceRow, 3 * static_cast<std::size_t>(width));
        return;
    }
    std::memcpy(targetRow, sourceRow, 3 * static_cast<std::size_t>(from));
    std::memcpy(targetRow + 3 * static_cast<std::ptrdiff_t>(to),
                sourceRow + 3 * static_cast<std::ptrdiff_t>(to), 3 * static_cast<std::size_t>(width - to));

    TRefractionRow row;
    row.Up = mapRows[std::max(y - 1, 0)];
    row.Mid = mapRows[y];
    row.Down = mapRows[std::min(y + 1, mapHeight_ - 1)];
    row.SourceRows = sourceRows_.data();
    row.SourceRow0 = sourceRows_[0];
    row.SourceRowDistance = sourceRowDistance_;
    row.Target = targetRow;
    row.Y = y;
    row.Width = width;
    row.Height = height;
    int x = from;
    if (x == 0) {
        RefractPixel(row, 0, 0, std::min(1, mapWidth_ - 1));
        x = 1;
    }
    // Columns up to interiorEnd - 1 have both horizontal neighbours inside the map.
    const int interiorEnd = std::min(to, mapWidth_ - 1);
    if (x < interiorEnd) {
        RefractInterior(row, x, interiorEnd);
        x = interiorEnd;
    }
    for (; x < to; ++x)
        RefractPixel(row, x, x - 1, std::min(x + 1, mapWidth_ - 1));
}

void TWaterEffect::DrawRefraction(const TSourcePixels& source, const TTargetPixels& target) {
    int width = 0;
    int height = 0;
    if (!PrepareDrawing(source, target, width, height))
        return;
    for (int y = 0; y < height; ++y)
        DrawRow(currentRows_.data(), currentSpans_, y, target, width, height);
}

// The same as PropagateWaves and then DrawRefraction, with each row drawn as soon as the rows
// around it have their new heights, while they are still in the cache.
void TWaterEffect::RenderFrame(const TSourcePixels& source, const TTargetPixels& target) {
    int width = 0;
    int height = 0;
    if (!PrepareDrawing(source, target, width, height)) {
        PropagateWaves();
        return;
    }
    const std::int32_t factor = DampingFactor();
    for (int y = 0; y < mapHeight_; ++y) {
        PropagateRowOf(y, factor);
        if (y >= 1 && y - 1 < height)
            DrawRow(previousRows_.data(), previousSpans_, y - 1, target, width, height);
    }
    if (mapHeight_ - 1 < height)
        DrawRow(previousRows_.data(), previousSpans_, mapHeight_ - 1, target, width, height);
    currentRows_.swap(previousRows_);
    currentSpans_.swap(previousSpans_);
}
