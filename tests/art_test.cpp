// What the program promises of its pictures, read from what the build hands
// out: the Windows icon group in the compiled resources, and the pictures
// and icons as the page and the desktop get them.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QImageReader>
#include <QSize>
#include <QString>
#include <QtEndian>

#include <map>
#include <string_view>
#include <utility>

#include "ui/art/icon_sizes.h"
#include "ui/plan.h"

namespace {

struct Resource {
    int language;
    QByteArray data;
};

// The entries of a compiled resource file whose type and name are numbers,
// by type and name. Each entry starts on a 4-byte boundary: the data's size
// and the header's size (32 bits each), the type and the name (0xFFFF and a
// 16-bit number each), the data's version, flags, the language, and after
// the rest of the header the data.
std::map<std::pair<int, int>, Resource> numbered_resources(const QByteArray& res)
{
    std::map<std::pair<int, int>, Resource> found;
    for (qsizetype at = 0; at + 24 <= res.size();) {
        const auto* entry = reinterpret_cast<const uchar*>(res.constData() + at);
        const auto field = [entry](int offset) { return int{qFromLittleEndian<quint16>(entry + offset)}; };
        const auto data_size = qsizetype{qFromLittleEndian<quint32>(entry)};
        const auto header_size = qsizetype{qFromLittleEndian<quint32>(entry + 4)};
        if (header_size < 24) break;
        if (field(8) == 0xFFFF && field(12) == 0xFFFF) {
            found[{field(10), field(14)}] = {field(22), res.mid(at + header_size, data_size)};
        }
        at = (at + header_size + data_size + 3) & ~qsizetype{3};
    }
    return found;
}

// Windows takes the program's icon from group 1, language neutral, which
// names one image of 32 x 32 pixels in 16 colours: resource 30001, the 744
// bytes of korvantelo.ico's image.
TEST(windows_icon, is_group_1_of_one_32x32_image_of_16_colours)
{
    QFile file(QStringLiteral(RESOURCES));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << RESOURCES;
    const auto resources = numbered_resources(file.readAll());
    constexpr int rt_icon = 3;
    constexpr int rt_group_icon = 14;
    constexpr int neutral = 0;

    const auto group = resources.find({rt_group_icon, 1});
    ASSERT_NE(group, resources.end());
    EXPECT_EQ(group->second.language, neutral);
    // Reserved, type 1 (icon), one image; width, height, 16 colours,
    // reserved; one plane, 4 bits a pixel, 744 bytes, resource 30001.
    EXPECT_EQ(group->second.data.toHex(), "000001000100" "20201000" "0100" "0400" "e8020000" "3175");

    const auto image = resources.find({rt_icon, 30001});
    ASSERT_NE(image, resources.end());
    EXPECT_EQ(image->second.language, neutral);
    EXPECT_EQ(image->second.data.size(), 744);
}

QSize picture_size(std::string_view name)
{
    return QImageReader(QStringLiteral(ART_DIR "/") + QString::fromUtf8(name.data(), qsizetype(name.size()))).size();
}

// The panel and the banner at the size the layout gives each (the page
// shows these files as they are; the other front-ends convert them), and
// the icon at each of its sizes on the desktop.
TEST(pictures, have_the_sizes_the_layout_and_the_desktop_give_them)
{
    for (const ui::plan::Entry& e : ui::plan::base.entries()) {
        if (!e.look.picture) continue;
        const std::string_view name = ui::picture_file(*e.look.picture);
        EXPECT_EQ(picture_size(name), QSize(e.rect.width, e.rect.height)) << name;
    }
    for (const int size : ui::art::icon::desktop_sizes) {
        const QString file = QStringLiteral(ART_DIR "/korvantelo-%1.png").arg(size);
        EXPECT_EQ(QImageReader(file).size(), QSize(size, size)) << file.toStdString();
    }
}

}  // namespace
