#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Number texts of a megabyte or more, each aimed at a place where a long text
// could be read wrongly: digits far behind a halfway point, long runs of
// zeros that move the value, endless thousands groups, exponents of a
// million digits, blanks around a short number. The fuzzer starts from them
// in a run of its own, and the tests replay them.
namespace reference {

struct NamedText {
    std::string name;  // usable as a file name
    std::string text;
};

[[nodiscard]] std::vector<NamedText> huge_number_texts();

// The exact decimal digits of 2^exponent × multiplier, for the halfway points
// at the ends of the double range.
[[nodiscard]] std::string decimal_digits_of_power_of_two(unsigned exponent,
                                                         std::uint64_t multiplier);

}  // namespace reference
