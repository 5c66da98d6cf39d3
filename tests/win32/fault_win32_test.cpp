// A fault of the program inside the Win32 window: it reaches the user as a
// message, whatever its text, and the run ends with a failure instead of
// ending the process from inside Windows' frames.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <thread>

#include "tests/win32/driver.h"
#include "ui/win32/resources.h"
#include "ui/win32/text.h"
#include "ui/win32/window_view.h"
#include "ui/window.h"

namespace {

// Error texts of Windows' A functions come in the ANSI code page: this one is
// "Ungültiges Fensterhandle" in Windows-1252, not UTF-8.
constexpr const char* ansi_text = "Ung\xFCltiges Fensterhandle";

std::wstring in_ansi_code_page(const char* text)
{
    wchar_t buffer[64] = {};
    MultiByteToWideChar(CP_ACP, 0, text, -1, buffer, 64);
    return buffer;
}

TEST(text, reads_a_text_that_is_not_utf8_in_the_ansi_code_page)
{
    EXPECT_EQ(ui::win32::wide("Z\xC3\xA4hler"), L"Z\u00e4hler");
    EXPECT_EQ(ui::win32::wide(ansi_text), in_ansi_code_page(ansi_text));
    if (GetACP() == 1252) {
        EXPECT_EQ(ui::win32::wide(ansi_text), L"Ung\u00fcltiges Fensterhandle");
    }
}

// A fault that reaches the edge of the window (a window procedure, a user's
// action) is told with its own text, read in the ANSI code page where it is
// not UTF-8, and the message loop ends with a failure.
TEST(fault, at_the_edge_of_the_window_is_told_and_ends_the_run_with_failure)
{
    ui::win32::Program program(GetModuleHandleW(nullptr));
    program.start();

    // From a second thread, as the user: read the message and press OK.
    std::wstring shown;
    std::thread user([&] {
        HWND box = nullptr;
        driver::wait_until([&] { return (box = FindWindowW(L"#32770", L"Korvantelo")) != nullptr; },
                           "the fault's message");
        for (HWND h = GetWindow(box, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
            if (GetDlgCtrlID(h) != IDOK) shown += driver::text(h);
        }
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    program.fault(std::make_exception_ptr(std::runtime_error(ansi_text)));
    const int status = program.view().run();
    user.join();
    EXPECT_EQ(status, EXIT_FAILURE);
    EXPECT_EQ(shown, L"Korvantelo kann nicht weiterlaufen:\n" + in_ansi_code_page(ansi_text));
}

}  // namespace
