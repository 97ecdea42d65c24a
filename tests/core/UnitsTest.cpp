// SPDX-License-Identifier: MIT
#include "core/Units.h"
#include "core/AppError.h"

#include <cmath>
#include <gtest/gtest.h>

TEST(Units, CmToInchRoundsToHalfInchesWithHalvesUp) {
    const struct {
        int cm;
        double inches;
    } cases[] = {{170, 67.0}, {171, 67.5}, {172, 67.5}, {100, 39.5}, {0, 0.0}, {250, 98.5}, {-10, -3.5}};
    for (const auto& c : cases)
        EXPECT_EQ(CmToInch(c.cm), c.inches) << c.cm;
}

TEST(Units, InchToCm) {
    const struct {
        double inches;
        int cm;
    } cases[] = {{66.5, 169}, {67.0, 170}, {67.5, 171}, {75.0, 191}, {0.0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(InchToCm(c.inches), c.cm) << c.inches;
}

TEST(Units, InchToFeetText) {
    const struct {
        double inches;
        const char* text;
    } cases[] = {
        {67.0, "5'7.0\""}, {67.5, "5'7.5\""}, {72.0, "6'0.0\""}, {11.5, "0'11.5\""}, {60.0, "5'0.0\""}};
    for (const auto& c : cases)
        EXPECT_EQ(InchToFeetText(c.inches), QString::fromLatin1(c.text)) << c.inches;
}

TEST(Units, ConversionsBeyondThirtyTwoBitsRaiseRangeErrors) {
    EXPECT_THROW(InchToCm(1e12), AppError);
    EXPECT_THROW(InchToFeetText(1e12), AppError);
    EXPECT_THROW(InchToCm(-1e12), AppError);
}

TEST(Units, KgToLbAndItsText) {
    const struct {
        double kg;
        double lb;
        const char* text;
    } cases[] = {
        {70.0, 154.4, " 154.4"}, {70.1, 154.6, " 154.6"},   {0.0, 0.0, "   0.0"},      {5.0, 11.0, "  11.0"},
        {99.9, 220.2, " 220.2"}, {500.0, 1102.2, "1102.2"}, {599.9, 1322.6, "1322.6"},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(KgToLb(c.kg), c.lb) << c.kg;
        EXPECT_EQ(KgToLbText(c.kg), QString::fromLatin1(c.text)) << c.kg;
    }
}

// A weight a person types in pounds goes to kilograms and back to the same tenth of a pound, with the
// factor the scale's table uses.
TEST(Units, TypedPoundsGoToKilogramsAndBackUnchanged) {
    EXPECT_DOUBLE_EQ(KgToLbExact(1.0), 2.2046);
    EXPECT_DOUBLE_EQ(LbToKg(2.2046), 1.0);
    EXPECT_NEAR(KgToLbExact(70.0), KgToLb(70.0), 0.1) << "within the table's step";
    for (int tenthsLb = 400; tenthsLb <= 7000; ++tenthsLb) {
        const double lb = tenthsLb / 10.0;
        EXPECT_EQ(std::round(KgToLbExact(LbToKg(lb)) * 10), tenthsLb) << lb;
    }
}

// Every weight from 0.0 to 599.9 kg in steps of 0.1 converts as exact decimal arithmetic would,
// except 500.0 kg, where the extended product lies just below the tie.
TEST(Units, KgToLbMatchesDecimalArithmeticOverTheWholeRange) {
    for (int tenthsKg = 0; tenthsKg < 6000; ++tenthsKg) {
        const long long scaled = static_cast<long long>(tenthsKg) * 11023; // kg*1.1023*10, scaled by 1e4
        long long halfPounds = (scaled + 5000) / 10000;                    // truncate(x + 0.5)
        if (tenthsKg == 5000)
            halfPounds -= 1;
        EXPECT_DOUBLE_EQ(KgToLb(tenthsKg / 10.0), 2.0 * halfPounds / 10.0) << tenthsKg;
    }
}
