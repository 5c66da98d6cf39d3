// The version record and the icon of Korvantelo.exe as Windows itself reads
// them (GetFileVersionInfoW, VerQueryValueW, FindResourceExW), under Wine.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "ui/win32/text.h"

namespace {

// Korvantelo.exe, where the build put it.
std::wstring program_path()
{
    return ui::win32::wide(PROGRAM);
}

std::vector<std::byte> version_block()
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(program_path().c_str(), &ignored);
    if (size == 0) return {};
    std::vector<std::byte> block(size);
    if (!GetFileVersionInfoW(program_path().c_str(), 0, size, block.data())) return {};
    return block;
}

// One node of the record: its key and where its children start and end.
struct Node {
    std::wstring key;
    const std::byte* value;
    const std::byte* children;
    const std::byte* end;
};

const std::byte* align4(const std::byte* at, const std::byte* base)
{
    return base + ((at - base + 3) & ~std::ptrdiff_t{3});
}

// The children of a node in the order the record stores them.
std::vector<Node> children(const std::byte* first, const std::byte* end, const std::byte* base, bool text_values)
{
    std::vector<Node> nodes;
    for (const std::byte* at = first; at + 6 <= end;) {
        std::uint16_t length = 0;
        std::uint16_t value_length = 0;
        std::memcpy(&length, at, 2);
        std::memcpy(&value_length, at + 2, 2);
        if (length == 0) break;
        const auto* key = reinterpret_cast<const wchar_t*>(at + 6);
        Node node{key, nullptr, nullptr, at + length};
        node.value = align4(at + 6 + (node.key.size() + 1) * 2, base);
        node.children = align4(node.value + value_length * (text_values ? 2 : 1), base);
        nodes.push_back(node);
        at = align4(node.end, base);
    }
    return nodes;
}

TEST(VersionRecordWin32Test, fixed_part_translation_and_strings_read_back)
{
    const std::vector<std::byte> block = version_block();
    ASSERT_FALSE(block.empty());

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
    ASSERT_EQ(size, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    // The project's version, as the build gives it (VERSION_MAJOR and so on).
    constexpr DWORD version_ms = DWORD{VERSION_MAJOR} << 16 | VERSION_MINOR;
    constexpr DWORD version_ls = DWORD{VERSION_PATCH} << 16 | VERSION_TWEAK;
    EXPECT_EQ(fixed->dwFileVersionMS, version_ms);
    EXPECT_EQ(fixed->dwFileVersionLS, version_ls);
    EXPECT_EQ(fixed->dwProductVersionMS, version_ms);
    EXPECT_EQ(fixed->dwProductVersionLS, version_ls);
    EXPECT_EQ(fixed->dwFileFlagsMask, 0u);
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileSubtype, 0u);
    EXPECT_EQ(fixed->dwFileDateMS, 0u);
    EXPECT_EQ(fixed->dwFileDateLS, 0u);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &size));
    ASSERT_EQ(size, 4u);
    EXPECT_EQ(translation[0], 0x0407);
    EXPECT_EQ(translation[1], 0x04B0);

    const std::vector<std::pair<std::wstring, std::wstring>> strings = {
        {L"CompanyName", L"Korvantelo Messtechnik"}, {L"ProductName", L"Korvantelo"},
        {L"FileVersion", VERSION_TEXT},             {L"ProductVersion", VERSION_TEXT},
        {L"InternalName", L"Korvantelo"},           {L"OriginalFilename", L"Korvantelo.exe"}};
    for (const auto& [key, expected] : strings) {
        wchar_t* value = nullptr;
        const std::wstring path = L"\\StringFileInfo\\040704B0\\" + key;
        ASSERT_TRUE(VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &size)) << ui::win32::utf8(key);
        EXPECT_EQ(std::wstring(value), expected) << ui::win32::utf8(key);
    }

    // The order: VarFileInfo before StringFileInfo, one table, six strings.
    const std::byte* base = block.data();
    const Node root = children(base, base + block.size(), base, false).at(0);
    EXPECT_EQ(root.key, L"VS_VERSION_INFO");
    const std::vector<Node> blocks = children(root.children, root.end, base, false);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].key, L"VarFileInfo");
    EXPECT_EQ(blocks[1].key, L"StringFileInfo");
    const std::vector<Node> tables = children(blocks[1].children, blocks[1].end, base, true);
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0].key, L"040704B0");
    const std::vector<Node> fields = children(tables[0].children, tables[0].end, base, true);
    ASSERT_EQ(fields.size(), strings.size());
    for (std::size_t i = 0; i < fields.size(); ++i) EXPECT_EQ(fields[i].key, strings[i].first);
}

TEST(VersionRecordWin32Test, resources_by_number_language_and_size)
{
    HMODULE program = LoadLibraryExW(program_path().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program, nullptr);
    const WORD german = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);
    const WORD neutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
    EXPECT_NE(FindResourceExW(program, MAKEINTRESOURCEW(16), MAKEINTRESOURCEW(1), german), nullptr);  // RT_VERSION

    HRSRC group = FindResourceExW(program, MAKEINTRESOURCEW(14), MAKEINTRESOURCEW(1), neutral);  // RT_GROUP_ICON
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(SizeofResource(program, group), 6u + 14u);  // one entry
    const auto* entry = static_cast<const std::uint8_t*>(LockResource(LoadResource(program, group))) + 6;
    EXPECT_EQ(entry[0], 32);  // width
    EXPECT_EQ(entry[1], 32);  // height
    EXPECT_EQ(entry[2], 16);  // colours
    std::uint16_t id = 0;
    std::memcpy(&id, entry + 12, 2);
    EXPECT_EQ(id, 30001);
    HRSRC image = FindResourceExW(program, MAKEINTRESOURCEW(3), MAKEINTRESOURCEW(30001), neutral);  // RT_ICON
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(SizeofResource(program, image), 744u);

    HRSRC manifest = FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
    ASSERT_NE(manifest, nullptr);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(program, manifest))),
                           SizeofResource(program, manifest));
    EXPECT_NE(text.find("PerMonitorV2"), std::string::npos);
    FreeLibrary(program);
}

}  // namespace
