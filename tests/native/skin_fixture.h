// Runs a test on each committed skin; pixel tests stop early when the file
// is missing or too short to hold its picture.
#pragma once

#include <gtest/gtest.h>

#include "tests/native/skin_fields.h"

class SkinTest : public ::testing::TestWithParam<ModuleSkin> {
protected:
    const ModuleSkin& skin = GetParam();
    const BmpFile& file = CommittedSkin(GetParam());

    void SetUp() override {
        ASSERT_TRUE(file.HoldsPixels()) << skin.bitmap << ".bmp is missing or truncated";
        ASSERT_EQ(file.Width(), SkinWidth);
        ASSERT_EQ(file.Height(), skin.height);
    }
    Colour At(int x, int y) const { return file.Pixel(x, y); }
};

inline void PrintTo(const ModuleSkin& skin, std::ostream* out) { *out << skin.bitmap; }
inline std::string SkinName(const ::testing::TestParamInfo<ModuleSkin>& info) { return info.param.bitmap; }

#define INSTANTIATE_FOR_BOTH_SKINS(suite) \
    INSTANTIATE_TEST_SUITE_P(Skins, suite, ::testing::Values(DeduzodoSkin, VuMeterSkin), SkinName)
