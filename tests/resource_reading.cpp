#include "resource_reading.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <stdlib.h>  // mkdtemp

namespace resource_reading {

namespace {

void fail(const std::string& what) { throw std::runtime_error(what); }

void require(bool condition, const std::string& what)
{
    if (!condition) fail(what);
}

std::size_t aligned(std::size_t offset) { return (offset + 3) & ~std::size_t{3}; }

// Reads nodes out of one record; offsets count from the record's start.
class VersionParser {
public:
    explicit VersionParser(std::span<const std::uint8_t> record) : record_(record) {}

    VersionNode node(std::size_t at, std::size_t limit)
    {
        require(at % 4 == 0, "node not 4-byte aligned at " + std::to_string(at));
        require(at + 6 <= limit, "node header beyond its container at " + std::to_string(at));
        VersionNode node;
        node.length = static_cast<std::uint16_t>(read_le(record_, at, 2));
        node.value_length = static_cast<std::uint16_t>(read_le(record_, at + 2, 2));
        node.type = static_cast<std::uint16_t>(read_le(record_, at + 4, 2));
        require(node.type <= 1, "node type " + std::to_string(node.type) + " at " + std::to_string(at));
        const std::size_t end = at + node.length;
        require(node.length >= 6 && end <= limit, "node length beyond its container at " + std::to_string(at));

        std::u16string key;
        std::size_t pos = at + 6;
        for (;; pos += 2) {
            require(pos + 2 <= end, "key without terminating zero at " + std::to_string(at));
            const auto unit = static_cast<char16_t>(read_le(record_, pos, 2));
            if (unit == 0) break;
            key.push_back(unit);
        }
        node.key = utf8(key);
        pos += 2;

        const std::size_t value_bytes = node.type == 1 ? 2 * std::size_t{node.value_length} : node.value_length;
        if (value_bytes > 0) {
            pos = padding(pos, end);
            require(pos + value_bytes <= end, "value beyond its node '" + node.key + "'");
            node.value.assign(record_.begin() + static_cast<std::ptrdiff_t>(pos),
                              record_.begin() + static_cast<std::ptrdiff_t>(pos + value_bytes));
            pos += value_bytes;
        }
        while (pos < end) {
            pos = padding(pos, end);
            if (pos == end) break;
            node.children.push_back(this->node(pos, end));
            pos += node.children.back().length;
        }
        return node;
    }

private:
    // Skips to the next 4-byte boundary (not beyond `end`); the bytes skipped must be zero.
    std::size_t padding(std::size_t pos, std::size_t end)
    {
        const std::size_t next = std::min(aligned(pos), end);
        for (; pos < next; ++pos) require(record_[pos] == 0, "padding not zero at " + std::to_string(pos));
        return next;
    }

    std::span<const std::uint8_t> record_;
};

}  // namespace

std::vector<std::uint8_t> read_bytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    require(static_cast<bool>(in), "cannot open " + path.string());
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    require(!in.bad(), "cannot read " + path.string());
    return bytes;
}

std::vector<std::uint8_t> elf_section(const std::filesystem::path& file, std::string_view name)
{
    // objcopy writes the section's bytes to a file of their own; the copy of
    // the executable that it must also write goes nowhere.
    std::string folder_template = (std::filesystem::temp_directory_path() / "korvantelo-section.XXXXXX").string();
    require(::mkdtemp(folder_template.data()) != nullptr, "cannot make a scratch folder");
    const std::filesystem::path folder(folder_template);
    const std::filesystem::path dumped = folder / "section";
    const std::string command = std::string(OBJCOPY) + " --dump-section '" + std::string(name) + "=" +
                                dumped.string() + "' '" + file.string() + "' /dev/null 2>/dev/null";
    const int status = std::system(command.c_str());
    const bool found = status == 0 && std::filesystem::exists(dumped);
    std::vector<std::uint8_t> bytes;
    if (found) bytes = read_bytes(dumped);
    std::filesystem::remove_all(folder);
    require(found, "no section " + std::string(name) + " in " + file.string());
    return bytes;
}

std::string utf8(std::u16string_view units)
{
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t code = units[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (units[++i] - 0xDC00);
        } else {
            require(code < 0xD800 || code > 0xDFFF, "lone surrogate in UTF-16");
        }
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

std::string VersionNode::text() const
{
    require(type == 1, "'" + key + "' is not a text node");
    std::u16string units;
    for (std::size_t i = 0; i + 1 < value.size(); i += 2)
        units.push_back(static_cast<char16_t>(value[i] | (value[i + 1] << 8)));
    require(!units.empty() && units.back() == u'\0', "text of '" + key + "' without terminating zero");
    units.pop_back();
    require(units.find(u'\0') == std::u16string::npos, "text of '" + key + "' with an inner zero");
    return utf8(units);
}

VersionNode parse_version_record(std::span<const std::uint8_t> record)
{
    VersionParser parser(record);
    VersionNode root = parser.node(0, record.size());
    require(root.length == record.size(),
            "record of " + std::to_string(record.size()) + " bytes, root length " + std::to_string(root.length));
    return root;
}

}  // namespace resource_reading
