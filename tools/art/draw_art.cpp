// Draws Korvantelo's three pictures and writes them into the folder given as
// the only argument:
//
//   korvantelo.ico  the window and program icon: 32 x 32, 16 colours, 4 bpp
//   image1.jpg      the branding panel at the window's top right: 184 x 157
//   image2.bmp      the branding banner along the window's bottom: 584 x 39
//   korvantelo-192.png, korvantelo-512.png
//                   the icon for the web page's manifest (home screen, app list)
//
// Everything is drawn from data: the icon from its design in icon_design.h, the
// lettering with a built-in pixel font and a stroked logotype, so the output
// does not depend on the fonts installed. The icon is written byte by byte
// (Qt's writer knows no 16-colour icon); the bitmap and the JPEG come from
// Qt's writers, the JPEG at a fixed quality with its header checked before
// the file is kept.

#include "ui/art/binary_formats.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QString>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ui/art/icon_design.h"

namespace {

namespace fs = std::filesystem;

// ---------------------------------------------------------------- colours ---

// The house colours.
const QColor ink{28, 24, 20};        // the banner strip, dark lettering
const QColor silver{192, 192, 192};  // the banner's band and edge lines
const QColor amber{242, 166, 0};     // the pulse mark
const QColor paper{255, 255, 255};
const QColor mist{234, 234, 232};  // the panel's lower ground
const QColor rule{204, 204, 200};  // the line between the panel's grounds
const QColor slate{96, 92, 88};    // secondary lettering

// ------------------------------------------------------------- little end ---

class Bytes {
public:
    void u8(unsigned value) { ui::art::append_le(data_, value, 1); }
    void u16(unsigned value) { ui::art::append_le(data_, value, 2); }
    void u32(std::uint32_t value) { ui::art::append_le(data_, value, 4); }
    void i32(std::int32_t value) { u32(static_cast<std::uint32_t>(value)); }
    [[nodiscard]] std::size_t size() const { return data_.size(); }
    [[nodiscard]] const std::vector<std::uint8_t>& data() const { return data_; }

private:
    std::vector<std::uint8_t> data_;
};

void write_file(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

// 96 dots per inch, in dots per metre as the bitmap headers and QImage hold it.
constexpr int dots_per_metre_96dpi = 3780;

// ------------------------------------------------------------- pixel font ---

// A glyph's rows from its first row down, separated by '/', '#' set. Row 0 is
// the top of a capital; `top` moves the first row up (umlaut dots above
// capitals) or down. Capitals stand 7 rows tall, descenders take rows 7 and 8.
struct Glyph {
    char32_t code;
    int top;
    std::string_view rows;
};

constexpr std::array glyphs{
    Glyph{U'A', 0, ".###./#...#/#...#/#####/#...#/#...#/#...#"},
    Glyph{U'B', 0, "####./#...#/#...#/####./#...#/#...#/####."},
    Glyph{U'C', 0, ".###./#...#/#..../#..../#..../#...#/.###."},
    Glyph{U'D', 0, "####./#...#/#...#/#...#/#...#/#...#/####."},
    Glyph{U'E', 0, "#####/#..../#..../####./#..../#..../#####"},
    Glyph{U'F', 0, "#####/#..../#..../####./#..../#..../#...."},
    Glyph{U'G', 0, ".###./#...#/#..../#.###/#...#/#...#/.####"},
    Glyph{U'H', 0, "#...#/#...#/#...#/#####/#...#/#...#/#...#"},
    Glyph{U'I', 0, "###/.#./.#./.#./.#./.#./###"},
    Glyph{U'J', 0, "..###/...#./...#./...#./...#./#..#./.##.."},
    Glyph{U'K', 0, "#...#/#..#./#.#../##.../#.#../#..#./#...#"},
    Glyph{U'L', 0, "#..../#..../#..../#..../#..../#..../#####"},
    Glyph{U'M', 0, "#...#/##.##/#.#.#/#.#.#/#...#/#...#/#...#"},
    Glyph{U'N', 0, "#...#/#...#/##..#/#.#.#/#..##/#...#/#...#"},
    Glyph{U'O', 0, ".###./#...#/#...#/#...#/#...#/#...#/.###."},
    Glyph{U'P', 0, "####./#...#/#...#/####./#..../#..../#...."},
    Glyph{U'Q', 0, ".###./#...#/#...#/#...#/#.#.#/#..#./.##.#"},
    Glyph{U'R', 0, "####./#...#/#...#/####./#.#../#..#./#...#"},
    Glyph{U'S', 0, ".####/#..../#..../.###./....#/....#/####."},
    Glyph{U'T', 0, "#####/..#../..#../..#../..#../..#../..#.."},
    Glyph{U'U', 0, "#...#/#...#/#...#/#...#/#...#/#...#/.###."},
    Glyph{U'V', 0, "#...#/#...#/#...#/#...#/#...#/.#.#./..#.."},
    Glyph{U'W', 0, "#...#/#...#/#...#/#.#.#/#.#.#/##.##/#...#"},
    Glyph{U'X', 0, "#...#/#...#/.#.#./..#../.#.#./#...#/#...#"},
    Glyph{U'Y', 0, "#...#/#...#/.#.#./..#../..#../..#../..#.."},
    Glyph{U'Z', 0, "#####/....#/...#./..#../.#.../#..../#####"},
    Glyph{U'Ä', -2, ".#.#./...../.###./#...#/#...#/#####/#...#/#...#/#...#"},
    Glyph{U'Ö', -2, ".#.#./...../.###./#...#/#...#/#...#/#...#/#...#/.###."},
    Glyph{U'Ü', -2, ".#.#./...../#...#/#...#/#...#/#...#/#...#/#...#/.###."},
    Glyph{U'a', 2, ".###./....#/.####/#...#/.####"},
    Glyph{U'b', 0, "#..../#..../####./#...#/#...#/#...#/####."},
    Glyph{U'c', 2, ".###/#.../#.../#.../.###"},
    Glyph{U'd', 0, "....#/....#/.####/#...#/#...#/#...#/.####"},
    Glyph{U'e', 2, ".###./#...#/#####/#..../.###."},
    Glyph{U'f', 0, "..##/.#../####/.#../.#../.#../.#.."},
    Glyph{U'g', 2, ".####/#...#/#...#/#...#/.####/....#/.###."},
    Glyph{U'h', 0, "#..../#..../####./#...#/#...#/#...#/#...#"},
    Glyph{U'i', 0, "#/./#/#/#/#/#"},
    Glyph{U'j', 0, "..#/.../..#/..#/..#/..#/..#/..#/##."},
    Glyph{U'k', 0, "#.../#.../#..#/#.#./##../#.#./#..#"},
    Glyph{U'l', 0, "#./#./#./#./#./#./.#"},
    Glyph{U'm', 2, "##.#./#.#.#/#.#.#/#.#.#/#.#.#"},
    Glyph{U'n', 2, "####./#...#/#...#/#...#/#...#"},
    Glyph{U'o', 2, ".###./#...#/#...#/#...#/.###."},
    Glyph{U'p', 2, "####./#...#/#...#/#...#/####./#..../#...."},
    Glyph{U'q', 2, ".####/#...#/#...#/#...#/.####/....#/....#"},
    Glyph{U'r', 2, "#.##/##../#.../#.../#..."},
    Glyph{U's', 2, ".####/#..../.###./....#/####."},
    Glyph{U't', 0, ".#../.#../####/.#../.#../.#../..##"},
    Glyph{U'u', 2, "#...#/#...#/#...#/#...#/.####"},
    Glyph{U'v', 2, "#...#/#...#/#...#/.#.#./..#.."},
    Glyph{U'w', 2, "#...#/#...#/#.#.#/#.#.#/.#.#."},
    Glyph{U'x', 2, "#...#/.#.#./..#../.#.#./#...#"},
    Glyph{U'y', 2, "#...#/#...#/#...#/#...#/.####/....#/.###."},
    Glyph{U'z', 2, "#####/...#./..#../.#.../#####"},
    Glyph{U'ä', 0, ".#.#./...../.###./....#/.####/#...#/.####"},
    Glyph{U'ö', 0, ".#.#./...../.###./#...#/#...#/#...#/.###."},
    Glyph{U'ü', 0, ".#.#./...../#...#/#...#/#...#/#...#/.####"},
    Glyph{U'ß', 0, ".##../#..#./#..#./#.#../#..#./#...#/#.##."},
    Glyph{U'0', 0, ".###./#...#/#..##/#.#.#/##..#/#...#/.###."},
    Glyph{U'1', 0, "..#../.##../..#../..#../..#../..#../.###."},
    Glyph{U'2', 0, ".###./#...#/....#/...#./..#../.#.../#####"},
    Glyph{U'3', 0, "#####/...#./..#../...#./....#/#...#/.###."},
    Glyph{U'4', 0, "...#./..##./.#.#./#..#./#####/...#./...#."},
    Glyph{U'5', 0, "#####/#..../####./....#/....#/#...#/.###."},
    Glyph{U'6', 0, "..##./.#.../#..../####./#...#/#...#/.###."},
    Glyph{U'7', 0, "#####/....#/...#./..#../.#.../.#.../.#..."},
    Glyph{U'8', 0, ".###./#...#/#...#/.###./#...#/#...#/.###."},
    Glyph{U'9', 0, ".###./#...#/#...#/.####/....#/...#./.##.."},
    Glyph{U'.', 6, "#"},
    Glyph{U',', 5, ".#/.#/#."},
    Glyph{U':', 2, "#/./././#"},
    Glyph{U'-', 3, "####"},
    Glyph{U'·', 3, "#"},
    Glyph{U'@', 0, ".###./#...#/#.###/#.#.#/#.###/#..../.####"},
    Glyph{U'+', 1, "..#../..#../#####/..#../..#.."},
    Glyph{U'/', 0, "....#/....#/...#./..#../.#.../#..../#...."},
};

constexpr int space_width = 3;

const Glyph& glyph_for(char32_t code)
{
    for (const auto& glyph : glyphs) {
        if (glyph.code == code) {
            return glyph;
        }
    }
    throw std::runtime_error("the pixel font has no glyph U+" + QString::number(code, 16).toUpper().toStdString());
}

int glyph_width(const Glyph& glyph)
{
    return static_cast<int>(glyph.rows.find('/') == std::string_view::npos ? glyph.rows.size()
                                                                             : glyph.rows.find('/'));
}

// Width in pixels of a line of text set with `spacing` pixels between letters.
int text_width(std::u32string_view text, int spacing = 1)
{
    int width = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        width += text[i] == U' ' ? space_width : glyph_width(glyph_for(text[i]));
        if (i + 1 < text.size()) {
            width += spacing;
        }
    }
    return width;
}

// Draws a line of text from `at`, the top of its capitals at at.y().
void draw_text(QImage& image, QPoint at, std::u32string_view text, const QColor& colour, int spacing = 1)
{
    int x = at.x();
    const int y = at.y();
    const QRgb rgb = colour.rgb();
    for (char32_t code : text) {
        if (code == U' ') {
            x += space_width + spacing;
            continue;
        }
        const Glyph& glyph = glyph_for(code);
        int row = glyph.top;
        int column = 0;
        for (char c : glyph.rows) {
            if (c == '/') {
                ++row;
                column = 0;
                continue;
            }
            if (c == '#') {
                const int px = x + column;
                const int py = y + row;
                if (!image.rect().contains(px, py)) {
                    throw std::runtime_error("lettering runs off the picture");
                }
                image.setPixel(px, py, rgb);
            }
            ++column;
        }
        x += glyph_width(glyph) + spacing;
    }
}

// --------------------------------------------------------------- the logo ---

// The word KORVANTELO as a stroked logotype: straight strokes of one weight,
// flat ends cut level at the cap line and the base line.
class Logotype {
public:
    explicit Logotype(double cap_height)
        : h_(cap_height), w_(cap_height * 0.16), s_(w_ / 2), gap_(cap_height * 0.26)
    {
    }

    [[nodiscard]] double width() const
    {
        double total = 0;
        for (char32_t letter : word) {
            total += advance(letter);
        }
        return total - gap_;
    }

    [[nodiscard]] double height() const { return h_; }

    // Draws the word with the top of its letters at `origin`.
    void draw(QPainter& painter, QPointF origin, const QColor& colour) const
    {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, true);
        QPen pen(colour, w_, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        pen.setMiterLimit(8);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.setClipRect(QRectF(origin.x() - h_, origin.y(), width() + 2 * h_, h_));
        double x = origin.x();
        for (char32_t letter : word) {
            painter.drawPath(letter_path(letter).translated(x, origin.y()));
            x += advance(letter);
        }
        painter.restore();
    }

private:
    static constexpr std::u32string_view word = U"KORVANTELO";

    [[nodiscard]] double letter_width(char32_t letter) const
    {
        switch (letter) {
        case U'O': return h_ * 0.80;
        case U'A':
        case U'V': return h_ * 0.74;
        case U'N': return h_ * 0.68;
        case U'K':
        case U'R': return h_ * 0.64;
        case U'T': return h_ * 0.66;
        case U'E': return h_ * 0.56;
        case U'L': return h_ * 0.52;
        default: throw std::logic_error("the logotype has no such letter");
        }
    }

    [[nodiscard]] double advance(char32_t letter) const { return letter_width(letter) + gap_; }

    // Centre lines of a letter in a box from (0, 0) to (width, h_). Ends that
    // meet the cap line or the base line run past it and are cut by the clip.
    [[nodiscard]] QPainterPath letter_path(char32_t letter) const
    {
        const double w = letter_width(letter);
        const double top = s_;
        const double bottom = h_ - s_;
        const double above = -w_ * 2;
        const double below = h_ + w_ * 2;
        QPainterPath path;
        auto line = [&path](QPointF a, QPointF b) {
            path.moveTo(a);
            path.lineTo(b);
        };
        // The point where the line from a through b crosses height y.
        auto at_height = [](QPointF a, QPointF b, double y) {
            return QPointF(a.x() + (b.x() - a.x()) * (y - a.y()) / (b.y() - a.y()), y);
        };
        switch (letter) {
        case U'K': {
            line({s_, above}, {s_, below});
            const QPointF join{s_, h_ * 0.62};
            const QPointF arm{w - s_ * 1.4, 0};
            line(join, at_height(join, arm, above));
            const QPointF knee = join + (arm - join) * 0.36;
            line(knee, at_height(knee, {w - s_ * 1.2, h_}, below));
            break;
        }
        case U'O': {
            const double radius = (w - w_) * 0.42;
            path.addRoundedRect(QRectF(s_, top, w - w_, bottom - top), radius, radius);
            break;
        }
        case U'R': {
            const double middle = h_ * 0.56;
            const double radius = (middle - top) / 2;
            path.moveTo(s_, below);
            path.lineTo(s_, top);
            path.lineTo(w - s_ - radius, top);
            path.arcTo(QRectF(w - s_ - 2 * radius, top, 2 * radius, 2 * radius), 90, -180);
            path.lineTo(s_, middle);
            const QPointF leg{w * 0.46, middle};
            line(leg, at_height(leg, {w - s_ * 1.2, h_}, below));
            break;
        }
        case U'V': {
            const QPointF tip{w / 2, h_ + s_ * 0.6};
            path.moveTo(at_height(tip, {s_ * 1.2, 0}, above));
            path.lineTo(tip);
            path.lineTo(at_height(tip, {w - s_ * 1.2, 0}, above));
            break;
        }
        case U'A': {
            const QPointF tip{w / 2, -s_ * 0.6};
            const QPointF left{s_ * 1.2, h_};
            const QPointF right{w - s_ * 1.2, h_};
            path.moveTo(at_height(tip, left, below));
            path.lineTo(tip);
            path.lineTo(at_height(tip, right, below));
            const double bar = h_ * 0.68;
            line(at_height(tip, left, bar), at_height(tip, right, bar));
            break;
        }
        case U'N':
            path.moveTo(s_, below);
            path.lineTo(s_, -s_);
            path.lineTo(w - s_, h_ + s_);
            path.lineTo(w - s_, above);
            break;
        case U'T':
            line({0, top}, {w, top});
            line({w / 2, top}, {w / 2, below});
            break;
        case U'E':
            path.moveTo(w, top);
            path.lineTo(s_, top);
            path.lineTo(s_, bottom);
            path.lineTo(w, bottom);
            line({s_, h_ / 2}, {w * 0.9, h_ / 2});
            break;
        case U'L':
            path.moveTo(s_, above);
            path.lineTo(s_, bottom);
            path.lineTo(w, bottom);
            break;
        default: throw std::logic_error("the logotype has no such letter");
        }
        return path;
    }

    double h_;    // cap height
    double w_;    // stroke weight
    double s_;    // half the stroke weight
    double gap_;  // space between letters
};

// The pulse mark: an amber tile with a train of two square pulses in ink,
// the pulse line laid on whole pixels so that it stays sharp when small.
void draw_pulse_mark(QPainter& painter, QPoint corner, int size)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(amber);
    painter.drawRoundedRect(QRectF(corner, QSizeF(size, size)), size * 0.2, size * 0.2);

    const int weight = std::max(2, static_cast<int>(std::lround(size * 0.1)));
    const double centre = weight % 2 == 0 ? 0.0 : 0.5;
    QPen pen(ink, weight, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    auto at = [&corner, size, centre](double x, double y) {
        return QPointF(corner.x() + std::round(x * size) + centre, corner.y() + std::round(y * size) + centre);
    };
    const double low = 0.69;
    const double high = 0.31;
    const QPolygonF pulses{{
        at(0.12, low), at(0.26, low), at(0.26, high), at(0.42, high), at(0.42, low),
        at(0.58, low), at(0.58, high), at(0.74, high), at(0.74, low), at(0.88, low),
    }};
    painter.drawPolyline(pulses);
    painter.restore();
}

// --------------------------------------------------------------- the icon ---

constexpr int icon_size = 32;

struct IconPixels {
    std::array<std::array<std::uint8_t, icon_size>, icon_size> index{};    // [y][x], top row first
    std::array<std::array<bool, icon_size>, icon_size> transparent{};      // the AND mask
};

// The icon's design at 32 pixels (ui/art/icon_design.h), as palette indices
// and mask.
IconPixels draw_icon()
{
    const std::vector<int> drawn = ui::art::icon::pixels(icon_size);
    IconPixels icon;
    for (int y = 0; y < icon_size; ++y) {
        for (int x = 0; x < icon_size; ++x) {
            const int colour = drawn[ui::art::icon::pixel_at(x, y, icon_size)];
            icon.transparent[y][x] = colour < 0;
            icon.index[y][x] = static_cast<std::uint8_t>(std::max(colour, 0));
        }
    }
    return icon;
}

// The icon file: one 32 x 32 image, 4 bits per pixel with the standard
// palette, and its AND mask. Transparent pixels are 0 in the XOR image.
std::vector<std::uint8_t> encode_icon(const IconPixels& icon)
{
    constexpr std::uint32_t header_size = ui::art::ico::bitmap_header_size;
    constexpr std::uint32_t palette_size = ui::art::ico::palette_size;
    constexpr std::uint32_t xor_row = (icon_size * 4 / 8 + 3) / 4 * 4;
    constexpr std::uint32_t and_row = (icon_size + 31) / 32 * 4;
    constexpr std::uint32_t pixel_bytes = (xor_row + and_row) * icon_size;
    constexpr std::uint32_t image_size = header_size + palette_size + pixel_bytes;
    static_assert(image_size == 744);
    constexpr std::uint32_t directory_size = ui::art::ico::image_offset;

    Bytes out;
    // The directory: reserved, type 1 = icon, one image.
    out.u16(0);
    out.u16(1);
    out.u16(1);
    // Its one entry.
    out.u8(icon_size);
    out.u8(icon_size);
    out.u8(16);  // colours
    out.u8(0);   // reserved
    out.u16(1);  // planes
    out.u16(4);  // bits per pixel
    out.u32(image_size);
    out.u32(directory_size);

    // The image: a bitmap header whose height counts the XOR and AND halves.
    out.u32(header_size);
    out.i32(icon_size);
    out.i32(icon_size * 2);
    out.u16(1);
    out.u16(4);
    out.u32(0);  // BI_RGB
    out.u32(pixel_bytes);
    out.i32(0);
    out.i32(0);
    out.u32(0);
    out.u32(0);
    for (std::uint32_t colour : ui::art::icon::palette) {
        out.u8(colour & 0xFFu);
        out.u8((colour >> 8) & 0xFFu);
        out.u8((colour >> 16) & 0xFFu);
        out.u8(0);
    }
    // The XOR image, bottom row first, two pixels a byte, left pixel high.
    for (int y = icon_size - 1; y >= 0; --y) {
        const auto& row = icon.index[static_cast<std::size_t>(y)];
        const auto& mask = icon.transparent[static_cast<std::size_t>(y)];
        std::uint32_t written = 0;
        for (std::size_t x = 0; x < icon_size; x += 2) {
            const unsigned high = mask[x] ? 0u : row[x];
            const unsigned low = mask[x + 1] ? 0u : row[x + 1];
            out.u8(high << 4 | low);
            ++written;
        }
        for (; written < xor_row; ++written) {
            out.u8(0);
        }
    }
    // The AND mask, bottom row first, one bit a pixel, 1 = transparent.
    for (int y = icon_size - 1; y >= 0; --y) {
        const auto& mask = icon.transparent[static_cast<std::size_t>(y)];
        std::uint32_t written = 0;
        for (std::size_t x = 0; x < icon_size; x += 8) {
            unsigned bits = 0;
            for (std::size_t bit = 0; bit < 8; ++bit) {
                bits = bits << 1 | (mask[x + bit] ? 1u : 0u);
            }
            out.u8(bits);
            ++written;
        }
        for (; written < and_row; ++written) {
            out.u8(0);
        }
    }
    if (out.size() != directory_size + image_size) {
        throw std::logic_error("the icon came out at the wrong size");
    }
    return out.data();
}

// ------------------------------------------------------------- the panel ---

constexpr int panel_width = 184;
constexpr int panel_height = 157;

// The branding panel: the pulse mark over the word on white, the contact
// lines on light grey below.
QImage draw_panel()
{
    QImage image(panel_width, panel_height, QImage::Format_RGB32);
    image.fill(paper);
    constexpr int split = 94;  // first row of the lower ground

    {
        QPainter painter(&image);
        painter.fillRect(QRect(0, split, panel_width, panel_height - split), mist);
        painter.fillRect(QRect(0, split, panel_width, 1), rule);

        constexpr int mark = 34;
        draw_pulse_mark(painter, QPoint((panel_width - mark) / 2, 12), mark);

        const Logotype word(15);
        word.draw(painter, QPointF(std::round((panel_width - word.width()) / 2), 56), ink);
    }

    constexpr std::u32string_view tagline = U"ZÄHLER · WANDLER · IMPULSE";
    draw_text(image, {(panel_width - text_width(tagline)) / 2, 80}, tagline, slate);

    constexpr std::array<std::u32string_view, 5> contact{
        U"Wandlerweg 7",
        U"00000 Musterhausen",
        U"Tel. 030 23125 417",
        U"info@korvantelo.example.org",
        U"www.korvantelo.example.org",
    };
    int y = split + 8;
    for (std::u32string_view line : contact) {
        draw_text(image, {(panel_width - text_width(line)) / 2, y}, line, ink);
        y += 11;
    }
    return image;
}

// Writes the panel as a baseline JFIF JPEG that says 96 dots per inch, and
// checks that the header says so.
void write_panel(const QImage& panel, const fs::path& path)
{
    QImage image = panel;
    image.setDotsPerMeterX(dots_per_metre_96dpi);
    image.setDotsPerMeterY(dots_per_metre_96dpi);

    QImageWriter writer(QString::fromStdString(path.string()), "jpg");
    writer.setQuality(95);
    writer.setOptimizedWrite(false);
    writer.setProgressiveScanWrite(false);
    if (!writer.write(image)) {
        throw std::runtime_error("cannot write " + path.string() + ": " + writer.errorString().toStdString());
    }

    std::ifstream in(path, std::ios::binary);
    std::array<std::uint8_t, 18> head{};
    in.read(reinterpret_cast<char*>(head.data()), head.size());
    if (!in) {
        throw std::runtime_error("cannot read back " + path.string());
    }
    if (!ui::art::is_jfif_at_96_dpi(head)) {
        throw std::runtime_error(path.string() + " does not start with a JFIF header saying 96 dots per inch");
    }
}

// ------------------------------------------------------------ the banner ---

constexpr int banner_width = 584;
constexpr int banner_height = 39;
constexpr int band_height = 9;     // the silver band along the top
constexpr int strip_height = 29;   // the dark strip below it
constexpr int visible_width = 559; // what the window shows of the banner

// The branding banner: silver band, dark strip with two lines of capitals at
// the left and the logo at the right of the visible part, silver edge lines.
QImage draw_banner()
{
    QImage image(banner_width, banner_height, QImage::Format_RGB32);
    image.fill(silver);
    constexpr int strip_top = band_height;

    {
        QPainter painter(&image);
        painter.fillRect(QRect(0, strip_top, banner_width - 1, strip_height), ink);

        const Logotype word(13);
        constexpr int mark = 21;
        constexpr int right_margin = 12;
        const int word_left = static_cast<int>(std::lround(visible_width - right_margin - word.width()));
        const int mark_left = word_left - 9 - mark;
        draw_pulse_mark(painter, QPoint(mark_left, strip_top + (strip_height - mark) / 2), mark);
        word.draw(painter, QPointF(word_left, strip_top + 8), paper);
    }

    draw_text(image, {10, strip_top + 5}, U"ZÄHLER · WANDLER · IMPULSE", paper, 2);
    draw_text(image, {10, strip_top + 16}, U"ENERGIE JE IMPULS, EXAKT BERECHNET", paper);
    return image;
}

// A Windows bitmap, 24 bits per pixel, uncompressed, as Qt's writer makes
// it of an opaque picture that says 96 dots per inch.
void write_banner(QImage banner, const fs::path& path)
{
    banner = banner.convertToFormat(QImage::Format_RGB32);
    banner.setDotsPerMeterX(dots_per_metre_96dpi);
    banner.setDotsPerMeterY(dots_per_metre_96dpi);
    if (!banner.save(QString::fromStdString(path.string()), "BMP")) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

// The icon at one of the web page's sizes, 8-bit RGBA.
void write_page_icon(int size, const fs::path& folder)
{
    QImage image(size, size, QImage::Format_ARGB32);
    const std::vector<std::uint32_t> pixels = ui::art::icon::argb(size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) image.setPixel(x, y, pixels[ui::art::icon::pixel_at(x, y, size)]);
    }
    const fs::path path = folder / ("korvantelo-" + std::to_string(size) + ".png");
    if (!image.save(QString::fromStdString(path.string()), "png")) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

void draw_all(const fs::path& folder)
{
    if (!fs::is_directory(folder)) {
        throw std::runtime_error(folder.string() + " is not a folder");
    }
    write_file(folder / "korvantelo.ico", encode_icon(draw_icon()));
    write_panel(draw_panel(), folder / "image1.jpg");
    write_banner(draw_banner(), folder / "image2.bmp");
    for (const int size : ui::art::icon::page_sizes) write_page_icon(size, folder);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: " << (argc > 0 ? argv[0] : "draw_art") << " <folder>\n";
        return 2;
    }
    try {
        draw_all(argv[1]);
    } catch (const std::exception& error) {
        std::cerr << "draw_art: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
