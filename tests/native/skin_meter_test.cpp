#include "tests/native/skin_fixture.h"

namespace {

class SkinMeters : public SkinTest {};

TEST_P(SkinMeters, FieldsHoldTheirGradientsAndBlacks) {
    for (int y = 6; y <= skin.height - 4; ++y) {
        for (int x = 6; x <= 268; ++x) {
            const Colour c = At(x, y);
            switch (MeterFieldAt(skin, x, y)) {
            case Field::LevelBar:
                EXPECT_TRUE(MeterColour(c, LevelBarColour(x), 4)) << x << "," << y << " " << c;
                break;
            case Field::Spectrum:
                EXPECT_TRUE(MeterColour(c, SpectrumColour(y), 1)) << x << "," << y << " " << c;
                break;
            case Field::Black:
                EXPECT_EQ(c, Black) << x << "," << y;
                break;
            case Field::None:
                break;
            }
        }
    }
}

TEST_P(SkinMeters, LevelBarEndsAreDarkAndBrightOrange) {
    for (int y = skin.levelTop; y <= skin.LevelBottom(); ++y) {
        for (int x : {7, 267}) EXPECT_TRUE(MeterColour(At(x, y), {123, 66, 8}, 4)) << x << "," << y << " " << At(x, y);
        for (int x : {135, 139}) EXPECT_TRUE(MeterColour(At(x, y), {246, 122, 8}, 4)) << x << "," << y << " " << At(x, y);
    }
}

// From row 6 down to the level bars, everything in columns 6..268 outside the
// meter fields is black but the two pixels where the rim's inner corners shade
// into the interior. The rows below, down to H-4, are the lower sheen (next test).
TEST_P(SkinMeters, NoStrayLightInTheInterior) {
    for (int y = 6; y <= skin.LevelBottom(); ++y) {
        for (int x = 6; x <= 268; ++x) {
            const bool corner = y == 6 && (x == 6 || x == 268);
            if (corner || MeterFieldAt(skin, x, y) != Field::None) continue;
            EXPECT_EQ(At(x, y), Black) << x << "," << y;
        }
    }
}

TEST_P(SkinMeters, LowerSheenIsAFaintGreyRisingToTheRight) {
    const int brightRow = skin.height - 5;
    int brightest = 0, brightestAt = 0;
    for (int y = skin.LevelBottom() + 1; y <= skin.height - 4; ++y) {
        for (int x = 6; x <= 268; ++x) {
            const Colour c = At(x, y);
            EXPECT_TRUE(c.red == c.green && c.green == c.blue) << x << "," << y << " " << c;
            if (x <= 90) {
                EXPECT_EQ(c, Black) << x << "," << y;
            }
            if (y == brightRow && c.red > brightest) brightest = c.red, brightestAt = x;
            EXPECT_LE(c.red, 60) << x << "," << y;
        }
    }
    EXPECT_NEAR(brightest, 57, 3);
    EXPECT_GE(brightestAt, 250);
    EXPECT_LE(brightestAt, 265);
}

INSTANTIATE_FOR_BOTH_SKINS(SkinMeters);

class DeduzodoSkin : public SkinTest {};

// With silence only the innermost columns and the peak marks beside them show.
TEST_P(DeduzodoSkin, SilencePictureIsBrightestOrange) {
    for (int y = 33; y <= 38; ++y) {
        for (int x : {133, 134, 135, 139, 140, 141}) {
            EXPECT_TRUE(MeterColour(At(x, y), {246, 122, 8}, 4)) << x << "," << y << " " << At(x, y);
            EXPECT_GE(At(x, y).red, At(x < 136 ? x - 3 : x + 3, y).red) << x << "," << y;
        }
    }
}

TEST_P(DeduzodoSkin, VuMeterBarsAreTheFirstFiveBarRows) {
    const BmpFile& vu = CommittedSkin(VuMeter);
    ASSERT_TRUE(vu.HoldsPixels());
    for (int row = 0; row < 5; ++row)
        for (int x = 7; x <= 267; ++x)
            EXPECT_TRUE(Near(vu.Pixel(x, 6 + row), At(x, 33 + row), 1))
                << x << ": " << vu.Pixel(x, 6 + row) << " vs " << At(x, 33 + row);
}

INSTANTIATE_TEST_SUITE_P(Skins, DeduzodoSkin, ::testing::Values(Deduzodo), SkinName);

}  // namespace
