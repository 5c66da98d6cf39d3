#pragma once

// Numbers that the Win32 window, its resources and the tests that drive it
// from outside share. Plain macros where the resource compiler reads them.
#define KORVANTELO_PANEL_BITMAP 101   /* Image1, decoded from the JPEG at build time */
#define KORVANTELO_BANNER_BITMAP 102  /* Image2 */

#ifdef __cplusplus
#include "ui/controls.h"
#include "ui/plan.h"
#include "ui/presentation.h"

namespace ui::win32 {

// The program's icon group, which the executable's resource script holds.
inline constexpr int icon_group = 1;

// The child window identifier of a control. Far above IDOK (1) and IDCANCEL
// (2), which the dialog keys Enter and Esc send to the window.
inline constexpr int first_control_id = 1000;

[[nodiscard]] constexpr int control_id(Control id)
{
    return first_control_id + static_cast<int>(index(id));
}

// The child window identifier of the group box over one of the boxes.
inline constexpr int first_group_id = 2000;

[[nodiscard]] constexpr int group_id(plan::Group group)
{
    return first_group_id + static_cast<int>(group);
}

// The bitmap resource that holds a picture.
[[nodiscard]] constexpr int picture_resource(Picture picture)
{
    return picture == Picture::panel ? KORVANTELO_PANEL_BITMAP : KORVANTELO_BANNER_BITMAP;
}

}  // namespace ui::win32
#endif
