// korvantelo_draw_icons FOLDER SIZE...: draws the icon after its design
// (icon_design.h) into FOLDER at each SIZE, as korvantelo-<size>.png (8-bit
// RGBA), and as the scalable korvantelo.svg. Every size is drawn in whole pixels rather than scaled from
// one picture, so that none of them blurs.

#include <QImage>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/art/icon_design.h"

namespace {

namespace fs = std::filesystem;
namespace icon = ui::art::icon;

void write_png(int size, const fs::path& path)
{
    QImage image(size, size, QImage::Format_ARGB32);
    const std::vector<std::uint32_t> pixels = icon::argb(size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) image.setPixel(x, y, pixels[icon::pixel_at(x, y, size)]);
    }
    if (!image.save(QString::fromStdString(path.string()), "png")) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

void write_svg(const fs::path& path)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << icon::svg();
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fputs("usage: korvantelo_draw_icons FOLDER SIZE...\n", stderr);
        return EXIT_FAILURE;
    }
    try {
        const fs::path folder = argv[1];
        for (int i = 2; i < argc; ++i) {
            const int size = std::stoi(argv[i]);
            write_png(size, folder / ("korvantelo-" + std::to_string(size) + ".png"));
        }
        write_svg(folder / "korvantelo.svg");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korvantelo_draw_icons: %s\n", e.what());
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
