#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <stdexcept>
#include <vector>

#include "ui/art/binary_formats.h"

// A picture as Qt holds it in memory, so that reading it decodes nothing: a
// 16-byte header, "KVPX" and then the width, the height and the QImage
// format as little-endian 32-bit numbers, followed by the rows from the top,
// four bytes a pixel in the machine's own order. The build writes the
// window's pictures in it, and the program that the same build makes reads
// them, so the byte order is always the reader's.
namespace ui::art {

inline constexpr std::array<char, 4> pixel_file_magic{'K', 'V', 'P', 'X'};
inline constexpr std::size_t pixel_file_header_size = 16;

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
    std::vector<std::uint8_t> header(pixel_file_magic.begin(), pixel_file_magic.end());
    for (const auto field : {image.width(), image.height(), static_cast<int>(image.format())}) {
        append_le(header, static_cast<std::uint32_t>(field), 4);
    }
    QByteArray file(reinterpret_cast<const char*>(header.data()), static_cast<qsizetype>(header.size()));
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
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(file.data()), static_cast<std::size_t>(file.size()));
    if (bytes.size() < pixel_file_header_size ||
        !std::equal(pixel_file_magic.begin(), pixel_file_magic.end(), file.begin())) {
        throw std::runtime_error("not a pixel file");
    }
    constexpr std::uint32_t largest_side = 1U << 14;
    const std::uint32_t width = read_le(bytes, 4, 4);
    const std::uint32_t height = read_le(bytes, 8, 4);
    const auto format = static_cast<QImage::Format>(read_le(bytes, 12, 4));
    const std::size_t pixels = bytes.size() - pixel_file_header_size;
    if (!is_pixel_file_format(format) || width == 0 || height == 0 || width > largest_side ||
        height > largest_side || pixels != std::size_t{width} * height * 4) {
        throw std::runtime_error("pixel file of a foreign format or the wrong size");
    }
    QImage image(static_cast<int>(width), static_cast<int>(height), format);
    if (image.isNull()) throw std::runtime_error("no memory for a picture");
    std::memcpy(image.bits(), bytes.data() + pixel_file_header_size, pixels);  // rows without padding
    return image;
}

}  // namespace ui::art
