#include "runtime/checked.h"

#include <cmath>
#include <limits>
#include <string>

#include "runtime/failure.h"

namespace runtime {
namespace {

[[noreturn]] void Overflow(const std::string& what) {
    throw Failure(FailureKind::Overflow, "overflow: " + what);
}

template <typename Int>
Int Narrow(long long wide, const char* what) {
    if (wide < std::numeric_limits<Int>::min() || wide > std::numeric_limits<Int>::max()) {
        Overflow(std::string(what) + " gives " + std::to_string(wide));
    }
    return static_cast<Int>(wide);
}

}  // namespace

// Exclusive bounds: the doubles just outside the 32-bit range are exact.
bool FitsInt32(double value) { return value > -2147483649.0 && value < 2147483648.0; }

std::int16_t CheckedAdd16(std::int16_t a, std::int16_t b) {
    return Narrow<std::int16_t>(static_cast<long long>(a) + b, "16-bit addition");
}

std::int16_t CheckedMultiply16(std::int16_t a, std::int16_t b) {
    return Narrow<std::int16_t>(static_cast<long long>(a) * b, "16-bit multiplication");
}

std::int32_t CheckedAdd32(std::int32_t a, std::int32_t b) {
    return Narrow<std::int32_t>(static_cast<long long>(a) + b, "32-bit addition");
}

std::int32_t CheckedSubtract32(std::int32_t a, std::int32_t b) {
    return Narrow<std::int32_t>(static_cast<long long>(a) - b, "32-bit subtraction");
}

double CheckedDivide(double a, double b) {
    if (std::isnan(a) || std::isnan(b) || (a == 0 && b == 0) || (std::isinf(a) && std::isinf(b))) {
        throw Failure(FailureKind::InvalidOperation, "invalid operation: " + std::to_string(a) +
                                                         " / " + std::to_string(b));
    }
    if (b == 0) throw Failure(FailureKind::DivisionByZero, "division by zero");
    const double quotient = a / b;
    if (std::isinf(quotient)) Overflow("division");
    return quotient;
}

float RoundToSingle(double value) {
    if (std::isnan(value)) {
        throw Failure(FailureKind::InvalidOperation, "not a number cannot be rounded to single");
    }
    const float rounded = static_cast<float>(value);
    if (std::isinf(rounded)) Overflow(std::to_string(value) + " is beyond the single range");
    return rounded;
}

std::int32_t TruncateToInt32(double value) {
    const double truncated = std::trunc(value);
    if (!FitsInt32(truncated)) Overflow(std::to_string(value) + " is beyond the 32-bit range");
    return static_cast<std::int32_t>(truncated);
}

std::int32_t RoundHalfEvenToInt32(double value) {
    const double below = std::floor(value);
    const double fraction = value - below;
    double rounded = fraction < 0.5 ? below : below + 1;  // a tie goes up, unless below is even
    if (fraction == 0.5 && std::fmod(below, 2) == 0) rounded = below;
    if (!FitsInt32(rounded)) Overflow(std::to_string(value) + " is beyond the 32-bit range");
    return static_cast<std::int32_t>(rounded);
}

}  // namespace runtime
