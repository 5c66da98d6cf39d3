#include "ui/window.h"

#include <algorithm>
#include <utility>

#include "calc/errors.h"

namespace ui {
namespace {

// The index of a control, which must be one of the window's 39.
std::size_t known(Control id)
{
    if (index(id) >= control_count) throw ModelError("no such control");
    return index(id);
}

std::string describe(Control id, std::string_view what)
{
    return std::string(name(id)).append(": ").append(what);
}

}  // namespace

Window::Window(MessagePort& port) : port_(port)
{
    for (const auto& control : control_table) {
        State& state = controls_[index(control.id)];
        state.text = control.initial;
        state.visible = control.visible;
    }
}

Window::State& Window::checked(Control id, std::initializer_list<Kind> kinds, std::string_view field)
{
    return const_cast<State&>(std::as_const(*this).checked(id, kinds, field));
}

const Window::State& Window::checked(Control id, std::initializer_list<Kind> kinds,
                                     std::string_view field) const
{
    const std::size_t at = known(id);
    if (std::find(kinds.begin(), kinds.end(), info(id).kind) == kinds.end()) {
        throw ModelError(describe(id, std::string("has no ").append(field)));
    }
    return controls_[at];
}

const std::string& Window::text(Control id) const
{
    return checked(id, {Kind::text_box}, "Text").text;
}

void Window::set_text(Control id, std::string text)
{
    checked(id, {Kind::text_box}, "Text").text = std::move(text);
    notify(id, Field::text);
}

const std::string& Window::caption(Control id) const
{
    return checked(id, {Kind::label, Kind::check_box, Kind::command_button}, "Caption").text;
}

void Window::set_caption(Control id, std::string caption)
{
    checked(id, {Kind::label, Kind::check_box, Kind::command_button}, "Caption").text =
        std::move(caption);
    notify(id, Field::caption);
}

std::int16_t Window::value(Control id) const
{
    return checked(id, {Kind::check_box}, "Value").value;
}

bool Window::visible(Control id) const
{
    return controls_[known(id)].visible;
}

void Window::set_visible(Control id, bool visible)
{
    checked(id, {Kind::text_box, Kind::label}, "writable Visible").visible = visible;
    notify(id, Field::visible);
}

void Window::attach(State& state, Handler handler, std::string_view event)
{
    if (state.handler) throw ModelError(std::string(event).append(" already has a handler"));
    state.handler = std::move(handler);
}

void Window::on_load(Handler handler)
{
    if (load_handler_) throw ModelError("Load already has a handler");
    load_handler_ = std::move(handler);
}

void Window::on_change(Control text_box, Handler handler)
{
    attach(checked(text_box, {Kind::text_box}, "Change"), std::move(handler), name(text_box));
}

void Window::on_click(Control id, Handler handler)
{
    attach(checked(id, {Kind::check_box, Kind::command_button}, "Click"), std::move(handler),
           name(id));
}

void Window::load()
{
    raise(load_handler_);
}

bool Window::takes_user_action(Control id) const
{
    if (index(id) >= control_count) return false;
    return takes_input(info(id).kind) && controls_[index(id)].visible && info(id).enabled;
}

Window::State& Window::actionable(Control id, Kind kind)
{
    if (index(id) >= control_count || info(id).kind != kind) {
        throw ActionRefused("this control does not take that action");
    }
    if (!takes_user_action(id)) throw ActionRefused(describe(id, "hidden or disabled"));
    return controls_[index(id)];
}

void Window::user_replace_text(Control text_box, std::string text)
{
    State& state = actionable(text_box, Kind::text_box);
    state.text = std::move(text);
    notify(text_box, Field::text);
    raise(state.handler);
}

void Window::user_toggle(Control check_box)
{
    State& state = actionable(check_box, Kind::check_box);
    state.value = state.value == 0 ? 1 : 0;
    notify(check_box, Field::value);
    raise(state.handler);
}

void Window::user_press(Control button)
{
    raise(actionable(button, Kind::command_button).handler);
}

void Window::add_observer(Observer observer)
{
    observers_.push_back(std::move(observer));
}

void Window::show_message(const Message& message)
{
    port_.show(message);
}

void Window::raise(const Handler& handler)
{
    if (!handler) return;
    try {
        handler(*this);
    } catch (const calc::Error&) {
        // The one error trap of every handler: bad input or a failed formula
        // step ends the handler and shows the input-error message. What the
        // handler wrote before the failing statement stays, and the program
        // goes on.
        show_message(input_error_message);
    }
}

void Window::notify(Control id, Field field)
{
    for (const auto& observer : observers_) observer(id, field);
}

}  // namespace ui
