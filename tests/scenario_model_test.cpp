// The scenarios of tests/scenarios.json on the program without a display,
// as every front-end runs it (ui::Program) over a view that shows nothing:
// each key a user's edit of the whole text, each tick and press a user
// action, Tab through the plan's focus order. Natively, under Wine and
// under node alike. How a figure's pixels end is the front-ends' to check.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "tests/support/scenarios.h"
#include "ui/plan.h"
#include "ui/program.h"

namespace {

using ui::Control;

// Shows nothing; keeps the messages, each closed at once.
class HeadlessView {
public:
    HeadlessView(const ui::Window& /*model*/, ui::UserActions& /*actions*/) {}
    void show_text(ui::TextBox /*id*/, std::string_view /*text*/) {}
    void show_caption(ui::Captioned /*id*/, std::string_view /*text*/) {}
    void show_value(ui::CheckBox /*id*/, std::int16_t /*value*/) {}
    void show_visible(Control /*id*/, bool /*visible*/) {}
    void show_message(const ui::Message& message) { messages.emplace_back(message.prompt, message.title); }
    void show() {}
    void end() noexcept { ended = true; }

    std::vector<std::pair<std::string, std::string>> messages;
    bool ended = false;
};

// The control after `from` in the plan's focus order, Tab (or Shift+Tab)
// skipping what is hidden, round the end.
Control next_focus(const ui::Window& model, Control from, bool back)
{
    const std::vector<Control> order = ui::plan::base.focus_order();
    const auto n = static_cast<std::ptrdiff_t>(order.size());
    std::ptrdiff_t at = std::find(order.begin(), order.end(), from) - order.begin();
    do {
        at = (at + (back ? n - 1 : 1)) % n;
    } while (!model.visible(order[static_cast<std::size_t>(at)]));
    return order[static_cast<std::size_t>(at)];
}

void run(ui::Program<HeadlessView>& program, const scenarios::Step& step)
{
    ui::Window& model = program.model();
    const std::size_t before = program.view().messages.size();
    ui::visit(step.target, [&](auto in) {
        using Handle = decltype(in);
        if constexpr (std::is_same_v<Handle, ui::TextBox>) {
            if (step.action == "retype" || step.action == "type" || step.action == "erase") {
                std::string typed = step.action == "type" ? model.text(in) : "";
                if (step.action == "erase") program.edited(in, "");
                const auto keys = scenarios::characters(step.keys);
                for (std::size_t i = 0; i < keys.size(); ++i) {
                    program.edited(in, typed += keys[i]);
                    for (const auto& [id, texts] : step.each) EXPECT_EQ(ui::shown_text(model, id), texts.at(i));
                }
            }
        } else if constexpr (std::is_same_v<Handle, ui::CheckBox>) {
            if (step.action == "tick") program.toggled(in);
        } else if constexpr (std::is_same_v<Handle, ui::CommandButton>) {
            if (step.action == "press") program.pressed(in);
        }
    });
    if (step.action == "tab" || step.action == "backtab") {
        Control focus = step.target;
        for (const Control next : step.order) {
            focus = next_focus(model, focus, step.action == "backtab");
            EXPECT_EQ(focus, next) << ui::name(next);
        }
    }
    const auto& messages = program.view().messages;
    ASSERT_EQ(messages.size() - before, static_cast<std::size_t>(step.messages));
    for (std::size_t at = before; at < messages.size(); ++at) {
        EXPECT_EQ(messages[at], std::make_pair(std::string("Eingabefehler!"), std::string("Fehler!")));
    }
    for (const auto& [id, text] : step.see) EXPECT_EQ(ui::shown_text(model, id), text) << ui::name(id);
    for (const Control id : step.shown) EXPECT_TRUE(model.visible(id)) << ui::name(id);
    for (const Control id : step.hidden) EXPECT_FALSE(model.visible(id)) << ui::name(id);
}

class Scenario : public ::testing::TestWithParam<scenarios::Scenario> {};

TEST_P(Scenario, runs_without_a_display)
{
    ui::Program<HeadlessView> program;
    program.start();
    for (std::size_t i = 0; i < GetParam().steps.size(); ++i) {
        SCOPED_TRACE("step " + std::to_string(i + 1));
        run(program, GetParam().steps[i]);
        if (HasFatalFailure()) return;
    }
    EXPECT_FALSE(program.view().ended);
}

INSTANTIATE_TEST_SUITE_P(All, Scenario, ::testing::ValuesIn(scenarios::read(SCENARIOS)),
                         [](const auto& info) { return info.param.name; });

}  // namespace
