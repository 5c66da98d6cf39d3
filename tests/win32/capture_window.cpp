// Not a test: starts Korvantelo.exe, waits until its window has painted, and
// writes the window as the screen shows it, frame included, into a 24-bit
// BMP file (make screenshot-windows turns it into a PNG). With --exponent,
// first types Impulse 350000 and Wh 1 and presses Berechnen, so that the
// result is wider than its box.
//
//   capture_window [--exponent] <Korvantelo.exe> <out.bmp>

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/win32/driver.h"
#include "ui/controls.h"
#include "ui/win32/text.h"

namespace {

void write_bmp(const char* path, HBITMAP bitmap, int width, int height)
{
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;  // bottom-up, as BMP files are
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<char> pixels(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height));
    HDC screen = GetDC(nullptr);
    const int lines = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                                reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (lines != height) throw driver::DriverError("cannot read the captured pixels");
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    if (!out) throw driver::DriverError("cannot write the picture");
}

}  // namespace

int main(int argc, char** argv)
{
    const bool exponent = argc == 4 && std::string_view(argv[1]) == "--exponent";
    if (argc != 3 && !exponent) {
        std::fputs("usage: capture_window [--exponent] <Korvantelo.exe> <out.bmp>\n", stderr);
        return 2;
    }
    const char* out = argv[argc - 1];
    try {
        driver::Process program(ui::win32::wide(argv[argc - 2]));
        WaitForInputIdle(program.handle(), 20000);
        HWND window = driver::find_window(program, ui::win32::wide(ui::window_caption).c_str());
        driver::bring_to_front(window);
        if (exponent) {
            // From the first focus, Impulse: its figure, Shift+Tab round to
            // Wh, then Tab on to Berechnen.
            driver::Keyboard keyboard;
            const HWND result = driver::control(window, ui::Control::txt_ergebnis);
            for (const auto& [back, text] : {std::pair{false, L"350000"}, {true, L"1"}}) {
                if (back) keyboard.press(VK_TAB, true);
                keyboard.press(VK_HOME);
                keyboard.press(VK_END, true);
                keyboard.type(text);
            }
            for (int i = 0; i < 3; ++i) keyboard.press(VK_TAB);
            keyboard.press(VK_SPACE);
            driver::wait_until([&] { return !driver::text(result).empty(); }, "the result");
        }
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        Sleep(1000);  // let the paint reach the screen
        RECT r{};
        GetWindowRect(window, &r);
        const int width = r.right - r.left;
        const int height = r.bottom - r.top;
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        write_bmp(out, bitmap, width, height);
        DeleteObject(bitmap);
        RECT client{};
        GetClientRect(window, &client);
        std::printf("%s: window %dx%d, client area %ldx%ld\n", out, width, height, client.right, client.bottom);
        PostMessageW(window, WM_CLOSE, 0, 0);
        return static_cast<int>(program.wait_for_exit());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "capture_window: %s\n", e.what());
        return 1;
    }
}
