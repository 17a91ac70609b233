// The dump as text: what a hand-edited file may look like and still read the same, and what is
// refused with which words.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "gmftool/dump_format.h"
#include "gmftool/tool_io.h"
#include "runtime/failure.h"

namespace {

using namespace std::string_literals;

const std::string kHead = "gmftool-dump 1\nlayout A\nglyph_count 1\nfont_size 16\ncell_height 8\nspace_width 2\n";
const std::string kGlyph = "glyph 1: left 0 top 0 right 8 aspect 0.5\n";

std::string Crlf(const std::string& text) {
    std::string out;
    for (const char c : text) out += c == '\n' ? "\r\n" : std::string(1, c);
    return out;
}

void ExpectSameDump(const gmftool::FontDump& got, const gmftool::FontDump& want, const std::string& what) {
    EXPECT_EQ(got.layout, want.layout) << what;
    EXPECT_EQ(got.glyphCount, want.glyphCount) << what;
    EXPECT_TRUE(gmftool::SameBits(got.fontSize, want.fontSize)) << what;
    EXPECT_TRUE(gmftool::SameBits(got.cellHeight, want.cellHeight)) << what;
    EXPECT_TRUE(gmftool::SameBits(got.spaceWidth, want.spaceWidth)) << what;
    ASSERT_EQ(got.glyphs.size(), want.glyphs.size()) << what;
    for (std::size_t i = 0; i < got.glyphs.size(); ++i) EXPECT_TRUE(gmftool::SameBits(got.glyphs[i], want.glyphs[i])) << what;
}

// Blanks are spaces and tabs, a line may end in CRLF, and blank lines and comments may go anywhere.
TEST(DumpText, WhatReadsTheSameAsTheWrittenForm) {
    const gmftool::FontDump want = gmftool::ParseDump(kHead + kGlyph);
    ASSERT_EQ(want.glyphs.size(), 1u);
    EXPECT_EQ(want.glyphs[0].Right, 8.0f / 256);
    EXPECT_EQ(want.glyphs[0].Aspect, 0.5f);
    const struct { const char* what; std::string text; } rows[] = {
        {"tabs between words", kHead + "glyph\t1:\tleft\t0\ttop\t0\tright\t8\taspect\t0.5\n"},
        {"runs of blanks, leading and trailing", kHead + " \t glyph  1: left \t0 top 0 right 8 aspect 0.5 \t\n"},
        {"a trailing blank after a header value", "gmftool-dump 1\nlayout A \nglyph_count\t1\t\nfont_size 16\ncell_height 8\nspace_width 2 \n" + kGlyph},
        {"CRLF line ends", Crlf(kHead + kGlyph)},
        {"a byte-order mark and CRLF, as Notepad saves it", "\xEF\xBB\xBF" + Crlf(kHead + kGlyph)},
        {"a trailing blank before CRLF", Crlf(kHead) + "glyph 1: left 0 top 0 right 8 aspect 0.5 \r\n"},
        {"an empty last line", kHead + kGlyph + "\n"},
        {"an empty last line in CRLF", Crlf(kHead + kGlyph) + "\r\n"},
        {"a last line of blanks", kHead + kGlyph + " \t\n"},
        {"blank lines and indented comments between", "gmftool-dump 1\n\n  # x\nlayout A\n\t#\n" + kHead.substr(24) + "\r\n" + kGlyph},
    };
    for (const auto& row : rows) {
        try {
            ExpectSameDump(gmftool::ParseDump(row.text), want, row.what);
        } catch (const runtime::Failure& failure) {
            ADD_FAILURE() << row.what << ": " << failure.what();
        }
    }
}

// The message names the line and what is wrong there; which characters split words and end lines
// decides both.
TEST(DumpText, WhatIsRefusedAndTheWordsThatSayWhy) {
    const std::string body = kHead.substr(15);  // the header lines after the signature
    const struct { const char* what; std::string text; std::string message; } rows[] = {
        {"nothing at all", "", "line 1: the dump ends without layout, glyph_count, font_size, cell_height and space_width"},
        {"no header values", "gmftool-dump 1\n", "line 2: the dump ends without layout, glyph_count, font_size, cell_height and space_width"},
        {"a last line without its end", kHead + kGlyph.substr(0, kGlyph.size() - 1), "line 7: the line is cut short (no line end)"},
        {"a last line ending in CR alone", kHead + kGlyph.substr(0, kGlyph.size() - 1) + "\r", "line 7: the line is cut short (no line end)"},
        {"a blank after the last line end", kHead + kGlyph + " ", "line 8: the line is cut short (no line end)"},
        {"a signature with a trailing blank", "gmftool-dump 1 \n" + body + kGlyph, "line 1: not a gmftool dump (no 'gmftool-dump 1')"},
        {"a signature with a tab", "gmftool-dump\t1\n" + body + kGlyph, "line 1: not a gmftool dump (no 'gmftool-dump 1')"},
        {"an indented signature", " gmftool-dump 1\n" + body + kGlyph, "line 1: not a gmftool dump (no 'gmftool-dump 1')"},
        {"a byte-order mark twice", "\xEF\xBB\xBF\xEF\xBB\xBF" + kHead + kGlyph, "line 1: not a gmftool dump (no 'gmftool-dump 1')"},
        {"half a byte-order mark", "\xEF\xBB" + kHead + kGlyph, "line 1: not a gmftool dump (no 'gmftool-dump 1')"},
        {"two CRs before the line end", "gmftool-dump 1\nlayout A\r\r\n", "line 2: the layout is A or B"},
        {"a CR before a trailing blank", kHead + "glyph 1: left 0 top 0 right 8 aspect 0.5\r \n", "line 7: '0.5\r' is not a number"},
        {"a vertical tab is no blank", "gmftool-dump 1\nlayout\vA\n", "line 2: expected 'layout\vA VALUE'"},
        {"a form feed is no blank", "gmftool-dump 1\nfont_size 16\f\n", "line 2: '16\f' is not a number"},
        {"a NUL is no blank", "gmftool-dump 1\nlayout A\0\n"s, "line 2: the layout is A or B"},
        {"a comment after a value", "gmftool-dump 1\nlayout A # A\n", "line 2: expected 'layout VALUE'"},
        {"a key alone", "gmftool-dump 1\n\tlayout \n", "line 2: expected 'layout VALUE'"},
        {"a key twice, in CRLF", Crlf("gmftool-dump 1\nlayout A\nlayout B\n"), "line 3: 'layout' a second time"},
        {"an unknown key after blank lines", "gmftool-dump 1\n\n \r\n\t\nfrobnicate 1\n", "line 5: unknown key 'frobnicate'"},
        {"a glyph before its count", "gmftool-dump 1\n" + kGlyph, "line 2: a glyph before glyph_count"},
        {"a word after the aspect, tab-separated", kHead + "glyph 1: left 0 top 0 right 8 aspect 0.5\tx\n", "line 7: 'x' after the aspect"},
        {"two words after the aspect", kHead + "glyph 1: left 0 top 0 right 8 aspect 0.5 x y\n", "line 7: 'x' after the aspect"},
        {"a blank before the colon", kHead + "glyph 1 : left 0 top 0 right 8 aspect 0.5\n",
         "line 7: expected 'glyph 1:' (glyphs are numbered from 1, in order)"},
        {"a leading zero in the number", kHead + "glyph 01: left 0 top 0 right 8 aspect 0.5\n",
         "line 7: expected 'glyph 1:' (glyphs are numbered from 1, in order)"},
        {"no blank after the colon", kHead + "glyph 1:left 0 top 0 right 8 aspect 0.5\n",
         "line 7: expected 'glyph 1:' (glyphs are numbered from 1, in order)"},
        {"the word glyph alone", kHead + "glyph\r\n", "line 7: expected 'glyph 1:' (glyphs are numbered from 1, in order)"},
        {"the second glyph numbered 1", "gmftool-dump 1\nglyph_count 2\n" + kGlyph + kGlyph,
         "line 4: expected 'glyph 2:' (glyphs are numbered from 1, in order)"},
        {"the aspect without its value, in CRLF", kHead + "glyph 1: left 0 top 0 right 8 aspect \r\n", "line 7: 'aspect' has no value"},
        {"top missing", kHead + "glyph 1: left 0\n", "line 7: 'top' is missing"},
        {"right before top", kHead + "glyph 1: left 0 right 8 top 0 aspect 0.5\n", "line 7: 'right' where 'top' belongs"},
        {"a count with a sign", "gmftool-dump 1\nglyph_count +1\n", "line 2: '+1' is not a glyph count from 0 to 1001"},
        {"one glyph fewer than counted", kHead + "\n", "line 8: glyph_count is 1 but 0 glyphs follow"},
        {"a glyph past the count, comments after it", kHead + kGlyph + "glyph 2: left 0 top 0 right 8 aspect 0.5\n# a\n\n",
         "line 8: a glyph past glyph_count 1"},
        {"a glyph with a count of 0", "gmftool-dump 1\nglyph_count 0\n" + kGlyph, "line 3: a glyph past glyph_count 0"},
    };
    for (const auto& row : rows) {
        try {
            gmftool::ParseDump(row.text);
            ADD_FAILURE() << row.what << ": read without a failure";
        } catch (const runtime::Failure& failure) {
            EXPECT_EQ(failure.kind(), runtime::FailureKind::Malformed) << row.what;
            EXPECT_EQ(std::string(failure.what()), row.message) << row.what;
        }
    }
}

}  // namespace
