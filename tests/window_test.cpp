#include "ui/window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
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
using ui::ModelError;
using ui::Window;

class WindowTest : public ::testing::Test {
protected:
    support::RecordingPort port;
    Window window{port};
};

TEST(control_table, holds_39_named_controls_of_six_kinds)
{
    std::set<std::string_view> names;
    std::map<Kind, int> per_kind;
    for (const auto& control : ui::control_table) {
        names.insert(control.name);
        ++per_kind[control.kind];
    }
    EXPECT_EQ(names.size(), 39u);
    EXPECT_EQ(per_kind[Kind::text_box], 6);
    EXPECT_EQ(per_kind[Kind::label], 17);
    EXPECT_EQ(per_kind[Kind::line], 12);
    EXPECT_EQ(per_kind[Kind::image_box], 2);
    EXPECT_EQ(per_kind[Kind::check_box], 1);
    EXPECT_EQ(per_kind[Kind::command_button], 1);
    EXPECT_EQ(ui::name(Control::label_wandlerverhaeltnis), "label_wandlerverhältnis");
    // Stacking numbers count from 1 on top.
    EXPECT_EQ(ui::index(Control::txt_kwh) + 1, 1u);
    EXPECT_EQ(ui::index(Control::Label7) + 1, 10u);
    EXPECT_EQ(ui::index(Control::Label6) + 1, 13u);
    EXPECT_EQ(ui::index(Control::Label2) + 1, 39u);
}

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

TEST_F(WindowTest, refuses_fields_that_a_kind_does_not_have)
{
    EXPECT_THROW(static_cast<void>(window.text(Control::Label2)), ModelError);
    EXPECT_THROW(static_cast<void>(window.caption(Control::txt_wh)), ModelError);
    EXPECT_THROW(static_cast<void>(window.value(Control::cmd_berechnen)), ModelError);
    EXPECT_THROW(window.set_visible(Control::Line1, false), ModelError);
    EXPECT_THROW(window.set_visible(Control::chk_Spannungswandler, false), ModelError);
    EXPECT_THROW(window.on_change(Control::Label2, [](Window&) {}), ModelError);
    EXPECT_THROW(window.on_click(Control::txt_wh, [](Window&) {}), ModelError);
}

TEST_F(WindowTest, takes_one_handler_per_event)
{
    window.on_change(Control::txt_wh, [](Window&) {});
    EXPECT_THROW(window.on_change(Control::txt_wh, [](Window&) {}), ModelError);
    window.on_load([](Window&) {});
    EXPECT_THROW(window.on_load([](Window&) {}), ModelError);
}

TEST_F(WindowTest, refuses_user_actions_on_hidden_disabled_and_passive_controls)
{
    EXPECT_THROW(window.user_replace_text(Control::txt_spannungswandler, "1"), ActionRefused);
    EXPECT_THROW(support::user_edit(window, Control::txt_kwh, 0, 0, "1"), ActionRefused);
    EXPECT_THROW(window.user_replace_text(Control::txt_kwh, "2"), ActionRefused);
    EXPECT_THROW(window.user_press(Control::Label2), ActionRefused);
    EXPECT_THROW(window.user_toggle(Control::cmd_berechnen), ActionRefused);
    EXPECT_THROW(window.user_press(Control::chk_Spannungswandler), ActionRefused);
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

TEST_F(WindowTest, tells_observers_every_change_and_keeps_hidden_texts)
{
    std::vector<std::pair<Control, Field>> changes;
    window.add_observer([&](Control id, Field field) { changes.emplace_back(id, field); });
    window.set_caption(Control::label_wandlerverhaeltnis, "80");
    window.set_visible(Control::txt_stromwandler, false);
    window.set_text(Control::txt_kwh, "2");  // shown although the box is disabled
    window.user_replace_text(Control::txt_impulse, "3");
    window.user_toggle(Control::chk_Spannungswandler);
    EXPECT_EQ(changes, (std::vector<std::pair<Control, Field>>{
                           {Control::label_wandlerverhaeltnis, Field::caption},
                           {Control::txt_stromwandler, Field::visible},
                           {Control::txt_kwh, Field::text},
                           {Control::txt_impulse, Field::text},
                           {Control::chk_Spannungswandler, Field::value}}));
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
