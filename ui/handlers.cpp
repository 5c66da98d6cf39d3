#include "ui/handlers.h"

#include <string>

#include "calc/errors.h"
#include "calc/formulas.h"
#include "calc/number_text.h"

namespace ui {
namespace {

// Runs the body with the error trap armed: bad input or a failed formula step
// shows the input-error message and ends the handler. What the body wrote
// before the failing statement stays; the failing statement writes nothing.
template <typename Body>
void with_error_trap(Window& window, Body&& body)
{
    try {
        body();
    } catch (const calc::Error&) {
        window.show_message(input_error_message);
    }
}

// One statement: reads the transformer texts (the voltage first), computes
// the ratio and writes its text as the caption of the ratio label.
void write_ratio(Window& window, bool with_voltage_transformer)
{
    double ratio = 0;
    if (with_voltage_transformer) {
        const std::string& voltage = window.text(Control::txt_spannungswandler);
        const std::string& current = window.text(Control::txt_stromwandler);
        ratio = calc::ratio_with_voltage_transformer(voltage, current);
    } else {
        ratio = calc::ratio_without_voltage_transformer(window.text(Control::txt_stromwandler));
    }
    window.set_caption(Control::label_wandlerverhaeltnis, calc::to_text(ratio));
}

bool voltage_transformer_ticked(const Window& window)
{
    return window.value(Control::chk_Spannungswandler) == 1;
}

// Both transformer boxes: the ratio as Load computes it, so that an unticked
// check box leaves the hidden voltage out of it.
void transformer_text_changed(Window& window)
{
    with_error_trap(window, [&] { write_ratio(window, voltage_transformer_ticked(window)); });
}

}  // namespace

namespace handlers {

void korvantelo_Load(Window& window)
{
    write_ratio(window, voltage_transformer_ticked(window));
}

void chk_Spannungswandler_Click(Window& window)
{
    const bool ticked = window.value(Control::chk_Spannungswandler) != 0;
    for (const Control control : voltage_row) window.set_visible(control, ticked);
    write_ratio(window, ticked);
}

void txt_spannungswandler_Change(Window& window)
{
    transformer_text_changed(window);
}

void txt_stromwandler_Change(Window& window)
{
    transformer_text_changed(window);
}

void txt_wh_Change(Window& window)
{
    with_error_trap(window, [&] {
        const double kwh = calc::kwh_equivalent(window.text(Control::txt_wh));
        window.set_text(Control::txt_kwh, calc::to_text(kwh));
    });
}

void cmd_berechnen_Click(Window& window)
{
    const bool ticked = voltage_transformer_ticked(window);
    with_error_trap(window, [&] {
        write_ratio(window, ticked);
        const std::string& pulses = window.text(Control::txt_impulse);
        const std::string& ratio = window.caption(Control::label_wandlerverhaeltnis);
        const std::string& wh = window.text(Control::txt_wh);
        const double result = calc::wh_per_pulse(wh, pulses, ratio);
        window.set_text(Control::txt_ergebnis, calc::to_text(result));
    });
}

}  // namespace handlers

void bind_event_handlers(Window& window)
{
    for (const Binding& binding : event_bindings) {
        switch (binding.event) {
        case Event::load:
            window.on_load(binding.handler);
            break;
        case Event::change:
            window.on_change(*binding.source, binding.handler);
            break;
        case Event::click:
            window.on_click(*binding.source, binding.handler);
            break;
        }
    }
}

}  // namespace ui
