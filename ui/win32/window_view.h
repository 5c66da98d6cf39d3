#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "ui/controls.h"
#include "ui/message_port.h"
#include "ui/presentation.h"
#include "ui/win32/gdi.h"
#include "ui/window.h"

struct IAccPropServices;

// The window model drawn as a real Windows window: one child window per text
// box, label, check box and button (EDIT, STATIC, BUTTON), the twelve lines
// and the two pictures painted by the window itself, all built from the
// tables. The view keeps no state of the program's own: every write of the
// program shows at once, and every user change of a control goes into the
// model as a user action, so the handlers run exactly as they do headless.
// Screen readers get each control's name and hint through Active
// Accessibility's annotations, the mouse gets the hints as tooltips.
namespace ui::win32 {

struct LibraryFreer {
    void operator()(HMODULE library) const noexcept { FreeLibrary(library); }
};

// Holds a COM object's one reference.
struct ComReleaser {
    template <typename Object>
    void operator()(Object* object) const noexcept
    {
        object->Release();
    }
};

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
    // process's exit status: 0, or EXIT_FAILURE after a fault of the program,
    // which has been told to the user by then.
    int run();

private:
    static LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    static LRESULT CALLBACK fixed_colour_box_procedure(HWND box, UINT message, WPARAM w, LPARAM l);
    LRESULT handle(UINT message, WPARAM w, LPARAM l);
    void report(const std::exception_ptr& fault) noexcept;

    HWND create(TextBox id);
    HWND create(Label id);
    HWND create(CheckBox id);
    HWND create(CommandButton id);
    static HWND create(ImageBox /*id*/) { return nullptr; }  // painted by the window
    static HWND create(Line /*id*/) { return nullptr; }      // painted by the window
    HWND create_child(Control id, const wchar_t* type, DWORD style, DWORD ex_style, std::string_view text);
    void create_controls();
    void add_tooltips();
    void present(HWND child, const Presentation& presentation);
    void apply_dpi(UINT dpi, const RECT* suggested);
    [[nodiscard]] int pixels(int twips) const;
    void mirror(const Change& change);
    void user_action(TextBox id, int notification);
    void user_action(CheckBox id, int notification);
    void user_action(CommandButton id, int notification);
    static void user_action(Label /*id*/, int /*notification*/) {}
    static void user_action(ImageBox /*id*/, int /*notification*/) {}
    static void user_action(Line /*id*/, int /*notification*/) {}
    LRESULT colour(HDC dc, HWND control);
    void paint(HDC dc) const;
    void draw_line(HDC dc, Control id) const;
    void draw_picture(HDC dc, Control id, HBITMAP picture) const;
    void paint_fixed_colour_box(HWND box) const;
    [[nodiscard]] HWND child(Control id) const;
    [[nodiscard]] static Control control_of(HWND child);

    Window& model_;
    HINSTANCE instance_;
    HWND window_ = nullptr;
    std::unique_ptr<HINSTANCE__, LibraryFreer> common_controls_;  // loaded for the tooltips
    HWND tooltips_ = nullptr;
    std::array<HWND, control_count> children_{};
    std::array<Brush, control_count> grounds_;  // of the controls with a fixed colour pair
    WNDPROC edit_procedure_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    std::array<Font, 5> fonts_;  // by layout::Font
    Bitmap panel_;
    Bitmap banner_;
    bool com_ = false;  // COM is initialised on this thread by the view
    std::unique_ptr<IAccPropServices, ComReleaser> annotations_;
    HWND focus_ = nullptr;  // the control that had the focus when the window was deactivated
    bool failed_ = false;   // a fault reached the edge of a message: the run ends with failure
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
