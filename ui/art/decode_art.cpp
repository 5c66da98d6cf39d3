// korvantelo_decode_art IN OUT [IN OUT...]: reads each picture IN with Qt's
// image readers (plugins included) and writes it to OUT as a pixel file
// (pixel_file.h). The build turns the window's pictures into pixel files
// with it, which the program copies into images at start without decoding
// anything.

#include <QImage>
#include <QImageReader>
#include <QSaveFile>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "ui/art/pixel_file.h"

namespace {

void decode(const char* in, const char* out)
{
    QImageReader reader(QString::fromLocal8Bit(in));
    const QImage image = reader.read();
    if (image.isNull()) {
        throw std::runtime_error(std::string("cannot read ") + in + ": " + reader.errorString().toStdString());
    }
    QSaveFile file(QString::fromLocal8Bit(out));
    if (!file.open(QIODevice::WriteOnly) || file.write(ui::art::to_pixel_file(image)) < 0 || !file.commit()) {
        throw std::runtime_error(std::string("cannot write ") + out + ": " + file.errorString().toStdString());
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
