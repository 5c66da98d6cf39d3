#include "ui/handlers.h"

#include <string>

#include "calc/formulas.h"
#include "calc/number_text.h"

namespace ui {
namespace {

// One statement: reads the transformer texts (the voltage first), computes
// the ratio and writes its text as the caption of the ratio label.
void write_ratio(Window& window, bool with_voltage_transformer)
{
    double ratio = 0;
    if (with_voltage_transformer) {
        const std::string& voltage = window.text(Control::txt_spannungswandler);
        const std::string& current = window.text(Control::txt_stromwandler);
        ratio = calc::ratio_with_voltage_transformer({.voltage = voltage, .current = current});
    } else {
        ratio = calc::ratio_without_voltage_transformer(window.text(Control::txt_stromwandler));
    }
    window.set_caption(Control::label_wandlerverhaeltnis, calc::to_text(ratio));
}

// The ratio as the check box says: the voltage enters it only while ticked,
// so that a hidden voltage row never changes the figure shown.
void write_current_ratio(Window& window)
{
    write_ratio(window, window.value(Control::chk_Spannungswandler) == 1);
}

}  // namespace

namespace handlers {

void korvantelo_Load(Window& window)
{
    write_current_ratio(window);
}

void chk_Spannungswandler_Click(Window& window)
{
    const bool ticked = window.value(Control::chk_Spannungswandler) != 0;
    for (const Control control : voltage_row) window.set_visible(control, ticked);
    write_ratio(window, ticked);
}

void txt_spannungswandler_Change(Window& window)
{
    write_current_ratio(window);
}

void txt_stromwandler_Change(Window& window)
{
    write_current_ratio(window);
}

void txt_wh_Change(Window& window)
{
    const double kwh = calc::kwh_equivalent(window.text(Control::txt_wh));
    window.set_text(Control::txt_kwh, calc::to_text(kwh));
}

void cmd_berechnen_Click(Window& window)
{
    write_current_ratio(window);
    const std::string& pulses = window.text(Control::txt_impulse);
    const std::string& ratio = window.caption(Control::label_wandlerverhaeltnis);
    const std::string& wh = window.text(Control::txt_wh);
    const double result = calc::wh_per_pulse({.wh = wh, .pulses = pulses, .ratio = ratio});
    window.set_text(Control::txt_ergebnis, calc::to_text(result));
}

}  // namespace handlers

void bind_event_handlers(Window& window)
{
    for (const Binding& binding : event_bindings) {
        if (!binding.source) {
            window.on_load(binding.handler);
            continue;
        }
        // The source's kind says which of its events the row binds.
        visit(*binding.source, [&](auto source) {
            if constexpr (requires { window.on_change(source, binding.handler); }) {
                window.on_change(source, binding.handler);
            } else if constexpr (requires { window.on_click(source, binding.handler); }) {
                window.on_click(source, binding.handler);
            }
        });
    }
}

}  // namespace ui
