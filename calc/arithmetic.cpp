#include "calc/arithmetic.h"

#include <cmath>

namespace calc {

ArithmeticError::ArithmeticError(ArithmeticFault fault)
    : Error(fault == ArithmeticFault::invalid_operation ? "invalid floating-point operation"
            : fault == ArithmeticFault::division_by_zero ? "floating-point division by zero"
                                                          : "floating-point overflow"),
      fault_(fault)
{
}

void raise_arithmetic_error(ArithmeticFault fault)
{
    throw ArithmeticError(fault);
}

namespace {

// The operands are finite, so a result that is not finite came from this step.
double checked(double result)
{
    if (std::isnan(result)) raise_arithmetic_error(ArithmeticFault::invalid_operation);
    if (std::isinf(result)) raise_arithmetic_error(ArithmeticFault::overflow);
    return result;
}

}  // namespace

double checked_quotient(double a, double b)
{
    if (b == 0) {
        raise_arithmetic_error(a == 0 ? ArithmeticFault::invalid_operation
                                      : ArithmeticFault::division_by_zero);
    }
    return checked(a / b);
}

double checked_product(double a, double b)
{
    return checked(a * b);
}

}  // namespace calc
