#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <cstddef>
#include <cstdlib>
#include <optional>
#include <span>

#include "picture/image.h"

namespace testing_support {

// Qt's BMP decoder on a BMP's bytes. Qt leaves the pixels a run-length stream never reaches as
// its memory held; decoded into a picture it is handed zeroed, they are palette index 0.
inline std::optional<picture::Image> DecodeWithQt(std::span<const std::byte> bytes) {
    QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    const QSize size = reader.size();
    QImage image(size.width(), std::abs(size.height()), QImage::Format_Indexed8);
    if (!image.isNull()) {
        image.setColorCount(1);
        image.fill(0);
    }
    if (!reader.read(&image)) return std::nullopt;
    // Indices past the palette come out opaque black, as here.
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    picture::Image decoded = picture::Filled(rgb.width(), rgb.height(), picture::kBlack);
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb pixel = rgb.pixel(x, y);
            decoded.At(x, y) = {static_cast<std::uint8_t>(qRed(pixel)), static_cast<std::uint8_t>(qGreen(pixel)),
                                static_cast<std::uint8_t>(qBlue(pixel)), 255};
        }
    }
    return decoded;
}

}  // namespace testing_support
