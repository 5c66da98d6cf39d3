#include "ui/window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <stdexcept>
#include <utility>
#include <vector>

#include "calc/errors.h"
#include "ui/controls.h"
#include "tests/support/recording_port.h"
#include "tests/support/user_edit.h"

namespace {

using ui::ActionRefused;
using ui::Control;
using ui::Field;
using ui::Kind;
using ui::Window;

class WindowTest : public ::testing::Test {
protected:
    support::RecordingPort port;
    Window window{port};
};

TEST(control_table, orders_focus_by_tab_index)
{
    std::vector<std::pair<std::int16_t, Control>> order;
    std::set<std::int16_t> indexes;
    for (const auto& control : ui::control_table) {
        if (!control.tab_index) {
            EXPECT_TRUE(control.kind == Kind::line || control.kind == Kind::image_box);
            continue;
        }
        indexes.insert(*control.tab_index);
        if (control.tab_stop) order.emplace_back(*control.tab_index, control.id);
    }
    EXPECT_EQ(indexes.size(), 25u);
    EXPECT_EQ(*indexes.begin(), 0);
    EXPECT_EQ(*indexes.rbegin(), 24);
    std::sort(order.begin(), order.end());
    std::vector<Control> stops;
    for (const auto& entry : order) stops.push_back(entry.second);
    EXPECT_EQ(stops, (std::vector<Control>{Control::txt_impulse, Control::txt_stromwandler,
                                           Control::txt_spannungswandler, Control::cmd_berechnen,
                                           Control::txt_ergebnis, Control::chk_Spannungswandler,
                                           Control::txt_wh}));
}

TEST_F(WindowTest, starts_in_the_initial_state)
{
    EXPECT_EQ(window.text(Control::txt_impulse), "1");
    EXPECT_EQ(window.text(Control::txt_wh), "1000");
    EXPECT_EQ(window.text(Control::txt_kwh), "1");  // 1000 Wh, before any handler ran
    EXPECT_EQ(window.text(Control::txt_stromwandler), "5");
    EXPECT_EQ(window.text(Control::txt_spannungswandler), "100");
    EXPECT_EQ(window.text(Control::txt_ergebnis), "");
    EXPECT_EQ(window.caption(Control::label_wandlerverhaeltnis), "");
    EXPECT_EQ(window.caption(Control::Label4), "Korvantelo Zähler");
    EXPECT_EQ(window.caption(Control::chk_Spannungswandler), "Spannungswandler");
    EXPECT_EQ(window.caption(Control::cmd_berechnen), "Berechnen");
    EXPECT_EQ(window.value(Control::chk_Spannungswandler), 0);
    for (const auto& control : ui::control_table) {
        const bool in_voltage_row =
            std::find(ui::voltage_row.begin(), ui::voltage_row.end(), control.id) != ui::voltage_row.end();
        EXPECT_EQ(window.visible(control.id), !in_voltage_row) << control.name;
        EXPECT_EQ(control.enabled, control.id != Control::txt_kwh) << control.name;
    }
    EXPECT_FALSE(ui::info(Control::txt_kwh).tab_stop);
    EXPECT_EQ(ui::info(Control::txt_kwh).tab_index, 24);
    EXPECT_TRUE(port.shown().empty());
}

// A field or event that a control's kind lacks does not compile.
template <typename Id>
concept has_text = requires(Window& w, Id id) { w.set_text(id, ""); };
template <typename Id>
concept has_caption = requires(Window& w, Id id) { w.set_caption(id, ""); };
template <typename Id>
concept has_value = requires(const Window& w, Id id) { w.value(id); };
template <typename Id>
concept clickable = requires(Window& w, Id id) { w.on_click(id, {}); };
static_assert(has_text<ui::TextBox> && !has_text<ui::Label> && !has_text<Control>);
static_assert(has_caption<ui::Label> && has_caption<ui::CommandButton> && !has_caption<ui::TextBox>);
static_assert(has_value<ui::CheckBox> && !has_value<ui::CommandButton>);
static_assert(clickable<ui::CheckBox> && clickable<ui::CommandButton> && !clickable<ui::TextBox>);

TEST_F(WindowTest, takes_one_handler_per_event)
{
    window.on_change(Control::txt_wh, [](Window&) {});
    EXPECT_THROW(window.on_change(Control::txt_wh, [](Window&) {}), std::logic_error);
    window.on_load([](Window&) {});
    EXPECT_THROW(window.on_load([](Window&) {}), std::logic_error);
}

TEST_F(WindowTest, refuses_user_actions_on_hidden_disabled_and_passive_controls)
{
    EXPECT_THROW(window.user_replace_text(Control::txt_spannungswandler, "1"), ActionRefused);
    EXPECT_THROW(support::user_edit(window, Control::txt_kwh, 0, 0, "1"), ActionRefused);
    EXPECT_THROW(window.user_replace_text(Control::txt_kwh, "2"), ActionRefused);
    EXPECT_THROW(support::user_edit(window, Control::txt_wh, 5, 0, "1"), ActionRefused);  // beyond the end
    EXPECT_THROW(support::user_edit(window, Control::txt_wh, 2, 3, ""), ActionRefused);
    EXPECT_FALSE(window.takes_user_action(Control::Line3));
    EXPECT_EQ(window.text(Control::txt_spannungswandler), "100");
    EXPECT_EQ(window.text(Control::txt_kwh), "1");

    // Shown again, the voltage box takes typing.
    window.set_visible(Control::txt_spannungswandler, true);
    window.user_replace_text(Control::txt_spannungswandler, "200");
    EXPECT_EQ(window.text(Control::txt_spannungswandler), "200");
}

TEST_F(WindowTest, raises_change_once_for_each_user_edit_and_never_for_program_writes)
{
    int changes = 0;
    window.on_change(Control::txt_wh, [&](Window&) { ++changes; });
    support::user_edit(window, Control::txt_wh, 4, 0, "0");
    EXPECT_EQ(window.text(Control::txt_wh), "10000");
    support::user_edit(window, Control::txt_wh, 0, 1, "");
    EXPECT_EQ(window.text(Control::txt_wh), "0000");
    support::user_edit(window, Control::txt_wh, 0, 4, "ä5");  // a selection typed over
    EXPECT_EQ(window.text(Control::txt_wh), "ä5");
    window.user_replace_text(Control::txt_wh, "ä5");  // a paste of the same text is still a change
    EXPECT_EQ(changes, 4);
    support::user_edit(window, Control::txt_wh, 1, 0, "");  // nothing removed or inserted: no change
    window.set_text(Control::txt_wh, "7");
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(window.text(Control::txt_wh), "7");
}

TEST_F(WindowTest, toggles_the_check_box_before_raising_click)
{
    std::vector<std::int16_t> seen;
    window.on_click(Control::chk_Spannungswandler,
                    [&](Window& w) { seen.push_back(w.value(Control::chk_Spannungswandler)); });
    window.user_toggle(Control::chk_Spannungswandler);
    window.user_toggle(Control::chk_Spannungswandler);
    EXPECT_EQ(seen, (std::vector<std::int16_t>{1, 0}));
    EXPECT_EQ(window.value(Control::chk_Spannungswandler), 0);
}

TEST_F(WindowTest, tells_observers_every_change_and_who_made_it)
{
    std::vector<ui::Change> changes;
    window.add_observer([&](const ui::Change& change) { changes.push_back(change); });
    window.set_caption(Control::label_wandlerverhaeltnis, "80");
    window.set_visible(Control::txt_stromwandler, false);
    window.set_text(Control::txt_kwh, "2");  // shown although the box is disabled
    window.user_replace_text(Control::txt_impulse, "3");
    window.user_toggle(Control::chk_Spannungswandler);
    using enum ui::Origin;
    EXPECT_EQ(changes, (std::vector<ui::Change>{{Control::label_wandlerverhaeltnis, Field::caption, program},
                                                {Control::txt_stromwandler, Field::visible, program},
                                                {Control::txt_kwh, Field::text, program},
                                                {Control::txt_impulse, Field::text, user},
                                                {Control::chk_Spannungswandler, Field::value, user}}));
    EXPECT_EQ(window.text(Control::txt_stromwandler), "5");
    EXPECT_EQ(window.text(Control::txt_kwh), "2");
}

TEST_F(WindowTest, reports_bad_input_that_escapes_a_handler_and_keeps_running)
{
    window.on_click(Control::cmd_berechnen, [](Window& w) {
        w.set_text(Control::txt_ergebnis, "written");
        throw calc::NotANumber();
    });
    window.user_press(Control::cmd_berechnen);
    ASSERT_EQ(port.count(), 1u);
    EXPECT_EQ(port.shown()[0], support::input_error);
    EXPECT_EQ(window.text(Control::txt_ergebnis), "written");

    // Faults of the program itself are not dressed up as bad input.
    window.on_click(Control::chk_Spannungswandler, [](Window&) { throw std::logic_error("bug"); });
    EXPECT_THROW(window.user_toggle(Control::chk_Spannungswandler), std::logic_error);
    EXPECT_EQ(port.count(), 1u);
}

}  // namespace
