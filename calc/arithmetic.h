#pragma once

#include "calc/errors.h"

// The arithmetic check of every formula step. Each step's result is checked
// against its operands, which are always finite (they come from number texts
// or from checked steps): a result that is not finite, or a division by zero,
// raises the error of a failed floating-point step. Checking values rather
// than the processor's status flags keeps the check exact whatever the
// optimiser does with the order of the arithmetic. Underflow, denormal and
// inexact results pass.
namespace calc {

// a / b, rounded to double. Zero by zero is an invalid operation, any other
// number by zero a division by zero, a quotient beyond the double range an
// overflow.
[[nodiscard]] double checked_quotient(double a, double b);

// a × b, rounded to double. A product beyond the double range is an overflow.
[[nodiscard]] double checked_product(double a, double b);

}  // namespace calc
