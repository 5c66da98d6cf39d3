#pragma once

#include <string>
#include <string_view>

// A second, deliberately slow and plain reading and writing of number texts,
// for checking calc::to_number and calc::to_text against. It shares no code
// with them: the syntax is a table-driven automaton, the value comes from
// std::from_chars on the text rewritten in the "C" form, the writing from
// std::to_chars with %.15g semantics.
namespace reference {

enum class Verdict { number, not_a_number, out_of_range };

struct Reading {
    Verdict verdict = Verdict::not_a_number;
    double value = 0;  // only for Verdict::number; underflow gives a signed zero
};

// What a number text must read as: blanks (space, tab), an optional sign,
// digits with an optional decimal comma (a digit on at least one side), "."
// only between whole thousands groups of the integer part, an optional
// exponent (E or e, optional sign, digits), blanks. A value beyond the largest
// double but at most 1,79769313486232E+308 reads as the largest double.
[[nodiscard]] Reading read_number_text(std::string_view text);

// printf("%.15G") in the "C" locale with a comma for the point; negative zero
// as "0". Throws std::domain_error for an infinity or NaN.
[[nodiscard]] std::string write_number_text(double value);

}  // namespace reference
