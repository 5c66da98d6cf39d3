#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The number-text reading vectors in tests/data/parse-corpus.txt.gz: a text
// and the double it must read as, bit for bit, or none where its value lies
// beyond the double range.
struct ReadingVector {
    std::string text;
    std::optional<std::uint64_t> bits;
};

// Reads the file: gzip-compressed where the build has zlib
// (reading_vectors_gzip.cpp), decompressed by the build where it has none
// (web/reading_vectors_plain.cpp). Throws std::runtime_error when the file
// cannot be read.
[[nodiscard]] std::vector<ReadingVector> load_reading_vectors(const char* path);

// The vectors of the file's decompressed content. Throws std::runtime_error
// for a malformed line.
[[nodiscard]] std::vector<ReadingVector> parse_reading_vectors(std::string_view content);
