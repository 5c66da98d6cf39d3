#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QtEndian>

#include <cstdint>
#include <cstring>
#include <stdexcept>

// A picture as Qt holds it in memory, so that reading it decodes nothing: a
// 16-byte header, "KVPX" and then the width, the height and the QImage
// format as little-endian 32-bit numbers, followed by the rows from the top,
// four bytes a pixel in the machine's own order. The build writes the
// window's pictures in it, and the program that the same build makes reads
// them, so the byte order is always the reader's.
namespace ui::art {

inline constexpr QByteArrayView pixel_file_magic{"KVPX"};
inline constexpr qsizetype pixel_file_header_size = 16;

// The formats of four bytes a pixel that Qt's readers give our pictures in.
[[nodiscard]] inline bool is_pixel_file_format(QImage::Format format)
{
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

// Throws std::invalid_argument for an image of any other format.
[[nodiscard]] inline QByteArray to_pixel_file(const QImage& image)
{
    if (!is_pixel_file_format(image.format())) {
        throw std::invalid_argument("a pixel file holds only pictures of four bytes a pixel");
    }
    QByteArray file = pixel_file_magic.toByteArray();
    for (const int value : {image.width(), image.height(), static_cast<int>(image.format())}) {
        char field[4];
        qToLittleEndian(static_cast<std::uint32_t>(value), field);
        file.append(field, sizeof field);
    }
    for (int y = 0; y < image.height(); ++y) {
        file.append(reinterpret_cast<const char*>(image.constScanLine(y)), qsizetype{image.width()} * 4);
    }
    return file;
}

// The image a pixel file holds. Throws std::runtime_error for anything else:
// a short or foreign file, a format other than those above, or a size that
// does not match the pixels.
[[nodiscard]] inline QImage from_pixel_file(QByteArrayView file)
{
    if (file.size() < pixel_file_header_size || !file.startsWith(pixel_file_magic)) {
        throw std::runtime_error("not a pixel file");
    }
    const auto field = [&file](qsizetype at) { return qFromLittleEndian<std::uint32_t>(file.data() + at); };
    constexpr std::uint32_t largest_side = 1U << 14;
    const std::uint32_t width = field(4);
    const std::uint32_t height = field(8);
    const auto format = static_cast<QImage::Format>(field(12));
    const auto pixels = static_cast<std::size_t>(file.size() - pixel_file_header_size);
    if (!is_pixel_file_format(format) || width == 0 || height == 0 || width > largest_side ||
        height > largest_side || pixels != std::size_t{width} * height * 4) {
        throw std::runtime_error("pixel file of a foreign format or the wrong size");
    }
    QImage image(static_cast<int>(width), static_cast<int>(height), format);
    if (image.isNull()) throw std::runtime_error("no memory for a picture");
    std::memcpy(image.bits(), file.data() + pixel_file_header_size, pixels);  // rows without padding
    return image;
}

}  // namespace ui::art
