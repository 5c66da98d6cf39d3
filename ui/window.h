#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ui/controls.h"
#include "ui/message_port.h"

// The window model: the state of the 39 controls, which is all the program
// knows, with the notifications Load, Change and Click. It needs no display:
// the handlers run on it headless, and the views mirror it.
namespace ui {

// A field of a control that can change while the window is open.
enum class Field : std::uint8_t { text, caption, value, visible };

// Who made a change: the program (a handler's write) or the user (an edit,
// a tick).
enum class Origin : std::uint8_t { program, user };

// One change of a control's state, as the observers hear of it.
struct Change {
    Control id;
    Field field;
    Origin origin;
    bool operator==(const Change&) const = default;
};

// A user action on a control that cannot take it at the moment: hidden or
// disabled.
class ActionRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The controls that have a Caption, and those that have a Click.
using Captioned = OneOf<Kind::label, Kind::check_box, Kind::command_button>;
using Clickable = OneOf<Kind::check_box, Kind::command_button>;

class Window {
public:
    using Handler = std::function<void(Window&)>;
    // Called after every change of a control's state, by the program or the user.
    using Observer = std::function<void(const Change&)>;

    // Creates every control in its initial state. Messages go to `port`.
    explicit Window(MessagePort& port);
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Reading and writing by the program. A write takes effect at once and
    // raises no event (only user actions do).
    [[nodiscard]] const std::string& text(TextBox box) const { return state(box).text; }
    void set_text(TextBox box, std::string text);
    [[nodiscard]] const std::string& caption(Captioned id) const { return state(id).text; }
    void set_caption(Captioned id, std::string caption);
    [[nodiscard]] std::int16_t value(CheckBox box) const { return state(box).value; }
    [[nodiscard]] bool visible(Control id) const { return state(id).visible; }
    void set_visible(Control id, bool visible);

    // Attaching handlers; each event takes one. A second one is a fault of
    // the program (std::logic_error).
    void on_load(Handler handler);
    void on_change(TextBox box, Handler handler);
    void on_click(Clickable id, Handler handler);

    // Raises Load. Start-up calls it once, before the window is shown.
    void load();

    // User actions. Each applies only to a visible, enabled control, and
    // throws ActionRefused otherwise.
    //
    // Replaces the whole text; raises Change.
    void user_replace_text(TextBox box, std::string text);
    // Toggles Value between 0 and 1, then raises Click.
    void user_toggle(CheckBox box);
    // Raises Click.
    void user_press(CommandButton button);
    [[nodiscard]] bool takes_user_action(Control id) const;

    void add_observer(Observer observer);

    // Shows a message through the port and returns when it is closed.
    void show_message(const Message& message);
    // Tells the user, through the port, of a fault of the program that
    // reached the edge of an event: the fault prompt and the fault's own
    // text. A front-end ends the program after it. Throws nothing: should
    // telling fail too, the program still ends with its failure status.
    void report_fault(const std::exception_ptr& fault) noexcept;

private:
    struct State {
        std::string text;  // Text or Caption, by kind
        std::int16_t value = 0;
        bool visible = true;
        Handler handler;  // Change of a text box, Click of the check box or button
    };

    [[nodiscard]] const State& state(Control id) const { return controls_[index(id)]; }
    State& actionable(Control id);
    void write(Control id, Field field, std::string text);
    void attach(Control id, Handler handler);
    void raise(const Handler& handler);
    void notify(Control id, Field field, Origin origin);

    MessagePort& port_;
    std::array<State, control_count> controls_;
    Handler load_handler_;
    std::vector<Observer> observers_;
};

// What a control shows as its text: the Text of a text box, the Caption of
// a label, check box or button; nothing for a line or a picture.
[[nodiscard]] std::string_view shown_text(const Window& window, Control id);

// What a control shows as its Value: the check box's; 0 for the others.
[[nodiscard]] std::int16_t shown_value(const Window& window, Control id);

}  // namespace ui
