#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "editor/texts.h"
#include "win32/command_line.h"
#include "win32/dialogs.h"
#include "win32/gdi.h"
#include "win32/layout.h"
#include "win32/pictures.h"
#include "win32/render_dialog.h"
#include "win32/settings_file.h"
#include "win32/text.h"

namespace {

using win32::Pixels;

struct TwipsRow {
    int twips;
    int dpi;
    int pixels;
};

TEST(Layout, TwipsRoundToTheNearestPixelHalvesAwayFromZero) {
    const TwipsRow rows[] = {
        {15, 96, 1},        {7, 96, 0},          {8, 96, 1},       // just under and over half a pixel
        {190, 96, 13},      {7695, 96, 513},     {-120, 96, -8},   // the arrows, Shape1, Label3(4)'s Left
        {11655, 96, 777},   {8040, 96, 536},     {885, 96, 59},    // the client area; 885 is 59 exactly
        {885, 144, 89},     {-125, 144, -13},    {5, 144, 1},      // halves, both signs
        {4, 144, 0},        {7680, 144, 768},    {11655, 144, 1166},
        {190, 144, 19},     {1440, 120, 120},    {0, 144, 0},
    };
    for (const TwipsRow& row : rows) {
        EXPECT_EQ(win32::TwipsToPixels(row.twips, row.dpi), row.pixels) << row.twips << " twips at " << row.dpi;
    }
}

TEST(Layout, EachEdgeOfAPlaceConvertsOnItsOwn) {
    // Command4: Left, Top, Width, Height in that order, each rounded by itself.
    EXPECT_EQ(win32::ToPixels({3360, 570, 255, 190}, 96), (Pixels{224, 38, 17, 13}));
    EXPECT_EQ(win32::ToPixels({3360, 570, 255, 190}, 144), (Pixels{336, 57, 26, 19}));
    EXPECT_EQ(win32::ToPixels({-120, 1080, 1575, 255}, 96), (Pixels{-8, 72, 105, 17}));
}

TEST(Layout, FontSizesInPixels) {
    EXPECT_EQ(win32::PointsToPixels(8.25, 96), 11);
    EXPECT_EQ(win32::PointsToPixels(12, 96), 16);
    EXPECT_EQ(win32::PointsToPixels(18, 96), 24);
    EXPECT_EQ(win32::PointsToPixels(24, 96), 32);
    EXPECT_EQ(win32::PointsToPixels(8.25, 144), 17);  // 16.5
    EXPECT_EQ(win32::PointsToPixels(12, 144), 24);
}

TEST(Layout, PicturesGrowOnlyByWholeSteps) {
    // 120 DPI would stretch the texture by 1.25, each fourth pixel twice as wide as the rest.
    const std::pair<int, int> rows[] = {{72, 1}, {96, 1}, {144, 1}, {191, 1}, {192, 2}, {288, 3}};
    for (const auto& [dpi, scale] : rows) {
        EXPECT_EQ(win32::PictureScale(dpi), scale) << dpi << " DPI";
        // The picture stays inside the layout's place for it, which below 96 DPI is too small for it.
        if (dpi >= 96) {
            EXPECT_LE(512 * scale, win32::TwipsToPixels(7680, dpi)) << dpi << " DPI";
        }
    }
}

constexpr std::uint32_t kBackground = 0xD8D8D8;
constexpr std::uint32_t kOutline = 0x008000;
constexpr std::uint32_t kFill = 0x00FF00;

// The up arrow as its table gives it: outline and fill columns of each row.
std::uint32_t UpArrowPixel(int column, int row) {
    const auto in = [column](int first, int last) { return column >= first && column <= last; };
    switch (row) {
    case 1: return in(5, 6) ? kOutline : kBackground;
    case 2:
    case 3: return column == 4 || column == 7 ? kOutline : in(5, 6) ? kFill : kBackground;
    case 4:
    case 5: return column == 3 || column == 8 ? kOutline : in(4, 7) ? kFill : kBackground;
    case 6: return column == 2 || column == 9 ? kOutline : in(3, 8) ? kFill : kBackground;
    case 7: return in(2, 9) ? kOutline : kBackground;
    default: return kBackground;
    }
}

TEST(Arrows, UpByTheTableDownUpsideDown) {
    const std::vector<std::uint32_t> up = win32::ArrowBits(editor::Arrow::Up, 1);
    const std::vector<std::uint32_t> down = win32::ArrowBits(editor::Arrow::Down, 1);
    ASSERT_EQ(up.size(), 12u * 8u);
    ASSERT_EQ(down.size(), 12u * 8u);
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 12; ++column) {
            EXPECT_EQ(up[row * 12 + column], UpArrowPixel(column, row)) << "up, column " << column << " row " << row;
            EXPECT_EQ(down[row * 12 + column], UpArrowPixel(column, 7 - row))
                << "down, column " << column << " row " << row;
        }
    }
}

TEST(Arrows, ScaledEachPixelABlock) {
    const std::vector<std::uint32_t> up = win32::ArrowBits(editor::Arrow::Up, 2);
    ASSERT_EQ(up.size(), 24u * 16u);
    for (int row = 0; row < 16; ++row) {
        for (int column = 0; column < 24; ++column) {
            ASSERT_EQ(up[row * 24 + column], UpArrowPixel(column / 2, row / 2)) << column << ", " << row;
        }
    }
}

TEST(Arrows, ColoursAreRedGreenBlueFromTheTop) {
    EXPECT_EQ(win32::ToBgrx({0x12, 0x34, 0x56, 0}), 0x123456u);  // the alpha takes no part
    EXPECT_EQ(win32::ToBgrx({0xFF, 0x00, 0x00, 255}), 0xFF0000u);
}

TEST(DialogFilter, TextAndPatternEachEndedAndTheListEndedAgain) {
    struct Row {
        std::string filter;
        std::wstring expected;
    };
    const Row rows[] = {
        {".gmf|*.gmf", std::wstring(L".gmf\0*.gmf\0", 11)},
        {"мой шрифт [1].bmp|мой шрифт [1].bmp",
         std::wstring(L"\u043C\u043E\u0439 \u0448\u0440\u0438\u0444\u0442 [1].bmp\0"
                      L"\u043C\u043E\u0439 \u0448\u0440\u0438\u0444\u0442 [1].bmp\0",
                      36)},
        {".bmp|.bmp", std::wstring(L".bmp\0.bmp\0", 10)},  // a font named .gmf
        {"font1.bmp", std::wstring(L"font1.bmp\0font1.bmp\0", 20)},
    };
    for (const Row& row : rows) {
        const std::wstring filter = win32::DialogFilter(row.filter);
        EXPECT_EQ(filter, row.expected) << row.filter;
        // The list ends in two NULs: the one in the string and its terminator.
        EXPECT_EQ(filter.c_str()[filter.size()], L'\0');
    }
}

TEST(CommandLine, FontAndPictureWhole) {
    struct Row {
        const wchar_t* line;
        std::wstring font;
        std::wstring picture;
    };
    const Row rows[] = {
        {L"", L"", L""},
        {L"runeplot.exe", L"", L""},
        {L"\"C:\\Program Files\\Runeplot\\runeplot.exe\" font1.gmf", L"font1.gmf", L""},
        {L"runeplot.exe \"C:\\\u0428\u0440\u0438\u0444\u0442\u044B \u043C\u043E\u0434\u0430\\\u043C\u043E\u0439.gmf\"",
         L"C:\\\u0428\u0440\u0438\u0444\u0442\u044B \u043C\u043E\u0434\u0430\\\u043C\u043E\u0439.gmf", L""},
        {L"runeplot.exe a.gmf \"b c.bmp\"", L"a.gmf", L"b c.bmp"},
        {L"runeplot.exe \"a [1].gmf\"   b.bmp", L"a [1].gmf", L"b.bmp"},
    };
    for (const Row& row : rows) {
        const std::optional<win32::CommandLine> parsed = win32::ParseCommandLine(row.line);
        ASSERT_TRUE(parsed) << win32::Narrow(row.line);
        EXPECT_EQ(parsed->font.wstring(), row.font) << win32::Narrow(row.line);
        EXPECT_EQ(parsed->picture.wstring(), row.picture) << win32::Narrow(row.line);
    }
}

TEST(CommandLine, AThirdFileIsRefused) {
    EXPECT_FALSE(win32::ParseCommandLine(L"runeplot.exe a.gmf b.bmp c"));
    EXPECT_FALSE(win32::ParseCommandLine(L"runeplot.exe a.gmf b.bmp \"\""));  // even an empty one
    EXPECT_TRUE(win32::ParseCommandLine(L"runeplot.exe a.gmf \"\""));
}

TEST(CommandLine, HelpAndVersionAnywhereEndTheStart) {
    const struct { const wchar_t* line; bool help, version; } rows[] = {
        {L"runeplot.exe --help", true, false},         {L"runeplot.exe /?", true, false},
        {L"runeplot.exe -h", true, false},             {L"runeplot.exe \"--help\"", true, false},
        {L"runeplot.exe a.gmf b.bmp c --help", true, false},  // not refused for the third file
        {L"runeplot.exe --version", false, true},      {L"runeplot.exe a.gmf -v", false, true},
        {L"runeplot.exe --helper.gmf", false, false},  {L"runeplot.exe --Help", false, false},
    };
    for (const auto& row : rows) {
        const std::optional<win32::CommandLine> parsed = win32::ParseCommandLine(row.line);
        ASSERT_TRUE(parsed) << win32::Narrow(row.line);
        EXPECT_EQ(parsed->help, row.help) << win32::Narrow(row.line);
        EXPECT_EQ(parsed->version, row.version) << win32::Narrow(row.line);
    }
}

// The window splits its command line itself, so as not to load the shell at start; Windows' own
// CommandLineToArgvW is the judge of every row.
TEST(CommandLine, SplitAsWindowsSplitsIt) {
    const wchar_t* const lines[] = {
        L"runeplot.exe a.gmf",
        L"runeplot.exe\ta.gmf\t\tb.bmp ",
        L"\"C:\\Program Files\\runeplot.exe\"a.gmf",
        L"C:\\runeplot\\runeplot.exe \"C:\\My Fonts\\\\\" b.bmp",
        L"runeplot.exe \"C:\\My Fonts\\\" b.bmp",
        L"runeplot.exe a\\\\b.gmf c\\\\\\d.bmp",
        L"runeplot.exe a\\\"b.gmf",
        L"runeplot.exe a\\\\\"b c\" d",
        L"runeplot.exe \"a b\"c.gmf d.bmp",
        L"runeplot.exe \"\"\"a\"\"\" b",
        L"runeplot.exe \"a\"\"b\" c",
        L"runeplot.exe \"\" b.bmp",
        L"runeplot.exe \"unclosed b.bmp",
        L"runeplot.exe a.gmf b.bmp c",
        L"runeplot.exe a.gmf \"b c\"\"\"",
        L"\"runeplot.exe",
    };
    for (const wchar_t* line : lines) {
        int count = 0;
        wchar_t** windows = CommandLineToArgvW(line, &count);
        ASSERT_NE(windows, nullptr);
        const std::optional<win32::CommandLine> parsed = win32::ParseCommandLine(line);
        EXPECT_EQ(parsed.has_value(), count <= 3) << win32::Narrow(line);
        if (parsed) {
            EXPECT_EQ(parsed->font.wstring(), count > 1 ? windows[1] : L"") << win32::Narrow(line);
            EXPECT_EQ(parsed->picture.wstring(), count > 2 ? windows[2] : L"") << win32::Narrow(line);
        }
        LocalFree(windows);
    }
}

TEST(Text, Utf8AndUtf16RoundTrip) {
    EXPECT_EQ(win32::Widen("Ж"), L"\u0416");
    EXPECT_EQ(win32::Narrow(L"\u0416"), "Ж");
    EXPECT_EQ(win32::Widen(""), L"");
    const std::string mixed = "Символ № 1 \xF0\x9F\x98\x80 x";  // a letter beyond 16 bits too
    EXPECT_EQ(win32::Widen(mixed).size(), 15u);
    EXPECT_EQ(win32::Narrow(win32::Widen(mixed)), mixed);
}

TEST(SettingsFile, UnderAppDataAsAnIniFileAndAnyTroubleIsTheDefaultSilently) {
    using editor::Language;
    SetEnvironmentVariableW(L"APPDATA", L"C:\\Users\\Мария\\AppData\\Roaming");
    EXPECT_EQ(win32::SettingsFile::UserFile(), std::filesystem::path(L"C:\\Users\\Мария\\AppData\\Roaming\\Runeplot\\runeplot.ini"));
    SetEnvironmentVariableW(L"APPDATA", nullptr);
    EXPECT_TRUE(win32::SettingsFile::UserFile().empty());

    const std::filesystem::path dir = std::filesystem::temp_directory_path() / L"runeplot settings тест";
    std::filesystem::remove_all(dir);
    const auto read = [](const std::filesystem::path& file) { return editor::ReadSettings(win32::SettingsFile(file)).language; };
    const std::filesystem::path file = dir / L"Runeplot" / L"runeplot.ini";
    win32::SettingsFile settings(file);
    editor::WriteSettings(settings, {Language::English, {}});  // makes its folder
    EXPECT_EQ(read(file), Language::English);
    // A file where the settings' folder would be: nothing is written, and nothing is said.
    std::ofstream(dir / L"file").close();
    win32::SettingsFile blocked(dir / L"file" / L"runeplot.ini");
    editor::WriteSettings(blocked, {Language::English, {}});
    EXPECT_EQ(read(dir / L"file" / L"runeplot.ini"), Language::Russian);
    std::filesystem::remove_all(dir);
}

// How wide Windows draws a text in a font of the layout at its density.
int TextWidth(editor::Text text, editor::Language language, bool bold) {
    const win32::MemoryDc dc(nullptr);
    const win32::Font font = win32::MakeFont(8.25, bold, win32::kLayoutDpi);
    const win32::Selection selected(dc.get(), font.get());
    const std::wstring shown = win32::Widen(editor::TextOf(text, language));
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), shown.c_str(), static_cast<int>(shown.size()), &size);
    return size.cx;
}

// Measured as Windows draws them at the layout's density: a caption wider than its control is cut.
TEST(Texts, EachCaptionFitsItsControl) {
    using editor::Text;
    struct Row {
        Text text;
        int left;   // twips; a label may start left of its group, and that part is not shown
        int width;  // twips
        bool bold;
    };
    constexpr int kButtonEdges = 6;  // pixels of the save button's raised edge and focus frame
    const Row rows[] = {
        {Text::LeftEdgeLabel, 120, 2415, false},    {Text::TopEdgeLabel, 0, 2535, false},
        {Text::RightEdgeLabel, 0, 2535, false},     {Text::ParametersHeading, 720, 2535, false},
        {Text::FontSizeLabel, 0, 1335, false},      {Text::SpaceWidthLabel, -120, 1575, false},
        {Text::SaveButton, 0, 1095, true},
    };
    for (const editor::Language language : {editor::Language::Russian, editor::Language::English}) {
        for (const Row& row : rows) {
            const int shown = win32::TwipsToPixels(row.width + std::min(row.left, 0), win32::kLayoutDpi) -
                              (row.text == Text::SaveButton ? kButtonEdges : 0);
            EXPECT_LE(TextWidth(row.text, language, row.bold), shown) << editor::TextOf(row.text, language);
        }
    }
}

TEST(Texts, EachDrawDialogTextFitsItsControl) {
    using editor::Text;
    namespace at = win32::render_layout;
    // Pixels of a control that its text does not get: a radio button's circle and gap, a push
    // button's edges and focus frame, a list's arrow button and edges.
    const int kRadio = GetSystemMetrics(SM_CXMENUCHECK) + 6;
    constexpr int kButton = 8;
    const int kList = GetSystemMetrics(SM_CXVSCROLL) + 6;
    const struct {
        Text text;
        win32::Twips place;
        int spent;
    } rows[] = {
        {Text::RenderTypeface, at::kTypefaceLabel, 0},       {Text::RenderBrowse, at::kBrowse, kButton},
        {Text::RenderCharacters, at::kCharactersChoice, kRadio}, {Text::RenderFirstGlyph, at::kFirstGlyphLabel, 0},
        {Text::RenderCodePage, at::kCodePageChoice, kRadio},     {Text::RenderFirstByte, at::kFirstByteLabel, 0},
        {Text::RenderSize, at::kSizeLabel, 0},               {Text::RenderBaseline, at::kBaselineLabel, 0},
        {Text::RenderAutomatic, at::kAutomaticHint, 0},      {Text::RenderHinting, at::kHintingLabel, 0},
        {Text::RenderHintingNone, at::kHintingList, kList},  {Text::RenderHintingLight, at::kHintingList, kList},
        {Text::RenderHintingFull, at::kHintingList, kList},  {Text::RenderWidth, at::kWidthLabel, 0},
        {Text::RenderWidthAdvance, at::kWidthList, kList},   {Text::RenderWidthInk, at::kWidthList, kList},
        {Text::RenderDraw, at::kDraw, kButton},              {Text::RenderCancel, at::kCancel, kButton},
    };
    for (const editor::Language language : {editor::Language::Russian, editor::Language::English}) {
        for (const auto& row : rows) {
            EXPECT_LE(TextWidth(row.text, language, false), win32::TwipsToPixels(row.place.width, win32::kLayoutDpi) - row.spent)
                << editor::TextOf(row.text, language);
        }
    }
    // The preview, drawn pixel for pixel, has the whole of its place.
    EXPECT_EQ(win32::ToPixels(at::kPreview, win32::kLayoutDpi).width, editor::kPreviewWidth);
    EXPECT_EQ(win32::ToPixels(at::kPreview, win32::kLayoutDpi).height, editor::kPreviewHeight);
}

}  // namespace
