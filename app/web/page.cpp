#include "app/web/page.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <type_traits>
#include <utility>

#include "ui/controls.h"
#include "ui/handlers.h"
#include "ui/layout.h"
#include "ui/presentation.h"

namespace app::web {
namespace {

constexpr std::array<std::string_view, 6> kind_names{"text_box", "label", "check_box", "command_button",
                                                     "image_box", "line"};
constexpr std::array<std::string_view, 4> field_names{"text", "caption", "value", "visible"};

// The page keeps the pictures as the files they are, beside index.html.
std::string_view picture_file(ui::Picture picture)
{
    return picture == ui::Picture::panel ? "image1.jpg" : "image2.bmp";
}

std::string colour(ui::Rgb rgb)
{
    constexpr std::string_view digits = "0123456789abcdef";
    std::string text = "\"#";
    for (const unsigned part : {rgb.red, rgb.green, rgb.blue}) {
        text += digits[part >> 4U];
        text += digits[part & 0xFU];
    }
    return text + '"';
}

std::string numbers(std::initializer_list<int> values)
{
    std::string text = "[";
    for (const int value : values) {
        if (text.size() > 1) text += ',';
        text += std::to_string(value);
    }
    return text + ']';
}

int value_of(const ui::Window& window, ui::Control control)
{
    return ui::visit(control, [&window](auto id) -> int {
        if constexpr (std::is_same_v<decltype(id), ui::CheckBox>) {
            return window.value(id);
        } else {
            return 0;
        }
    });
}

// The control at `index` as the handle of the kind an action needs.
template <typename Handle>
Handle handle(std::size_t index)
{
    return ui::visit(ui::control_table.at(index).id, [](auto id) -> Handle {
        if constexpr (std::is_same_v<decltype(id), Handle>) {
            return id;
        } else {
            throw std::invalid_argument(std::string(ui::name(id)).append(" does not take this action"));
        }
    });
}

// Where a control sits, in CSS pixels (the layout's pixels at 96 dpi), and
// its font as [pixel height, bold]; a line has no font.
std::string geometry(ui::Control control)
{
    if (const auto line = ui::layout::line_placement(control)) {
        const auto r = ui::layout::line_rect(*line);
        return "\"rect\":" + numbers({r.left, r.top, r.width, r.height});
    }
    const auto place = *ui::layout::placement(control);
    const auto r = ui::layout::pixel_rect(place);
    const auto font = ui::layout::font_info(place.font);
    return "\"rect\":" + numbers({r.left, r.top, r.width, r.height}) +
           ",\"font\":" + numbers({font.pixel_height, font.bold ? 1 : 0});
}

// Where a control lies in the stacking: higher above lower.
int stacking(ui::Control control)
{
    const auto* at = std::find(ui::stacking_order.begin(), ui::stacking_order.end(), control);
    return static_cast<int>(ui::stacking_order.end() - at);
}

// The control's position in the Tab order among those that take the focus,
// from 1; 0 for one that never takes it.
int tab_position(ui::Control control)
{
    if (!ui::info(control).tab_stop) return 0;
    int position = 0;
    for (const ui::Control id : ui::input_order) {
        if (ui::info(id).tab_stop) ++position;
        if (id == control) return position;
    }
    return 0;
}

std::string presentation(const ui::Presentation& p)
{
    std::string text = "\"label\":" + json_string(p.accessible_name) + ",\"hint\":" + json_string(p.hint) +
                       ",\"tooltip\":" + (p.tooltip ? "true" : "false");
    if (p.colours) text += ",\"colours\":[" + colour(p.colours->text) + "," + colour(p.colours->ground) + "]";
    if (p.picture) text += ",\"picture\":" + json_string(picture_file(*p.picture));
    return text;
}

}  // namespace

std::string json_string(std::string_view text)
{
    constexpr std::string_view digits = "0123456789abcdef";
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20U) {
            quoted += "\\u00";
            quoted += digits[byte >> 4U];
            quoted += digits[byte & 0xFU];
        } else {
            quoted += c;
        }
    }
    return quoted + '"';
}

Page::Page()
{
    ui::bind_event_handlers(window_);
    window_.add_observer([this](const ui::Change& change) {
        if (ui::needs_showing(change)) shown_.push_back(change);
    });
}

void Page::show(const ui::Message& message)
{
    messages_.push_back({std::string(message.title), std::string(message.prompt)});
}

// Runs the action unless the page has ended; a fault that leaves it is
// reported through the window, and the page ends. Should even the answer
// fail to be written, it is empty, which the script takes for the end.
template <typename Action>
const std::string& Page::answer(Action&& action) noexcept
{
    shown_.clear();
    messages_.clear();
    if (!ended_) {
        try {
            std::forward<Action>(action)();
        } catch (...) {
            window_.report_fault(std::current_exception());
            ended_ = true;
        }
    }
    try {
        answer_ = answer_text();
    } catch (...) {
        answer_.clear();
        ended_ = true;
    }
    return answer_;
}

std::string Page::answer_text() const
{
    std::string text = "{\"shown\":[";
    for (const ui::Change& change : shown_) {
        if (text.back() != '[') text += ',';
        text += "[" + std::to_string(ui::index(change.id)) + ",\"";
        text += field_names.at(static_cast<std::size_t>(change.field));
        text += "\",";
        switch (change.field) {
        case ui::Field::text:
        case ui::Field::caption: text += json_string(ui::shown_text(window_, change.id)); break;
        case ui::Field::value: text += std::to_string(value_of(window_, change.id)); break;
        case ui::Field::visible: text += window_.visible(change.id) ? "true" : "false"; break;
        }
        text += ']';
    }
    text += "],\"messages\":[";
    for (const Shown& message : messages_) {
        if (text.back() != '[') text += ',';
        text += "[" + json_string(message.title) + "," + json_string(message.prompt) + "]";
    }
    return text + "],\"ended\":" + (ended_ ? "true" : "false") + "}";
}

// {"name":…,"caption":…,"size":[width,height],"face":…,"fault":[title,prompt],
//  "controls":[{"name","kind","text","value","visible","enabled","tab","z",
//               "rect":[left,top,width,height],"font":[pixels,bold],
//               "label","hint","tooltip","colours":[text,ground],"picture"},…],
//  "reading":[index,…]}
// with the controls in the order of ui::control_table. "font" is missing
// for lines, "colours" and "picture" where the control has none. "reading"
// lists the controls but the lines in the order of the layout table: box by
// box, each as it reads.
std::string Page::tables_text() const
{
    std::string text = "{\"name\":" + json_string(ui::window_name) +
                       ",\"caption\":" + json_string(ui::window_caption) + ",\"size\":" +
                       numbers({ui::layout::pixels(ui::layout::client_width),
                                ui::layout::pixels(ui::layout::client_height)}) +
                       ",\"face\":" + json_string(ui::layout::font_face) + ",\"fault\":[" +
                       json_string(ui::fault_title) + "," + json_string(ui::fault_prompt) + "],\"controls\":[";
    for (const ui::ControlInfo& control : ui::control_table) {
        if (text.back() != '[') text += ',';
        text += "{\"name\":" + json_string(control.name) +
                ",\"kind\":" + json_string(kind_names.at(static_cast<std::size_t>(control.kind))) +
                ",\"text\":" + json_string(ui::shown_text(window_, control.id)) +
                ",\"value\":" + std::to_string(value_of(window_, control.id)) +
                ",\"visible\":" + (window_.visible(control.id) ? "true" : "false") +
                ",\"enabled\":" + (control.enabled ? "true" : "false") +
                ",\"tab\":" + std::to_string(tab_position(control.id)) + ",\"z\":" +
                std::to_string(stacking(control.id)) + "," + geometry(control.id) + "," +
                presentation(ui::presentation(control.id)) + "}";
    }
    text += "],\"reading\":[";
    for (const auto& place : ui::layout::placements) {
        if (text.back() != '[') text += ',';
        text += std::to_string(ui::index(place.id));
    }
    return text + "]}";
}

const std::string& Page::tables() noexcept
{
    try {
        answer_ = tables_text();
    } catch (...) {
        answer_.clear();
    }
    return answer_;
}

const std::string& Page::load() noexcept
{
    return answer([this] { window_.load(); });
}

const std::string& Page::replace_text(std::size_t index, std::string_view text) noexcept
{
    return answer([this, index, text] { window_.user_replace_text(handle<ui::TextBox>(index), std::string(text)); });
}

const std::string& Page::toggle(std::size_t index) noexcept
{
    return answer([this, index] { window_.user_toggle(handle<ui::CheckBox>(index)); });
}

const std::string& Page::press(std::size_t index) noexcept
{
    return answer([this, index] { window_.user_press(handle<ui::CommandButton>(index)); });
}

}  // namespace app::web
