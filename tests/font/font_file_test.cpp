#include "font/font_file.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "runtime/failure.h"
#include "tests/support/font_bytes.h"
#include "tests/support/read_only.h"
#include "tests/support/temp_dir.h"

namespace {

using font::FontState;
using font::GlyphRecord;
using runtime::BinaryFile;
using runtime::FailureKind;
using testing_support::FontBytes;
using testing_support::Glyph;
using testing_support::ReadAll;
using testing_support::TempDir;

FailureKind KindOf(const auto& call) {
    try {
        call();
    } catch (const runtime::Failure& failure) {
        return failure.kind();
    }
    ADD_FAILURE() << "no failure";
    return FailureKind::InvalidOperation;
}

std::vector<GlyphRecord> Glyphs(int count) {
    std::vector<GlyphRecord> glyphs;
    for (int i = 0; i < count; ++i) glyphs.push_back(Glyph(i / 1024.0f, 0.5f, (i + 8) / 1024.0f));
    return glyphs;
}

// Opens the file and runs the probe and the count, as the load does.
FontState Probe(const std::string& path) {
    FontState font;
    BinaryFile file = BinaryFile::Open(path);
    const font::FontHead head = font::ReadFontHead(file);
    font::ProbeLayout(head, font);
    font::CountGlyphs(head, font);
    font::ReadHeader(head, font);
    return font;
}

// A copy of a file's bytes with a record or a single put in at an offset.
std::vector<std::byte> Patched(std::vector<std::byte> bytes, std::size_t offset, const GlyphRecord& record) {
    const auto encoded = font::EncodeGlyphRecord(record);
    std::copy(encoded.begin(), encoded.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    return bytes;
}

std::vector<std::byte> Patched(std::vector<std::byte> bytes, std::size_t offset, float value) {
    runtime::StoreSingle(value, std::span<std::byte, 4>(bytes.data() + offset, 4));
    return bytes;
}

TEST(ProbeLayout, ChoosesTheTableByTheSixteenBytesAt48) {
    TempDir dir;
    const float kNegativeZero = -0.0f;
    const struct { FontBytes bytes; std::int16_t tableBase; const char* why; } cases[] = {
        {FontBytes::LayoutA(Glyphs(3)), 44, "layout A"},
        {FontBytes::LayoutB(Glyphs(3)), 552, "layout B"},
        {FontBytes::LayoutB(Glyphs(3)).Record(48, {kNegativeZero, kNegativeZero, kNegativeZero, kNegativeZero}),
         552, "four negative zeros"},
        {FontBytes::LayoutB(Glyphs(3)).Record(48, {0, 0, 0, std::numeric_limits<float>::denorm_min()}),
         44, "a subnormal"},
        // Record 0 with zero Top, Right and Aspect and record 1 with zero Left reads as layout B.
        {FontBytes::LayoutA({Glyph(0.25f, 0, 0, 0), Glyph(0, 0.5f, 0.5f)}), 552, "layout A misread"},
    };
    for (const auto& c : cases) {
        const FontState font = Probe(dir.Write("f.gmf", c.bytes.bytes()));
        EXPECT_EQ(font.TableBase, c.tableBase) << c.why;
    }
}

TEST(CountGlyphs, StopsAtTheFirstEmptyRecord) {
    TempDir dir;
    EXPECT_EQ(Probe(dir.Write("a.gmf", FontBytes::LayoutA(Glyphs(120)).bytes())).GlyphCount, 120);
    EXPECT_EQ(Probe(dir.Write("b.gmf", FontBytes::LayoutB(Glyphs(3)).bytes())).GlyphCount, 3);

    // An empty first record: no glyphs.
    auto empty = FontBytes::LayoutB({}).Record(568, Glyph(0.1f, 0.1f, 0.2f));
    EXPECT_EQ(Probe(dir.Write("c.gmf", empty.bytes())).GlyphCount, 0);

    // A record whose only non-zero field is Aspect is a glyph.
    auto aspectOnly = FontBytes::LayoutB({Glyph(0, 0, 0, 0.25f), Glyph(0.1f, 0, 0.2f)});
    EXPECT_EQ(Probe(dir.Write("d.gmf", aspectOnly.bytes())).GlyphCount, 2);
}

TEST(CountGlyphs, TableRunningToTheEndOfTheFileOrCutShort) {
    TempDir dir;
    // No empty record after the last glyph: the end of the file reads as one.
    auto toTheEnd = FontBytes::LayoutB(Glyphs(5)).Truncate(552 + 5 * 16);
    EXPECT_EQ(Probe(dir.Write("a.gmf", toTheEnd.bytes())).GlyphCount, 5);
    // A last record cut after its Left still counts: its missing fields read as zero.
    auto cut = FontBytes::LayoutB(Glyphs(5)).Truncate(552 + 4 * 16 + 4);
    const FontState font = Probe(dir.Write("b.gmf", cut.bytes()));
    EXPECT_EQ(font.GlyphCount, 5);
    // A file that ends inside the header.
    EXPECT_EQ(Probe(dir.Write("c.gmf", FontBytes::LayoutA({}).Truncate(10).bytes())).GlyphCount, 0);
}

TEST(CountGlyphs, ReadsAtMost1001Records) {
    TempDir dir;
    // Record 1001 is not empty either, but is never reached.
    const std::string path = dir.Write("f.gmf", FontBytes::LayoutA(Glyphs(1200)).bytes());
    FontState font;
    BinaryFile file = BinaryFile::Open(path);
    const font::FontHead head = font::ReadFontHead(file);
    font::ProbeLayout(head, font);
    font::CountGlyphs(head, font);
    EXPECT_EQ(font.GlyphCount, 1001);
    EXPECT_EQ(font.CurrentGlyph, Glyphs(1001).back()) << "the last record read is record 1000";

    EXPECT_EQ(Probe(dir.Write("g.gmf", FontBytes::LayoutA(Glyphs(1001)).bytes())).GlyphCount, 1001);
    EXPECT_EQ(Probe(dir.Write("h.gmf", FontBytes::LayoutA(Glyphs(1000)).bytes())).GlyphCount, 1000);
}

TEST(ReadHeader, ReadsTheThreeValues) {
    TempDir dir;
    const FontState font = Probe(dir.Write("f.gmf", FontBytes::LayoutA(Glyphs(2)).Header(14.5f, 0.0625f, 0.1f).bytes()));
    EXPECT_EQ(font.FontSize, 14.5f);
    EXPECT_EQ(font.CellHeight, 0.0625f);
    EXPECT_EQ(font.SpaceWidth, 0.1f);
}

TEST(RecordOffset, Checked16BitArithmetic) {
    EXPECT_EQ(font::RecordOffset(44, 2045), 32764);
    EXPECT_EQ(font::RecordOffset(552, 2013), 32760);
    EXPECT_EQ(KindOf([] { font::RecordOffset(44, 2046); }), FailureKind::Overflow);
    EXPECT_EQ(KindOf([] { font::RecordOffset(552, 2014); }), FailureKind::Overflow);
    EXPECT_EQ(KindOf([] { font::RecordOffset(44, 2048); }), FailureKind::Overflow);
    EXPECT_EQ(font::RecordOffset(552, -1), 536);
}

TEST(GlyphRecords, ReadAndWriteTouchExactlyTheirSixteenBytes) {
    TempDir dir;
    const std::string path = dir.Write("f.gmf", FontBytes::LayoutB(Glyphs(3)).bytes());
    FontState font = Probe(path);
    const auto before = ReadAll(path);
    {
        BinaryFile file = BinaryFile::Open(path);
        font::ReadGlyphRecord(file, font, 2);
        EXPECT_EQ(font.CurrentGlyph, Glyphs(3)[2]);
        font.CurrentGlyph = Glyph(0.75f, 0.125f, 0.875f, 2.0f);
        font::WriteGlyphRecord(file, font, 2);
    }
    EXPECT_EQ(ReadAll(path), Patched(before, 584, Glyph(0.75f, 0.125f, 0.875f, 2.0f)));

    BinaryFile file = BinaryFile::Open(path);
    font.CurrentGlyph = {};
    font::ReadGlyphRecord(file, font, 2);
    EXPECT_EQ(font.CurrentGlyph, Glyph(0.75f, 0.125f, 0.875f, 2.0f));
}

TEST(GlyphRecords, IndexesOutsideTheTableAreRefusedWithoutTouchingTheFile) {
    TempDir dir;
    const std::string path = dir.Write("f.gmf", FontBytes::LayoutA(Glyphs(3)).bytes());
    FontState font = Probe(path);
    const auto before = ReadAll(path);
    BinaryFile file = BinaryFile::Open(path);
    for (std::int16_t index : {-1, 3, 1000}) {
        font.CurrentGlyph = Glyph(0.1f, 0.1f, 0.1f);
        EXPECT_EQ(KindOf([&] { font::ReadGlyphRecord(file, font, index); }), FailureKind::NoSuchGlyph);
        EXPECT_EQ(font.CurrentGlyph, Glyph(0.1f, 0.1f, 0.1f)) << "the buffer keeps its record";
        EXPECT_EQ(KindOf([&] { font::WriteGlyphRecord(file, font, index); }), FailureKind::NoSuchGlyph);
    }
    EXPECT_EQ(ReadAll(path), before);

    // A font with no glyphs has no record 0, and the -1 of its selector is not a record either.
    const std::string empty = dir.Write("e.gmf", FontBytes::LayoutB({}).bytes());
    FontState none = Probe(empty);
    const auto emptyBefore = ReadAll(empty);
    BinaryFile emptyFile = BinaryFile::Open(empty);
    EXPECT_EQ(KindOf([&] { font::WriteGlyphRecord(emptyFile, none, 0); }), FailureKind::NoSuchGlyph);
    EXPECT_EQ(KindOf([&] { font::WriteGlyphRecord(emptyFile, none, -1); }), FailureKind::NoSuchGlyph);
    EXPECT_EQ(ReadAll(empty), emptyBefore);
}

TEST(LoadFont, RunsTheWindowStepsInOrderWithTheStateSetSoFar) {
    TempDir dir;
    const std::string path = dir.Write("f.gmf", FontBytes::LayoutB(Glyphs(3)).Header(12, 0.0625f, 0.125f).bytes());
    FontState font;
    std::vector<std::string> steps;
    font::LoadFont(path, font, {
        .SetSelectorRange = [&] {
            steps.push_back("range " + std::to_string(font.GlyphCount) + " header " + std::to_string(font.FontSize));
        },
        .ShowHeader = [&] { steps.push_back("header " + std::to_string(static_cast<int>(font.FontSize))); },
        .RefreshView = [&] {
            // The refresh opens an access of its own while the load's is open.
            BinaryFile second = BinaryFile::Open(path);
            font::ReadGlyphRecord(second, font, 1);
            steps.push_back("refresh");
        },
    });
    EXPECT_EQ(steps, (std::vector<std::string>{"range 3 header 0.000000", "header 12", "refresh"}));
    EXPECT_EQ(font.TableBase, 552);
    EXPECT_EQ(font.CurrentGlyph, Glyphs(3)[1]);
}

TEST(LoadFont, AFailingStepLeavesWhatWasSetAndClosesTheFile) {
    TempDir dir;
    const std::string path = dir.Write("f.gmf", FontBytes::LayoutA(Glyphs(4)).Header(9, 0.0625f, 0).bytes());
    FontState font;
    font.FontSize = 77;
    auto failing = [] { throw runtime::Failure(FailureKind::ReadFailed, "test"); };
    EXPECT_EQ(KindOf([&] { font::LoadFont(path, font, {failing, [] {}, [] {}}); }), FailureKind::ReadFailed);
    EXPECT_EQ(font.TableBase, 44);
    EXPECT_EQ(font.GlyphCount, 4);
    EXPECT_EQ(font.FontSize, 77) << "the header was not read yet";
    EXPECT_EQ(KindOf([&] { font::LoadFont(dir.Path("gone.gmf"), font, {}); }), FailureKind::FileNotOpened);
}

class StoreGlyphTest : public ::testing::Test {
protected:
    void Load(FontBytes bytes) {
        path = dir.Write("f.gmf", bytes.bytes());
        font = Probe(path);
        before = ReadAll(path);
    }
    void Store(font::EdgeTexts edges, std::int16_t index = 1, char sep = '.') {
        font::StoreGlyph(path, font, edges, sep, [=] { return index; });
    }
    float StoredSingle(std::size_t offset) { return BinaryFile::Open(path).ReadSingle(offset); }

    TempDir dir;
    std::string path;
    FontState font;
    std::vector<std::byte> before;
};

TEST_F(StoreGlyphTest, RewritesTheWholeRecordAndNothingElse) {
    Load(FontBytes::LayoutA(Glyphs(3)).Header(16, 0.0625f, 0));
    Store({"100", "128", "110"});
    EXPECT_EQ(ReadAll(path), Patched(before, 60, Glyph(100 / 256.0f, 0.5f, 110 / 256.0f, 0.625f)));
}

TEST_F(StoreGlyphTest, AspectIsRecomputedEvenWhenOnlyItDiffers) {
    Load(FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3125f, 99), Glyph(0.5f, 0.5f, 0.6f)}).Header(16, 0.0625f, 0));
    Store({"64", "128", "80"}, 0);
    EXPECT_EQ(ReadAll(path), Patched(before, 56, 1.0f));
}

TEST_F(StoreGlyphTest, CommaLocaleTexts) {
    Load(FontBytes::LayoutA(Glyphs(3)));
    Store({"25,6", "1", "30"}, 1, ',');
    EXPECT_EQ(StoredSingle(60), 0.1f);
}

TEST_F(StoreGlyphTest, NothingIsWrittenAfterAFailedConversion) {
    Load(FontBytes::LayoutA(Glyphs(3)).Header(16, 0.0625f, 0));
    int asked = 0;
    auto index = [&] { ++asked; return std::int16_t{1}; };
    const struct { font::EdgeTexts edges; FailureKind kind; } cases[] = {
        {{"", "1", "2"}, FailureKind::NotANumber},
        {{"1", "x", "2"}, FailureKind::NotANumber},
        {{"1", "1", "2,5"}, FailureKind::NotANumber},
        {{"1e300", "1", "2"}, FailureKind::Overflow},
        {{"-8e40", "1", "8e40"}, FailureKind::Overflow},  // Aspect beyond binary32
        {{"0", "0", "0"}, FailureKind::WouldEndTable},
        {{"-0", "0", "0"}, FailureKind::WouldEndTable},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KindOf([&] { font::StoreGlyph(path, font, c.edges, '.', index); }), c.kind) << c.edges.Left;
    }
    EXPECT_EQ(asked, 0) << "the index is read only after every conversion";
    EXPECT_EQ(ReadAll(path), before);
}

TEST_F(StoreGlyphTest, ZeroCellHeightWritesNothing) {
    Load(FontBytes::LayoutA(Glyphs(3)).Header(16, 0, 0));
    EXPECT_EQ(KindOf([&] { Store({"1", "1", "2"}); }), FailureKind::DivisionByZero);
    EXPECT_EQ(KindOf([&] { Store({"1", "1", "1"}); }), FailureKind::InvalidOperation);
    EXPECT_EQ(ReadAll(path), before);
}

TEST_F(StoreGlyphTest, NoGlyphsOrAMissingOrReadOnlyFileWritesNothing) {
    Load(FontBytes::LayoutB({}));
    EXPECT_EQ(KindOf([&] { Store({"1", "1", "2"}, 0); }), FailureKind::NoSuchGlyph);
    EXPECT_EQ(ReadAll(path), before);

    EXPECT_EQ(KindOf([&] { font::StoreGlyph(dir.Path("gone.gmf"), font, {"1", "1", "2"}, '.', [] { return std::int16_t{0}; }); }),
              FailureKind::FileNotOpened);

    Load(FontBytes::LayoutA(Glyphs(3)));
    testing_support::ReadOnlyFolder readOnly(dir.Path(""));
    EXPECT_TRUE(testing_support::InChildObeyingPermissions(
        [&] { return KindOf([&] { Store({"1", "1", "2"}); }) == FailureKind::WriteFailed; }));
    EXPECT_EQ(ReadAll(path), before);
}

TEST_F(StoreGlyphTest, ARecordMustLieWhollyInsideTheFile) {
    // A last record cut short still loads, its missing bytes reading as zero, but is not written.
    Load(FontBytes::LayoutA(Glyphs(3)).Truncate(44 + 3 * 16 - 1));
    ASSERT_EQ(font.GlyphCount, 3);
    EXPECT_EQ(KindOf([&] { Store({"100", "128", "110"}, 2); }), FailureKind::FileTooShort);
    EXPECT_EQ(ReadAll(path), before) << "not grown by the missing byte";

    Load(FontBytes::LayoutA(Glyphs(3)).Truncate(44 + 3 * 16));
    Store({"100", "128", "110"}, 2);
    EXPECT_EQ(ReadAll(path), Patched(before, 76, Glyph(100 / 256.0f, 0.5f, 110 / 256.0f, 0.625f)));
}

TEST_F(StoreGlyphTest, AStoreThatWouldMoveTheTableIsRefused) {
    // In layout A the layout probe reads record 0's Top, Right and Aspect and record 1's Left.
    const float inf = std::numeric_limits<float>::infinity();
    const GlyphRecord oddZero = Glyph(5 / 256.0f, 0, 0, 0);  // non-empty by its Left alone
    const struct { FontBytes bytes; std::int16_t index; font::EdgeTexts edges; bool refused; const char* why; } cases[] = {
        // An infinite CellHeight makes Aspect -Left/inf = -0.
        {FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3f), Glyph(0, 0.5f, 0.5f)}).Header(16, inf, 0), 0, {"5", "0", "0"}, true,
         "record 0 of zeros but its Left, record 1's Left 0"},
        {FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3f)}).Header(16, inf, 0), 0, {"5", "0", "0"}, true,
         "the empty record after the only glyph"},
        {FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3f), Glyph(1 / 1024.0f, 0.5f, 0.5f)}).Header(16, inf, 0), 0, {"5", "0", "0"}, false,
         "record 1's Left keeps the probe non-empty"},
        {FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3f), Glyph(0, 0.5f, 0.5f)}).Header(16, inf, 0), 0, {"5", "0.001", "0"}, false,
         "a Top keeps it"},
        {FontBytes::LayoutA({oddZero, Glyph(0.25f, 0.5f, 0.5f)}), 1, {"0", "128", "144"}, true, "record 1's Left written as 0"},
        {FontBytes::LayoutA({oddZero, Glyph(0.25f, 0.5f, 0.5f)}), 1, {"-0", "128", "144"}, true, "or as -0"},
        {FontBytes::LayoutA({oddZero, Glyph(0.25f, 0.5f, 0.5f)}), 1, {"0.5", "128", "144"}, false, "a Left of half a unit"},
        {FontBytes::LayoutA({oddZero, Glyph(0.25f, 0.5f, 0.5f), Glyph(0, 0.5f, 0.5f)}), 2, {"0", "128", "144"}, false,
         "record 2 lies past the probe"},
        {FontBytes::LayoutB({Glyph(0.25f, 0.5f, 0.3f), Glyph(0.25f, 0.5f, 0.5f)}).Header(16, inf, 0), 0, {"5", "0", "0"}, false,
         "layout B's probe is no record"},
    };
    for (const auto& c : cases) {
        Load(c.bytes);
        if (c.refused) {
            EXPECT_EQ(KindOf([&] { Store(c.edges, c.index); }), FailureKind::WouldChangeLayout) << c.why;
            EXPECT_EQ(ReadAll(path), before) << c.why;
        } else {
            Store(c.edges, c.index);
            EXPECT_NE(ReadAll(path), before) << c.why;
            const FontState again = Probe(path);
            EXPECT_EQ(again.TableBase, font.TableBase) << c.why;
            EXPECT_EQ(again.GlyphCount, font.GlyphCount) << c.why;
        }
    }
}

class SaveHeaderTest : public StoreGlyphTest {};

TEST_F(SaveHeaderTest, WritesExactlyBytes8To11And20To23) {
    Load(FontBytes::LayoutA(Glyphs(3)).Header(16, 0.0625f, 0.03125f));
    font::SaveHeader(path, font, "12.5", "25.6", '.');
    EXPECT_EQ(ReadAll(path), Patched(Patched(before, 8, 12.5f), 20, 0.1f));
    EXPECT_EQ(font.FontSize, 12.5f);
    EXPECT_EQ(font.SpaceWidth, 0.1f);

    const auto once = ReadAll(path);
    font::SaveHeader(path, font, "12.5", "25.6", '.');
    EXPECT_EQ(ReadAll(path), once);
}

TEST_F(SaveHeaderTest, AShortFileGetsBothValuesOrNeither) {
    // Short files load as layout B without glyphs. Both values are written only when SpaceWidth's
    // last byte, byte 23, is in the file; a write past the end would grow it.
    const struct { std::size_t size; bool written; } cases[] = {
        {8, false}, {11, false}, {12, false}, {19, false}, {20, false}, {22, false}, {23, false}, {24, true}, {25, true},
    };
    for (const auto& c : cases) {
        Load(FontBytes::LayoutB({}).Truncate(c.size));
        const float loaded = font.FontSize;
        if (c.written) {
            font::SaveHeader(path, font, "12.5", "1", '.');
            EXPECT_EQ(ReadAll(path), Patched(Patched(before, 8, 12.5f), 20, 1 / 256.0f)) << c.size;
        } else {
            EXPECT_EQ(KindOf([&] { font::SaveHeader(path, font, "12.5", "1", '.'); }), FailureKind::FileTooShort) << c.size;
            EXPECT_EQ(ReadAll(path), before) << c.size;
            EXPECT_EQ(font.FontSize, loaded) << "the program's copy follows the file: " << c.size;
        }
    }
}

TEST_F(SaveHeaderTest, BothTextsAreParsedBeforeEitherIsWritten) {
    Load(FontBytes::LayoutA(Glyphs(3)));
    EXPECT_EQ(KindOf([&] { font::SaveHeader(path, font, "12.5", "", '.'); }), FailureKind::NotANumber);
    EXPECT_EQ(KindOf([&] { font::SaveHeader(path, font, "1e39", "1", '.'); }), FailureKind::Overflow);
    EXPECT_EQ(KindOf([&] { font::SaveHeader(path, font, "12,5", "1", '.'); }), FailureKind::NotANumber);
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_EQ(font.FontSize, 16) << "the program's copy follows the file";
}

}  // namespace
