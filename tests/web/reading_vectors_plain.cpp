#include "tests/reading_vectors.h"

#include <array>
#include <cstdio>
#include <memory>
#include <stdexcept>

std::vector<ReadingVector> load_reading_vectors(const char* path)
{
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path, "rb"), std::fclose);
    if (!file) throw std::runtime_error(std::string("cannot open ") + path);
    std::string content;
    std::array<char, 1 << 16> block{};
    std::size_t length = 0;
    while ((length = std::fread(block.data(), 1, block.size(), file.get())) > 0) {
        content.append(block.data(), length);
    }
    if (std::ferror(file.get()) != 0) throw std::runtime_error(std::string("cannot read ") + path);
    return parse_reading_vectors(content);
}
