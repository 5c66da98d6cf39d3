// How long reading and writing number texts take: the texts a user types, a
// 1 MB text of digits (the worst a paste can bring), and the values that the
// handlers write back.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "calc/errors.h"
#include "calc/number_text.h"

namespace {

void read_text(benchmark::State& state, std::string_view text)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(text);
        benchmark::DoNotOptimize(calc::to_number(text));
    }
}
BENCHMARK_CAPTURE(read_text, one_digit, std::string_view("5"));
BENCHMARK_CAPTURE(read_text, five_digits, std::string_view("20000"));
BENCHMARK_CAPTURE(read_text, thousands_group, std::string_view("1.000"));
BENCHMARK_CAPTURE(read_text, fifteen_threes, std::string_view("0,333333333333333"));
BENCHMARK_CAPTURE(read_text, exponent, std::string_view("1E-05"));
BENCHMARK_CAPTURE(read_text, long_fraction, std::string_view("0,1234567890123456789012345"));
BENCHMARK_CAPTURE(read_text, twenty_five_digits, std::string_view("1234567890123456789012345"));
BENCHMARK_CAPTURE(read_text, largest_double, std::string_view("1,7976931348623157E308"));
BENCHMARK_CAPTURE(read_text, smallest_denormal, std::string_view("4,9406564584124654E-324"));
BENCHMARK_CAPTURE(read_text, denormal_halfway_17_digits, std::string_view("2,4703282292062328E-324"));

// The digits of a decimal integer times a small factor, most significant first.
std::string times(std::string digits, std::uint64_t factor)
{
    std::uint64_t carry = 0;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        const std::uint64_t product = static_cast<std::uint64_t>(*it - '0') * factor + carry;
        *it = static_cast<char>('0' + product % 10);
        carry = product / 10;
    }
    for (; carry != 0; carry /= 10) digits.insert(digits.begin(), static_cast<char>('0' + carry % 10));
    return digits;
}

// The exact text of k × 2^-1075, a halfway point between two denormals for
// odd k: every one of its 750-odd digits counts for the rounding.
std::string denormal_halfway(std::uint64_t k)
{
    std::string digits = "1";
    for (int i = 0; i < 1075; ++i) digits = times(digits, 5);
    digits = times(digits, k);
    return "0," + std::string(1075 - digits.size(), '0') + digits;
}

// The exact text of 2^1024 - 2^970, halfway between the largest double and
// 2^1024, with its last digit lowered by one (it ends in 2): just below it.
std::string below_top_halfway()
{
    std::string digits = "1";
    for (int i = 0; i < 970; ++i) digits = times(digits, 2);
    digits = times(digits, (std::uint64_t{1} << 54) - 1);
    --digits.back();
    return digits;
}

// Texts that take the slow, exact road: hundreds of digits that all count.
void read_hard_text(benchmark::State& state, std::string text)
{
    for (auto _ : state) {
        try {
            benchmark::DoNotOptimize(calc::to_number(text));
        } catch (const calc::Error&) {
        }
    }
}
BENCHMARK_CAPTURE(read_hard_text, denormal_halfway_tie, denormal_halfway(1));
BENCHMARK_CAPTURE(read_hard_text, denormal_halfway_above, denormal_halfway(1) + "1");
BENCHMARK_CAPTURE(read_hard_text, denormal_halfway_3, denormal_halfway(3));
BENCHMARK_CAPTURE(read_hard_text, below_top_halfway, below_top_halfway());
BENCHMARK_CAPTURE(read_hard_text, largest_double_written, std::string("1,79769313486232E+308"));

constexpr std::size_t megabyte = 1 << 20;

// "0," and a million digits after the comma: every digit is scanned, the
// first 800 are rounded exactly.
void read_megabyte_fraction(benchmark::State& state)
{
    std::string text = "0,";
    while (text.size() < megabyte) text.push_back(static_cast<char>('0' + text.size() % 10));
    for (auto _ : state) benchmark::DoNotOptimize(calc::to_number(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(read_megabyte_fraction)->Unit(benchmark::kMillisecond);

// A million digits before the comma: beyond the double range, found only
// after the whole text has been scanned.
void read_megabyte_integer(benchmark::State& state)
{
    std::string text;
    while (text.size() < megabyte) text.push_back(static_cast<char>('1' + text.size() % 9));
    for (auto _ : state) {
        try {
            benchmark::DoNotOptimize(calc::to_number(text));
        } catch (const calc::OutOfRange&) {
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(read_megabyte_integer)->Unit(benchmark::kMillisecond);

void write_value(benchmark::State& state, double value)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(calc::to_text(value));
    }
}
BENCHMARK_CAPTURE(write_value, one, 1.0);
BENCHMARK_CAPTURE(write_value, ratio_4000, 4000.0);
BENCHMARK_CAPTURE(write_value, one_third, 1.0 / 3.0);
BENCHMARK_CAPTURE(write_value, one_e_minus_5, 1e-05);
BENCHMARK_CAPTURE(write_value, one_e_15, 1e15);
BENCHMARK_CAPTURE(write_value, ratio_10_2, 10.2);

}  // namespace

BENCHMARK_MAIN();
