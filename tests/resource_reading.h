#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/art/binary_formats.h"

// Reading what a build produced: an ELF section, and the version record as a
// tree. Written apart from app/versioninfo so that the tests do not take the
// serializer's word for its own layout. Malformed input throws
// std::runtime_error.
namespace resource_reading {

std::vector<std::uint8_t> read_bytes(const std::filesystem::path& path);

// The contents of the ELF section of that name in `file`, as binutils'
// objcopy dumps it; throws when the file has no such section.
std::vector<std::uint8_t> elf_section(const std::filesystem::path& file, std::string_view name);

// One node of a VS_VERSIONINFO record.
struct VersionNode {
    std::uint16_t length = 0;
    std::uint16_t value_length = 0;  // in UTF-16 units for text nodes, else bytes
    std::uint16_t type = 0;          // 1 text, 0 binary
    std::string key;                 // UTF-8
    std::vector<std::uint8_t> value;
    std::vector<VersionNode> children;

    // A text node's value in UTF-8, without its terminating zero.
    [[nodiscard]] std::string text() const;
};

// The record's root. Checks every length against its container, the 4-byte
// alignment of values and children, zero padding, and that the root's length
// is the whole of `record`.
VersionNode parse_version_record(std::span<const std::uint8_t> record);

// UTF-16LE units to UTF-8.
std::string utf8(std::u16string_view units);

using ui::art::read_le;

}  // namespace resource_reading
