// The desktop icon: which picture of an .ico file becomes the PNG, with its
// transparency, and that the built PNG is the window icon's own picture.
// The icon files of the first tests are assembled here byte by byte, so that
// each holds exactly the pictures a case needs.

#include "desktop/icon.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImageReader>
#include <QtEndian>

#include <gtest/gtest.h>

#include <vector>

namespace {

// One picture of an icon file: a single colour, and optionally its top-left
// pixel masked out (transparent).
struct Picture {
    int size;
    int bits;  // 1 (two-colour palette) or 32 (BGRA)
    QRgb colour;
    bool masked_corner = false;
};

void put16(QByteArray& out, quint16 value)
{
    const quint16 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&le), 2);
}

void put32(QByteArray& out, quint32 value)
{
    const quint32 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&le), 4);
}

int row_bytes(int width, int bits)
{
    return (width * bits + 31) / 32 * 4;  // rows are padded to 32 bits
}

// A picture as an icon stores it: bitmap header, palette, colour rows and
// mask rows, both bottom-up.
QByteArray bitmap(const Picture& p)
{
    QByteArray out;
    put32(out, 40);
    put32(out, static_cast<quint32>(p.size));
    put32(out, static_cast<quint32>(2 * p.size));  // colour rows and mask rows
    put16(out, 1);
    put16(out, static_cast<quint16>(p.bits));
    for (int i = 0; i < 6; ++i) put32(out, 0);  // no compression, sizes and palette counts implied

    const auto bgra = [&out](QRgb c, int alpha) {
        out.append(static_cast<char>(qBlue(c)));
        out.append(static_cast<char>(qGreen(c)));
        out.append(static_cast<char>(qRed(c)));
        out.append(static_cast<char>(alpha));
    };
    if (p.bits == 1) {
        bgra(qRgb(0, 0, 0), 0);
        bgra(p.colour, 0);
    }
    for (int y = p.size - 1; y >= 0; --y) {
        const qsizetype row_start = out.size();
        for (int x = 0; x < p.size; ++x) {
            if (p.bits == 32) bgra(p.colour, 255);
        }
        if (p.bits == 1) out.append(QByteArray(row_bytes(p.size, 1), '\xff'));  // every pixel colour 1
        out.append(QByteArray(row_bytes(p.size, p.bits) - (out.size() - row_start), '\0'));
    }
    for (int y = p.size - 1; y >= 0; --y) {
        QByteArray row(row_bytes(p.size, 1), '\0');
        if (p.masked_corner && y == 0) row[0] = static_cast<char>(0x80);  // pixel (0, 0)
        out.append(row);
    }
    return out;
}

QByteArray ico(const std::vector<Picture>& pictures)
{
    QByteArray head;
    put16(head, 0);
    put16(head, 1);  // icon
    put16(head, static_cast<quint16>(pictures.size()));
    QByteArray body;
    const auto data_start = static_cast<quint32>(6 + 16 * pictures.size());
    for (const Picture& p : pictures) {
        const QByteArray data = bitmap(p);
        head.append(static_cast<char>(p.size));
        head.append(static_cast<char>(p.size));
        head.append(static_cast<char>(p.bits == 1 ? 2 : 0));
        head.append('\0');
        put16(head, 1);
        put16(head, static_cast<quint16>(p.bits));
        put32(head, static_cast<quint32>(data.size()));
        put32(head, data_start + static_cast<quint32>(body.size()));
        body.append(data);
    }
    return head + body;
}

QImage picture_of(QByteArray data, QSize size = {32, 32})
{
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    return desktop::icon_picture(buffer, size);
}

// Every pixel, or every one but the top-left, has this colour.
void expect_filled(const QImage& image, QRgb colour, bool but_corner = false)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (but_corner && x == 0 && y == 0) continue;
            ASSERT_EQ(image.pixel(x, y), colour) << "at " << x << "," << y;
        }
    }
}

constexpr QRgb red = 0xffff0000;
constexpr QRgb green = 0xff00ff00;
constexpr QRgb blue = 0xff0000ff;
constexpr QRgb yellow = 0xffffff00;

TEST(IconPicture, TakesThe32PixelPictureOutOfSeveralSizes)
{
    const QImage image = picture_of(ico({{16, 32, red}, {32, 32, green}, {48, 32, blue}}));
    EXPECT_EQ(image.size(), QSize(32, 32));
    EXPECT_EQ(image.format(), QImage::Format_ARGB32);
    expect_filled(image, green);
}

TEST(IconPicture, KeepsTheMaskAsTransparency)
{
    const QImage image = picture_of(ico({{32, 1, yellow, true}}));
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    expect_filled(image, yellow, true);
}

TEST(IconPicture, NeverScalesAnotherSize)
{
    EXPECT_THROW(static_cast<void>(picture_of(ico({{16, 32, red}, {48, 32, blue}}))), desktop::IconError);
    EXPECT_THROW(static_cast<void>(picture_of(ico({{32, 32, green}}), {48, 48})), desktop::IconError);
}

TEST(IconPicture, RejectsWhatIsNoIcon)
{
    EXPECT_THROW(static_cast<void>(picture_of(QByteArray())), desktop::IconError);
    EXPECT_THROW(static_cast<void>(picture_of(QByteArray("GIF89a not an icon at all"))), desktop::IconError);
}

// The PNG the build installs is the window icon's picture, pixel for pixel,
// transparency included.
TEST(DesktopIcon, IsTheWindowIconsPicture)
{
    QImageReader reader(QStringLiteral(WINDOW_ICON));
    const QImage window_icon = reader.read().convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(window_icon.isNull()) << qPrintable(reader.errorString());
    ASSERT_EQ(window_icon.size(), QSize(32, 32));

    QFile png_file(QStringLiteral(DESKTOP_ICON));
    ASSERT_TRUE(png_file.open(QIODevice::ReadOnly));
    const QByteArray png_bytes = png_file.readAll();
    ASSERT_TRUE(png_bytes.startsWith("\x89PNG\r\n\x1a\n"));
    const QImage png = QImage::fromData(png_bytes, "PNG").convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(png.size(), QSize(32, 32));
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) ASSERT_EQ(png.pixel(x, y), window_icon.pixel(x, y)) << x << "," << y;
    }
}

}  // namespace
