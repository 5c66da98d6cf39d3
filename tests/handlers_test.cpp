#include "ui/handlers.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ui/window.h"
#include "tests/support/recording_port.h"
#include "tests/support/user_edit.h"

namespace {

using ui::Control;
using ui::Field;
using ui::Window;

constexpr ui::Label ratio_label = Control::label_wandlerverhaeltnis;
constexpr ui::CheckBox check_box = Control::chk_Spannungswandler;

// The window as start-up leaves it: handlers bound, Load run.
class HandlersTest : public ::testing::Test {
protected:
    HandlersTest()
    {
        ui::bind_event_handlers(window);
        window.load();
        window.add_observer([this](const ui::Change& c) { writes.emplace_back(c.id, c.field); });
    }

    [[nodiscard]] std::string ratio() const { return window.caption(ratio_label); }
    [[nodiscard]] std::size_t errors() const { return port.count(); }

    // Types the text one character at a time behind what the box holds, and
    // returns the ratio caption after each keystroke.
    std::vector<std::string> type(ui::TextBox box, std::string_view keys)
    {
        std::vector<std::string> ratios;
        for (const char key : keys) {
            support::user_edit(window, box, window.text(box).size(), 0, std::string(1, key));
            ratios.push_back(ratio());
        }
        return ratios;
    }

    void erase_all(ui::TextBox box) { support::user_edit(window, box, 0, window.text(box).size(), ""); }

    support::RecordingPort port;
    Window window{port};
    std::vector<std::pair<Control, Field>> writes;
};

using Strings = std::vector<std::string>;

TEST_F(HandlersTest, load_writes_the_ratio_of_the_stored_texts)
{
    EXPECT_EQ(ratio(), "1");
    EXPECT_EQ(window.text(Control::txt_kwh), "1");
    EXPECT_EQ(window.text(Control::txt_ergebnis), "");
    EXPECT_EQ(errors(), 0u);
}

TEST_F(HandlersTest, check_box_click_shows_and_hides_the_row_then_writes_the_ratio)
{
    window.user_toggle(check_box);
    const std::vector<std::pair<Control, Field>> shown = {
        {check_box, Field::value},
        {Control::Label9, Field::visible},
        {Control::txt_spannungswandler, Field::visible},
        {Control::Label10, Field::visible},
        {Control::Label13, Field::visible},
        {ratio_label, Field::caption}};
    EXPECT_EQ(writes, shown);
    EXPECT_EQ(ratio(), "1");
    window.user_toggle(check_box);
    EXPECT_EQ(ratio(), "1");  // ticking and unticking with 100 V leaves I / 5
    EXPECT_FALSE(window.visible(Control::txt_spannungswandler));
    EXPECT_EQ(window.text(Control::txt_spannungswandler), "100");
}

TEST_F(HandlersTest, transformer_boxes_leave_out_the_hidden_voltage)
{
    window.user_toggle(check_box);
    window.user_replace_text(Control::txt_spannungswandler, "200");
    EXPECT_EQ(ratio(), "2");
    window.user_toggle(check_box);
    EXPECT_EQ(ratio(), "1");
    window.user_replace_text(Control::txt_stromwandler, "10");
    EXPECT_EQ(ratio(), "2");
    window.user_replace_text(Control::txt_stromwandler, "5");
    EXPECT_EQ(ratio(), "1");
    window.user_press(Control::cmd_berechnen);
    EXPECT_EQ(ratio(), "1");

    // An empty hidden voltage box does not disturb the current box.
    window.user_toggle(check_box);
    erase_all(Control::txt_spannungswandler);
    EXPECT_EQ(errors(), 1u);
    window.user_toggle(check_box);  // the row hides; the ratio is I / 5 again
    EXPECT_EQ(errors(), 1u);
    EXPECT_EQ(type(Control::txt_stromwandler, "0"), (Strings{"10"}));
    EXPECT_EQ(errors(), 1u);
}

TEST_F(HandlersTest, wh_box_writes_the_kwh_equivalent)
{
    window.user_replace_text(Control::txt_wh, "1");
    EXPECT_EQ(window.text(Control::txt_kwh), "0,001");
    window.user_replace_text(Control::txt_wh, "2.500.000");
    EXPECT_EQ(window.text(Control::txt_kwh), "2500");
    window.user_replace_text(Control::txt_wh, "-1E20");
    EXPECT_EQ(window.text(Control::txt_kwh), "-1E+17");
    EXPECT_EQ(ratio(), "1");
    EXPECT_EQ(errors(), 0u);
}

TEST_F(HandlersTest, berechnen_writes_the_ratio_then_the_wh_per_pulse)
{
    window.user_replace_text(Control::txt_stromwandler, "400");
    window.user_replace_text(Control::txt_impulse, "1000");
    writes.clear();
    window.user_press(Control::cmd_berechnen);
    EXPECT_EQ(writes, (std::vector<std::pair<Control, Field>>{{ratio_label, Field::caption},
                                                              {Control::txt_ergebnis, Field::text}}));
    EXPECT_EQ(window.text(Control::txt_ergebnis), "80");

    // The ratio is read back as its text: 1,6666666666666667 / 5 is written
    // "0,333333333333333", and that is what multiplies.
    window.user_replace_text(Control::txt_stromwandler, "1,6666666666666667");
    window.user_replace_text(Control::txt_impulse, "1");
    window.user_replace_text(Control::txt_wh, "3");
    window.user_press(Control::cmd_berechnen);
    EXPECT_EQ(ratio(), "0,333333333333333");
    EXPECT_EQ(window.text(Control::txt_ergebnis), "0,999999999999999");
    EXPECT_EQ(errors(), 0u);
}

// The largest ratio written, above the largest double, reads back as it.
TEST_F(HandlersTest, berechnen_reads_back_the_largest_written_ratio)
{
    window.user_toggle(check_box);
    window.user_replace_text(Control::txt_spannungswandler, "500");
    window.user_replace_text(Control::txt_stromwandler, "1,7976931348623157E+308");
    window.user_replace_text(Control::txt_wh, "1");
    window.user_replace_text(Control::txt_impulse, "1");
    EXPECT_EQ(ratio(), "1,79769313486232E+308");
    window.user_press(Control::cmd_berechnen);
    EXPECT_EQ(window.text(Control::txt_ergebnis), "1,79769313486232E+308");
    EXPECT_EQ(errors(), 0u);
}

TEST_F(HandlersTest, typing_a_pulse_count_or_a_result_changes_nothing_else)
{
    writes.clear();
    window.user_replace_text(Control::txt_impulse, "0");
    window.user_replace_text(Control::txt_ergebnis, "mine");
    EXPECT_EQ(writes, (std::vector<std::pair<Control, Field>>{{Control::txt_impulse, Field::text},
                                                              {Control::txt_ergebnis, Field::text}}));
    EXPECT_EQ(errors(), 0u);
}

TEST_F(HandlersTest, bad_text_in_a_trapping_box_shows_the_message_and_keeps_the_outputs)
{
    window.user_replace_text(Control::txt_wh, "2000");
    erase_all(Control::txt_wh);
    EXPECT_EQ(errors(), 1u);
    EXPECT_EQ(port.shown().back(), support::input_error);
    EXPECT_EQ(window.text(Control::txt_kwh), "2");
    type(Control::txt_wh, "5");
    EXPECT_EQ(window.text(Control::txt_kwh), "0,005");

    window.user_replace_text(Control::txt_stromwandler, "400");
    EXPECT_EQ(type(Control::txt_stromwandler, "x"), (Strings{"80"}));
    EXPECT_EQ(errors(), 2u);
    support::user_edit(window, Control::txt_stromwandler, 3, 1, "");
    EXPECT_EQ(ratio(), "80");
    EXPECT_EQ(errors(), 2u);
    erase_all(Control::txt_stromwandler);
    EXPECT_EQ(errors(), 3u);
    EXPECT_EQ(window.text(Control::txt_stromwandler), "");  // the user's text stays
    EXPECT_EQ(ratio(), "80");

    window.user_replace_text(Control::txt_stromwandler, "5");
    window.user_toggle(check_box);
    erase_all(Control::txt_spannungswandler);
    EXPECT_EQ(errors(), 4u);
    EXPECT_EQ(type(Control::txt_stromwandler, "0"), (Strings{"1"}));  // empty voltage, ticked
    EXPECT_EQ(errors(), 5u);

    // Beyond the double range, in the text or in the product.
    window.user_replace_text(Control::txt_spannungswandler, "1E308");
    EXPECT_EQ(ratio(), "1E+307");  // 50 / 5 × 1E306
    window.user_replace_text(Control::txt_stromwandler, "1E308");
    window.user_replace_text(Control::txt_wh, "1E999");
    EXPECT_EQ(errors(), 7u);
    EXPECT_EQ(ratio(), "1E+307");
    EXPECT_EQ(window.text(Control::txt_kwh), "0,005");
}

TEST_F(HandlersTest, berechnen_with_no_pulses_rewrites_the_ratio_and_keeps_the_result)
{
    window.user_press(Control::cmd_berechnen);
    EXPECT_EQ(window.text(Control::txt_ergebnis), "1000");
    for (const char* pulses : {"0", "", "-0", "eins"}) {
        window.user_replace_text(Control::txt_stromwandler, "400");
        window.user_replace_text(Control::txt_impulse, pulses);
        window.set_caption(ratio_label, "stale");
        const std::size_t before = errors();
        window.user_press(Control::cmd_berechnen);
        EXPECT_EQ(errors(), before + 1) << pulses;
        EXPECT_EQ(ratio(), "80") << pulses;  // written before the failing step
        EXPECT_EQ(window.text(Control::txt_ergebnis), "1000") << pulses;
    }
}

TEST_F(HandlersTest, berechnen_with_a_bad_transformer_text_keeps_caption_and_result)
{
    window.user_press(Control::cmd_berechnen);
    window.user_replace_text(Control::txt_stromwandler, "5 A");
    EXPECT_EQ(errors(), 1u);
    window.user_press(Control::cmd_berechnen);
    EXPECT_EQ(errors(), 2u);
    EXPECT_EQ(ratio(), "1");
    EXPECT_EQ(window.text(Control::txt_ergebnis), "1000");
}

// The check box's handler has no trap of its own; its bad input is reported
// all the same, and the row keeps its new visibility.
TEST_F(HandlersTest, check_box_with_a_bad_current_still_moves_the_row)
{
    window.user_replace_text(Control::txt_stromwandler, "400");
    erase_all(Control::txt_stromwandler);
    EXPECT_EQ(errors(), 1u);
    window.user_toggle(check_box);
    EXPECT_EQ(errors(), 2u);
    EXPECT_TRUE(window.visible(Control::txt_spannungswandler));
    EXPECT_TRUE(window.visible(Control::Label13));
    EXPECT_EQ(ratio(), "80");
    window.user_toggle(check_box);
    EXPECT_EQ(errors(), 3u);
    EXPECT_FALSE(window.visible(Control::Label9));
    EXPECT_EQ(ratio(), "80");
    type(Control::txt_stromwandler, "1");
    EXPECT_EQ(ratio(), "0,2");
}

TEST(event_bindings, bind_exactly_six_handlers)
{
    support::RecordingPort port;
    Window window(port);
    ui::bind_event_handlers(window);
    EXPECT_THROW(ui::bind_event_handlers(window), std::logic_error);  // every event taken once
    EXPECT_EQ(ui::event_bindings.size(), 6u);
    EXPECT_EQ(window.caption(ratio_label), "");  // Load has not run yet
    window.load();
    EXPECT_EQ(window.caption(ratio_label), "1");
    for (const ui::TextBox box : {Control::txt_impulse, Control::txt_ergebnis}) {
        window.user_replace_text(box, "x");
    }
    EXPECT_EQ(port.count(), 0u);
}

}  // namespace
