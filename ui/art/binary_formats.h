#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string_view>
#include <vector>

// The byte layouts of the Windows formats that the program's pictures use:
// little-endian fields, the one-image icon file, and the JFIF header of the
// panel. Header-only, without Qt, so that the build and the tests share
// one definition.
namespace ui::art {

// Appends `value` as a little-endian field of `size` bytes (1, 2 or 4).
inline void append_le(std::vector<std::uint8_t>& out, std::uint32_t value, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// The little-endian field of `size` bytes (1 to 4) at `offset`; throws
// std::out_of_range when it runs beyond the end.
[[nodiscard]] inline std::uint32_t read_le(std::span<const std::uint8_t> bytes, std::size_t offset,
                                           std::size_t size)
{
    if (size > 4 || offset > bytes.size() || size > bytes.size() - offset) {
        throw std::out_of_range("field beyond the end of the data");
    }
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;) value = (value << 8) | bytes[offset + i];
    return value;
}

// An icon file of one image: a 6-byte directory, one 16-byte entry, then the
// image, a 40-byte bitmap header with the palette and the XOR and AND masks.
namespace ico {
inline constexpr std::size_t directory_size = 6;
inline constexpr std::size_t entry_size = 16;
inline constexpr std::size_t image_offset = directory_size + entry_size;
inline constexpr std::size_t bitmap_header_size = 40;
inline constexpr std::size_t palette_size = std::size_t{16} * 4;  // 16 colours, B G R 0
}  // namespace ico

// A JPEG that opens with a JFIF segment saying 96 dots per inch, as the
// window's panel must, so that it shows at its natural size.
[[nodiscard]] inline bool is_jfif_at_96_dpi(std::span<const std::uint8_t> head)
{
    constexpr std::array<std::uint8_t, 4> start_and_app0 = {0xFF, 0xD8, 0xFF, 0xE0};
    constexpr std::string_view jfif{"JFIF\0", 5};
    if (head.size() < 18 || !std::equal(start_and_app0.begin(), start_and_app0.end(), head.begin())) return false;
    const auto big_endian = [&head](std::size_t at) { return head[at] << 8 | head[at + 1]; };
    return std::equal(jfif.begin(), jfif.end(), head.begin() + 6) && head[13] == 1  // dots per inch
           && big_endian(14) == 96 && big_endian(16) == 96;
}

}  // namespace ui::art
