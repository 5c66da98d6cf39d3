// The C interface of the page's WebAssembly module. The script opens one
// page and keeps its pointer for as long as the document lives; every other
// call answers with a NUL-terminated UTF-8 text owned by the page and valid
// until the next call (see page.h). No exception leaves these functions:
// Page reports a fault through the window and says so in its answer.

#include <emscripten/em_macros.h>

#include <cstddef>

#include "app/web/page.h"

using app::web::Page;

extern "C" {

// The page, or null when not even that could be made (out of memory).
EMSCRIPTEN_KEEPALIVE Page* korvantelo_open() noexcept
{
    try {
        return new Page;
    } catch (...) {
        return nullptr;
    }
}

EMSCRIPTEN_KEEPALIVE const char* korvantelo_tables(Page* page) noexcept
{
    return page->tables().c_str();
}

EMSCRIPTEN_KEEPALIVE const char* korvantelo_load(Page* page) noexcept
{
    return page->load().c_str();
}

EMSCRIPTEN_KEEPALIVE const char* korvantelo_replace_text(Page* page, std::size_t index, const char* text) noexcept
{
    return page->replace_text(index, text).c_str();
}

EMSCRIPTEN_KEEPALIVE const char* korvantelo_toggle(Page* page, std::size_t index) noexcept
{
    return page->toggle(index).c_str();
}

EMSCRIPTEN_KEEPALIVE const char* korvantelo_press(Page* page, std::size_t index) noexcept
{
    return page->press(index).c_str();
}

}  // extern "C"
