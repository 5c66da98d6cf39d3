#include "ui/art/art.h"
#include "ui/art/binary_formats.h"
#include "ui/art/icon_design.h"
#include "ui/art/pixel_file.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QString>
#include <QXmlStreamReader>

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes read_art(const std::string& name)
{
    std::ifstream in(std::string(ART_DIR) + "/" + name, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open " + name);
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

unsigned u16le(const Bytes& b, std::size_t at) { return ui::art::read_le(b, at, 2); }
std::uint32_t u32le(const Bytes& b, std::size_t at) { return ui::art::read_le(b, at, 4); }
std::int32_t i32le(const Bytes& b, std::size_t at) { return static_cast<std::int32_t>(u32le(b, at)); }
unsigned u16be(const Bytes& b, std::size_t at) { return b.at(at) << 8 | b.at(at + 1); }

// ------------------------------------------------------------------ icon ---

constexpr std::size_t icon_image = ui::art::ico::image_offset;

// The 32 x 32 icon as palette indices and its mask, top row first.
struct IconPixels {
    std::array<std::array<unsigned, 32>, 32> index{};
    std::array<std::array<bool, 32>, 32> transparent{};
};

IconPixels decode_icon(const Bytes& ico)
{
    const std::size_t xor_start = icon_image + ui::art::ico::bitmap_header_size + ui::art::ico::palette_size;
    const std::size_t and_start = xor_start + 512;
    IconPixels pixels;
    for (std::size_t y = 0; y < 32; ++y) {
        const std::size_t stored_row = 31 - y;
        for (std::size_t x = 0; x < 32; ++x) {
            const unsigned byte = ico.at(xor_start + stored_row * 16 + x / 2);
            pixels.index[y][x] = x % 2 == 0 ? byte >> 4 : byte & 0x0Fu;
            const unsigned mask = ico.at(and_start + stored_row * 4 + x / 8);
            pixels.transparent[y][x] = (mask >> (7 - x % 8) & 1u) != 0;
        }
    }
    return pixels;
}

constexpr std::array<std::array<unsigned, 3>, 16> standard_palette{{
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
    {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
    {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
}};

unsigned brightness(unsigned index)
{
    const auto& [r, g, b] = standard_palette.at(index);
    return 299 * r + 587 * g + 114 * b;
}

TEST(icon_file, is_one_32x32_image_of_16_colours_744_bytes_long)
{
    const Bytes ico = read_art("korvantelo.ico");
    EXPECT_EQ(u16le(ico, 0), 0u);  // reserved
    EXPECT_EQ(u16le(ico, 2), 1u);  // icon, not cursor
    EXPECT_EQ(u16le(ico, 4), 1u);  // one image
    EXPECT_EQ(ico.at(6), 32);
    EXPECT_EQ(ico.at(7), 32);
    EXPECT_EQ(ico.at(8), 16);  // colours
    EXPECT_EQ(ico.at(9), 0);
    EXPECT_EQ(u16le(ico, 10), 1u);  // planes
    EXPECT_EQ(u16le(ico, 12), 4u);  // bits per pixel
    EXPECT_EQ(u32le(ico, 14), 744u);
    EXPECT_EQ(u32le(ico, 18), icon_image);
    EXPECT_EQ(ico.size(), icon_image + 744);
}

TEST(icon_file, image_header_counts_both_masks_and_palette_is_standard)
{
    const Bytes ico = read_art("korvantelo.ico");
    EXPECT_EQ(u32le(ico, icon_image), 40u);
    EXPECT_EQ(i32le(ico, icon_image + 4), 32);
    EXPECT_EQ(i32le(ico, icon_image + 8), 64);  // XOR and AND images
    EXPECT_EQ(u16le(ico, icon_image + 12), 1u);
    EXPECT_EQ(u16le(ico, icon_image + 14), 4u);
    EXPECT_EQ(u32le(ico, icon_image + 16), 0u);  // uncompressed
    const std::uint32_t size_image = u32le(ico, icon_image + 20);
    EXPECT_TRUE(size_image == 0 || size_image == 512 + 128) << size_image;
    const std::uint32_t colours_used = u32le(ico, icon_image + 32);
    EXPECT_TRUE(colours_used == 0 || colours_used == 16) << colours_used;

    for (std::size_t i = 0; i < 16; ++i) {
        const std::size_t at = icon_image + 40 + 4 * i;
        const std::array<unsigned, 3> rgb{ico.at(at + 2), ico.at(at + 1), ico.at(at)};  // stored B, G, R
        EXPECT_EQ(rgb, standard_palette[i]) << "palette entry " << i;
        EXPECT_EQ(ico.at(at + 3), 0) << "palette entry " << i;
    }
}

TEST(icon_pixels, field_is_a_black_staircase_with_transparency_around)
{
    const IconPixels icon = decode_icon(read_art("korvantelo.ico"));
    std::vector<int> run_lengths;  // the opaque run of each row that has one, top down
    std::set<int> left_ends;
    std::set<int> right_ends;
    for (std::size_t y = 0; y < 32; ++y) {
        std::vector<int> opaque;
        for (std::size_t x = 0; x < 32; ++x) {
            if (icon.transparent[y][x]) {
                EXPECT_EQ(icon.index[y][x], 0u) << "transparent pixel with colour at " << x << "," << y;
            } else {
                opaque.push_back(static_cast<int>(x));
            }
        }
        if (!opaque.empty()) {
            EXPECT_EQ(opaque.back() - opaque.front() + 1, static_cast<int>(opaque.size()))
                << "row " << y << " has a gap";
            left_ends.insert(opaque.front());
            right_ends.insert(opaque.back());
            run_lengths.push_back(static_cast<int>(opaque.size()));
        }
    }
    EXPECT_TRUE(left_ends.size() == 1 || right_ends.size() == 1) << "the steps stand on one side";
    EXPECT_TRUE(icon.transparent[0][0] && icon.transparent[0][31] && icon.transparent[31][31]);
    ASSERT_FALSE(run_lengths.empty());
    EXPECT_TRUE(std::is_sorted(run_lengths.begin(), run_lengths.end())) << "the steps must widen downwards";
    EXPECT_EQ(std::set<int>(run_lengths.begin(), run_lengths.end()).size(), 5u) << "five steps";
}

TEST(icon_pixels, holds_fifteen_raised_squares_of_four_colours)
{
    const IconPixels icon = decode_icon(read_art("korvantelo.ico"));
    constexpr unsigned white = 15;
    const std::set<unsigned> faces{7, 10, 11, 14};
    std::array<std::array<bool, 32>, 32> seen{};
    std::map<unsigned, int> squares;

    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const unsigned face = icon.index[y][x];
            if (seen[y][x] || icon.transparent[y][x] || !faces.contains(face)) {
                continue;
            }
            // Flood the face, four-connected.
            int left = x, right = x, top = y, bottom = y, area = 0;
            std::vector<std::pair<int, int>> todo{{x, y}};
            seen[y][x] = true;
            while (!todo.empty()) {
                const auto [px, py] = todo.back();
                todo.pop_back();
                ++area;
                left = std::min(left, px);
                right = std::max(right, px);
                top = std::min(top, py);
                bottom = std::max(bottom, py);
                for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                    const int nx = px + dx;
                    const int ny = py + dy;
                    if (nx >= 0 && nx < 32 && ny >= 0 && ny < 32 && !seen[ny][nx] && icon.index[ny][nx] == face) {
                        seen[ny][nx] = true;
                        todo.emplace_back(nx, ny);
                    }
                }
            }
            SCOPED_TRACE("square at " + std::to_string(left) + "," + std::to_string(top));
            const int side = right - left + 1;
            EXPECT_EQ(bottom - top + 1, side);
            EXPECT_EQ(area, side * side) << "a face is a filled square";
            EXPECT_GE(side, 2);
            ASSERT_TRUE(left > 0 && top > 0 && right < 31 && bottom < 31);

            // Raised: a light edge along the top and left, one darker shade
            // along the bottom and right.
            const unsigned shadow = icon.index[bottom + 1][right + 1];
            EXPECT_LT(brightness(shadow), brightness(face));
            EXPECT_GT(brightness(shadow), 0u) << "the shadow is not the black field";
            for (int i = -1; i <= side; ++i) {
                if (i < side) {
                    EXPECT_EQ(icon.index[top - 1][left + i], white);
                    EXPECT_EQ(icon.index[top + i][left - 1], white);
                }
                if (i >= 0) {
                    EXPECT_EQ(icon.index[bottom + 1][left + i], shadow);
                    EXPECT_EQ(icon.index[top + i][right + 1], shadow);
                }
            }
            ++squares[face];
        }
    }
    EXPECT_EQ(squares[7], 3) << "light grey";
    EXPECT_EQ(squares[11], 5) << "yellow";
    EXPECT_EQ(squares[14], 4) << "cyan";
    EXPECT_EQ(squares[10] + squares[2], 3) << "green";
}

// ----------------------------------------------------------------- panel ---

TEST(panel_jpeg, is_baseline_jfif_at_96_dpi_184x157_in_colour)
{
    const Bytes jpg = read_art("image1.jpg");
    ASSERT_GE(jpg.size(), 20u);
    ASSERT_TRUE(ui::art::is_jfif_at_96_dpi(jpg));
    EXPECT_GE(u16be(jpg, 4), 16u);
    EXPECT_EQ(jpg.at(11), 1);  // version 1.x

    // Walk the segments up to the scan; the one frame must be baseline.
    std::vector<unsigned> frames;
    std::size_t at = 2;
    bool scan = false;
    while (!scan && at + 4 <= jpg.size()) {
        ASSERT_EQ(jpg.at(at), 0xFF) << "segment at " << at;
        const unsigned marker = jpg.at(at + 1);
        const unsigned length = u16be(jpg, at + 2);
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            frames.push_back(marker);
            if (marker == 0xC0) {
                EXPECT_EQ(jpg.at(at + 4), 8);            // sample precision
                EXPECT_EQ(u16be(jpg, at + 5), 157u);     // height
                EXPECT_EQ(u16be(jpg, at + 7), 184u);     // width
                EXPECT_EQ(jpg.at(at + 9), 3);            // components
            }
        }
        scan = marker == 0xDA;
        at += 2 + length;
    }
    EXPECT_TRUE(scan);
    EXPECT_EQ(frames, std::vector<unsigned>{0xC0});
    EXPECT_EQ(u16be(jpg, jpg.size() - 2), 0xFFD9u);  // EOI
}

// ---------------------------------------------------------------- banner ---

struct Rgb {
    unsigned r, g, b;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

constexpr Rgb silver{192, 192, 192};
constexpr Rgb ink{28, 24, 20};
constexpr Rgb white{255, 255, 255};

class BannerBitmap : public ::testing::Test {
protected:
    static constexpr int width = 584;
    static constexpr int height = 39;
    static constexpr int visible = 559;
    Bytes bmp = read_art("image2.bmp");

    // Pixel (x, y) counted from the top left, as the window shows it.
    [[nodiscard]] Rgb at(int x, int y) const
    {
        const std::size_t row = (width * 3 + 3) / 4 * 4;
        const std::size_t offset = u32le(bmp, 10) + (height - 1 - y) * row + 3 * x;
        return {bmp.at(offset + 2), bmp.at(offset + 1), bmp.at(offset)};
    }
};

TEST_F(BannerBitmap, headers_say_584x39_24_bit_uncompressed)
{
    ASSERT_GE(bmp.size(), 54u);
    EXPECT_EQ(bmp.at(0), 'B');
    EXPECT_EQ(bmp.at(1), 'M');
    EXPECT_EQ(u32le(bmp, 2), bmp.size());
    EXPECT_EQ(u32le(bmp, 10), 54u);
    EXPECT_EQ(u32le(bmp, 14), 40u);  // BITMAPINFOHEADER
    EXPECT_EQ(i32le(bmp, 18), width);
    EXPECT_EQ(i32le(bmp, 22), height);  // positive: bottom row first
    EXPECT_EQ(u16le(bmp, 26), 1u);
    EXPECT_EQ(u16le(bmp, 28), 24u);
    EXPECT_EQ(u32le(bmp, 30), 0u);  // BI_RGB
    const std::uint32_t row = (width * 3 + 3) / 4 * 4;
    const std::uint32_t size_image = u32le(bmp, 34);
    EXPECT_TRUE(size_image == 0 || size_image == row * height) << size_image;
    EXPECT_EQ(bmp.size(), 54u + row * height);
}

TEST_F(BannerBitmap, silver_band_on_top_and_silver_lines_bottom_and_right)
{
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (y < 9 || y == height - 1 || x == width - 1) {
                ASSERT_EQ(at(x, y), silver) << x << "," << y;
            }
        }
    }
}

TEST_F(BannerBitmap, dark_strip_carries_white_capitals_left_and_logo_right)
{
    int strip = 0;
    int dark = 0;
    int white_left = 0;
    int white_right = 0;
    int coloured_right = 0;
    for (int y = 9; y < 38; ++y) {
        for (int x = 0; x < width - 1; ++x) {
            const Rgb pixel = at(x, y);
            ++strip;
            dark += pixel == ink ? 1 : 0;
            if (pixel == white) {
                (x < visible / 2 ? white_left : white_right) += 1;
            }
            if (x >= visible / 2 && pixel.r > 200 && pixel.g > 120 && pixel.b < 60) {
                ++coloured_right;  // the amber of the pulse mark
            }
            if (x >= visible) {
                EXPECT_EQ(pixel, ink) << "nothing is drawn where the window cuts the banner off: " << x << "," << y;
            }
        }
    }
    EXPECT_GT(dark * 10, strip * 8) << "the strip is mostly ink";
    EXPECT_GT(white_left, 300) << "two lines of capitals";
    EXPECT_GT(white_right, 100) << "the word in the logo";
    EXPECT_GT(coloured_right, 100) << "the pulse mark";

    // The lettering on the left lies on two separate lines.
    std::vector<bool> lettered(39, false);
    for (int y = 9; y < 38; ++y) {
        for (int x = 0; x < visible / 2; ++x) {
            lettered[y] = lettered[y] || at(x, y) == white;
        }
    }
    int lines = 0;
    int blank_rows = 2;
    for (int y = 9; y < 38; ++y) {
        if (lettered[y]) {
            lines += blank_rows >= 2 ? 1 : 0;  // a single blank row parts umlaut dots from their letters
            blank_rows = 0;
        } else {
            ++blank_rows;
        }
    }
    EXPECT_EQ(lines, 2);
    EXPECT_FALSE(lettered[9] || lettered[37]) << "the lettering keeps off the strip's edges";
}

// --------------------------------------------------------- through Qt ---

class ArtResources : public ::testing::Test {
protected:
    ArtResources()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        app_ = std::make_unique<QGuiApplication>(argc_, argv_.data());
    }

    static QString path(std::string_view resource)
    {
        return QString::fromUtf8(resource.data(), static_cast<qsizetype>(resource.size()));
    }

    // A committed picture of ui/art, which the program carries only as a pixel file.
    static QString committed(const char* name) { return QStringLiteral(ART_DIR "/") + QString::fromUtf8(name); }

private:
    int argc_ = 1;
    std::array<char, 9> name_{"art_test"};
    std::array<char*, 2> argv_{name_.data(), nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

TEST_F(ArtResources, load_as_images_of_the_right_size)
{
    const QImage panel(committed("image1.jpg"));
    EXPECT_EQ(panel.size(), QSize(184, 157));
    EXPECT_FALSE(panel.isGrayscale());

    const QImage banner(committed("image2.bmp"));
    ASSERT_EQ(banner.size(), QSize(584, 39));
    EXPECT_EQ(banner.pixel(0, 0), qRgb(192, 192, 192));
    EXPECT_EQ(banner.pixel(0, 20), qRgb(28, 24, 20));

    QImageReader reader(committed("korvantelo.ico"));
    EXPECT_EQ(reader.format(), "ico");
    const QImage icon = reader.read();
    ASSERT_EQ(icon.size(), QSize(32, 32)) << reader.errorString().toStdString();
    EXPECT_TRUE(icon.hasAlphaChannel());
    EXPECT_EQ(qAlpha(icon.pixel(31, 0)), 0);
    EXPECT_EQ(icon.pixel(0, 31), qRgba(0, 0, 0, 255));
}

// The window reads its pictures from the pixel files the build decodes;
// they must hold exactly the committed pictures and the drawn icons.
TEST_F(ArtResources, pixel_files_hold_the_committed_pictures)
{
    const auto pixels = [](const QString& resource) {
        QFile file(resource);
        return file.open(QIODevice::ReadOnly) ? ui::art::from_pixel_file(file.readAll()) : QImage();
    };
    const auto premultiplied = [](const QImage& image) {
        return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    };
    std::vector<std::pair<QString, QString>> pictures{
        {path(ui::art::panel_pixels_path), committed("image1.jpg")},
        {path(ui::art::banner_pixels_path), committed("image2.bmp")},
        {path(ui::art::icon_pixels_path), committed("korvantelo.ico")},
    };
    for (const int size : ui::art::icon::window_sizes) {
        pictures.emplace_back(path(ui::art::icon_size_pixels_pattern).arg(size),
                              QStringLiteral(ICON_DIR "/korvantelo-%1.png").arg(size));
    }
    for (const auto& [resource, original] : pictures) {
        const QImage read = pixels(resource);
        ASSERT_FALSE(read.isNull()) << resource.toStdString();
        EXPECT_TRUE(premultiplied(read) == premultiplied(QImage(original))) << resource.toStdString() << " differs";
    }
}

// A pixel file that does not hold what its header says is refused, never
// shown as whatever its bytes happen to be.
TEST_F(ArtResources, pixel_file_reader_refuses_what_is_not_one)
{
    QImage picture(3, 2, QImage::Format_ARGB32);
    picture.fill(qRgba(10, 20, 30, 40));
    const QByteArray file = ui::art::to_pixel_file(picture);
    EXPECT_TRUE(ui::art::from_pixel_file(file) == picture);

    const auto with_field = [&file](int at, std::uint32_t value) {
        QByteArray changed = file;
        for (int i = 0; i < 4; ++i) changed[at + i] = static_cast<char>(value >> (8 * i));
        return changed;
    };
    const std::array<QByteArray, 6> refused{
        file.left(15),                                          // short header
        QByteArray(file).replace(0, 4, "KVPY"),                 // foreign
        file.chopped(4),                                        // a pixel missing
        with_field(8, 3),                                       // one row too many
        with_field(12, QImage::Format_RGB16),                   // two bytes a pixel
        with_field(4, 1U << 30),                                // absurd width
    };
    for (std::size_t i = 0; i < refused.size(); ++i) {
        EXPECT_THROW((void)ui::art::from_pixel_file(refused[i]), std::runtime_error) << "case " << i;
    }
    EXPECT_THROW((void)ui::art::to_pixel_file(picture.convertToFormat(QImage::Format_Indexed8)),
                 std::invalid_argument);
}

// Counts the four-connected areas of each opaque colour in `image`.
std::map<QRgb, int> areas_by_colour(const QImage& image)
{
    std::vector<bool> seen(static_cast<std::size_t>(image.width() * image.height()));
    auto at = [&image](int x, int y) { return static_cast<std::size_t>(y * image.width() + x); };
    std::map<QRgb, int> areas;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb colour = image.pixel(x, y);
            if (seen[at(x, y)] || qAlpha(colour) == 0) continue;
            ++areas[colour];
            std::vector<std::pair<int, int>> todo{{x, y}};
            seen[at(x, y)] = true;
            while (!todo.empty()) {
                const auto [px, py] = todo.back();
                todo.pop_back();
                for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                    const int nx = px + dx;
                    const int ny = py + dy;
                    if (image.rect().contains(nx, ny) && !seen[at(nx, ny)] && image.pixel(nx, ny) == colour) {
                        seen[at(nx, ny)] = true;
                        todo.emplace_back(nx, ny);
                    }
                }
            }
        }
    }
    return areas;
}

// The icon at every other size shows the same fifteen squares, in whole
// pixels: only palette colours, fully opaque or fully transparent, no
// blended edge; at multiples of 32 it is the committed icon enlarged.
TEST_F(ArtResources, icon_at_every_size_is_the_design_in_sharp_pixels)
{
    const QImage committed = QImage(QStringLiteral(ICON_DIR "/korvantelo-32.png")).convertToFormat(QImage::Format_ARGB32);
    std::set<QRgb> palette;
    for (const auto& [r, g, b] : standard_palette) {
        palette.insert(qRgb(static_cast<int>(r), static_cast<int>(g), static_cast<int>(b)));
    }

    for (const int size : ui::art::icon::drawn_sizes) {
        const QString drawn = QStringLiteral(ICON_DIR "/korvantelo-%1.png").arg(size);
        SCOPED_TRACE(drawn.toStdString());
        QImageReader reader(drawn, "png");
        const QImage icon = reader.read().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(icon.size(), QSize(size, size));
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const QRgb pixel = icon.pixel(x, y);
                ASSERT_TRUE(pixel == 0 || (qAlpha(pixel) == 255 && palette.contains(pixel | 0xFF000000u)))
                    << "pixel " << x << "," << y;
            }
        }
        EXPECT_EQ(icon.pixel(0, size - 1), qRgb(0, 0, 0));
        const std::map<QRgb, int> areas = areas_by_colour(icon);
        EXPECT_EQ(areas.at(qRgb(192, 192, 192)), 3);
        EXPECT_EQ(areas.at(qRgb(255, 255, 0)), 5);
        EXPECT_EQ(areas.at(qRgb(0, 255, 255)), 4);
        EXPECT_EQ(areas.at(qRgb(0, 255, 0)), 3);
        if (size % 32 == 0) {
            EXPECT_TRUE(icon == committed.scaled(size, size));  // nearest pixel
        }
    }
}

// The web page's icons are committed (the WebAssembly build has no Qt to
// draw them): each is the window icon enlarged pixel for pixel.
TEST_F(ArtResources, page_icons_are_the_committed_icon_enlarged)
{
    const QImage committed = QImage(QStringLiteral(ICON_DIR "/korvantelo-32.png")).convertToFormat(QImage::Format_ARGB32);
    for (const int size : ui::art::icon::page_sizes) {
        const QString file = QStringLiteral(ART_DIR "/korvantelo-%1.png").arg(size);
        const QImage icon = QImageReader(file, "png").read().convertToFormat(QImage::Format_ARGB32);
        EXPECT_TRUE(icon == committed.scaled(size, size)) << file.toStdString();
    }
}

// The scalable icon's rectangles, filled on the 32-pixel grid, are the committed icon.
TEST_F(ArtResources, scalable_icon_is_the_committed_icon)
{
    QFile file(QStringLiteral(ICON_DIR "/korvantelo.svg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader svg(&file);
    ASSERT_TRUE(svg.readNextStartElement());
    EXPECT_EQ(svg.name(), QStringLiteral("svg"));
    EXPECT_EQ(svg.attributes().value("viewBox"), QStringLiteral("0 0 32 32"));
    QImage filled(32, 32, QImage::Format_ARGB32);
    filled.fill(0);
    while (!svg.atEnd()) {
        if (svg.readNext() != QXmlStreamReader::StartElement || svg.name() != QStringLiteral("rect")) continue;
        const QXmlStreamAttributes a = svg.attributes();
        const QRgb colour = QColor::fromString(a.value("fill")).rgb();
        for (int y = a.value("y").toInt(); y < a.value("y").toInt() + a.value("height").toInt(); ++y) {
            for (int x = a.value("x").toInt(); x < a.value("x").toInt() + a.value("width").toInt(); ++x) {
                filled.setPixel(x, y, colour);
            }
        }
    }
    ASSERT_FALSE(svg.hasError()) << svg.errorString().toStdString();
    EXPECT_TRUE(filled == QImage(QStringLiteral(ICON_DIR "/korvantelo-32.png")).convertToFormat(QImage::Format_ARGB32));
}

TEST_F(ArtResources, icon_serves_as_window_icon)
{
    const QIcon icon(committed("korvantelo.ico"));
    ASSERT_FALSE(icon.isNull());
    EXPECT_TRUE(icon.availableSizes().contains(QSize(32, 32)));
    const QImage shown = icon.pixmap(QSize(32, 32)).toImage();
    ASSERT_EQ(shown.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(shown.pixel(31, 0)), 0);
}

}  // namespace
