#include "tests/support/number_text_property.h"

#include <array>
#include <bit>
#include <charconv>
#include <cstdint>

#include "calc/errors.h"
#include "calc/number_text.h"
#include "tests/support/reference_numbers.h"

namespace reference {
namespace {

const char* verdict_name(Verdict verdict)
{
    switch (verdict) {
    case Verdict::number:
        return "a number";
    case Verdict::not_a_number:
        return "NotANumber";
    case Verdict::out_of_range:
        return "OutOfRange";
    }
    return "?";
}

std::string bits_text(double value)
{
    std::array<char, 32> buffer{};
    const auto end =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::hex)
            .ptr;
    return std::string(buffer.data(), end);
}

Reading production_reading(std::string_view text)
{
    try {
        return {Verdict::number, calc::to_number(text)};
    } catch (const calc::NotANumber&) {
        return {Verdict::not_a_number, 0};
    } catch (const calc::OutOfRange&) {
        return {Verdict::out_of_range, 0};
    }
    // Any other error is a fault of its own and propagates.
}

std::optional<std::string> differ(std::string_view what, std::string_view text, const Reading& got,
                                  const Reading& want)
{
    const bool same = got.verdict == want.verdict && (got.verdict != Verdict::number ||
                                                      std::bit_cast<std::uint64_t>(got.value) ==
                                                          std::bit_cast<std::uint64_t>(want.value));
    if (same) return std::nullopt;
    std::string report(what);
    report.append(" ")
        .append(describe_text(text))
        .append(": to_number gives ")
        .append(verdict_name(got.verdict));
    if (got.verdict == Verdict::number) report.append(" ").append(bits_text(got.value));
    report.append(", the reference reading ").append(verdict_name(want.verdict));
    if (want.verdict == Verdict::number) report.append(" ").append(bits_text(want.value));
    return report;
}

}  // namespace

std::string describe_text(std::string_view text)
{
    constexpr std::size_t shown = 160;
    std::string out = "\"";
    for (const char c : text.substr(0, shown)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '"' || byte == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else if (byte >= 0x20 && byte < 0x7f) {
            out.push_back(c);
        } else {
            constexpr std::string_view hex = "0123456789abcdef";
            out.append("\\x").push_back(hex[byte >> 4]);
            out.push_back(hex[byte & 15]);
        }
    }
    out.push_back('"');
    if (text.size() > shown)
        out.append("... (").append(std::to_string(text.size())).append(" bytes)");
    return out;
}

std::optional<std::string> number_text_fault(std::string_view input)
{
    const Reading got = production_reading(input);
    if (auto fault = differ("reading", input, got, read_number_text(input))) return fault;
    if (got.verdict != Verdict::number) return std::nullopt;

    const std::string written = calc::to_text(got.value);
    const std::string want_written = write_number_text(got.value);
    if (written != want_written) {
        return "writing " + bits_text(got.value) + " (read from " + describe_text(input) +
               "): to_text gives " + describe_text(written) + ", %.15G gives " +
               describe_text(want_written);
    }
    const Reading reread = production_reading(written);
    if (auto fault =
            differ("reading back the written", written, reread, read_number_text(written))) {
        return fault;
    }
    if (reread.verdict != Verdict::number) {
        return "the written " + describe_text(written) + " does not read back";
    }
    if (const std::string again = calc::to_text(reread.value); again != written) {
        return "the written " + describe_text(written) + " reads back as a value written " +
               describe_text(again);
    }
    return std::nullopt;
}

}  // namespace reference
