// SPDX-License-Identifier: MIT
#pragma once

#include "about/ProgramRandom.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The pixel memory of a 24-bit picture: three bytes per pixel, row r at Row0 + r * RowDistance.
// RowDistance is negative for pictures stored bottom-up.
struct TSourcePixels {
    const std::uint8_t* Row0 = nullptr;
    int Width = 0;
    int Height = 0;
    std::ptrdiff_t RowDistance = 0;
};
struct TTargetPixels {
    std::uint8_t* Row0 = nullptr;
    int Width = 0;
    int Height = 0;
    std::ptrdiff_t RowDistance = 0;
};

// Water ripples over a picture: two integer height maps of a water surface (one cell per pixel),
// the wave propagation between them, and the picture drawn as seen through the surface.
// Arithmetic is 32-bit signed with wrap-around, divisions truncate toward zero.
class TWaterEffect {
public:
    static constexpr int MaxMapSide = 65536;

    explicit TWaterEffect(TRandomSource random = ProgramRandom);
    TWaterEffect(const TWaterEffect&) = delete;
    TWaterEffect& operator=(const TWaterEffect&) = delete;

    int MapWidth() const { return mapWidth_; }
    int MapHeight() const { return mapHeight_; }

    // Percentage of wave energy lost per step, 1 to 99; other values are ignored.
    int Damping() const { return damping_; }
    void SetDamping(int damping);

    // A size of 0 or less in either direction, or above MaxMapSide, gives an empty 0 x 0 map.
    // The water is still afterwards.
    void SetMapSize(int width, int height);
    void ClearMaps();

    // Adds strength to every cell of the current map within radius of (x, y). A coordinate outside
    // the map is replaced by a random one that keeps the disc inside the map (and off its first row
    // and column); when the map is too small for that (not wider or higher than 2 * radius + 1), no
    // drop falls and no further number is drawn.
    void AddBlob(int x, int y, int radius, int strength);

    // One step of the waves: the previous map receives the new heights and becomes the current one.
    void PropagateWaves();

    // Draws source as seen through the current map into target. Only the part that map, source and
    // target have in common is drawn (all three have the map's size in normal use).
    void DrawRefraction(const TSourcePixels& source, const TTargetPixels& target);

    void RenderFrame(const TSourcePixels& source, const TTargetPixels& target);

    // Rows of the current map (the newest heights) and of the previous one; y from 0 to MapHeight - 1.
    // A row handed out for writing may be changed anywhere.
    std::int32_t* CurrentRow(int y);
    std::int32_t* PreviousRow(int y);
    const std::int32_t* CurrentRow(int y) const { return currentRows_[static_cast<std::size_t>(y)]; }
    const std::int32_t* PreviousRow(int y) const { return previousRows_[static_cast<std::size_t>(y)]; }

private:
    // The columns [Begin, End) of a map row outside which every height is 0. Most of the water is
    // at rest even when it ripples, and at rest a cell keeps height 0 and draws its source pixel:
    // only the cells near a raised one need the arithmetic.
    struct TSpan {
        int Begin = 0;
        int End = 0;
        bool Empty() const { return Begin >= End; }
        void Include(const TSpan& other);
    };

    std::int32_t DampingFactor() const;
    void PropagateRowOf(int y, std::int32_t factor);
    bool PrepareDrawing(const TSourcePixels& source, const TTargetPixels& target, int& width, int& height);
    // The columns of row y that may draw other than their source pixel, from the spans of map.
    TSpan MovingColumns(const std::vector<TSpan>& spans, int y) const;
    void DrawRow(const std::int32_t* const* mapRows, const std::vector<TSpan>& spans, int y,
                 const TTargetPixels& target, int width, int height) const;

    TRandomSource random_;
    int mapWidth_ = 0;
    int mapHeight_ = 0;
    std::vector<std::int32_t> firstMap_;
    std::vector<std::int32_t> secondMap_;
    std::vector<std::int32_t*> currentRows_;
    std::vector<std::int32_t*> previousRows_;
    std::vector<TSpan> currentSpans_; // follow their rows
    std::vector<TSpan> previousSpans_;
    std::vector<const std::uint8_t*> sourceRows_;
    std::ptrdiff_t sourceRowDistance_ = 0;
    std::uint8_t damping_ = 20;
};
