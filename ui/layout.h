#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "ui/controls.h"

// Where every control sits and which font it uses, in twips (1/1440 inch)
// from the top-left corner of the window's client area. At 96 dots per inch
// 15 twips make one pixel; the views convert with the helpers at the end.
namespace ui::layout {

inline constexpr int client_width = 8385;   // 559 pixels
inline constexpr int client_height = 4560;  // 304 pixels

// Every font is the face "MS Sans Serif", regular or bold, at one of three
// sizes: 8.25, 9.75 and 13.5 point, that is 11, 13 and 18 pixels high at 96
// dots per inch. Where that face is missing, every front-end asks for the
// same stand-ins, faces of about the same pixel sizes and widths (the labels
// cut their text at fixed edges, so a wider face would cut words such as
// "Wandlerverhältnis"): the first of them that is present, then the others
// in turn for characters it lacks.
inline constexpr std::array<std::string_view, 6> faces{
    "MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "Arimo", "Arial", "Nimbus Sans"};

enum class Font : std::uint8_t { regular_8, bold_8, regular_10, bold_10, bold_14 };

struct FontInfo {
    int pixel_height;
    bool bold;
};

[[nodiscard]] constexpr FontInfo font_info(Font font)
{
    switch (font) {
    case Font::regular_8: return {11, false};
    case Font::bold_8: return {11, true};
    case Font::regular_10: return {13, false};
    case Font::bold_10: return {13, true};
    case Font::bold_14: return {18, true};
    }
    return {11, false};
}

struct Placement {
    Control id;
    int left;
    int top;
    int width;
    int height;
    Font font = Font::regular_8;
};

// Every control but the lines, grouped by the box it sits in.
inline constexpr std::array<Placement, 27> placements = [] {
    using C = Control;
    using enum Font;
    return std::array<Placement, 27>{{
        // Pulse rating: "1 Impulse / 1000 Wh (1 kWh)"
        {C::Label4, 480, 240, 2535, 255, bold_10},
        {C::txt_impulse, 360, 600, 1095, 285},
        {C::Label2, 1560, 600, 735, 255, regular_10},
        {C::Label1, 2400, 480, 255, 345, bold_14},
        {C::txt_wh, 2640, 600, 1095, 285},
        {C::Label6, 3840, 600, 735, 255, regular_10},
        {C::Label7, 4200, 600, 135, 255},
        {C::txt_kwh, 4320, 620, 495, 230, bold_8},
        {C::Label16, 4920, 600, 495, 255},
        // Transformers: current ratio, voltage ratio, overall ratio
        {C::Label3, 480, 1440, 2535, 255, bold_10},
        {C::chk_Spannungswandler, 2040, 1440, 1695, 255},
        {C::Label5, 360, 1905, 1095, 255},
        {C::txt_stromwandler, 360, 2160, 735, 285},
        {C::Label8, 1125, 2100, 255, 345, bold_14},
        {C::Label12, 1320, 2200, 495, 255},
        {C::Label9, 2160, 1905, 1215, 255},
        {C::txt_spannungswandler, 2160, 2160, 735, 285},
        {C::Label10, 2925, 2100, 255, 345, bold_14},
        {C::Label13, 3120, 2200, 495, 255},
        {C::Label15, 3960, 1920, 1455, 255},
        {C::label_wandlerverhaeltnis, 3960, 2160, 1335, 255, bold_10},
        // Result
        {C::Label11, 480, 3000, 1455, 255, bold_10},
        {C::txt_ergebnis, 480, 3360, 1215, 285},
        {C::Label14, 1800, 3400, 1695, 240},
        {C::cmd_berechnen, 3600, 3360, 1815, 375},
        // Pictures
        {C::Image1, 5640, 0, 2760, 2355},
        {C::Image2, 0, 3960, 8760, 585},
    }};
}();

// A straight line from (x1, y1) to (x2, y2), one pixel wide.
struct LinePlacement {
    Control id;
    int x1;
    int y1;
    int x2;
    int y2;
};

// Three boxes of equal width, one above the other: pulse rating, transformers, result.
inline constexpr std::array<LinePlacement, 12> lines = [] {
    using C = Control;
    return std::array<LinePlacement, 12>{{
        {C::Line1, 120, 120, 5520, 120},
        {C::Line2, 5520, 120, 5520, 1080},
        {C::Line3, 5520, 1080, 120, 1080},
        {C::Line4, 120, 120, 120, 1080},
        {C::Line5, 120, 1320, 120, 2520},
        {C::Line6, 5520, 2520, 120, 2520},
        {C::Line7, 5520, 1320, 5520, 2520},
        {C::Line8, 120, 1320, 5520, 1320},
        {C::Line9, 120, 3840, 5520, 3840},
        {C::Line10, 5520, 2880, 5520, 3840},
        {C::Line11, 5520, 2880, 120, 2880},
        {C::Line12, 120, 2880, 120, 3840},
    }};
}();

[[nodiscard]] constexpr std::optional<Placement> placement(Control id)
{
    for (const auto& p : placements) {
        if (p.id == id) return p;
    }
    return std::nullopt;
}

[[nodiscard]] constexpr std::optional<LinePlacement> line_placement(Control id)
{
    for (const auto& l : lines) {
        if (l.id == id) return l;
    }
    return std::nullopt;
}

// The place of a control that has a rectangle (every control but the
// lines), and of a line; asking for another is a fault of the caller.
[[nodiscard]] constexpr Placement place(Control id)
{
    if (const auto p = placement(id)) return *p;
    throw std::logic_error("a line has no rectangle");
}

[[nodiscard]] constexpr LinePlacement place(Line id)
{
    if (const auto l = line_placement(id)) return *l;
    throw std::logic_error("a line without a place");
}

// The dots per inch at which the layout's pixels are the screen's: 15 twips
// to the pixel. A view that scales as a whole (Qt with its device-pixel
// ratio) lays out at this density.
inline constexpr int base_dpi = 96;

// Twips to pixels at `dpi`, to the nearest pixel, halves away from zero
// (as Windows' MulDiv rounds); each of left, top, width and height is
// converted on its own (at 96 dpi, 620 twips are 41 pixels, 2200 are 147).
[[nodiscard]] constexpr int pixels(int twips, int dpi = base_dpi)
{
    const long long scaled = static_cast<long long>(twips) * dpi;
    return static_cast<int>((scaled + (scaled < 0 ? -720 : 720)) / 1440);
}

struct Rect {
    int left;
    int top;
    int width;
    int height;
    bool operator==(const Rect&) const = default;
};

[[nodiscard]] constexpr Rect pixel_rect(const Placement& p, int dpi = base_dpi)
{
    return {pixels(p.left, dpi), pixels(p.top, dpi), pixels(p.width, dpi), pixels(p.height, dpi)};
}

// The pixels a line covers: both end points included, whichever way it
// runs, one pixel wide at 96 dpi and as many whole pixels as that scales to
// above. The window's lines all run straight across or down.
[[nodiscard]] constexpr Rect line_rect(const LinePlacement& l, int dpi = base_dpi)
{
    const int thickness = std::max(1, dpi / base_dpi);
    const int left = pixels(std::min(l.x1, l.x2), dpi);
    const int top = pixels(std::min(l.y1, l.y2), dpi);
    return {left, top, pixels(std::max(l.x1, l.x2), dpi) - left + thickness,
            pixels(std::max(l.y1, l.y2), dpi) - top + thickness};
}

static_assert(std::all_of(lines.begin(), lines.end(),
                          [](const LinePlacement& l) { return l.x1 == l.x2 || l.y1 == l.y2; }),
              "every line runs straight across or down");

static_assert([] {
    for (const auto& c : control_table) {
        const bool is_line = c.kind == Kind::line;
        if (is_line != line_placement(c.id).has_value()) return false;
        if (is_line == placement(c.id).has_value()) return false;
    }
    return true;
}(), "every control has exactly one place");

}  // namespace ui::layout
