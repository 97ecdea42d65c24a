// SPDX-License-Identifier: MIT
// The engine against the plain definition of the water effect, frame by frame and byte by byte,
// in still, rippling, stormy and overflowing water on maps of many shapes.
#include "TestPicture.h"
#include "WaterReference.h"
#include "about/TWaterEffect.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>

namespace {

struct Weather {
    const char* name;
    int dropsPerFrame;
    int strongest; // drops have strength 1 .. strongest, negative ones as well when signed
    bool signedDrops;
    int frames; // with drops; as many calm frames follow, in which the water comes to rest
};

const Weather Weathers[] = {
    {"still", 0, 0, false, 3},
    {"ripples", 1, 600, false, 40},
    {"storm", 6, 400, true, 40},
    {"overflow", 2, INT_MAX, true, 20},
};

struct Size {
    int width;
    int height;
};

const Size Sizes[] = {{1, 1}, {1, 6}, {7, 1}, {2, 2}, {5, 3}, {13, 11}, {64, 9}, {334, 57}};

// Compares the current and previous maps and the drawn picture; reports the first difference.
::testing::AssertionResult Same(const TWaterEffect& water, WaterReference& reference,
                                const TestPicture& target, const std::vector<std::uint8_t>& expectedPixels) {
    for (int y = 0; y < water.MapHeight(); ++y)
        for (int x = 0; x < water.MapWidth(); ++x) {
            if (water.CurrentRow(y)[x] != reference.Current(x, y))
                return ::testing::AssertionFailure()
                       << "current height at " << x << "," << y << ": " << water.CurrentRow(y)[x]
                       << " instead of " << reference.Current(x, y);
            if (water.PreviousRow(y)[x] != reference.Previous(x, y))
                return ::testing::AssertionFailure() << "previous height at " << x << "," << y;
        }
    const std::vector<std::uint8_t> pixels = target.Rows();
    for (std::size_t i = 0; i < pixels.size(); ++i)
        if (pixels[i] != expectedPixels[i])
            return ::testing::AssertionFailure() << "pixel byte " << i << ": " << int(pixels[i])
                                                 << " instead of " << int(expectedPixels[i]);
    return ::testing::AssertionSuccess();
}

TEST(WaterMatchesReferenceTest, EveryHeightAndPixelOfEveryFrame) {
    for (const Weather& weather : Weathers)
        for (const Size& size : Sizes)
            for (const int damping : {20, 1, 99})
                for (const bool bottomUp : {false, true}) {
                    // The banner's size once: the small maps already reach every edge case.
                    if (size.width > 100 && (damping != 20 || bottomUp))
                        continue;
                    const std::string what = std::string(weather.name) + " " + std::to_string(size.width) +
                                             "x" + std::to_string(size.height) + " damping " +
                                             std::to_string(damping) + (bottomUp ? " bottom-up" : "");
                    std::mt19937 generator(size.width * 1000 + size.height + damping);
                    TWaterEffect water([](int) { return 0; });
                    water.SetMapSize(size.width, size.height);
                    water.SetDamping(damping);
                    const TWaterEffect& view = water; // reading does not count as writing
                    WaterReference reference(size.width, size.height);
                    TestPicture source(size.width, size.height, bottomUp);
                    source.FillPattern();
                    TestPicture target(size.width, size.height, bottomUp);
                    std::vector<std::uint8_t> expected(target.Rows().size());

                    for (int frame = 0; frame < 2 * weather.frames + 30; ++frame) {
                        const bool dropping = frame < weather.frames;
                        for (int drop = 0; dropping && drop < weather.dropsPerFrame; ++drop) {
                            const int x = int(generator() % unsigned(size.width));
                            const int y = int(generator() % unsigned(size.height));
                            const int radius = int(generator() % 3);
                            int strength = 1 + int(generator() % unsigned(weather.strongest));
                            if (weather.signedDrops && generator() % 2)
                                strength = -strength;
                            water.AddBlob(x, y, radius, strength);
                            reference.AddBlob(x, y, radius, strength);
                        }
                        // Now and then a height is set from outside, in either map.
                        if (dropping && frame % 7 == 3) {
                            const int x = int(generator() % unsigned(size.width));
                            const int y = int(generator() % unsigned(size.height));
                            water.PreviousRow(y)[x] = 77;
                            reference.Previous(x, y) = 77;
                            water.CurrentRow(y)[x] = -55;
                            reference.Current(x, y) = -55;
                        }
                        reference.PropagateWaves(damping);
                        reference.DrawRefraction(source.Rows(), expected);
                        if (frame % 5 == 4) {
                            water.PropagateWaves();
                            water.DrawRefraction(source.Source(), target.Target());
                        } else {
                            water.RenderFrame(source.Source(), target.Target());
                        }
                        ASSERT_TRUE(Same(view, reference, target, expected)) << what << ", frame " << frame;
                    }
                }
}

} // namespace
