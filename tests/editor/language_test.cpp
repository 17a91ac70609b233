// The window's texts in either language, and the choice kept between runs.
#include "editor/texts.h"
#include "tests/editor/editor_fixture.h"

namespace {

using editor::ControlText;
using editor::Language;
using editor::Text;
using testing_support::EditorTest;
using testing_support::FontBytes;
using testing_support::Glyph;
using testing_support::GreyBmp;

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

bool HasCyrillic(const std::string& text) {
    // U+0400 to U+04FF begin with the bytes D0 to D3 in UTF-8.
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0xD0 && static_cast<unsigned char>(c) <= 0xD3) return true;
    }
    return false;
}

TEST(Texts, EveryTextInBothLanguagesWithTheSameGaps) {
    for (int i = 0; i < editor::kTextCount; ++i) {
        const auto text = static_cast<Text>(i);
        const std::string russian = editor::TextOf(text, Language::Russian);
        const std::string english = editor::TextOf(text, Language::English);
        SCOPED_TRACE(russian);
        EXPECT_FALSE(russian.empty());
        EXPECT_FALSE(english.empty());
        EXPECT_EQ(Count(russian, "{}"), Count(english, "{}"));
        const bool bilingual = text == Text::LanguageMenu || text == Text::RussianItem;
        EXPECT_EQ(HasCyrillic(english), bilingual) << english;
    }
    EXPECT_EQ(editor::FitAllReport(0, 9, {1, 2, 3, 4, 5, 9}, Language::English),
              "Glyphs fitted: 0 of 9.\nNo image on the picture, not changed: 1, 2, 3, 4, 5 and 1 more.");

    // The English help keeps the Russian one's shape: its empty lines and its rows of stars.
    const std::string help = editor::HelpText(Language::English);
    EXPECT_EQ(Count(help, "\r\n"), 16u);
    EXPECT_EQ(Count(help, "\r\n\r\n"), 3u);
    EXPECT_EQ(help.substr(help.size() - 45), std::string(45, '*'));
}

class LanguageChoice : public EditorTest {};

TEST_F(LanguageChoice, SwitchesEveryTextAtOnceAndBackAndIsKept) {
    testing_support::FakeSettings settings;
    view = testing_support::FakeView();
    editor = std::make_unique<editor::Editor>(view, separator, &settings);
    view.editor = editor.get();
    EXPECT_EQ(view.checkedLanguage, Language::Russian) << "the first start";
    EXPECT_EQ(view.controlTexts.size(), 20u) << "every text of the window";
    const auto font = OpenFont(FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3125f, 1)}));
    const auto russianTexts = view.controlTexts;
    const auto russianCaptions = view.captions;
    const auto russianBoxes = view.texts;
    EXPECT_TRUE(settings.values.empty()) << "nothing is written until a language is chosen";

    editor->ChooseLanguage(Language::English);
    EXPECT_EQ(view.checkedLanguage, Language::English);
    for (const auto& [control, text] : view.controlTexts) {
        const bool bilingual = control == ControlText::LanguageMenu || control == ControlText::Russian ||
                               control == ControlText::English;
        EXPECT_EQ(text == russianTexts.at(control), bilingual) << text;
    }
    EXPECT_EQ(view.captions[editor::Label::Label1], "Glyph 1");
    EXPECT_EQ(view.texts[editor::Box::info], editor::HelpText(Language::English));
    EXPECT_EQ(view.texts[editor::Box::Text1], "64") << "the numbers stay";
    EXPECT_EQ(settings.values["Language"], "en");

    editor->ChooseLanguage(Language::Russian);
    EXPECT_EQ(view.controlTexts, russianTexts);
    EXPECT_EQ(view.captions, russianCaptions);
    EXPECT_EQ(view.texts, russianBoxes);
    EXPECT_EQ(settings.values["Language"], "ru");

    // The next start, in English: the dialogs and the messages too.
    editor->ChooseLanguage(Language::English);
    view = testing_support::FakeView();
    editor = std::make_unique<editor::Editor>(view, separator, &settings);
    view.editor = editor.get();
    EXPECT_EQ(view.controlTexts[ControlText::Command1], "Save");
    EXPECT_EQ(view.texts[editor::Box::info], editor::HelpText(Language::English));
    view.TakeCalls();
    Open(font, Write("small.bmp", GreyBmp(256, 256)));
    EXPECT_EQ(view.questions[0].title, "Open file *.gmf");
    EXPECT_EQ(view.questions[0].filter, "Fonts (.gmf)|*.gmf");
    EXPECT_EQ(view.questions[1].title, "Open file font1.bmp");
    const std::vector<std::string> calls = view.TakeCalls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "message Error: The font's picture must be 512x512 pixels."), calls.end());
    editor->TellUnexpectedFailure("std::bad_alloc");
    EXPECT_EQ(view.TakeCalls(), std::vector<std::string>{"message Error: std::bad_alloc"}) << "what a view caught";
}

}  // namespace
