// Runs a test on each committed skin; pixel tests stop early when the file
// is missing or too short to hold its picture.
#pragma once

#include <gtest/gtest.h>

#include "tests/native/skin_layout.h"

class SkinTest : public ::testing::TestWithParam<SkinLayout> {
protected:
    const SkinLayout& skin = GetParam();
    const BmpFile& file = CommittedSkin(GetParam());

    void SetUp() override {
        ASSERT_TRUE(file.HoldsPixels()) << skin.name << ".bmp is missing or truncated";
        ASSERT_EQ(file.Width(), 275);
        ASSERT_EQ(file.Height(), skin.height);
    }
    Colour At(int x, int y) const { return file.Pixel(x, y); }
};

inline void PrintTo(const SkinLayout& skin, std::ostream* out) { *out << skin.name; }
inline std::string SkinName(const ::testing::TestParamInfo<SkinLayout>& info) { return info.param.name; }

#define INSTANTIATE_FOR_BOTH_SKINS(suite) \
    INSTANTIATE_TEST_SUITE_P(Skins, suite, ::testing::Values(Deduzodo, VuMeter), SkinName)
