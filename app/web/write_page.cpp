// Writes the page's first window, as it stands after Load, and the
// stylesheet's facts from the plan, for the build to put into index.html
// (ui/web/static_page.h). Run at build time under node.
//
//   write_page <window.html> <window.css>

#include <cstdio>
#include <exception>
#include <fstream>
#include <stdexcept>

#include "ui/web/static_page.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: write_page <window.html> <window.css>\n", stderr);
        return 2;
    }
    try {
        std::ofstream out(argv[1], std::ios::binary);
        ui::web::write_window(out);
        out.close();
        std::ofstream style(argv[2], std::ios::binary);
        style << ui::web::window_style();
        style.close();
        if (!out || !style) throw std::runtime_error("cannot write the first window");
        return 0;
    } catch (const std::exception& fault) {
        std::fprintf(stderr, "write_page: %s\n", fault.what());
        return 1;
    }
}
