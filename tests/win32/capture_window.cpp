// Not a test: starts Korvantelo.exe, waits until its window has painted, and
// writes the window as the screen shows it, frame included, into a 24-bit
// BMP file (make screenshot-windows turns it into a PNG).
//
//   capture_window <Korvantelo.exe> <out.bmp>

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
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
    if (argc != 3) {
        std::fputs("usage: capture_window <Korvantelo.exe> <out.bmp>\n", stderr);
        return 2;
    }
    try {
        driver::Process program(ui::win32::wide(argv[1]));
        WaitForInputIdle(program.handle(), 20000);
        HWND window = driver::find_window(program, ui::win32::wide(ui::window_caption).c_str());
        driver::bring_to_front(window);
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
        write_bmp(argv[2], bitmap, width, height);
        DeleteObject(bitmap);
        RECT client{};
        GetClientRect(window, &client);
        std::printf("%s: window %dx%d, client area %ldx%ld\n", argv[2], width, height, client.right, client.bottom);
        PostMessageW(window, WM_CLOSE, 0, 0);
        return static_cast<int>(program.wait_for_exit());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "capture_window: %s\n", e.what());
        return 1;
    }
}
