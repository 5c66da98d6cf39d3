#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The number-text reading vectors in tests/data/parse-corpus.txt.gz: a text
// and the double it must read as, bit for bit, or none where its value lies
// beyond the double range.
struct ReadingVector {
    std::string text;
    std::optional<std::uint64_t> bits;
};

// Throws std::runtime_error when the file cannot be read.
[[nodiscard]] std::vector<ReadingVector> load_reading_vectors(const char* gz_path);
