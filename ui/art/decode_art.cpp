// korvantelo_decode_art IN OUT [IN OUT...]: reads each picture IN with Qt's
// image readers (plugins included) and writes it to OUT in the format its
// suffix names. The build turns the JPEG panel and the ICO icon into BMP and
// PNG with it, which the program then reads without any image plugin.

#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace {

void decode(const char* in, const char* out)
{
    QImageReader reader(QString::fromLocal8Bit(in));
    const QImage image = reader.read();
    if (image.isNull()) {
        throw std::runtime_error(std::string("cannot read ") + in + ": " + reader.errorString().toStdString());
    }
    QImageWriter writer(QString::fromLocal8Bit(out));
    if (!writer.write(image)) {
        throw std::runtime_error(std::string("cannot write ") + out + ": " + writer.errorString().toStdString());
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || argc % 2 == 0) {
        std::fputs("usage: korvantelo_decode_art IN OUT [IN OUT...]\n", stderr);
        return EXIT_FAILURE;
    }
    try {
        for (int i = 1; i + 1 < argc; i += 2) decode(argv[i], argv[i + 1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korvantelo_decode_art: %s\n", e.what());
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
