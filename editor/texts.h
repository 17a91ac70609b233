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
    DrawGlyphsItem,
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
    TypefaceDialogTitle,
    TypefaceFilterText,
    // The dialog that draws glyphs from a font, and what it says under its preview.
    RenderTitle,
    RenderTypeface,
    RenderBrowse,
    RenderCharacters,
    RenderFirstGlyph,
    RenderCodePage,
    RenderFirstByte,
    RenderSize,
    RenderBaseline,
    RenderAutomatic,
    RenderHinting,
    RenderHintingNone,
    RenderHintingLight,
    RenderHintingFull,
    RenderWidth,
    RenderWidthAdvance,
    RenderWidthInk,
    RenderDraw,
    RenderCancel,
    RenderSizeChosen,
    RenderSizeGiven,
    RenderMoved,
    RenderClipped,
    RenderNoRoom,
    RenderNoTypeface,
    RenderOutOfRange,
    RenderTypefaceUnreadable,
    RenderNoCharacters,
    RenderPastTable,
    RenderMissing,
    RenderNotPlanned,
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
    DrawGlyphsFailed,
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
    TextureChanged,
};
inline constexpr int kTextCount = static_cast<int>(Text::TextureChanged) + 1;

const char* TextOf(Text text, Language language);

// The text with each "{}" replaced by the next argument.
std::string Format(Text text, Language language, std::initializer_list<std::string> arguments);

}  // namespace editor
