#include "runtime/conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "runtime/failure.h"

namespace {

using runtime::FailureKind;

// Every text is written with '.' and ',' standing for "the locale's separator" and "the other
// one"; each case runs in both locales with the two swapped.
std::string InLocale(std::string text, char separator) {
    if (separator == '.') return text;
    for (char& c : text) {
        if (c == '.') c = ',';
        else if (c == ',') c = '.';
    }
    return text;
}

class BothLocales : public ::testing::TestWithParam<char> {
protected:
    char sep() const { return GetParam(); }
    std::string L(const std::string& text) const { return InLocale(text, sep()); }
};

INSTANTIATE_TEST_SUITE_P(Locales, BothLocales, ::testing::Values('.', ','),
                         [](const auto& info) { return info.param == '.' ? "Point" : "Comma"; });

FailureKind KindOf(const auto& call) {
    try {
        call();
    } catch (const runtime::Failure& failure) {
        return failure.kind();
    }
    ADD_FAILURE() << "no failure";
    return FailureKind::InvalidOperation;
}

TEST_P(BothLocales, ParsesNumbersInTheLocalesNotation) {
    const struct { const char* text; double value; } cases[] = {
        {"25.6", 25.6},   {"  12.5  ", 12.5}, {"-1", -1},       {"+3", 3},
        {".5", 0.5},      {"5.", 5},          {"1.5E3", 1500},  {"1.5e-3", 0.0015},
        {"2E+2", 200},    {"0", 0},           {"-0", 0},        {"007", 7},
        {"1e-400", 0},    {"255.5", 255.5},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(runtime::TextToDouble(L(c.text), sep()), c.value) << c.text;
    }
}

TEST_P(BothLocales, RefusesWhatIsNotANumberInTheLocale) {
    // "12,5" with the other separator is a digit group, never silently 125.
    for (const char* text : {"", "   ", "12,5", "1.2.3", "abc", "1e", "--1", "1 2", "e5", ".",
                             "12.5x", "1,000.5", "0x10", "Inf", "NaN", "&H10"}) {
        EXPECT_EQ(KindOf([&] { runtime::TextToDouble(L(text), sep()); }), FailureKind::NotANumber)
            << text;
    }
}

TEST_P(BothLocales, ValueBeyondTheTargetRangeIsAnOverflow) {
    EXPECT_EQ(KindOf([&] { runtime::TextToDouble(L("1e400"), sep()); }), FailureKind::Overflow);
    EXPECT_EQ(KindOf([&] { runtime::TextToDouble(L("-1.8e308"), sep()); }), FailureKind::Overflow);
    EXPECT_EQ(KindOf([&] { runtime::TextToSingle(L("3.5e38"), sep()); }), FailureKind::Overflow);
    EXPECT_EQ(KindOf([&] { runtime::TextToSingle(L("-1e39"), sep()); }), FailureKind::Overflow);
    EXPECT_EQ(runtime::TextToSingle(L("3.4e38"), sep()), 3.4e38f);
    EXPECT_EQ(runtime::TextToSingle(L("12.5"), sep()), 12.5f);
}

TEST(Val, TakesTheLeadingNumberWithAPointOnly) {
    const struct { const char* text; double value; } cases[] = {
        {"255.5", 255.5}, {"255,5", 255}, {"  12.25abc", 12.25}, {"abc", 0}, {"", 0},
        {"-3", -3},       {".5", 0.5},    {"1e3x", 1000},        {"1e", 1},  {"256", 256},
        {"-", 0},         {"16,25", 16},  {"\t7", 7},
    };
    for (const auto& c : cases) EXPECT_EQ(runtime::Val(c.text), c.value) << c.text;
}

TEST_P(BothLocales, ShowsSinglesWithSevenDigitsAndNoTrailingZeros) {
    const struct { float value; const char* text; } cases[] = {
        {25.6f, "25.6"},          {26, "26"},           {0.1f, "0.1"},
        {-0.0f, "0"},             {0, "0"},             {101, "101"},
        {1234567, "1234567"},     {12345678, "1.234568E+07"},
        {0.0001f, "0.0001"},      {0.00001f, "1E-05"},  {-2.5f, "-2.5"},
        {1e20f, "1E+20"},         {3.4028235e38f, "3.402823E+38"},
        {0.39453125f, "0.3945312"} /* a tie: to even */, {1.0f / 3, "0.3333333"}, {100000, "100000"},
    };
    for (const auto& c : cases) EXPECT_EQ(runtime::SingleToText(c.value, sep()), L(c.text)) << c.text;
}

TEST_P(BothLocales, ShowsDoublesWithFifteenDigits) {
    const struct { double value; const char* text; } cases[] = {
        {256.5, "256.5"}, {101, "101"}, {-1, "-1"}, {0.1, "0.1"}, {1e15, "1E+15"},
        {123456789012345, "123456789012345"}, {1.0 / 3, "0.333333333333333"}, {-0.0, "0"},
    };
    for (const auto& c : cases) EXPECT_EQ(runtime::DoubleToText(c.value, sep()), L(c.text)) << c.text;
}

TEST_P(BothLocales, ShownNumbersParseBackToSevenDigits) {
    for (float value : {25.6f, 1e-30f, 3.4028235e38f, 12345678.0f, -0.00001f, 1.17549435e-38f, 1.0f / 3}) {
        const std::string text = runtime::SingleToText(value, sep());
        EXPECT_NEAR(runtime::TextToSingle(text, sep()) / value, 1.0, 5e-7) << text;
    }
}

TEST_P(BothLocales, NonFiniteValuesShowAsTextsTheParseRefuses) {
    for (float value : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                        -std::numeric_limits<float>::infinity()}) {
        const std::string text = runtime::SingleToText(value, sep());
        EXPECT_EQ(KindOf([&] { runtime::TextToDouble(text, sep()); }), FailureKind::NotANumber) << text;
    }
}

TEST(Trim, RemovesOnlySpacesAtBothEnds) {
    EXPECT_EQ(runtime::Trim("  1.5  "), "1.5");
    EXPECT_EQ(runtime::Trim("\t1 5 "), "\t1 5");
    EXPECT_EQ(runtime::Trim("    "), "");
    EXPECT_EQ(runtime::Trim(""), "");
}

}  // namespace
