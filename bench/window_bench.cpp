// How long the headless window takes for what a user does: one keystroke in
// the current transformer box (the ratio is written at every keystroke), and
// a press of "Berechnen". The handlers are bound as at start-up; messages go
// to a recording port.

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "ui/handlers.h"
#include "ui/window.h"
#include "tests/support/recording_port.h"
#include "tests/support/user_edit.h"

namespace {

using ui::Control;

struct LoadedWindow {
    LoadedWindow()
    {
        ui::bind_event_handlers(window);
        window.load();
    }
    support::RecordingPort port;
    ui::Window window{port};
};

// Alternately types the key behind the first character of the current box
// and deletes it again, one keystroke per iteration.
void type_and_delete(benchmark::State& state, LoadedWindow& w, std::string_view key)
{
    bool typed = false;
    for (auto _ : state) {
        if (typed) {
            support::user_edit(w.window, Control::txt_stromwandler, 1, 1, "");
        } else {
            support::user_edit(w.window, Control::txt_stromwandler, 1, 0, key);
        }
        typed = !typed;
        if (w.port.count() > 1000) w.port.clear();
    }
}

// "50" and "5" in turn, so every keystroke changes the ratio (10 and 1).
void keystroke_edit(benchmark::State& state)
{
    LoadedWindow w;
    type_and_delete(state, w, "0");
    if (w.port.count() != 0) state.SkipWithError("an input error was reported");
}
BENCHMARK(keystroke_edit);

// The same keystrokes as the Qt view passes them on: the whole new text.
void keystroke_replace_text(benchmark::State& state)
{
    LoadedWindow w;
    const std::string texts[2] = {"50", "5"};
    std::size_t next = 0;
    for (auto _ : state) {
        w.window.user_replace_text(Control::txt_stromwandler, texts[next]);
        next ^= 1;
    }
    if (w.port.count() != 0) state.SkipWithError("an input error was reported");
}
BENCHMARK(keystroke_replace_text);

// A keystroke that the voltage transformer takes part in: check box ticked.
void keystroke_with_voltage_transformer(benchmark::State& state)
{
    LoadedWindow w;
    w.window.user_toggle(Control::chk_Spannungswandler);
    w.window.user_replace_text(Control::txt_spannungswandler, "20.000");
    type_and_delete(state, w, "0");
    if (w.port.count() != 0) state.SkipWithError("an input error was reported");
}
BENCHMARK(keystroke_with_voltage_transformer);

// A keystroke that makes the text a non-number: the error trap fires and the
// message goes to the port.
void keystroke_input_error(benchmark::State& state)
{
    LoadedWindow w;
    type_and_delete(state, w, "x");
}
BENCHMARK(keystroke_input_error);

// A whole press of "Berechnen": the ratio afresh, then the Wh per pulse.
void press_berechnen(benchmark::State& state)
{
    LoadedWindow w;
    w.window.user_replace_text(Control::txt_stromwandler, "200");
    w.window.user_replace_text(Control::txt_impulse, "10.000");
    for (auto _ : state) w.window.user_press(Control::cmd_berechnen);
    if (w.window.text(Control::txt_ergebnis) != "4") state.SkipWithError("wrong result");
    if (w.port.count() != 0) state.SkipWithError("an input error was reported");
}
BENCHMARK(press_berechnen);

}  // namespace

BENCHMARK_MAIN();
