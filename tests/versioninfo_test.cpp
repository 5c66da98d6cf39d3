// Our serializer's own checks: what it accepts as facts and as UTF-8. How it
// lays out a record is checked against the resource compiler in
// resource_script_test.
#include "app/versioninfo/versioninfo.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using versioninfo::FactsError;

const std::string complete_facts =
    "# comment\n"
    "file-version 1.2.3.65535\n"
    "product-version 0.0.0.0\n"
    "\n"
    "file-flags-mask 0x3F\n"
    "file-flags 0\n"
    "file-os 0x40004\n"
    "file-type 1\n"
    "file-subtype 0xffffffff\n"
    "language 0x0407\n"
    "code-page 1200\n"
    "string CompanyName=Korvantelo Messtechnik\n"
    "string Formula=P = U * I\n"
    "string Empty=\n";

std::string with_line(std::string_view replaced_key, const std::string& line)
{
    std::string text;
    std::string_view rest = complete_facts;
    while (!rest.empty()) {
        const auto end = rest.find('\n') + 1;
        const auto current = rest.substr(0, end);
        text += current.starts_with(std::string(replaced_key) + " ") ? line + "\n" : std::string(current);
        rest.remove_prefix(end);
    }
    return text;
}

TEST(VersionFacts, reads_every_fact_and_keeps_the_string_order)
{
    const auto facts = versioninfo::parse_facts(complete_facts);
    EXPECT_EQ(facts.file_version, (versioninfo::Version{1, 2, 3, 65535}));
    EXPECT_EQ(facts.product_version, (versioninfo::Version{0, 0, 0, 0}));
    EXPECT_EQ(facts.file_flags_mask, 0x3Fu);
    EXPECT_EQ(facts.file_os, 0x40004u);
    EXPECT_EQ(facts.file_subtype, 0xFFFFFFFFu);
    EXPECT_EQ(facts.language, 0x0407);
    EXPECT_EQ(facts.code_page, 1200);
    const std::vector<std::pair<std::string, std::string>> strings{
        {"CompanyName", "Korvantelo Messtechnik"}, {"Formula", "P = U * I"}, {"Empty", ""}};
    EXPECT_EQ(facts.strings, strings);
}

TEST(VersionFacts, rejects_what_would_make_a_wrong_record)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"missing fact", with_line("file-os", "# no file-os")},
        {"fact twice", complete_facts + "language 0x0409\n"},
        {"string twice", complete_facts + "string Empty=again\n"},
        {"unknown fact", complete_facts + "file-date 0\n"},
        {"three version parts", with_line("file-version", "file-version 1.0.0")},
        {"five version parts", with_line("file-version", "file-version 1.0.0.0.0")},
        {"empty version part", with_line("file-version", "file-version 1..0.0")},
        {"version part beyond 16 bits", with_line("file-version", "file-version 65536.0.0.0")},
        {"hex version part", with_line("file-version", "file-version 0x1.0.0.0")},
        {"language beyond 16 bits", with_line("language", "language 0x10407")},
        {"flags beyond 32 bits", with_line("file-flags", "file-flags 0x100000000")},
        {"trailing junk", with_line("file-type", "file-type 1 ")},
        {"no number", with_line("file-type", "file-type")},
        {"negative number", with_line("file-type", "file-type -1")},
        {"string without =", complete_facts + "string Comments\n"},
        {"string without name", complete_facts + "string =value\n"},
        {"string not UTF-8", complete_facts + "string Comments=Z\xE4hler\n"},
    };
    for (const auto& [what, text] : cases) EXPECT_THROW(versioninfo::parse_facts(text), FactsError) << what;
}

TEST(VersionFacts, converts_utf8_to_utf16_units)
{
    EXPECT_EQ(versioninfo::to_utf16(""), u"");
    EXPECT_EQ(versioninfo::to_utf16("Wh"), u"Wh");
    EXPECT_EQ(versioninfo::to_utf16("Zähler"), u"Z\u00E4hler");
    EXPECT_EQ(versioninfo::to_utf16("€"), u"\u20AC");
    EXPECT_EQ(versioninfo::to_utf16("\xEF\xBF\xBF"), u"\uFFFF");
    EXPECT_EQ(versioninfo::to_utf16("😀"), u"\xD83D\xDE00");
    EXPECT_EQ(versioninfo::to_utf16("\xF4\x8F\xBF\xBF"), u"\xDBFF\xDFFF");  // U+10FFFF
}

TEST(VersionFacts, rejects_malformed_utf8)
{
    for (const std::string_view text : {
             "\x80",              // continuation without a lead
             "\xC3",              // cut short at the end
             "\xE2\x82",          // cut short at the end
             "\xC3(",             // lead without its continuation
             "\xC0\x80",          // overlong zero
             "\xE0\x80\xAF",      // overlong '/'
             "\xF0\x82\x82\xAC",  // overlong euro sign
             "\xED\xA0\x80",      // a surrogate
             "\xF4\x90\x80\x80",  // beyond U+10FFFF
             "\xF8\x88\x80\x80\x80",
         }) {
        EXPECT_THROW(versioninfo::to_utf16(text), FactsError) << testing::PrintToString(std::string(text));
    }
}

TEST(VersionRecordLayout, string_table_is_named_in_eight_upper_case_hex_digits)
{
    EXPECT_EQ(versioninfo::string_table_name(0x0407, 1200), "040704B0");
    EXPECT_EQ(versioninfo::string_table_name(0xABCD, 0x000F), "ABCD000F");
}

TEST(VersionRecordLayout, refuses_a_record_whose_lengths_overflow_16_bits)
{
    auto facts = versioninfo::parse_facts(complete_facts);
    facts.strings = {{"Comments", std::string(32'000, 'x')}};
    EXPECT_NO_THROW(versioninfo::serialize(facts));  // some 64,300 bytes in all
    facts.strings = {{"Comments", std::string(32'760, 'x')}};
    EXPECT_THROW(versioninfo::serialize(facts), FactsError);  // the field alone
    facts.strings = {{"Comments", std::string(32'000, 'x')}, {"More", std::string(1'000, 'x')}};
    EXPECT_THROW(versioninfo::serialize(facts), FactsError);  // each field fits, the table does not
}

TEST(VersionRecordLayout, section_source_takes_only_plain_section_names)
{
    const std::vector<std::uint8_t> bytes{1, 2, 3, 4};
    EXPECT_NE(versioninfo::section_source(bytes, ".korvantelo.version").find("\".korvantelo.version\""),
              std::string::npos);
    EXPECT_THROW(versioninfo::section_source(bytes, ""), FactsError);
    EXPECT_THROW(versioninfo::section_source(bytes, ".a\"), x(\""), FactsError);
    EXPECT_THROW(versioninfo::section_source({}, ".korvantelo.version"), FactsError);
}

}  // namespace
