// SPDX-License-Identifier: MIT
#include "about/TWaterEffect.h"
#include "ScriptedRandom.h"
#include "TestPicture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>
#include <set>
#include <utility>

namespace {

using Cell = std::pair<int, int>;

// Every non-zero cell of the current map.
std::map<Cell, int> RaisedCells(const TWaterEffect& water) {
    std::map<Cell, int> cells;
    for (int y = 0; y < water.MapHeight(); ++y)
        for (int x = 0; x < water.MapWidth(); ++x)
            if (water.CurrentRow(y)[x] != 0)
                cells[{x, y}] = water.CurrentRow(y)[x];
    return cells;
}

class WaterEffectTest : public ::testing::Test {
protected:
    ScriptedRandom random;
    TWaterEffect water{random.Source()};
};

TEST_F(WaterEffectTest, StartsEmptyWithDampingTwenty) {
    EXPECT_EQ(water.MapWidth(), 0);
    EXPECT_EQ(water.MapHeight(), 0);
    EXPECT_EQ(water.Damping(), 20);
}

TEST_F(WaterEffectTest, DampingAcceptsOnlyOneToNinetyNine) {
    for (const int refused : {0, 100, -1, 255, 256, INT_MIN}) {
        water.SetDamping(refused);
        EXPECT_EQ(water.Damping(), 20) << refused;
    }
    water.SetDamping(1);
    EXPECT_EQ(water.Damping(), 1);
    water.SetDamping(99);
    EXPECT_EQ(water.Damping(), 99);
}

TEST_F(WaterEffectTest, InvalidSizesGiveAnEmptyMap) {
    const std::pair<int, int> sizes[] = {{0, 5}, {5, 0}, {-3, 5}, {5, -1}, {65537, 1}, {1, 65537}};
    for (const auto& [width, height] : sizes) {
        water.SetMapSize(10, 10);
        water.SetMapSize(width, height);
        EXPECT_EQ(water.MapWidth(), 0) << width << "x" << height;
        EXPECT_EQ(water.MapHeight(), 0) << width << "x" << height;
    }
}

TEST_F(WaterEffectTest, SetMapSizeStillsTheWater) {
    water.SetMapSize(8, 6);
    water.AddBlob(3, 3, 2, 500);
    water.PropagateWaves();
    water.SetMapSize(7, 5);
    EXPECT_TRUE(RaisedCells(water).empty());
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(water.PreviousRow(y)[x], 0);
}

TEST_F(WaterEffectTest, DropOfRadiusOneRaisesFiveCells) {
    water.SetMapSize(20, 20);
    water.AddBlob(10, 10, 1, 250);
    const std::map<Cell, int> expected = {
        {{10, 10}, 250}, {{9, 10}, 250}, {{11, 10}, 250}, {{10, 9}, 250}, {{10, 11}, 250}};
    EXPECT_EQ(RaisedCells(water), expected);
    EXPECT_TRUE(random.Ranges().empty());
}

TEST_F(WaterEffectTest, DropsAtCornersAndEdgesAreClipped) {
    struct Case {
        int x, y, radius;
        std::set<Cell> cells;
    };
    const Case cases[] = {
        {0, 0, 2, {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {0, 2}}},
        {19, 0, 2, {{19, 0}, {18, 0}, {17, 0}, {19, 1}, {18, 1}, {19, 2}}},
        {0, 14, 2, {{0, 14}, {1, 14}, {2, 14}, {0, 13}, {1, 13}, {0, 12}}},
        {19, 14, 2, {{19, 14}, {18, 14}, {17, 14}, {19, 13}, {18, 13}, {19, 12}}},
        {19, 7, 1, {{19, 7}, {18, 7}, {19, 6}, {19, 8}}},
        {5, 0, 1, {{5, 0}, {4, 0}, {6, 0}, {5, 1}}},
        {5, 5, 0, {{5, 5}}},
    };
    for (const Case& c : cases) {
        water.SetMapSize(20, 15);
        water.AddBlob(c.x, c.y, c.radius, 7);
        std::set<Cell> raised;
        for (const auto& [cell, height] : RaisedCells(water)) {
            raised.insert(cell);
            EXPECT_EQ(height, 7);
        }
        EXPECT_EQ(raised, c.cells) << c.x << "," << c.y << " r" << c.radius;
    }
}

TEST_F(WaterEffectTest, DropsAddUp) {
    water.SetMapSize(5, 5);
    water.AddBlob(2, 2, 0, 100);
    water.AddBlob(2, 2, 1, -30);
    EXPECT_EQ(water.CurrentRow(2)[2], 70);
    EXPECT_EQ(water.CurrentRow(1)[2], -30);
}

TEST_F(WaterEffectTest, OutsideCoordinatesDrawRandomPositionsKeptOffTheBorder) {
    // 20 x 15 map, radius 2: x = r mod 15 + 3, y = r mod 10 + 3.
    struct Case {
        int x, y;
        std::initializer_list<int> answers;
        int expectedX, expectedY;
        std::vector<int> ranges;
        std::size_t cellCount;
    };
    const Case cases[] = {
        {-1, -1, {4, 6}, 7, 9, {32767, 32767}, 13},
        {20, 15, {0, 0}, 3, 3, {32767, 32767}, 13},
        {-1, 4, {32766}, 9, 4, {32767}, 13}, // 32766 mod 15 = 6
        {5, 15, {32766}, 5, 9, {32767}, 13}, // 32766 mod 10 = 6
        {19, -7, {14}, 19, 7, {32767}, 9},   // 14 mod 10 = 4; the disc is clipped at the right edge
        {19, 14, {}, 19, 14, {}, 6},
    };
    for (const Case& c : cases) {
        ScriptedRandom script;
        script.Answer(c.answers);
        TWaterEffect effect(script.Source());
        effect.SetMapSize(20, 15);
        effect.AddBlob(c.x, c.y, 2, 9);
        EXPECT_EQ(effect.CurrentRow(c.expectedY)[c.expectedX], 9) << c.x << "," << c.y;
        EXPECT_EQ(RaisedCells(effect).size(), c.cellCount);
        EXPECT_EQ(script.Ranges(), c.ranges);
    }
}

TEST_F(WaterEffectTest, RandomDropsStayInsideTheMapForEveryDraw) {
    // x = r mod 4 + 3 and y = r mod 2 + 3: the discs reach the last row and column, never the first.
    water.SetMapSize(9, 7);
    for (int answer = 0; answer < 40; ++answer) {
        random.Answer({answer, 32766 - answer});
        water.AddBlob(-1, -1, 2, 1);
    }
    int total = 0;
    for (const auto& [cell, height] : RaisedCells(water)) {
        EXPECT_GE(cell.first, 1);
        EXPECT_LE(cell.first, 8);
        EXPECT_GE(cell.second, 1);
        EXPECT_LE(cell.second, 6);
        total += height;
    }
    EXPECT_EQ(total, 40 * 13);
}

TEST_F(WaterEffectTest, MapsTooSmallForARandomDropGetNone) {
    struct Case {
        int width, height, radius;
        bool falls;
    };
    const Case cases[] = {
        {5, 20, 2, false}, {20, 5, 2, false}, {6, 6, 2, true},  {3, 3, 1, false}, {4, 4, 1, true},
        {1, 1, 0, false},  {2, 2, 0, true},   {0, 0, 0, false}, {0, 0, 2, false}, {1, 9, 1, false},
    };
    for (const Case& c : cases) {
        ScriptedRandom script;
        TWaterEffect effect(script.Source());
        effect.SetMapSize(c.width, c.height);
        effect.AddBlob(-1, -1, c.radius, 5);
        EXPECT_EQ(!RaisedCells(effect).empty(), c.falls) << c.width << "x" << c.height << " r" << c.radius;
    }
}

TEST_F(WaterEffectTest, ExplicitDropsOnTinyMapsStayInside) {
    water.SetMapSize(1, 1);
    water.AddBlob(0, 0, 3, 4);
    EXPECT_EQ(water.CurrentRow(0)[0], 4);
    water.SetMapSize(0, 0);
    water.AddBlob(0, 0, 1, 4); // no cell to raise, no room for a random one
    water.AddBlob(-1, -1, -2, 4);
    EXPECT_TRUE(random.Ranges().empty());
}

TEST_F(WaterEffectTest, OneStepAfterADrop) {
    water.SetMapSize(20, 20);
    water.AddBlob(10, 10, 1, 250);
    water.PropagateWaves();
    EXPECT_EQ(water.CurrentRow(10)[10], 199); // (1000 / 4) * 204 / 256
    EXPECT_EQ(water.CurrentRow(9)[10], 149);  // (750 / 4) * 204 / 256
    EXPECT_EQ(water.CurrentRow(9)[9], 149);   // (750 / 4) * 204 / 256
    EXPECT_EQ(water.CurrentRow(8)[10], 49);   // (250 / 4) * 204 / 256
    EXPECT_EQ(water.CurrentRow(8)[8], 0);
    // The map that held the drop is now the previous one.
    EXPECT_EQ(water.PreviousRow(10)[10], 250);
    EXPECT_EQ(water.PreviousRow(9)[9], 0);
}

TEST_F(WaterEffectTest, DivisionsTruncateTowardZero) {
    water.SetMapSize(3, 3);
    water.PreviousRow(1)[1] = 5; // v = 0 / 4 - 5 = -5
    water.PropagateWaves();
    EXPECT_EQ(water.CurrentRow(1)[1], -3); // -5 * 204 / 256 = -3.98; a shift would give -4

    water.SetMapSize(3, 3);
    water.PreviousRow(1)[1] = 5;
    water.AddBlob(2, 2, 0, -7); // the neighbour sum of (1, 1) is -7, and -7 / 4 = -1 (a shift: -2)
    water.PropagateWaves();
    EXPECT_EQ(water.CurrentRow(1)[1], -4); // (-1 - 5) * 204 / 256 = -4.78
}

TEST_F(WaterEffectTest, EdgeCellsCountClampedNeighboursTwice) {
    water.SetMapSize(3, 3);
    water.AddBlob(0, 0, 0, 100);
    water.PropagateWaves();
    EXPECT_EQ(water.CurrentRow(0)[0], 59); // three clamped neighbours: 300 / 4 * 204 / 256
    EXPECT_EQ(water.CurrentRow(0)[1], 39); // two: 200 / 4 * 204 / 256
    EXPECT_EQ(water.CurrentRow(1)[1], 19); // one: 100 / 4 * 204 / 256
    EXPECT_EQ(water.CurrentRow(2)[2], 0);
}

TEST_F(WaterEffectTest, SingleCellAndSingleLineMaps) {
    water.SetMapSize(1, 1);
    water.AddBlob(0, 0, 0, 100);
    water.PropagateWaves();
    EXPECT_EQ(water.CurrentRow(0)[0], 159); // the cell is all eight of its neighbours: 800 / 4 * 204 / 256
    water.SetMapSize(4, 1);
    water.AddBlob(0, 0, 0, 100);
    water.PropagateWaves();
    EXPECT_EQ(water.CurrentRow(0)[0], 99); // 500 / 4 * 204 / 256
    EXPECT_EQ(water.CurrentRow(0)[1], 59); // 300 / 4 * 204 / 256
    EXPECT_EQ(water.CurrentRow(0)[2], 0);
}

TEST_F(WaterEffectTest, DampingSetsTheFactor) {
    struct Case {
        int damping, expected;
    };
    // 400 / 4 = 100 for a centre surrounded by 50s: factor ((100 - d) * 256) / 100.
    for (const Case& c : {Case{1, 98}, Case{20, 79}, Case{50, 50}, Case{99, 0}}) {
        water.SetMapSize(3, 3);
        water.SetDamping(c.damping);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x)
                water.CurrentRow(y)[x] = (x == 1 && y == 1) ? 0 : 50;
        water.PropagateWaves();
        EXPECT_EQ(water.CurrentRow(1)[1], c.expected) << c.damping;
    }
}

TEST_F(WaterEffectTest, HeightsWrapAroundIn32Bits) {
    water.SetMapSize(3, 3);
    water.AddBlob(1, 1, 0, INT_MAX);
    water.AddBlob(1, 1, 0, INT_MAX);
    EXPECT_EQ(water.CurrentRow(1)[1], -2);
    water.SetMapSize(3, 3);
    water.AddBlob(1, 1, 0, INT_MAX);
    water.PropagateWaves();
    EXPECT_EQ(water.CurrentRow(0)[0], 8388607); // (INT_MAX / 4) * 204 wraps to 2147483444
    TestPicture source(3, 3), target(3, 3);
    source.FillPattern();
    water.DrawRefraction(source.Source(), target.Target());
}

TEST_F(WaterEffectTest, StillWaterCopiesTheSourceExactly) {
    for (const bool bottomUp : {false, true}) {
        water.SetMapSize(17, 9);
        TestPicture source(17, 9, bottomUp), target(17, 9, bottomUp);
        source.FillPattern();
        target.Fill(0xEE);
        water.DrawRefraction(source.Source(), target.Target());
        EXPECT_EQ(target.Rows(), source.Rows()) << bottomUp;
    }
}

// A map with chosen heights around one pixel, to see where its colour is taken from.
class RefractionTest : public WaterEffectTest {
protected:
    void SetUp() override {
        water.SetMapSize(10, 8);
        source.FillPattern();
    }
    void SetSlopes(int x, int y, int dx, int dy) {
        water.CurrentRow(y)[x - 1] = dx;
        water.CurrentRow(y)[x + 1] = 0;
        water.CurrentRow(y - 1)[x] = dy;
        water.CurrentRow(y + 1)[x] = 0;
    }
    TestPicture source{10, 8};
    TestPicture target{10, 8};
};

TEST_F(RefractionTest, SlopesShiftTheSampleAndHorizontalSlopeShadesIt) {
    struct Case {
        int dx, dy;
    };
    for (const Case c : {Case{2, 0}, Case{-2, 0}, Case{0, 3}, Case{0, -2}, Case{3, -1}, Case{-4, 2}}) {
        water.SetMapSize(10, 8);
        SetSlopes(5, 4, c.dx, c.dy);
        water.DrawRefraction(source.Source(), target.Target());
        for (int channel = 0; channel < 3; ++channel) {
            const int expected = std::clamp(source.Pixel(5 + c.dx, 4 + c.dy)[channel] - c.dx, 0, 255);
            EXPECT_EQ(target.Pixel(5, 4)[channel], expected) << c.dx << "," << c.dy << " channel " << channel;
        }
    }
}

TEST_F(RefractionTest, ShadedBytesAreLimitedToTheByteRange) {
    source.Pixel(7, 4)[0] = 1;
    source.Pixel(7, 4)[1] = 255;
    source.Pixel(7, 4)[2] = 100;
    SetSlopes(5, 4, 2, 0);
    water.DrawRefraction(source.Source(), target.Target());
    EXPECT_EQ(target.Pixel(5, 4)[0], 0);
    EXPECT_EQ(target.Pixel(5, 4)[1], 253);
    EXPECT_EQ(target.Pixel(5, 4)[2], 98);

    source.Pixel(3, 4)[0] = 254;
    SetSlopes(5, 4, -2, 0);
    water.DrawRefraction(source.Source(), target.Target());
    EXPECT_EQ(target.Pixel(5, 4)[0], 255);
}

TEST_F(RefractionTest, SamplesOutsideThePictureFallBackToTheSourcePixel) {
    struct Case {
        int x, y, dx, dy;
    };
    // Sample columns 10 and -1, rows 8 and -1: just outside each side.
    for (const Case c : {Case{8, 4, 2, 0}, Case{1, 4, -2, 0}, Case{5, 6, 0, 2}, Case{5, 1, 0, -2}}) {
        water.SetMapSize(10, 8);
        SetSlopes(c.x, c.y, c.dx, c.dy);
        target.Fill(0);
        water.DrawRefraction(source.Source(), target.Target());
        for (int channel = 0; channel < 3; ++channel)
            EXPECT_EQ(target.Pixel(c.x, c.y)[channel], source.Pixel(c.x, c.y)[channel]) << c.x << "," << c.y;
    }
}

TEST_F(RefractionTest, EdgePixelsUseClampedNeighbours) {
    water.CurrentRow(0)[0] = 1; // at (0, 0): dx = h(0,0) - h(1,0) = 1, dy = h(0,0) - h(0,1) = 1
    water.DrawRefraction(source.Source(), target.Target());
    for (int channel = 0; channel < 3; ++channel)
        EXPECT_EQ(target.Pixel(0, 0)[channel], std::clamp(source.Pixel(1, 1)[channel] - 1, 0, 255));
}

TEST_F(RefractionTest, RowDistanceMayBeNegative) {
    water.AddBlob(4, 4, 2, 2); // slopes of up to 2 pixels
    water.DrawRefraction(source.Source(), target.Target());
    TestPicture upSource(10, 8, true), upTarget(10, 8, true);
    upSource.FillPattern();
    water.DrawRefraction(upSource.Source(), upTarget.Target());
    EXPECT_EQ(upTarget.Rows(), target.Rows());
    EXPECT_NE(target.Rows(), source.Rows());
}

TEST_F(RefractionTest, RenderFrameIsOneStepThenDrawing) {
    ScriptedRandom otherRandom;
    TWaterEffect twin(otherRandom.Source());
    twin.SetMapSize(10, 8);
    water.AddBlob(4, 4, 2, 300);
    twin.AddBlob(4, 4, 2, 300);
    TestPicture twinTarget(10, 8);
    for (int frame = 0; frame < 3; ++frame) {
        water.RenderFrame(source.Source(), target.Target());
        twin.PropagateWaves();
        twin.DrawRefraction(source.Source(), twinTarget.Target());
        EXPECT_EQ(target.Rows(), twinTarget.Rows()) << frame;
    }
}

TEST_F(WaterEffectTest, PicturesOfAnotherSizeDrawOnlyTheCommonPart) {
    struct Case {
        int sourceWidth, sourceHeight, targetWidth, targetHeight;
    };
    for (const Case c : {Case{6, 5, 12, 9}, Case{12, 9, 6, 5}, Case{12, 3, 4, 9}, Case{0, 0, 10, 8}}) {
        water.SetMapSize(10, 8);
        water.AddBlob(3, 3, 2, 2000);
        water.AddBlob(8, 6, 2, -2000);
        water.PropagateWaves();
        TestPicture source(c.sourceWidth, c.sourceHeight), target(c.targetWidth, c.targetHeight);
        source.FillPattern();
        target.Fill(0xAB);
        water.DrawRefraction(source.Source(), target.Target());
        const int width = std::min({10, c.sourceWidth, c.targetWidth});
        const int height = std::min({8, c.sourceHeight, c.targetHeight});
        for (int y = 0; y < c.targetHeight; ++y)
            for (int x = 0; x < c.targetWidth; ++x)
                if (x >= width || y >= height) {
                    EXPECT_EQ(target.Pixel(x, y)[0], 0xAB) << x << "," << y;
                }
    }
}

TEST_F(WaterEffectTest, OverlappingRowsAreRefused) {
    water.SetMapSize(4, 4);
    std::vector<std::uint8_t> bytes(3 * 4 * 4, 0x11);
    std::vector<std::uint8_t> out(3 * 4 * 4, 0x22);
    water.DrawRefraction({bytes.data(), 4, 4, 6}, {out.data(), 4, 4, 12});
    water.DrawRefraction({bytes.data(), 4, 4, 12}, {out.data(), 4, 4, -3});
    EXPECT_EQ(out, std::vector<std::uint8_t>(3 * 4 * 4, 0x22));
}

// Every small and odd size, with drops at every edge and corner: under the sanitizers this shows
// that nothing is read or written outside a map or a picture.
TEST_F(WaterEffectTest, TinyAndOddSizesSurviveDropsEverywhere) {
    for (int width = 0; width <= 7; ++width) {
        for (int height = 0; height <= 6; ++height) {
            water.SetMapSize(width, height);
            for (int radius = 0; radius <= 3; ++radius) {
                for (const int x : {-1, 0, 1, width - 2, width - 1, width})
                    for (const int y : {-1, 0, 1, height - 2, height - 1, height})
                        water.AddBlob(x, y, radius, 150);
            }
            for (const bool bottomUp : {false, true}) {
                TestPicture source(width, height, bottomUp), target(width, height, bottomUp);
                source.FillPattern();
                for (int frame = 0; frame < 4; ++frame)
                    water.RenderFrame(source.Source(), target.Target());
            }
        }
    }
}

} // namespace
