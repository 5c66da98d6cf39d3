// How long reading and writing number texts take: the texts a user types, a
// 1 MB text of digits (the worst a paste can bring), and the values that the
// handlers write back.

#include <benchmark/benchmark.h>

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
