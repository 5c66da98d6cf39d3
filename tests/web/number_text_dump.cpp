// Writes what calc makes of a fixed set of inputs, one line each, so that two
// builds can be compared byte for byte (number_text_agreement.sh): every text
// of the reading vectors, then random doubles and random texts. Everything
// is derived from the file and a fixed seed; nothing goes through the C
// library's number formatting.
//
//   number_text_dump CORPUS OUTPUT [COUNT]
//
// CORPUS is the decompressed reading-vector file, COUNT the number of random
// doubles (a million unless given). Prints the counts.

#include "calc/number_text.h"
#include "tests/reading_vectors.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

std::string hex(std::uint64_t value)
{
    std::string text(16, '0');
    for (std::size_t i = text.size(); i-- > 0; value >>= 4) text[i] = "0123456789ABCDEF"[value & 15];
    return text;
}

std::string decimal(std::uint64_t value)
{
    std::string text;
    do {
        text.insert(text.begin(), static_cast<char>('0' + value % 10));
        value /= 10;
    } while (value != 0);
    return text;
}

std::uint64_t bits_of(double value)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// How each input came out, for the summary.
struct Counts {
    std::uint64_t read = 0;
    std::uint64_t not_a_number = 0;
    std::uint64_t out_of_range = 0;
    std::uint64_t written = 0;
    std::uint64_t not_written = 0;
};

// The bits the text reads as, or the error it is refused with.
std::string reading(std::string_view text, Counts& counts, double& value)
{
    try {
        value = calc::to_number(text);
        ++counts.read;
        return hex(bits_of(value));
    } catch (const calc::NotANumber&) {
        ++counts.not_a_number;
        return "NotANumber";
    } catch (const calc::OutOfRange&) {
        ++counts.out_of_range;
        return "OutOfRange";
    }
}

// The text written for the value and the bits that text reads back as.
std::string writing(double value, Counts& counts)
{
    std::string text;
    try {
        text = calc::to_text(value);
    } catch (const calc::Error&) {
        ++counts.not_written;
        return "Error";
    }
    ++counts.written;
    return text + ' ' + hex(bits_of(calc::to_number(text)));
}

// A decimal text of 1 to 20 digits with a comma somewhere, or none, and an
// exponent that reaches past both ends of the double range; one in eight has
// a point among its digits, which reads only as a thousands separator.
std::string random_text(std::mt19937_64& random)
{
    std::string digits = decimal(random());
    const std::uint64_t shape = random();
    digits.resize(1 + shape % digits.size());
    if ((shape >> 40) % 8 == 0) digits.insert((shape >> 44) % digits.size(), 1, '.');
    const std::size_t comma = (shape >> 8) % (digits.size() + 1);
    if (comma < digits.size()) digits.insert(comma, 1, ',');
    const std::uint64_t exponent = (shape >> 16) % 701;
    std::string text = (shape >> 32) % 2 == 0 ? "" : "-";
    text.append(digits).append(exponent < 350 ? "E-" : "E");
    text.append(decimal(exponent < 350 ? 350 - exponent : exponent - 350));
    return text;
}

class Output {
public:
    explicit Output(const char* path) : path_(path), file_(std::fopen(path, "wb"), std::fclose)
    {
        if (!file_) throw std::runtime_error(std::string("cannot write ") + path);
    }
    void line(const std::string& text)
    {
        if (std::fputs(text.c_str(), file_.get()) < 0 || std::fputc('\n', file_.get()) < 0) {
            throw std::runtime_error("cannot write " + path_);
        }
    }
    void close()
    {
        if (std::fclose(file_.release()) != 0) throw std::runtime_error("cannot write " + path_);
    }

private:
    std::string path_;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_;
};

std::string readings(const Counts& counts)
{
    return "read " + decimal(counts.read) + ", out of range " + decimal(counts.out_of_range) +
           ", not a number " + decimal(counts.not_a_number);
}

std::string writings(const Counts& counts)
{
    return "written and read back " + decimal(counts.written) + ", not finite " + decimal(counts.not_written);
}

void dump(const char* corpus_path, const char* output_path, std::uint64_t random_count)
{
    Output output(output_path);

    // A text of the corpus: how it reads, and how its value is written.
    const auto vectors = load_reading_vectors(corpus_path);
    Counts corpus;
    for (const auto& vector : vectors) {
        double value = 0;
        std::string line = reading(vector.text, corpus, value);
        if (line.size() == 16) line += ' ' + writing(value, corpus);
        output.line(line);
    }

    // A random bit pattern, how it is written, and how a random text reads.
    std::mt19937_64 random(20261208);
    Counts doubles;
    Counts texts;
    for (std::uint64_t i = 0; i < random_count; ++i) {
        const std::uint64_t pattern = random();
        double value = 0;
        std::memcpy(&value, &pattern, sizeof value);
        std::string line = hex(pattern) + ' ' + writing(value, doubles);
        const std::string text = random_text(random);
        line += ' ' + text + ' ' + reading(text, texts, value);
        output.line(line);
    }

    const std::string counts[] = {
        "corpus texts: " + decimal(vectors.size()) + "; " + readings(corpus) + "; " + writings(corpus),
        "random doubles: " + decimal(random_count) + "; " + writings(doubles),
        "random texts: " + decimal(random_count) + "; " + readings(texts)};
    for (const auto& count : counts) {
        output.line(count);
        std::puts(count.c_str());
    }
    output.close();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::fputs("usage: number_text_dump CORPUS OUTPUT [COUNT]\n", stderr);
        return 2;
    }
    try {
        dump(argv[1], argv[2], argc == 4 ? std::stoull(argv[3]) : 1'000'000);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "number_text_dump: %s\n", error.what());
        return 1;
    }
    return 0;
}
