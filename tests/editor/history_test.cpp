#include "editor/history.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/resource.h>
#endif

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>

#include "runtime/binary_file.h"
#include "runtime/failure.h"
#include "tests/support/read_only.h"
#include "tests/support/temp_dir.h"

namespace {

using editor::History;
using testing_support::ReadAll;
using testing_support::TempDir;
using Bytes = std::vector<std::byte>;

// 64 bytes, each its own offset: every misplaced byte shows.
Bytes Counting(std::size_t size = 64) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::byte>(i);
    return bytes;
}

void Poke(const std::string& path, std::uint64_t offset, const Bytes& bytes) {
    runtime::BinaryFile::Open(path).Write(offset, bytes);
}

Bytes Patched(Bytes bytes, std::size_t offset, const Bytes& patch) {
    std::copy(patch.begin(), patch.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    return bytes;
}

Bytes Filled(std::size_t size, int value) { return Bytes(size, static_cast<std::byte>(value)); }

bool RefusedAsChangedOutside(const auto& call) {
    try {
        call();
    } catch (const runtime::Failure& failure) {
        return failure.kind() == runtime::FailureKind::ChangedOutside;
    }
    return false;
}

class HistoryTest : public ::testing::Test {
protected:
    HistoryTest() : path(dir.Write("font.gmf", Counting())) {}

    // Records one step that writes each patch, as one write of the window.
    void Write(History::Step step, const std::vector<std::pair<std::uint64_t, Bytes>>& patches) {
        std::vector<History::Range> ranges;
        for (const auto& [offset, bytes] : patches) ranges.push_back({offset, bytes.size()});
        history.RecordWrite(path, step, ranges, [&] {
            for (const auto& [offset, bytes] : patches) Poke(path, offset, bytes);
        });
    }

    TempDir dir;
    std::string path;
    History history;
};

TEST_F(HistoryTest, UndoAndRedoRestoreTheExactBytesOfEachKindOfStep) {
    const Bytes original = ReadAll(path);
    Write({History::Kind::StoreGlyph, 2}, {{44, Filled(16, 0xA1)}});
    const Bytes afterStore = ReadAll(path);
    Write({History::Kind::SaveFontParameters, 0}, {{20, Filled(4, 0xB2)}, {8, Filled(4, 0xB1)}});
    const Bytes afterHeader = ReadAll(path);
    // A batch of records, two of them touching, one apart.
    Write({History::Kind::FitAllGlyphs, 0}, {{28, Filled(16, 0xC1)}, {44, Filled(16, 0xC2)}, {0, Filled(4, 0xC0)}});
    const Bytes afterBatch = ReadAll(path);
    EXPECT_EQ(afterBatch, Patched(Patched(Patched(afterHeader, 0, Filled(4, 0xC0)), 28, Filled(16, 0xC1)), 44, Filled(16, 0xC2)));

    std::optional<History::Step> step = history.Undo(path);
    ASSERT_TRUE(step);
    EXPECT_EQ(step->kind, History::Kind::FitAllGlyphs);
    EXPECT_EQ(ReadAll(path), afterHeader);
    step = history.Undo(path);
    ASSERT_TRUE(step);
    EXPECT_EQ(step->kind, History::Kind::SaveFontParameters);
    EXPECT_EQ(ReadAll(path), afterStore);
    step = history.Undo(path);
    ASSERT_TRUE(step);
    EXPECT_EQ(step->kind, History::Kind::StoreGlyph);
    EXPECT_EQ(step->glyph, 2);
    EXPECT_EQ(ReadAll(path), original);
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.Undo(path));
    EXPECT_EQ(ReadAll(path), original);

    step = history.Redo(path);
    ASSERT_TRUE(step);
    EXPECT_EQ(step->glyph, 2);
    EXPECT_EQ(ReadAll(path), afterStore);
    ASSERT_TRUE(history.Redo(path));
    ASSERT_TRUE(history.Redo(path));
    EXPECT_EQ(ReadAll(path), afterBatch);
    EXPECT_FALSE(history.CanRedo());
    EXPECT_FALSE(history.Redo(path));
    EXPECT_EQ(ReadAll(path), afterBatch);
}

TEST_F(HistoryTest, AChangeOutsideTheWindowRefusesTheStepAndWritesNothing) {
    Write({History::Kind::FitAllGlyphs, 1}, {{8, Filled(4, 0xB1)}, {44, Filled(16, 0xA1)}});
    const Bytes written = ReadAll(path);
    // The first and last byte of each range count; the bytes just beside them do not.
    for (const std::uint64_t offset : {8u, 11u, 44u, 59u}) {
        Poke(path, offset, Filled(1, 0x55));
        const Bytes changed = ReadAll(path);
        EXPECT_TRUE(RefusedAsChangedOutside([&] { history.Undo(path); })) << offset;
        EXPECT_EQ(ReadAll(path), changed) << offset;  // not even the other range was written back
        EXPECT_TRUE(history.CanUndo());
        Poke(path, offset, Bytes{written[offset]});
    }
    for (const std::uint64_t offset : {7u, 12u, 43u, 60u}) Poke(path, offset, Filled(1, 0x66));
    ASSERT_TRUE(history.Undo(path));
    EXPECT_EQ(ReadAll(path)[44], std::byte{44});

    // And the other way: a redo needs the bytes the step found.
    Poke(path, 47, Filled(1, 0x77));
    EXPECT_TRUE(RefusedAsChangedOutside([&] { history.Redo(path); }));
    EXPECT_EQ(ReadAll(path)[8], std::byte{8});
    EXPECT_TRUE(history.CanRedo());
}

TEST_F(HistoryTest, AMissingShorterOrReadOnlyFileIsRefusedTheSameWay) {
    // Its last byte is 0, as the missing bytes of a shorter file read.
    Write({History::Kind::StoreGlyph, 0}, {{44, Patched(Filled(16, 0xA1), 15, Filled(1, 0))}});
    const Bytes written = ReadAll(path);

    std::filesystem::resize_file(path, 59);  // one byte short of the step's end
    EXPECT_TRUE(RefusedAsChangedOutside([&] { history.Undo(path); }));
    EXPECT_EQ(ReadAll(path), Bytes(written.begin(), written.begin() + 59));

    std::filesystem::remove(path);
    EXPECT_TRUE(RefusedAsChangedOutside([&] { history.Undo(path); }));
    EXPECT_FALSE(std::filesystem::exists(path));

    // A file that ends exactly with the step is whole.
    dir.Write("font.gmf", Bytes(written.begin(), written.begin() + 60));
    {
        testing_support::ReadOnlyFolder readOnly(dir.Path(""));
        EXPECT_TRUE(testing_support::InChildObeyingPermissions(
            [&] { return RefusedAsChangedOutside([&] { history.Undo(path); }); }));
    }
    EXPECT_EQ(ReadAll(path), Bytes(written.begin(), written.begin() + 60));
    ASSERT_TRUE(history.Undo(path));
    EXPECT_EQ(ReadAll(path), Counting(60));
}

TEST_F(HistoryTest, OnlyWritesThatChangedBytesAreSteps) {
    Write({History::Kind::StoreGlyph, 0}, {{44, Filled(16, 0xA1)}});
    Write({History::Kind::StoreGlyph, 1}, {{44, Filled(16, 0xA2)}});
    ASSERT_TRUE(history.Undo(path));

    // The same bytes again: nothing to take back, and the undone step can still be made again.
    const Bytes held = Counting();
    Write({History::Kind::SaveFontParameters, 0}, {{8, Bytes(held.begin() + 8, held.begin() + 12)}});
    EXPECT_TRUE(history.CanRedo());
    // A write that fails is no step either.
    EXPECT_THROW(history.RecordWrite(path, {History::Kind::StoreGlyph, 3}, {{0, 4}},
                                     [] { throw runtime::Failure(runtime::FailureKind::NotANumber, "no number"); }),
                 runtime::Failure);
    EXPECT_TRUE(history.CanRedo());

    // A new step ends the undone ones.
    Write({History::Kind::StoreGlyph, 3}, {{28, Filled(16, 0xA3)}});
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.Undo(path)->glyph, 3);
    EXPECT_EQ(history.Undo(path)->glyph, 0);
    EXPECT_EQ(ReadAll(path), Counting());

    history.Clear();
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
}

TEST_F(HistoryTest, AWriteThatStopsHalfWayIsPutBackAndSaysWhy) {
    Write({History::Kind::StoreGlyph, 0}, {{44, Filled(16, 0xA1)}});
    const Bytes held = ReadAll(path);
    const auto stopAfterFirstRun = [&](const std::function<void()>& thenWhat) {
        history.RecordWrite(path, {History::Kind::FitAllGlyphs, 0}, {{12, 16}, {44, 16}}, [&] {
            Poke(path, 12, Filled(16, 0xB1));
            Poke(path, 44, Filled(1, 0xB2));  // the second run cut after one byte
            thenWhat();
            throw runtime::Failure(runtime::FailureKind::WriteFailed, "disk gone");
        });
    };
    try {
        stopAfterFirstRun([] {});
        ADD_FAILURE() << "no failure";
    } catch (const runtime::Failure& failure) {
        EXPECT_EQ(failure.kind(), runtime::FailureKind::WriteFailed);
        EXPECT_STREQ(failure.what(), "disk gone");
    }
    EXPECT_EQ(ReadAll(path), held);
    // No half step: the one before is still the one to take back.
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.Undo(path)->glyph, 0);
    EXPECT_EQ(ReadAll(path), Counting());

#if !defined(_WIN32)
    // A font that cannot be written again keeps the half, and the message says so.
    EXPECT_TRUE(testing_support::InChildObeyingPermissions([&] {
        try {
            stopAfterFirstRun([&] { std::filesystem::permissions(path, std::filesystem::perms::owner_read); });
        } catch (const runtime::Failure& failure) {
            return failure.kind() == runtime::FailureKind::WriteFailed &&
                   std::string(failure.what()).starts_with("disk gone; what was written before that could not be put back: ");
        }
        return false;
    }));

    // An undo stops half way too when a file size limit below the second range refuses it; what
    // the first range got is put back, and the failure is the write's own. A redo writes the same way.
    std::filesystem::permissions(path, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    Write({History::Kind::FitAllGlyphs, 0}, {{12, Filled(16, 0xC1)}, {44, Filled(16, 0xC2)}});
    const Bytes done = ReadAll(path);
    // The limit between the ranges, and inside the second: there the put-back meets it too, but
    // only past the bytes it had to put back.
    for (const rlim_t end : {40, 50}) {
        EXPECT_TRUE(testing_support::InChildObeyingPermissions([&] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{end, end};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return false;
            try {
                history.Undo(path);
            } catch (const runtime::Failure& failure) {
                return failure.kind() == runtime::FailureKind::WriteFailed &&
                       (end > 44 || std::string(failure.what()).find("put back") == std::string::npos);
            }
            return false;
        })) << end;
        EXPECT_EQ(ReadAll(path), done) << end;
    }
#endif
}

TEST_F(HistoryTest, StepsThatRewriteTheTextureKeepItWholeAndOnlyTheLastFew) {
    const std::string texture = dir.Write("font.bmp", Filled(8, 0));
    const auto draw = [&](int value, const Bytes& record, bool fails = false) {
        history.RecordWrite(path, {History::Kind::DrawGlyphs, 1}, {{44, record.size()}}, {texture, ReadAll(texture), Filled(8, value)}, [&] {
            Poke(path, 44, record);
            if (fails) throw runtime::Failure(runtime::FailureKind::WriteFailed, "disk gone");
        });
    };
    EXPECT_THROW(draw(9, Filled(4, 0xD9), true), runtime::Failure);
    EXPECT_EQ(ReadAll(texture), Filled(8, 0)) << "a records write that fails puts the texture back";
    EXPECT_EQ(ReadAll(path), Counting());
    EXPECT_FALSE(history.CanUndo());

    Write({History::Kind::StoreGlyph, 0}, {{12, Filled(4, 0xA0)}});
    draw(1, Filled(4, 0xD1));
    draw(2, Filled(4, 0xD1));  // the texture alone changed: still a step
    constexpr int kKept = static_cast<int>(History::kTextureSteps);
    for (int value = 3; value <= kKept + 1; ++value) draw(value, Filled(4, static_cast<int>(0xD0 + value)));
    EXPECT_EQ(history.TextureOfNext(true), texture);
    for (int value = kKept; value >= 1; --value) {
        ASSERT_TRUE(history.Undo(path)) << value;
        EXPECT_EQ(ReadAll(texture), Filled(8, value));
    }
    EXPECT_FALSE(history.CanUndo()) << "the oldest drawing and the store before it are forgotten";
    EXPECT_EQ(ReadAll(path), Patched(Patched(Counting(), 12, Filled(4, 0xA0)), 44, Filled(4, 0xD1)));

    dir.Write("font.bmp", Filled(8, 7));  // saved by another program
    EXPECT_THROW(history.Redo(path), runtime::Failure);
    EXPECT_EQ(ReadAll(path), Patched(Patched(Counting(), 12, Filled(4, 0xA0)), 44, Filled(4, 0xD1))) << "refused before any write";
}

TEST_F(HistoryTest, HoldsAHundredThousandStepsAndUndoesThemAll) {
#if defined(_WIN32)
    // The same code as on Linux, where it runs; Wine's file access would make it minutes.
    GTEST_SKIP() << "400,000 file accesses under Wine";
#endif
    constexpr int kSteps = 100'000;
    for (int i = 1; i <= kSteps; ++i) {
        Write({History::Kind::StoreGlyph, static_cast<std::int16_t>(i % 3)},
              {{16 + static_cast<std::uint64_t>(i % 3) * 16, Filled(16, i & 0xFF)}});
    }
    int undone = 0;
    while (history.Undo(path)) ++undone;
    EXPECT_EQ(undone, kSteps);
    EXPECT_EQ(ReadAll(path), Counting());
}

}  // namespace
