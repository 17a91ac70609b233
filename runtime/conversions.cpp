#include "runtime/conversions.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <system_error>

#include "runtime/checked.h"
#include "runtime/failure.h"

namespace runtime {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The pieces of a number as written: [sign] digits [point digits] [E [sign] digits].
struct NumberText {
    bool negative = false;
    std::string_view integerDigits;
    std::string_view fractionDigits;
    std::string_view exponent;  // with its sign, empty when absent
    std::size_t end = 0;        // where the number stops in the text
};

std::string_view Digits(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos])) ++pos;
    return text.substr(start, pos - start);
}

std::optional<NumberText> ScanNumber(std::string_view text, std::size_t pos, char decimalPoint) {
    NumberText number;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        number.negative = text[pos] == '-';
        ++pos;
    }
    number.integerDigits = Digits(text, pos);
    if (pos < text.size() && text[pos] == decimalPoint) {
        ++pos;
        number.fractionDigits = Digits(text, pos);
    }
    if (number.integerDigits.empty() && number.fractionDigits.empty()) return std::nullopt;
    if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e')) {
        std::size_t after = pos + 1;
        if (after < text.size() && (text[after] == '+' || text[after] == '-')) ++after;
        if (!Digits(text, after).empty()) {
            number.exponent = text.substr(pos + 1, after - pos - 1);
            pos = after;
        }
    }
    number.end = pos;
    return number;
}

// Decimal position of the leading digit: 1 for 1..9, 0 for 0.1..0.9, ...; only its sign matters.
long Magnitude(const NumberText& number) {
    long exponent = 0;
    if (!number.exponent.empty()) {
        std::string_view digits = number.exponent;
        const bool negative = digits.front() == '-';
        if (digits.front() == '+' || digits.front() == '-') digits.remove_prefix(1);
        while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
        exponent = digits.size() > 6 ? 999999 : std::strtol(std::string(digits).c_str(), nullptr, 10);
        if (negative) exponent = -exponent;
    }
    const std::size_t firstInteger = number.integerDigits.find_first_not_of('0');
    if (firstInteger != std::string_view::npos) {
        return exponent + static_cast<long>(number.integerDigits.size() - firstInteger);
    }
    const std::size_t firstFraction = number.fractionDigits.find_first_not_of('0');
    return exponent - static_cast<long>(firstFraction);
}

double ToDouble(const NumberText& number, std::string_view original) {
    std::string plain(number.integerDigits);
    plain += '.';
    plain += number.fractionDigits;
    if (!number.exponent.empty()) {
        plain += 'e';
        plain += number.exponent;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error == std::errc::result_out_of_range) {
        if (Magnitude(number) > 0) {
            throw Failure(FailureKind::Overflow,
                          "overflow: " + std::string(original) + " is beyond the double range");
        }
        value = 0;  // too small to tell from zero
    } else if (error != std::errc() || end != plain.data() + plain.size()) {
        throw Failure(FailureKind::NotANumber, "not a number: " + std::string(original));
    }
    return number.negative ? -value : value;
}

std::size_t SkipSpaces(std::string_view text, std::size_t pos) {
    while (pos < text.size() && text[pos] == ' ') ++pos;
    return pos;
}

}  // namespace

std::string NumberToText(double value, int digits, char decimalSeparator) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Inf" : "Inf";
    if (value == 0) return "0";  // negative zero included

    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, digits - 1);
    const std::string_view scientific(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t e = scientific.find('e');
    const int exponent = std::atoi(std::string(scientific.substr(e + 1)).c_str());

    std::string mantissa;  // the significant digits, trailing zeros dropped
    for (char c : scientific.substr(0, e)) {
        if (IsDigit(c)) mantissa += c;
    }
    while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();

    std::string text = value < 0 ? "-" : "";
    if (exponent < -4 || exponent >= digits) {
        text += mantissa.front();
        if (mantissa.size() > 1) text += decimalSeparator + mantissa.substr(1);
        const int magnitude = std::abs(exponent);
        text += exponent < 0 ? "E-" : "E+";
        if (magnitude < 10) text += '0';
        text += std::to_string(magnitude);
    } else if (exponent < 0) {
        text += '0';
        text += decimalSeparator;
        text += std::string(static_cast<std::size_t>(-exponent - 1), '0') + mantissa;
    } else {
        const auto wholeDigits = static_cast<std::size_t>(exponent) + 1;
        if (mantissa.size() <= wholeDigits) {
            text += mantissa + std::string(wholeDigits - mantissa.size(), '0');
        } else {
            text += mantissa.substr(0, wholeDigits) + decimalSeparator + mantissa.substr(wholeDigits);
        }
    }
    return text;
}

double TextToDouble(std::string_view text, char decimalSeparator) {
    const std::size_t start = SkipSpaces(text, 0);
    const auto number = ScanNumber(text, start, decimalSeparator);
    if (!number || SkipSpaces(text, number->end) != text.size()) {
        throw Failure(FailureKind::NotANumber, "not a number: \"" + std::string(text) + "\"");
    }
    return ToDouble(*number, text);
}

float TextToSingle(std::string_view text, char decimalSeparator) {
    return RoundToSingle(TextToDouble(text, decimalSeparator));
}

double Val(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t' ||
                                   text[start] == '\r' || text[start] == '\n')) {
        ++start;
    }
    const auto number = ScanNumber(text, start, '.');
    return number ? ToDouble(*number, text) : 0.0;
}

std::string SingleToText(float value, char decimalSeparator) {
    return NumberToText(value, 7, decimalSeparator);
}

std::string DoubleToText(double value, char decimalSeparator) {
    return NumberToText(value, 15, decimalSeparator);
}

std::string Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

}  // namespace runtime
