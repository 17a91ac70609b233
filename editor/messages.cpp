#include "editor/messages.h"

#include <algorithm>
#include <iterator>

#include "runtime/binary_file.h"

namespace editor {
namespace {

std::string Reason(const runtime::Failure& failure, const std::filesystem::path& font) {
    using runtime::FailureKind;
    switch (failure.kind()) {
    case FailureKind::NotANumber:
        return "значение в поле не является числом.";
    case FailureKind::Overflow:
        return "значение вне допустимого диапазона.";
    case FailureKind::DivisionByZero:
    case FailureKind::InvalidOperation:
        return "высота символа в файле шрифта равна 0 или недопустима.";
    case FailureKind::FileNotOpened:
        return "не удалось открыть файл " + runtime::DisplayPath(font) + ".";
    case FailureKind::ReadFailed:
        return "не удалось прочитать файл " + runtime::DisplayPath(font) + ".";
    case FailureKind::WriteFailed:
        return "не удалось записать файл " + runtime::DisplayPath(font) + " (возможно, он только для чтения).";
    case FailureKind::NoSuchGlyph:
        return "в шрифте нет символа для сохранения.";
    case FailureKind::WouldEndTable:
        return "все три границы равны 0. Такая запись закончила бы таблицу символов, "
               "и все следующие символы пропали бы из редактора.";
    case FailureKind::WouldChangeLayout:
        return "такая запись изменила бы разметку таблицы символов шрифта.";
    case FailureKind::TextTooLong:
        return "текст в поле слишком длинный (255 символов или больше).";
    case FailureKind::Malformed:
        return "файл имеет неверный формат.";
    case FailureKind::FileTooShort:
        return "файл шрифта " + runtime::DisplayPath(font) +
               " короче, чем указано в его таблице символов (файл обрезан или не является шрифтом).";
    case FailureKind::ChangedOutside:
        return "файл шрифта " + runtime::DisplayPath(font) + " изменён вне окна. Ничего не записано.";
    }
    return failure.what();
}

}  // namespace

std::string HelpText() {
    const std::string stars(45, '*');
    const char* const lines[] = {
        stars.c_str(),
        "Runeplot 1.1 - программа для редактирования шрифтов в игре MAFIA.",
        "",
        "Небольшая справка:",
        "Выбираем желаемый шрифт - например font1.tga. Открываем его в фотошопе и редактируем символы.",
        "Ясно, что редактировать нужно во всех 4-х каналах: R,G,B и альфа. Сохраняем.",
        "2) Выбираем файл шрифта - font1.tga",
        // The letter between the numbers is the Cyrillic х (U+0445).
        "3) Увеличиваем его размер до расширения 512\u0445512 и сохраняем в формате bmp.",
        "4) Открываем в программе Runeplot файл font1.gmf и тут же открываем наш увеличенный bmp.",
        "Дальше - редактируем координаты нужных символов.",
        "",
        stars.c_str(),
        "Разработчики Runeplot.",
        "Подробности - в файле README.md программы.",
        "Ноябрь, 2006 год",
        "",
        stars.c_str(),
    };
    std::string text = lines[0];
    for (std::size_t i = 1; i < std::size(lines); ++i) text += std::string("\r\n") + lines[i];
    return text;
}

std::string FontNotFoundMessage(const std::filesystem::path& font) {
    return "Файл шрифта " + runtime::DisplayPath(font) + " не найден или не может быть прочитан.";
}

std::string ShortFontNameMessage(const std::filesystem::path& font) {
    return "Файл шрифта " + runtime::DisplayPath(font) +
           " не открыт: в имени файла шрифта должно быть не меньше четырёх символов (например, font1.gmf).";
}

std::string TextureTroubleMessage(TextureTrouble trouble, const std::filesystem::path& picture) {
    const std::string what = "Текстура не обновлена: файл " + runtime::DisplayPath(picture) + " ";
    const std::string kept = " На экране остаётся прежняя текстура.";
    switch (trouble) {
    case TextureTrouble::Missing:
        return what + "не найден." + kept;
    case TextureTrouble::WrongSize:
        return what + "должен иметь размер 512x512 пикселей." + kept;
    case TextureTrouble::NotDecodable:
        return what + "не удалось прочитать как рисунок BMP." + kept;
    }
    return what;
}

std::string NoInkMessage(std::int32_t glyphNumber) {
    return "Символ № " + std::to_string(glyphNumber) + " не подогнан: в его области на рисунке нет изображения. "
           "Ничего не записано.";
}

std::string FitAllReport(std::int32_t changed, std::int32_t glyphCount, const std::vector<std::int32_t>& withoutInk) {
    constexpr std::size_t kNamed = 5;
    std::string report = "Подогнано символов: " + std::to_string(changed) + " из " + std::to_string(glyphCount) + ".";
    if (withoutInk.empty()) return report;
    report += "\nБез изображения на рисунке, не изменены: № ";
    for (std::size_t i = 0; i < std::min(withoutInk.size(), kNamed); ++i) {
        report += (i > 0 ? ", " : "") + std::to_string(withoutInk[i]);
    }
    if (withoutInk.size() > kNamed) report += " и ещё " + std::to_string(withoutInk.size() - kNamed);
    return report + ".";
}

std::string FailureMessage(Action action, const runtime::Failure& failure, const std::filesystem::path& font) {
    std::string what;
    switch (action) {
    case Action::ShowGlyph:
        what = "Не удалось показать символ: ";
        break;
    case Action::StoreGlyph:
        what = "Символ не сохранён: ";
        break;
    case Action::SaveFontParameters:
        what = "Параметры шрифта не сохранены: ";
        break;
    case Action::Undo:
        what = "Не удалось отменить: ";
        break;
    case Action::Redo:
        what = "Не удалось повторить: ";
        break;
    case Action::FitGlyph:
        what = "Символ не подогнан: ";
        break;
    case Action::FitAllGlyphs:
        what = "Символы не подогнаны: ";
        break;
    }
    return what + Reason(failure, font);
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
