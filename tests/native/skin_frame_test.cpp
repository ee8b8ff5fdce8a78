#include "tests/native/skin_fixture.h"

namespace {

bool Grey(const Colour& c) { return c.red == c.green && c.green == c.blue; }

class SkinFrame : public SkinTest {};

TEST_P(SkinFrame, OuterLineIsBlack) {
    const int h = skin.height;
    for (int x = 0; x <= 274; ++x) {
        const Colour corner{6, 6, 11};
        EXPECT_EQ(At(x, 0), x >= 271 && x <= 273 ? corner : Black) << x;
        EXPECT_EQ(At(x, h - 1), Black) << x;
    }
    for (int y = 0; y < h; ++y) {
        EXPECT_EQ(At(0, y), Black) << y;
        EXPECT_EQ(At(274, y), Black) << y;
    }
}

TEST_P(SkinFrame, BevelsAreNeutralGrey) {
    const int h = skin.height;
    for (int y = 1; y <= h - 2; ++y)
        for (int x : {1, 2, 3, 271, 272, 273}) EXPECT_TRUE(Grey(At(x, y))) << x << "," << y << " " << At(x, y);
    for (int x = 4; x <= 270; ++x)
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
    for (int x = 4; x <= 270; ++x) {
        EXPECT_NEAR(At(x, 2).red, 16, 2) << x;
        for (int row = 0; row < 3; ++row) EXPECT_TRUE(Near(At(x, 3 + row), rim[row], 2)) << x << "," << 3 + row;
    }
    for (int x : {4, 270}) EXPECT_LE(At(x, 1).red, 3) << x;  // the top sheen starts and ends dark
    EXPECT_NEAR(At(60, 1).red, 39, 3);
    EXPECT_NEAR(At(135, 1).red, 11, 3);
    EXPECT_NEAR(At(210, 1).red, 86, 3);
    EXPECT_NEAR(At(135, skin.height - 2).red, 105, 3);
    EXPECT_NEAR(At(180, skin.height - 2).red, 134, 3);
}

TEST_P(SkinFrame, RimSidesAreDarkBrownBesideTheMeters) {
    for (int y = 6; y <= skin.LevelBottom(); ++y) {
        for (int x : {4, 5, 269, 270}) {
            const Colour c = At(x, y);
            EXPECT_TRUE(c.red > c.green && c.green > c.blue && c.red <= 40) << x << "," << y << " " << c;
        }
    }
    EXPECT_TRUE(Near(At(4, 6), {33, 21, 8}, 2)) << At(4, 6);
}

INSTANTIATE_FOR_BOTH_SKINS(SkinFrame);

TEST(SkinFrames, TopSixRowsAreIdenticalInBothSkins) {
    const BmpFile& deduzodo = CommittedSkin(Deduzodo);
    const BmpFile& vu = CommittedSkin(VuMeter);
    ASSERT_TRUE(deduzodo.HoldsPixels() && vu.HoldsPixels());
    for (int y = 0; y <= 5; ++y)
        for (int x = 0; x <= 274; ++x)
            EXPECT_EQ(deduzodo.Pixel(x, y), vu.Pixel(x, y)) << x << "," << y;
}

}  // namespace
