#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// The icon's design, drawn in whole pixels at any size from 16 up: a stepped
// black field of five columns, one to five squares high, rising to the right;
// on every step a raised square, yellow in the bottom row, then cyan, then
// green, and light grey in the two top rows (5 + 4 + 3 + 3 squares); around
// the field everything is transparent. At 32 pixels this is korvantelo.ico;
// the build draws the other sizes and the scalable picture from it
// (draw_icons.cpp). Header only, without Qt, so that the build tools use it
// before any of our libraries exist.
namespace ui::art::icon {

// The sizes of the web page's icons (the home screen, the app list),
// committed as korvantelo-<size>.png beside the 32 x 32 picture: the
// WebAssembly build has no Qt to draw them with.
inline constexpr std::array<int, 2> page_sizes{192, 512};

// The standard 16-colour palette, in its usual order, as 0xRRGGBB.
inline constexpr std::array<std::uint32_t, 16> palette{
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

// The palette entries the icon uses.
enum Colour : std::uint8_t {
    black = 0,
    dark_green = 2,
    olive = 3,
    teal = 6,
    light_grey = 7,
    dark_grey = 8,
    green = 10,
    yellow = 11,
    cyan = 14,
    white = 15,
};

// A filled rectangle in pixels, top left at (x, y).
struct Box {
    int x;
    int y;
    int width;
    int height;
    Colour colour;
};

inline constexpr int steps = 5;

// The icon at `size` pixels as boxes, each painted over the ones before it.
//
// At 32 pixels a step is 6 pixels wide: a square of 5 (a white highlight on
// its top and left edges, a shadow on its bottom and right edges, each one
// pixel) and one black pixel between squares; the field stands in the bottom
// left corner. Other sizes scale the step to size * 6 / 32 in whole pixels, so
// that no edge falls between pixels and nothing blurs; multiples of 32 are
// the 32-pixel picture enlarged pixel for pixel. Below 5 pixels a square has
// no room for its edges and is its face colour alone.
inline std::vector<Box> boxes(int size)
{
    if (size < 16) throw std::invalid_argument("the icon is not drawn below 16 pixels");
    const int pitch = size * 3 / 16;
    const int gap = std::max(1, size / 32);
    const int square = pitch - gap;
    const int edge = square / 5;

    struct Colouring {
        Colour face;
        Colour shadow;
    };
    constexpr std::array<Colouring, steps> by_row{{
        {yellow, olive},
        {cyan, teal},
        {green, dark_green},
        {light_grey, dark_grey},
        {light_grey, dark_grey},
    }};

    std::vector<Box> drawn;
    for (int column = 0; column < steps; ++column) {
        const int height = (column + 1) * pitch + gap;
        drawn.push_back({column * pitch, size - height, pitch + gap, height, black});
    }
    for (int column = 0; column < steps; ++column) {
        for (int row = 0; row <= column; ++row) {  // row 0 at the bottom
            const int x = column * pitch + gap;
            const int y = size - (row + 1) * pitch;
            const auto [face, shadow] = by_row[static_cast<std::size_t>(row)];
            if (edge > 0) {
                drawn.push_back({x, y, square, square, shadow});
                drawn.push_back({x, y, square - edge, square - edge, white});
            }
            drawn.push_back({x + edge, y + edge, square - 2 * edge, square - 2 * edge, face});
        }
    }
    return drawn;
}

// Where pixel (x, y) lies in a square picture of `size` rows, top row first.
[[nodiscard]] constexpr std::size_t pixel_at(int x, int y, int size)
{
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(size) + static_cast<std::size_t>(x);
}

// The icon as palette entries, top row first; -1 where it is transparent.
inline std::vector<int> pixels(int size)
{
    std::vector<int> image(static_cast<std::size_t>(size) * static_cast<std::size_t>(size), -1);
    for (const Box& box : boxes(size)) {
        for (int y = box.y; y < box.y + box.height; ++y) {
            for (int x = box.x; x < box.x + box.width; ++x) {
                image[pixel_at(x, y, size)] = box.colour;
            }
        }
    }
    return image;
}

// The icon as 0xAARRGGBB, top row first: the palette's colours opaque, 0
// where it is transparent.
inline std::vector<std::uint32_t> argb(int size)
{
    std::vector<std::uint32_t> image;
    for (const int colour : pixels(size)) {
        image.push_back(colour < 0 ? 0U : 0xFF000000U | palette[static_cast<std::size_t>(colour)]);
    }
    return image;
}

// The scalable picture: the 32-pixel boxes as rectangles on a 32-unit grid,
// with edges kept sharp wherever a renderer can.
inline std::string svg()
{
    auto hex = [](std::uint32_t rgb) {
        constexpr char digits[] = "0123456789abcdef";
        std::string text = "#";
        for (int shift = 20; shift >= 0; shift -= 4) text += digits[(rgb >> shift) & 0xFu];
        return text;
    };
    std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" viewBox=\"0 0 32 32\""
        " shape-rendering=\"crispEdges\">\n"
        "  <title>Korvantelo</title>\n";
    for (const Box& box : boxes(32)) {
        text += "  <rect x=\"" + std::to_string(box.x) + "\" y=\"" + std::to_string(box.y) + "\" width=\""
            + std::to_string(box.width) + "\" height=\"" + std::to_string(box.height) + "\" fill=\""
            + hex(palette[box.colour]) + "\"/>\n";
    }
    text += "</svg>\n";
    return text;
}

}  // namespace ui::art::icon
