// Writes the desktop icon at build time: the 32x32 picture of the window
// icon as a PNG for the hicolor icon theme.
//   korvantelo_icon_png <icon.ico> <icon.png>

#include <QFile>
#include <QSaveFile>
#include <QString>

#include <cstdio>
#include <exception>

#include "desktop/icon.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: korvantelo_icon_png <icon.ico> <icon.png>\n", stderr);
        return 2;
    }
    try {
        const QString ico_path = QString::fromLocal8Bit(argv[1]);
        const QString png_path = QString::fromLocal8Bit(argv[2]);
        QFile ico(ico_path);
        if (!ico.open(QIODevice::ReadOnly)) throw desktop::IconError(ico.errorString().toStdString());
        const QImage picture = desktop::icon_picture(ico, QSize(32, 32));
        // All or nothing: a failed run leaves no PNG that looks up to date.
        QSaveFile png(png_path);
        if (!png.open(QIODevice::WriteOnly) || !picture.save(&png, "PNG") || !png.commit()) {
            throw desktop::IconError("cannot write " + png_path.toStdString() + ": " +
                                     png.errorString().toStdString());
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korvantelo_icon_png: %s: %s\n", argv[1], e.what());
        return 1;
    }
}
