#pragma once

#include <QImage>
#include <QSize>

#include <stdexcept>

class QIODevice;

// The desktop icon is the window icon: the picture of one size out of the
// program's .ico file, ready to be written as a PNG for an icon theme.
namespace desktop {

// The icon file cannot be read, or holds no picture of the size asked for.
class IconError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The first picture of exactly `size` among those in the .ico data, as 32-bit
// ARGB with the icon's transparency. No other size is ever scaled to it.
[[nodiscard]] QImage icon_picture(QIODevice& ico, QSize size);

}  // namespace desktop
