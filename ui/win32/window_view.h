#pragma once

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/controls.h"
#include "ui/message_port.h"
#include "ui/plan.h"
#include "ui/program.h"
#include "ui/win32/gdi.h"
#include "ui/win32/native.h"
#include "ui/window.h"

struct IAccPropServices;

// The window drawn with the controls of Windows itself: one child window
// per entry of the view plan (EDIT, STATIC, BUTTON), a transparent group box
// over each of the three boxes for screen readers, the lines and the two
// pictures painted by the window, and the model's changes mirrored into
// them. Every user change of a control goes to the program as a user action,
// so the handlers run exactly as they do headless. Screen readers get each
// control's name and hint through Active Accessibility's annotations, the
// mouse gets the hints as tooltips.
namespace ui::win32 {

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
    WindowView(const Window& model, UserActions& actions, HINSTANCE instance);
    ~WindowView();
    WindowView(const WindowView&) = delete;
    WindowView& operator=(const WindowView&) = delete;

    [[nodiscard]] HWND handle() const { return window_; }

    void show_text(TextBox id, std::string_view text);
    void show_caption(Captioned id, std::string_view text);
    void show_value(CheckBox id, std::int16_t value);
    void show_visible(Control id, bool visible);
    // A message box with the warning icon, owned by the window, which takes
    // no input while it is open.
    void show_message(const Message& message);
    // Shows the window where Windows puts new windows, with the focus in
    // the first control of the focus order.
    void show();
    void end() noexcept;

    // Runs the messages of the thread through the window, dialog-style (Tab
    // and Shift+Tab move the focus), until the window is closed. Returns the
    // process's exit status: 0, or EXIT_FAILURE after a fault of the program,
    // which has been told to the user by then.
    int run();

private:
    static LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    static LRESULT CALLBACK child_procedure(HWND child, UINT message, WPARAM w, LPARAM l, UINT_PTR at,
                                            DWORD_PTR view);
    LRESULT handle(UINT message, WPARAM w, LPARAM l);
    LRESULT handle_child(HWND child, std::size_t at, UINT message, WPARAM w, LPARAM l);

    HWND create(TextBox id);
    HWND create(Label id);
    HWND create(CheckBox id);
    HWND create(CommandButton id);
    static HWND create(ImageBox /*id*/) { return nullptr; }  // painted by the window
    static HWND create(Line /*id*/) { return nullptr; }      // painted by the window
    HWND create_child(int id, const NativeClass& kind, DWORD style, std::string_view text);
    HWND create_control(Control id, std::string_view text);
    void create_controls(const Window& model);
    void subclass(HWND child, std::size_t at);
    void add_tooltips();
    [[nodiscard]] static bool takes_mouse(const plan::Entry& entry);
    [[nodiscard]] TTTOOLINFOW tool(const plan::Entry& entry) const;
    void set_tool_rect(const plan::Entry& entry) const;
    void tooltip_text(NMTTDISPINFOW& info);
    void annotate(HWND child, const Presentation& presentation);
    void apply_dpi(UINT dpi, const RECT* suggested);
    [[nodiscard]] const Font& font(const plan::Font& font) const;
    void user_action(TextBox id, int notification);
    void user_action(CheckBox id, int notification);
    void user_action(CommandButton id, int notification);
    static void user_action(Label /*id*/, int /*notification*/) {}
    static void user_action(ImageBox /*id*/, int /*notification*/) {}
    static void user_action(Line /*id*/, int /*notification*/) {}
    LRESULT colour(HDC dc, HWND control);
    void paint(HDC dc) const;
    void draw_picture(HDC dc, const plan::Entry& entry) const;
    [[nodiscard]] static RECT room(HWND child, const plan::Entry& entry);
    [[nodiscard]] static bool shortened(HWND child, const plan::Entry& entry);
    [[nodiscard]] static bool paints_itself(HWND child, const plan::Entry& entry);
    void paint_figure(HWND child, const plan::Entry& entry) const;
    [[nodiscard]] HWND child(Control id) const;
    [[nodiscard]] static std::optional<Control> control_of(HWND child);

    const Window& model_;
    UserActions& actions_;
    HINSTANCE instance_;
    plan::Plan plan_;  // at the window's DPI
    std::wstring face_;  // of every font
    HWND window_ = nullptr;
    HWND tooltips_ = nullptr;
    std::wstring tip_;  // the text of the tooltip about to show
    std::array<HWND, control_count> children_{};
    std::array<HWND, 3> groups_{};
    std::array<Brush, control_count> grounds_;  // of the controls with a fixed colour pair
    std::vector<std::pair<plan::Font, Font>> fonts_;
    Bitmap panel_;
    Bitmap banner_;
    bool com_ = false;  // COM is initialised on this thread by the view
    std::unique_ptr<IAccPropServices, ComReleaser> annotations_;
    bool failed_ = false;  // a fault reached the edge of a message: the run ends with failure
};

// The program with this view, as Korvantelo.exe and the tests run it.
using Program = ui::Program<WindowView>;

}  // namespace ui::win32
