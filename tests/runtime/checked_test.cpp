#include "runtime/checked.h"

#include <gtest/gtest.h>

#include <cmath>
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

TEST(CheckedIntegers, OverflowFailsInsteadOfWrapping) {
    EXPECT_EQ(runtime::CheckedAdd16(32000, 767), 32767);
    EXPECT_EQ(KindOf([] { runtime::CheckedAdd16(32000, 768); }), FailureKind::Overflow);
    EXPECT_EQ(runtime::CheckedMultiply16(16, 2045), 32720);
    EXPECT_EQ(KindOf([] { runtime::CheckedMultiply16(16, 2048); }), FailureKind::Overflow);
    EXPECT_EQ(runtime::CheckedMultiply16(16, -2048), -32768);
    EXPECT_EQ(KindOf([] { runtime::CheckedAdd32(2147483647, 1); }), FailureKind::Overflow);
    EXPECT_EQ(KindOf([] { runtime::CheckedSubtract32(-2147483647 - 1, 1); }), FailureKind::Overflow);
    EXPECT_EQ(runtime::CheckedSubtract32(-2147483647, 1), -2147483647 - 1);
}

TEST(CheckedDivide, ZeroDivisorAndNotANumberFail) {
    EXPECT_EQ(runtime::CheckedDivide(10, 16), 0.625);
    EXPECT_EQ(KindOf([] { runtime::CheckedDivide(1, 0); }), FailureKind::DivisionByZero);
    EXPECT_EQ(KindOf([] { runtime::CheckedDivide(-1, -0.0); }), FailureKind::DivisionByZero);
    EXPECT_EQ(KindOf([] { runtime::CheckedDivide(0, 0); }), FailureKind::InvalidOperation);
    EXPECT_EQ(KindOf([] { runtime::CheckedDivide(std::nan(""), 1); }), FailureKind::InvalidOperation);
    EXPECT_EQ(KindOf([] { runtime::CheckedDivide(1e300, 1e-300); }), FailureKind::Overflow);
}

TEST(RoundToSingle, OverflowAndNotANumberFail) {
    EXPECT_EQ(runtime::RoundToSingle(0.1), 0.1f);
    EXPECT_EQ(runtime::RoundToSingle(3.4028235e38), 3.4028235e38f);
    EXPECT_EQ(KindOf([] { runtime::RoundToSingle(3.5e38); }), FailureKind::Overflow);
    EXPECT_EQ(KindOf([] { runtime::RoundToSingle(-1e300); }), FailureKind::Overflow);
    EXPECT_EQ(KindOf([] { runtime::RoundToSingle(INFINITY); }), FailureKind::Overflow);
    EXPECT_EQ(KindOf([] { runtime::RoundToSingle(std::nan("")); }), FailureKind::InvalidOperation);
}

TEST(IntegerConversions, TruncateTowardZeroAndRoundHalvesToEven) {
    const struct { double value; std::int32_t truncated; std::int32_t rounded; } cases[] = {
        {-0.75, 0, -1},  {51.9, 51, 52},  {30.5, 30, 30}, {31.5, 31, 32},
        {-30.5, -30, -30}, {-31.5, -31, -32}, {0.5, 0, 0},  {1.5, 1, 2},
        {2147483647.4, 2147483647, 2147483647}, {-2147483648.4, -2147483647 - 1, -2147483647 - 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(runtime::TruncateToInt32(c.value), c.truncated) << c.value;
        EXPECT_EQ(runtime::RoundHalfEvenToInt32(c.value), c.rounded) << c.value;
    }
}

TEST(IntegerConversions, BeyondTheRangeOrNotANumberIsAnOverflow) {
    for (double value : {2147483648.0, -2147483649.0, 1e300, std::nan(""), double{INFINITY}}) {
        EXPECT_EQ(KindOf([&] { runtime::TruncateToInt32(value); }), FailureKind::Overflow) << value;
        EXPECT_EQ(KindOf([&] { runtime::RoundHalfEvenToInt32(value); }), FailureKind::Overflow) << value;
    }
    // 2147483647.5 rounds to the even 2147483648, past the range; truncation still fits.
    EXPECT_EQ(KindOf([] { runtime::RoundHalfEvenToInt32(2147483647.5); }), FailureKind::Overflow);
    EXPECT_EQ(runtime::TruncateToInt32(2147483647.5), 2147483647);
}

}  // namespace
