#include "tests/reading_vectors.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

// The whole file through the stream's own buffer: nothing of it on the
// stack, which is small in WebAssembly (64 KiB by default).
std::vector<ReadingVector> load_reading_vectors(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error(std::string("cannot open ") + path);
    std::ostringstream content;
    content << file.rdbuf();
    if (file.bad() || content.fail()) throw std::runtime_error(std::string("cannot read ") + path);
    return parse_reading_vectors(content.str());
}
