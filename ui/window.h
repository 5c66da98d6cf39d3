#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ui/controls.h"
#include "ui/message_port.h"

// The window model: the state of the 39 controls, which is all the program
// knows, with the notifications Load, Change and Click. It needs no display:
// the handlers run on it headless, and the Qt view mirrors it.
namespace ui {

// A field of a control that can change while the window is open.
enum class Field : std::uint8_t { text, caption, value, visible };

// Asked for a field that the control's kind does not have, or attached a
// second handler to one event: a fault of the program, not of the input.
class ModelError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// A user action on a control that cannot take it: hidden, disabled, or of a
// kind that does not take that action.
class ActionRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Window {
public:
    using Handler = std::function<void(Window&)>;
    // Called after every change of a control's state, by the program or the user.
    using Observer = std::function<void(Control, Field)>;

    // Creates every control in its initial state. Messages go to `port`.
    explicit Window(MessagePort& port);
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Reading and writing by the program. A write takes effect at once and
    // raises no notification (only user actions do).
    [[nodiscard]] const std::string& text(Control id) const;  // text box
    void set_text(Control id, std::string text);
    [[nodiscard]] const std::string& caption(Control id) const;  // label, check box, button
    void set_caption(Control id, std::string caption);
    [[nodiscard]] std::int16_t value(Control id) const;  // check box: 0 or 1
    [[nodiscard]] bool visible(Control id) const;
    void set_visible(Control id, bool visible);  // text box or label

    // Attaching handlers; each event takes at most one.
    void on_load(Handler handler);
    void on_change(Control text_box, Handler handler);
    void on_click(Control id, Handler handler);

    // Raises Load. Start-up calls it once, before the window is shown.
    void load();

    // User actions. Each applies only to a visible, enabled control of the
    // right kind, and throws ActionRefused otherwise.
    //
    // Replaces the whole text; raises Change.
    void user_replace_text(Control text_box, std::string text);
    // Toggles Value between 0 and 1, then raises Click.
    void user_toggle(Control check_box);
    // Raises Click.
    void user_press(Control button);
    [[nodiscard]] bool takes_user_action(Control id) const;

    void add_observer(Observer observer);

    // Shows a message through the port and returns when it is closed.
    void show_message(const Message& message);

private:
    struct State {
        std::string text;  // Text or Caption, by kind
        std::int16_t value = 0;
        bool visible = true;
        Handler handler;  // Change of a text box, Click of the check box or button
    };

    State& checked(Control id, std::initializer_list<Kind> kinds, std::string_view field);
    [[nodiscard]] const State& checked(Control id, std::initializer_list<Kind> kinds,
                                       std::string_view field) const;
    State& actionable(Control id, Kind kind);
    static void attach(State& state, Handler handler, std::string_view event);
    void raise(const Handler& handler);
    void notify(Control id, Field field);

    MessagePort& port_;
    std::array<State, control_count> controls_;
    Handler load_handler_;
    std::vector<Observer> observers_;
};

}  // namespace ui
