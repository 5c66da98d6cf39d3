// The version record as the built executable carries it: read out of the
// executable file's ELF section and checked field by field.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "resource_reading.h"

namespace {

using resource_reading::VersionNode;
using Fields = std::vector<std::pair<std::string, std::string>>;

std::vector<std::uint8_t> record_bytes()
{
    return resource_reading::elf_section(EXECUTABLE_UNDER_TEST, VERSION_SECTION);
}

class VersionRecord : public ::testing::Test {
protected:
    std::vector<std::uint8_t> bytes = record_bytes();
    VersionNode root = resource_reading::parse_version_record(bytes);

    [[nodiscard]] std::uint32_t fixed(std::size_t index) const { return resource_reading::read_le(root.value, 4 * index, 4); }
};

TEST_F(VersionRecord, root_is_vs_version_info_with_the_fixed_part)
{
    EXPECT_EQ(root.key, "VS_VERSION_INFO");
    EXPECT_EQ(root.type, 0);
    ASSERT_EQ(root.value_length, 52);
    ASSERT_EQ(root.value.size(), 52u);
    EXPECT_EQ(fixed(0), 0xFEEF04BDu) << "signature";
    EXPECT_EQ(fixed(1), 0x00010000u) << "structure version";
    EXPECT_EQ(fixed(2), 0x00010000u) << "file version 1.0";
    EXPECT_EQ(fixed(3), 0x00000000u) << "file version .0.0";
    EXPECT_EQ(fixed(4), 0x00010000u) << "product version 1.0";
    EXPECT_EQ(fixed(5), 0x00000000u) << "product version .0.0";
    EXPECT_EQ(fixed(6), 0u) << "file flags mask";
    EXPECT_EQ(fixed(7), 0u) << "file flags";
    EXPECT_EQ(fixed(8), 4u) << "file OS: VOS__WINDOWS32";
    EXPECT_EQ(fixed(9), 1u) << "file type: VFT_APP";
    EXPECT_EQ(fixed(10), 0u) << "file subtype";
    EXPECT_EQ(fixed(11), 0u) << "file date, high";
    EXPECT_EQ(fixed(12), 0u) << "file date, low";
}

TEST_F(VersionRecord, translation_block_comes_before_the_strings)
{
    ASSERT_EQ(root.children.size(), 2u);
    EXPECT_EQ(root.children[0].key, "VarFileInfo");
    EXPECT_EQ(root.children[1].key, "StringFileInfo");
}

TEST_F(VersionRecord, translation_is_german_in_unicode)
{
    ASSERT_FALSE(root.children.empty());
    const VersionNode& var_info = root.children[0];
    EXPECT_EQ(var_info.type, 1);
    EXPECT_EQ(var_info.value_length, 0);
    ASSERT_EQ(var_info.children.size(), 1u);
    const VersionNode& translation = var_info.children[0];
    EXPECT_EQ(translation.key, "Translation");
    EXPECT_EQ(translation.type, 0);
    EXPECT_TRUE(translation.children.empty());
    ASSERT_EQ(translation.value_length, 4);
    EXPECT_EQ(resource_reading::read_le(translation.value, 0, 2), 0x0407u) << "language";
    EXPECT_EQ(resource_reading::read_le(translation.value, 2, 2), 0x04B0u) << "code page";
}

TEST_F(VersionRecord, one_string_table_with_the_six_fields_in_order)
{
    ASSERT_EQ(root.children.size(), 2u);
    const VersionNode& string_info = root.children[1];
    EXPECT_EQ(string_info.type, 1);
    EXPECT_EQ(string_info.value_length, 0);
    ASSERT_EQ(string_info.children.size(), 1u);
    const VersionNode& table = string_info.children[0];
    EXPECT_EQ(table.key, "040704B0");
    EXPECT_EQ(table.value_length, 0);

    Fields fields;
    for (const VersionNode& field : table.children) {
        EXPECT_TRUE(field.children.empty()) << field.key;
        const std::string text = field.text();
        // A text's length counts its UTF-16 units (one a character here, all
        // ASCII) and the terminating zero.
        EXPECT_EQ(field.value_length, text.size() + 1) << field.key;
        fields.emplace_back(field.key, text);
    }
    const Fields expected{
        {"CompanyName", "Korvantelo Messtechnik"},
        {"ProductName", "Korvantelo"},
        {"FileVersion", "1.00"},
        {"ProductVersion", "1.00"},
        {"InternalName", "Korvantelo"},
        {"OriginalFilename", "Korvantelo.exe"},
    };
    EXPECT_EQ(fields, expected);
}

}  // namespace
