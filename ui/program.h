#pragma once

#include <concepts>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "ui/controls.h"
#include "ui/handlers.h"
#include "ui/message_port.h"
#include "ui/presentation.h"
#include "ui/window.h"

// The program as every front-end runs it: the window model, the six
// handlers of the binding table attached to it, and a front-end's view over
// it, which shows the model's changes and its messages and hands the user's
// actions in. The shells (app/) only make one and start it.
namespace ui {

// What a front-end's controls tell the program. None of these throws: a
// fault that leaves the model is told through the window's message path,
// and the front-end is ended (View::end).
class UserActions {
public:
    // The user changed the text of a box; `text` is its whole new text.
    virtual void edited(TextBox box, std::string text) noexcept = 0;
    // The user ticked or unticked the check box.
    virtual void toggled(CheckBox box) noexcept = 0;
    virtual void pressed(CommandButton button) noexcept = 0;
    // A fault of the program that reached the edge of the front-end's own
    // code (a window procedure, a slot): told, and the front-end ended.
    virtual void fault(const std::exception_ptr& fault) noexcept = 0;

protected:
    ~UserActions() = default;
};

// A front-end's view: made over the model (its present state) and the
// program's UserActions, it shows what the program changes and asks. Only
// the program's own changes reach it (needs_showing): what the user changed
// is on the screen already.
template <typename V>
concept View = requires(V& view, TextBox box, Captioned captioned, CheckBox check, Control control,
                        std::string_view text, const Message& message) {
    view.show_text(box, text);           // a program write shows from its first character
    view.show_caption(captioned, text);
    view.show_value(check, std::int16_t{});
    view.show_visible(control, true);
    view.show_message(message);          // modal; returns when the user has closed it
    view.show();                         // the window, with the focus in the plan's first control
    { view.end() } noexcept;             // after a fault: the front-end takes no more input and ends
};

template <typename V>
class Program final : MessagePort, public UserActions {
public:
    // Every control in its stored state, the handlers bound, the view made
    // with `args` after the model and the actions; Load has not run.
    template <typename... Args>
    explicit Program(Args&&... args) : view_(std::as_const(model_), *this, std::forward<Args>(args)...)
    {
        static_assert(View<V>);
        bind_event_handlers(model_);
        model_.add_observer([this](const Change& change) { mirror(change); });
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    [[nodiscard]] Window& model() { return model_; }
    [[nodiscard]] V& view() { return view_; }

    // Runs Load, so that the ratio shows before the window does, then
    // shows the window.
    void start() noexcept
    {
        guarded([this] {
            model_.load();
            view_.show();
        });
    }

    void edited(TextBox box, std::string text) noexcept override
    {
        guarded([&] { model_.user_replace_text(box, std::move(text)); });
    }
    void toggled(CheckBox box) noexcept override
    {
        guarded([&] { model_.user_toggle(box); });
    }
    void pressed(CommandButton button) noexcept override
    {
        guarded([&] { model_.user_press(button); });
    }
    void fault(const std::exception_ptr& fault) noexcept override
    {
        model_.report_fault(fault);
        view_.end();
    }

private:
    void show(const Message& message) override { view_.show_message(message); }

    template <typename Action>
    void guarded(Action&& action) noexcept
    {
        try {
            std::forward<Action>(action)();
        } catch (...) {
            fault(std::current_exception());
        }
    }

    void mirror(const Change& change)
    {
        if (!needs_showing(change)) return;
        if (change.field == Field::visible) {
            view_.show_visible(change.id, model_.visible(change.id));
            return;
        }
        visit(change.id, [&](auto id) {
            using Handle = decltype(id);
            if constexpr (std::is_same_v<Handle, TextBox>) {
                view_.show_text(id, model_.text(id));
            } else if constexpr (std::is_convertible_v<Handle, Captioned>) {
                if (change.field == Field::caption) view_.show_caption(id, model_.caption(id));
                if constexpr (std::is_same_v<Handle, CheckBox>) {
                    if (change.field == Field::value) view_.show_value(id, model_.value(id));
                }
            }
        });
    }

    Window model_{*this};
    V view_;
};

}  // namespace ui
