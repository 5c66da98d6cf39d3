// Writes the megabyte number texts into a folder, one file each, as seeds for
// the fuzzer's run on long inputs.
#include <fstream>
#include <iostream>
#include <string>

#include "tests/support/huge_number_texts.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: number_text_huge_inputs FOLDER\n";
        return 2;
    }
    for (const auto& [name, text] : reference::huge_number_texts()) {
        const std::string path = std::string(argv[1]) + "/" + name;
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (!file.flush()) {
            std::cerr << "cannot write " << path << '\n';
            return 1;
        }
    }
    return 0;
}
