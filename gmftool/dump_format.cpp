#include "gmftool/dump_format.h"

#include <array>
#include <charconv>
#include <optional>

#include "gmftool/number_text.h"
#include "runtime/failure.h"

namespace gmftool {
namespace {

constexpr std::string_view kSignature = "gmftool-dump 1";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";  // UTF-8's, which Notepad puts before what it saves
constexpr const char* kExplanation =
    "# Positions in edit units (texture units x 256, the numbers the window shows); font_size and\n"
    "# aspect as stored. gmftool restore writes back font_size, space_width and the glyphs.\n";

// A line's words: the first few, which are all a line may hold, and how many there are in all, so
// that a line costs no allocation and an extra word can still be named.
class Words {
public:
    static constexpr std::size_t kKept = 11;  // a glyph line's ten and the one too many

    explicit Words(std::string_view line) {
        const char* at = line.data();
        const char* const end = at + line.size();
        while (true) {
            while (at != end && IsBlank(*at)) ++at;
            if (at == end) return;
            const char* const start = at;
            while (at != end && !IsBlank(*at)) ++at;
            if (count_ < kKept) kept_[count_] = std::string_view(start, static_cast<std::size_t>(at - start));
            ++count_;
        }
    }

    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    std::string_view operator[](std::size_t i) const { return kept_[i]; }

private:
    static bool IsBlank(char c) { return c == ' ' || c == '\t'; }

    std::array<std::string_view, kKept> kept_;
    std::size_t count_ = 0;
};

std::int32_t ParseCount(std::string_view text) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0 || value > font::kMaxGlyphCount) {
        throw runtime::Failure(runtime::FailureKind::Malformed,
                               "'" + std::string(text) + "' is not a glyph count from 0 to " + std::to_string(font::kMaxGlyphCount));
    }
    return value;
}

// "glyph N: left L top T right R aspect A", the fields in this order.
font::GlyphRecord ParseGlyph(const Words& words, std::size_t number) {
    char buffer[24];
    char* const labelEnd = std::to_chars(buffer, buffer + sizeof buffer - 1, number).ptr;
    *labelEnd = ':';
    const std::string_view label(buffer, static_cast<std::size_t>(labelEnd + 1 - buffer));
    if (words.size() < 2 || words[1] != label) {
        throw runtime::Failure(runtime::FailureKind::Malformed,
                               "expected 'glyph " + std::string(label) + "' (glyphs are numbered from 1, in order)");
    }
    const std::string_view keys[] = {"left", "top", "right", "aspect"};
    float values[4] = {};
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t at = 2 + 2 * i;
        if (at >= words.size()) {
            throw runtime::Failure(runtime::FailureKind::Malformed, "'" + std::string(keys[i]) + "' is missing");
        }
        if (words[at] != keys[i]) {
            throw runtime::Failure(runtime::FailureKind::Malformed,
                                   "'" + std::string(words[at]) + "' where '" + std::string(keys[i]) + "' belongs");
        }
        if (at + 1 >= words.size()) {
            throw runtime::Failure(runtime::FailureKind::Malformed, "'" + std::string(keys[i]) + "' has no value");
        }
        values[i] = i < 3 ? ParseEditText(words[at + 1]) : ParseStoredText(words[at + 1]);
    }
    if (words.size() > 10) {
        throw runtime::Failure(runtime::FailureKind::Malformed, "'" + std::string(words[10]) + "' after the aspect");
    }
    return {values[0], values[1], values[2], values[3]};
}

}  // namespace

char LayoutName(const font::FontState& font) { return font.TableBase == font::kLayoutBTableBase ? 'B' : 'A'; }

FontDump DumpOf(const font::FontTable& table) {
    return {LayoutName(table.state), table.state.GlyphCount, table.state.FontSize, table.state.CellHeight,
            table.state.SpaceWidth, table.glyphs};
}

std::string WriteDump(const FontDump& dump) {
    // Appended in place: a dump of 1001 glyphs is one buffer, not a string for every piece.
    constexpr std::size_t kLineBytes = 64;
    std::string text;
    text.reserve(kLineBytes * (dump.glyphs.size() + 8));
    text.append(kSignature).append("\n").append(kExplanation);
    text.append("layout ").append(1, dump.layout).append("\n");
    text.append("glyph_count ").append(std::to_string(dump.glyphCount)).append("\n");
    text.append("font_size ").append(StoredText(dump.fontSize)).append("\n");
    text.append("cell_height ").append(EditText(dump.cellHeight)).append("\n");
    text.append("space_width ").append(EditText(dump.spaceWidth)).append("\n");
    for (std::size_t i = 0; i < dump.glyphs.size(); ++i) {
        const font::GlyphRecord& g = dump.glyphs[i];
        text.append("glyph ").append(std::to_string(i + 1)).append(": left ").append(EditText(g.Left));
        text.append(" top ").append(EditText(g.Top)).append(" right ").append(EditText(g.Right));
        text.append(" aspect ").append(StoredText(g.Aspect)).append("\n");
    }
    return text;
}

FontDump ParseDump(std::string_view text) {
    FontDump dump;
    std::optional<char> layout;
    std::optional<std::int32_t> count;
    std::optional<float> fontSize, cellHeight, spaceWidth;
    std::size_t lineNumber = 0;
    std::size_t pos = text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    try {
        while (pos < text.size()) {
            ++lineNumber;
            const std::size_t end = std::min(text.find('\n', pos), text.size());
            std::string_view line = text.substr(pos, end - pos);
            if (end == text.size()) {
                // The writer ends every line: a last line without its end was cut short.
                throw runtime::Failure(runtime::FailureKind::Malformed, "the line is cut short (no line end)");
            }
            pos = end + 1;
            if (line.ends_with('\r')) line.remove_suffix(1);
            if (lineNumber == 1) {
                if (line != kSignature) throw runtime::Failure(runtime::FailureKind::Malformed, "not a gmftool dump (no '" + std::string(kSignature) + "')");
                continue;
            }
            const Words words(line);
            if (words.empty() || words[0].starts_with('#')) continue;
            const std::string_view key = words[0];
            if (key == "glyph") {
                if (!count) throw runtime::Failure(runtime::FailureKind::Malformed, "a glyph before glyph_count");
                if (dump.glyphs.size() == static_cast<std::size_t>(*count)) {
                    throw runtime::Failure(runtime::FailureKind::Malformed, "a glyph past glyph_count " + std::to_string(*count));
                }
                dump.glyphs.push_back(ParseGlyph(words, dump.glyphs.size() + 1));
                continue;
            }
            if (words.size() != 2) {
                throw runtime::Failure(runtime::FailureKind::Malformed, "expected '" + std::string(key) + " VALUE'");
            }
            const auto once = [&](auto& slot, auto value) {
                if (slot) throw runtime::Failure(runtime::FailureKind::Malformed, "'" + std::string(key) + "' a second time");
                slot = value;
            };
            if (key == "layout") {
                if (words[1] != "A" && words[1] != "B") throw runtime::Failure(runtime::FailureKind::Malformed, "the layout is A or B");
                once(layout, words[1][0]);
            } else if (key == "glyph_count") {
                once(count, ParseCount(words[1]));
                dump.glyphs.reserve(static_cast<std::size_t>(*count));
            } else if (key == "font_size") {
                once(fontSize, ParseStoredText(words[1]));
            } else if (key == "cell_height") {
                once(cellHeight, ParseEditText(words[1]));
            } else if (key == "space_width") {
                once(spaceWidth, ParseEditText(words[1]));
            } else {
                throw runtime::Failure(runtime::FailureKind::Malformed, "unknown key '" + std::string(key) + "'");
            }
        }
        ++lineNumber;  // what is missing is missing at the end
        if (!layout || !count || !fontSize || !cellHeight || !spaceWidth) {
            throw runtime::Failure(runtime::FailureKind::Malformed,
                                   "the dump ends without layout, glyph_count, font_size, cell_height and space_width");
        }
        if (dump.glyphs.size() != static_cast<std::size_t>(*count)) {
            throw runtime::Failure(runtime::FailureKind::Malformed, "glyph_count is " + std::to_string(*count) + " but " +
                                                                        std::to_string(dump.glyphs.size()) + " glyphs follow");
        }
    } catch (const runtime::Failure& failure) {
        throw runtime::Failure(failure.kind(), "line " + std::to_string(lineNumber) + ": " + failure.what());
    }
    dump.layout = *layout;
    dump.glyphCount = *count;
    dump.fontSize = *fontSize;
    dump.cellHeight = *cellHeight;
    dump.spaceWidth = *spaceWidth;
    return dump;
}

}  // namespace gmftool
