#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

// The 39 controls of the window: names, kinds and initial state, in one table
// that the model, the views and the tests share.
namespace ui {

// The window's own object name and caption.
inline constexpr std::string_view window_name = "korvantelo";
inline constexpr std::string_view window_caption = "Korvantelo berechnen";

enum class Kind : std::uint8_t { text_box, label, check_box, command_button, image_box, line };

// A control of a known kind. The window's fields and events take the handle
// of the kinds that have them (a Text only of a TextBox, a Click only of a
// CheckBox or CommandButton), so that asking a control for something its
// kind lacks does not compile. Every handle converts to Control for the
// tables.
template <Kind K>
class ControlOf;
using TextBox = ControlOf<Kind::text_box>;
using Label = ControlOf<Kind::label>;
using CheckBox = ControlOf<Kind::check_box>;
using CommandButton = ControlOf<Kind::command_button>;
using ImageBox = ControlOf<Kind::image_box>;
using Line = ControlOf<Kind::line>;

// Every control of the window, once: in stacking order (the first lies on
// top), each with its kind, its name, its initial Text or Caption, its
// TabIndex (none for lines and pictures) and its initial state. The name is
// the control's own, as the views set it and the tests look it up
// (label_wandlerverhältnis with its "ä"); the C++ handle beside it is ASCII,
// so that every tool reads the source.
#define KORVANTELO_CONTROLS(X)                                                                   \
    X(text_box, txt_kwh, "txt_kwh", "1", 24, disabled)                                          \
    X(text_box, txt_wh, "txt_wh", "1000", 21, shown)                                            \
    X(check_box, chk_Spannungswandler, "chk_Spannungswandler", "Spannungswandler", 20, shown)   \
    X(text_box, txt_ergebnis, "txt_ergebnis", "", 12, shown)                                    \
    X(command_button, cmd_berechnen, "cmd_berechnen", "Berechnen", 10, shown)                   \
    X(text_box, txt_spannungswandler, "txt_spannungswandler", "100", 8, hidden)                 \
    X(text_box, txt_stromwandler, "txt_stromwandler", "5", 4, shown)                            \
    X(text_box, txt_impulse, "txt_impulse", "1", 0, shown)                                      \
    X(label, Label16, "Label16", "kWh)", 23, shown)                                             \
    X(label, Label7, "Label7", "(", 22, shown)                                                  \
    X(image_box, Image2, "Image2", "", none, shown)                                             \
    X(image_box, Image1, "Image1", "", none, shown)                                             \
    X(label, Label6, "Label6", "Wh", 19, shown)                                                 \
    X(label, Label1, "Label1", "/", 18, shown)                                                  \
    X(label, label_wandlerverhaeltnis, "label_wandlerverhältnis", "", 17, shown)                \
    X(label, Label15, "Label15", "Wandlerverhältnis", 16, shown)                                \
    X(label, Label14, "Label14", "Wh pro Impuls", 15, shown)                                    \
    X(label, Label13, "Label13", "100 V", 14, hidden)                                           \
    X(label, Label12, "Label12", "5 A", 13, shown)                                              \
    X(line, Line12, "Line12", "", none, shown)                                                  \
    X(line, Line11, "Line11", "", none, shown)                                                  \
    X(line, Line10, "Line10", "", none, shown)                                                  \
    X(line, Line9, "Line9", "", none, shown)                                                    \
    X(label, Label11, "Label11", "Ergebnis", 11, shown)                                         \
    X(label, Label10, "Label10", "/", 9, hidden)                                                \
    X(label, Label9, "Label9", "Spannung", 7, hidden)                                           \
    X(label, Label8, "Label8", "/", 6, shown)                                                   \
    X(label, Label5, "Label5", "Strom", 5, shown)                                               \
    X(label, Label3, "Label3", "Wandler", 3, shown)                                             \
    X(line, Line8, "Line8", "", none, shown)                                                    \
    X(line, Line7, "Line7", "", none, shown)                                                    \
    X(line, Line6, "Line6", "", none, shown)                                                    \
    X(line, Line5, "Line5", "", none, shown)                                                    \
    X(line, Line4, "Line4", "", none, shown)                                                    \
    X(line, Line3, "Line3", "", none, shown)                                                    \
    X(line, Line2, "Line2", "", none, shown)                                                    \
    X(line, Line1, "Line1", "", none, shown)                                                    \
    X(label, Label4, "Label4", "Korvantelo Zähler", 2, shown)                                   \
    X(label, Label2, "Label2", "Impulse", 1, shown)

namespace detail {
// Each control's position in the list above.
enum class At : std::uint8_t {
#define KORVANTELO_AT(kind, id, name, initial, tab, state) id,
    KORVANTELO_CONTROLS(KORVANTELO_AT)
#undef KORVANTELO_AT
    count
};
}  // namespace detail

// One of the 39 controls of the window, of whatever kind: the members below,
// in stacking order, a control's stacking number being its position plus
// one. No other Control can be made.
class Control {
public:
    [[nodiscard]] friend constexpr bool operator==(Control, Control) = default;
    [[nodiscard]] friend constexpr auto operator<=>(Control, Control) = default;

    // The control's position in the stacking order and in every per-control array.
    [[nodiscard]] friend constexpr std::size_t index(Control id) { return id.at_; }

#define KORVANTELO_HANDLE(kind, id, name, initial, tab, state) static const ControlOf<Kind::kind> id;
    KORVANTELO_CONTROLS(KORVANTELO_HANDLE)
#undef KORVANTELO_HANDLE

protected:
    constexpr explicit Control(std::uint8_t at) : at_(at) {}

private:
    std::uint8_t at_;
};

[[nodiscard]] constexpr std::size_t index(Control id);

namespace detail {
struct HandleMaker;
}

template <Kind K>
class ControlOf : public Control {
public:
    static constexpr Kind kind = K;

private:
    friend class Control;
    friend struct detail::HandleMaker;
    constexpr explicit ControlOf(std::uint8_t at) : Control(at) {}
};

// A control of one of several kinds, for the fields and events that these
// kinds share: the handle of each converts to it, no other does.
template <Kind... Kinds>
class OneOf : public Control {
public:
    template <Kind K>
        requires((K == Kinds) || ...)
    constexpr OneOf(ControlOf<K> id) : Control(id)  // implicit: the handle of each kind is one of them
    {
    }
};

#define KORVANTELO_HANDLE(kind, id, name, initial, tab, state) \
    inline constexpr ControlOf<Kind::kind> Control::id{static_cast<std::uint8_t>(detail::At::id)};
KORVANTELO_CONTROLS(KORVANTELO_HANDLE)
#undef KORVANTELO_HANDLE

inline constexpr std::size_t control_count = static_cast<std::size_t>(detail::At::count);

struct ControlInfo {
    Control id;
    std::string_view name;  // exact, UTF-8
    Kind kind;
    std::string_view initial;  // Text of a text box, Caption of a label, check box or button
    bool visible = true;
    bool enabled = true;
    std::optional<std::int16_t> tab_index;  // lines and image boxes have none
    bool tab_stop = false;                  // only text boxes, the check box and the button take focus
};

namespace detail {
enum class State : std::uint8_t { shown, hidden, disabled };

// A row of the list. Text boxes, the check box and the button take the
// focus while they are enabled; a disabled box is not a tab stop.
constexpr ControlInfo row(Control id, std::string_view name, Kind kind, std::string_view initial,
                          std::optional<std::int16_t> tab_index, State state)
{
    const bool enabled = state != State::disabled;
    const bool input = kind == Kind::text_box || kind == Kind::check_box || kind == Kind::command_button;
    return {id, name, kind, initial, state != State::hidden, enabled, tab_index, input && enabled};
}
}  // namespace detail

inline constexpr std::array<ControlInfo, control_count> control_table = [] {
    using enum detail::State;
    constexpr std::optional<std::int16_t> none;
    return std::array<ControlInfo, control_count>{{
#define KORVANTELO_ROW(kind, id, name, initial, tab, state) \
    detail::row(Control::id, name, Kind::kind, initial, tab, state),
        KORVANTELO_CONTROLS(KORVANTELO_ROW)
#undef KORVANTELO_ROW
    }};
}();

[[nodiscard]] constexpr const ControlInfo& info(Control id)
{
    return control_table[index(id)];
}

[[nodiscard]] constexpr std::string_view name(Control id)
{
    return info(id).name;
}

// Text boxes, the check box and the button: the controls that take the
// user's input and the focus.
[[nodiscard]] constexpr bool takes_input(Kind kind)
{
    return kind == Kind::text_box || kind == Kind::check_box || kind == Kind::command_button;
}

// The voltage row, in the order in which it is shown and hidden.
inline constexpr std::array<Control, 4> voltage_row = {
    Control::Label9, Control::txt_spannungswandler, Control::Label10, Control::Label13};

namespace detail {
struct HandleMaker {
    template <Kind K>
    static constexpr ControlOf<K> make(Control id)
    {
        return ControlOf<K>(static_cast<std::uint8_t>(index(id)));
    }
};
}  // namespace detail

// Calls `visitor` with the control as the handle of its kind: where a view
// walks the tables, each kind goes to the code for that kind.
template <typename Visitor>
constexpr decltype(auto) visit(Control id, Visitor&& visitor)
{
    using detail::HandleMaker;
    switch (info(id).kind) {
    case Kind::text_box: return std::forward<Visitor>(visitor)(HandleMaker::make<Kind::text_box>(id));
    case Kind::label: return std::forward<Visitor>(visitor)(HandleMaker::make<Kind::label>(id));
    case Kind::check_box: return std::forward<Visitor>(visitor)(HandleMaker::make<Kind::check_box>(id));
    case Kind::command_button:
        return std::forward<Visitor>(visitor)(HandleMaker::make<Kind::command_button>(id));
    case Kind::image_box: return std::forward<Visitor>(visitor)(HandleMaker::make<Kind::image_box>(id));
    case Kind::line: break;
    }
    return std::forward<Visitor>(visitor)(HandleMaker::make<Kind::line>(id));
}

}  // namespace ui

#undef KORVANTELO_CONTROLS
