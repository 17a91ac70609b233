#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "runtime/failure.h"

// Every text the editor shows, in Russian, as UTF-8.
namespace editor {

inline constexpr const char* kErrorTitle = "Ошибка";
inline constexpr const char* kPictureSizeMessage = "Графический файл шрифта должен иметь размер 512x512 пикселей.";

// The help shown in the window: 17 lines joined by CR LF, no line break after the last.
std::string HelpText();

std::string FontNotFoundMessage(const std::filesystem::path& font);
// A font named on the command line whose name cannot name its picture.
std::string ShortFontNameMessage(const std::filesystem::path& font);

// Why a texture that changed on disk could not be shown again.
enum class TextureTrouble { Missing, WrongSize, NotDecodable };
std::string TextureTroubleMessage(TextureTrouble trouble, const std::filesystem::path& picture);

inline constexpr const char* kFitTitle = "Подгонка символов";

// A glyph, numbered from 1, whose rectangle holds no ink on the texture.
std::string NoInkMessage(std::int32_t glyphNumber);
// How many of the font's glyphs a fit of all of them changed, and (a few of) those without ink.
std::string FitAllReport(std::int32_t changed, std::int32_t glyphCount, const std::vector<std::int32_t>& withoutInk);

// What the user was doing when a failure came.
enum class Action { ShowGlyph, StoreGlyph, SaveFontParameters, Undo, Redo, FitGlyph, FitAllGlyphs };

// What did not happen, and why.
std::string FailureMessage(Action action, const runtime::Failure& failure, const std::filesystem::path& font);

// How the window's program is started, for the name the system knows it by ("runeplot.exe").
std::string CommandLineHelp(const std::string& program);
std::string CommandLineVersion();
std::string TooManyArgumentsMessage(const std::string& program);

}  // namespace editor
