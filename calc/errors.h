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

// A formula step failed its arithmetic check: an invalid operation (zero by
// zero), a division by zero, or a result beyond the double range. Underflow,
// denormal and inexact results are never errors.
class ArithmeticError : public Error {
public:
    using Error::Error;
};

}  // namespace calc
