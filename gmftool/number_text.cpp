#include "gmftool/number_text.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "runtime/failure.h"

namespace gmftool {
namespace {

constexpr double kEditUnitsPerTextureUnit = 256;  // a power of two: scaling by it is exact
constexpr std::string_view kNanPrefix = "nan:0x";

runtime::Failure Malformed(std::string_view text, const std::string& why) {
    // Appended piece by piece: "'" + std::string(text) sets off a false -Wrestrict in GCC 12.
    std::string message = "'";
    message.append(text).append("' ").append(why);
    return runtime::Failure(runtime::FailureKind::Malformed, message);
}

template <typename Number>
std::string Shortest(Number value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string NanText(float value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%08x", static_cast<unsigned>(std::bit_cast<std::uint32_t>(value)));
    return std::string(kNanPrefix) + buffer;
}

// "nan:0x" and the eight hex digits of a not-a-number's bits.
float ParseNan(std::string_view text) {
    const std::string_view digits = text.substr(kNanPrefix.size());
    std::uint32_t bits = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), bits, 16);
    const float value = std::bit_cast<float>(bits);
    if (error != std::errc() || end != digits.data() + digits.size() || digits.size() != 8 || !std::isnan(value)) {
        throw Malformed(text, "is not the bits of a not-a-number");
    }
    return value;
}

// The whole text as a number; an error also for anything left over after it.
template <typename Number>
std::errc Parse(std::string_view text, Number& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc() && end != text.data() + text.size()) return std::errc::invalid_argument;
    return error;
}

float ParseSingle(std::string_view text, double scale) {
    if (text.starts_with(kNanPrefix)) return ParseNan(text);
    double stored = 0;
    float single = 0;
    const std::errc error = Parse(text, single);
    if (error == std::errc()) {
        if (std::isnan(single)) throw Malformed(text, "has no bits: write a not-a-number as nan:0x7fc00000");
        stored = single / scale;
    } else if (error == std::errc::result_out_of_range) {
        // Edit units past the binary32 range still name a stored value once divided back.
        double wide = 0;
        if (Parse(text, wide) != std::errc()) throw Malformed(text, "is beyond the range of a number");
        stored = wide / scale;
    } else {
        throw Malformed(text, "is not a number");
    }
    // Exact for every text this program writes: a binary32 value times a power of two.
    const auto value = static_cast<float>(stored);
    if (std::isinf(value) && !std::isinf(stored)) throw Malformed(text, "is too large for a binary32 value");
    if (value == 0 && stored != 0) throw Malformed(text, "is too small for a binary32 value");
    return value;
}

}  // namespace

std::string EditText(float textureUnits) {
    if (std::isnan(textureUnits)) return NanText(textureUnits);
    const double edit = textureUnits * kEditUnitsPerTextureUnit;
    const auto single = static_cast<float>(edit);
    // Far out, the edit value is no binary32 value but still an exact double.
    if (std::isinf(single) && !std::isinf(edit)) return Shortest(edit);
    // Whole units below 100,000 (nearly every value) print as their integer's digits, as the
    // shortest form would print them, only faster; from 100,000 the exponent form is shorter.
    if (std::abs(single) < 100000 && single == std::trunc(single) && !(single == 0 && std::signbit(single))) {
        return Shortest(static_cast<std::int32_t>(single));
    }
    return Shortest(single);
}

std::string EditText(double textureUnits) {
    const auto single = static_cast<float>(textureUnits);
    if (!std::isfinite(textureUnits) || double{single} == textureUnits) return EditText(single);
    return Shortest(textureUnits * kEditUnitsPerTextureUnit);
}

std::string StoredText(float value) { return std::isnan(value) ? NanText(value) : Shortest(value); }

float ParseEditText(std::string_view text) { return ParseSingle(text, kEditUnitsPerTextureUnit); }

float ParseStoredText(std::string_view text) { return ParseSingle(text, 1); }

}  // namespace gmftool
