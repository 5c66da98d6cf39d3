// Korvantelo.exe under Wine, used from a second process as a user uses it:
// the window found by its caption, keys typed with real keyboard input, the
// controls read with WM_GETTEXT, the window closed with WM_CLOSE.
//

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <map>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "tests/win32/driver.h"
#include "ui/controls.h"
#include "ui/layout.h"
#include "ui/presentation.h"
#include "ui/win32/text.h"

namespace {

using ui::Control;

class WindowWin32Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = driver::find_window(program, ui::win32::wide(ui::window_caption).c_str());
        driver::bring_to_front(window);
        driver::wait_until([&] { return focused() == Control::txt_impulse; }, "first focus");
    }

    HWND at(Control id) const { return driver::control(window, id); }
    std::wstring text(Control id) const { return driver::text(at(id)); }
    void expect_text(Control id, const std::wstring& expected) const { driver::wait_for_text(at(id), expected); }

    // The control with the focus; none while the focus is elsewhere.
    std::optional<Control> focused() const
    {
        const HWND focus = driver::focus(window);
        for (const auto& control : ui::control_table) {
            if (focus != nullptr && GetDlgItem(window, ui::win32::control_id(control.id)) == focus) return control.id;
        }
        return std::nullopt;
    }

    void press(WORD key, bool shift = false) { keyboard.press(key, shift); }

    // Tab until the control has the focus.
    void tab_to(Control id)
    {
        for (int i = 0; i < 10 && focused() != id; ++i) {
            const std::optional<Control> before = focused();
            press(VK_TAB);
            driver::wait_until([&] { return focused() != before; }, "Tab moves the focus");
        }
        ASSERT_EQ(focused(), id);
    }

    // Selects the whole text of the box and types over it, key by key.
    void type_into(Control id, std::wstring_view keys)
    {
        tab_to(id);
        press(VK_HOME);
        press(VK_END, true);
        keyboard.type(keys);
    }

    void close_window()
    {
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.wait_for_exit(), 0u);
    }

    driver::Process program{ui::win32::wide(PROGRAM)};
    driver::Keyboard keyboard;
    HWND window = nullptr;
};

TEST_F(WindowWin32Test, frame_and_controls_sit_where_the_layout_puts_them)
{
    // A fixed tool window with caption and close button only.
    const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    const auto ex_style = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
    EXPECT_EQ(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(ex_style & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(ex_style & WS_EX_APPWINDOW);

    // Twips converted with the window's real DPI (the one the screen is set
    // to, where the run names it); per-monitor aware.
    const auto dpi = static_cast<int>(GetDpiForWindow(window));
    if (const char* screen_dpi = std::getenv("KORVANTELO_SCREEN_DPI")) {
        EXPECT_EQ(dpi, std::atoi(screen_dpi));
    }
    EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetWindowDpiAwarenessContext(window)),
              DPI_AWARENESS_PER_MONITOR_AWARE);
    const auto px = [dpi](int twips) { return MulDiv(twips, dpi, 1440); };
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, px(ui::layout::client_width));
    EXPECT_EQ(client.bottom, px(ui::layout::client_height));
    for (const auto& place : ui::layout::placements) {
        if (ui::info(place.id).kind == ui::Kind::image_box) continue;  // painted by the window
        RECT r{};
        GetWindowRect(at(place.id), &r);
        MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, px(place.left)) << ui::name(place.id);
        EXPECT_EQ(r.top, px(place.top)) << ui::name(place.id);
        EXPECT_EQ(r.right - r.left, px(place.width)) << ui::name(place.id);
        EXPECT_EQ(r.bottom - r.top, px(place.height)) << ui::name(place.id);
    }

    // The kinds' looks: sunken boxes, the disabled kWh box, a plain button.
    EXPECT_TRUE(GetWindowLongW(at(Control::txt_wh), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_FALSE(IsWindowEnabled(at(Control::txt_kwh)));
    EXPECT_EQ(GetWindowLongW(at(Control::cmd_berechnen), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_EQ(GetWindowLongW(at(Control::chk_Spannungswandler), GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);

    // Stacking: the bracket lies above "Wh", which lies under the kWh box.
    std::vector<HWND> z_order;
    for (HWND h = GetWindow(window, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) z_order.push_back(h);
    const auto depth = [&](Control id) { return std::find(z_order.begin(), z_order.end(), at(id)) - z_order.begin(); };
    EXPECT_LT(depth(Control::Label7), depth(Control::Label6));
    EXPECT_LT(depth(Control::txt_kwh), depth(Control::Label7));
    EXPECT_LT(depth(Control::chk_Spannungswandler), depth(Control::Label3));

    // The German texts arrive whole; Load has run before the window showed;
    // the voltage row starts hidden.
    EXPECT_EQ(text(Control::Label4), L"Korvantelo Z\u00e4hler");
    EXPECT_EQ(text(Control::Label15), L"Wandlerverh\u00e4ltnis");
    EXPECT_EQ(text(Control::label_wandlerverhaeltnis), L"1");
    for (const Control id : ui::voltage_row) EXPECT_FALSE(IsWindowVisible(at(id))) << ui::name(id);
    close_window();
}

// The user's edits of every kind are Changes: a paste over the whole text
// from the clipboard, and its undo.
TEST_F(WindowWin32Test, takes_a_paste_and_its_undo_as_edits)
{
    type_into(Control::txt_wh, L"2500");
    expect_text(Control::txt_kwh, L"2,5");
    const std::wstring pasted = L"500";
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (pasted.size() + 1) * sizeof(wchar_t));
    pasted.copy(static_cast<wchar_t*>(GlobalLock(copy)), pasted.size());
    GlobalUnlock(copy);
    ASSERT_NE(SetClipboardData(CF_UNICODETEXT, copy), nullptr);
    CloseClipboard();
    press(VK_HOME);
    press(VK_END, true);
    keyboard.chord(VK_CONTROL, 'V');
    expect_text(Control::txt_wh, pasted);
    expect_text(Control::txt_kwh, L"0,5");
    keyboard.chord(VK_CONTROL, 'Z');
    expect_text(Control::txt_wh, L"2500");
    expect_text(Control::txt_kwh, L"2,5");
    close_window();
}

// The caret rule: a program write shows from the first character, a user's
// edit keeps the caret where the user typed.
TEST_F(WindowWin32Test, long_result_shows_its_first_digit)
{
    type_into(Control::txt_impulse, L"3");
    expect_text(Control::txt_impulse, L"3");
    EXPECT_EQ(SendMessageW(at(Control::txt_impulse), EM_GETSEL, 0, 0), MAKELONG(1, 1));
    tab_to(Control::cmd_berechnen);
    press(VK_SPACE);
    expect_text(Control::txt_ergebnis, L"333,333333333333");
    const HWND box = at(Control::txt_ergebnis);
    EXPECT_EQ(SendMessageW(box, EM_GETSEL, 0, 0), 0);  // caret at the start, nothing selected
    RECT area{};  // the box's own place for its text, within its margins
    SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
    const LRESULT first = SendMessageW(box, EM_POSFROMCHAR, 0, 0);
    EXPECT_EQ(static_cast<short>(LOWORD(first)), area.left);  // the first digit at its left edge, not scrolled away
    close_window();
}

TEST_F(WindowWin32Test, input_error_shows_a_modal_message_and_keeps_the_ratio)
{
    type_into(Control::txt_stromwandler, L"x");
    const HWND box = driver::find_window(program, L"Fehler!", L"#32770");
    bool prompt_found = false;
    bool icon_found = false;
    for (HWND h = GetWindow(box, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
        prompt_found = prompt_found || driver::text(h) == L"Eingabefehler!";
        icon_found = icon_found || (GetWindowLongW(h, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
    }
    EXPECT_TRUE(prompt_found);
    EXPECT_TRUE(icon_found);
    EXPECT_NE(GetDlgItem(box, IDOK), nullptr);
    EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr);  // OK only
    EXPECT_FALSE(IsWindowEnabled(window));  // modal: the window takes no input
    driver::bring_to_front(box);
    press(VK_RETURN);  // OK is the default button
    driver::wait_until([&] { return !IsWindow(box); }, "the message box closes");
    EXPECT_TRUE(IsWindowEnabled(window));
    EXPECT_EQ(text(Control::label_wandlerverhaeltnis), L"1");
    EXPECT_EQ(text(Control::txt_stromwandler), L"x");
    close_window();
}

TEST_F(WindowWin32Test, shows_the_hints_as_tooltips)
{
    std::map<HWND, std::wstring> expected;
    for (const auto& p : ui::presentations) {
        if (p.tooltip) expected[at(p.id)] = ui::win32::wide(p.hint);
    }
    EXPECT_EQ(expected.size(), 5u);
    // They come at the first idle moment after the window shows.
    std::map<HWND, std::wstring> tips;
    driver::wait_until([&] { return (tips = driver::tooltips(program)).size() == expected.size(); }, "the tooltips");
    EXPECT_EQ(tips, expected);

    // A figure shortened in its box shows whole on hovering, the disabled
    // kWh box's too (its tool is its place in the window); a whole one
    // shows nothing more.
    const auto hovering = [&](Control id) {
        return driver::tooltip_now(program, window, at(id), !IsWindowEnabled(at(id)));
    };
    type_into(Control::txt_wh, L"1234567");
    expect_text(Control::txt_kwh, L"1234,567");
    EXPECT_EQ(hovering(Control::txt_kwh), L"1234,567");
    type_into(Control::txt_impulse, L"3");
    tab_to(Control::cmd_berechnen);
    press(VK_SPACE);
    expect_text(Control::txt_ergebnis, L"411522,333333333");
    EXPECT_EQ(hovering(Control::txt_ergebnis), L"411522,333333333");
    type_into(Control::txt_wh, L"1000");
    expect_text(Control::txt_kwh, L"1");
    EXPECT_EQ(hovering(Control::txt_kwh), L"");
    close_window();
}

}  // namespace
