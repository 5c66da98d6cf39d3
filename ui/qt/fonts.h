#pragma once

#include <QFont>
#include <QFontDatabase>
#include <QString>
#include <QStringList>

#include <string_view>

#include "ui/plan.h"

// The window's fonts in Qt's terms, for the view and for the bench's floor
// alike, so that the floor cannot ask for other faces than the window does.
namespace ui::qt {

// The plan's faces, the first of them that is installed at the front.
[[nodiscard]] inline QStringList window_faces()
{
    QStringList faces;
    for (const std::string_view face : plan::faces([](std::string_view face) {
             return QFontDatabase::hasFamily(QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size())));
         })) {
        faces.append(QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size())));
    }
    return faces;
}

// A font of the plan in those faces.
[[nodiscard]] inline QFont window_font(const plan::Font& font, const QStringList& faces)
{
    QFont result(faces.front());
    result.setFamilies(faces);
    result.setPixelSize(font.pixel_height);
    result.setBold(font.bold);
    return result;
}

}  // namespace ui::qt
