// Random user actions on the headless window, each checked against the model
// of what the window must show in tests/support/window_oracle.h, which is
// worked out from the inputs alone.
//
// Seeded and reproducible: KORVANTELO_STRESS_SEED picks the seed and
// KORVANTELO_STRESS_ACTIONS the number of actions; a failure names the seed,
// the action's index and the action.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "tests/support/window_oracle.h"
#include "ui/controls.h"
#include "ui/handlers.h"
#include "ui/message_port.h"
#include "ui/window.h"
#include "tests/support/recording_port.h"
#include "tests/support/user_edit.h"

#ifndef STRESS_ACTIONS
#define STRESS_ACTIONS 200000
#endif

namespace {

using ui::Control;
using ui::Kind;
using namespace stress;

// The headless window as the comparison reads it.
class HeadlessReading final : public WindowReading {
public:
    HeadlessReading(const ui::Window& window, const support::RecordingPort& port)
        : window_(window), port_(port)
    {
    }

    [[nodiscard]] bool visible(Control id) const override { return window_.visible(id); }
    [[nodiscard]] std::string shown(Control id) const override
    {
        return std::string(ui::shown_text(window_, id));
    }
    [[nodiscard]] int check_box_value() const override
    {
        return window_.value(Control::chk_Spannungswandler);
    }
    [[nodiscard]] std::size_t messages() const override { return port_.count(); }

private:
    const ui::Window& window_;
    const support::RecordingPort& port_;
};

// Hands the action to the window. An action that the control's kind does
// not have cannot even be asked of the window; it is refused here, as the
// window refuses one on a hidden or disabled control.
void perform(ui::Window& window, const Action& action)
{
    ui::visit(action.control, [&](auto control) {
        using Handle = decltype(control);
        if constexpr (std::is_same_v<Handle, ui::TextBox>) {
            if (action.kind == ActionKind::edit) {
                return support::user_edit(window, control, action.position, action.length, action.text);
            }
            if (action.kind == ActionKind::replace) return window.user_replace_text(control, action.text);
        } else if constexpr (std::is_same_v<Handle, ui::CheckBox>) {
            if (action.kind == ActionKind::toggle) return window.user_toggle(control);
        } else if constexpr (std::is_same_v<Handle, ui::CommandButton>) {
            if (action.kind == ActionKind::press) return window.user_press(control);
        }
        throw ui::ActionRefused("the control takes no such action");
    });
}

TEST(window_stress, random_user_actions_show_what_the_inputs_determine)
{
    const std::uint64_t seed = setting("KORVANTELO_STRESS_SEED", default_seed);
    const std::uint64_t actions = setting("KORVANTELO_STRESS_ACTIONS", STRESS_ACTIONS);
    std::cout << "window stress: seed " << seed << ", " << actions << " actions\n";

    support::RecordingPort port;
    ui::Window window(port);
    ui::bind_event_handlers(window);
    window.load();
    Model model;
    const HeadlessReading reading(window, port);

    // Text writes into the typed boxes during one action.
    std::vector<Control> typed_writes;
    window.add_observer([&typed_writes](const ui::Change& change) {
        if (change.field != ui::Field::text) return;
        for (const Control box : typed_boxes) {
            if (box == change.id) typed_writes.push_back(change.id);
        }
    });

    Driver driver(seed);
    std::size_t refused = 0;
    auto fail = [&](std::uint64_t i, const Action& action, const std::string& what) {
        FAIL() << "seed " << seed << ", action #" << i << " (" << describe(action) << "): " << what
               << "\nrerun with KORVANTELO_STRESS_SEED=" << seed
               << " KORVANTELO_STRESS_ACTIONS=" << i + 1;
    };
    if (const auto diff = difference(reading, model)) {
        FAIL() << "after Load: " << *diff;
    }

    for (std::uint64_t i = 0; i < actions; ++i) {
        const Action action = driver.next(model);
        const bool accepted = model.accepts(action);
        typed_writes.clear();
        bool was_refused = false;
        try {
            perform(window, action);
        } catch (const ui::ActionRefused&) {
            was_refused = true;
        } catch (const std::exception& error) {
            return fail(i, action, std::string("threw ") + error.what());
        }
        if (was_refused == accepted) {
            return fail(
                i, action,
                accepted ? "refused, but the control takes it" : "taken, but must be refused");
        }
        if (accepted) {
            model.apply(action);
        } else {
            ++refused;
        }

        // The program writes no typed box: only the user's own change shows.
        const bool typed_box =
            std::find(typed_boxes.begin(), typed_boxes.end(), action.control) != typed_boxes.end();
        const std::size_t own_writes = accepted && typed_box && Model::changes_text(action) ? 1 : 0;
        if (typed_writes.size() != own_writes ||
            (own_writes == 1 && typed_writes.front() != action.control)) {
            return fail(i, action,
                        std::to_string(typed_writes.size()) + " text writes into typed boxes");
        }
        if (const auto diff = difference(reading, model)) return fail(i, action, *diff);
    }
    for (const auto& shown : port.shown()) {
        ASSERT_EQ(shown, support::input_error);
    }

    // A long run must have reached both sides of every handler, or it proved little.
    const auto& tally = model.tally();
    std::cout << "window stress: " << actions << " actions, " << refused << " refused, "
              << tally.outputs_written << " outputs written, " << tally.failures
              << " input-error messages, " << tally.results << " results, " << tally.failed_presses
              << " failed presses\n";
    if (actions < 10000) return;
    EXPECT_GT(refused, actions / 100);
    EXPECT_GT(tally.results, actions / 200);
    EXPECT_GT(tally.failed_presses, actions / 200);
    EXPECT_GT(tally.failures, actions / 20);
    EXPECT_GT(tally.outputs_written, actions / 20);
}

}  // namespace
