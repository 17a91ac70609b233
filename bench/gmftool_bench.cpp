// gmftool's subcommands on a font of 1001 glyphs, each beside the bare file work it cannot beat.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_files.h"
#include "font/geometry.h"
#include "gmftool/commands.h"
#include "picture/image.h"
#include "tests/support/bmp.h"
#include "tests/support/font_bytes.h"
#include "tests/support/tga.h"

extern char** environ;

namespace {

constexpr int kGlyphs = 1001;

// Every command here runs in one process, one after another. With glibc's defaults a command
// whose heap peaks past the trim threshold (about 2 MB once a 1 MB buffer was freed) hands the
// heap back at its end and faults it in again at the next run, a cost a real run pays once and
// that its floor, peaking lower, never pays. Keeping the heap makes both pay alike.
const bool kHeapKept = [] {
    constexpr int kHeap = 64 << 20;
    return mallopt(M_TRIM_THRESHOLD, kHeap) == 1 && mallopt(M_MMAP_THRESHOLD, kHeap) == 1;
}();

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

// The least a picture costs: its bytes read in one go, and each pixel of the 24-bit BMP turned
// into the four bytes a decoded pixel takes, rows from the top.
std::vector<std::uint8_t> DecodeOnce(benchmark::State& state, const std::string& picture) {
    struct stat info {};
    const int bmp = ::open(picture.c_str(), O_RDONLY);
    ::fstat(bmp, &info);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    if (::read(bmp, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) state.SkipWithError("read failed");
    ::close(bmp);
    constexpr std::size_t kSide = 512;
    constexpr std::size_t kPixelsAt = 54;
    if (bytes.size() < kPixelsAt + kSide * kSide * 3) state.SkipWithError("not a plain 512 x 512 24-bit BMP");
    std::vector<std::uint8_t> rgba(kSide * kSide * 4);
    for (std::size_t row = 0; row < kSide; ++row) {
        const std::uint8_t* in = bytes.data() + kPixelsAt + (kSide - 1 - row) * kSide * 3;
        std::uint8_t* out = rgba.data() + row * kSide * 4;
        for (std::size_t x = 0; x < kSide; ++x, in += 3, out += 4) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            out[3] = 255;
        }
    }
    benchmark::DoNotOptimize(rgba.data());
    return rgba;
}

// InkTexture's glyphs at twice the size on a 1,024 x 1,024 32-bit TGA, rows from the top: white
// ink on clear alpha, as the game's texture is painted.
std::vector<std::byte> InkTga(bool runLength) {
    picture::Image image = picture::Filled(1024, 1024, {0, 0, 0, 0});
    for (int y = 0; y < 1024; ++y) {
        for (int x = 0; x < 1024; ++x) {
            if (x / 2 % 16 >= 2 && x / 2 % 16 <= 11 && y / 2 % 16 >= 2 && y / 2 % 16 <= 13) image.At(x, y) = {255, 255, 255, 255};
        }
    }
    return testing_support::Tga32(image, runLength);
}

// The least a raw 32-bit TGA from the top costs: its bytes read in one go, each pixel's blue and
// red swapped into the four bytes a decoded pixel takes.
std::vector<std::uint8_t> DecodeTgaOnce(benchmark::State& state, const std::string& picture) {
    struct stat info {};
    const int tga = ::open(picture.c_str(), O_RDONLY);
    ::fstat(tga, &info);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    if (::read(tga, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) state.SkipWithError("read failed");
    ::close(tga);
    constexpr std::size_t kPixels = 1024 * 1024;
    constexpr std::size_t kPixelsAt = 18;
    if (bytes.size() < kPixelsAt + kPixels * 4) state.SkipWithError("not a raw 1,024 x 1,024 32-bit TGA");
    std::vector<std::uint8_t> rgba(kPixels * 4);
    const std::uint8_t* in = bytes.data() + kPixelsAt;
    for (std::size_t i = 0; i < kPixels * 4; i += 4) {
        rgba[i] = in[i + 2];
        rgba[i + 1] = in[i + 1];
        rgba[i + 2] = in[i];
        rgba[i + 3] = in[i + 3];
    }
    benchmark::DoNotOptimize(rgba.data());
    return rgba;
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

// With the picture beside the font, so that the ink checks run too.
void Check(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string font = dir.Write("font1.gmf", FittedFont());
    dir.Write("font1.bmp", InkTexture());
    for (auto _ : state) Run(state, {"check", font});
}
BENCHMARK(Check);

// Floor of check: one read of the table and one decode of the picture.
void FloorReadAndDecode(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string font = dir.Write("font1.gmf", FittedFont());
    const std::string picture = dir.Write("font1.bmp", InkTexture());
    for (auto _ : state) {
        bench::OpenReadClose(font, 0, font::kFontHeadSize);
        DecodeOnce(state, picture);
    }
}
BENCHMARK(FloorReadAndDecode);

void Dump(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string font = dir.Write("font1.gmf", FittedFont());
    const std::string dump = dir.Path("dump.txt");
    for (auto _ : state) Run(state, {"dump", font, "-o", dump});
}
BENCHMARK(Dump);

// Floor of dump: one read of the table, the numbers in their shortest form on their lines, and
// the text written to a new file that then replaces the old one.
void FloorReadFormatWrite(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string font = dir.Write("font1.gmf", FittedFont());
    const std::string dump = dir.Path("dump.txt");
    const std::string pending = dir.Path("dump.txt.pending");
    std::vector<std::byte> head(font::kFontHeadSize);
    std::string text;
    for (auto _ : state) {
        const int in = ::open(font.c_str(), O_RDONLY);
        if (::pread(in, head.data(), head.size(), 0) < 0) state.SkipWithError("read failed");
        ::close(in);
        text.clear();
        text.reserve(64 * 1024);
        char number[32];
        const auto append = [&](float value) {
            text.append(number, std::to_chars(number, number + sizeof number, value).ptr);
        };
        const auto single = [&](std::size_t offset) {
            float value;
            std::memcpy(&value, head.data() + offset, 4);
            return value;
        };
        for (int i = 0; i < kGlyphs; ++i) {
            const std::size_t record = 44 + static_cast<std::size_t>(i) * 16;
            text += "glyph ";
            text.append(number, std::to_chars(number, number + sizeof number, i + 1).ptr);
            text += ": left ";
            append(single(record) * 256);
            text += " top ";
            append(single(record + 4) * 256);
            text += " right ";
            append(single(record + 8) * 256);
            text += " aspect ";
            append(single(record + 12));
            text += '\n';
        }
        // Written whole beside the old dump, then put in its place.
        const int out = ::open(pending.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (::write(out, text.data(), text.size()) != static_cast<ssize_t>(text.size()) || ::close(out) != 0 ||
            ::rename(pending.c_str(), dump.c_str()) != 0) {
            state.SkipWithError("write failed");
        }
    }
}
BENCHMARK(FloorReadFormatWrite);

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

// The file work of a restore alone: one open, one read of the table, one write of it and one
// read back, one close.
void ReadWriteReadTable(const std::string& font, std::vector<std::byte>& table, benchmark::State& state) {
    const auto size = static_cast<ssize_t>(table.size());
    const int fd = ::open(font.c_str(), O_RDWR);
    if (::pread(fd, table.data(), table.size(), 44) != size || ::pwrite(fd, table.data(), table.size(), 44) != size ||
        ::pread(fd, table.data(), table.size(), 44) != size) {
        state.SkipWithError("file access failed");
    }
    ::close(fd);
}

void FloorReadWriteReadTable(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string font = dir.Write("font1.gmf", FittedFont());
    std::vector<std::byte> table(kGlyphs * 16);
    for (auto _ : state) ReadWriteReadTable(font, table, state);
}
BENCHMARK(FloorReadWriteReadTable);

// Floor of a restore: its file work, and the dump read in one go with each of its numbers turned
// into a binary32 value; the words that are no numbers (keys, glyph labels, comments) only skipped.
void FloorReadDumpAndTable(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string font = dir.Write("font1.gmf", FittedFont());
    const std::string dump = dir.Path("dump.txt");
    Run(state, {"dump", font, "-o", dump});
    std::vector<std::byte> table(kGlyphs * 16);
    std::string text;
    constexpr std::size_t kNumbers = 5 + 4 * kGlyphs;  // the signature's version, four header values, four a glyph
    for (auto _ : state) {
        struct stat info {};
        const int in = ::open(dump.c_str(), O_RDONLY);
        ::fstat(in, &info);
        text.resize(static_cast<std::size_t>(info.st_size));
        if (::read(in, text.data(), text.size()) != static_cast<ssize_t>(text.size())) state.SkipWithError("read failed");
        ::close(in);

        std::size_t numbers = 0;
        float sum = 0;
        const char* at = text.data();
        const char* const end = at + text.size();
        while (at != end) {
            if (*at == '#') {
                at = static_cast<const char*>(std::memchr(at, '\n', static_cast<std::size_t>(end - at))) + 1;
                continue;
            }
            while (at != end && *at != '\n') {
                if (*at == ' ') {
                    ++at;
                    continue;
                }
                const char* const word = at;
                while (at != end && *at != ' ' && *at != '\n') ++at;
                if (at[-1] == ':' || !(*word == '-' || (*word >= '0' && *word <= '9'))) continue;
                float value = 0;
                if (std::from_chars(word, at, value).ptr != at) state.SkipWithError("not a number");
                sum += value;
                ++numbers;
            }
            if (at != end) ++at;
        }
        if (numbers != kNumbers) state.SkipWithError("numbers missing");
        benchmark::DoNotOptimize(sum);
        ReadWriteReadTable(font, table, state);
    }
}
BENCHMARK(FloorReadDumpAndTable);

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

// The same on the TGA, raw and in run-length packets.
void FitEveryGlyphTga(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string font = dir.Write("font1.gmf", FittedFont(1));
    dir.Write("font1.tga", InkTga(state.range(0) != 0));
    const auto unfitted = FittedFont(1);
    const QuietStdout quiet;
    for (auto _ : state) {
        state.PauseTiming();
        dir.Write("font1.gmf", unfitted);
        state.ResumeTiming();
        Run(state, {"fit", font, "--reach", "2"});
    }
}
BENCHMARK(FitEveryGlyphTga)->Arg(0)->Arg(1);

// One read of the font's head and table, one write of the table and one read-back.
void ReadWriteReadBack(benchmark::State& state, const std::string& font, std::vector<std::byte>& head) {
    constexpr std::size_t kTable = kGlyphs * 16;
    const int fd = ::open(font.c_str(), O_RDWR);
    if (::pread(fd, head.data(), head.size(), 0) < 0 || ::pwrite(fd, head.data() + 44, kTable, 44) != static_cast<ssize_t>(kTable) ||
        ::pread(fd, head.data() + 44, kTable, 44) != static_cast<ssize_t>(kTable)) {
        state.SkipWithError("write failed");
    }
    ::close(fd);
}

// Floor of a fit: one decode of the BMP, one read of the table, one write of it and one read-back.
void FloorDecodeAndWrite(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string font = dir.Write("font1.gmf", FittedFont());
    const std::string picture = dir.Write("font1.bmp", InkTexture());
    std::vector<std::byte> head(font::kFontHeadSize);
    for (auto _ : state) {
        DecodeOnce(state, picture);
        ReadWriteReadBack(state, font, head);
    }
}
BENCHMARK(FloorDecodeAndWrite);

// The same with the least the fit's rule needs of the pixels: each one looked at once, beside a
// colour. The rule does more, finding the most frequent colour first, but no less.
void FloorDecodeLookAndWrite(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string font = dir.Write("font1.gmf", FittedFont());
    const std::string picture = dir.Write("font1.bmp", InkTexture());
    std::vector<std::byte> head(font::kFontHeadSize);
    for (auto _ : state) {
        const std::vector<std::uint8_t> rgba = DecodeOnce(state, picture);
        std::vector<std::uint8_t> ink(rgba.size() / 4);
        std::uint32_t background = 0;
        std::memcpy(&background, rgba.data(), 4);
        for (std::size_t i = 0; i < ink.size(); ++i) {
            std::uint32_t pixel = 0;
            std::memcpy(&pixel, rgba.data() + 4 * i, 4);
            ink[i] = pixel != background;
        }
        benchmark::DoNotOptimize(ink.data());
        ReadWriteReadBack(state, font, head);
    }
}
BENCHMARK(FloorDecodeLookAndWrite);

// Floor of a fit on the raw TGA: its decode by hand, each pixel's alpha looked at once, the table
// written and read back.
void FloorDecodeLookAndWriteTga(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string font = dir.Write("font1.gmf", FittedFont());
    const std::string picture = dir.Write("font1.tga", InkTga(false));
    std::vector<std::byte> head(font::kFontHeadSize);
    for (auto _ : state) {
        const std::vector<std::uint8_t> rgba = DecodeTgaOnce(state, picture);
        std::vector<std::uint8_t> ink(rgba.size() / 4);
        for (std::size_t i = 0; i < ink.size(); ++i) ink[i] = rgba[4 * i + 3] != 0;
        benchmark::DoNotOptimize(ink.data());
        ReadWriteReadBack(state, font, head);
    }
}
BENCHMARK(FloorDecodeLookAndWriteTga);

// The picture layer's decode of a 1,024 x 1,024 32-bit TGA from its file, raw and in run-length
// packets: the floor the window's open of it is held to. Beside it, the raw one by hand.
void DecodeTga(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string picture = dir.Write("font1.tga", InkTga(state.range(0) != 0));
    for (auto _ : state) benchmark::DoNotOptimize(picture::DecodePicture(picture).image.pixels.data());
}
BENCHMARK(DecodeTga)->Arg(0)->Arg(1);

void FloorDecodeTga(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string picture = dir.Write("font1.tga", InkTga(false));
    for (auto _ : state) DecodeTgaOnce(state, picture);
}
BENCHMARK(FloorDecodeTga);

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
