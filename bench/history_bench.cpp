// Undo and redo with a deep history beside the file work they cannot avoid.
#include <benchmark/benchmark.h>

#include "bench/bench_files.h"
#include "editor/history.h"
#include "runtime/binary_file.h"

namespace {

constexpr std::uint64_t kFirstRecord = 44;

// A history of the given depth of stores to glyph 1, the font left as the last one wrote it.
editor::History DeepHistory(const std::string& path, int steps) {
    editor::History history;
    for (int i = 0; i < steps; ++i) {
        const std::vector<std::byte> record(16, static_cast<std::byte>(1 + i % 255));
        history.RecordWrite(path, {editor::History::Kind::StoreGlyph, 1}, {{kFirstRecord + 16, 16}},
                            [&] { runtime::BinaryFile::Open(path).Write(kFirstRecord + 16, record); });
    }
    return history;
}

// One undo and one redo of the newest step: what a held Ctrl+Z and Ctrl+Y cost each time.
void UndoRedoOfDeepHistory(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string path = dir.Write("font1.gmf", bench::FontOfGlyphs(100));
    editor::History history = DeepHistory(path, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (!history.Undo(path) || !history.Redo(path)) state.SkipWithError("nothing to undo");
    }
}
BENCHMARK(UndoRedoOfDeepHistory)->Arg(10)->Arg(100'000);

// A store as the window makes it, with and without its step.
void StoreWithStep(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string path = dir.Write("font1.gmf", bench::FontOfGlyphs(100));
    editor::History history;
    std::uint8_t value = 0;
    for (auto _ : state) {
        const std::vector<std::byte> record(16, static_cast<std::byte>(++value));
        history.RecordWrite(path, {editor::History::Kind::StoreGlyph, 1}, {{kFirstRecord + 16, 16}},
                            [&] { runtime::BinaryFile::Open(path).Write(kFirstRecord + 16, record); });
    }
}
BENCHMARK(StoreWithStep);

void StoreAlone(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string path = dir.Write("font1.gmf", bench::FontOfGlyphs(100));
    std::uint8_t value = 0;
    for (auto _ : state) {
        const std::vector<std::byte> record(16, static_cast<std::byte>(++value));
        runtime::BinaryFile::Open(path).Write(kFirstRecord + 16, record);
    }
}
BENCHMARK(StoreAlone);

// Floor: open, 16 bytes read, close.
void FloorOpenReadClose(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string path = dir.Write("font1.gmf", bench::FontOfGlyphs(100));
    for (auto _ : state) bench::OpenReadClose(path, kFirstRecord, 16);
}
BENCHMARK(FloorOpenReadClose);

}  // namespace
