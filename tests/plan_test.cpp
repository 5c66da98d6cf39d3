// The view plan that every front-end builds the window from, and the rule
// by which a figure that does not fit its box is shown.

#include "ui/plan.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

using ui::Control;
using ui::layout::Rect;
using ui::plan::Group;

TEST(plan, places_every_control_in_pixels_of_its_density)
{
    const ui::plan::Plan at_144(144);
    const struct {
        Control id;
        Rect at_96;
        Rect at_144;
    } places[] = {
        // Each of left, top, width and height rounded to the nearest pixel on its own.
        {Control::txt_kwh, {288, 41, 33, 15}, {432, 62, 50, 23}},
        {Control::Label12, {88, 147, 33, 17}, {132, 220, 50, 26}},
        {Control::cmd_berechnen, {240, 224, 121, 25}, {360, 336, 182, 38}},
        // A line covers both its end points, as many pixels thick as the density allows.
        {Control::Line1, {8, 8, 361, 1}, {12, 12, 541, 1}},
        {Control::Line10, {368, 192, 1, 65}, {552, 288, 1, 97}},
    };
    for (const auto& p : places) {
        EXPECT_EQ(ui::plan::base[p.id].rect, p.at_96) << ui::name(p.id);
        EXPECT_EQ(at_144[p.id].rect, p.at_144) << ui::name(p.id);
    }
    EXPECT_EQ(ui::plan::base.width(), 559);
    EXPECT_EQ(at_144.height(), 456);
    EXPECT_EQ(at_144[Control::Label8].font.pixel_height, 27);  // 18 pixels at 96 dpi
    EXPECT_TRUE(ui::plan::base[Control::label_wandlerverhaeltnis].font.bold);
}

TEST(plan, orders_the_focus_and_lays_the_inputs_over_everything_else)
{
    std::vector<Control> focus(7, Control::txt_kwh);
    for (const auto& e : ui::plan::base.entries()) {
        if (e.focus != 0) focus[static_cast<std::size_t>(e.focus - 1)] = e.id;
    }
    EXPECT_EQ(focus, (std::vector<Control>{Control::txt_impulse, Control::txt_stromwandler,
                                           Control::txt_spannungswandler, Control::cmd_berechnen,
                                           Control::txt_ergebnis, Control::chk_Spannungswandler, Control::txt_wh}));
    EXPECT_EQ(ui::plan::base.first_focus(), Control::txt_impulse);
    EXPECT_EQ(ui::plan::base[Control::txt_kwh].focus, 0);  // disabled

    const auto stacking = ui::plan::base.stacking();
    EXPECT_EQ(std::vector<Control>(stacking.begin(), stacking.begin() + 9),
              (std::vector<Control>{Control::txt_impulse, Control::txt_stromwandler, Control::txt_spannungswandler,
                                    Control::cmd_berechnen, Control::txt_ergebnis, Control::chk_Spannungswandler,
                                    Control::txt_wh, Control::txt_kwh, Control::Label16}));
    const auto above = [](Control a, Control b) { return ui::plan::base[a].stacking < ui::plan::base[b].stacking; };
    EXPECT_TRUE(above(Control::Label7, Control::Label6));    // "(" over "Wh"
    EXPECT_TRUE(above(Control::Label12, Control::Label8));   // "5 A" over its "/"
    EXPECT_TRUE(above(Control::Label8, Control::Label5));    // the "/" over "Strom"
    EXPECT_EQ(stacking.back(), Control::Label2);
}

TEST(plan, puts_every_control_in_the_box_it_stands_in_row_by_row)
{
    const auto& plan = ui::plan::base;
    EXPECT_EQ(plan.group(Group::transformers).rect, (Rect{8, 88, 361, 81}));
    EXPECT_EQ(plan.group(Group::result).title, Control::Label11);
    const struct {
        Control id;
        Group group;
        int row;
    } members[] = {
        {Control::Label4, Group::pulse_rating, 0},  {Control::txt_impulse, Group::pulse_rating, 1},
        {Control::Label16, Group::pulse_rating, 1}, {Control::Line3, Group::pulse_rating, -1},
        {Control::chk_Spannungswandler, Group::transformers, 0}, {Control::txt_stromwandler, Group::transformers, 2},
        {Control::Label12, Group::transformers, 2}, {Control::Label9, Group::transformers, 3},
        {Control::label_wandlerverhaeltnis, Group::transformers, 5}, {Control::cmd_berechnen, Group::result, 1},
    };
    for (const auto& m : members) {
        EXPECT_EQ(plan[m.id].group, m.group) << ui::name(m.id);
        EXPECT_EQ(plan[m.id].row, m.row) << ui::name(m.id);
    }
    EXPECT_FALSE(plan[Control::Image1].group);
    EXPECT_EQ(plan.reading().front(), Control::Label4);
}

// Every character one unit wide, the mark too.
double units(std::string_view text)
{
    double width = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0U) != 0x80U) ++width;  // one per UTF-8 character
    }
    return width;
}

TEST(fitted_figure, keeps_the_exponent_in_sight_and_marks_what_it_leaves_out)
{
    const struct {
        std::string_view figure;
        double room;
        std::string_view shown;
    } cases[] = {
        {"1", 5, "1"},
        {"2,85714285714286E-06", 12, "2,85714…E-06"},
        {"-2,4691357802469E-301", 10, "-2,4…E-301"},
        {"1234,567", 6, "1234,…"},
        {"0,466666666666667", 17, "0,466666666666667"},  // just fitting
        {"0,466666666666667", 16, "0,4666666666666…"},   // just not
        {"1E-05", 5, "1E-05"},
        {"1E+15", 2, "…E+15"},                           // not even the exponent fits: it still shows
        {"1,79769313486232E+308", 20, "1,797693134862…E+308"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ui::plan::fitted_figure(c.figure, c.room, units), c.shown) << c.figure << " in " << c.room;
    }
}

}  // namespace
