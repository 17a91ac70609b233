// Writes the window's icon as a PNG for the desktop entry. Usage: runeplot_make_icon FILE
#include <QGuiApplication>
#include <cstdio>

#include "ui/pictures.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: runeplot_make_icon FILE\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    if (!ui::IconImage().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "runeplot_make_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
