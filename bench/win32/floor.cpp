// The Windows floor: the least that Win32 costs for a window like ours. The
// same controls (EDIT, STATIC, BUTTON) at the same places, in the same fonts
// and stacking, the same two pictures and twelve lines painted by the
// window, the same frame and manifest, a dialog-style message loop, and
// nothing else: no model, no handlers, no own colours, no icon.
//
// bench/win32/startup_bench runs it beside Korvantelo.exe; what we spend
// beyond it is our own.

#include <windows.h>

#include <algorithm>
#include <array>

#include "ui/controls.h"
#include "ui/layout.h"
#include "ui/win32/resources.h"

namespace {

struct Floor {
    UINT dpi = USER_DEFAULT_SCREEN_DPI;
    HBITMAP panel = nullptr;
    HBITMAP banner = nullptr;
    int px(int twips) const { return ui::layout::pixels(twips, static_cast<int>(dpi)); }
};

void blit(HDC dc, const Floor& floor, ui::Control id, HBITMAP picture)
{
    const auto place = ui::layout::pixel_rect(*ui::layout::placement(id), static_cast<int>(floor.dpi));
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, picture);
    BitBlt(dc, place.left, place.top, place.width, place.height, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l)
{
    auto* floor = reinterpret_cast<Floor*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        for (const auto& line : ui::layout::lines) {
            const auto l = ui::layout::line_rect(line, static_cast<int>(floor->dpi));
            const RECT r{l.left, l.top, l.left + l.width, l.top + l.height};
            FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOWTEXT));
        }
        blit(dc, *floor, ui::Control::Image1, floor->panel);
        blit(dc, *floor, ui::Control::Image2, floor->banner);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, w, l);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    Floor floor;
    floor.panel = static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(KORVANTELO_PANEL_BITMAP),
                                                  IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    floor.banner = static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(KORVANTELO_BANNER_BITMAP),
                                                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"KorvanteloFloor";
    RegisterClassExW(&wc);
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"Korvantelo floor", style, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&floor));
    floor.dpi = GetDpiForWindow(window);

    std::array<HFONT, 5> fonts{};
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        const auto [height, bold] = ui::layout::font_info(static_cast<ui::layout::Font>(i));
        fonts[i] = CreateFontW(-MulDiv(height, static_cast<int>(floor.dpi), USER_DEFAULT_SCREEN_DPI), 0, 0, 0,
                               bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
    }
    for (const auto& control : ui::control_table) {
        const auto place = ui::layout::placement(control.id);
        const wchar_t* type = nullptr;
        DWORD child_style = WS_CHILD | WS_CLIPSIBLINGS;
        DWORD ex_style = 0;
        switch (control.kind) {
        case ui::Kind::text_box: type = L"EDIT"; child_style |= ES_AUTOHSCROLL; ex_style = WS_EX_CLIENTEDGE; break;
        case ui::Kind::label: type = L"STATIC"; child_style |= SS_LEFTNOWORDWRAP | SS_NOPREFIX; break;
        case ui::Kind::check_box: type = L"BUTTON"; child_style |= BS_AUTOCHECKBOX; break;
        case ui::Kind::command_button: type = L"BUTTON"; child_style |= BS_PUSHBUTTON; break;
        default: continue;
        }
        if (control.tab_stop) child_style |= WS_TABSTOP;
        if (!control.enabled) child_style |= WS_DISABLED;
        if (control.visible) child_style |= WS_VISIBLE;
        wchar_t text[64] = {};
        MultiByteToWideChar(CP_UTF8, 0, control.initial.data(), static_cast<int>(control.initial.size()), text, 63);
        HWND child = CreateWindowExW(ex_style, type, text, child_style, floor.px(place->left), floor.px(place->top),
                                     floor.px(place->width), floor.px(place->height), window,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(ui::win32::control_id(control.id))),
                                     instance, nullptr);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fonts[static_cast<std::size_t>(place->font)]), FALSE);
    }
    RECT frame{0, 0, floor.px(ui::layout::client_width), floor.px(ui::layout::client_height)};
    AdjustWindowRectExForDpi(&frame, style, FALSE, WS_EX_TOOLWINDOW, floor.dpi);
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window, SW_SHOW);
    SetFocus(GetDlgItem(window, ui::win32::control_id(ui::Control::txt_impulse)));

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    for (HFONT font : fonts) DeleteObject(font);
    return static_cast<int>(message.wParam);
}
