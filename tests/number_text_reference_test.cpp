// The reference reading and writing that the fuzzer and the window stress
// test judge by, checked on their own first; then the promise of the number
// texts replayed on the fuzzer's seeds, the megabyte texts and random texts,
// so that every build checks it, not only the fuzzing one.

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/huge_number_texts.h"
#include "tests/support/number_text_property.h"
#include "tests/reading_vectors.h"
#include "tests/support/reference_numbers.h"

namespace {

using reference::read_number_text;
using reference::Verdict;
using reference::write_number_text;

std::uint64_t bits(double value)
{
    return std::bit_cast<std::uint64_t>(value);
}

::testing::AssertionResult reads_as(std::string_view text, double want)
{
    const auto got = read_number_text(text);
    if (got.verdict != Verdict::number) return ::testing::AssertionFailure() << "rejected";
    if (bits(got.value) != bits(want)) {
        return ::testing::AssertionFailure() << "read " << got.value << ", want " << want;
    }
    return ::testing::AssertionSuccess();
}

TEST(reference_reading, follows_the_number_syntax)
{
    EXPECT_TRUE(reads_as("1.000", 1000));
    EXPECT_TRUE(reads_as("20.000.000,5", 20000000.5));
    EXPECT_TRUE(reads_as("0.000,1", 0.1));
    EXPECT_TRUE(reads_as(",5", 0.5));
    EXPECT_TRUE(reads_as("5,", 5));
    EXPECT_TRUE(reads_as(" \t-3 \t", -3));
    EXPECT_TRUE(reads_as("+2,5e-3", 0.0025));
    EXPECT_TRUE(reads_as("1E+15", 1e15));
    EXPECT_TRUE(reads_as("-0", -0.0));
    EXPECT_TRUE(reads_as("1.000E3", 1e6));
    const std::string_view rejected[] = {
        "", " ", ",", "+", "-,", "1.00", "1.5", "1.0000", ".000", "1.000.", "1000.000",
        "1.000,5.000", "1 000", "E5", ",E5", "1E", "1e+", "1E5,5", "--1", "+-1", "1-", "inf",
        "nan", "0x10", "5\xc2\xa0", "\xd9\xa3", std::string_view("1\0" "2", 3)};
    for (const std::string_view bad : rejected) {
        EXPECT_EQ(read_number_text(bad).verdict, Verdict::not_a_number)
            << reference::describe_text(bad);
    }
}

TEST(reference_reading, tells_overflow_from_underflow)
{
    EXPECT_EQ(read_number_text("1E309").verdict, Verdict::out_of_range);
    EXPECT_EQ(read_number_text("-1E99999999999999999999").verdict, Verdict::out_of_range);
    EXPECT_TRUE(reads_as("1E-400", 0.0));
    EXPECT_TRUE(reads_as("-1E-99999999999999999999", -0.0));
    EXPECT_TRUE(reads_as("0E99999999999999999999", 0.0));
    EXPECT_TRUE(reads_as("1" + std::string(400, '0') + "E-400", 1.0));
    EXPECT_TRUE(reads_as("0," + std::string(400, '0') + "1E401", 1.0));

    // Around DBL_MAX: up to the largest written text, 1,79769313486232E+308,
    // beyond it only a little further.
    const std::string top_halfway =
        reference::decimal_digits_of_power_of_two(970, (std::uint64_t{1} << 54) - 1);
    EXPECT_TRUE(reads_as(top_halfway, DBL_MAX));
    EXPECT_TRUE(reads_as("1,7976931348623159E308", DBL_MAX));
    EXPECT_TRUE(reads_as("-1,79769313486232E+308", -DBL_MAX));
    EXPECT_TRUE(reads_as("179769313486232" + std::string(294, '0') + ",000", DBL_MAX));
    EXPECT_EQ(read_number_text("1,797693134862320000001E+308").verdict, Verdict::out_of_range);
    EXPECT_EQ(read_number_text("1,79769313486233E+308").verdict, Verdict::out_of_range);

    // Around the smallest denormal: exactly half of it rounds to even (zero).
    const double smallest = std::numeric_limits<double>::denorm_min();
    EXPECT_TRUE(reads_as("4,9406564584124654E-324", smallest));
    EXPECT_TRUE(reads_as("2,4703282292062328E-324", smallest));
    EXPECT_TRUE(reads_as("2,4703282292062327E-324", 0.0));
    EXPECT_TRUE(reads_as("2,2250738585072011E-308", std::nextafter(DBL_MIN, 0.0)));
}

TEST(reference_reading, matches_the_reading_vectors)
{
    const auto vectors = load_reading_vectors(PARSE_CORPUS);
    for (const auto& [text, want] : vectors) {
        const auto got = read_number_text(text);
        if (!want) {
            EXPECT_EQ(got.verdict, Verdict::out_of_range) << '"' << text << '"';
        } else {
            ASSERT_EQ(got.verdict, Verdict::number) << '"' << text << '"';
            EXPECT_EQ(bits(got.value), *want) << '"' << text << '"';
        }
    }
    EXPECT_GT(vectors.size(), 49000u);
}

TEST(reference_writing, is_printf_15g_with_a_comma)
{
    EXPECT_EQ(write_number_text(1e15), "1E+15");
    EXPECT_EQ(write_number_text(999999999999999), "999999999999999");
    EXPECT_EQ(write_number_text(9999999999999998.0), "1E+16");  // exact, just below 1E16
    EXPECT_EQ(write_number_text(1e-5), "1E-05");
    EXPECT_EQ(write_number_text(1e-4), "0,0001");
    EXPECT_EQ(write_number_text(0.00001234), "1,234E-05");
    EXPECT_EQ(write_number_text(1.0 / 3), "0,333333333333333");
    EXPECT_EQ(write_number_text(-16000), "-16000");
    EXPECT_EQ(write_number_text(-0.0), "0");
    EXPECT_EQ(write_number_text(DBL_MAX), "1,79769313486232E+308");
    EXPECT_EQ(write_number_text(std::numeric_limits<double>::denorm_min()),
              "4,94065645841247E-324");
    EXPECT_EQ(write_number_text(1e100), "1E+100");
    EXPECT_THROW(static_cast<void>(write_number_text(INFINITY)), std::domain_error);
    EXPECT_THROW(static_cast<void>(write_number_text(NAN)), std::domain_error);
}

void expect_promise_kept(std::string_view text, std::string_view origin)
{
    if (const auto fault = reference::number_text_fault(text))
        ADD_FAILURE() << origin << ": " << *fault;
}

TEST(number_text_promise, holds_for_the_fuzzer_seeds)
{
    std::size_t seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(FUZZ_CORPUS)) {
        std::ifstream file(entry.path(), std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(file),
                               std::istreambuf_iterator<char>()};
        expect_promise_kept(text, entry.path().filename().string());
        ++seeds;
    }
    EXPECT_GE(seeds, 50u);
}

TEST(number_text_promise, holds_for_megabyte_texts)
{
    const double smallest = std::numeric_limits<double>::denorm_min();
    for (const auto& [name, text] : reference::huge_number_texts()) {
        expect_promise_kept(text, name);
        // The reference itself, where the value is known in advance.
        const auto got = read_number_text(text);
        const std::pair<std::string_view, double> known[] = {
            {"thirds", 1.0 / 3},
            {"zeros-then-digit-shifted-back", 0.1},
            {"nines-shifted-back", 1.0},
            {"one-halfway-tie", 1.0},
            {"one-halfway-above", std::nextafter(1.0, 2.0)},
            {"denormal-halfway-tie", 0.0},
            {"denormal-halfway-above", smallest},
            {"top-halfway-below", DBL_MAX},
            {"top-halfway-grouped-tie", DBL_MAX},
            {"exponent-digits-underflow", -0.0},
            {"exponent-leading-zeros", 1e-5},
            {"thousands-groups-fraction", 0.1},
        };
        for (const auto& [known_name, value] : known) {
            if (name == known_name) {
                EXPECT_TRUE(reads_as(text, value)) << name;
            }
        }
        if (name == "thousands-group-broken-at-end") {
            EXPECT_EQ(got.verdict, Verdict::not_a_number);
        }
    }
}

// Texts put together from the pieces of the syntax, valid or nearly so: a
// quick, seeded stand-in for the fuzzer in every build.
TEST(number_text_promise, holds_for_random_texts_from_the_pieces_of_the_syntax)
{
    constexpr std::string_view pieces[] = {
        "0", "1", "5", "9", "00000", "99999", "123", "7", ",", ",", ".", ".000", ".999", "E",
        "e", "E+", "e-", "E308", "E-308", "E-324", "E22", "E-22", " ", "\t", "+", "-", "x",
        "\xc3\xa4", "1,7976931348623157", "4,9406564584124654",
        "00000000000000011102230246251565404236316680908203125"};
    std::mt19937_64 random(20240611);
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        const auto count = random() % 9;
        for (unsigned p = 0; p <= count; ++p) text += pieces[random() % std::size(pieces)];
        expect_promise_kept(text, "random text " + std::to_string(i));
        if (HasFailure()) return;
    }
}

}  // namespace
