#pragma once

#include <optional>
#include <string>
#include <string_view>

// The promise of the number texts, checked for one input: calc::to_number
// rejects it exactly when the reference reading does, with the same kind of
// error, and otherwise gives the same double to the bit; the value written
// back by calc::to_text is the reference %.15G text, reads back to the value
// that text denotes, and is written again unchanged. Shared by the fuzzer and
// the tests that replay its corpus.
namespace reference {

// A description of the first broken promise, or nothing.
[[nodiscard]] std::optional<std::string> number_text_fault(std::string_view input);

// The input shown in a report: escaped, and cut short if long.
[[nodiscard]] std::string describe_text(std::string_view text);

}  // namespace reference
