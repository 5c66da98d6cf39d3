#include "ui/art/art.h"

#include <QFile>
#include <QString>

namespace ui::art {

MissingArt::MissingArt(std::string_view path)
    : std::runtime_error("picture missing from the resources: " + std::string(path))
{
}

void require_resources(std::span<const std::string_view> paths)
{
    for (std::string_view path : paths) {
        if (!QFile::exists(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())))) {
            throw MissingArt(path);
        }
    }
}

}  // namespace ui::art
