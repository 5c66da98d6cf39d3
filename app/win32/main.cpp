// Korvantelo for Windows: start-up and shutdown. Creates the window model
// with its controls in their stored state, binds the six handlers, builds the
// Win32 window over it, runs Load so that the ratio shows before the window
// does, and runs the messages until the window is closed; then the process
// ends with status 0. Nothing is read from the command line, from files or
// from settings, and nothing is saved.

#include <windows.h>

#include <cstdlib>
#include <string>

#include "ui/message_port.h"
#include "ui/win32/text.h"
#include "ui/win32/window_view.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    try {
        ui::win32::Program program(instance);
        program.start();
        return program.view().run();  // a fault inside the window has been told by then
    } catch (...) {
        // A fault before the window runs, never one of the input: say what it
        // was. The fault's text may come in the ANSI code page; wide() reads it.
        const std::wstring text = ui::win32::wide(ui::fault_text(std::current_exception()));
        MessageBoxW(nullptr, text.c_str(), ui::win32::wide(ui::fault_title).c_str(), MB_OK | MB_ICONERROR);
        return EXIT_FAILURE;
    }
}
