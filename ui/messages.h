#pragma once

#include <QString>

#include "runtime/failure.h"

namespace ui {

inline const QString kErrorTitle = QStringLiteral("Ошибка");
inline const QString kPictureSizeMessage =
    QStringLiteral("Графический файл шрифта должен иметь размер 512x512 пикселей.");

QString FontNotFoundMessage(const QString& fontPath);

// Why a texture that changed on disk could not be shown again.
enum class TextureTrouble { Missing, WrongSize, NotDecodable };
QString TextureTroubleMessage(TextureTrouble trouble, const QString& picturePath);

// What the user was doing when a failure came.
enum class Action { ShowGlyph, StoreGlyph, SaveFontParameters };

// The message in Russian: what did not happen, and why.
QString FailureMessage(Action action, const runtime::Failure& failure, const QString& fontPath);

}  // namespace ui
