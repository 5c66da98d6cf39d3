#include "tests/reading_vectors.h"

#include <zlib.h>

#include <array>
#include <memory>
#include <stdexcept>

std::vector<ReadingVector> load_reading_vectors(const char* path)
{
    const std::unique_ptr<gzFile_s, int (*)(gzFile)> file(gzopen(path, "rb"), gzclose);
    if (!file) throw std::runtime_error(std::string("cannot open ") + path);
    std::string content;
    std::array<char, 1 << 16> block{};
    int length = 0;
    while ((length = gzread(file.get(), block.data(), static_cast<unsigned>(block.size()))) > 0) {
        content.append(block.data(), static_cast<std::size_t>(length));
    }
    if (length < 0) throw std::runtime_error(std::string("cannot read ") + path);
    return parse_reading_vectors(content);
}
