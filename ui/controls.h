#pragma once

#include <algorithm>
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

// One of the 39 controls of the window, of whatever kind. The controls are
// the members below, in stacking order: the first lies on top, and a
// control's stacking number is its position plus one. Their names are ASCII
// so that every tool reads the source; the name strings of the table below
// (label_wandlerverhältnis with its "ä") are the names that the views set
// and the tests look up. No other Control can be made.
class Control {
public:
    [[nodiscard]] friend constexpr bool operator==(Control, Control) = default;
    [[nodiscard]] friend constexpr auto operator<=>(Control, Control) = default;

    // The control's position in the stacking order and in every per-control array.
    [[nodiscard]] friend constexpr std::size_t index(Control id) { return id.at_; }

    static const TextBox txt_kwh;
    static const TextBox txt_wh;
    static const CheckBox chk_Spannungswandler;
    static const TextBox txt_ergebnis;
    static const CommandButton cmd_berechnen;
    static const TextBox txt_spannungswandler;
    static const TextBox txt_stromwandler;
    static const TextBox txt_impulse;
    static const Label Label16;
    static const Label Label7;
    static const ImageBox Image2;
    static const ImageBox Image1;
    static const Label Label6;
    static const Label Label1;
    static const Label label_wandlerverhaeltnis;
    static const Label Label15;
    static const Label Label14;
    static const Label Label13;
    static const Label Label12;
    static const Line Line12;
    static const Line Line11;
    static const Line Line10;
    static const Line Line9;
    static const Label Label11;
    static const Label Label10;
    static const Label Label9;
    static const Label Label8;
    static const Label Label5;
    static const Label Label3;
    static const Line Line8;
    static const Line Line7;
    static const Line Line6;
    static const Line Line5;
    static const Line Line4;
    static const Line Line3;
    static const Line Line2;
    static const Line Line1;
    static const Label Label4;
    static const Label Label2;

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

inline constexpr TextBox Control::txt_kwh{0};
inline constexpr TextBox Control::txt_wh{1};
inline constexpr CheckBox Control::chk_Spannungswandler{2};
inline constexpr TextBox Control::txt_ergebnis{3};
inline constexpr CommandButton Control::cmd_berechnen{4};
inline constexpr TextBox Control::txt_spannungswandler{5};
inline constexpr TextBox Control::txt_stromwandler{6};
inline constexpr TextBox Control::txt_impulse{7};
inline constexpr Label Control::Label16{8};
inline constexpr Label Control::Label7{9};
inline constexpr ImageBox Control::Image2{10};
inline constexpr ImageBox Control::Image1{11};
inline constexpr Label Control::Label6{12};
inline constexpr Label Control::Label1{13};
inline constexpr Label Control::label_wandlerverhaeltnis{14};
inline constexpr Label Control::Label15{15};
inline constexpr Label Control::Label14{16};
inline constexpr Label Control::Label13{17};
inline constexpr Label Control::Label12{18};
inline constexpr Line Control::Line12{19};
inline constexpr Line Control::Line11{20};
inline constexpr Line Control::Line10{21};
inline constexpr Line Control::Line9{22};
inline constexpr Label Control::Label11{23};
inline constexpr Label Control::Label10{24};
inline constexpr Label Control::Label9{25};
inline constexpr Label Control::Label8{26};
inline constexpr Label Control::Label5{27};
inline constexpr Label Control::Label3{28};
inline constexpr Line Control::Line8{29};
inline constexpr Line Control::Line7{30};
inline constexpr Line Control::Line6{31};
inline constexpr Line Control::Line5{32};
inline constexpr Line Control::Line4{33};
inline constexpr Line Control::Line3{34};
inline constexpr Line Control::Line2{35};
inline constexpr Line Control::Line1{36};
inline constexpr Label Control::Label4{37};
inline constexpr Label Control::Label2{38};

inline constexpr std::size_t control_count = 39;

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
constexpr ControlInfo text_box(TextBox id, std::string_view name, std::string_view text,
                               std::int16_t tab_index, bool visible = true, bool enabled = true)
{
    return {id, name, Kind::text_box, text, visible, enabled, tab_index, enabled};
}
constexpr ControlInfo label(Label id, std::string_view name, std::string_view caption,
                            std::int16_t tab_index, bool visible = true)
{
    return {id, name, Kind::label, caption, visible, true, tab_index, false};
}
constexpr ControlInfo line(Line id, std::string_view name)
{
    return {id, name, Kind::line, {}, true, true, std::nullopt, false};
}
constexpr ControlInfo image(ImageBox id, std::string_view name)
{
    return {id, name, Kind::image_box, {}, true, true, std::nullopt, false};
}
constexpr ControlInfo check_box(CheckBox id, std::string_view name, std::string_view caption,
                                std::int16_t tab_index)
{
    return {id, name, Kind::check_box, caption, true, true, tab_index, true};
}
constexpr ControlInfo command_button(CommandButton id, std::string_view name, std::string_view caption,
                                     std::int16_t tab_index)
{
    return {id, name, Kind::command_button, caption, true, true, tab_index, true};
}
}  // namespace detail

inline constexpr std::array<ControlInfo, control_count> control_table = [] {
    using C = Control;
    using namespace detail;
    constexpr bool hidden = false;
    constexpr bool disabled = false;
    return std::array<ControlInfo, control_count>{{
        text_box(C::txt_kwh, "txt_kwh", "1", 24, true, disabled),
        text_box(C::txt_wh, "txt_wh", "1000", 21),
        check_box(C::chk_Spannungswandler, "chk_Spannungswandler", "Spannungswandler", 20),
        text_box(C::txt_ergebnis, "txt_ergebnis", "", 12),
        command_button(C::cmd_berechnen, "cmd_berechnen", "Berechnen", 10),
        text_box(C::txt_spannungswandler, "txt_spannungswandler", "100", 8, hidden),
        text_box(C::txt_stromwandler, "txt_stromwandler", "5", 4),
        text_box(C::txt_impulse, "txt_impulse", "1", 0),
        label(C::Label16, "Label16", "kWh)", 23),
        label(C::Label7, "Label7", "(", 22),
        image(C::Image2, "Image2"),
        image(C::Image1, "Image1"),
        label(C::Label6, "Label6", "Wh", 19),
        label(C::Label1, "Label1", "/", 18),
        label(C::label_wandlerverhaeltnis, "label_wandlerverhältnis", "", 17),
        label(C::Label15, "Label15", "Wandlerverhältnis", 16),
        label(C::Label14, "Label14", "Wh pro Impuls", 15),
        label(C::Label13, "Label13", "100 V", 14, hidden),
        label(C::Label12, "Label12", "5 A", 13),
        line(C::Line12, "Line12"),
        line(C::Line11, "Line11"),
        line(C::Line10, "Line10"),
        line(C::Line9, "Line9"),
        label(C::Label11, "Label11", "Ergebnis", 11),
        label(C::Label10, "Label10", "/", 9, hidden),
        label(C::Label9, "Label9", "Spannung", 7, hidden),
        label(C::Label8, "Label8", "/", 6),
        label(C::Label5, "Label5", "Strom", 5),
        label(C::Label3, "Label3", "Wandler", 3),
        line(C::Line8, "Line8"),
        line(C::Line7, "Line7"),
        line(C::Line6, "Line6"),
        line(C::Line5, "Line5"),
        line(C::Line4, "Line4"),
        line(C::Line3, "Line3"),
        line(C::Line2, "Line2"),
        line(C::Line1, "Line1"),
        label(C::Label4, "Label4", "Korvantelo Zähler", 2),
        label(C::Label2, "Label2", "Impulse", 1),
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
    std::array<std::size_t, count> at{};
    std::size_t n = 0;
    for (std::size_t i = 0; i < control_count; ++i) {
        if (takes_input(control_table[i].kind)) at[n++] = i;
    }
    std::sort(at.begin(), at.end(), [](std::size_t a, std::size_t b) {
        return *control_table[a].tab_index < *control_table[b].tab_index;
    });
    return [&]<std::size_t... I>(std::index_sequence<I...>) {
        return std::array<Control, count>{control_table[at[I]].id...};
    }(std::make_index_sequence<count>{});
}();

// Every control from the top of the stacking down: text boxes, the check
// box and the button above labels, lines and pictures, and within each of
// the two a control listed earlier in the table higher.
inline constexpr std::array<Control, control_count> stacking_order = [] {
    std::array<std::size_t, control_count> at{};
    std::size_t n = 0;
    for (const bool upper : {true, false}) {
        for (std::size_t i = 0; i < control_count; ++i) {
            if (takes_input(control_table[i].kind) == upper) at[n++] = i;
        }
    }
    return [&]<std::size_t... I>(std::index_sequence<I...>) {
        return std::array<Control, control_count>{control_table[at[I]].id...};
    }(std::make_index_sequence<control_count>{});
}();

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

// Each control stands at its own position in the table; the table's helpers
// take the handle of their kind, so no row can give a control another kind.
static_assert([] {
    for (std::size_t i = 0; i < control_count; ++i) {
        if (index(control_table[i].id) != i) return false;
    }
    return true;
}());

}  // namespace ui
