#pragma once

#include <array>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

// The window's three pictures, compiled into the program as Qt resources by
// the korvantelo_art library. Linking that library is all it takes: the
// resources register themselves before main.
namespace ui::art {

inline constexpr std::string_view icon_path = ":/art/korvantelo.ico";  // window and program icon
inline constexpr std::string_view panel_path = ":/art/image1.jpg";     // Image1, top right
inline constexpr std::string_view banner_path = ":/art/image2.bmp";    // Image2, along the bottom

// The pictures as the window reads them: pixel files (pixel_file.h) that the
// build decodes from the files above, so that the program decodes nothing
// at start.
inline constexpr std::string_view icon_pixels_path = ":/art/pixels/korvantelo.pixels";
inline constexpr std::string_view panel_pixels_path = ":/art/pixels/image1.pixels";
inline constexpr std::string_view banner_pixels_path = ":/art/pixels/image2.pixels";

// The icon at the other sizes that the window carries, so that title bars and
// task switchers up to twice the usual density show it sharp: drawn at build
// time after the same design. The 256-pixel picture is only installed:
// application grids take the installed icon, and the window would copy it
// at every start for nothing.
inline constexpr std::array<std::string_view, 5> icon_size_pixels_paths{
    ":/art/pixels/korvantelo-16.pixels", ":/art/pixels/korvantelo-24.pixels",
    ":/art/pixels/korvantelo-48.pixels", ":/art/pixels/korvantelo-64.pixels",
    ":/art/pixels/korvantelo-128.pixels"};

inline constexpr std::array<std::string_view, 11> resource_paths{
    icon_path, panel_path, banner_path, icon_pixels_path, panel_pixels_path, banner_pixels_path,
    icon_size_pixels_paths[0], icon_size_pixels_paths[1], icon_size_pixels_paths[2],
    icon_size_pixels_paths[3], icon_size_pixels_paths[4]};

// A picture the window needs is not among the program's resources.
class MissingArt : public std::runtime_error {
public:
    explicit MissingArt(std::string_view path);
};

// Throws MissingArt for the first of `paths` that is not a resource.
void require_resources(std::span<const std::string_view> paths = resource_paths);

}  // namespace ui::art
