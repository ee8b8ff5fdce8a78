#include "tests/native/skin_fixture.h"

namespace {

bool Grey(const Colour& c) { return c.red == c.green && c.green == c.blue; }

class SkinFrame : public SkinTest {};

TEST_P(SkinFrame, OuterLineIsBlack) {
    const int h = skin.height;
    for (int x = 0; x < SkinWidth; ++x) {
        const Colour corner{6, 6, 11};
        EXPECT_EQ(At(x, 0), RightBevel.Contain(x) ? corner : Black) << x;
        EXPECT_EQ(At(x, h - 1), Black) << x;
    }
    for (int y = 0; y < h; ++y) {
        EXPECT_EQ(At(0, y), Black) << y;
        EXPECT_EQ(At(SkinWidth - 1, y), Black) << y;
    }
}

TEST_P(SkinFrame, BevelsAreNeutralGrey) {
    const int h = skin.height;
    for (int y = 1; y <= h - 2; ++y)
        for (Columns bevel : {LeftBevel, RightBevel})
            for (int x = bevel.left; x < bevel.right; ++x)
                EXPECT_TRUE(Grey(At(x, y))) << x << "," << y << " " << At(x, y);
    for (int x = FrameBand.left; x < FrameBand.right; ++x)
        for (int y : {1, 2, h - 3, h - 2}) EXPECT_TRUE(Grey(At(x, y))) << x << "," << y << " " << At(x, y);
}

TEST_P(SkinFrame, KeepsTheRepresentativeShades) {
    const int column1[] = {60, 92, 127, 172}, columns23[] = {26, 56, 88, 110}, right[] = {26, 50, 78, 94};
    for (int row = 1; row <= 4; ++row) {
        EXPECT_NEAR(At(1, row).red, column1[row - 1], 3) << row;
        EXPECT_NEAR(At(2, row).red, columns23[row - 1], 3) << row;
        EXPECT_NEAR(At(3, row).red, columns23[row - 1], 3) << row;
        EXPECT_NEAR(At(271, row).red, right[row - 1], 3) << row;
        EXPECT_NEAR(At(272, row).red, right[row - 1], 3) << row;
    }
    EXPECT_NEAR(At(273, 4).red, 115, 3);
    EXPECT_NEAR(At(2, skin.height - 2).red, 8, 3);
    EXPECT_NEAR(At(271, skin.height - 2).red, 57, 3);
    const Colour rim[] = {{44, 26, 7}, {38, 23, 7}, {31, 20, 8}};
    for (int x = FrameBand.left; x < FrameBand.right; ++x) {
        EXPECT_NEAR(At(x, 2).red, 16, 2) << x;
        for (int y = RimTopRows.top; y < RimTopRows.bottom; ++y)
            EXPECT_TRUE(Near(At(x, y), rim[y - RimTopRows.top], 2)) << x << "," << y;
    }
    for (int x : {FrameBand.left, FrameBand.right - 1})
        EXPECT_LE(At(x, 1).red, 3) << x;  // the top sheen starts and ends dark
    EXPECT_NEAR(At(60, 1).red, 39, 3);
    EXPECT_NEAR(At(135, 1).red, 11, 3);
    EXPECT_NEAR(At(210, 1).red, 86, 3);
    EXPECT_NEAR(At(135, skin.height - 2).red, 105, 3);
    EXPECT_NEAR(At(180, skin.height - 2).red, 134, 3);
}

TEST_P(SkinFrame, RimSidesAreDarkBrownBesideTheMeters) {
    for (int y = RimTopRows.bottom; y < skin.levelBarRows.bottom; ++y) {
        for (int x : {LeftRimSide.left, LeftRimSide.left + 1, RightRimSide.left, RightRimSide.left + 1}) {
            const Colour c = At(x, y);
            EXPECT_TRUE(c.red > c.green && c.green > c.blue && c.red <= 40) << x << "," << y << " " << c;
        }
    }
    EXPECT_TRUE(Near(At(LeftRimSide.left, RimTopRows.bottom), {33, 21, 8}, 2));
}

INSTANTIATE_FOR_BOTH_SKINS(SkinFrame);

TEST(SkinFrames, TopSixRowsAreIdenticalInBothSkins) {
    const BmpFile& deduzodo = CommittedSkin(DeduzodoSkin);
    const BmpFile& vu = CommittedSkin(VuMeterSkin);
    ASSERT_TRUE(deduzodo.HoldsPixels() && vu.HoldsPixels());
    for (int y = 0; y < RimTopRows.bottom; ++y)
        for (int x = 0; x < SkinWidth; ++x) EXPECT_EQ(deduzodo.Pixel(x, y), vu.Pixel(x, y)) << x << "," << y;
}

}  // namespace
