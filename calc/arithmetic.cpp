#include "calc/arithmetic.h"

#include <cmath>

namespace calc {

namespace {

// The operands are finite, so a result that is not finite came from this step.
double checked(double result)
{
    if (std::isnan(result)) throw ArithmeticError("invalid floating-point operation");
    if (std::isinf(result)) throw ArithmeticError("floating-point overflow");
    return result;
}

}  // namespace

double checked_quotient(double a, double b)
{
    if (b == 0) {
        throw ArithmeticError(a == 0 ? "invalid floating-point operation"
                                     : "floating-point division by zero");
    }
    return checked(a / b);
}

double checked_product(double a, double b)
{
    return checked(a * b);
}

}  // namespace calc
