#include "glyphs/char_map.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cctype>
#include <map>
#include <optional>

#include "runtime/failure.h"

namespace glyphs {
namespace {

// Bytes 0x80 to 0xFF of the Windows code pages, from their published mappings to Unicode; the
// lower half is ASCII in all three. 0: the byte has no character.
using UpperHalf = std::array<char16_t, 128>;
constexpr UpperHalf kWindows1250 = {
        0x20AC, 0, 0x201A, 0, 0x201E, 0x2026, 0x2020, 0x2021,
        0, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
        0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
        0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
        0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
        0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
        0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
        0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
        0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
        0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
        0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
        0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
        0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
        0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
        0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};
constexpr UpperHalf kWindows1251 = {
        0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
        0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
        0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
        0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
        0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
        0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
        0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
        0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
        0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
        0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
        0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
        0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
        0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
        0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
        0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};
constexpr UpperHalf kWindows1252 = {
        0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
        0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
        0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7,
        0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
        0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
        0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF,
        0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7,
        0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF,
        0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7,
        0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF,
        0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7,
        0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF,
        0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7,
        0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF,
};

runtime::Failure Refused(const std::string& why) { return runtime::Failure(runtime::FailureKind::Malformed, why); }

// The next character of UTF-8 text, strictly: no overlong forms, no surrogates, nothing past
// U+10FFFF. Nothing for bytes that are no character.
std::optional<char32_t> NextCharacter(std::string_view& text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 0;
    if (length == 0 || length > text.size()) return std::nullopt;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return std::nullopt;
        c = c << 6 | (byte(i) & 0x3F);
    }
    constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kShortest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    text.remove_prefix(length);
    return c;
}

std::string Hex(char32_t c) {
    char digits[8] = {};
    const auto end = std::to_chars(digits, digits + sizeof digits, static_cast<std::uint32_t>(c), 16).ptr;
    std::string text(digits, end);
    std::transform(text.begin(), text.end(), text.begin(), [](char d) { return static_cast<char>(std::toupper(static_cast<unsigned char>(d))); });
    return std::string(text.size() < 4 ? 4 - text.size() : 0, '0') + text;
}

std::optional<std::int32_t> WholeNumber(std::string_view text) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// CHAR of a map line: one character, or U+ and 4 to 6 hex digits.
std::optional<char32_t> MapCharacter(std::string_view text) {
    if (text.size() > 2 && (text[0] == 'U' || text[0] == 'u') && text[1] == '+') {
        const std::string_view digits = text.substr(2);
        std::uint32_t value = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
        if (digits.size() < 4 || digits.size() > 6 || error != std::errc() || end != digits.data() + digits.size() ||
            value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
            return std::nullopt;
        }
        return static_cast<char32_t>(value);
    }
    std::string_view rest = text;
    const std::optional<char32_t> c = NextCharacter(rest);
    if (!c || !rest.empty()) return std::nullopt;
    return c;
}

void RequireGlyph(std::int32_t number, std::int32_t glyphCount, const std::string& where) {
    if (number < 1 || number > glyphCount) {
        throw Refused(where + "glyph " + std::to_string(number) + " is not in the table (glyphs 1 to " + std::to_string(glyphCount) + ")");
    }
}

}  // namespace

std::string Utf8(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

std::string CharacterName(char32_t c) {
    std::string name;
    if (c >= 0x20 && (c < 0x7F || c >= 0xA0)) name.append("'").append(Utf8(c)).append("' ");  // control characters only by number
    name += "(U+" + Hex(c) + ")";
    return name;
}

std::vector<CharAssignment> MapText(std::string_view utf8, std::int32_t first, std::int32_t glyphCount) {
    RequireGlyph(first, glyphCount, "--at: ");
    std::vector<CharAssignment> assignments;
    std::string_view rest = utf8;
    while (!rest.empty()) {
        const std::optional<char32_t> c = NextCharacter(rest);
        if (!c) throw Refused("--chars: the text is not UTF-8 at byte " + std::to_string(utf8.size() - rest.size() + 1));
        assignments.push_back({static_cast<std::int32_t>(first - 1 + static_cast<std::int32_t>(assignments.size())), *c});
    }
    if (assignments.empty()) throw Refused("--chars: no characters");
    const std::int32_t last = assignments.back().index + 1;
    if (last > glyphCount) {
        throw Refused("--chars: " + std::to_string(assignments.size()) + " characters from glyph " + std::to_string(first) +
                      " run to glyph " + std::to_string(last) + ", past the table's last glyph " + std::to_string(glyphCount));
    }
    return assignments;
}

std::vector<CharAssignment> MapLines(std::string_view text, std::int32_t glyphCount) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, 3) == kByteOrderMark) text.remove_prefix(3);
    std::vector<CharAssignment> assignments;
    std::map<std::int32_t, int> lineOfGlyph;
    std::string faults;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (line.empty() || line.front() == '#') continue;
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        try {
            const std::size_t equals = line.find('=');
            if (equals == std::string_view::npos) throw Refused(where + "not GLYPH=CHAR");
            const std::optional<std::int32_t> number = WholeNumber(Trimmed(line.substr(0, equals)));
            if (!number) throw Refused(where + "'" + std::string(Trimmed(line.substr(0, equals))) + "' is not a glyph number");
            // CHAR runs to the first blank; a comment may follow it.
            const std::string_view value = Trimmed(line.substr(equals + 1));
            const std::size_t blank = value.find_first_of(" \t");
            const std::string_view token = value.substr(0, blank);
            if (blank != std::string_view::npos && Trimmed(value.substr(blank)).front() != '#') {
                throw Refused(where + "more than one character after '=' (U+XXXX names one by its number)");
            }
            const std::optional<char32_t> c = MapCharacter(token);
            if (!c) throw Refused(where + "'" + std::string(token) + "' is not one character or U+XXXX");
            RequireGlyph(*number, glyphCount, where);
            if (const auto [seen, added] = lineOfGlyph.emplace(*number, lineNumber); !added) {
                throw Refused(where + "glyph " + std::to_string(*number) + " is named twice (first on line " + std::to_string(seen->second) + ")");
            }
            assignments.push_back({*number - 1, *c});
        } catch (const runtime::Failure& failure) {
            faults.append(faults.empty() ? "" : "\n").append(failure.what());
        }
    }
    if (!faults.empty()) throw Refused(faults);
    if (assignments.empty()) throw Refused("the map assigns no glyph");
    std::sort(assignments.begin(), assignments.end(), [](const CharAssignment& a, const CharAssignment& b) { return a.index < b.index; });
    return assignments;
}

std::vector<CharAssignment> MapCodePage(int codePage, std::int32_t first, int fromByte, std::int32_t glyphCount) {
    const UpperHalf* upper = codePage == 1250 ? &kWindows1250 : codePage == 1251 ? &kWindows1251 : codePage == 1252 ? &kWindows1252 : nullptr;
    if (!upper) throw Refused("--codepage: " + std::to_string(codePage) + " is none of 1250, 1251 and 1252");
    if (fromByte < 0 || fromByte > 255) throw Refused("--from: " + std::to_string(fromByte) + " is no byte (0 to 255)");
    RequireGlyph(first, glyphCount, "--at: ");
    std::vector<CharAssignment> assignments;
    for (int byte = fromByte, index = first - 1; byte <= 255 && index < glyphCount; ++byte, ++index) {
        const char32_t c = byte < 0x80 ? static_cast<char32_t>(byte) : (*upper)[static_cast<std::size_t>(byte - 0x80)];
        if (c != 0) assignments.push_back({index, c});
    }
    return assignments;
}

}  // namespace glyphs
