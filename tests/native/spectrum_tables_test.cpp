#include <gtest/gtest.h>

#include <set>

#include "tests/native/spectrum_fixture.h"

TEST_F(SpectrumTest, BarBinTableTellingRows) {
    const int32_t* table = analysis.BarBinTable;
    EXPECT_EQ(table[0], 1);
    const std::set<int> zero = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13, 14, 15, 16, 18, 19, 20,
                                22, 23, 25, 26, 28, 29, 31, 34, 37};
    ASSERT_EQ(zero.size(), 27u);
    for (int k = 0; k <= 86; ++k) EXPECT_EQ(table[k] == 0, zero.count(k) == 1) << "entry " << k;

    const int index[] = {11, 17, 21, 24, 30, 32, 33, 38, 46, 47, 48, 60, 72, 84, 85, 86};
    const int slot[] = {2, 3, 4, 5, 7, 8, 9, 12, 21, 22, 24, 53, 117, 259, 277, 280};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(table[index[i]], slot[i]) << "entry " << index[i];
    for (int k = 39; k <= 45; ++k) EXPECT_EQ(table[k], k - 26) << "entry " << k;
}

TEST_F(SpectrumTest, BarBinTableNamesSixtyDistinctSlots) {
    std::set<int> named(analysis.BarBinTable, analysis.BarBinTable + 86);
    const std::set<int> expected = {0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14,
                                    15,  16,  17,  18,  19,  21,  22,  24,  25,  27,  29,  31,  33,  36,  38,
                                    41,  43,  46,  50,  53,  57,  61,  65,  69,  74,  79,  84,  90,  96,  103,
                                    110, 117, 125, 134, 143, 153, 163, 174, 186, 199, 213, 227, 243, 259, 277};
    EXPECT_EQ(expected.size(), 60u);
    EXPECT_EQ(named, expected);
    // The display's per-slot flags agree with the table for the bar slots.
    for (int k = 0; k < SpectrumBars; ++k) EXPECT_EQ(analysis.SlotIsMagnitude[k], named.count(k) == 1) << k;
}

TEST_F(SpectrumTest, TwiddlesPerStage) {
    EXPECT_EQ(analysis.TwiddleCos[1], -1.0);
    EXPECT_NEAR(analysis.TwiddleSin[1], 0.0, 1e-15);
    EXPECT_NEAR(analysis.TwiddleCos[2], 0.0, 1e-15);
    EXPECT_EQ(analysis.TwiddleSin[2], -1.0);
    EXPECT_NEAR(analysis.TwiddleCos[3], 0.70710678, 1e-8);
    EXPECT_NEAR(analysis.TwiddleSin[3], -0.70710678, 1e-8);
    EXPECT_NEAR(analysis.TwiddleCos[9], 0.99992470, 1e-8);
    EXPECT_NEAR(analysis.TwiddleSin[9], -0.01227154, 1e-8);
    // Each stage's W, raised to the stage's half length, turns half a circle
    // (stage 1's residue may put its angle on either side of the half turn).
    for (int stage = 1; stage <= 9; ++stage) {
        const double w = std::atan2(analysis.TwiddleSin[stage], analysis.TwiddleCos[stage]);
        EXPECT_NEAR(std::remainder(w * (1 << (stage - 1)) + Pi, TwoPi), 0.0, 1e-12) << "stage " << stage;
    }
}

TEST_F(SpectrumTest, StartupZeroesArrays) {
    analysis.SpectrumRe[5] = 3.0;
    analysis.SpectrumIm[520] = -2.0;
    StartUp();
    for (int i = 0; i < SpectrumSlots; ++i) {
        EXPECT_EQ(analysis.SpectrumRe[i], 0.0) << i;
        EXPECT_EQ(analysis.SpectrumIm[i], 0.0) << i;
    }
    // A second start-up builds the same tables.
    const SpectrumAnalysisState first = analysis;
    StartUp();
    for (int k = 0; k <= 86; ++k) EXPECT_EQ(analysis.BarBinTable[k], first.BarBinTable[k]);
}

TEST_F(SpectrumTest, LevelThresholdsWholeTable) {
    const int32_t expected[25] = {0,   200, 2,    4,    7,    10,   16,   26,   40,    62,    95,    147,  228,
                                  352, 544, 840,  1297, 2003, 3094, 4777, 7377, 11392, 17590, 27162, 35000};
    for (int i = 0; i < 25; ++i) EXPECT_EQ(view.LevelThresholds[i], expected[i]) << "entry " << i;
}
