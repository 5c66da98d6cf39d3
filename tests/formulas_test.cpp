#include "calc/formulas.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

#include "calc/arithmetic.h"
#include "calc/number_text.h"

namespace {

using calc::ArithmeticError;
using calc::NotANumber;
using calc::OutOfRange;

// What the check said of a step, or "passed".
std::string fault_of(double (*step)(double, double), double a, double b)
{
    try {
        static_cast<void>(step(a, b));
    } catch (const ArithmeticError& error) {
        return error.what();
    }
    return "passed";
}

const std::string invalid_operation = "invalid floating-point operation";
const std::string division_by_zero = "floating-point division by zero";
const std::string overflow = "floating-point overflow";

TEST(arithmetic_check, raises_for_invalid_operation_division_by_zero_and_overflow)
{
    EXPECT_EQ(fault_of(calc::checked_quotient, 0, 0), invalid_operation);
    EXPECT_EQ(fault_of(calc::checked_quotient, -0.0, 0), invalid_operation);
    EXPECT_EQ(fault_of(calc::checked_quotient, 1, 0), division_by_zero);
    EXPECT_EQ(fault_of(calc::checked_quotient, -5, -0.0), division_by_zero);
    EXPECT_EQ(fault_of(calc::checked_quotient, DBL_MIN, 0), division_by_zero);
    EXPECT_EQ(fault_of(calc::checked_quotient, DBL_MAX, 0.5), overflow);
    EXPECT_EQ(fault_of(calc::checked_quotient, 1e300, 1e-300), overflow);
    EXPECT_EQ(fault_of(calc::checked_product, DBL_MAX, 2), overflow);
    EXPECT_EQ(fault_of(calc::checked_product, -1e200, 1e200), overflow);
}

TEST(arithmetic_check, lets_underflow_denormals_and_inexact_results_pass)
{
    EXPECT_EQ(calc::checked_quotient(1, 3), 1.0 / 3);
    EXPECT_EQ(calc::checked_quotient(DBL_MIN, 1e10), DBL_MIN / 1e10);  // denormal
    EXPECT_EQ(calc::checked_quotient(4.9406564584124654E-324, 2), 0);  // underflow to zero
    EXPECT_EQ(calc::checked_product(1e-200, 1e-200), 0);
    EXPECT_EQ(calc::checked_product(DBL_MAX, 1), DBL_MAX);
    EXPECT_EQ(calc::checked_quotient(0, 7), 0);
    EXPECT_EQ(calc::checked_product(0, -1), 0);
}

TEST(formulas, give_the_figures_of_the_initial_texts)
{
    EXPECT_EQ(calc::ratio_without_voltage_transformer("5"), 1);
    EXPECT_EQ(calc::ratio_with_voltage_transformer({"100", "5"}), 1);
    EXPECT_EQ(calc::kwh_equivalent("1000"), 1);
    EXPECT_EQ(calc::wh_per_pulse({"1000", "1", "1"}), 1000);
    EXPECT_EQ(calc::to_text(calc::ratio_without_voltage_transformer("5")), "1");
}

TEST(formulas, compute_meter_figures)
{
    EXPECT_EQ(calc::ratio_with_voltage_transformer({"20000", "400"}), 16000);
    EXPECT_EQ(calc::ratio_without_voltage_transformer("400"), 80);
    EXPECT_EQ(calc::wh_per_pulse({"1000", "1000", "16000"}), 16000);
    EXPECT_EQ(calc::kwh_equivalent("1"), 0.001);
    EXPECT_EQ(calc::ratio_without_voltage_transformer("0"), 0);
    EXPECT_EQ(calc::wh_per_pulse({"1000", "1", "0"}), 0);
    EXPECT_EQ(calc::ratio_without_voltage_transformer("-400"), -80);
    EXPECT_EQ(calc::wh_per_pulse({"1000", "-4", "2"}), -500);
    EXPECT_EQ(calc::kwh_equivalent("1.500.000"), 1500);
}

// Each step is rounded to double in its own grouping, which is not the same
// double as a regrouped formula for every input.
TEST(formulas, keep_their_grouping)
{
    // (I / 5) × (V / 100), not (I × V) / 500:
    EXPECT_EQ(calc::ratio_with_voltage_transformer({"519502", "15456"}), 16058845.824000001);
    EXPECT_NE(15456.0 * 519502.0 / 500, 16058845.824000001);
    // R × (W / P), not (R × W) / P:
    EXPECT_EQ(calc::wh_per_pulse({"63895", "1494", "4657,42857"}), 199187.68305230926);
    EXPECT_NE(4657.42857 * 63895.0 / 1494, 199187.68305230926);
}

TEST(formulas, convert_their_inputs_in_order)
{
    // The voltage is converted before the current.
    EXPECT_THROW(static_cast<void>(calc::ratio_with_voltage_transformer({"x", "1E999"})), NotANumber);
    EXPECT_THROW(static_cast<void>(calc::ratio_with_voltage_transformer({"1E999", "x"})), OutOfRange);
    // W before P, and the quotient W / P is checked before R is converted.
    EXPECT_THROW(static_cast<void>(calc::wh_per_pulse({"1E999", "x", "x"})), OutOfRange);
    EXPECT_THROW(static_cast<void>(calc::wh_per_pulse({"1", "x", "1E999"})), NotANumber);
    EXPECT_THROW(static_cast<void>(calc::wh_per_pulse({"1", "0", "x"})), ArithmeticError);
    EXPECT_THROW(static_cast<void>(calc::wh_per_pulse({"1", "1", "x"})), NotANumber);
}

TEST(formulas, reject_what_the_check_rejects)
{
    try {
        static_cast<void>(calc::wh_per_pulse({"1000", "0", "1"}));
        ADD_FAILURE();
    } catch (const ArithmeticError& error) {
        EXPECT_EQ(error.what(), division_by_zero);
    }
    try {
        static_cast<void>(calc::wh_per_pulse({"0", "0", "1"}));
        ADD_FAILURE();
    } catch (const ArithmeticError& error) {
        EXPECT_EQ(error.what(), invalid_operation);
    }
    EXPECT_THROW(static_cast<void>(calc::ratio_with_voltage_transformer({"1E308", "1E308"})),
                 ArithmeticError);
    EXPECT_THROW(static_cast<void>(calc::wh_per_pulse({"1E308", "1E-10", "1"})), ArithmeticError);
    EXPECT_THROW(static_cast<void>(calc::wh_per_pulse({"1E300", "1", "1E300"})), ArithmeticError);
    EXPECT_THROW(static_cast<void>(calc::kwh_equivalent("")), NotANumber);
    // Underflow is no error.
    EXPECT_EQ(calc::kwh_equivalent("1E-322"), 1e-322 / 1000);
    EXPECT_EQ(calc::wh_per_pulse({"1E-300", "1E300", "1"}), 0);
}

// The result is computed from the ratio as its text reads, not from the
// unrounded double.
TEST(formulas, use_the_ratio_as_its_text_reads_back)
{
    const std::string ratio_text = calc::to_text(calc::ratio_without_voltage_transformer("1,6666666666666667"));
    EXPECT_EQ(ratio_text, "0,333333333333333");
    EXPECT_EQ(calc::wh_per_pulse({"3", "1", ratio_text}), 0.333333333333333 * 3);
    EXPECT_NE(calc::wh_per_pulse({"3", "1", ratio_text}), 1.6666666666666667 / 5 * 3);
}

}  // namespace
