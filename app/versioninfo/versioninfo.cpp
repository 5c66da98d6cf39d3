#include "app/versioninfo/versioninfo.h"

#include "ui/art/binary_formats.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <limits>
#include <string>
#include <system_error>

namespace versioninfo {

namespace {

constexpr std::uint32_t fixed_signature = 0xFEEF04BD;
constexpr std::uint32_t fixed_structure_version = 0x00010000;
constexpr std::uint16_t binary_node = 0;
constexpr std::uint16_t text_node = 1;

std::uint32_t parse_number(std::string_view text, std::uint32_t max, const std::string& what)
{
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    std::uint64_t value = 0;
    const auto* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || error != std::errc{} || stop != end || value > max)
        throw FactsError("bad number for " + what + ": '" + std::string(text) + "'");
    return static_cast<std::uint32_t>(value);
}

Version parse_version(std::string_view text, const std::string& what)
{
    Version version{};
    for (std::size_t i = 0; i < version.size(); ++i) {
        const auto dot = text.find('.');
        const bool last = i + 1 == version.size();
        if (last != (dot == std::string_view::npos))
            throw FactsError(what + " needs four parts a.b.c.d");
        const auto part = last ? text : text.substr(0, dot);
        if (part.empty() || part.starts_with("0x") || part.starts_with("0X"))
            throw FactsError("bad part '" + std::string(part) + "' in " + what);
        version[i] = static_cast<std::uint16_t>(parse_number(part, 0xFFFF, what));
        if (!last) text.remove_prefix(dot + 1);
    }
    return version;
}

// Appends little-endian fields and keeps the 4-byte alignment of the record,
// which starts at offset 0 of the buffer.
class Writer {
public:
    void u16(std::uint16_t v) { ui::art::append_le(bytes_, v, 2); }
    void u32(std::uint32_t v) { ui::art::append_le(bytes_, v, 4); }
    void text(std::u16string_view units)  // with its terminating zero
    {
        for (const char16_t unit : units) u16(static_cast<std::uint16_t>(unit));
        u16(0);
    }
    void align() { bytes_.resize((bytes_.size() + 3) & ~std::size_t{3}, 0); }

    // Writes a node's header and key, aligned for what follows the key.
    // Returns where the node starts, for end_node.
    std::size_t begin_node(std::u16string_view key, std::uint16_t value_length, std::uint16_t type)
    {
        align();
        const std::size_t start = bytes_.size();
        u16(0);  // wLength, set by end_node
        u16(value_length);
        u16(type);
        text(key);
        align();
        return start;
    }
    // A node's wLength runs to the end of its last byte, not of any padding.
    void end_node(std::size_t start)
    {
        const std::size_t length = bytes_.size() - start;
        if (length > std::numeric_limits<std::uint16_t>::max())
            throw FactsError("version record node longer than 65535 bytes");
        bytes_[start] = static_cast<std::uint8_t>(length);
        bytes_[start + 1] = static_cast<std::uint8_t>(length >> 8);
    }

    std::vector<std::uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

std::uint32_t high_low(std::uint16_t high, std::uint16_t low)
{
    return (std::uint32_t{high} << 16) | low;
}

std::uint16_t text_length(std::u16string_view units)
{
    if (units.size() >= std::numeric_limits<std::uint16_t>::max())
        throw FactsError("version record text too long");
    return static_cast<std::uint16_t>(units.size() + 1);
}

}  // namespace

std::u16string to_utf16(std::string_view utf8)
{
    std::u16string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t count = 0;
        char32_t code = 0;
        char32_t least = 0;
        if (lead < 0x80) {
            code = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            count = 1;
            code = lead & 0x1F;
            least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            count = 2;
            code = lead & 0x0F;
            least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            count = 3;
            code = lead & 0x07;
            least = 0x10000;
        } else {
            throw FactsError("malformed UTF-8 at byte " + std::to_string(i));
        }
        if (utf8.size() - i - 1 < count) throw FactsError("UTF-8 cut short at byte " + std::to_string(i));
        for (std::size_t k = 1; k <= count; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) throw FactsError("malformed UTF-8 at byte " + std::to_string(i + k));
            code = (code << 6) | (next & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            throw FactsError("invalid UTF-8 sequence at byte " + std::to_string(i));
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
        i += count + 1;
    }
    return out;
}

namespace {

// The facts that are numbers: their key, their largest value, their field.
struct NumberFact {
    std::string_view key;
    std::uint32_t max;
    void (*store)(Facts&, std::uint32_t);
};

constexpr std::array<NumberFact, 7> number_facts = {{
    {"file-flags-mask", 0xFFFFFFFF, [](Facts& f, std::uint32_t v) { f.file_flags_mask = v; }},
    {"file-flags", 0xFFFFFFFF, [](Facts& f, std::uint32_t v) { f.file_flags = v; }},
    {"file-os", 0xFFFFFFFF, [](Facts& f, std::uint32_t v) { f.file_os = v; }},
    {"file-type", 0xFFFFFFFF, [](Facts& f, std::uint32_t v) { f.file_type = v; }},
    {"file-subtype", 0xFFFFFFFF, [](Facts& f, std::uint32_t v) { f.file_subtype = v; }},
    {"language", 0xFFFF, [](Facts& f, std::uint32_t v) { f.language = static_cast<std::uint16_t>(v); }},
    {"code-page", 0xFFFF, [](Facts& f, std::uint32_t v) { f.code_page = static_cast<std::uint16_t>(v); }},
}};

constexpr std::array<std::string_view, 2> version_facts = {"file-version", "product-version"};

// Takes one "key value" line into the facts; returns what it set, so that
// the caller can refuse a fact given twice.
std::string take_fact(Facts& facts, std::string_view line, const std::string& where)
{
    const auto space = line.find(' ');
    std::string key(line.substr(0, space));
    const std::string_view value = space == std::string_view::npos ? "" : line.substr(space + 1);
    if (key == "string") {
        const auto equals = value.find('=');
        if (equals == 0 || equals == std::string_view::npos) throw FactsError("string fact needs Name=Value" + where);
        std::string name(value.substr(0, equals));
        std::string content(value.substr(equals + 1));
        to_utf16(name);  // rejects what is not UTF-8
        to_utf16(content);
        facts.strings.emplace_back(name, std::move(content));
        return "string " + name;
    }
    if (key == version_facts[0] || key == version_facts[1]) {
        (key == version_facts[0] ? facts.file_version : facts.product_version) = parse_version(value, key + where);
        return key;
    }
    for (const NumberFact& fact : number_facts) {
        if (key == fact.key) {
            fact.store(facts, parse_number(value, fact.max, key + where));
            return key;
        }
    }
    throw FactsError("unknown fact '" + key + "'" + where);
}

}  // namespace

Facts parse_facts(std::string_view text)
{
    Facts facts;
    std::vector<std::string> seen;
    std::size_t line_number = 0;
    while (!text.empty()) {
        ++line_number;
        const auto end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == '#') continue;
        std::string key = take_fact(facts, line, " (line " + std::to_string(line_number) + ")");
        if (std::find(seen.begin(), seen.end(), key) != seen.end()) throw FactsError("fact given twice: " + key);
        seen.push_back(std::move(key));
    }
    const auto require = [&seen](std::string_view key) {
        if (std::find(seen.begin(), seen.end(), key) == seen.end())
            throw FactsError("fact missing: " + std::string(key));
    };
    for (const auto key : version_facts) require(key);
    for (const auto& fact : number_facts) require(fact.key);
    return facts;
}

std::string string_table_name(std::uint16_t language, std::uint16_t code_page)
{
    constexpr char digits[] = "0123456789ABCDEF";
    const std::uint32_t both = high_low(language, code_page);
    std::string name(8, '0');
    for (std::size_t i = 0; i < name.size(); ++i) name[i] = digits[(both >> (28 - 4 * i)) & 0xF];
    return name;
}

std::vector<std::uint8_t> serialize(const Facts& facts)
{
    constexpr std::uint16_t fixed_size = 13 * 4;
    Writer w;
    const auto root = w.begin_node(u"VS_VERSION_INFO", fixed_size, binary_node);
    w.u32(fixed_signature);
    w.u32(fixed_structure_version);
    w.u32(high_low(facts.file_version[0], facts.file_version[1]));
    w.u32(high_low(facts.file_version[2], facts.file_version[3]));
    w.u32(high_low(facts.product_version[0], facts.product_version[1]));
    w.u32(high_low(facts.product_version[2], facts.product_version[3]));
    w.u32(facts.file_flags_mask);
    w.u32(facts.file_flags);
    w.u32(facts.file_os);
    w.u32(facts.file_type);
    w.u32(facts.file_subtype);
    w.u32(0);  // file date, high
    w.u32(0);  // file date, low

    const auto var_info = w.begin_node(u"VarFileInfo", 0, text_node);
    const auto translation = w.begin_node(u"Translation", 4, binary_node);
    w.u16(facts.language);
    w.u16(facts.code_page);
    w.end_node(translation);
    w.end_node(var_info);

    const auto string_info = w.begin_node(u"StringFileInfo", 0, text_node);
    const auto table_name = string_table_name(facts.language, facts.code_page);
    const auto table = w.begin_node(std::u16string(table_name.begin(), table_name.end()), 0, text_node);
    for (const auto& [name, value] : facts.strings) {
        const auto units = to_utf16(value);
        const auto field = w.begin_node(to_utf16(name), text_length(units), text_node);
        w.text(units);
        w.end_node(field);
    }
    w.end_node(table);
    w.end_node(string_info);

    w.end_node(root);
    return w.take();
}

std::string section_source(const std::vector<std::uint8_t>& bytes, std::string_view section)
{
    const bool name_ok = !section.empty() && std::all_of(section.begin(), section.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
               c == '_';
    });
    if (!name_ok) throw FactsError("bad section name '" + std::string(section) + "'");
    if (bytes.empty()) throw FactsError("empty version record");

    constexpr char digits[] = "0123456789abcdef";
    std::string out =
        "// The version record, written at build time from the version facts. Do not edit.\n"
        "namespace {\n"
        "[[gnu::section(\"" +
        std::string(section) + "\"), gnu::used, gnu::retain]] alignas(4) const unsigned char version_record[" +
        std::to_string(bytes.size()) + "] = {";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out += i % 12 == 0 ? "\n    " : " ";
        out += "0x";
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 0xF];
        out += ',';
    }
    out += "\n};\n}  // namespace\n";
    return out;
}

}  // namespace versioninfo
