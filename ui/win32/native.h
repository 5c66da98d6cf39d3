#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "ui/controls.h"
#include "ui/layout.h"
#include "ui/plan.h"
#include "ui/presentation.h"
#include "ui/win32/text.h"

// How the window is made of Windows' own windows, for the view and for the
// bench's floor alike, so that the floor cannot make other windows than the
// view does.
namespace ui::win32 {

// The window's frame: a title bar with the close button only, no minimise
// or maximise button; a tool window's narrow one without a taskbar button,
// a sizing border only where the window can be resized.
inline constexpr DWORD frame_style =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | (frame.resizable ? WS_THICKFRAME : 0);
inline constexpr DWORD frame_ex_style = frame.tool_window ? WS_EX_TOOLWINDOW : 0;

// A desktop colour of the plan as Windows names it.
[[nodiscard]] constexpr int system_colour(SystemColour colour)
{
    switch (colour) {
    case SystemColour::face: return COLOR_BTNFACE;
    case SystemColour::button_text: return COLOR_BTNTEXT;
    case SystemColour::field: return COLOR_WINDOW;
    case SystemColour::field_text: break;
    }
    return COLOR_WINDOWTEXT;
}

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

// The face the window's fonts ask for: the first of the plan's faces that
// is installed.
[[nodiscard]] inline std::wstring window_face()
{
    HDC screen = GetDC(nullptr);
    const auto installed = [screen](std::string_view face) {
        LOGFONTW wanted{};
        wanted.lfCharSet = DEFAULT_CHARSET;
        wide(face).copy(wanted.lfFaceName, LF_FACESIZE - 1);
        bool found = false;
        EnumFontFamiliesExW(
            screen, &wanted,
            [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
                *reinterpret_cast<bool*>(found) = true;
                return 0;
            },
            reinterpret_cast<LPARAM>(&found), 0);
        return found;
    };
    const std::wstring face = wide(plan::faces(installed).front());
    ReleaseDC(nullptr, screen);
    return face;
}

// A font of the plan in that face. Null when Windows cannot make it.
[[nodiscard]] inline HFONT create_font(const plan::Font& font, const std::wstring& face)
{
    return CreateFontW(-font.pixel_height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}

}  // namespace ui::win32
