// Writes the C++ source that puts the version record into an ELF section:
//
//     korvantelo_versioninfo_tool FACTS SECTION OUTPUT
//
// FACTS is the facts file CMake writes (see versioninfo.h), SECTION the ELF
// section's name, OUTPUT the .cpp to write. The file is replaced only whole.
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "app/versioninfo/versioninfo.h"

namespace {

std::string read_file(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path.string());
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) throw std::runtime_error("cannot read " + path.string());
    return text;
}

void write_file(const std::filesystem::path& path, const std::string& text)
{
    auto partial = path;
    partial += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << text;
        out.close();
        if (!out) throw std::runtime_error("cannot write " + partial.string());
    }
    std::filesystem::rename(partial, path);
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        if (argc != 4) throw std::runtime_error("usage: korvantelo_versioninfo_tool FACTS SECTION OUTPUT");
        const auto facts = versioninfo::parse_facts(read_file(argv[1]));
        write_file(argv[3], versioninfo::section_source(versioninfo::serialize(facts), argv[2]));
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "korvantelo_versioninfo_tool: " << e.what() << '\n';
        return 1;
    }
}
