#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <cstddef>
#include <optional>
#include <span>

#include "picture/image.h"

namespace testing_support {

// Qt's TGA reader (qt6-image-formats-plugins): true-colour pictures of 16, 24 and 32 bits,
// uncompressed; nothing for the rest. It reads no file without the TGA 2.0 footer, which is
// added here: no reader takes pixels from it.
inline std::optional<picture::Image> DecodeTgaWithQt(std::span<const std::byte> bytes) {
    QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    data.append(QByteArray("\0\0\0\0\0\0\0\0TRUEVISION-XFILE.\0", 26));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "tga");
    const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
    if (image.isNull()) return std::nullopt;
    picture::Image decoded = picture::Filled(image.width(), image.height(), picture::kBlack);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            decoded.At(x, y) = {static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)), static_cast<std::uint8_t>(qBlue(p)),
                                static_cast<std::uint8_t>(qAlpha(p))};
        }
    }
    return decoded;
}

}  // namespace testing_support
