#include "tests/reading_vectors.h"

#include <zlib.h>

#include <memory>
#include <stdexcept>

std::vector<ReadingVector> load_reading_vectors(const char* gz_path)
{
    const std::unique_ptr<gzFile_s, int (*)(gzFile)> file(gzopen(gz_path, "rb"), gzclose);
    if (!file) throw std::runtime_error(std::string("cannot open ") + gz_path);
    std::vector<ReadingVector> vectors;
    std::vector<char> line(1 << 16);
    while (gzgets(file.get(), line.data(), static_cast<int>(line.size())) != nullptr) {
        std::string entry(line.data());
        if (!entry.empty() && entry.back() == '\n') entry.pop_back();
        if (entry.empty() || entry[0] == '#') continue;  // blank lines and section marks
        const auto space = entry.find(' ');
        if (space == std::string::npos) throw std::runtime_error("malformed vector: " + entry);
        const std::string expected = entry.substr(0, space);
        ReadingVector vector{entry.substr(space + 1), std::nullopt};
        if (expected != "ERR") vector.bits = std::stoull(expected, nullptr, 16);
        vectors.push_back(std::move(vector));
    }
    return vectors;
}
