#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

// The 39 controls of the window: names, kinds and initial state, in one table
// that the model, the Qt view and the tests share.
namespace ui {

// The window's own object name and caption.
inline constexpr std::string_view window_name = "korvantelo";
inline constexpr std::string_view window_caption = "Korvantelo berechnen";

// Every control, in stacking order: the first lies on top. Enumerators are
// ASCII so that every tool reads the source; the name strings of the table
// below (label_wandlerverhältnis with its "ä") are the names that the view
// sets as object names and the tests look up. A control's stacking number
// is its position here plus one.
enum class Control : std::uint8_t {
    txt_kwh,
    txt_wh,
    chk_Spannungswandler,
    txt_ergebnis,
    cmd_berechnen,
    txt_spannungswandler,
    txt_stromwandler,
    txt_impulse,
    Label16,
    Label7,
    Image2,
    Image1,
    Label6,
    Label1,
    label_wandlerverhaeltnis,
    Label15,
    Label14,
    Label13,
    Label12,
    Line12,
    Line11,
    Line10,
    Line9,
    Label11,
    Label10,
    Label9,
    Label8,
    Label5,
    Label3,
    Line8,
    Line7,
    Line6,
    Line5,
    Line4,
    Line3,
    Line2,
    Line1,
    Label4,
    Label2,
};

inline constexpr std::size_t control_count = 39;

enum class Kind : std::uint8_t { text_box, label, check_box, command_button, image_box, line };

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
constexpr ControlInfo text_box(Control id, std::string_view name, std::string_view text,
                               std::int16_t tab_index, bool visible = true, bool enabled = true)
{
    return {id, name, Kind::text_box, text, visible, enabled, tab_index, enabled};
}
constexpr ControlInfo label(Control id, std::string_view name, std::string_view caption,
                            std::int16_t tab_index, bool visible = true)
{
    return {id, name, Kind::label, caption, visible, true, tab_index, false};
}
constexpr ControlInfo line(Control id, std::string_view name)
{
    return {id, name, Kind::line, {}, true, true, std::nullopt, false};
}
constexpr ControlInfo image(Control id, std::string_view name)
{
    return {id, name, Kind::image_box, {}, true, true, std::nullopt, false};
}
}  // namespace detail

inline constexpr std::array<ControlInfo, control_count> control_table = [] {
    using enum Control;
    using namespace detail;
    constexpr bool hidden = false;
    constexpr bool disabled = false;
    return std::array<ControlInfo, control_count>{{
        text_box(txt_kwh, "txt_kwh", "1", 24, true, disabled),
        text_box(txt_wh, "txt_wh", "1000", 21),
        {chk_Spannungswandler, "chk_Spannungswandler", Kind::check_box, "Spannungswandler", true, true, 20, true},
        text_box(txt_ergebnis, "txt_ergebnis", "", 12),
        {cmd_berechnen, "cmd_berechnen", Kind::command_button, "Berechnen", true, true, 10, true},
        text_box(txt_spannungswandler, "txt_spannungswandler", "100", 8, hidden),
        text_box(txt_stromwandler, "txt_stromwandler", "5", 4),
        text_box(txt_impulse, "txt_impulse", "1", 0),
        label(Label16, "Label16", "kWh)", 23),
        label(Label7, "Label7", "(", 22),
        image(Image2, "Image2"),
        image(Image1, "Image1"),
        label(Label6, "Label6", "Wh", 19),
        label(Label1, "Label1", "/", 18),
        label(label_wandlerverhaeltnis, "label_wandlerverhältnis", "", 17),
        label(Label15, "Label15", "Wandlerverhältnis", 16),
        label(Label14, "Label14", "Wh pro Impuls", 15),
        label(Label13, "Label13", "100 V", 14, hidden),
        label(Label12, "Label12", "5 A", 13),
        line(Line12, "Line12"),
        line(Line11, "Line11"),
        line(Line10, "Line10"),
        line(Line9, "Line9"),
        label(Label11, "Label11", "Ergebnis", 11),
        label(Label10, "Label10", "/", 9, hidden),
        label(Label9, "Label9", "Spannung", 7, hidden),
        label(Label8, "Label8", "/", 6),
        label(Label5, "Label5", "Strom", 5),
        label(Label3, "Label3", "Wandler", 3),
        line(Line8, "Line8"),
        line(Line7, "Line7"),
        line(Line6, "Line6"),
        line(Line5, "Line5"),
        line(Line4, "Line4"),
        line(Line3, "Line3"),
        line(Line2, "Line2"),
        line(Line1, "Line1"),
        label(Label4, "Label4", "Korvantelo Zähler", 2),
        label(Label2, "Label2", "Impulse", 1),
    }};
}();

// The control's position in the stacking order and in every per-control array.
[[nodiscard]] constexpr std::size_t index(Control id)
{
    return static_cast<std::size_t>(id);
}

[[nodiscard]] constexpr const ControlInfo& info(Control id)
{
    return control_table[index(id)];
}

[[nodiscard]] constexpr std::string_view name(Control id)
{
    return info(id).name;
}

// Text boxes, the check box and the button: the controls that take the
// user's input and the focus, and that lie above labels, lines and pictures.
[[nodiscard]] constexpr bool takes_input(Kind kind)
{
    return kind == Kind::text_box || kind == Kind::check_box || kind == Kind::command_button;
}

// Those controls in TabIndex order, txt_kwh (disabled, no tab stop) included:
// Tab walks the ones among them that take the focus at the moment.
inline constexpr auto input_order = [] {
    constexpr auto count = static_cast<std::size_t>(
        std::count_if(control_table.begin(), control_table.end(),
                      [](const ControlInfo& c) { return takes_input(c.kind); }));
    std::array<Control, count> order{};
    std::size_t n = 0;
    for (const auto& control : control_table) {
        if (takes_input(control.kind)) order[n++] = control.id;
    }
    std::sort(order.begin(), order.end(),
              [](Control a, Control b) { return *info(a).tab_index < *info(b).tab_index; });
    return order;
}();

// The voltage row, in the order in which it is shown and hidden.
inline constexpr std::array<Control, 4> voltage_row = {
    Control::Label9, Control::txt_spannungswandler, Control::Label10, Control::Label13};

// The table lists each control at the position of its own enumerator.
static_assert([] {
    for (std::size_t i = 0; i < control_count; ++i) {
        if (static_cast<std::size_t>(control_table[i].id) != i) return false;
    }
    return true;
}());

}  // namespace ui
