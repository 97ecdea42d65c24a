// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

// The drawing of one target row of the water effect: every pixel (x, y) takes the source pixel
// displaced by the slopes of the height map at (x, y), shaded by the horizontal slope.
struct TRefractionRow {
    const std::int32_t* Up = nullptr; // map row y - 1, or row y on the first row
    const std::int32_t* Mid = nullptr;
    const std::int32_t* Down = nullptr;              // map row y + 1, or row y on the last row
    const std::uint8_t* const* SourceRows = nullptr; // SourceRows[r]: the first byte of source row r
    const std::uint8_t* SourceRow0 = nullptr; // SourceRows[0], and row r lies r * SourceRowDistance further
    std::ptrdiff_t SourceRowDistance = 0;
    std::uint8_t* Target = nullptr; // the first byte of target row y
    int Y = 0;
    // The drawn part of the pictures: a sample outside it draws the unshaded source pixel (x, y).
    int Width = 0;
    int Height = 0;
};

// The ways of drawing a row's interior, all with the same result: sixteen pixels at a time with
// AVX-512, eight with AVX2, four with SSE2, and one at a time in plain C++. Each leaves the
// pixels left over to the next narrower one.
enum class TRefractionKernel { Avx512, Avx2, Sse2, Portable };

// Whether this build and processor can run the kernel.
bool KernelAvailable(TRefractionKernel kernel);

// Draws the pixels from to end - 1 of the row, all of which have both horizontal neighbours in
// the map (1 <= from, end <= map width - 1, end <= Width). The first form takes the fastest
// kernel available; an unavailable kernel draws as the next slower one.
void RefractInterior(const TRefractionRow& row, int from, int end);
void RefractInterior(const TRefractionRow& row, int from, int end, TRefractionKernel kernel);

// Draws the single pixel x, whose horizontal neighbours in the map are the columns xl and xr.
void RefractPixel(const TRefractionRow& row, int x, int xl, int xr);
