// The Windows floor: the least that Win32 costs for a window like ours. The
// same windows (EDIT, STATIC, BUTTON, of the classes and styles the view
// makes) at the places, in the fonts and in the stacking of the view plan,
// the same two pictures and twelve lines painted by the window, the same
// frame and manifest, a dialog-style message loop, and nothing else: no
// model, no handlers, no groups, no own colours, no icon.
//
// bench/win32/startup_bench runs it beside Korvantelo.exe; what we spend
// beyond it is our own.

#include <windows.h>

#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "ui/plan.h"
#include "ui/win32/native.h"
#include "ui/win32/resources.h"

namespace {

struct Floor {
    ui::plan::Plan plan{USER_DEFAULT_SCREEN_DPI};
    HBITMAP panel = nullptr;
    HBITMAP banner = nullptr;
};

void blit(HDC dc, const ui::plan::Entry& e, HBITMAP picture)
{
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, picture);
    BitBlt(dc, e.rect.left, e.rect.top, e.rect.width, e.rect.height, source, 0, 0, SRCCOPY);
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
        for (const auto& e : floor->plan.entries()) {
            if (e.look.picture) blit(dc, e, *e.look.picture == ui::Picture::panel ? floor->panel : floor->banner);
            if (e.kind != ui::Kind::line) continue;
            const RECT r{e.rect.left, e.rect.top, e.rect.left + e.rect.width, e.rect.top + e.rect.height};
            FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOWTEXT));
        }
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

HBITMAP picture(HINSTANCE instance, ui::Picture which)
{
    return static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(ui::win32::picture_resource(which)),
                                           IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    Floor floor;
    floor.panel = picture(instance, ui::Picture::panel);
    floor.banner = picture(instance, ui::Picture::banner);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"KorvanteloFloor";
    RegisterClassExW(&wc);
    HWND window = CreateWindowExW(ui::win32::frame_ex_style, wc.lpszClassName, L"Korvantelo floor",
                                  ui::win32::frame_style, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr,
                                  instance, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&floor));
    floor.plan = ui::plan::Plan(static_cast<int>(GetDpiForWindow(window)));

    // A font for each control, as few as the plan names, in the window's face.
    const std::wstring face = ui::win32::window_face();
    std::array<std::pair<ui::plan::Font, HFONT>, ui::control_count> fonts{};
    std::size_t made = 0;
    const auto font = [&](const ui::plan::Font& wanted) {
        for (std::size_t i = 0; i < made; ++i) {
            if (fonts[i].first == wanted) return fonts[i].second;
        }
        fonts[made] = {wanted, ui::win32::create_font(wanted, face)};
        return fonts[made++].second;
    };
    HWND above = HWND_TOP;
    for (const ui::Control id : floor.plan.stacking()) {
        const ui::plan::Entry& e = floor.plan[id];
        const auto kind = ui::win32::native_class(e.kind);
        if (!kind) continue;
        const std::string_view initial = ui::info(id).initial;
        std::array<wchar_t, 64> text{};
        MultiByteToWideChar(CP_UTF8, 0, initial.data(), static_cast<int>(initial.size()), text.data(), 63);
        HWND child = CreateWindowExW(kind->ex_style, kind->name, text.data(),
                                     kind->style | ui::win32::state_style(e, e.visible), e.rect.left, e.rect.top,
                                     e.rect.width, e.rect.height, window,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(ui::win32::control_id(id))),
                                     instance, nullptr);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font(e.font)), FALSE);
        SetWindowPos(child, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = child;
    }
    RECT frame{0, 0, floor.plan.width(), floor.plan.height()};
    AdjustWindowRectExForDpi(&frame, ui::win32::frame_style, FALSE, ui::win32::frame_ex_style,
                             static_cast<UINT>(floor.plan.dpi()));
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window, SW_SHOW);
    SetFocus(GetDlgItem(window, ui::win32::control_id(floor.plan.first_focus())));

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    for (std::size_t i = 0; i < made; ++i) DeleteObject(fonts[i].second);
    return static_cast<int>(message.wParam);
}
