// The font model's file work beside the bare system calls it cannot beat.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <stdexcept>

#include "bench/bench_files.h"
#include "font/font_file.h"

namespace {

constexpr std::size_t kTableBytes = font::kMaxGlyphCount * font::kGlyphRecordSize;

const font::LoadFontWindowSteps kNoWindow{[] {}, [] {}, [] {}};

void LoadFontOfGlyphs(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string path = dir.Write("font1.gmf", bench::FontOfGlyphs(static_cast<int>(state.range(0))));
    font::FontState font;
    for (auto _ : state) {
        font::LoadFont(path, font, kNoWindow);
        benchmark::DoNotOptimize(font.GlyphCount);
    }
    if (font.GlyphCount != state.range(0)) state.SkipWithError("the count is wrong");
}
BENCHMARK(LoadFontOfGlyphs)->Arg(10)->Arg(100)->Arg(1001);

// Floor: the count as a read for each of the 1001 records through one open file.
void FloorRecordByRecord(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string path = dir.Write("font1.gmf", bench::FontOfGlyphs(1001));
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDWR);
        std::array<std::byte, font::kGlyphRecordSize> record{};
        for (std::size_t i = 0; i < font::kMaxGlyphCount; ++i) {
            if (::pread(fd, record.data(), record.size(), static_cast<off_t>(44 + i * record.size())) < 0) {
                state.SkipWithError("read failed");
            }
            benchmark::DoNotOptimize(record);
        }
        ::close(fd);
    }
}
BENCHMARK(FloorRecordByRecord);

// Floor: one open, one read of the whole table, one close.
void FloorWholeTable(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string path = dir.Write("font1.gmf", bench::FontOfGlyphs(1001));
    for (auto _ : state) bench::OpenReadClose(path, 44, kTableBytes);
}
BENCHMARK(FloorWholeTable);

// The file part of a refresh: open, one record, close.
void ReadOneGlyph(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string path = dir.Write("font1.gmf", bench::FontOfGlyphs(100));
    font::FontState font;
    font::LoadFont(path, font, kNoWindow);
    std::int16_t index = 0;
    for (auto _ : state) {
        runtime::BinaryFile file = runtime::BinaryFile::Open(path);
        font::ReadGlyphRecord(file, font, index);
        index = static_cast<std::int16_t>((index + 1) % 100);
        benchmark::DoNotOptimize(font.CurrentGlyph);
    }
}
BENCHMARK(ReadOneGlyph);

void FloorOpenRead16(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string path = dir.Write("font1.gmf", bench::FontOfGlyphs(100));
    std::size_t index = 0;
    for (auto _ : state) {
        bench::OpenReadClose(path, 44 + index * 16, 16);
        index = (index + 1) % 100;
    }
}
BENCHMARK(FloorOpenRead16);

// The file part of an arrow click: parse the three boxes, open, one 16-byte write, close.
void StoreOneGlyph(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string path = dir.Write("font1.gmf", bench::FontOfGlyphs(100));
    font::FontState font;
    font::LoadFont(path, font, kNoWindow);
    const font::EdgeTexts edges{"64", "32", "72"};
    for (auto _ : state) font::StoreGlyph(path, font, edges, '.', [] { return std::int16_t{5}; });
}
BENCHMARK(StoreOneGlyph);

void FloorOpenWrite16(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string path = dir.Write("font1.gmf", bench::FontOfGlyphs(100));
    const std::array<std::byte, 16> record{};
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDWR);
        if (::pwrite(fd, record.data(), record.size(), 44 + 5 * 16) < 0) state.SkipWithError("write failed");
        ::close(fd);
    }
}
BENCHMARK(FloorOpenWrite16);

// The same with the size check that keeps every write inside the file: what a store must do.
void FloorOpenSizeWrite16(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string path = dir.Write("font1.gmf", bench::FontOfGlyphs(100));
    const std::array<std::byte, 16> record{};
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDWR);
        struct stat info {};
        if (::fstat(fd, &info) != 0 || info.st_size < 44 + 6 * 16 ||
            ::pwrite(fd, record.data(), record.size(), 44 + 5 * 16) < 0) {
            state.SkipWithError("write failed");
        }
        ::close(fd);
    }
}
BENCHMARK(FloorOpenSizeWrite16);

}  // namespace
