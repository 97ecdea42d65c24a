// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

// The water effect written as plainly as it is defined: every cell and pixel the same way, no
// shortcuts. The engine must give exactly the same heights and pixels, frame after frame.
class WaterReference {
public:
    WaterReference(int width, int height)
        : width_(width), height_(height), current_(Cells(), 0), previous_(Cells(), 0) {}

    int& Current(int x, int y) { return current_[Index(x, y)]; }
    int& Previous(int x, int y) { return previous_[Index(x, y)]; }

    void AddBlob(int x, int y, int radius, int strength) {
        for (int j = -std::min(y, radius); j <= std::min(height_ - 1 - y, radius); ++j)
            for (int i = -std::min(x, radius); i <= std::min(width_ - 1 - x, radius); ++i)
                if (i * i + j * j <= radius * radius)
                    Current(x + i, y + j) = Wrap(std::int64_t(Current(x + i, y + j)) + strength);
    }

    void PropagateWaves(int damping) {
        const std::int64_t factor = ((100 - damping) * 256) / 100;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                const int xl = std::max(x - 1, 0), xr = std::min(x + 1, width_ - 1);
                const int yu = std::max(y - 1, 0), yd = std::min(y + 1, height_ - 1);
                const std::pair<int, int> neighbours[] = {{xl, yu}, {x, yu},  {xr, yu}, {xl, y},
                                                          {xr, y},  {xl, yd}, {x, yd},  {xr, yd}};
                std::int64_t sum = 0;
                for (const auto& [cx, cy] : neighbours)
                    sum = Wrap(sum + current_[Index(cx, cy)]);
                const std::int32_t v = Wrap(std::int64_t(std::int32_t(sum) / 4) - previous_[Index(x, y)]);
                previous_[Index(x, y)] = Wrap(std::int64_t(v) * factor) / 256;
            }
        current_.swap(previous_);
    }

    // source and target: 3 bytes a pixel, rows of 3 * width bytes.
    void DrawRefraction(const std::vector<std::uint8_t>& source, std::vector<std::uint8_t>& target) const {
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                const int xl = std::max(x - 1, 0), xr = std::min(x + 1, width_ - 1);
                const int yu = std::max(y - 1, 0), yd = std::min(y + 1, height_ - 1);
                const std::int64_t dx = std::int64_t(current_[Index(xl, y)]) - current_[Index(xr, y)];
                const std::int64_t dy = std::int64_t(current_[Index(x, yu)]) - current_[Index(x, yd)];
                // The engine's differences wrap around in 32 bits as well.
                const std::int32_t wx = Wrap(dx), wy = Wrap(dy);
                const std::int64_t sx = std::int64_t(x) + wx, sy = std::int64_t(y) + wy;
                const bool inside = sx >= 0 && sx < width_ && sy >= 0 && sy < height_;
                for (int byte = 0; byte < 3; ++byte) {
                    const std::size_t out = Pixel(x, y) + byte;
                    if (inside) {
                        const std::int64_t value = source[Pixel(int(sx), int(sy)) + byte] - std::int64_t(wx);
                        target[out] = std::uint8_t(std::clamp<std::int64_t>(value, 0, 255));
                    } else {
                        target[out] = source[Pixel(x, y) + byte];
                    }
                }
            }
    }

private:
    static std::int32_t Wrap(std::int64_t value) { return std::int32_t(std::uint32_t(std::uint64_t(value))); }
    std::size_t Cells() const { return std::size_t(width_) * std::size_t(height_); }
    std::size_t Index(int x, int y) const { return std::size_t(y) * std::size_t(width_) + std::size_t(x); }
    std::size_t Pixel(int x, int y) const { return 3 * Index(x, y); }

    int width_;
    int height_;
    std::vector<int> current_;
    std::vector<int> previous_;
};
