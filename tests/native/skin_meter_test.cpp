#include "tests/native/skin_fixture.h"

namespace {

class SkinMeters : public SkinTest {};

TEST_P(SkinMeters, FieldsHoldTheirGradientsAndBlacks) {
    for (int y = RimTopRows.bottom; y <= skin.height - 4; ++y) {
        for (int x = Interior.left; x < Interior.right; ++x) {
            const Colour c = At(x, y);
            switch (MeterFieldAt(skin, x, y)) {
            case Field::LevelBar: EXPECT_TRUE(MeterColour(c, LevelBarColour(x), 4)) << x << "," << y << " " << c; break;
            case Field::Spectrum: EXPECT_TRUE(MeterColour(c, SpectrumColour(y), 1)) << x << "," << y << " " << c; break;
            case Field::Gap: EXPECT_EQ(c, Black) << x << "," << y; break;
            case Field::None: break;
            }
        }
    }
}

TEST_P(SkinMeters, LevelBarEndsAreDarkAndBrightOrange) {
    for (int y = skin.levelBarRows.top; y < skin.levelBarRows.bottom; ++y) {
        for (int x : {LeftBarOuter, RightBarOuter})
            EXPECT_TRUE(MeterColour(At(x, y), {123, 66, 8}, 4)) << x << "," << y << " " << At(x, y);
        for (int x : {LeftBarInner, RightBarInner})
            EXPECT_TRUE(MeterColour(At(x, y), {246, 122, 8}, 4)) << x << "," << y << " " << At(x, y);
    }
}

// From the rim down to the level bars, everything in the interior outside the
// meter fields is black but the two pixels where the rim's inner corners shade
// into the interior. The rows below, down to H-4, are the lower sheen (next test).
TEST_P(SkinMeters, NoStrayLightInTheInterior) {
    for (int y = RimTopRows.bottom; y < skin.levelBarRows.bottom; ++y) {
        for (int x = Interior.left; x < Interior.right; ++x) {
            const bool corner = y == RimTopRows.bottom && (x == Interior.left || x == Interior.right - 1);
            if (corner || MeterFieldAt(skin, x, y) != Field::None) continue;
            EXPECT_EQ(At(x, y), Black) << x << "," << y;
        }
    }
}

TEST_P(SkinMeters, LowerSheenIsAFaintGreyRisingToTheRight) {
    const int brightRow = skin.height - 5;
    int brightest = 0, brightestAt = 0;
    for (int y = skin.levelBarRows.bottom; y <= skin.height - 4; ++y) {
        for (int x = Interior.left; x < Interior.right; ++x) {
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

class DeduzodoPixels : public SkinTest {};

// With silence only the innermost columns and the peak marks beside them show.
TEST_P(DeduzodoPixels, SilencePictureIsBrightestOrange) {
    for (int y = skin.levelBarRows.top; y < skin.levelBarRows.bottom; ++y) {
        for (int x :
             {LeftBarInner - 2, LeftBarInner - 1, LeftBarInner, RightBarInner, RightBarInner + 1, RightBarInner + 2}) {
            EXPECT_TRUE(MeterColour(At(x, y), {246, 122, 8}, 4)) << x << "," << y << " " << At(x, y);
            EXPECT_GE(At(x, y).red, At(x < CentreGap.left ? x - 3 : x + 3, y).red) << x << "," << y;
        }
    }
}

TEST_P(DeduzodoPixels, VuMeterBarsAreTheFirstFiveBarRows) {
    const BmpFile& vu = CommittedSkin(VuMeterSkin);
    ASSERT_TRUE(vu.HoldsPixels());
    const int vuTop = VuMeterSkin.levelBarRows.top, top = DeduzodoSkin.levelBarRows.top;
    for (int row = 0; row < VuMeterSkin.levelBarRows.bottom - vuTop; ++row)
        for (int x = LeftBarOuter; x <= RightBarOuter; ++x)
            EXPECT_TRUE(Near(vu.Pixel(x, vuTop + row), At(x, top + row), 1))
                << x << ": " << vu.Pixel(x, vuTop + row) << " vs " << At(x, top + row);
}

INSTANTIATE_TEST_SUITE_P(Skins, DeduzodoPixels, ::testing::Values(DeduzodoSkin), SkinName);

}  // namespace
