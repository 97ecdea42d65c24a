// SPDX-License-Identifier: MIT
// Each way of drawing a row of the water effect against the plain definition of a pixel, on its
// own, so that the kernels this processor does not pick for the engine are checked as well.
#include "about/WaterRefraction.h"
#include "TestPicture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

const TRefractionKernel Kernels[] = {TRefractionKernel::Avx512, TRefractionKernel::Avx2,
                                     TRefractionKernel::Sse2, TRefractionKernel::Portable};

const char* Name(TRefractionKernel kernel) {
    switch (kernel) {
    case TRefractionKernel::Avx512:
        return "AVX-512";
    case TRefractionKernel::Avx2:
        return "AVX2";
    case TRefractionKernel::Sse2:
        return "SSE2";
    case TRefractionKernel::Portable:
        return "portable";
    }
    return "?";
}

using Pixel = std::array<std::uint8_t, 3>;

std::int32_t Wrap(std::int64_t value) {
    return std::int32_t(std::uint32_t(std::uint64_t(value)));
}

// Pixel x of the row as the water effect defines it: the source pixel displaced by the slopes,
// less the horizontal slope; a sample outside the picture gives the source pixel itself.
Pixel ExpectedPixel(const TRefractionRow& row, int x) {
    const std::int32_t dx = Wrap(std::int64_t(row.Mid[x - 1]) - row.Mid[x + 1]);
    const std::int32_t dy = Wrap(std::int64_t(row.Up[x]) - row.Down[x]);
    const std::int64_t sx = std::int64_t(x) + dx, sy = std::int64_t(row.Y) + dy;
    const std::uint8_t* own = row.SourceRows[row.Y] + 3 * x;
    if (sx < 0 || sx >= row.Width || sy < 0 || sy >= row.Height)
        return {own[0], own[1], own[2]};
    Pixel pixel{};
    for (int channel = 0; channel < 3; ++channel)
        pixel[std::size_t(channel)] = std::uint8_t(
            std::clamp<std::int64_t>(row.SourceRows[sy][3 * sx + channel] - std::int64_t(dx), 0, 255));
    return pixel;
}

struct Water {
    const char* name;
    int amplitude;  // heights from -amplitude to amplitude ...
    int calmChance; // ... and 0 in this many of 10 cells
    bool extremes;  // or taken from values near the ends of the 32-bit range
};

const Water Waters[] = {
    {"gentle", 3, 0, false},
    {"storm", 400, 0, false},
    {"calm runs", 4, 8, false},
    {"extremes", 0, 2, true},
};

struct Shape {
    int mapWidth;
    int mapHeight;
    int width; // of the drawn part of the pictures; the interior ends there or at the map's last column
};

const Shape Shapes[] = {{6, 3, 6}, {13, 5, 13}, {40, 7, 40}, {40, 7, 29}, {334, 57, 334}};

std::vector<std::int32_t> Heights(const Water& water, int cells, std::mt19937& generator) {
    const std::int32_t extremes[] = {INT_MIN, INT_MIN + 1, INT_MAX, -65536, 65535, -1, 1, 300, -300};
    std::vector<std::int32_t> heights(std::size_t(cells), 0);
    for (std::int32_t& height : heights) {
        if (int(generator() % 10) < water.calmChance)
            continue;
        if (water.extremes)
            height = extremes[generator() % std::size(extremes)];
        else
            height = int(generator() % unsigned(2 * water.amplitude + 1)) - water.amplitude;
    }
    return heights;
}

// Draws every row's interior from column from to end with the kernel and compares it, pixel by
// pixel, with the definition; the columns outside [from, end) must keep their bytes.
::testing::AssertionResult DrawsAsDefined(TRefractionKernel kernel, const Shape& shape,
                                          const std::vector<std::int32_t>& heights, bool bottomUp, int from,
                                          int end) {
    TestPicture source(shape.width, shape.mapHeight, bottomUp);
    source.FillPattern();
    TestPicture target(shape.width, shape.mapHeight, bottomUp);
    target.Fill(0xCD);
    std::vector<const std::uint8_t*> sourceRows;
    for (int y = 0; y < shape.mapHeight; ++y)
        sourceRows.push_back(source.Pixel(0, y));
    const auto mapRow = [&](int y) { return heights.data() + std::size_t(y) * std::size_t(shape.mapWidth); };
    for (int y = 0; y < shape.mapHeight; ++y) {
        TRefractionRow row;
        row.Up = mapRow(std::max(y - 1, 0));
        row.Mid = mapRow(y);
        row.Down = mapRow(std::min(y + 1, shape.mapHeight - 1));
        row.SourceRows = sourceRows.data();
        row.SourceRow0 = sourceRows[0];
        row.SourceRowDistance = shape.mapHeight > 1 ? sourceRows[1] - sourceRows[0] : 0;
        row.Target = target.Pixel(0, y);
        row.Y = y;
        row.Width = shape.width;
        row.Height = shape.mapHeight;
        RefractInterior(row, from, end, kernel);
        for (int x = 0; x < shape.width; ++x) {
            const std::uint8_t* drawn = target.Pixel(x, y);
            const Pixel expected = x >= from && x < end ? ExpectedPixel(row, x) : Pixel{0xCD, 0xCD, 0xCD};
            if (!std::equal(expected.begin(), expected.end(), drawn))
                return ::testing::AssertionFailure()
                       << "pixel " << x << "," << y << ": " << int(drawn[0]) << " " << int(drawn[1]) << " "
                       << int(drawn[2]) << " instead of " << int(expected[0]) << " " << int(expected[1])
                       << " " << int(expected[2]);
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(WaterRefractionTest, EveryKernelDrawsEveryPixelAsDefined) {
    for (const TRefractionKernel kernel : Kernels) {
        if (!KernelAvailable(kernel)) {
            std::printf("The %s kernel is not available here; it draws as the next one.\n", Name(kernel));
        }
        for (const Water& water : Waters)
            for (const Shape& shape : Shapes) {
                std::mt19937 generator(unsigned(shape.mapWidth * 100 + shape.width + water.amplitude));
                const std::vector<std::int32_t> heights =
                    Heights(water, shape.mapWidth * shape.mapHeight, generator);
                const int interiorEnd = std::min(shape.width, shape.mapWidth - 1);
                // Runs of every length modulo 8, starting at various columns.
                for (const int from : {1, 2, 3})
                    for (const int shorter : {0, 1, 3, 5, 7})
                        for (const bool bottomUp : {false, true}) {
                            const int end = interiorEnd - shorter;
                            if (end <= from)
                                continue;
                            ASSERT_TRUE(DrawsAsDefined(kernel, shape, heights, bottomUp, from, end))
                                << Name(kernel) << ", " << water.name << ", " << shape.mapWidth << "x"
                                << shape.mapHeight << " drawn " << shape.width << " wide, columns " << from
                                << " to " << end << (bottomUp ? ", bottom-up" : "");
                        }
            }
    }
}

// Rows so far apart that an offset from row 0 no longer fits in 32 bits: the rows are then
// reached through the row table only. Every row here shares the memory of one of five real rows.
TEST(WaterRefractionTest, PicturesBeyondThirtyTwoBitOffsetsDrawThroughTheRowTable) {
    constexpr int width = 20;
    constexpr int height = 40000;
    constexpr std::ptrdiff_t claimedRowDistance = 60000; // height * 60000 is beyond 2^31
    TestPicture realRows(width, 5);
    realRows.FillPattern();
    std::vector<const std::uint8_t*> sourceRows;
    for (int y = 0; y < height; ++y)
        sourceRows.push_back(realRows.Pixel(0, y % 5));
    std::vector<std::int32_t> up(width, 0), mid(width, 0), down(width, 0);
    for (int x = 0; x < width; ++x) {
        up[std::size_t(x)] = (x % 3 == 0) ? 30000 : -9000 * (x % 4); // samples tens of thousands of rows away
        mid[std::size_t(x)] = (x * 7) % 5 - 2;
    }
    for (const TRefractionKernel kernel : Kernels) {
        std::vector<std::uint8_t> target(3 * width, 0xCD);
        TRefractionRow row;
        row.Up = up.data();
        row.Mid = mid.data();
        row.Down = down.data();
        row.SourceRows = sourceRows.data();
        row.SourceRow0 = sourceRows[0];
        row.SourceRowDistance = claimedRowDistance;
        row.Target = target.data();
        row.Y = 20000;
        row.Width = width;
        row.Height = height;
        RefractInterior(row, 1, width - 1, kernel);
        for (int x = 1; x < width - 1; ++x) {
            const Pixel expected = ExpectedPixel(row, x);
            EXPECT_TRUE(std::equal(expected.begin(), expected.end(), target.data() + 3 * x))
                << Name(kernel) << ", pixel " << x;
        }
    }
}

} // namespace
