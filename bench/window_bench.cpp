// The user's actions on the offscreen window, up to the point where Qt would paint, beside the
// same actions on the editor alone through a window that does nothing.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>
#include <chrono>
#include <deque>
#include <filesystem>
#include <map>
#include <optional>
#include <memory>
#include <stdexcept>

#include "bench/bench_files.h"
#include "editor/editor.h"
#include "font/font_file.h"
#include "glyphs/char_map.h"
#include "runtime/binary_file.h"
#include "picture/image.h"
#include "tests/support/bmp.h"
#include "tests/support/font_bytes.h"
#include "tests/support/tga.h"
#include "ui/form1.h"
#include "ui/prompts.h"

namespace {

// Answers the two open dialogs with the files of the benchmark, and fails on any message.
class ScriptedPrompts final : public ui::Prompts {
public:
    std::deque<QString> answers;
    int messages = 0;

    QString ChooseExistingFile(QWidget*, const QString&, const QString&, const QString&, const QString&) override {
        if (answers.empty()) return {};
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void Exclaim(QWidget*, const QString&, const QString&) override { ++messages; }
    void Inform(QWidget*, const QString&, const QString&) override { ++messages; }
};

std::vector<std::byte> TextureBmp() {
    QImage image(512, 512, QImage::Format_RGB888);
    image.fill(QColor(0x40, 0x40, 0x40));
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    const auto* first = reinterpret_cast<const std::byte*>(data.constData());
    return {first, first + data.size()};
}

// The window with a font of its own opened through the menu's command.
struct OpenWindow {
    explicit OpenWindow(const std::vector<std::byte>& fontBytes)
        : fontPath(dir.Write("font1.gmf", fontBytes)), window(prompts, '.') {
        prompts.answers = {QString::fromStdString(fontPath), QString::fromStdString(dir.Write("font1.bmp", TextureBmp()))};
        window.show();
        window.Editor().OpenCommand();
        QApplication::processEvents();
    }

    template <typename Widget>
    Widget* Child(const char* name) {
        return window.findChild<Widget*>(QString::fromLatin1(name));
    }

    bench::ScratchDir dir;
    std::string fontPath;
    ScriptedPrompts prompts;
    ui::Form1 window;
};

void CheckNoMessage(benchmark::State& state, const OpenWindow& open) {
    if (open.prompts.messages != 0) state.SkipWithError("the window showed a message");
}

// Every glyph ordinary, or every glyph with far-out edges (Left -1000, Right 1000).
std::vector<std::byte> FontForRefresh(bool farOut) {
    if (!farOut) return bench::FontOfGlyphs(100);
    std::vector<font::GlyphRecord> glyphs(100, testing_support::Glyph(-1000, 0.25f, 1000));
    return testing_support::FontBytes::LayoutA(glyphs).bytes();
}

void RefreshBySelector(benchmark::State& state) {
    OpenWindow open(FontForRefresh(state.range(0) != 0));
    auto* scr = open.Child<QScrollBar>("scr");
    int value = 0;
    for (auto _ : state) {
        value = value == 0 ? 1 : 0;
        scr->setValue(value);
    }
    CheckNoMessage(state, open);
}
BENCHMARK(RefreshBySelector)->ArgName("far_out")->Arg(0)->Arg(1);

// Up, then down: the file ends as it started.
void ArrowClick(benchmark::State& state) {
    OpenWindow open(bench::FontOfGlyphs(100));
    QPushButton* arrows[] = {open.Child<QPushButton>("Command5"), open.Child<QPushButton>("Command4")};
    std::size_t next = 0;
    for (auto _ : state) {
        arrows[next]->click();
        next ^= 1;
    }
    CheckNoMessage(state, open);
}
BENCHMARK(ArrowClick);

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// A mouse move while the left edge is dragged on Picture1, one edit unit to and fro, Picture1 and
// the magnifier at 16x painted each time.
void DragMoveWithMagnifier(benchmark::State& state) {
    OpenWindow open(bench::FontOfGlyphs(100));
    open.window.Editor().ToggleMagnifier();
    open.window.Editor().ZoomMagnifier(editor::kMaxMagnification);
    auto* picture = open.Child<QWidget>("Picture1");
    auto* magnifier = open.Child<QWidget>("Magnifier");
    SendMouse(picture, QEvent::MouseButtonPress, {0, 10});
    SendMouse(picture, QEvent::MouseMove, {10, 10});
    int x = 10;
    for (auto _ : state) {
        x = x == 10 ? 12 : 10;
        SendMouse(picture, QEvent::MouseMove, {x, 10});
        picture->repaint();
        magnifier->repaint();
    }
    if (!open.window.Editor().Dragging() || open.window.Editor().Magnifier().factor != 16) state.SkipWithError("no drag at 16x");
    CheckNoMessage(state, open);
}
BENCHMARK(DragMoveWithMagnifier)->Unit(benchmark::kMicrosecond);

void FloorOpenRead16(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string path = dir.Write("font1.gmf", bench::FontOfGlyphs(100));
    for (auto _ : state) bench::OpenReadClose(path, 44 + 16, 16);
}
BENCHMARK(FloorOpenRead16);

// The least an arrow click must do: write the record, then read it back for the view.
void OpenWriteClose(const std::string& path, std::size_t offset, const std::vector<std::byte>& bytes) {
    const int fd = ::open(path.c_str(), O_RDWR);
    if (fd < 0) throw std::runtime_error("cannot open " + path);
    const auto wrote = ::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset));
    ::close(fd);
    if (wrote != static_cast<ssize_t>(bytes.size())) throw std::runtime_error("cannot write " + path);
}

void FloorArrowClick(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::vector<std::byte> font = bench::FontOfGlyphs(100);
    const std::string path = dir.Write("font1.gmf", font);
    const std::vector<std::byte> record(font.begin() + 44, font.begin() + 60);
    for (auto _ : state) {
        OpenWriteClose(path, 44, record);
        bench::OpenReadClose(path, 44, 16);
    }
}
BENCHMARK(FloorArrowClick);

// The open command with both dialogs answered: load, picture and first refresh.
void OpenCommand(benchmark::State& state) {
    OpenWindow open(bench::FontOfGlyphs(static_cast<int>(state.range(0))));
    const QString picture = QString::fromStdString(open.dir.Write("font1.bmp", TextureBmp()));
    for (auto _ : state) {
        open.prompts.answers = {QString::fromStdString(open.fontPath), picture};
        open.window.Editor().OpenCommand();
    }
    CheckNoMessage(state, open);
}
BENCHMARK(OpenCommand)->Arg(10)->Arg(1001);

// The game's texture: 1,024 x 1,024, 32 bits in run-length packets, white glyph cells on clear.
std::vector<std::byte> GameTga(std::uint8_t alpha = 255) {
    picture::Image image = picture::Filled(1024, 1024, {255, 255, 255, 0});
    for (int y = 0; y < 1024; ++y) {
        for (int x = 0; x < 1024; ++x) {
            if (x / 2 % 16 >= 2 && x / 2 % 16 <= 11 && y / 2 % 16 >= 2 && y / 2 % 16 <= 13) image.At(x, y).a = alpha;
        }
    }
    return testing_support::Tga32(image, true);
}

// The open command on the game's TGA, painted: beside FloorDecodeGameTga, its decode alone.
void OpenCommandTga(benchmark::State& state) {
    OpenWindow open(bench::FontOfGlyphs(10));
    const QString picture = QString::fromStdString(open.dir.Write("font1.tga", GameTga()));
    auto* shown = open.Child<QWidget>("Picture1");
    for (auto _ : state) {
        open.prompts.answers = {QString::fromStdString(open.fontPath), picture};
        open.window.Editor().OpenCommand();
        shown->repaint();
    }
    CheckNoMessage(state, open);
}
BENCHMARK(OpenCommandTga)->Unit(benchmark::kMillisecond);

void FloorDecodeGameTga(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string picture = dir.Write("font1.tga", GameTga());
    for (auto _ : state) benchmark::DoNotOptimize(picture::DecodePicture(picture).image.pixels.data());
}
BENCHMARK(FloorDecodeGameTga)->Unit(benchmark::kMillisecond);

// The followed TGA saved anew, from the settled timer to Picture1 painted (the file's save is
// not timed).
void ReloadFollowedTga(benchmark::State& state) {
    OpenWindow open(bench::FontOfGlyphs(10));
    const std::string path = open.dir.Write("font1.tga", GameTga());
    open.prompts.answers = {QString::fromStdString(open.fontPath), QString::fromStdString(path)};
    open.window.Editor().OpenCommand();
    auto* shown = open.Child<QWidget>("Picture1");
    const std::vector<std::byte> saves[] = {GameTga(200), GameTga(255)};
    std::size_t next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        open.dir.Write("font1.tga", saves[next ^= 1]);
        std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(1));
        state.ResumeTiming();
        open.window.Editor().OnTimer(editor::Timer::TextureSettled);
        shown->repaint();
    }
    CheckNoMessage(state, open);
}
BENCHMARK(ReloadFollowedTga)->Unit(benchmark::kMillisecond);

// The start-up routine up to the window shown, with its first events handled.
void StartUp(benchmark::State& state) {
    ScriptedPrompts prompts;
    for (auto _ : state) {
        auto window = std::make_unique<ui::Form1>(prompts, '.');
        window->show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.get());
    }
}
BENCHMARK(StartUp)->Unit(benchmark::kMillisecond);

// A window that carries out nothing but the selector, for the editor's own cost.
class QuietView final : public editor::View {
public:
    editor::Editor* editor = nullptr;
    std::deque<std::filesystem::path> answers;
    int messages = 0;
    std::int32_t maximum = 0;
    std::int32_t value = 0;
    std::map<editor::Box, std::string> texts;

    void SetText(editor::Box box, const std::string& text) override { texts[box] = text; }
    std::string Text(editor::Box box) const override { return texts.at(box); }
    void SetCaption(editor::Label, const std::string&) override {}
    void SetVisible(editor::Control, bool) override {}
    void SetEnabled(editor::Control, bool) override {}
    void SetControlText(editor::ControlText, const std::string&) override {}
    void CheckLanguage(editor::Language) override {}
    void SetSelectorMaximum(std::int32_t max) override {
        maximum = std::max(max, 0);
        if (value > maximum) SetSelectorValue(maximum);
    }
    std::int32_t SelectorValue() const override { return value; }
    void SetSelectorValue(std::int32_t v) override {
        value = v;
        editor->OnSelectorChanged();
    }
    bool LeftButtonDown() const override { return false; }
    void ShowTexture(const picture::Image& texture) override { benchmark::DoNotOptimize(texture.pixels.data()); }
    void ClearDrawing() override {}
    void SetPixel(std::int32_t x, std::int32_t y, picture::Rgba) override { benchmark::DoNotOptimize(x + y); }
    std::optional<std::filesystem::path> ChooseExistingFile(const std::string&, const std::string&,
                                                            const std::filesystem::path&,
                                                            const std::filesystem::path&) override {
        if (answers.empty()) return std::nullopt;
        std::filesystem::path answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void Exclaim(const std::string&, const std::string&) override { ++messages; }
    void Inform(const std::string&, const std::string&) override { ++messages; }
    void StartTimer(editor::Timer, int) override {}
    void StopTimer(editor::Timer) override {}
    void WatchFile(const std::filesystem::path&) override {}
    void StopWatching() override {}
    void SetCursor(editor::Surface, editor::Cursor) override {}
    void ShowMagnifier(bool) override {}
    void RedrawMagnifier() override { benchmark::DoNotOptimize(editor->Magnifier()); }
    std::optional<editor::RenderValues> AskRenderValues(const editor::RenderDialogTexts&, const editor::RenderValues&) override {
        return renderValues;
    }
    std::optional<editor::RenderValues> renderValues;
};

struct OpenEditor {
    explicit OpenEditor(const std::vector<std::byte>& fontBytes, const std::vector<std::byte>& pictureBytes = TextureBmp(),
                        const std::string& pictureName = "font1.bmp")
        : fontPath(dir.Write("font1.gmf", fontBytes)), picturePath(dir.Write(pictureName, pictureBytes)), editor(view, '.') {
        view.editor = &editor;
        Open();
    }
    void Open() {
        view.answers = {fontPath, picturePath};
        editor.OpenCommand();
    }

    bench::ScratchDir dir;
    std::string fontPath;
    std::string picturePath;
    QuietView view;
    editor::Editor editor;
};

void CheckNoMessage(benchmark::State& state, const OpenEditor& open) {
    if (open.view.messages != 0) state.SkipWithError("the editor showed a message");
}

void CoreRefreshBySelector(benchmark::State& state) {
    OpenEditor open(FontForRefresh(state.range(0) != 0));
    int value = 0;
    for (auto _ : state) {
        value = value == 0 ? 1 : 0;
        open.view.SetSelectorValue(value);
    }
    CheckNoMessage(state, open);
}
BENCHMARK(CoreRefreshBySelector)->ArgName("far_out")->Arg(0)->Arg(1);

void CoreArrowClick(benchmark::State& state) {
    OpenEditor open(bench::FontOfGlyphs(100));
    const editor::Control arrows[] = {editor::Control::Command5, editor::Control::Command4};
    std::size_t next = 0;
    for (auto _ : state) {
        open.editor.ClickArrow(arrows[next]);
        next ^= 1;
    }
    CheckNoMessage(state, open);
}
BENCHMARK(CoreArrowClick);

// Undo and redo of an arrow's store, the glyph shown again after each: what a held Ctrl+Z costs.
void CoreUndoRedo(benchmark::State& state) {
    OpenEditor open(bench::FontOfGlyphs(100));
    open.editor.ClickArrow(editor::Control::Command5);
    for (auto _ : state) {
        open.editor.Undo();
        open.editor.Redo();
    }
    CheckNoMessage(state, open);
}
BENCHMARK(CoreUndoRedo);

// A fit of every glyph of a full font, each moved, and its undo: 1001 records read, fitted,
// written and taken back, and the report.
void CoreFitAllGlyphs(benchmark::State& state) {
    std::vector<testing_support::InkBlock> ink;
    for (int cell = 0; cell < 256; ++cell) {
        const int x = cell % 16 * 32, y = cell / 16 * 32;
        ink.push_back({x + 2, x + 10, y + 2, y + 20});
    }
    OpenEditor open(bench::FontOfGlyphs(1001), testing_support::InkOnWhite(512, ink));
    for (auto _ : state) {
        open.editor.FitAllGlyphs();
        open.editor.Undo();
    }
    if (open.view.messages != static_cast<int>(state.iterations())) state.SkipWithError("not one report a fit");
}
BENCHMARK(CoreFitAllGlyphs)->Unit(benchmark::kMillisecond);

void CoreOpenCommand(benchmark::State& state) {
    OpenEditor open(bench::FontOfGlyphs(static_cast<int>(state.range(0))));
    for (auto _ : state) open.Open();
    CheckNoMessage(state, open);
}
BENCHMARK(CoreOpenCommand)->Arg(10)->Arg(1001);

// A click on Picture1 where no glyph of a full table lies: the whole table read and tested.
void CoreClickOnPicture(benchmark::State& state) {
    OpenEditor open(bench::FontOfGlyphs(1001));
    for (auto _ : state) {
        open.editor.PressPicture(editor::Surface::Picture1, 20, 5);
        open.editor.ReleasePicture(editor::Surface::Picture1, 20, 5);
    }
    if (open.view.value != 0) state.SkipWithError("a glyph was selected");
    CheckNoMessage(state, open);
}
BENCHMARK(CoreClickOnPicture);

// The floor of that click: the table read once, as a load reads it.
void FloorReadTable(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string path = dir.Write("font1.gmf", bench::FontOfGlyphs(1001));
    for (auto _ : state) {
        runtime::BinaryFile file = runtime::BinaryFile::OpenForReading(path);
        benchmark::DoNotOptimize(font::ReadFontTable(file).glyphs.data());
    }
}
BENCHMARK(FloorReadTable);

// A mouse move while the left edge is dragged, one edit unit to and fro, the magnifier open.
void CoreDragMove(benchmark::State& state) {
    OpenEditor open(bench::FontOfGlyphs(100));
    open.editor.ToggleMagnifier();
    open.editor.OnMagnifierResized(400, 400);
    open.editor.PressPicture(editor::Surface::Picture1, 0, 10);
    open.editor.MovePicture(editor::Surface::Picture1, 10, 10);
    int x = 10;
    for (auto _ : state) {
        x = x == 10 ? 12 : 10;
        open.editor.MovePicture(editor::Surface::Picture1, x, 10);
    }
    if (!open.editor.Dragging()) state.SkipWithError("no drag");
    CheckNoMessage(state, open);
}
BENCHMARK(CoreDragMove);

// Characters for the glyphs a translation draws: Cyrillic, then Latin letters and digits.
std::string Characters(int count) {
    std::u32string all;
    for (char32_t c = U'А'; c <= U'я'; ++c) all += c;
    for (char32_t c = U'A'; c <= U'Z'; ++c) all += c;
    for (char32_t c = U'0'; c <= U'9'; ++c) all += c;
    std::string utf8;
    for (const char32_t c : all.substr(0, static_cast<std::size_t>(count))) utf8 += glyphs::Utf8(c);
    return utf8;
}

editor::RenderValues DrawValues(int count) {
    editor::RenderValues values;
    values.typeface = RUNEPLOT_TEST_TTF;
    values.characters = Characters(count);
    return values;
}

// The dialog's preview as a value changes, for 30 glyphs on the game's 1,024 x 1,024 TGA: the
// size typed anew each time, so that no glyph image is kept from the last one.
void CorePreviewRender(benchmark::State& state) {
    OpenEditor open(bench::FontOfGlyphs(100), GameTga(), "font1.tga");
    editor::RenderValues values = DrawValues(30);
    int px = 40;
    for (auto _ : state) {
        values.px = px = px == 40 ? 41 : 40;
        const editor::RenderPreview preview = open.editor.PreviewRender(values);
        if (!preview.canDraw) state.SkipWithError("no drawing planned");
        benchmark::DoNotOptimize(preview.image.pixels.data());
    }
}
BENCHMARK(CorePreviewRender)->Unit(benchmark::kMillisecond);

// "Нарисовать" for 100 glyphs on the game's TGA, the size chosen, to the texture's and the records'
// writing and the texture shown; each undone again outside the timing.
void CoreDrawGlyphs(benchmark::State& state) {
    OpenEditor open(bench::FontOfGlyphs(100), GameTga(), "font1.tga");
    open.view.renderValues = DrawValues(100);
    for (auto _ : state) {
        open.editor.DrawGlyphsCommand();
        state.PauseTiming();
        open.editor.Undo();
        state.ResumeTiming();
    }
    CheckNoMessage(state, open);
}
BENCHMARK(CoreDrawGlyphs)->Unit(benchmark::kMillisecond);

// The picture layer's share of an open: the texture decoded once.
void DecodeTexture(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string path = dir.Write("font1.bmp", TextureBmp());
    for (auto _ : state) benchmark::DoNotOptimize(picture::DecodeBmp(path).pixels.data());
}
BENCHMARK(DecodeTexture);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
