// Copies the data of the one version resource out of a compiled resource
// file, as the resource compiler wrote it:
//
//     korvantelo_version_resource RES OUTPUT
//
// A .res file is a row of entries, each on a 4-byte boundary: the data's size
// and the header's size (32 bits each), the type and the name (0xFFFF and a
// 16-bit number, or a text), more header fields, then the data.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

constexpr std::uint32_t rt_version = 16;

std::uint32_t read_le(const Bytes& bytes, std::size_t at, std::size_t size)
{
    if (at > bytes.size() || size > bytes.size() - at) throw std::runtime_error("truncated entry");
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;) value = (value << 8) | bytes[at + i];
    return value;
}

Bytes version_data(const Bytes& res)
{
    Bytes found;
    int count = 0;
    for (std::size_t at = 0; at < res.size();) {
        const std::uint32_t data_size = read_le(res, at, 4);
        const std::uint32_t header_size = read_le(res, at + 4, 4);
        if (header_size < 12 || header_size > res.size() - at || data_size > res.size() - at - header_size) {
            throw std::runtime_error("entry at byte " + std::to_string(at) + " runs beyond the end");
        }
        if (read_le(res, at + 8, 2) == 0xFFFF && read_le(res, at + 10, 2) == rt_version) {
            ++count;
            const auto data = res.begin() + static_cast<std::ptrdiff_t>(at + header_size);
            found.assign(data, data + data_size);
        }
        at = (at + header_size + data_size + 3) & ~std::size_t{3};
    }
    if (count != 1) throw std::runtime_error(std::to_string(count) + " version resources, not one");
    return found;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        if (argc != 3) throw std::runtime_error("usage: korvantelo_version_resource RES OUTPUT");
        std::ifstream in(argv[1], std::ios::binary);
        if (!in) throw std::runtime_error(std::string("cannot open ") + argv[1]);
        const Bytes res{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const Bytes record = version_data(res);
        std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(record.data()), static_cast<std::streamsize>(record.size()));
        out.close();
        if (!out) throw std::runtime_error(std::string("cannot write ") + argv[2]);
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "korvantelo_version_resource: " << e.what() << '\n';
        return 1;
    }
}
