// Draws a small demo font: a 512 x 512 BMP texture with a few dozen glyphs drawn in a system
// font, and a layout A .gmf whose records outline them. Usage: runeplot_make_demo DIR
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <cstdio>
#include <fstream>
#include <vector>

#include "font/font_file.h"
#include "font/glyph_record.h"
#include "runtime/little_endian.h"

namespace {

constexpr int kTextureSize = 512;
constexpr int kCellPixels = 32;  // CellHeight 0.0625
constexpr int kMargin = 4;
// The outline's right side stands three preview pixels left of Right.
constexpr int kRightSideOffset = 3;

void PutSingle(std::vector<std::byte>& bytes, std::size_t offset, float value) {
    runtime::StoreSingle(value, std::span<std::byte, 4>(bytes.data() + offset, 4));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: runeplot_make_demo DIR\n", stderr);
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);

    QImage texture(kTextureSize, kTextureSize, QImage::Format_RGB32);
    texture.fill(Qt::black);
    QPainter painter(&texture);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(24);
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QFontMetrics metrics(font);

    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZАБВГДЕЖЗИКЛМНОПРСТУФХЦЧШЭЮЯ0123456789");
    std::vector<font::GlyphRecord> glyphs;
    int x = kMargin;
    int y = kMargin;
    for (const QChar letter : letters) {
        const int width = metrics.horizontalAdvance(letter);
        if (x + width + kMargin > kTextureSize) {
            x = kMargin;
            y += kCellPixels + kMargin;
        }
        painter.drawText(QRect(x, y, width, kCellPixels), Qt::AlignCenter, QString(letter));
        const float left = static_cast<float>(x) / kTextureSize;
        const float right = static_cast<float>(x + width + kRightSideOffset) / kTextureSize;
        const float cellHeight = static_cast<float>(kCellPixels) / kTextureSize;
        glyphs.push_back({left, static_cast<float>(y) / kTextureSize, right, (right - left) / cellHeight});
        x += width + 2 * kMargin;
    }
    painter.end();

    if (!texture.convertToFormat(QImage::Format_RGB888).save(folder + QStringLiteral("/demo.bmp"), "BMP")) {
        std::fputs("runeplot_make_demo: cannot write demo.bmp\n", stderr);
        return 1;
    }

    // Header, the table at 44 and an empty record that ends it.
    std::vector<std::byte> bytes(font::kLayoutATableBase + (glyphs.size() + 1) * font::kGlyphRecordSize);
    PutSingle(bytes, font::kFontSizeOffset, 24);
    PutSingle(bytes, font::kCellHeightOffset, static_cast<float>(kCellPixels) / kTextureSize);
    PutSingle(bytes, font::kSpaceWidthOffset, 8.0f / 256);
    std::size_t offset = font::kLayoutATableBase;
    for (const auto& glyph : glyphs) {
        const auto record = font::EncodeGlyphRecord(glyph);
        std::copy(record.begin(), record.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
        offset += font::kGlyphRecordSize;
    }
    std::ofstream out((folder + QStringLiteral("/demo.gmf")).toStdString(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fputs("runeplot_make_demo: cannot write demo.gmf\n", stderr);
        return 1;
    }
    return 0;
}
