#include "desktop/icon.h"

#include <QIODevice>
#include <QImageReader>

#include <string>

namespace desktop {

QImage icon_picture(QIODevice& ico, QSize size)
{
    QImageReader reader(&ico, "ico");
    if (!reader.canRead()) throw IconError("not an icon file: " + reader.errorString().toStdString());

    const int count = reader.imageCount();
    for (int i = 0; i < count; ++i) {
        if (!reader.jumpToImage(i)) throw IconError("cannot reach picture " + std::to_string(i));
        const QImage picture = reader.read();
        if (picture.isNull()) throw IconError("unreadable picture: " + reader.errorString().toStdString());
        if (picture.size() == size) return picture.convertToFormat(QImage::Format_ARGB32);
    }
    throw IconError("no " + std::to_string(size.width()) + "x" + std::to_string(size.height()) +
                    " picture among " + std::to_string(count));
}

}  // namespace desktop
