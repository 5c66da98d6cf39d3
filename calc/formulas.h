#pragma once

#include <string_view>

#include "calc/errors.h"

// The four meter formulas. Each takes the texts that a handler has just read
// from the window, converts them in the order of its parameters (so the first
// text that is not a number decides the error) and evaluates its steps in a
// fixed grouping, each step rounded to double and checked. Nothing is checked
// for sign or range: zero and negative inputs are computed like any other.
namespace calc {

// Rated secondary current of a current transformer, in A.
inline constexpr double secondary_current = 5;
// Rated secondary voltage of a voltage transformer, in V.
inline constexpr double secondary_voltage = 100;
inline constexpr double wh_per_kwh = 1000;

// Transformer ratio without a voltage transformer: I / 5.
[[nodiscard]] double ratio_without_voltage_transformer(std::string_view current);

// The texts of a formula with several inputs come named, so that no call can
// swap two of them: ratio_with_voltage_transformer({.voltage = v, .current = i}).
struct TransformerTexts {
    std::string_view voltage;  // V, primary voltage in V
    std::string_view current;  // I, primary current in A
};

struct PulseTexts {
    std::string_view wh;      // W, energy of the meter's rating in Wh
    std::string_view pulses;  // P, pulses of the meter's rating
    std::string_view ratio;   // R, the overall transformer ratio as the window shows it
};

// Transformer ratio with a voltage transformer: (I / 5) × (V / 100). The
// voltage is converted and divided first, then the current.
[[nodiscard]] double ratio_with_voltage_transformer(const TransformerTexts& texts);

// kWh equivalent of an energy in Wh: W / 1000.
[[nodiscard]] double kwh_equivalent(std::string_view wh);

// Energy on the primary side per pulse, in Wh: R × (W / P). W and P are
// converted and divided before R is converted.
[[nodiscard]] double wh_per_pulse(const PulseTexts& texts);

}  // namespace calc
