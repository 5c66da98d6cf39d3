#include "tests/support/reference_numbers.h"

#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <system_error>

namespace reference {
namespace {

enum class Class : std::uint8_t { blank, sign, digit, dot, comma, exponent, other };
constexpr std::size_t class_count = 7;

enum class State : std::uint8_t {
    leading_blanks,
    after_sign,
    integer_1,  // one to three integer digits: a thousands dot may follow
    integer_2,
    integer_3,
    integer_long,  // four or more: no dot any more
    group_0,       // after a thousands dot, waiting for three digits
    group_1,
    group_2,
    group_done,
    bare_comma,  // a comma with no integer digit before it: a digit must follow
    fraction,
    exponent_mark,
    exponent_sign,
    exponent_digits,
    trailing_blanks,
    dead,
};
constexpr std::size_t state_count = 17;

constexpr Class classify(char c)
{
    switch (c) {
    case ' ':
    case '\t':
        return Class::blank;
    case '+':
    case '-':
        return Class::sign;
    case '.':
        return Class::dot;
    case ',':
        return Class::comma;
    case 'E':
    case 'e':
        return Class::exponent;
    default:
        return c >= '0' && c <= '9' ? Class::digit : Class::other;
    }
}

using Table = std::array<std::array<State, class_count>, state_count>;

constexpr Table transitions = [] {
    Table table{};
    for (auto& row : table) row.fill(State::dead);
    auto set = [&table](State from, Class c, State to) {
        table[static_cast<std::size_t>(from)][static_cast<std::size_t>(c)] = to;
    };
    using enum State;
    set(leading_blanks, Class::blank, leading_blanks);
    for (const State s : {leading_blanks, after_sign}) {
        set(s, Class::digit, integer_1);
        set(s, Class::comma, bare_comma);
    }
    set(leading_blanks, Class::sign, after_sign);
    set(integer_1, Class::digit, integer_2);
    set(integer_2, Class::digit, integer_3);
    set(integer_3, Class::digit, integer_long);
    set(integer_long, Class::digit, integer_long);
    for (const State s : {integer_1, integer_2, integer_3, group_done}) set(s, Class::dot, group_0);
    set(group_0, Class::digit, group_1);
    set(group_1, Class::digit, group_2);
    set(group_2, Class::digit, group_done);
    for (const State s : {integer_1, integer_2, integer_3, integer_long, group_done}) {
        set(s, Class::comma, fraction);
    }
    set(bare_comma, Class::digit, fraction);
    set(fraction, Class::digit, fraction);
    for (const State s : {integer_1, integer_2, integer_3, integer_long, group_done, fraction}) {
        set(s, Class::exponent, exponent_mark);
        set(s, Class::blank, trailing_blanks);
    }
    set(exponent_mark, Class::sign, exponent_sign);
    set(exponent_mark, Class::digit, exponent_digits);
    set(exponent_sign, Class::digit, exponent_digits);
    set(exponent_digits, Class::digit, exponent_digits);
    set(exponent_digits, Class::blank, trailing_blanks);
    set(trailing_blanks, Class::blank, trailing_blanks);
    return table;
}();

constexpr bool accepting(State s)
{
    using enum State;
    return s == integer_1 || s == integer_2 || s == integer_3 || s == integer_long ||
           s == group_done || s == fraction || s == exponent_digits || s == trailing_blanks;
}

constexpr bool integer_state(State s)
{
    using enum State;
    return s == integer_1 || s == integer_2 || s == integer_3 || s == integer_long ||
           s == group_1 || s == group_2 || s == group_done;
}

// The parts of an accepted text, as written.
struct Parts {
    bool negative = false;
    std::string integer;  // digits only, thousands dots dropped
    std::string fraction;
    bool exponent_negative = false;
    std::string exponent;
};

bool split(std::string_view text, Parts& parts)
{
    State state = State::leading_blanks;
    for (const char c : text) {
        const State next =
            transitions[static_cast<std::size_t>(state)][static_cast<std::size_t>(classify(c))];
        if (next == State::dead) return false;
        if (classify(c) == Class::digit) {
            if (integer_state(next)) {
                parts.integer.push_back(c);
            } else if (next == State::fraction) {
                parts.fraction.push_back(c);
            } else {
                parts.exponent.push_back(c);
            }
        } else if (classify(c) == Class::sign) {
            (state == State::leading_blanks ? parts.negative : parts.exponent_negative) = c == '-';
        }
        state = next;
    }
    return accepting(state);
}

// The power of ten just above the value's first significant digit, plus the
// written exponent, held within ±10^15 (no text is long enough for the digits
// to make up for more). Positive beyond the double range, negative below it.
std::int64_t decimal_magnitude(const Parts& parts)
{
    constexpr std::int64_t cap = 1'000'000'000'000'000;
    std::int64_t exponent = 0;
    for (const char c : parts.exponent) {
        exponent = std::min(cap, exponent * 10 + (c - '0'));
    }
    if (parts.exponent_negative) exponent = -exponent;
    const auto first = parts.integer.find_first_not_of('0');
    std::int64_t lead = 0;
    if (first != std::string::npos) {
        lead = static_cast<std::int64_t>(parts.integer.size() - first);
    } else {
        lead = -static_cast<std::int64_t>(parts.fraction.find_first_not_of('0'));
    }
    return lead + exponent;
}

// Whether a value beyond the largest double is still at most the largest
// written text, 1,79769313486232E+308: its significant digits, both parts
// together without leading and trailing zeros, against those of the bound,
// when the first digit stands at the same place.
bool at_most_largest_written(const Parts& parts)
{
    const std::int64_t magnitude_power = decimal_magnitude(parts);
    if (magnitude_power != 309) return magnitude_power < 309;
    std::string digits = parts.integer + parts.fraction;
    digits.erase(0, digits.find_first_not_of('0'));
    digits.erase(digits.find_last_not_of('0') + 1);
    return digits <= std::string_view("179769313486232");
}

}  // namespace

Reading read_number_text(std::string_view text)
{
    Parts parts;
    if (!split(text, parts)) return {Verdict::not_a_number, 0};

    // The "C" form that std::from_chars reads: d.dEd, digits on every side.
    std::string c_form = parts.integer.empty() ? "0" : parts.integer;
    c_form.append(".").append(parts.fraction.empty() ? "0" : parts.fraction);
    c_form.append(parts.exponent_negative ? "e-" : "e")
        .append(parts.exponent.empty() ? "0" : parts.exponent);

    double magnitude = 0;
    const char* end = c_form.data() + c_form.size();
    const auto [ptr, error] = std::from_chars(c_form.data(), end, magnitude);
    if (ptr != end)
        throw std::logic_error("reference reading stopped early: " + c_form.substr(0, 80));
    if (error == std::errc::result_out_of_range) {
        // from_chars says so for overflow and for underflow to zero alike.
        const std::int64_t magnitude_power = decimal_magnitude(parts);
        if (magnitude_power > 300) {
            if (!at_most_largest_written(parts)) return {Verdict::out_of_range, 0};
            return {Verdict::number, parts.negative ? -DBL_MAX : DBL_MAX};
        }
        if (magnitude_power < -300) return {Verdict::number, parts.negative ? -0.0 : 0.0};
        throw std::logic_error("reference reading out of range at a moderate scale");
    }
    if (error != std::errc()) throw std::logic_error("reference reading failed");
    return {Verdict::number, parts.negative ? -magnitude : magnitude};
}

std::string write_number_text(double value)
{
    if (!std::isfinite(value)) throw std::domain_error("no text for a value that is not finite");
    // The C library's own writing, which the program does not call: an
    // independent one. In the "C" locale that every test and the fuzzer run
    // in, with the point turned into a comma.
    std::array<char, 64> buffer{};
    const int length = std::snprintf(buffer.data(), buffer.size(), "%.15G", value);
    if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size()) throw std::logic_error("snprintf failed");
    std::string text(buffer.data(), static_cast<std::size_t>(length));
    for (char& c : text) {
        if (c == '.') c = ',';
    }
    return text == "-0" ? "0" : text;
}

}  // namespace reference
