#include "tests/reading_vectors.h"

#include <stdexcept>

std::vector<ReadingVector> parse_reading_vectors(std::string_view content)
{
    std::vector<ReadingVector> vectors;
    while (!content.empty()) {
        const auto newline = content.find('\n');
        const std::string entry(content.substr(0, newline));
        content.remove_prefix(newline == std::string_view::npos ? content.size() : newline + 1);
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
