#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The executable's version record: the block that a Windows resource compiler
// makes of our resource script's VERSIONINFO, built here from the same facts
// so that a Linux executable can carry it byte for byte in an ELF section.
namespace versioninfo {

// A fact that cannot go into the record: malformed, missing, repeated, out
// of range, or a text that is not UTF-8.
class FactsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Four parts, most significant first: 1.0.0.0 is {1, 0, 0, 0}.
using Version = std::array<std::uint16_t, 4>;

struct Facts {
    // The fixed part. Its file date is always 0, as resource scripts cannot set it.
    Version file_version{};
    Version product_version{};
    std::uint32_t file_flags_mask = 0;
    std::uint32_t file_flags = 0;
    std::uint32_t file_os = 0;
    std::uint32_t file_type = 0;
    std::uint32_t file_subtype = 0;
    // The one translation, which also names the one string table.
    std::uint16_t language = 0;
    std::uint16_t code_page = 0;
    // The string table's fields in record order, names and values in UTF-8.
    std::vector<std::pair<std::string, std::string>> strings;
};

// Reads the facts file that CMake writes: one `key value` a line, blank lines
// and lines starting with `#` ignored. Keys: file-version, product-version
// (a.b.c.d), file-flags-mask, file-flags, file-os, file-type, file-subtype,
// language, code-page (decimal or 0x hex), each exactly once; then any number
// of `string Name=Value` lines, kept in their order. Throws FactsError.
Facts parse_facts(std::string_view text);

// UTF-16 code units of a UTF-8 text. Throws FactsError on malformed UTF-8
// (overlong forms, surrogates and code points beyond U+10FFFF included).
std::u16string to_utf16(std::string_view utf8);

// The string table's name: language and code page as eight upper-case hex
// digits, "040704B0" for German (Germany) in UTF-16.
std::string string_table_name(std::uint16_t language, std::uint16_t code_page);

// VS_VERSIONINFO as a resource compiler lays it out: every node a wLength,
// wValueLength, wType header and a UTF-16LE key, value and children each
// starting on a 4-byte boundary of the record. VarFileInfo with its
// Translation comes first, then StringFileInfo with the one string table.
// Throws FactsError if a node would exceed 65535 bytes.
std::vector<std::uint8_t> serialize(const Facts& facts);

// C++ source that defines `bytes` as a 4-byte aligned constant placed in the
// ELF section `section` and kept by compiler and linker although nothing
// refers to it.
std::string section_source(const std::vector<std::uint8_t>& bytes, std::string_view section);

}  // namespace versioninfo
