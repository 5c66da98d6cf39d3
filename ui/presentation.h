#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "ui/controls.h"
#include "ui/window.h"

// What the window presents beyond its controls' state: the names and hints
// that assistive technology and tooltips give, the two fixed colour pairs,
// the pictures, and how a view shows a change. Every front-end reads it from
// here and holds no such fact of its own.
namespace ui {

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    bool operator==(const Rgb&) const = default;
};

// Text on ground. A control with a pair keeps it under every colour scheme
// of the desktop (dark, high contrast), so that its text never turns light
// on its light ground; every other control takes the desktop's colours.
struct ColourPair {
    Rgb text;
    Rgb ground;
};

inline constexpr Rgb black{0, 0, 0};
inline constexpr Rgb white{255, 255, 255};
inline constexpr Rgb light_grey{192, 192, 192};

// The colours a control takes from the desktop where it has no pair of its
// own, by its kind, so that it follows a dark or high-contrast scheme: the
// window, its labels, the check box and the button the 3D face and the
// button text, the text boxes the colours of a field, the lines the text.
enum class SystemColour : std::uint8_t { face, button_text, field, field_text };

struct SystemColours {
    SystemColour ground;
    SystemColour text;
};

inline constexpr SystemColours window_colours{SystemColour::face, SystemColour::button_text};

[[nodiscard]] constexpr SystemColours system_colours(Kind kind)
{
    switch (kind) {
    case Kind::text_box: return {SystemColour::field, SystemColour::field_text};
    case Kind::line: return {SystemColour::field_text, SystemColour::field_text};
    case Kind::label:
    case Kind::check_box:
    case Kind::command_button:
    case Kind::image_box: break;
    }
    return window_colours;
}

// The window's frame: a tool window (a narrow title bar with the caption
// and the close button only, no minimise or maximise button, no taskbar
// button) of the layout's fixed size, which the user cannot change.
struct Frame {
    bool tool_window;
    bool resizable;
};
inline constexpr Frame frame{.tool_window = true, .resizable = false};

// How wide a hint shown on hovering grows before it wraps, in twips (four
// inches), where a toolkit asks.
inline constexpr int hint_width = 5760;

// The tick box of the check box: 13 pixels square at 96 dots per inch, the
// classic look the layout is made for.
inline constexpr int check_box_size = 13;

// The two pictures: the branding panel (a JPEG) and the banner (a Windows
// bitmap), each as large as the layout's place for it. Each front-end keeps
// them in its own form, made from the file of ui/art that picture_file
// names.
enum class Picture : std::uint8_t { panel, banner };

[[nodiscard]] constexpr std::string_view picture_file(Picture picture)
{
    return picture == Picture::panel ? "image1.jpg" : "image2.bmp";
}

struct Presentation {
    Control id;
    // What a screen reader calls the control; empty: its own text names it.
    // A label keeps its text as its name.
    std::string_view accessible_name = {};
    // Its accessible description.
    std::string_view hint = {};
    // Whether the hint also shows as a tooltip on hovering.
    bool tooltip = false;
    std::optional<ColourPair> colours = {};
    std::optional<Picture> picture = {};
    // A figure that the program writes (the ratio, the kWh equivalent, the
    // result): shown from its first character, shortened with its exponent
    // kept in sight where it does not fit its box (fitted_figure), and
    // announced where a front-end can announce a change.
    bool figure = false;
    // The label whose caption says what the control holds, where the
    // control's own text is a figure rather than a name.
    std::optional<Control> titled_by = {};
};

// The controls that present more than their state; the others present
// nothing more. The hints head off the commonest mistakes of the job.
inline constexpr std::array<Presentation, 10> presentations = [] {
    using C = Control;
    return std::array<Presentation, 10>{{
        {.id = C::txt_impulse,
         .accessible_name = "Impulse",
         .hint = "Impulszahl P vom Typenschild des Zählers, „P Impulse je W Wh“ – nicht aus imp/kWh "
                 "umrechnen",
         .tooltip = true},
        {.id = C::txt_wh,
         .accessible_name = "Energie in Wh",
         .hint = "Energie W in Wh vom Typenschild des Zählers, „P Impulse je W Wh“ – nicht aus imp/kWh "
                 "umrechnen",
         .tooltip = true},
        {.id = C::txt_kwh,
         .accessible_name = "Energie in kWh",
         .colours = ColourPair{black, white},
         .figure = true},
        {.id = C::txt_stromwandler,
         .accessible_name = "Stromwandler primär in A",
         .hint = "Nur den Primärstrom des Stromwandlers in A eintragen; sekundär sind fest 5 A",
         .tooltip = true},
        {.id = C::txt_spannungswandler,
         .accessible_name = "Spannungswandler primär in V",
         .hint = "Nur die Primärspannung des Spannungswandlers in V eintragen; sekundär sind fest 100 V",
         .tooltip = true},
        {.id = C::chk_Spannungswandler,
         .hint = "Nur ankreuzen, wenn der Zähler über einen Spannungswandler angeschlossen ist",
         .tooltip = true},
        {.id = C::txt_ergebnis, .accessible_name = "Ergebnis in Wh pro Impuls", .figure = true},
        {.id = C::label_wandlerverhaeltnis,
         .hint = "Wandlerverhältnis",
         .colours = ColourPair{black, light_grey},
         .figure = true,
         .titled_by = C::Label15},
        {.id = C::Image1, .picture = Picture::panel},
        {.id = C::Image2, .picture = Picture::banner},
    }};
}();

[[nodiscard]] constexpr Presentation presentation(Control id)
{
    const auto* found = std::find_if(presentations.begin(), presentations.end(),
                                     [id](const Presentation& p) { return p.id == id; });
    return found != presentations.end() ? *found : Presentation{.id = id};
}

// Whether a view has a change to show. A change the user made is on the
// screen already, in the control the user changed, with the caret where the
// user left it. A change of the program is shown; a text the program writes
// into a box shows from its first character (the caret at the start), so
// that a figure longer than its box reads as its leading digits, never as
// its tail.
[[nodiscard]] constexpr bool needs_showing(const Change& change)
{
    return change.origin == Origin::program;
}

}  // namespace ui
