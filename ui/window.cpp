#include "ui/window.h"

#include <type_traits>
#include <utility>

#include "calc/errors.h"

namespace ui {

Window::Window(MessagePort& port) : port_(port)
{
    for (const auto& control : control_table) {
        State& state = controls_[index(control.id)];
        state.text = control.initial;
        state.visible = control.visible;
    }
}

void Window::set_text(TextBox box, std::string text)
{
    write(box, Field::text, std::move(text));
}

void Window::set_caption(Captioned id, std::string caption)
{
    write(id, Field::caption, std::move(caption));
}

void Window::write(Control id, Field field, std::string text)
{
    controls_[index(id)].text = std::move(text);
    notify(id, field, Origin::program);
}

void Window::set_visible(Control id, bool visible)
{
    controls_[index(id)].visible = visible;
    notify(id, Field::visible, Origin::program);
}

void Window::attach(Control id, Handler handler)
{
    Handler& slot = controls_[index(id)].handler;
    if (slot) throw std::logic_error(std::string(name(id)).append(" already has a handler"));
    slot = std::move(handler);
}

void Window::on_load(Handler handler)
{
    if (load_handler_) throw std::logic_error("Load already has a handler");
    load_handler_ = std::move(handler);
}

void Window::on_change(TextBox box, Handler handler)
{
    attach(box, std::move(handler));
}

void Window::on_click(Clickable id, Handler handler)
{
    attach(id, std::move(handler));
}

void Window::load()
{
    raise(load_handler_);
}

bool Window::takes_user_action(Control id) const
{
    return takes_input(info(id).kind) && state(id).visible && info(id).enabled;
}

Window::State& Window::actionable(Control id)
{
    if (!takes_user_action(id)) {
        throw ActionRefused(std::string(name(id)).append(": hidden or disabled"));
    }
    return controls_[index(id)];
}

void Window::user_replace_text(TextBox box, std::string text)
{
    State& state = actionable(box);
    state.text = std::move(text);
    notify(box, Field::text, Origin::user);
    raise(state.handler);
}

void Window::user_toggle(CheckBox box)
{
    State& state = actionable(box);
    state.value = state.value == 0 ? 1 : 0;
    notify(box, Field::value, Origin::user);
    raise(state.handler);
}

void Window::user_press(CommandButton button)
{
    raise(actionable(button).handler);
}

void Window::add_observer(Observer observer)
{
    observers_.push_back(std::move(observer));
}

void Window::show_message(const Message& message)
{
    port_.show(message);
}

std::string fault_text(const std::exception_ptr& fault)
{
    std::string prompt(fault_prompt);
    try {
        std::rethrow_exception(fault);
    } catch (const std::exception& e) {
        prompt.append("\n").append(e.what());
    } catch (...) {  // NOLINT(bugprone-empty-catch): a fault without a text of its own
    }
    return prompt;
}

void Window::report_fault(const std::exception_ptr& fault) noexcept
{
    try {
        const std::string prompt = fault_text(fault);
        port_.show({prompt, fault_title});
    } catch (...) {  // NOLINT(bugprone-empty-catch): the caller's failure status still tells
    }
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

void Window::notify(Control id, Field field, Origin origin)
{
    const Change change{id, field, origin};
    for (const auto& observer : observers_) observer(change);
}

std::string_view shown_text(const Window& window, Control id)
{
    return visit(id, [&window](auto control) -> std::string_view {
        using Handle = decltype(control);
        if constexpr (std::is_same_v<Handle, TextBox>) {
            return window.text(control);
        } else if constexpr (std::is_convertible_v<Handle, Captioned>) {
            return window.caption(control);
        } else {
            return {};
        }
    });
}

std::int16_t shown_value(const Window& window, Control id)
{
    return visit(id, [&window](auto control) -> std::int16_t {
        if constexpr (std::is_same_v<decltype(control), CheckBox>) {
            return window.value(control);
        } else {
            return 0;
        }
    });
}

}  // namespace ui
