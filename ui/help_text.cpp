#include "ui/help_text.h"

#include <QStringList>

namespace ui {

QString HelpText() {
    const QString stars(45, QLatin1Char('*'));
    const QStringList lines = {
        stars,
        QStringLiteral("Runeplot 1.1 - программа для редактирования шрифтов в игре MAFIA."),
        QString(),
        QStringLiteral("Небольшая справка:"),
        QStringLiteral("Выбираем желаемый шрифт - например font1.tga. Открываем его в фотошопе и редактируем символы."),
        QStringLiteral("Ясно, что редактировать нужно во всех 4-х каналах: R,G,B и альфа. Сохраняем."),
        QStringLiteral("2) Выбираем файл шрифта - font1.tga"),
        // The letter between the numbers is the Cyrillic х.
        QStringLiteral("3) Увеличиваем его размер до расширения 512\u0445512 и сохраняем в формате bmp."),
        QStringLiteral("4) Открываем в программе Runeplot файл font1.gmf и тут же открываем наш увеличенный bmp."),
        QStringLiteral("Дальше - редактируем координаты нужных символов."),
        QString(),
        stars,
        QStringLiteral("Разработчики Runeplot."),
        QStringLiteral("Подробности - в файле README.md программы."),
        QStringLiteral("Ноябрь, 2006 год"),
        QString(),
        stars,
    };
    return lines.join(QStringLiteral("\r\n"));
}

}  // namespace ui
