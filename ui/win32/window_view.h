#pragma once

#include <windows.h>

#include <array>
#include <exception>

#include "ui/controls.h"
#include "ui/layout.h"
#include "ui/message_port.h"
#include "ui/win32/gdi.h"
#include "ui/window.h"

// The window model drawn as a real Windows window: one child window per text
// box, label, check box and button (EDIT, STATIC, BUTTON), the twelve lines
// and the two pictures painted by the window itself. The view keeps no state
// of the program's own: every write to the model shows at once, and every
// user change of a control goes into the model as a user action, so the
// handlers run exactly as they do headless.
namespace ui::win32 {

class WindowView {
public:
    // Creates the window and its controls, not yet shown. `instance` holds
    // the icon group and the two pictures (ui/win32/resources.h).
    WindowView(Window& model, HINSTANCE instance);
    ~WindowView();
    WindowView(const WindowView&) = delete;
    WindowView& operator=(const WindowView&) = delete;

    [[nodiscard]] HWND handle() const { return window_; }

    // Shows the window where Windows puts new windows, with the focus in the
    // first control of the focus order.
    void show();

    // Runs the messages of the thread through the window, dialog-style (Tab
    // and Shift+Tab move the focus), until the window is closed. Returns the
    // process's exit status; a fault inside a message is thrown from here.
    int run();

private:
    static LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    static LRESULT CALLBACK white_box_procedure(HWND box, UINT message, WPARAM w, LPARAM l);
    LRESULT handle(UINT message, WPARAM w, LPARAM l);

    void create_controls();
    void apply_dpi(UINT dpi, const RECT* suggested);
    [[nodiscard]] int pixels(int twips) const;
    void mirror(Control id, Field field);
    void command(int control, int notification);
    LRESULT colour(HDC dc, HWND control);
    void paint(HDC dc) const;
    void draw_line(HDC dc, Control id) const;
    void draw_picture(HDC dc, Control id, HBITMAP picture) const;
    void paint_white_box(HWND box) const;
    [[nodiscard]] HWND child(Control id) const;

    Window& model_;
    HINSTANCE instance_;
    HWND window_ = nullptr;
    std::array<HWND, control_count> children_{};
    WNDPROC edit_procedure_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    std::array<Font, 5> fonts_;  // by layout::Font
    Brush grey_;
    Brush white_;
    Bitmap panel_;
    Bitmap banner_;
    HWND focus_ = nullptr;      // the control that had the focus when the window was deactivated
    bool writing_ = false;      // a program write into a box is under way: its EN_CHANGE is no edit
    std::exception_ptr fault_;  // thrown inside a message; run() rethrows it
};

// The message port as a modal Windows message box with the warning icon and
// an OK button, owned by the window, which takes no input while it is open.
class MessageBoxPort final : public MessagePort {
public:
    // The window the box belongs to; none until the view exists.
    void set_owner(HWND owner) { owner_ = owner; }
    void show(const Message& message) override;

private:
    HWND owner_ = nullptr;
};

}  // namespace ui::win32
