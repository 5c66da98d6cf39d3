#pragma once

#include <cstdint>
#include <ostream>
#include <string_view>

#include "ui/controls.h"
#include "ui/message_port.h"
#include "ui/program.h"
#include "ui/window.h"

// The page's first window, written at build time into index.html, so that
// the window shows and takes input as soon as the HTML has arrived, before
// the module has: a view of the program whose show() writes the window as
// it stands after Load, every control of the view plan as the element that
// the page's script later takes over (PageView): its id the control's name,
// its place, font and stacking as custom properties for the stylesheet
// (korvantelo.css), its state, names, hints, colours and picture; each box a
// group named by its title, its controls in rows for a phone's one column.
namespace ui::web {

class StaticPage {
public:
    StaticPage(const Window& model, UserActions& actions, std::ostream& out);

    // The program writes nothing the first window would not show.
    void show_text(TextBox /*id*/, std::string_view /*text*/) {}
    void show_caption(Captioned /*id*/, std::string_view /*text*/) {}
    void show_value(CheckBox /*id*/, std::int16_t /*value*/) {}
    void show_visible(Control /*id*/, bool /*visible*/) {}
    // A message while the first window is made is a fault of the build.
    [[noreturn]] void show_message(const Message& message);
    // Writes the window.
    void show();
    void end() noexcept {}

private:
    const Window& model_;
    std::ostream& out_;
};

// The stylesheet's facts from the plan: the window's faces, in the order
// every front-end asks for them, as the custom property --faces.
[[nodiscard]] std::string window_style();

// `text` with the five characters that HTML gives a meaning written as
// character references, for an element's text or a quoted attribute.
[[nodiscard]] std::string html_text(std::string_view text);

}  // namespace ui::web
