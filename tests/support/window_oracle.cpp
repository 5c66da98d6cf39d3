#include "tests/support/window_oracle.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <tuple>

#include "tests/support/number_text_property.h"
#include "tests/support/reference_numbers.h"

namespace stress {

using ui::Control;
using ui::Kind;

std::uint64_t setting(const char* variable, std::uint64_t fallback)
{
    const char* text = std::getenv(variable);
    if (text == nullptr || *text == '\0') return fallback;
    std::uint64_t value = 0;
    const std::string_view view(text);
    const auto [end, error] = std::from_chars(view.data(), view.data() + view.size(), value);
    if (error != std::errc() || end != view.data() + view.size()) {
        throw std::invalid_argument(std::string(variable) + " is not a whole number: " + text);
    }
    return value;
}

std::string describe(const Action& action)
{
    std::string out(ui::name(action.control));
    switch (action.kind) {
    case ActionKind::edit:
        out += ": edit at " + std::to_string(action.position) + ", " +
               std::to_string(action.length) + " bytes replaced by " +
               reference::describe_text(action.text);
        break;
    case ActionKind::replace:
        out += ": whole text replaced by " + reference::describe_text(action.text);
        break;
    case ActionKind::toggle:
        out += ": toggled";
        break;
    case ActionKind::press:
        out += ": pressed";
        break;
    }
    return out;
}

Outcome number(const std::string& text)
{
    const auto reading = reference::read_number_text(text);
    if (reading.verdict != reference::Verdict::number) return std::nullopt;
    return reading.value;
}

namespace {

// Plain arithmetic with the failure of a step carried along: a division by
// zero or a result that is not finite is a failed step.
Outcome divided(Outcome a, Outcome b)
{
    if (!a || !b || *b == 0) return std::nullopt;
    const double q = *a / *b;
    return std::isfinite(q) ? Outcome(q) : std::nullopt;
}

Outcome multiplied(Outcome a, Outcome b)
{
    if (!a || !b) return std::nullopt;
    const double p = *a * *b;
    return std::isfinite(p) ? Outcome(p) : std::nullopt;
}

std::optional<std::string> written(Outcome value)
{
    if (!value) return std::nullopt;
    return reference::write_number_text(*value);
}

}  // namespace

Model::Model()
{
    for (const auto& control : ui::control_table) shown_[index(control.id)] = control.initial;
    settle(Control::label_wandlerverhaeltnis, ratio());  // Load
}

bool Model::visible(Control id) const
{
    for (const Control c : ui::voltage_row) {
        if (c == id) return ticked_;
    }
    return ui::info(id).visible;
}

bool Model::accepts(const Action& action) const
{
    const auto& control = ui::info(action.control);
    const bool usable = visible(action.control) && control.enabled;
    switch (action.kind) {
    case ActionKind::edit: {
        if (control.kind != Kind::text_box || !usable) return false;
        const std::size_t size = shown(action.control).size();
        return action.position <= size && action.length <= size - action.position;
    }
    case ActionKind::replace:
        return control.kind == Kind::text_box && usable;
    case ActionKind::toggle:
        return control.kind == Kind::check_box && usable;
    case ActionKind::press:
        return control.kind == Kind::command_button && usable;
    }
    return false;
}

bool Model::changes_text(const Action& action)
{
    return action.kind == ActionKind::replace ||
           (action.kind == ActionKind::edit && (action.length != 0 || !action.text.empty()));
}

void Model::apply(const Action& action)
{
    switch (action.kind) {
    case ActionKind::edit:
    case ActionKind::replace:
        if (!changes_text(action)) return;
        if (action.kind == ActionKind::edit) {
            shown_[index(action.control)].replace(action.position, action.length,
                                                  action.text);
        } else {
            shown_[index(action.control)] = action.text;
        }
        text_changed(action.control);
        return;
    case ActionKind::toggle:
        ticked_ = !ticked_;
        settle(Control::label_wandlerverhaeltnis, ratio());
        return;
    case ActionKind::press:
        press();
        return;
    }
}

// I / 5, times V / 100 while the check box is ticked.
Outcome Model::ratio() const
{
    const Outcome current = divided(value_of(Control::txt_stromwandler), 5.0);
    if (!ticked_) return current;
    return multiplied(current, divided(value_of(Control::txt_spannungswandler), 100.0));
}

// Writes the value's text into the output, or counts the input-error
// message and leaves the output as it was.
bool Model::settle(Control output, Outcome value)
{
    if (const auto text = written(value)) {
        shown_[index(output)] = *text;
        ++tally_.outputs_written;
        return true;
    }
    ++messages_;
    ++tally_.failures;
    return false;
}

void Model::text_changed(Control box)
{
    if (box == Control::txt_wh) {
        settle(Control::txt_kwh, divided(value_of(Control::txt_wh), 1000.0));
    } else if (box == Control::txt_stromwandler || box == Control::txt_spannungswandler) {
        settle(Control::label_wandlerverhaeltnis, ratio());
    }
}

// The ratio afresh, then R × (W / P) with R read back from its caption.
void Model::press()
{
    if (!settle(Control::label_wandlerverhaeltnis, ratio())) {
        ++tally_.failed_presses;
        return;
    }
    const Outcome per_pulse =
        divided(value_of(Control::txt_wh), value_of(Control::txt_impulse));
    const Outcome result = multiplied(value_of(Control::label_wandlerverhaeltnis), per_pulse);
    if (settle(Control::txt_ergebnis, result)) {
        ++tally_.results;
    } else {
        ++tally_.failed_presses;
    }
}

Action Driver::next(const Model& model)
{
    Action action;
    if (below(4) == 0) {
        // Seeing the message, the user puts a number into a box again.
        for (const Control box : typed_boxes) {
            if (model.visible(box) && !number(model.shown(box))) {
                action.kind = ActionKind::replace;
                action.control = box;
                action.text = below(4) == 0 ? number_text(below(3000) + 1) : short_number();
                return action;
            }
        }
    }
    action.control = pick_target();
    const std::string& text = model.shown(action.control);
    const bool long_text = text.size() > 3000;
    const std::uint64_t roll = below(100);
    if (roll < 30 && !long_text) {
        type_character(action, text);
    } else if (roll < 45 || (roll < 60 && long_text)) {
        delete_range(action, text);
    } else if (roll < 50) {
        type_character(action, text);
        std::tie(action.position, action.length) = some_range(text);
    } else if (roll < 57) {
        paste(action, text);
    } else if (roll < 72) {
        action.kind = ActionKind::replace;
        action.text = some_text();
    } else if (roll < 79) {
        action.kind = ActionKind::toggle;
        action.control = below(10) == 0 ? any_control() : Control{Control::chk_Spannungswandler};
    } else if (roll < 95) {
        action.kind = ActionKind::press;
        action.control = below(10) == 0 ? any_control() : Control{Control::cmd_berechnen};
    } else {
        // An edit that reaches beyond the end of the text.
        action.kind = ActionKind::edit;
        action.position = below(2) == 0 ? text.size() + 1 + below(3) : below(text.size() + 1);
        action.length = text.size() - std::min(action.position, text.size()) + 1 + below(3);
        action.text.assign(1, '1');
    }
    return action;
}

Control Driver::pick_target()
{
    constexpr std::array<Control, 8> boxes = {
        Control::txt_impulse,      Control::txt_wh,           Control::txt_wh,
        Control::txt_stromwandler, Control::txt_stromwandler, Control::txt_spannungswandler,
        Control::txt_ergebnis,     Control::txt_kwh};
    const std::uint64_t roll = below(100);
    if (roll < 3) return any_control();
    return boxes[below(boxes.size())];
}

// The places between whole UTF-8 characters.
std::vector<std::size_t> Driver::boundaries(const std::string& text)
{
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) at.push_back(i);
    }
    at.push_back(text.size());
    return at;
}

std::size_t Driver::some_position(const std::string& text)
{
    const auto at = boundaries(text);
    // At the end most often, as when typing.
    return below(3) == 0 ? text.size() : at[below(at.size())];
}

std::pair<std::size_t, std::size_t> Driver::some_range(const std::string& text)
{
    const auto at = boundaries(text);
    if (below(8) == 0) return {0, text.size()};
    std::size_t a = at[below(at.size())];
    std::size_t b = at[below(at.size())];
    if (a > b) std::swap(a, b);
    if (below(2) == 0) b = std::min(b, a + 12);  // mostly short selections
    auto it = std::lower_bound(at.begin(), at.end(), b);
    return {a, *it - a};
}

std::string_view Driver::some_character()
{
    constexpr std::array<std::string_view, 48> keys = {
        "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "0", "1", "2", "3", "4", "5",
        "6", "7", "8", "9", "0", "1", "5", "9", "0", "0", ",", ",", ".", ".", "-", "+",
        "E", "e", " ", "\t", "a", "x", "Z",
        "\xC3\xA4",          // ä
        "\xE2\x82\xAC",      // €
        "\xC2\xBD",          // ½
        "\xC3\x9F",          // ß
        "\xC2\xA0",          // no-break space
        "\xD9\xA3",          // Arabic-Indic digit three
        "\xEF\xBC\x90",      // fullwidth digit zero
        "\xF0\x9F\x98\x80"};  // an emoji, four bytes
    return keys[below(keys.size())];
}

void Driver::type_character(Action& action, const std::string& text)
{
    action.kind = ActionKind::edit;
    action.position = some_position(text);
    action.length = 0;
    action.text = some_character();
}

void Driver::delete_range(Action& action, const std::string& text)
{
    action.kind = ActionKind::edit;
    std::tie(action.position, action.length) = some_range(text);
    action.text.clear();
}

void Driver::paste(Action& action, const std::string& text)
{
    action.kind = ActionKind::edit;
    if (below(2) == 0) {
        std::tie(action.position, action.length) = some_range(text);
    } else {
        action.position = some_position(text);
        action.length = 0;
    }
    action.text = below(2) == 0 ? number_text(below(3000) + 1) : junk(below(3000) + 1);
}

std::string Driver::digits(std::size_t count)
{
    std::string out(count, '0');
    for (char& c : out) c = static_cast<char>('0' + below(10));
    return out;
}

std::string Driver::number_text(std::size_t size)
{
    std::string out;
    if (below(8) == 0) out += below(2) == 0 ? " " : "\t";
    if (below(3) == 0) out += below(2) == 0 ? "-" : "+";
    const std::size_t integer = below(size + 1);
    if (below(4) == 0 && integer > 0) {
        out += digits(1 + below(3));
        for (std::size_t i = 0; i < integer / 4 + 1; ++i) {
            out += '.';
            out += digits(3);
        }
    } else {
        out += digits(integer);
    }
    if (integer == 0 || below(2) == 0) {
        out += ',';
        out += digits(size - integer + (integer == 0 ? 1 : 0));
    }
    if (below(3) == 0) {
        out += below(2) == 0 ? "E" : "e";
        if (below(2) == 0) out += below(2) == 0 ? "-" : "+";
        constexpr std::array<std::string_view, 10> exponents = {
            "0", "3", "15", "22", "300", "308", "309", "320", "324", "4000"};
        out += exponents[below(exponents.size())];
    }
    if (below(8) == 0) out += " ";
    return out;
}

std::string Driver::junk(std::size_t size)
{
    std::string out;
    while (out.size() < size) out += some_character();
    return out;
}

std::string Driver::short_number()
{
    constexpr std::array<std::string_view, 12> typical = {
        "1", "5", "100", "400", "1000", "20.000", "0,5", "2,5", "-1", "1E308", "1E-320", "0"};
    return below(2) == 0 ? std::string(typical[below(typical.size())])
                         : number_text(below(12) + 1);
}

std::string Driver::some_text()
{
    constexpr std::array<std::string_view, 26> known = {
        "0", "1", "5", "100", "400", "1000", "-0", "0,5", "1.000", "20.000", "-1", "2,5",
        "1E308", "-1E308", "1E-308", "1E-320", "1,79769313486232E+308",
        "1,7976931348623157E308", "4,94065645841247E-324", "", " ", "abc", "1,5 kWh",
        "\xE2\x82\xAC", "1.00", "1e-5"};
    switch (below(5)) {
    case 0:
        return std::string(known[below(known.size())]);
    case 1:
        return number_text(below(20) + 1);
    case 2: {
        // The text that some double is written as.
        double value = 0;
        do {
            value = std::bit_cast<double>(random_());
        } while (!std::isfinite(value));
        return reference::write_number_text(value);
    }
    case 3:
        return number_text(below(3000) + 1);
    default:
        return junk(below(30));
    }
}

std::optional<std::string> difference(const WindowReading& window, const Model& model)
{
    for (const auto& control : ui::control_table) {
        const Control id = control.id;
        if (window.visible(id) != model.visible(id)) {
            return std::string(control.name) + " visible " + (window.visible(id) ? "yes" : "no");
        }
        if (control.kind != Kind::text_box && control.kind != Kind::label &&
            control.kind != Kind::check_box && control.kind != Kind::command_button) {
            continue;
        }
        const std::string shown = window.shown(id);
        if (shown != model.shown(id)) {
            return std::string(control.name) + " shows " + reference::describe_text(shown) +
                   ", expected " + reference::describe_text(model.shown(id));
        }
    }
    if (window.check_box_value() != (model.ticked() ? 1 : 0)) {
        return std::string("check box value ") + std::to_string(window.check_box_value());
    }
    if (window.messages() != model.messages()) {
        return "messages shown " + std::to_string(window.messages()) + ", expected " +
               std::to_string(model.messages());
    }
    return std::nullopt;
}

}  // namespace stress
