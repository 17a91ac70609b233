#include "font/glyph_record.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

namespace {

using font::GlyphRecord;

constexpr float kNegativeZero = -0.0f;
const float kSubnormal = std::numeric_limits<float>::denorm_min();
const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInfinity = std::numeric_limits<float>::infinity();
constexpr float kMax = std::numeric_limits<float>::max();

TEST(IsEmpty, LooksAtTheFourValuesNotTheBytes) {
    const struct { GlyphRecord record; bool empty; const char* why; } cases[] = {
        {{0, 0, 0, 0}, true, "all zero"},
        {{kNegativeZero, kNegativeZero, kNegativeZero, kNegativeZero}, true, "negative zeros"},
        {{0, kNegativeZero, 0, kNegativeZero}, true, "mixed zeros"},
        {{0, 0, 0, kSubnormal}, false, "a subnormal is a glyph"},
        {{0, 0, 0, 0.5f}, false, "only Aspect"},
        {{0.25f, 0, 0, 0}, false, "only Left"},
        {{-0.25f, 0, 0.25f, 0}, false, "values that cancel still count"},
        {{kNaN, 0, 0, 0}, true, "a NaN sum is unordered"},
        {{kNaN, 1, 1, 1}, true, "NaN swallows the rest"},
        {{kInfinity, 0, 0, 0}, false, "an infinite sum is not empty"},
        {{kMax, kMax, kMax, kMax}, false, "an overflowing sum is infinite"},
        {{kInfinity, -kInfinity, 0, 0}, false, "absolute values: inf + inf"},
    };
    for (const auto& c : cases) EXPECT_EQ(font::IsEmpty(c.record), c.empty) << c.why;
}

TEST(GlyphRecordBytes, LittleEndianFieldsInOrder) {
    const GlyphRecord record{1.0f, -2.0f, 0.5f, kNegativeZero};
    const auto bytes = font::EncodeGlyphRecord(record);
    const int expected[16] = {0, 0, 0x80, 0x3F, 0, 0, 0, 0xC0, 0, 0, 0, 0x3F, 0, 0, 0, 0x80};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(bytes[i], std::byte(expected[i])) << i;

    const GlyphRecord back = font::DecodeGlyphRecord(bytes);
    EXPECT_EQ(back, record);
    EXPECT_TRUE(std::signbit(back.Aspect));
}

}  // namespace
