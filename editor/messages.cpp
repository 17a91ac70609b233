#include "editor/messages.h"

#include <algorithm>
#include <iterator>

#include "picture/image.h"
#include "runtime/binary_file.h"

namespace editor {
namespace {

std::string Reason(const runtime::Failure& failure, const std::filesystem::path& font, Language language) {
    using runtime::FailureKind;
    const std::string path = runtime::DisplayPath(font);
    switch (failure.kind()) {
    case FailureKind::NotANumber: return TextOf(Text::NotANumber, language);
    case FailureKind::Overflow: return TextOf(Text::OutOfRange, language);
    case FailureKind::DivisionByZero:
    case FailureKind::InvalidOperation: return TextOf(Text::BadCellHeight, language);
    case FailureKind::FileNotOpened: return Format(Text::FileNotOpened, language, {path});
    case FailureKind::ReadFailed: return Format(Text::ReadFailed, language, {path});
    case FailureKind::WriteFailed: return Format(Text::WriteFailed, language, {path});
    case FailureKind::NoSuchGlyph: return TextOf(Text::NoSuchGlyph, language);
    case FailureKind::WouldEndTable: return TextOf(Text::WouldEndTable, language);
    case FailureKind::WouldChangeLayout: return TextOf(Text::WouldChangeLayout, language);
    case FailureKind::TextTooLong: return TextOf(Text::TextTooLong, language);
    case FailureKind::Malformed: return TextOf(Text::Malformed, language);
    case FailureKind::FileTooShort: return Format(Text::FileTooShort, language, {path});
    case FailureKind::ChangedOutside: return Format(Text::ChangedOutside, language, {path});
    case FailureKind::TextureChanged: return TextOf(Text::TextureChanged, language);
    }
    return failure.what();
}

}  // namespace

std::string HelpText(Language language) {
    std::string text;
    for (const char* c = TextOf(Text::Help, language); *c != '\0'; ++c) {
        if (*c == '\n') text += '\r';
        text += *c;
    }
    return text;
}

std::string FontNotFoundMessage(const std::filesystem::path& font, Language language) {
    const std::string message = Format(Text::FontNotFound, language, {runtime::DisplayPath(font)});
    return runtime::IsLongPathForSystem(font) ? message + TextOf(Text::LongPath, language) : message;
}

std::string ShortFontNameMessage(const std::filesystem::path& font, Language language) {
    return Format(Text::ShortFontName, language, {runtime::DisplayPath(font)});
}

std::string TextureTroubleMessage(TextureTrouble trouble, const std::filesystem::path& picture, Language language) {
    const std::string path = runtime::DisplayPath(picture);
    switch (trouble) {
    case TextureTrouble::Missing: return Format(Text::TextureMissing, language, {path});
    case TextureTrouble::WrongSize: return Format(Text::TextureWrongSize, language, {path});
    case TextureTrouble::NotDecodable:
        return Format(picture::NamedTga(picture) ? Text::TextureNotDecodableTga : Text::TextureNotDecodable, language, {path});
    }
    return path;
}

std::string NoInkMessage(std::int32_t glyphNumber, Language language) {
    return Format(Text::NoInk, language, {std::to_string(glyphNumber)});
}

std::string FitAllReport(std::int32_t changed, std::int32_t glyphCount, const std::vector<std::int32_t>& withoutInk,
                         Language language) {
    constexpr std::size_t kNamed = 5;
    std::string report = Format(Text::FitAllCount, language, {std::to_string(changed), std::to_string(glyphCount)});
    if (withoutInk.empty()) return report;
    std::string named;
    for (std::size_t i = 0; i < std::min(withoutInk.size(), kNamed); ++i) {
        named += (i > 0 ? ", " : "") + std::to_string(withoutInk[i]);
    }
    report += '\n';
    report += Format(Text::FitAllWithoutInk, language, {named});
    if (withoutInk.size() > kNamed) report += Format(Text::FitAllMore, language, {std::to_string(withoutInk.size() - kNamed)});
    return report + ".";
}

std::string FailureMessage(Action action, const runtime::Failure& failure, const std::filesystem::path& font,
                           Language language) {
    Text what = Text::ShowGlyphFailed;
    switch (action) {
    case Action::ShowGlyph: what = Text::ShowGlyphFailed; break;
    case Action::StoreGlyph: what = Text::StoreGlyphFailed; break;
    case Action::SaveFontParameters: what = Text::SaveFontParametersFailed; break;
    case Action::Undo: what = Text::UndoFailed; break;
    case Action::Redo: what = Text::RedoFailed; break;
    case Action::FitGlyph: what = Text::FitGlyphFailed; break;
    case Action::FitAllGlyphs: what = Text::FitAllGlyphsFailed; break;
    case Action::DrawGlyphs: what = Text::DrawGlyphsFailed; break;
    }
    return Format(what, language, {Reason(failure, font, language)});
}

namespace {

std::string CommandLineUsage(const std::string& program) {
    return "Запуск: " + program + " [--help] [--version] [ШРИФТ [РИСУНОК]]";
}

}  // namespace

std::string CommandLineHelp(const std::string& program) {
    return CommandLineUsage(program) + "\n\n"
           "Runeplot " RUNEPLOT_VERSION ": подгоняет прямоугольники символов шрифта .gmf к его рисунку.\n\n"
           "ШРИФТ - шрифт .gmf, который нужно открыть.\n"
           "РИСУНОК - его рисунок BMP 512 x 512 (по умолчанию - BMP с тем же именем рядом со шрифтом).\n"
           "--help - эта справка.\n"
           "--version - версия программы.";
}

std::string CommandLineVersion() { return "runeplot " RUNEPLOT_VERSION; }

std::string TooManyArgumentsMessage(const std::string& program) {
    return "Слишком много аргументов. " + CommandLineUsage(program);
}

}  // namespace editor
