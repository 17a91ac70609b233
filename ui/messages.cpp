#include "ui/messages.h"

namespace ui {
namespace {

QString Reason(const runtime::Failure& failure, const QString& fontPath) {
    using runtime::FailureKind;
    switch (failure.kind()) {
    case FailureKind::NotANumber:
        return QStringLiteral("значение в поле не является числом.");
    case FailureKind::Overflow:
        return QStringLiteral("значение вне допустимого диапазона.");
    case FailureKind::DivisionByZero:
    case FailureKind::InvalidOperation:
        return QStringLiteral("высота символа в файле шрифта равна 0 или недопустима.");
    case FailureKind::FileNotOpened:
        return QStringLiteral("не удалось открыть файл %1.").arg(fontPath);
    case FailureKind::ReadFailed:
        return QStringLiteral("не удалось прочитать файл %1.").arg(fontPath);
    case FailureKind::WriteFailed:
        return QStringLiteral("не удалось записать файл %1 (возможно, он только для чтения).").arg(fontPath);
    case FailureKind::NoSuchGlyph:
        return QStringLiteral("в шрифте нет символа для сохранения.");
    case FailureKind::WouldEndTable:
        return QStringLiteral("все три границы равны 0. Такая запись закончила бы таблицу символов, "
                              "и все следующие символы пропали бы из редактора.");
    case FailureKind::TextTooLong:
        return QStringLiteral("текст в поле слишком длинный (255 символов или больше).");
    case FailureKind::Malformed:
        return QStringLiteral("файл имеет неверный формат.");
    case FailureKind::ChangedOutside:
        return QStringLiteral("файл шрифта %1 изменён вне окна.").arg(fontPath);
    }
    return QString::fromStdString(failure.what());
}

}  // namespace

QString FontNotFoundMessage(const QString& fontPath) {
    return QStringLiteral("Файл шрифта %1 не найден или не может быть прочитан.").arg(fontPath);
}

QString TextureTroubleMessage(TextureTrouble trouble, const QString& picturePath) {
    const QString what = QStringLiteral("Текстура не обновлена: файл %1 ").arg(picturePath);
    switch (trouble) {
    case TextureTrouble::Missing:
        return what + QStringLiteral("не найден. На экране остаётся прежняя текстура.");
    case TextureTrouble::WrongSize:
        return what + QStringLiteral("должен иметь размер 512x512 пикселей. На экране остаётся прежняя текстура.");
    case TextureTrouble::NotDecodable:
        return what + QStringLiteral("не удалось прочитать как рисунок BMP. На экране остаётся прежняя текстура.");
    }
    return what;
}

QString FailureMessage(Action action, const runtime::Failure& failure, const QString& fontPath) {
    QString what;
    switch (action) {
    case Action::ShowGlyph:
        what = QStringLiteral("Не удалось показать символ: ");
        break;
    case Action::StoreGlyph:
        what = QStringLiteral("Символ не сохранён: ");
        break;
    case Action::SaveFontParameters:
        what = QStringLiteral("Параметры шрифта не сохранены: ");
        break;
    }
    return what + Reason(failure, fontPath);
}

}  // namespace ui
