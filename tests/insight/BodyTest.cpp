// SPDX-License-Identifier: MIT
#include "insight/Body.h"

#include <gtest/gtest.h>

TEST(Body, BmiIsKilogramsPerSquareMetre) {
    EXPECT_NEAR(*Bmi(70.0, 175), 22.857142857, 1e-9);
    EXPECT_NEAR(*Bmi(72.25, 170), 25.0, 1e-9);
    for (const auto& [kg, cm] : {std::pair{0.0, 170}, {70.0, 0}, {-1.0, 170}, {70.0, -170}})
        EXPECT_EQ(Bmi(kg, cm), std::nullopt) << kg << " kg " << cm << " cm";
}

TEST(Body, BmiBandsAtTheirEdges) {
    const struct {
        double bmi;
        TBmiBand band;
    } cases[] = {
        {0.0, TBmiBand::SevereThinness},
        {15.9, TBmiBand::SevereThinness},
        {16.0, TBmiBand::ModerateThinness},
        {16.9, TBmiBand::ModerateThinness},
        {17.0, TBmiBand::MildThinness},
        {18.44, TBmiBand::MildThinness},
        {18.5, TBmiBand::Normal},
        {24.9, TBmiBand::Normal},
        {25.0, TBmiBand::PreObese},
        {29.9, TBmiBand::PreObese},
        {30.0, TBmiBand::ObeseClass1},
        {34.9, TBmiBand::ObeseClass1},
        {35.0, TBmiBand::ObeseClass2},
        {39.9, TBmiBand::ObeseClass2},
        {40.0, TBmiBand::ObeseClass3},
        {75.0, TBmiBand::ObeseClass3},
        {24.96, TBmiBand::PreObese}, // shown as 25.0
        {-3.0, TBmiBand::SevereThinness},
        {1e300, TBmiBand::ObeseClass3},
        {std::nan(""), TBmiBand::SevereThinness},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BmiBandOf(c.bmi), c.band) << c.bmi;
}

// 59.9 kg at 180 cm is a BMI of 18.4877, shown as 18.5: the band is the one the shown value names.
TEST(Body, TheBandFollowsTheShownBmi) {
    EXPECT_EQ(BmiBandOf(*Bmi(59.9, 180)), TBmiBand::Normal);
    EXPECT_EQ(BmiBandOf(*Bmi(59.7, 180)), TBmiBand::MildThinness); // 18.43
}

TEST(Body, BandsTileTheScaleAndNameTheirKeys) {
    const auto& bands = BmiBands();
    for (size_t i = 0; i < bands.size(); ++i) {
        EXPECT_EQ(static_cast<size_t>(bands[i].Band), i);
        EXPECT_EQ(&BmiBandInfo(bands[i].Band), &bands[i]);
        EXPECT_EQ(BmiBandOf(bands[i].Lower), bands[i].Band);
        if (i > 0) {
            EXPECT_EQ(bands[i].Lower, bands[i - 1].Upper);
        }
    }
    EXPECT_STREQ(BmiBandInfo(TBmiBand::Normal).TextKey, "BmiBandNormal");
    EXPECT_STREQ(BmiBandInfo(TBmiBand::ObeseClass3).TextKey, "BmiBandObeseClass3");
}

TEST(Body, FatAndLeanMass) {
    EXPECT_DOUBLE_EQ(FatMassKg(80.0, 25.0), 20.0);
    EXPECT_DOUBLE_EQ(LeanMassKg(80.0, 25.0), 60.0);
    EXPECT_DOUBLE_EQ(FatMassKg(80.0, 0.0), 0.0);
    EXPECT_DOUBLE_EQ(LeanMassKg(80.0, 0.0), 80.0);
}

// Mifflin-St Jeor: men 10 × 80 + 6.25 × 180 − 5 × 30 + 5 = 1780; women 10 × 60 + 6.25 × 165 − 5 × 40
// − 161 = 1270.25. Athletes count as their gender.
TEST(Body, MifflinStJeorByGenderIndex) {
    const struct {
        int genderIndex;
        double kg;
        int cm;
        int age;
        double bmr;
    } cases[] = {{0, 80, 180, 30, 1780.0},  {2, 80, 180, 30, 1780.0}, {1, 60, 165, 40, 1270.25},
                 {3, 60, 165, 40, 1270.25}, {1, 80, 180, 30, 1614.0}, {0, 60, 165, 40, 1436.25}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(BmrMifflinStJeor(c.kg, c.cm, c.age, IsFemale(c.genderIndex)), c.bmr)
            << "gender " << c.genderIndex;
}

// Katch-McArdle: 370 + 21.6 × lean kg; 80 kg at 25 % fat has 60 kg lean: 1666.
TEST(Body, KatchMcArdle) {
    EXPECT_DOUBLE_EQ(BmrKatchMcArdle(LeanMassKg(80.0, 25.0)), 1666.0);
    EXPECT_DOUBLE_EQ(BmrKatchMcArdle(0.0), 370.0);
}

TEST(Body, AgeInCompletedYears) {
    const struct {
        QDate birthday;
        QDate day;
        int age;
    } cases[] = {
        {{1980, 6, 15}, {2026, 6, 14}, 45}, {{1980, 6, 15}, {2026, 6, 15}, 46},
        {{1980, 2, 29}, {2026, 2, 28}, 45}, {{1980, 2, 29}, {2026, 3, 1}, 46},
        {{2026, 6, 15}, {2026, 6, 1}, 0},   {{}, {2026, 6, 1}, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AgeInYears(c.birthday, c.day), c.age) << c.day.toString(Qt::ISODate).toStdString();
}
