#include "runtime/binary_file.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include <array>
#include <chrono>
#include <filesystem>

#include "runtime/failure.h"
#include "runtime/file_stamp.h"
#include "tests/support/read_only.h"
#include "tests/support/temp_dir.h"

namespace {

using runtime::BinaryFile;
using runtime::FailureKind;
using testing_support::ReadAll;
using testing_support::TempDir;

std::vector<std::byte> Bytes(std::initializer_list<int> values) {
    std::vector<std::byte> bytes;
    for (int v : values) bytes.push_back(static_cast<std::byte>(v));
    return bytes;
}

FailureKind KindOf(const auto& call) {
    try {
        call();
    } catch (const runtime::Failure& failure) {
        return failure.kind();
    }
    ADD_FAILURE() << "no failure";
    return FailureKind::InvalidOperation;
}

TEST(BinaryFile, OpensOnlyExistingRegularFilesAndNeverCreatesOne) {
    TempDir dir;
    const std::string missing = dir.Path("missing.gmf");
    EXPECT_EQ(KindOf([&] { BinaryFile::Open(missing); }), FailureKind::FileNotOpened);
    EXPECT_EQ(KindOf([&] { BinaryFile::OpenForReading(missing); }), FailureKind::FileNotOpened);
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_EQ(KindOf([&] { BinaryFile::Open(""); }), FailureKind::FileNotOpened);
    EXPECT_EQ(KindOf([&] { BinaryFile::Open(dir.Path("")); }), FailureKind::FileNotOpened);
}

TEST(BinaryFile, ReadsAtAbsoluteOffsetsAndZeroFillsPastTheEnd) {
    TempDir dir;
    const std::string path = dir.Write("f", Bytes({1, 2, 3, 4, 5, 6}));
    BinaryFile file = BinaryFile::Open(path);
    std::array<std::byte, 4> bytes;
    file.Read(4, bytes);
    EXPECT_EQ(bytes, (std::array{std::byte{5}, std::byte{6}, std::byte{0}, std::byte{0}}));
    file.Read(100, bytes);
    EXPECT_EQ(bytes, (std::array<std::byte, 4>{}));
    file.Read(0, bytes);  // no dependence on a position left by the last read
    EXPECT_EQ(bytes, (std::array{std::byte{1}, std::byte{2}, std::byte{3}, std::byte{4}}));
    EXPECT_EQ(file.ReadInt32(0), 0x04030201);
}

TEST(BinaryFile, WritesExactlyTheGivenBytesAndNothingElse) {
    TempDir dir;
    const std::string path = dir.Write("f", Bytes({1, 2, 3, 4, 5, 6, 7, 8}));
    {
        BinaryFile file = BinaryFile::Open(path);
        file.WriteSingle(2, 1.0f);  // 00 00 80 3F
    }
    EXPECT_EQ(ReadAll(path), Bytes({1, 2, 0x00, 0x00, 0x80, 0x3F, 7, 8}));
}

TEST(BinaryFile, AWriteMustLieWhollyInsideTheFile) {
    TempDir dir;
    const std::string path = dir.Write("f", Bytes({1, 2, 3, 4, 5, 6}));
    BinaryFile file = BinaryFile::Open(path);
    const struct { std::uint64_t offset; std::size_t size; bool written; } cases[] = {
        {2, 4, true},   // ends exactly at the end
        {0, 6, true},   // the whole file
        {6, 0, true},   // nothing, at the end
        {3, 4, false},  // one byte past the end
        {5, 4, false},
        {6, 1, false},  // starts at the end
        {7, 0, false},  // starts past the end
    };
    for (const auto& c : cases) {
        const std::vector<std::byte> bytes(c.size, std::byte{0xEE});
        const auto before = ReadAll(path);
        if (c.written) {
            file.Write(c.offset, bytes);
            auto expected = before;
            std::fill_n(expected.begin() + static_cast<std::ptrdiff_t>(c.offset), c.size, std::byte{0xEE});
            EXPECT_EQ(ReadAll(path), expected) << c.offset << "+" << c.size;
        } else {
            EXPECT_EQ(KindOf([&] { file.Write(c.offset, bytes); }), FailureKind::FileTooShort) << c.offset << "+" << c.size;
            EXPECT_EQ(ReadAll(path), before) << "nothing written, the size kept: " << c.offset << "+" << c.size;
        }
    }
}

TEST(BinaryFile, AFolderIsNamedAsOne) {
    TempDir dir;
    std::filesystem::create_directory(dir.Path("fonts.gmf"));
    for (const auto& open : {BinaryFile::Open, BinaryFile::OpenForReading}) {
        try {
            open(dir.Path("fonts.gmf"));
            ADD_FAILURE() << "opened a folder";
        } catch (const runtime::Failure& failure) {
            EXPECT_EQ(failure.kind(), FailureKind::FileNotOpened);
            EXPECT_NE(std::string(failure.what()).find("fonts.gmf: it is a folder"), std::string::npos) << failure.what();
        }
    }
}

#if !defined(_WIN32)
TEST(BinaryFile, APipeIsNoFileToRead) {
    TempDir dir;
    ASSERT_EQ(mkfifo(dir.Path("pipe.gmf").c_str(), 0600), 0);
    try {
        BinaryFile::OpenForReading(dir.Path("pipe.gmf"));
        ADD_FAILURE() << "opened a pipe";
    } catch (const runtime::Failure& failure) {
        EXPECT_EQ(failure.kind(), FailureKind::FileNotOpened);
        EXPECT_NE(std::string(failure.what()).find("pipe.gmf: it is not a regular file"), std::string::npos) << failure.what();
    }
}
#endif

TEST(BinaryFile, TwoAccessesToOneFileCoexist) {
    TempDir dir;
    const std::string path = dir.Write("f", Bytes({0, 0, 0, 0}));
    BinaryFile first = BinaryFile::Open(path);
    {
        BinaryFile second = BinaryFile::Open(path);
        second.WriteSingle(0, 2.0f);
    }
    EXPECT_EQ(first.ReadSingle(0), 2.0f);
}

TEST(BinaryFile, ReadOnlyFileCanBeReadButAWriteFails) {
    TempDir dir;
    const std::string path = dir.Write("f", Bytes({9, 9, 9, 9}));
    testing_support::ReadOnlyFolder readOnly(dir.Path(""));
    EXPECT_TRUE(testing_support::InChildObeyingPermissions([&] {
        BinaryFile file = BinaryFile::Open(path);
        return !file.writable() && file.ReadInt32(0) == 0x09090909 &&
               KindOf([&] { file.WriteSingle(0, 1.0f); }) == FailureKind::WriteFailed;
    }));
    EXPECT_EQ(ReadAll(path), Bytes({9, 9, 9, 9}));
}

TEST(BinaryFile, CyrillicNamesWithSpacesReachTheFileWhole) {
    TempDir dir;
    const std::filesystem::path folder = std::filesystem::path(dir.Path("")) / std::filesystem::path(u8"Шрифты мода");
    std::filesystem::create_directory(folder);
    const std::filesystem::path font = folder / std::filesystem::path(u8"мой шрифт.gmf");
    runtime::WriteNewFile(font, Bytes({1, 2, 3, 4, 5, 6, 7, 8}));
    {
        BinaryFile file = BinaryFile::Open(font);
        EXPECT_TRUE(file.writable());
        EXPECT_EQ(file.Size(), 8u);
        file.WriteSingle(4, 2.0f);
        EXPECT_EQ(file.ReadSingle(4), 2.0f);
    }
    EXPECT_EQ(std::filesystem::file_size(font), 8u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "no second file under another name";
    try {
        BinaryFile::Open(folder / std::filesystem::path(u8"нет.gmf"));
        ADD_FAILURE() << "opened a missing file";
    } catch (const runtime::Failure& failure) {
        EXPECT_NE(std::string(failure.what()).find("Шрифты мода"), std::string::npos) << failure.what();
    }
}

TEST(BinaryFile, ReadingAPictureNeverOpensItForWriting) {
    TempDir dir;
    const std::string path = dir.Write("p.bmp", Bytes({1, 0, 0, 0}));
    BinaryFile file = BinaryFile::OpenForReading(path);
    EXPECT_FALSE(file.writable());
    EXPECT_EQ(KindOf([&] { file.WriteSingle(0, 1.0f); }), FailureKind::WriteFailed);
}

TEST(FileStamp, ChangesWithTheFileItselfOnly) {
    const TempDir dir;
    const std::string path = dir.Write("font1.bmp", std::vector<std::byte>(100));
    const runtime::FileStamp first = runtime::StampOf(path);
    EXPECT_TRUE(first.exists);
    EXPECT_EQ(first.size, 100u);
    dir.Write("beside.tmp", std::vector<std::byte>(10));
    EXPECT_EQ(runtime::StampOf(path), first) << "another file in the folder";

    const auto later = [&] {
        std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(1));
    };
    dir.Write("font1.bmp", std::vector<std::byte>(101));
    EXPECT_NE(runtime::StampOf(path).size, first.size);
    const runtime::FileStamp grown = runtime::StampOf(path);
    later();
    EXPECT_NE(runtime::StampOf(path), grown) << "the same size written later";

#if !defined(_WIN32)  // Windows tells files apart by their creation time, to the second only
    // A file renamed over it, of the same size and time: another file.
    const runtime::FileStamp before = runtime::StampOf(path);
    dir.Write("new.tmp", std::vector<std::byte>(101));
    std::filesystem::last_write_time(dir.Path("new.tmp"), std::filesystem::last_write_time(path));
    std::filesystem::rename(dir.Path("new.tmp"), path);
    EXPECT_NE(runtime::StampOf(path), before);
#endif

    std::filesystem::remove(path);
    EXPECT_FALSE(runtime::StampOf(path).exists);
    EXPECT_EQ(runtime::StampOf(path), runtime::FileStamp{});
    EXPECT_FALSE(runtime::StampOf(dir.Path("")).exists) << "a folder is no picture";
}

}  // namespace
