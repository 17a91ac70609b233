#include "editor/texts.h"

#include <iterator>

namespace editor {
namespace {

#define RUNEPLOT_STARS "*********************************************"

struct Row {
    Text text;
    const char* russian;
    const char* english;
};

// The English texts are as short as the Russian ones or shorter: each must fit the control the
// layout drew for the Russian one.
constexpr Row kTexts[] = {
    {Text::OpenMenu, "Открыть", "Open"},
    {Text::EditMenu, "Правка", "Edit"},
    {Text::UndoItem, "Отменить", "Undo"},
    {Text::RedoItem, "Повторить", "Redo"},
    {Text::FitGlyphItem, "Подогнать символ по рисунку", "Fit glyph to picture"},
    {Text::FitAllGlyphsItem, "Подогнать все символы", "Fit all glyphs"},
    {Text::DrawGlyphsItem, "Нарисовать символы из шрифта…", "Draw glyphs from a font…"},
    {Text::ViewMenu, "Вид", "View"},
    {Text::MagnifierItem, "Лупа", "Magnifier"},
    // Readable whichever language is chosen.
    {Text::LanguageMenu, "Язык / Language", "Язык / Language"},
    {Text::RussianItem, "Русский", "Русский"},
    {Text::EnglishItem, "English", "English"},

    {Text::LeftEdgeLabel, "Левая граница области буквы", "Left edge of glyph"},
    {Text::TopEdgeLabel, "Положение буквы по вертикали", "Top of glyph"},
    {Text::RightEdgeLabel, "Правая граница области буквы", "Right edge of glyph"},
    {Text::ParametersHeading, "Дополнительные параметры", "Font parameters"},
    {Text::FontSizeLabel, "Размер шрифта", "Font size"},
    {Text::SpaceWidthLabel, "Ширина пробелов", "Space width"},
    {Text::SaveButton, "Сохранить", "Save"},
    {Text::WidthWarning, "Ошибка.Недопустимая ширина буквы.", "Error. Invalid glyph width."},
    // The letter between the numbers in the Russian line 8 is the Cyrillic х (U+0445).
    {Text::Help,
     RUNEPLOT_STARS "\n"
     "Runeplot 1.1 - программа для редактирования шрифтов в игре MAFIA.\n"
     "\n"
     "Небольшая справка:\n"
     "Выбираем желаемый шрифт - например font1.tga. Открываем его в фотошопе и редактируем символы.\n"
     "Ясно, что редактировать нужно во всех 4-х каналах: R,G,B и альфа. Сохраняем.\n"
     "2) Выбираем файл шрифта - font1.tga\n"
     "3) Увеличиваем его размер до расширения 512\u0445512 и сохраняем в формате bmp.\n"
     "4) Открываем в программе Runeplot файл font1.gmf и тут же открываем наш увеличенный bmp.\n"
     "Дальше - редактируем координаты нужных символов.\n"
     "\n" RUNEPLOT_STARS "\n"
     "Разработчики Runeplot.\n"
     "Подробности - в файле README.md программы.\n"
     "Ноябрь, 2006 год\n"
     "\n" RUNEPLOT_STARS,
     RUNEPLOT_STARS "\n"
     "Runeplot 1.1 - a program for editing the fonts of the game MAFIA.\n"
     "\n"
     "A short help:\n"
     "Choose the font you want - for example font1.tga. Open it in Photoshop and edit the glyphs.\n"
     "Edit all 4 channels, of course: R,G,B and alpha. Save.\n"
     "2) Choose the font file - font1.tga\n"
     "3) Enlarge it to 512x512 and save it as bmp.\n"
     "4) Open font1.gmf in Runeplot, then open the enlarged bmp.\n"
     "Then edit the coordinates of the glyphs you need.\n"
     "\n" RUNEPLOT_STARS "\n"
     "The Runeplot developers.\n"
     "More in the program's README.md.\n"
     "November 2006\n"
     "\n" RUNEPLOT_STARS},
    {Text::GlyphNumber, "Символ № {}", "Glyph {}"},
    {Text::NoGlyphs, "Символов нет", "No glyphs"},

    {Text::FontDialogTitle, "Загрузить файл *.gmf", "Open file *.gmf"},
    {Text::FontFilterText, ".gmf", "Fonts (.gmf)"},
    {Text::PictureDialogTitle, "Загрузить файл {}", "Open file {}"},
    {Text::PictureFilterText, "Рисунки BMP и TGA (*.bmp;*.tga)", "BMP and TGA pictures (*.bmp;*.tga)"},
    {Text::TypefaceDialogTitle, "Выбрать шрифт TrueType или OpenType", "Choose a TrueType or OpenType font"},
    {Text::TypefaceFilterText, "Шрифты TrueType и OpenType (*.ttf;*.otf;*.ttc)", "TrueType and OpenType fonts (*.ttf;*.otf;*.ttc)"},

    {Text::RenderTitle, "Нарисовать символы из шрифта", "Draw glyphs from a font"},
    {Text::RenderTypeface, "Шрифт TrueType или OpenType:", "TrueType or OpenType font:"},
    {Text::RenderBrowse, "…", "…"},
    {Text::RenderCharacters, "Символы:", "Characters:"},
    {Text::RenderFirstGlyph, "с символа №", "from glyph"},
    {Text::RenderCodePage, "Кодовая страница:", "Code page:"},
    {Text::RenderFirstByte, "с байта", "from byte"},
    {Text::RenderSize, "Размер, пикс.:", "Size, px:"},
    {Text::RenderBaseline, "Базовая линия:", "Baseline:"},
    {Text::RenderAutomatic, "пусто - подобрать", "empty: chosen"},
    {Text::RenderHinting, "Хинтинг:", "Hinting:"},
    {Text::RenderHintingNone, "нет", "none"},
    {Text::RenderHintingLight, "лёгкий", "light"},
    {Text::RenderHintingFull, "полный", "full"},
    {Text::RenderWidth, "Ширина:", "Width:"},
    {Text::RenderWidthAdvance, "по шагу шрифта", "advance"},
    {Text::RenderWidthInk, "по изображению", "ink"},
    {Text::RenderDraw, "Нарисовать", "Draw"},
    {Text::RenderCancel, "Отмена", "Cancel"},
    {Text::RenderSizeChosen, "Размер {} пикс. (наибольший, при котором символы входят в строку), базовая линия {}.",
     "Size {} px (the largest at which the glyphs fit the line), baseline {}."},
    {Text::RenderSizeGiven, "Размер {} пикс., базовая линия {}.", "Size {} px, baseline {}."},
    {Text::RenderMoved, "В свободное место: {}", "To free space: {}"},
    {Text::RenderClipped, "Будут обрезаны: {}", "Drawn cut: {}"},
    {Text::RenderNoRoom, "Нет места для: {}. Рисовать нельзя.", "No room for: {}. Nothing can be drawn."},
    {Text::RenderNoTypeface, "Выберите файл шрифта TrueType или OpenType.", "Choose a TrueType or OpenType font file."},
    {Text::RenderOutOfRange, "Размер - от 1 до {} пикс., базовая линия - от 0 до {}.", "The size goes from 1 to {} px, the baseline from 0 to {}."},
    {Text::RenderTypefaceUnreadable, "Шрифт не прочитан: {}", "The font was not read: {}"},
    {Text::RenderNoCharacters, "Нет символов, которые нужно нарисовать.", "No characters to draw."},
    {Text::RenderPastTable, "Последний символ попал бы на № {}, а в шрифте их {}.",
     "The last character would go to glyph {}; the font has {}."},
    {Text::RenderMissing, "В шрифте нет символов: {}. Рисовать нельзя.", "The font has no glyph for: {}. Nothing can be drawn."},
    {Text::RenderNotPlanned, "Рисовать нельзя: {}", "Nothing can be drawn: {}"},

    {Text::ErrorTitle, "Ошибка", "Error"},
    {Text::FitTitle, "Подгонка символов", "Glyph fit"},
    {Text::PictureSize, "Графический файл шрифта должен иметь размер 512x512 пикселей.",
     "The font's picture must be 512x512 pixels."},
    {Text::FontNotFound, "Файл шрифта {} не найден или не может быть прочитан.",
     "The font file {} was not found or cannot be read."},
    {Text::LongPath,
     " Путь длиннее 259 знаков: Windows открывает такие пути, только если в ней включены длинные пути (Windows 10, версия 1607 и новее).",
     " The path is longer than 259 characters: Windows opens such paths only where long paths are enabled (Windows 10 version 1607 and later)."},
    {Text::ShortFontName,
     "Файл шрифта {} не открыт: в имени файла шрифта должно быть не меньше четырёх символов (например, font1.gmf).",
     "The font file {} was not opened: its name must have at least four characters (for example, font1.gmf)."},
    {Text::TextureMissing, "Текстура не обновлена: файл {} не найден. На экране остаётся прежняя текстура.",
     "Texture not updated: the file {} was not found. The previous texture stays on screen."},
    {Text::TextureWrongSize,
     "Текстура не обновлена: файл {} должен иметь размер 512x512 пикселей. На экране остаётся прежняя текстура.",
     "Texture not updated: the file {} must be 512x512 pixels. The previous texture stays on screen."},
    {Text::TextureNotDecodable,
     "Текстура не обновлена: файл {} не удалось прочитать как рисунок BMP. На экране остаётся прежняя текстура.",
     "Texture not updated: the file {} could not be read as a BMP picture. The previous texture stays on screen."},
    {Text::TextureNotDecodableTga,
     "Текстура не обновлена: файл {} не удалось прочитать как рисунок TGA. На экране остаётся прежняя текстура.",
     "Texture not updated: the file {} could not be read as a TGA picture. The previous texture stays on screen."},
    {Text::NoInk, "Символ № {} не подогнан: в его области на рисунке нет изображения. Ничего не записано.",
     "Glyph {} not fitted: its area on the picture holds no image. Nothing was written."},
    {Text::FitAllCount, "Подогнано символов: {} из {}.", "Glyphs fitted: {} of {}."},
    {Text::FitAllWithoutInk, "Без изображения на рисунке, не изменены: № {}", "No image on the picture, not changed: {}"},
    {Text::FitAllMore, " и ещё {}", " and {} more"},

    {Text::ShowGlyphFailed, "Не удалось показать символ: {}", "Could not show the glyph: {}"},
    {Text::StoreGlyphFailed, "Символ не сохранён: {}", "Glyph not stored: {}"},
    {Text::SaveFontParametersFailed, "Параметры шрифта не сохранены: {}", "Font parameters not saved: {}"},
    {Text::UndoFailed, "Не удалось отменить: {}", "Could not undo: {}"},
    {Text::RedoFailed, "Не удалось повторить: {}", "Could not redo: {}"},
    {Text::FitGlyphFailed, "Символ не подогнан: {}", "Glyph not fitted: {}"},
    {Text::FitAllGlyphsFailed, "Символы не подогнаны: {}", "Glyphs not fitted: {}"},
    {Text::DrawGlyphsFailed, "Символы не нарисованы: {}", "Glyphs not drawn: {}"},
    {Text::NotANumber, "значение в поле не является числом.", "the value in the box is not a number."},
    {Text::OutOfRange, "значение вне допустимого диапазона.", "the value is out of range."},
    {Text::BadCellHeight, "высота символа в файле шрифта равна 0 или недопустима.",
     "the glyph height in the font file is 0 or invalid."},
    {Text::FileNotOpened, "не удалось открыть файл {}.", "could not open the file {}."},
    {Text::ReadFailed, "не удалось прочитать файл {}.", "could not read the file {}."},
    {Text::WriteFailed, "не удалось записать файл {} (возможно, он только для чтения).",
     "could not write the file {} (it may be read-only)."},
    {Text::NoSuchGlyph, "в шрифте нет символа для сохранения.", "the font has no glyph to store."},
    {Text::WouldEndTable,
     "все три границы равны 0. Такая запись закончила бы таблицу символов, "
     "и все следующие символы пропали бы из редактора.",
     "all three edges are 0. Such a record would end the glyph table, "
     "and all the glyphs after it would vanish from the editor."},
    {Text::WouldChangeLayout, "такая запись изменила бы разметку таблицы символов шрифта.",
     "such a write would change the layout of the font's glyph table."},
    {Text::TextTooLong, "текст в поле слишком длинный (255 символов или больше).",
     "the text in the box is too long (255 characters or more)."},
    {Text::Malformed, "файл имеет неверный формат.", "the file has a wrong format."},
    {Text::FileTooShort, "файл шрифта {} короче, чем указано в его таблице символов (файл обрезан или не является шрифтом).",
     "the font file {} is shorter than its glyph table says (cut short, or not a font)."},
    {Text::ChangedOutside, "файл шрифта {} изменён вне окна. Ничего не записано.",
     "the font file {} was changed outside the window. Nothing was written."},
    {Text::TextureChanged, "текстура изменена вне окна (другой программой). Ничего не записано.",
     "the texture was changed outside the window (by another program). Nothing was written."},
};

#undef RUNEPLOT_STARS

constexpr bool InTheOrderOfText() {
    for (int i = 0; i < static_cast<int>(std::size(kTexts)); ++i) {
        if (static_cast<int>(kTexts[i].text) != i) return false;
    }
    return std::size(kTexts) == kTextCount;
}
static_assert(InTheOrderOfText(), "one row for each Text, in its order");

}  // namespace

const char* TextOf(Text text, Language language) {
    const Row& row = kTexts[static_cast<int>(text)];
    return language == Language::English ? row.english : row.russian;
}

std::string Format(Text text, Language language, std::initializer_list<std::string> arguments) {
    const std::string pattern = TextOf(text, language);
    std::string result;
    auto argument = arguments.begin();
    for (std::size_t at = 0; at < pattern.size(); ++at) {
        if (pattern.compare(at, 2, "{}") == 0 && argument != arguments.end()) {
            result += *argument++;
            ++at;
        } else {
            result += pattern[at];
        }
    }
    return result;
}

}  // namespace editor
