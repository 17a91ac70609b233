#pragma once

#include <cstdint>

// Arithmetic that fails instead of wrapping around or yielding an infinity or a not-a-number.
namespace runtime {

std::int16_t CheckedAdd16(std::int16_t a, std::int16_t b);
std::int16_t CheckedMultiply16(std::int16_t a, std::int16_t b);
std::int32_t CheckedAdd32(std::int32_t a, std::int32_t b);
std::int32_t CheckedSubtract32(std::int32_t a, std::int32_t b);

// a / b: division by zero when b is 0, invalid operation for 0 / 0, overflow past the range.
double CheckedDivide(double a, double b);

// Rounds to binary32 (nearest, ties to even); overflow past its range, invalid operation for NaN.
float RoundToSingle(double value);

// Whether a whole number lies in the 32-bit range; false for a not-a-number.
bool FitsInt32(double value);

// Both fail with an overflow beyond the 32-bit range, and for a not-a-number.
std::int32_t TruncateToInt32(double value);
std::int32_t RoundHalfEvenToInt32(double value);

}  // namespace runtime
