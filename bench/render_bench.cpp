// gmftool render and its library beside FreeType's own drawing of the same glyphs.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <string>
#include <vector>

#include "bench/bench_files.h"
#include "font/geometry.h"
#include "glyphs/render_plan.h"
#include "tests/support/bmp.h"
#include "tests/support/font_bytes.h"

extern char** environ;

namespace {

constexpr const char* kDejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr int kGlyphs = 1001;
constexpr int kBatch = 143;  // glyphs on one texture: 1001 in seven

// A texture is a megabyte: with glibc's defaults each copy is mapped afresh and faulted in page
// by page, a cost a real render pays once and FreeType's floor never pays. Keeping the heap makes
// both pay alike (as in gmftool_bench).
const bool kHeapKept = [] {
    constexpr int kHeap = 64 << 20;
    return mallopt(M_TRIM_THRESHOLD, kHeap) == 1 && mallopt(M_MMAP_THRESHOLD, kHeap) == 1;
}();

// The first 1001 characters DejaVu Sans draws, from '!' on.
std::vector<char32_t> Characters(const glyphs::Typeface& face) {
    std::vector<char32_t> characters;
    for (char32_t c = U'!'; characters.size() < kGlyphs; ++c) {
        if (face.GlyphFor(c) != 0) characters.push_back(c);
    }
    return characters;
}

// kBatch cells 13 to a row, 18 edit units wide and a cell and a bit apart down the texture.
std::vector<font::GlyphRecord> Table(float cellHeight) {
    std::vector<font::GlyphRecord> records;
    const float rowStep = cellHeight + 2.0f / 256;
    for (int i = 0; i < kBatch; ++i) {
        const float left = static_cast<float>(i % 13 * 19) / 256, right = left + 18.0f / 256;
        records.push_back({left, static_cast<float>(i / 13) * rowStep, right, font::ComputeAspect(left, right, cellHeight)});
    }
    return records;
}

// On a shared machine noise only ever adds time: the least of the repetitions is the steadiest
// figure to set beside the floor's.
double Least(const std::vector<double>& times) { return *std::min_element(times.begin(), times.end()); }

// Planned, drawn and placed: every glyph, into one copy of a 512 x 512 texture as a render of
// them all makes one. The batches only find room: each is drawn over the one before, the same
// work as on a texture of its own. The face is opened afresh each time, as a render does, since
// it keeps what it drew.
void RenderAndPlace(benchmark::State& state) {
    const std::vector<char32_t> characters = Characters(glyphs::Typeface::Open(kDejaVu, std::nullopt));
    const int px = static_cast<int>(state.range(0));
    const float cellHeight = static_cast<float>(px + px / 3) / 512;
    const std::vector<font::GlyphRecord> records = Table(cellHeight);
    const picture::Image white = picture::Filled(512, 512, {255, 255, 255, 255});
    glyphs::RenderSettings settings;
    settings.px = px;
    settings.colour = picture::Rgba{0, 0, 0, 255};
    for (auto _ : state) {
        const glyphs::Typeface face = glyphs::Typeface::Open(kDejaVu, std::nullopt);
        picture::Image texture = white;
        for (int first = 0; first < kGlyphs; first += kBatch) {
            std::vector<glyphs::CharAssignment> assignments;
            for (int i = first; i < first + kBatch && i < kGlyphs; ++i) assignments.push_back({i - first, characters[static_cast<std::size_t>(i)]});
            const glyphs::RenderPlan plan = glyphs::PlanRender(face, {cellHeight, &records}, white, assignments, settings);
            if (!plan.WithoutRoom().empty()) state.SkipWithError("no room on the texture");
            glyphs::DrawPlan(face, plan, texture);
            benchmark::DoNotOptimize(texture.pixels.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * kGlyphs);
}
BENCHMARK(RenderAndPlace)->Arg(12)->Arg(24)->ComputeStatistics("min", Least)->Unit(benchmark::kMillisecond);

// The floor: FreeType alone opening the font and drawing the same glyphs the same way, nothing
// copied or placed. The face is opened afresh each time, as above: a face that has drawn before
// draws faster.
void FreeTypeAlone(benchmark::State& state) {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, kDejaVu, 0, &face) != 0) {
        state.SkipWithError("FreeType cannot open the font");
        return;
    }
    std::vector<FT_UInt> indexes;
    for (FT_ULong c = '!'; indexes.size() < kGlyphs; ++c) {
        if (const FT_UInt index = FT_Get_Char_Index(face, c)) indexes.push_back(index);
    }
    FT_Done_Face(face);
    for (auto _ : state) {
        FT_New_Face(library, kDejaVu, 0, &face);
        FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(state.range(0)));
        for (const FT_UInt index : indexes) {
            FT_Load_Glyph(face, index, FT_LOAD_TARGET_LIGHT | FT_LOAD_RENDER);
            benchmark::DoNotOptimize(face->glyph->bitmap.buffer);
        }
        FT_Done_Face(face);
    }
    state.SetItemsProcessed(state.iterations() * kGlyphs);
    FT_Done_FreeType(library);
}
BENCHMARK(FreeTypeAlone)->Arg(12)->Arg(24)->ComputeStatistics("min", Least)->Unit(benchmark::kMillisecond);

// The whole command, as a user runs it: 64 Cyrillic letters into a font of 128 glyphs on a
// 512 x 512 texture, each run over the last one's result, backups written.
void RenderProcess(benchmark::State& state) {
    const bench::ScratchDir dir;
    constexpr float kCell = 24.0f / 512;
    std::vector<font::GlyphRecord> glyphs;
    for (int i = 0; i < 128; ++i) {
        const float left = static_cast<float>(i % 16 * 16) / 256, right = left + 14.0f / 256;
        glyphs.push_back({left, static_cast<float>(i / 16 * 14) / 256, right, font::ComputeAspect(left, right, kCell)});
    }
    const std::string font = dir.Write("font1.gmf", testing_support::FontBytes::LayoutA(glyphs).Header(16, kCell, 0.03125f).bytes());
    dir.Write("font1.bmp", testing_support::InkOnWhite(512, {{500, 511, 500, 511}}));
    std::vector<std::string> arguments{RUNEPLOT_GMFTOOL, "render", font, "--ttf", kDejaVu, "--codepage", "1251", "--at", "65", "--from", "192"};
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t child = 0;
        int status = 0;
        if (posix_spawn(&child, argv[0], &quiet, nullptr, argv.data(), environ) != 0 || waitpid(child, &status, 0) < 0 ||
            !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("gmftool render failed");
        }
    }
    posix_spawn_file_actions_destroy(&quiet);
}
BENCHMARK(RenderProcess)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
