#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>

#include "ui/controls.h"
#include "ui/message_port.h"
#include "ui/program.h"
#include "ui/window.h"

// The window as the page shows it. Its controls are the elements of the
// page's first window, which the build wrote from the view plan
// (static_page.h); this view takes them over by their ids, without making or
// drawing them anew, and mirrors the model into them through the page's
// script (page.js), which hands every edit, tick and press to the program
// through the module's C interface (app/web/entry.cpp).
namespace ui::web {

class PageView {
public:
    PageView(const Window& model, UserActions& actions);

    void show_text(TextBox id, std::string_view text);
    void show_caption(Captioned id, std::string_view text);
    void show_value(CheckBox id, std::int16_t value);
    void show_visible(Control id, bool visible);
    // Modal, one after another: the page shows each in turn.
    void show_message(const Message& message);
    // The focus into the first control of the focus order.
    void show();
    // After a fault: the window takes no more input.
    void end() noexcept;

    // Fits every figure to its box anew, after the page's layout or focus
    // has changed (a phone turned, the fonts arrived, a figure's box took or
    // left the focus).
    void refit();
    // Every control shows the model's state again, whatever it showed: what
    // a browser put back into a box or the tick, a figure that showed
    // pending while the module was on its way.
    void show_state();

private:
    void fit(Control id, std::string_view figure);

    const Window& model_;
};

// The control at `index` of the control table as the handle of the kind an
// action needs: the page's script names controls by their index.
// std::invalid_argument for a control of another kind or no control at all.
template <typename Handle>
[[nodiscard]] Handle handle(std::size_t index)
{
    if (index >= control_count) throw std::invalid_argument("no control " + std::to_string(index));
    return visit(control_table[index].id, [](auto id) -> Handle {
        if constexpr (std::is_same_v<decltype(id), Handle>) {
            return id;
        } else {
            throw std::invalid_argument(std::string(name(id)).append(" does not take this action"));
        }
    });
}

}  // namespace ui::web
