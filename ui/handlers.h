#pragma once

#include <array>
#include <optional>

#include "ui/controls.h"
#include "ui/window.h"

// The six event handlers of the window, and the table that binds each to its
// one event. Each reads the texts it needs from the window, runs a formula and
// writes the result's text into one control. No handler writes a control whose
// event has a handler, so no handler runs inside another.
//
// Bad input is the window's to report: a calc::Error that leaves a handler
// ends it, and the window shows the input-error message (Window::raise). What
// the handler wrote before the failing statement stays; the failing statement
// writes nothing.
namespace ui {

namespace handlers {
// Writes the ratio of the stored texts into the ratio caption.
void korvantelo_Load(Window& window);
// Shows or hides the voltage row, then writes the ratio. Bad input leaves the
// row as it now is and the caption as it was.
void chk_Spannungswandler_Click(Window& window);
// Writes the ratio, with the voltage transformer when the check box is
// ticked.
void txt_spannungswandler_Change(Window& window);
void txt_stromwandler_Change(Window& window);
// Writes the kWh equivalent of the Wh text into txt_kwh.
void txt_wh_Change(Window& window);
// Writes the ratio afresh, reads it back and writes the Wh per pulse into
// txt_ergebnis.
void cmd_berechnen_Click(Window& window);
}  // namespace handlers

// A row of the binding table: the source's one event (Load of the window,
// Change of a text box, Click of the check box or the button) runs the
// handler.
struct Binding {
    std::optional<Control> source;  // none: the window itself
    void (*handler)(Window&);
};

// Every event that runs code, and nothing else: no other event of any
// control has a handler.
inline constexpr std::array<Binding, 6> event_bindings = {{
    {std::nullopt, handlers::korvantelo_Load},
    {Control::chk_Spannungswandler, handlers::chk_Spannungswandler_Click},
    {Control::txt_spannungswandler, handlers::txt_spannungswandler_Change},
    {Control::txt_stromwandler, handlers::txt_stromwandler_Change},
    {Control::txt_wh, handlers::txt_wh_Change},
    {Control::cmd_berechnen, handlers::cmd_berechnen_Click},
}};

// Attaches the handlers of the table to the window.
void bind_event_handlers(Window& window);

}  // namespace ui
