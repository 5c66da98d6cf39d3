// The page's WebAssembly module: the program over the page's view, behind a
// small C interface. The page's script (ui/web/page.js) opens the program
// once and keeps its pointer for as long as the document lives, then hands
// every edit, tick and press to it with the control's index in the control
// table. No exception leaves these functions: a fault is told through the
// window, and the page takes no more input.

#include <emscripten/em_macros.h>

#include <cstddef>
#include <exception>

#include "ui/web/page_view.h"

namespace {

using Program = ui::Program<ui::web::PageView>;

}  // namespace

extern "C" {

// Every control in its stored state, the handlers bound, Load run and the
// window shown; null when not even that could be made.
EMSCRIPTEN_KEEPALIVE Program* korvantelo_open() noexcept
{
    try {
        auto* program = new Program;
        program->start();
        return program;
    } catch (...) {
        return nullptr;
    }
}

EMSCRIPTEN_KEEPALIVE void korvantelo_edited(Program* program, std::size_t index, const char* text) noexcept
{
    try {
        program->edited(ui::web::handle<ui::TextBox>(index), text);
    } catch (...) {
        program->fault(std::current_exception());
    }
}

EMSCRIPTEN_KEEPALIVE void korvantelo_toggled(Program* program, std::size_t index) noexcept
{
    try {
        program->toggled(ui::web::handle<ui::CheckBox>(index));
    } catch (...) {
        program->fault(std::current_exception());
    }
}

EMSCRIPTEN_KEEPALIVE void korvantelo_pressed(Program* program, std::size_t index) noexcept
{
    try {
        program->pressed(ui::web::handle<ui::CommandButton>(index));
    } catch (...) {
        program->fault(std::current_exception());
    }
}

// The page's layout, or a figure's focus, has changed: the figures are fitted anew.
EMSCRIPTEN_KEEPALIVE void korvantelo_refit(Program* program) noexcept
{
    try {
        program->view().refit();
    } catch (...) {
        program->fault(std::current_exception());
    }
}

// The page is shown: every control shows the model's state.
EMSCRIPTEN_KEEPALIVE void korvantelo_show_state(Program* program) noexcept
{
    try {
        program->view().show_state();
    } catch (...) {
        program->fault(std::current_exception());
    }
}

}  // extern "C"
