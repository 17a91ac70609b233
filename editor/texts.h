#pragma once

#include <initializer_list>
#include <string>

#include "editor/settings.h"

// Every text of the window, in Russian and in English, as UTF-8.
namespace editor {

enum class Text {
    // The menus.
    OpenMenu,
    EditMenu,
    UndoItem,
    RedoItem,
    FitGlyphItem,
    FitAllGlyphsItem,
    ViewMenu,
    MagnifierItem,
    LanguageMenu,
    RussianItem,
    EnglishItem,
    // The captions of the controls.
    LeftEdgeLabel,
    TopEdgeLabel,
    RightEdgeLabel,
    ParametersHeading,
    FontSizeLabel,
    SpaceWidthLabel,
    SaveButton,
    WidthWarning,
    Help,  // lines joined by "\n"
    GlyphNumber,
    NoGlyphs,
    // The dialogs.
    FontDialogTitle,
    FontFilterText,
    PictureDialogTitle,
    PictureFilterText,
    // The messages and their titles.
    ErrorTitle,
    FitTitle,
    PictureSize,
    FontNotFound,
    LongPath,
    ShortFontName,
    TextureMissing,
    TextureWrongSize,
    TextureNotDecodable,
    TextureNotDecodableTga,
    NoInk,
    FitAllCount,
    FitAllWithoutInk,
    FitAllMore,
    ShowGlyphFailed,
    StoreGlyphFailed,
    SaveFontParametersFailed,
    UndoFailed,
    RedoFailed,
    FitGlyphFailed,
    FitAllGlyphsFailed,
    NotANumber,
    OutOfRange,
    BadCellHeight,
    FileNotOpened,
    ReadFailed,
    WriteFailed,
    NoSuchGlyph,
    WouldEndTable,
    WouldChangeLayout,
    TextTooLong,
    Malformed,
    FileTooShort,
    ChangedOutside,
};
inline constexpr int kTextCount = static_cast<int>(Text::ChangedOutside) + 1;

const char* TextOf(Text text, Language language);

// The text with each "{}" replaced by the next argument.
std::string Format(Text text, Language language, std::initializer_list<std::string> arguments);

}  // namespace editor
