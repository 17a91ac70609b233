#include "font/geometry.h"

#include <gtest/gtest.h>

#include <limits>

#include "runtime/failure.h"

namespace {

using runtime::FailureKind;

FailureKind KindOf(const auto& call) {
    try {
        call();
    } catch (const runtime::Failure& failure) {
        return failure.kind();
    }
    ADD_FAILURE() << "no failure";
    return FailureKind::InvalidOperation;
}

class InLocale : public ::testing::TestWithParam<char> {
protected:
    char sep() const { return GetParam(); }
    // A number as this locale writes it.
    std::string L(std::string text) const {
        for (char& c : text) {
            if (c == '.') c = sep();
        }
        return text;
    }
};

INSTANTIATE_TEST_SUITE_P(Locales, InLocale, ::testing::Values('.', ','),
                         [](const auto& info) { return info.param == '.' ? "Point" : "Comma"; });

TEST_P(InLocale, EditTextsAreMadeFromTheSingleValue) {
    const struct { float textureUnits; const char* text; } cases[] = {
        {0.1f, "25.6"}, {0.25f, "64"}, {0.5f, "128"}, {0.3125f, "80"}, {0.39453125f, "101"},
        {-0.00390625f, "-1"}, {-0.0f, "0"}, {1e-10f, "2.56E-08"},
        // Beyond the binary32 range in edit units, still the file's value.
        {1e38f, "2.56E+40"}, {std::numeric_limits<float>::max(), "8.711228E+40"},
    };
    for (const auto& c : cases) EXPECT_EQ(font::ToEditText(c.textureUnits, sep()), L(c.text)) << c.text;
}

TEST_P(InLocale, EditTextsConvertToTheNearestSingle) {
    EXPECT_EQ(font::FromEditText(L("25.6"), sep()), 0.1f);
    EXPECT_EQ(font::FromEditText("101", sep()), 0.39453125f);
    EXPECT_EQ(font::FromEditText("-1", sep()), -0.00390625f);
    EXPECT_EQ(font::FromEditText(L(" 64 "), sep()), 0.25f);
    EXPECT_EQ(font::FromEditText(L("2.56E+40"), sep()), 1e38f);
}

TEST_P(InLocale, EditTextFailures) {
    const char other = sep() == '.' ? ',' : '.';
    EXPECT_EQ(KindOf([&] { font::FromEditText("", sep()); }), FailureKind::NotANumber);
    EXPECT_EQ(KindOf([&] { font::FromEditText(std::string("25") + other + "6", sep()); }),
              FailureKind::NotANumber);
    EXPECT_EQ(KindOf([&] { font::FromEditText("1e300", sep()); }), FailureKind::Overflow);
    EXPECT_EQ(KindOf([&] { font::FromEditText("9e40", sep()); }), FailureKind::Overflow);
    EXPECT_EQ(KindOf([&] { font::FromEditText("1e309", sep()); }), FailureKind::Overflow);
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        const std::string shown = font::ToEditText(bad, sep());
        EXPECT_EQ(KindOf([&] { font::FromEditText(shown, sep()); }), FailureKind::NotANumber) << shown;
    }
}

TEST_P(InLocale, FontSizeIsShownAndParsedUnscaled) {
    EXPECT_EQ(font::FontSizeToText(12.5f, sep()), L("12.5"));
    EXPECT_EQ(font::FontSizeFromText(L("12.5"), sep()), 12.5f);
    EXPECT_EQ(KindOf([&] { font::FontSizeFromText(L("1e39"), sep()); }), FailureKind::Overflow);
    EXPECT_EQ(KindOf([&] { font::FontSizeFromText("", sep()); }), FailureKind::NotANumber);
}

TEST(ComputeAspect, WidthInCellHeightsRoundedOnce) {
    EXPECT_EQ(font::ComputeAspect(100 / 256.0f, 110 / 256.0f, 0.0625f), 0.625f);
    EXPECT_EQ(font::ComputeAspect(0.5f, 0.5f, 0.0625f), 0.0f);
    EXPECT_EQ(font::ComputeAspect(0.5f, 0.25f, 0.0625f), -4.0f);
    // Difference and quotient in double: 0.1f - 0.2f is not a binary32 value before dividing.
    EXPECT_EQ(font::ComputeAspect(0.2f, 0.1f, 0.3f), static_cast<float>((double{0.1f} - double{0.2f}) / double{0.3f}));
}

TEST(ComputeAspect, ZeroCellHeightAndOverflowFail) {
    EXPECT_EQ(KindOf([] { font::ComputeAspect(0.1f, 0.2f, 0); }), FailureKind::DivisionByZero);
    EXPECT_EQ(KindOf([] { font::ComputeAspect(0.1f, 0.1f, 0); }), FailureKind::InvalidOperation);
    EXPECT_EQ(KindOf([] { font::ComputeAspect(-1e38f, 1e38f, 1e-10f); }), FailureKind::Overflow);
}

TEST(ToPreviewPixel, TruncatesTowardZero) {
    const struct { float value; std::int32_t pixel; } cases[] = {
        {0.25f, 128}, {0.0999f, 51}, {-0.001f, 0}, {-0.75f / 512, 0}, {-0.01f, -5}, {0.3125f, 160},
        {4194303.5f, 2147483392},
    };
    for (const auto& c : cases) EXPECT_EQ(font::ToPreviewPixel(c.value), c.pixel) << c.value;
}

TEST(ToPreviewPixel, ValuesPastThe32BitRangeOverflow) {
    for (float value : {4194304.0f, -4194305.0f, 1e30f, std::numeric_limits<float>::quiet_NaN(),
                        std::numeric_limits<float>::infinity()}) {
        EXPECT_EQ(KindOf([&] { font::ToPreviewPixel(value); }), FailureKind::Overflow) << value;
    }
}

TEST(Outline, BottomKeepsItsFractionAndTheRowRoundsHalvesToEven) {
    const float cellHeight = 20.5f / 512;
    EXPECT_EQ(font::OutlineBottom(10, cellHeight), 30.5f);
    EXPECT_EQ(font::OutlineBottomRow(10, cellHeight), 30);
    EXPECT_EQ(font::OutlineBottom(11, cellHeight), 31.5f);
    EXPECT_EQ(font::OutlineBottomRow(11, cellHeight), 32);
    EXPECT_EQ(font::OutlineBottomRow(256, 0.0625f), 288);
    EXPECT_EQ(font::OutlineBottomRow(256, 0), 256);
    EXPECT_EQ(KindOf([] { font::OutlineBottomRow(0, 1e10f); }), FailureKind::Overflow);
    EXPECT_EQ(KindOf([] { font::OutlineBottom(0, std::numeric_limits<float>::max()); }), FailureKind::Overflow);
}

}  // namespace

namespace {

TEST(PlanOutline, LoopsAreCutToThePicture) {
    // The example glyph: edges 128..156 in rows 256 and 288, sides in 128 and 157.
    const font::OutlinePlan plain = font::PlanOutline(128, 256, 160, 0.0625f, 512);
    EXPECT_EQ(plain.edgeFirstColumn, 128);
    EXPECT_EQ(plain.edgeLastColumn, 156);
    EXPECT_EQ(plain.bottomRow, 288.0f);
    EXPECT_EQ(plain.rightColumn, 157);
    EXPECT_EQ(plain.leftColumn, 128);
    EXPECT_EQ(plain.sideFirstRow, 256);
    EXPECT_EQ(plain.sideLastRow, 288);

    // Left -1000 and Right 1000 texture units: half a million columns each way, cut to 0..511.
    const font::OutlinePlan far = font::PlanOutline(-512000, 128, 512000, 0.0625f, 512);
    EXPECT_EQ(far.edgeFirstColumn, 0);
    EXPECT_EQ(far.edgeLastColumn, 511);
    EXPECT_EQ(far.sideFirstRow, 128);
    EXPECT_EQ(far.sideLastRow, 160);

    const font::OutlinePlan tall = font::PlanOutline(10, -100000, 20, 1000.0f, 512);
    EXPECT_EQ(tall.sideFirstRow, 0);
    EXPECT_EQ(tall.sideLastRow, 511);
}

TEST(PlanOutline, NarrowCellsDrawNoEdgesAndFailuresComeFrom32Bits) {
    const font::OutlinePlan narrow = font::PlanOutline(128, 256, 131, 0.0625f, 512);
    EXPECT_GT(narrow.edgeFirstColumn, narrow.edgeLastColumn);
    EXPECT_EQ(narrow.rightColumn, 128);
    // A negative cell height puts the bottom above the top: no side is drawn, however far apart.
    const font::OutlinePlan upside = font::PlanOutline(128, 256, 160, -0.0625f, 512);
    EXPECT_EQ(upside.sideFirstRow, 256);
    EXPECT_EQ(upside.sideLastRow, 224);
    const font::OutlinePlan farUpside = font::PlanOutline(0, 2000000000, 100, -5e6f, 512);
    EXPECT_GT(farUpside.sideFirstRow, farUpside.sideLastRow);
    // A last row or a right column past the 32-bit range fails the plan.
    EXPECT_EQ(KindOf([] { font::PlanOutline(0, 0, 100, 1e10f, 512); }), FailureKind::Overflow);
    EXPECT_EQ(KindOf([] { font::PlanOutline(0, 0, -2147483647 - 1, 0.0625f, 512); }), FailureKind::Overflow);
}

}  // namespace
