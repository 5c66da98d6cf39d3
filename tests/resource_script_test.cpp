// The resource script compiled by the real resource compiler: its version
// resource must be the very record that the Linux executable carries, its
// icon the one image under number 30001 and the group that names it. And
// our serializer must agree with the compiler on records harder than ours.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/versioninfo/versioninfo.h"
#include "resource_reading.h"

namespace {

namespace fs = std::filesystem;
using resource_reading::read_le;

constexpr std::uint16_t rt_icon = 3;
constexpr std::uint16_t rt_group_icon = 14;
constexpr std::uint16_t rt_version = 16;

// A resource type or name: a number, or a text.
struct ResourceId {
    bool numeric = true;
    std::uint16_t number = 0;
    std::string name;
};

// One entry of a .res file: a RESOURCEHEADER and its data.
struct ResourceEntry {
    ResourceId type;
    ResourceId name;
    std::uint32_t data_version = 0;
    std::uint16_t memory_flags = 0;
    std::uint16_t language = 0;
    std::uint32_t version = 0;
    std::uint32_t characteristics = 0;
    std::vector<std::uint8_t> data;

    [[nodiscard]] bool is(std::uint16_t wanted_type) const { return type.numeric && type.number == wanted_type; }
};

void require(bool condition, const std::string& what)
{
    if (!condition) throw std::runtime_error(what);
}

// Every entry of a .res file but the empty one that opens it.
std::vector<ResourceEntry> parse_res(const std::vector<std::uint8_t>& file)
{
    std::vector<ResourceEntry> entries;
    std::size_t at = 0;
    const auto id = [&file](std::size_t& pos) {
        ResourceId result;
        if (read_le(file, pos, 2) == 0xFFFF) {
            result.number = static_cast<std::uint16_t>(read_le(file, pos + 2, 2));
            pos += 4;
            return result;
        }
        result.numeric = false;
        std::u16string units;
        for (; read_le(file, pos, 2) != 0; pos += 2) units.push_back(static_cast<char16_t>(read_le(file, pos, 2)));
        pos += 2;
        result.name = resource_reading::utf8(units);
        return result;
    };
    bool first = true;
    while (at < file.size()) {
        const std::uint32_t data_size = read_le(file, at, 4);
        const std::uint32_t header_size = read_le(file, at + 4, 4);
        std::size_t pos = at + 8;
        ResourceEntry entry;
        entry.type = id(pos);
        entry.name = id(pos);
        pos = (pos + 3) & ~std::size_t{3};
        entry.data_version = read_le(file, pos, 4);
        entry.memory_flags = static_cast<std::uint16_t>(read_le(file, pos + 4, 2));
        entry.language = static_cast<std::uint16_t>(read_le(file, pos + 6, 2));
        entry.version = read_le(file, pos + 8, 4);
        entry.characteristics = read_le(file, pos + 12, 4);
        pos += 16;
        require(pos - at == header_size, "header size " + std::to_string(header_size) + " at " + std::to_string(at) +
                                             ", fields end after " + std::to_string(pos - at));
        require(data_size <= file.size() - pos, "resource data beyond the end at " + std::to_string(at));
        entry.data.assign(file.begin() + static_cast<std::ptrdiff_t>(pos),
                          file.begin() + static_cast<std::ptrdiff_t>(pos + data_size));
        if (first) {
            require(data_size == 0 && entry.type.numeric && entry.type.number == 0, ".res file without its empty entry");
            first = false;
        } else {
            entries.push_back(std::move(entry));
        }
        at = (pos + data_size + 3) & ~std::size_t{3};
    }
    return entries;
}

// Runs a program without a shell; throws unless it exits with 0. Its
// standard error goes to `log`, and into the exception's text.
void run(const std::vector<std::string>& command, const fs::path& log)
{
    std::vector<char*> argv;
    for (const auto& arg : command) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) throw std::runtime_error("cannot start " + command[0] + ": " + std::strerror(error));
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) throw std::runtime_error("cannot wait for " + command[0]);
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::ifstream in(log);
        std::stringstream messages;
        messages << in.rdbuf();
        throw std::runtime_error(command[0] + " failed:\n" + messages.str());
    }
}

class ResourceScript : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(std::string(WINDRES).empty() || std::string(WINDRES).ends_with("-NOTFOUND"))
            << "x86_64-w64-mingw32-windres was not found: install binutils-mingw-w64-x86-64";
        ASSERT_FALSE(std::string(RC_PREPROCESSOR).empty() || std::string(RC_PREPROCESSOR).ends_with("-NOTFOUND"))
            << "no C preprocessor for the resource compiler: install cpp";
        fs::create_directories(SCRATCH_DIR);
    }

    // Compiles a resource script to a .res file and returns its entries.
    // The files are named after the test, since tests run side by side.
    static std::vector<ResourceEntry> compile(const fs::path& script)
    {
        const std::string stem = std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                                 "-" + script.stem().string();
        const fs::path output = fs::path(SCRATCH_DIR) / (stem + ".res");
        fs::remove(output);
        run({WINDRES, std::string("--preprocessor=") + RC_PREPROCESSOR, "--preprocessor-arg=-DRC_INVOKED", "-J",
             "rc", "-O", "res", "-i", script.string(), "-o", output.string()},
            fs::path(SCRATCH_DIR) / (stem + ".log"));
        return parse_res(resource_reading::read_bytes(output));
    }

    // The one resource of `type`.
    static ResourceEntry only(const std::vector<ResourceEntry>& entries, std::uint16_t type)
    {
        const auto count = std::count_if(entries.begin(), entries.end(), [type](const auto& e) { return e.is(type); });
        require(count == 1, std::to_string(count) + " resources of type " + std::to_string(type));
        return *std::find_if(entries.begin(), entries.end(), [type](const auto& e) { return e.is(type); });
    }
};

TEST_F(ResourceScript, holds_the_version_record_and_the_icon_and_nothing_else)
{
    const auto entries = compile(RESOURCE_SCRIPT);
    std::vector<std::uint16_t> types;
    for (const auto& entry : entries) {
        ASSERT_TRUE(entry.type.numeric);
        types.push_back(entry.type.number);
    }
    std::sort(types.begin(), types.end());  // in the compiler's order
    EXPECT_EQ(types, (std::vector<std::uint16_t>{rt_icon, rt_group_icon, rt_version}));
}

TEST_F(ResourceScript, version_resource_is_the_record_in_the_executable)
{
    const ResourceEntry version = only(compile(RESOURCE_SCRIPT), rt_version);
    ASSERT_TRUE(version.name.numeric);
    EXPECT_EQ(version.name.number, 1);
    EXPECT_EQ(version.language, 0x0407);

    EXPECT_EQ(version.data, resource_reading::elf_section(EXECUTABLE_UNDER_TEST, VERSION_SECTION));
}

TEST_F(ResourceScript, icon_image_is_number_30001_with_the_icon_files_image)
{
    const ResourceEntry image = only(compile(RESOURCE_SCRIPT), rt_icon);
    ASSERT_TRUE(image.name.numeric);
    EXPECT_EQ(image.name.number, 30001);
    EXPECT_EQ(image.language, 0);
    ASSERT_EQ(image.data.size(), 744u);
    EXPECT_EQ(read_le(image.data, 0, 4), 40u) << "bitmap header size";
    EXPECT_EQ(read_le(image.data, 4, 4), 32u) << "width";
    EXPECT_EQ(read_le(image.data, 8, 4), 64u) << "height of colours and mask";
    EXPECT_EQ(read_le(image.data, 12, 2), 1u) << "planes";
    EXPECT_EQ(read_le(image.data, 14, 2), 4u) << "bits per pixel";

    // The same bytes as the image in the .ico file, word order and all.
    const auto icon = resource_reading::read_bytes(ICON_FILE);
    const std::uint32_t offset = read_le(icon, 18, 4);
    ASSERT_LE(offset + 744u, icon.size());
    EXPECT_TRUE(std::equal(image.data.begin(), image.data.end(), icon.begin() + offset));
}

TEST_F(ResourceScript, icon_group_is_number_1_naming_the_one_image)
{
    const ResourceEntry group = only(compile(RESOURCE_SCRIPT), rt_group_icon);
    ASSERT_TRUE(group.name.numeric);
    EXPECT_EQ(group.name.number, 1);
    EXPECT_EQ(group.language, 0);
    ASSERT_EQ(group.data.size(), 6u + 14u);
    EXPECT_EQ(read_le(group.data, 0, 2), 0u) << "reserved";
    EXPECT_EQ(read_le(group.data, 2, 2), 1u) << "resource type: icon";
    EXPECT_EQ(read_le(group.data, 4, 2), 1u) << "images";
    EXPECT_EQ(group.data[6], 32) << "width";
    EXPECT_EQ(group.data[7], 32) << "height";
    EXPECT_EQ(group.data[8], 16) << "colours";
    EXPECT_EQ(group.data[9], 0) << "reserved";
    EXPECT_EQ(read_le(group.data, 10, 2), 1u) << "planes";
    EXPECT_EQ(read_le(group.data, 12, 2), 4u) << "bits per pixel";
    EXPECT_EQ(read_le(group.data, 14, 4), 744u) << "image bytes";
    EXPECT_EQ(read_le(group.data, 18, 2), 30001u) << "image number";
}

// A script the compiler gets for `facts`, written here independently of
// app/korvantelo.rc.in.
std::string script_for(const versioninfo::Facts& facts)
{
    std::ostringstream rc;
    const auto version = [](const versioninfo::Version& v) {
        return std::to_string(v[0]) + "," + std::to_string(v[1]) + "," + std::to_string(v[2]) + "," +
               std::to_string(v[3]);
    };
    rc << std::hex << std::showbase;
    rc << "#pragma code_page(65001)\n"
       << "LANGUAGE " << (facts.language & 0x3FF) << ", " << (facts.language >> 10) << "\n"
       << "1 VERSIONINFO\n"
       << "FILEVERSION " << version(facts.file_version) << "\n"
       << "PRODUCTVERSION " << version(facts.product_version) << "\n"
       << "FILEFLAGSMASK " << facts.file_flags_mask << "\n"
       << "FILEFLAGS " << facts.file_flags << "\n"
       << "FILEOS " << facts.file_os << "\n"
       << "FILETYPE " << facts.file_type << "\n"
       << "FILESUBTYPE " << facts.file_subtype << "\n"
       << "BEGIN\n"
       << "  BLOCK \"VarFileInfo\"\n  BEGIN\n"
       << "    VALUE \"Translation\", " << facts.language << ", " << facts.code_page << "\n"
       << "  END\n"
       << "  BLOCK \"StringFileInfo\"\n  BEGIN\n"
       << "    BLOCK \"" << versioninfo::string_table_name(facts.language, facts.code_page) << "\"\n    BEGIN\n";
    for (const auto& [name, value] : facts.strings) rc << "      VALUE \"" << name << "\", \"" << value << "\"\n";
    rc << "    END\n  END\nEND\n";
    return rc.str();
}

TEST_F(ResourceScript, serializer_lays_out_records_as_the_compiler_does)
{
    versioninfo::Facts awkward;
    awkward.file_version = {65535, 2, 3, 4};
    awkward.product_version = {5, 6, 7, 65534};
    awkward.file_flags_mask = 0x3F;
    awkward.file_flags = 0x1;
    awkward.file_os = 0x40004;
    awkward.file_type = 0x2;
    awkward.file_subtype = 0x7;
    awkward.language = 0x0409;
    awkward.code_page = 1252;
    // Keys and values of every length modulo 4, characters beyond ASCII and
    // beyond the Basic Multilingual Plane, an empty value.
    awkward.strings = {{"A", ""},
                       {"Bb", "x"},
                       {"Ccc", "Zähler für Wandler 😀"},
                       {"Dddd", "Wh pro Impuls"},
                       {"Größe", "½ kWh"}};

    versioninfo::Facts empty_table = awkward;
    empty_table.strings.clear();

    // Long enough that lengths need their high byte.
    versioninfo::Facts long_text = awkward;
    long_text.strings = {{"Comments", std::string(300, 'W')}, {"LegalCopyright", "Korvantelo"}};

    int number = 0;
    for (const auto& facts : {awkward, empty_table, long_text}) {
        SCOPED_TRACE("record " + std::to_string(number));
        const fs::path script = fs::path(SCRATCH_DIR) / ("serializer-" + std::to_string(number++) + ".rc");
        std::ofstream(script) << script_for(facts);
        const ResourceEntry version = only(compile(script), rt_version);
        EXPECT_EQ(version.language, facts.language);
        EXPECT_EQ(versioninfo::serialize(facts), version.data);
    }
}

}  // namespace
