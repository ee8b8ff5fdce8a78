#include <gtest/gtest.h>

#include "tests/native/skin_fixture.h"

namespace {

class SkinHeader : public ::testing::TestWithParam<ModuleSkin> {};

TEST_P(SkinHeader, FileHeaderAndLength) {
    const BmpFile& file = CommittedSkin(GetParam());
    const uint32_t length = 14 + 40 + 828 * uint32_t(GetParam().height);
    ASSERT_EQ(file.Bytes().size(), length);
    EXPECT_EQ(file.Bytes()[0], 'B');
    EXPECT_EQ(file.Bytes()[1], 'M');
    EXPECT_EQ(file.U32(2), length);
    EXPECT_EQ(file.U32(6), 0u);    // reserved
    EXPECT_EQ(file.U32(10), 54u);  // pixels follow the two headers: no colour table
}

TEST_P(SkinHeader, InfoHeaderFields) {
    const BmpFile& file = CommittedSkin(GetParam());
    EXPECT_EQ(file.U32(14), 40u);
    EXPECT_EQ(file.U32(18), uint32_t(SkinWidth));
    EXPECT_EQ(file.U32(22), uint32_t(GetParam().height));  // positive: bottom-up
    EXPECT_EQ(file.U16(26), 1u);
    EXPECT_EQ(file.U16(28), 24u);
    EXPECT_EQ(file.U32(30), 0u);  // no compression
    EXPECT_EQ(file.U32(34), 0u);  // image size field
    EXPECT_EQ(file.U32(38), 3779u);
    EXPECT_EQ(file.U32(42), 3779u);
    EXPECT_EQ(file.U32(46), 0u);  // colours used
    EXPECT_EQ(file.U32(50), 0u);  // colours important
}

TEST_P(SkinHeader, RowPaddingIsZero) {
    const BmpFile& file = CommittedSkin(GetParam());
    ASSERT_TRUE(file.HoldsPixels());
    for (int row = 0; row < GetParam().height; ++row)
        for (std::size_t pad = 825; pad < 828; ++pad)
            EXPECT_EQ(file.Bytes()[54 + 828 * std::size_t(row) + pad], 0) << "stored row " << row;
}

INSTANTIATE_FOR_BOTH_SKINS(SkinHeader);

}  // namespace
