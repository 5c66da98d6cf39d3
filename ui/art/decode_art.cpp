// korvantelo_decode_art IN OUT [IN OUT...]: reads each picture IN with Qt's
// image readers (plugins included) and writes it to OUT in the format its
// suffix names, or as a pixel file (pixel_file.h) where that is ".pixels".
// The build turns the window's pictures into pixel files with it, which the
// program copies into images at start without decoding anything, and the ICO
// icon into the PNG that the desktop is given.

#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "ui/art/pixel_file.h"

namespace {

void write_pixel_file(const QImage& image, const QString& out)
{
    QSaveFile file(out);
    if (!file.open(QIODevice::WriteOnly) || file.write(ui::art::to_pixel_file(image)) < 0 || !file.commit()) {
        throw std::runtime_error("cannot write " + out.toStdString() + ": " + file.errorString().toStdString());
    }
}

void decode(const char* in, const char* out)
{
    QImageReader reader(QString::fromLocal8Bit(in));
    const QImage image = reader.read();
    if (image.isNull()) {
        throw std::runtime_error(std::string("cannot read ") + in + ": " + reader.errorString().toStdString());
    }
    if (QString::fromLocal8Bit(out).endsWith(QStringLiteral(".pixels"))) {
        write_pixel_file(image, QString::fromLocal8Bit(out));
        return;
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
