// Writes the window's icon: a PNG for the desktop entry, or, for a FILE ending in .ico, the
// 32 x 32, 256-colour icon that the Windows program carries. Usage: runeplot_make_icon FILE
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QVector>
#include <cstdint>
#include <cstdio>

#include "ui/pictures.h"

namespace {

constexpr int kIconHeaderSize = 6;
constexpr int kIconEntrySize = 16;
constexpr int kInfoHeaderSize = 40;
constexpr int kPaletteSize = 256;

void Put16(QByteArray& bytes, std::uint16_t value) {
    bytes.append(static_cast<char>(value & 0xFF));
    bytes.append(static_cast<char>(value >> 8));
}

void Put32(QByteArray& bytes, std::uint32_t value) {
    Put16(bytes, static_cast<std::uint16_t>(value & 0xFFFF));
    Put16(bytes, static_cast<std::uint16_t>(value >> 16));
}

// The picture's own colours when it has no more than 256 of them; Qt's conversion would pick
// them from a colour cube.
QImage Indexed(const QImage& picture) {
    QVector<QRgb> palette;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb colour = picture.pixel(x, y) | 0xFF000000;
            if (!palette.contains(colour)) palette.append(colour);
        }
    }
    if (palette.size() > 256) return picture.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    QImage indexed(picture.size(), QImage::Format_Indexed8);
    indexed.setColorTable(palette);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            indexed.setPixel(x, y, static_cast<uint>(palette.indexOf(picture.pixel(x, y) | 0xFF000000)));
        }
    }
    return indexed;
}

// One image of 8 bits a pixel: the picture rows from the bottom, then an all-opaque mask.
// Qt writes icons in 32 bits only.
QByteArray IconFile(const QImage& picture) {
    const QImage indexed = Indexed(picture);
    const int size = indexed.width();  // square, 32: rows of 32 bytes need no padding
    const int maskRowBytes = ((size + 31) / 32) * 4;
    const auto imageBytes =
        static_cast<std::uint32_t>(kInfoHeaderSize + kPaletteSize * 4 + size * size + maskRowBytes * size);
    QByteArray bytes;
    Put16(bytes, 0);
    Put16(bytes, 1);  // an icon
    Put16(bytes, 1);  // one image
    bytes.append(static_cast<char>(size));
    bytes.append(static_cast<char>(size));
    bytes.append('\0');  // a full palette of 256 colours
    bytes.append('\0');
    Put16(bytes, 1);  // planes
    Put16(bytes, 8);  // bits a pixel
    Put32(bytes, imageBytes);
    Put32(bytes, kIconHeaderSize + kIconEntrySize);
    Put32(bytes, kInfoHeaderSize);
    Put32(bytes, static_cast<std::uint32_t>(size));
    Put32(bytes, static_cast<std::uint32_t>(size * 2));  // the picture and its mask
    Put16(bytes, 1);
    Put16(bytes, 8);
    for (int field = 0; field < 6; ++field) Put32(bytes, 0);  // no compression; sizes and colours by default
    for (int index = 0; index < kPaletteSize; ++index) {
        const QRgb colour = index < indexed.colorCount() ? indexed.color(index) : 0;
        bytes.append(static_cast<char>(qBlue(colour)));
        bytes.append(static_cast<char>(qGreen(colour)));
        bytes.append(static_cast<char>(qRed(colour)));
        bytes.append('\0');
    }
    for (int row = size - 1; row >= 0; --row) {
        bytes.append(reinterpret_cast<const char*>(indexed.constScanLine(row)), size);
    }
    bytes.append(QByteArray(maskRowBytes * size, '\0'));
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: runeplot_make_icon FILE\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QString name = QString::fromLocal8Bit(argv[1]);
    bool written = false;
    if (name.endsWith(QStringLiteral(".ico"), Qt::CaseInsensitive)) {
        QFile file(name);
        const QByteArray icon = IconFile(ui::IconImage());
        written = file.open(QIODevice::WriteOnly) && file.write(icon) == icon.size() && file.flush();
    } else {
        written = ui::IconImage().save(name, "PNG");
    }
    if (!written) {
        std::fprintf(stderr, "runeplot_make_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
