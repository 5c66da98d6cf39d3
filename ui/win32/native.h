#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string_view>

#include "ui/controls.h"
#include "ui/layout.h"
#include "ui/plan.h"

// How the window is made of Windows' own windows, for the view and for the
// bench's floor alike, so that the floor cannot make other windows than the
// view does.
namespace ui::win32 {

// A fixed tool window: a narrow title bar with the close button only, no
// minimise or maximise button, no sizing border, no taskbar button.
inline constexpr DWORD frame_style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
inline constexpr DWORD frame_ex_style = WS_EX_TOOLWINDOW;

struct NativeClass {
    const wchar_t* name;
    DWORD style;
    DWORD ex_style;
};

// The window class and styles of a kind of control; none for the lines and
// pictures, which the window paints.
[[nodiscard]] constexpr std::optional<NativeClass> native_class(Kind kind)
{
    switch (kind) {
    case Kind::text_box: return NativeClass{L"EDIT", ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};  // sunken 3D border
    case Kind::label:  // opaque, its text from the top-left corner, one line cut at the edge
        return NativeClass{L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
    case Kind::check_box: return NativeClass{L"BUTTON", BS_AUTOCHECKBOX, 0};
    case Kind::command_button: return NativeClass{L"BUTTON", BS_PUSHBUTTON, 0};  // neither default nor cancel
    case Kind::image_box:
    case Kind::line: break;
    }
    return std::nullopt;
}

// The styles of a control's state: overlapping controls drawn by their
// stacking, a tab stop where it takes the focus.
[[nodiscard]] constexpr DWORD state_style(const plan::Entry& e, bool visible)
{
    return WS_CHILD | WS_CLIPSIBLINGS | (e.focus != 0 ? WS_TABSTOP : 0) | (e.enabled ? 0 : WS_DISABLED) |
           (visible ? WS_VISIBLE : 0);
}

// A font of the plan in the window's face; Windows takes its own stand-in
// where the face is missing. Null when Windows cannot make it.
[[nodiscard]] inline HFONT create_font(const plan::Font& font)
{
    const std::string_view face = layout::faces.front();
    std::array<wchar_t, LF_FACESIZE> name{};
    MultiByteToWideChar(CP_UTF8, 0, face.data(), static_cast<int>(face.size()), name.data(), LF_FACESIZE - 1);
    return CreateFontW(-font.pixel_height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, name.data());
}

}  // namespace ui::win32
