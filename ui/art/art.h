#pragma once

#include <string_view>

#include "ui/art/icon_sizes.h"

// Where the window finds its pictures: among the Qt view's resources, as
// pixel files (pixel_file.h) that the build decodes from the pictures in
// ui/art, so that the program decodes nothing at start. The pictures
// themselves are not compiled in. Linking the view is all it takes: the
// resources register themselves before main.
namespace ui::art {

inline constexpr std::string_view icon_pixels_path = ":/art/pixels/korvantelo.pixels";  // from korvantelo.ico
inline constexpr std::string_view panel_pixels_path = ":/art/pixels/image1.pixels";     // Image1, top right
inline constexpr std::string_view banner_pixels_path = ":/art/pixels/image2.pixels";    // Image2, along the bottom

// The icon at each of the other sizes that the window carries
// (icon::window_sizes), so that title bars and task switchers up to twice
// the usual density show it sharp: from korvantelo-<size>.png. The size in
// pixels takes the place of %1.
inline constexpr std::string_view icon_size_pixels_pattern = ":/art/pixels/korvantelo-%1.pixels";

}  // namespace ui::art
