#include "calc/number_text.h"

#include "tests/reading_vectors.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using calc::NotANumber;
using calc::OutOfRange;
using calc::to_number;
using calc::to_text;

// By memcpy rather than std::bit_cast, which the WebAssembly build's C++
// library lacks.
std::uint64_t bits(double value)
{
    std::uint64_t result = 0;
    std::memcpy(&result, &value, sizeof result);
    return result;
}

double from_bits(std::uint64_t pattern)
{
    double result = 0;
    std::memcpy(&result, &pattern, sizeof result);
    return result;
}

// The C library's own writing, in the "C" locale the test runs in, with the
// point turned into a comma: the reference for to_text.
std::string printf_15g(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string text(buffer);
    for (char& c : text) {
        if (c == '.') c = ',';
    }
    return text == "-0" ? "0" : text;
}

// The C library's reading of a text in the point form: an independent,
// correctly rounding reader to check ours against.
double strtod_c(const std::string& point_text)
{
    return std::strtod(point_text.c_str(), nullptr);
}

// Sets the whole process locale for the lifetime of the guard.
class ProcessLocale {
public:
    explicit ProcessLocale(const char* name)
        : previous_(std::setlocale(LC_ALL, nullptr)), active_(std::setlocale(LC_ALL, name) != nullptr)
    {
    }
    ~ProcessLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
    ProcessLocale(const ProcessLocale&) = delete;
    ProcessLocale& operator=(const ProcessLocale&) = delete;
    [[nodiscard]] bool active() const { return active_; }

private:
    std::string previous_;
    bool active_;
};

struct Reading {
    const char* text;
    double value;
};

const std::vector<Reading> accepted = {
    {"0", 0},
    {"1", 1},
    {"5", 5},
    {"100", 100},
    {"1000", 1000},
    {"20000", 20000},
    {"-3", -3},
    {"+3", 3},
    {"1,5", 1.5},
    {",5", 0.5},
    {"5,", 5},
    {"-,25", -0.25},
    {"0,333333333333333", 0.333333333333333},
    {"1.000", 1000},
    {"12.345", 12345},
    {"123.456.789", 123456789},
    {"20.000.000,5", 20000000.5},
    {"-1.000,25", -1000.25},
    {"1E3", 1000},
    {"1e3", 1000},
    {"1E+15", 1e15},
    {"1E-05", 1e-05},
    {"2,5e-3", 0.0025},
    {"1.000E3", 1e6},
    {",5E1", 5},
    {"5,E1", 50},
    {"007", 7},
    {"0,000", 0},
    {" 42", 42},
    {"42 ", 42},
    {"\t 42 \t", 42},
    {"  -1,5E+2  ", -150},
    {"1E0000000000000000000000000000000000000000000003", 1000},
    {"0E99999999999999999999999", 0},
    {"1E-99999999999999999999999", 0},
    {"1,7976931348623157E308", DBL_MAX},
    {"2,2250738585072014E-308", DBL_MIN},
    {"4,9406564584124654E-324", 4.9406564584124654E-324},
    {"2,4703282292062328E-324", 4.9406564584124654E-324},  // just above half the smallest denormal
    {"2,4703282292062327E-324", 0},                         // just below it
};

const std::vector<const char*> rejected = {
    "", " ", "\t", "+", "-", ",", "+,", "-,E1", "E5", "e5", "1e", "1E+", "1e-", "1E1,5", "1E1.000",
    "inf", "INF", "-inf", "infinity", "nan", "NaN", "0x10", "0x1p3", "1,2,3", "1 000", "1 ,5", "1, 5",
    "- 1", "+-1", "--1", "1-", "1+", "1.5", "0.25", "1.00", "1.0000", "1.000.00", "1234.567", ".5",
    ".000", "1.", "1.000.", "1..000", "1,000.000", "1,5.000", "1.000,000.5", "1e1.000", "12a", "a12",
    "1\n", "\n1", "1\r", "\xC2\xA0" "1", "1\xC2\xA0", "\xEF\xBC\x91", "١", "1_000", "1'000", "$1",
    "1%", "½", "1E+-1", "1EE1", "1E1E1",
};

TEST(number_text_reading, accepts_the_german_number_syntax)
{
    for (const auto& [text, value] : accepted) {
        EXPECT_EQ(bits(to_number(text)), bits(value)) << '"' << text << '"';
    }
    EXPECT_EQ(bits(to_number("-0")), bits(-0.0));
    EXPECT_EQ(bits(to_number("-0,0E5")), bits(-0.0));
}

TEST(number_text_reading, rejects_everything_else_as_not_a_number)
{
    for (const char* text : rejected) {
        EXPECT_THROW(static_cast<void>(to_number(text)), NotANumber) << '"' << text << '"';
    }
    // The whole text counts: an embedded NUL is not the end of it.
    EXPECT_THROW(static_cast<void>(to_number(std::string_view("12\0", 3))), NotANumber);
}

TEST(number_text_reading, rejects_values_beyond_the_double_range)
{
    for (const char* text : {"1E309", "-1E309", "1,8E308", "1.000E306", "1E99999999999999999999"}) {
        EXPECT_THROW(static_cast<void>(to_number(text)), OutOfRange) << text;
    }
}

// The largest double is written 1,79769313486232E+308, a little above itself.
// Texts up to that bound read as the largest double, so that the written text
// reads back; above it they are out of range.
TEST(number_text_reading, reads_up_to_the_largest_written_text_as_the_largest_double)
{
    for (const double top : {DBL_MAX, -DBL_MAX}) {
        const std::string sign = top < 0 ? "-" : "";
        EXPECT_EQ(to_number(to_text(top)), top);
        // Just below and just above DBL_MAX plus half its unit, where
        // rounding would otherwise go beyond the range; then 2^1024.
        EXPECT_EQ(to_number(sign + "1,797693134862315807937289714053034150799341327E308"), top);
        EXPECT_EQ(to_number(sign + "1,797693134862315807937289714053034150799341328E308"), top);
        EXPECT_EQ(to_number(sign + "179.769.313.486.231.580.793.728.971.405.303.415.079.934.132.710."
                                   "037.826.936.173.778.980.444.968.292.764.750.946.649.017.977.587."
                                   "207.096.330.286.416.692.887.910.946.555.547.851.940.402.630.657."
                                   "488.671.505.820.681.908.902.000.708.383.676.273.854.845.817.711."
                                   "531.764.475.730.270.069.855.571.366.959.622.842.914.819.860.834."
                                   "936.475.292.719.074.168.444.365.510.704.342.711.559.699.508.093."
                                   "042.880.177.904.174.497.792"),
                  top);
        EXPECT_THROW(static_cast<void>(to_number(sign + "1,797693134862320000001E+308")), OutOfRange);
    }
}

TEST(number_text_reading, handles_megabyte_texts_exactly)
{
    const std::size_t n = 1 << 20;
    // A megabyte of threes after the comma is one third, rounded once.
    EXPECT_EQ(to_number("0," + std::string(n, '3')), 1.0 / 3);
    // A megabyte of zeros moves the digit; the exponent brings it back.
    EXPECT_EQ(to_number("0," + std::string(n, '0') + "1E+" + std::to_string(n)), 0.1);
    EXPECT_EQ(to_number("0," + std::string(n, '0') + "1"), 0.0);
    EXPECT_THROW(static_cast<void>(to_number("1" + std::string(n, '0'))), OutOfRange);
    EXPECT_EQ(to_number(std::string(n, ' ') + "7" + std::string(n, '\t')), 7.0);
    EXPECT_THROW(static_cast<void>(to_number(std::string(n, '1') + "x")), NotANumber);

    // 1 + 2^-53 lies exactly halfway between 1 and the next double: it rounds
    // to even (1), but any non-zero digit a megabyte further on tips it up.
    const std::string halfway = "1,00000000000000011102230246251565404236316680908203125";
    EXPECT_EQ(to_number(halfway), 1.0);
    EXPECT_EQ(to_number(halfway + std::string(n, '0')), 1.0);
    EXPECT_EQ(to_number(halfway + std::string(n, '0') + "1"), std::nextafter(1.0, 2.0));
    // Thousands groups go on for as long as the text does.
    std::string groups = "0";
    for (std::size_t i = 0; i < n / 4; ++i) groups += ".000";
    EXPECT_EQ(to_number(groups + ",1"), 0.1);
    EXPECT_THROW(static_cast<void>(to_number("1" + groups.substr(1))), OutOfRange);
    EXPECT_THROW(static_cast<void>(to_number(groups + "0")), NotANumber);
}

TEST(number_text_reading, matches_the_reading_vectors)
{
    const auto vectors = load_reading_vectors(PARSE_CORPUS);
    for (const auto& [text, want] : vectors) {
        if (!want) {
            EXPECT_THROW(static_cast<void>(to_number(text)), OutOfRange) << '"' << text << '"';
        } else {
            EXPECT_EQ(bits(to_number(text)), *want) << '"' << text << '"';
        }
    }
    EXPECT_GT(vectors.size(), 49000u);
}

// Random decimals of every length and scale, many of them near halfway
// points, against the C library's correctly rounded reading.
TEST(number_text_reading, rounds_correctly_against_the_c_library)
{
    std::mt19937_64 random(20261208);
    for (int round = 0; round < 100000; ++round) {
        std::string point_text;
        std::string comma_text;
        if (round % 2 == 0) {
            // The exact decimal expansion of a random double or of a halfway
            // point next to it, cut or extended.
            double x = 0;
            do {
                x = from_bits(random());
            } while (!std::isfinite(x));
            char buffer[1200];
            std::snprintf(buffer, sizeof buffer, "%.*e", static_cast<int>(random() % 780), x);
            point_text = buffer;
            if (random() % 3 == 0) {
                const auto e = point_text.find('e');
                point_text.insert(e, random() % 2 ? "5" : "4999999999999999999999");
            }
        } else {
            const int digits = 1 + static_cast<int>(random() % 40);
            for (int i = 0; i < digits; ++i) point_text += static_cast<char>('0' + random() % 10);
            point_text.insert(random() % point_text.size(), 1, '.');
            point_text += 'e';
            point_text += std::to_string(static_cast<int>(random() % 700) - 350);
        }
        comma_text = point_text;
        for (char& c : comma_text) {
            if (c == '.') c = ',';
        }
        const double want = strtod_c(point_text);
        if (std::isinf(want)) {
            EXPECT_THROW(static_cast<void>(to_number(comma_text)), OutOfRange) << comma_text;
        } else {
            EXPECT_EQ(bits(to_number(comma_text)), bits(want)) << comma_text;
        }
    }
}

struct Written {
    double value;
    const char* text;
};

TEST(number_text_writing, writes_fifteen_significant_digits_with_a_comma)
{
    const std::vector<Written> cases = {
        {1, "1"},
        {0, "0"},
        {-0.0, "0"},
        {16000, "16000"},
        {0.001, "0,001"},
        {-80, "-80"},
        {1.0 / 3, "0,333333333333333"},
        {2.0 / 3, "0,666666666666667"},
        {0.1 + 0.2, "0,3"},
        {1e15, "1E+15"},
        {123456789012345, "123456789012345"},
        {999999999999999.4, "999999999999999"},
        {999999999999999.6, "1E+15"},
        {1e-5, "1E-05"},
        {0.0001, "0,0001"},
        {0.00012345, "0,00012345"},
        {1.5e-7, "1,5E-07"},
        {DBL_MAX, "1,79769313486232E+308"},
        {DBL_MIN, "2,2250738585072E-308"},
        {4.9406564584124654E-324, "4,94065645841247E-324"},
        {1234567890123445, "1,23456789012344E+15"},  // an exact tie rounds to even
        {1234567890123455, "1,23456789012346E+15"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(to_text(value), text) << value;
}

TEST(number_text_writing, rejects_values_that_are_not_finite)
{
    EXPECT_THROW(static_cast<void>(to_text(HUGE_VAL)), calc::Error);
    EXPECT_THROW(static_cast<void>(to_text(-HUGE_VAL)), calc::Error);
    EXPECT_THROW(static_cast<void>(to_text(std::nan(""))), calc::Error);
}

// Values to write: random bit patterns, short decimals, integers around 10^15
// (where the exponent form begins) and the exact ties of sixteen digits.
std::vector<double> values_to_write()
{
    std::vector<double> values;
    std::mt19937_64 random(4711);
    for (int i = 0; i < 60000; ++i) {
        const double x = from_bits(random());
        if (std::isfinite(x)) values.push_back(x);
    }
    for (int i = 0; i < 20000; ++i) {
        const double mantissa = static_cast<double>(random() % 100000000);
        values.push_back(mantissa * std::pow(10.0, static_cast<int>(random() % 40) - 25));
        values.push_back(static_cast<double>(1000000000000000 + static_cast<std::int64_t>(random() % 2000) - 1000) +
                         static_cast<double>(random() % 8) / 8);
        values.push_back(static_cast<double>(random() % 900000000000000 + 100000000000000) * 10 + 5);
    }
    for (int e = -330; e <= 308; ++e) {
        const double p = std::pow(10.0, e);
        values.insert(values.end(), {p, std::nextafter(p, 0.0), std::nextafter(p, HUGE_VAL), -p});
    }
    values.insert(values.end(), {DBL_MAX, -DBL_MAX, std::nextafter(DBL_MAX, 0.0), DBL_MIN,
                                 std::nextafter(DBL_MIN, 0.0), std::nextafter(0.0, 1.0)});
    return values;
}

TEST(number_text_writing, writes_what_printf_15g_writes)
{
    for (const double x : values_to_write()) {
        ASSERT_EQ(to_text(x), printf_15g(x)) << std::hexfloat << x;
    }
}

// Every written text reads back, and to the value that the text denotes.
TEST(number_text_writing, every_written_text_reads_back)
{
    for (const double x : values_to_write()) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.15G", x);
        const double denoted = strtod_c(buffer);
        // The top sliver below DBL_MAX is written rounded up past the range,
        // and that text reads as DBL_MAX.
        const double want = std::isinf(denoted) ? std::copysign(DBL_MAX, denoted) : denoted;
        ASSERT_EQ(bits(to_number(to_text(x))), bits(want == 0 ? 0.0 : want)) << to_text(x);
    }
    EXPECT_EQ(to_number(to_text(1.0)), 1.0);
}

TEST(number_text, does_not_depend_on_the_process_locale)
{
    std::vector<std::string> written_in_c;
    for (const auto& [text, value] : accepted) written_in_c.push_back(to_text(value));

    // The WebAssembly build's C library accepts any locale name and keeps
    // the decimal point: no locale there could change a number text.
    const ProcessLocale german("de_DE.UTF-8");
    if (!german.active() || *std::localeconv()->decimal_point != ',') {
        GTEST_SKIP() << "no locale de_DE.UTF-8 with a decimal comma here";
    }

    for (std::size_t i = 0; i < accepted.size(); ++i) {
        EXPECT_EQ(bits(to_number(accepted[i].text)), bits(accepted[i].value)) << accepted[i].text;
        EXPECT_EQ(to_text(accepted[i].value), written_in_c[i]);
    }
    for (const char* text : rejected) {
        EXPECT_THROW(static_cast<void>(to_number(text)), NotANumber) << text;
    }
    EXPECT_THROW(static_cast<void>(to_number("1.5")), NotANumber);
}

}  // namespace
