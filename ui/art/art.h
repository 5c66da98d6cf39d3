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

// The icon and the panel as the window reads them: decoded from the files
// above at build time into PNG and BMP, which Qt reads with its own readers,
// without loading an image plugin. The banner is a BMP already.
inline constexpr std::string_view decoded_icon_path = ":/art/decoded/korvantelo.png";
inline constexpr std::string_view decoded_panel_path = ":/art/decoded/image1.bmp";

// The icon at the other sizes that the window carries, so that title bars and
// task switchers up to twice the usual density show it sharp: drawn at build
// time after the same design, PNG as well. The 256-pixel picture is only
// installed: application grids take the installed icon, and the window would
// decode it at every start for nothing.
inline constexpr std::array<std::string_view, 5> icon_size_paths{
    ":/art/decoded/korvantelo-16.png", ":/art/decoded/korvantelo-24.png",
    ":/art/decoded/korvantelo-48.png", ":/art/decoded/korvantelo-64.png",
    ":/art/decoded/korvantelo-128.png"};

inline constexpr std::array<std::string_view, 10> resource_paths{
    icon_path, panel_path, banner_path, decoded_icon_path, decoded_panel_path,
    icon_size_paths[0], icon_size_paths[1], icon_size_paths[2], icon_size_paths[3],
    icon_size_paths[4]};

// A picture the window needs is not among the program's resources.
class MissingArt : public std::runtime_error {
public:
    explicit MissingArt(std::string_view path);
};

// Throws MissingArt for the first of `paths` that is not a resource.
void require_resources(std::span<const std::string_view> paths = resource_paths);

}  // namespace ui::art
