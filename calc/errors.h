#pragma once

#include <stdexcept>
#include <string>

namespace calc {

// Every error the calculation core raises derives from this. An error trap of
// the window catches it and reports bad input; nothing else in the core throws.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The text is not a number in the accepted syntax (the empty text included).
class NotANumber : public Error {
public:
    NotANumber() : Error("not a number") {}
};

// The text is a number, but its value lies beyond the double range.
class OutOfRange : public Error {
public:
    OutOfRange() : Error("number beyond the double range") {}
};

// The three conditions a formula step is checked for. Underflow, denormal
// results and inexact results are not among them: they are never errors.
enum class ArithmeticFault { invalid_operation, division_by_zero, overflow };

// A formula step failed its arithmetic check.
class ArithmeticError : public Error {
public:
    explicit ArithmeticError(ArithmeticFault fault);
    [[nodiscard]] ArithmeticFault fault() const noexcept { return fault_; }

private:
    ArithmeticFault fault_;
};

// Raises the error of a failed floating-point step. The arithmetic check is
// its only caller.
[[noreturn]] void raise_arithmetic_error(ArithmeticFault fault);

}  // namespace calc
