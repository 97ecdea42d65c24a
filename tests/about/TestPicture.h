// SPDX-License-Identifier: MIT
#pragma once

#include "about/TWaterEffect.h"

#include <cstdint>
#include <vector>

// A 24-bit picture in a buffer of exactly its size, stored top-down or bottom-up, so that the
// sanitizer sees any access outside it.
class TestPicture {
public:
    TestPicture(int width, int height, bool bottomUp = false)
        : width_(width), height_(height), bottomUp_(bottomUp),
          bytes_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3) {}

    int Width() const { return width_; }
    int Height() const { return height_; }

    std::uint8_t* Pixel(int x, int y) { return Row0() + y * RowDistance() + 3 * x; }
    const std::uint8_t* Pixel(int x, int y) const { return const_cast<TestPicture*>(this)->Pixel(x, y); }

    // Every byte gets a value that depends on its place, so that moved pixels show.
    void FillPattern(unsigned seed = 7) {
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                for (int c = 0; c < 3; ++c)
                    Pixel(x, y)[c] = static_cast<std::uint8_t>((x * 31 + y * 17 + c * 101 + seed) % 256);
    }
    void Fill(std::uint8_t value) { bytes_.assign(bytes_.size(), value); }

    TSourcePixels Source() const {
        return {const_cast<TestPicture*>(this)->Row0(), width_, height_, RowDistance()};
    }
    TTargetPixels Target() { return {Row0(), width_, height_, RowDistance()}; }

    // The picture in top-down row order, whatever its storage.
    std::vector<std::uint8_t> Rows() const {
        std::vector<std::uint8_t> rows;
        for (int y = 0; y < height_; ++y)
            rows.insert(rows.end(), Pixel(0, y), Pixel(0, y) + 3 * width_);
        return rows;
    }

private:
    std::ptrdiff_t Stride() const { return 3 * static_cast<std::ptrdiff_t>(width_); }
    std::ptrdiff_t RowDistance() const { return bottomUp_ ? -Stride() : Stride(); }
    std::uint8_t* Row0() {
        if (bytes_.empty())
            return nullptr;
        return bottomUp_ ? bytes_.data() + (height_ - 1) * Stride() : bytes_.data();
    }

    int width_;
    int height_;
    bool bottomUp_;
    std::vector<std::uint8_t> bytes_;
};
