#pragma once

#include <ostream>
#include <string>
#include <string_view>

// The page's first window, written at build time into index.html, so that
// the window shows and takes input as soon as the HTML has arrived, before
// the module has: the window as it stands after Load, every control of the
// view plan as the element that the page's script later takes over
// (PageView): its id the control's name, its place, font and stacking as
// custom properties for the stylesheet (korvantelo.css), its state, names,
// hints, colours and picture; each box a group named by its title, its
// controls in rows for a phone's one column. A message while the window is
// made is a fault of the build (std::logic_error).
namespace ui::web {

void write_window(std::ostream& out);

// The stylesheet's facts, for korvantelo.css: from the plan the window's
// faces, in the order every front-end asks for them (--faces), where a text
// box's text starts (--box-text-inset), the check box's size
// (--check-box-size) and the colours of the window and of each kind of
// control (--ground and --text on :root and on the elements of the kind);
// and the page's palette, in which those colours show under the light and
// the dark scheme (--face, --button-text, --field, --field-text, the edges'
// and the tick).
[[nodiscard]] std::string window_style();

// The window's ground under the light scheme ("#rrggbb"): the web app's
// colour, as its manifest gives it.
[[nodiscard]] std::string window_ground();

// `text` with the five characters that HTML gives a meaning written as
// character references, for an element's text or a quoted attribute.
[[nodiscard]] std::string html_text(std::string_view text);

}  // namespace ui::web
