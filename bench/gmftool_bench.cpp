// gmftool's subcommands on a font of 1001 glyphs, each beside the bare file work it cannot beat.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <stb/stb_image.h>
#include <string>
#include <vector>

#include "bench/bench_files.h"
#include "font/geometry.h"
#include "gmftool/commands.h"
#include "tests/support/bmp.h"
#include "tests/support/font_bytes.h"

extern char** environ;

namespace {

constexpr int kGlyphs = 1001;

// 1001 glyphs in cells of 16 x 16 preview pixels, 14 wide, none overlapping, aspects fresh:
// a font with nothing for check to report. shift moves every left edge by that many edit units.
std::vector<std::byte> FittedFont(float shift = 0) {
    constexpr float kCell = 1.0f / 32;
    std::vector<font::GlyphRecord> glyphs;
    for (int i = 0; i < kGlyphs; ++i) {
        const float left = static_cast<float>(i % 32) * kCell + shift / 256;
        const float right = static_cast<float>(i % 32) * kCell + 7.0f / 256;
        glyphs.push_back({left, static_cast<float>(i / 32) * kCell, right, font::ComputeAspect(left, right, kCell)});
    }
    return testing_support::FontBytes::LayoutA(glyphs).Header(16, kCell, 0.03125f).bytes();
}

// White, with a block of ink 10 pixels wide and 12 high in every cell.
std::vector<std::byte> InkTexture() {
    std::vector<testing_support::InkBlock> blocks;
    for (int y = 0; y < 512; y += 16) {
        for (int x = 0; x < 512; x += 16) blocks.push_back({x + 2, x + 11, y + 2, y + 13});
    }
    return testing_support::InkOnWhite(512, blocks);
}

// Standard output goes to /dev/null while it lives: the terminal's speed is not gmftool's.
class QuietStdout {
public:
    QuietStdout() : null_(::open("/dev/null", O_WRONLY)), saved_(::dup(1)) {
        std::fflush(stdout);
        ::dup2(null_, 1);
    }
    ~QuietStdout() {
        std::fflush(stdout);
        ::dup2(saved_, 1);
        ::close(null_);
        ::close(saved_);
    }

private:
    int null_;
    int saved_;
};

void Run(benchmark::State& state, const std::vector<std::string>& arguments, int expected = 0) {
    if (gmftool::Run(arguments) != expected) state.SkipWithError("gmftool failed");
}

void Check(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string font = dir.Write("font1.gmf", FittedFont());
    for (auto _ : state) Run(state, {"check", font});
}
BENCHMARK(Check);

void Dump(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string font = dir.Write("font1.gmf", FittedFont());
    const std::string dump = dir.Path("dump.txt");
    for (auto _ : state) Run(state, {"dump", font, "-o", dump});
}
BENCHMARK(Dump);

// Floor of check and dump: one open, one read of the header and the longest table, one close.
void FloorOpenRead16K(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string font = dir.Write("font1.gmf", FittedFont());
    for (auto _ : state) bench::OpenReadClose(font, 0, font::kFontHeadSize);
}
BENCHMARK(FloorOpenRead16K);

// Every record changes at each restore: the font goes back and forth between two dumps.
void RestoreEveryRecord(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string font = dir.Write("font1.gmf", FittedFont(1));
    const std::string dumps[] = {dir.Path("a.txt"), dir.Path("b.txt")};
    Run(state, {"dump", font, "-o", dumps[0]});
    dir.Write("font1.gmf", FittedFont());
    Run(state, {"dump", font, "-o", dumps[1]});
    int next = 0;
    const QuietStdout quiet;
    for (auto _ : state) {
        Run(state, {"restore", font, dumps[next]});
        next ^= 1;
    }
}
BENCHMARK(RestoreEveryRecord);

// Floor of a restore: one open, one read of the table, one write of it and one read back, one close.
void FloorReadWriteReadTable(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string font = dir.Write("font1.gmf", FittedFont());
    std::vector<std::byte> table(kGlyphs * 16);
    const auto size = static_cast<ssize_t>(table.size());
    for (auto _ : state) {
        const int fd = ::open(font.c_str(), O_RDWR);
        if (::pread(fd, table.data(), table.size(), 44) != size || ::pwrite(fd, table.data(), table.size(), 44) != size ||
            ::pread(fd, table.data(), table.size(), 44) != size) {
            state.SkipWithError("file access failed");
        }
        ::close(fd);
    }
}
BENCHMARK(FloorReadWriteReadTable);

// Every glyph is one edit unit off its ink before each fit, so that each fit writes them all.
void FitEveryGlyph(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string font = dir.Write("font1.gmf", FittedFont(1));
    dir.Write("font1.bmp", InkTexture());
    const auto unfitted = FittedFont(1);
    const QuietStdout quiet;
    for (auto _ : state) {
        state.PauseTiming();
        dir.Write("font1.gmf", unfitted);
        state.ResumeTiming();
        Run(state, {"fit", font, "--reach", "2"});
    }
}
BENCHMARK(FitEveryGlyph);

// Floor of a fit: decoding the BMP, then the restore's floor.
void FloorDecodeAndWrite(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string font = dir.Write("font1.gmf", FittedFont());
    const std::string picture = dir.Write("font1.bmp", InkTexture());
    const std::size_t bmpSize = InkTexture().size();
    std::array<std::byte, 16> record{std::byte{1}};
    for (auto _ : state) {
        std::vector<stbi_uc> bytes(bmpSize);
        const int bmp = ::open(picture.c_str(), O_RDONLY);
        if (::read(bmp, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) state.SkipWithError("read failed");
        ::close(bmp);
        int width = 0, height = 0, channels = 0;
        stbi_uc* pixels = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height, &channels, 4);
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
        const int fd = ::open(font.c_str(), O_RDWR);
        for (int i = 0; i < kGlyphs; ++i) {
            if (::pwrite(fd, record.data(), 16, 44 + i * 16) != 16 || ::pread(fd, record.data(), 16, 44 + i * 16) != 16) {
                state.SkipWithError("write failed");
            }
        }
        ::close(fd);
    }
}
BENCHMARK(FloorDecodeAndWrite);

// The whole process, start to exit, for info; beside it, a program that does nothing.
void Process(benchmark::State& state, const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    for (auto _ : state) {
        pid_t child = 0;
        int status = 0;
        if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0 || waitpid(child, &status, 0) < 0 ||
            !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the process failed");
        }
    }
}

void InfoProcess(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string font = dir.Write("font1.gmf", FittedFont());
    const QuietStdout quiet;
    Process(state, {RUNEPLOT_GMFTOOL, "info", font});
}
BENCHMARK(InfoProcess)->UseRealTime();

void FloorProcess(benchmark::State& state) { Process(state, {"/bin/true"}); }
BENCHMARK(FloorProcess)->UseRealTime();

}  // namespace
