// Writes the page's first window, as it stands after Load, the
// stylesheet's facts from the plan (ui/web/static_page.h), and the window's
// facts that the site and the page's test take from the build rather than
// from the sources: its id, its caption (the page's title), the names of its
// controls (the ids of their elements) in the control table's order, and
// its ground under the light scheme (the web app manifest's colours).
// Run at build time under node.
//
//   write_page <window.html> <window.css> <window.json>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <exception>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/web/static_page.h"

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fputs("usage: write_page <window.html> <window.css> <window.json>\n", stderr);
        return 2;
    }
    try {
        std::ofstream out(argv[1], std::ios::binary);
        ui::web::write_window(out);
        out.close();
        std::ofstream style(argv[2], std::ios::binary);
        style << ui::web::window_style();
        style.close();
        std::vector<std::string> names;
        for (const ui::ControlInfo& c : ui::control_table) names.emplace_back(c.name);
        std::ofstream facts(argv[3], std::ios::binary);
        const nlohmann::json window{{"window", ui::window_name},
                                    {"caption", ui::window_caption},
                                    {"controls", names},
                                    {"ground", ui::web::window_ground()}};
        facts << window.dump(1) << '\n';
        facts.close();
        if (!out || !style || !facts) throw std::runtime_error("cannot write the first window");
        return 0;
    } catch (const std::exception& fault) {
        std::fprintf(stderr, "write_page: %s\n", fault.what());
        return 1;
    }
}
