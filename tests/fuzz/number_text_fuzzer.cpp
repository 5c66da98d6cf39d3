// libFuzzer target: every input must be read by calc::to_number exactly as the
// reference reading says, and every value read must be written and read back
// as promised (see tests/support/number_text_property.h).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tests/support/number_text_property.h"

namespace {

void check(std::string_view input)
{
    if (const auto fault = reference::number_text_fault(input)) {
        std::fprintf(stderr, "number text fault: %s\n", fault->c_str());
        std::abort();
    }
}

// Most byte strings are rejected at their first byte. Spelling each byte as a
// character of number texts (digits most often) also reaches deep into the
// accepted syntax from any input.
std::string spelled_as_number(std::string_view input)
{
    constexpr std::string_view alphabet = "0123456789012345678900000999991..,,,eE+-  \t.";
    std::string out(input.size(), '0');
    for (std::size_t i = 0; i < input.size(); ++i) {
        out[i] = alphabet[static_cast<unsigned char>(input[i]) % alphabet.size()];
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    check(input);
    check(spelled_as_number(input));
    return 0;
}
