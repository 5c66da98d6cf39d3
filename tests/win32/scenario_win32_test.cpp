// The scenarios of tests/scenarios.json on Korvantelo.exe under Wine, from a
// second process as a user: real keys, the controls read with WM_GETTEXT,
// each message box answered with Enter, a figure's pixels read off the
// screen.

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/support/scenarios.h"
#include "tests/win32/driver.h"
#include "ui/plan.h"
#include "ui/win32/native.h"
#include "ui/win32/text.h"

namespace {

using ui::Control;
using ui::win32::wide;
using namespace std::chrono_literals;

class Win32Driver {
public:
    Win32Driver() : window_(driver::find_window(program_, wide(ui::window_caption).c_str()))
    {
        driver::bring_to_front(window_);
        driver::wait_until([&] { return focused() == Control::txt_impulse; }, "first focus");
    }
    ~Win32Driver()
    {
        PostMessageW(window_, WM_CLOSE, 0, 0);
        EXPECT_EQ(program_.wait_for_exit(), 0u);
    }
    Win32Driver(const Win32Driver&) = delete;
    Win32Driver& operator=(const Win32Driver&) = delete;

    [[nodiscard]] HWND at(Control id) const { return driver::control(window_, id); }
    [[nodiscard]] std::string text(Control id) const { return ui::win32::utf8(driver::text(at(id))); }
    void press(WORD key, bool shift = false) { keyboard_.press(key, shift); }

    [[nodiscard]] std::optional<Control> focused() const
    {
        const HWND focus = driver::focus(window_);
        for (const auto& control : ui::control_table) {
            if (focus != nullptr && GetDlgItem(window_, ui::win32::control_id(control.id)) == focus) return control.id;
        }
        return std::nullopt;
    }

    void tab_to(Control id)
    {
        driver::bring_to_front(window_);
        for (int i = 0; i < 10 && focused() != id; ++i) {
            const std::optional<Control> before = focused();
            press(VK_TAB);
            driver::wait_until([&] { return focused() != before; }, "Tab moves the focus");
        }
        ASSERT_EQ(focused(), id);
    }

    // Types one character and waits until the box shows `then`; by then a
    // message box of that keystroke is open.
    void type(Control id, const std::string& character, const std::string& then)
    {
        keyboard_.type(wide(character));
        driver::wait_for_text(at(id), wide(then));
    }

    // The input-error message, if one is open: checked and answered with
    // Enter. Whether one was.
    bool answer_message()
    {
        HWND box = FindWindowW(L"#32770", L"Fehler!");
        if (box == nullptr) return false;
        bool prompt = false;
        for (HWND h = GetWindow(box, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
            prompt = prompt || driver::text(h) == L"Eingabefehler!";
        }
        EXPECT_TRUE(prompt);
        driver::bring_to_front(box);
        press(VK_RETURN);
        driver::wait_until([&] { return !IsWindow(box); }, "the message box closes");
        driver::bring_to_front(window_);
        return true;
    }

    void wait_for_message()
    {
        driver::wait_until([] { return FindWindowW(L"#32770", L"Fehler!") != nullptr; }, "the input-error message");
    }

    // Whether the box shows the first characters of its figure, then `end`:
    // what the screen shows of its text's place equals such a text drawn
    // here in the box's font and colours.
    [[nodiscard]] bool shows_ending(Control id, const std::string& end) const
    {
        const HWND box = at(id);
        RECT area{};
        SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
        const int width = area.right - area.left;
        const int height = area.bottom - area.top;
        POINT origin{area.left, area.top};
        ClientToScreen(box, &origin);
        const ui::plan::Plan plan(static_cast<int>(GetDpiForWindow(window_)));
        HFONT made = ui::win32::create_font(plan[id].font, ui::win32::window_face());
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
        HGDIOBJ old_bitmap = SelectObject(dc, bitmap);
        HGDIOBJ old_font = SelectObject(dc, made);
        const auto pixels = [&] {
            BITMAPINFO info{};
            info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
            std::vector<DWORD> bits(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
            GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), bits.data(), &info, DIB_RGB_COLORS);
            for (DWORD& bit : bits) bit &= 0xFFFFFF;  // the colour: a screen's copy may carry an alpha
            return bits;
        };
        BitBlt(dc, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
        const std::vector<DWORD> shown = pixels();
        const std::wstring figure = driver::text(box);
        bool found = false;
        for (std::size_t keep = figure.size() + 1; keep-- > 0 && !found;) {
            const std::wstring candidate = figure.substr(0, keep) + wide(end);
            const RECT all{0, 0, width, height};
            const ui::SystemColours colours = ui::system_colours(ui::Kind::text_box);
            FillRect(dc, &all, GetSysColorBrush(ui::win32::system_colour(colours.ground)));
            SetTextColor(dc, GetSysColor(ui::win32::system_colour(colours.text)));
            SetBkMode(dc, TRANSPARENT);
            ExtTextOutW(dc, 0, 0, ETO_CLIPPED, &all, candidate.c_str(), static_cast<UINT>(candidate.size()), nullptr);
            found = pixels() == shown;
        }
        SelectObject(dc, old_font);
        SelectObject(dc, old_bitmap);
        DeleteObject(bitmap);
        DeleteObject(made);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
        return found;
    }

private:
    driver::Process program_{wide(PROGRAM)};
    driver::Keyboard keyboard_;
    HWND window_;
};

class Scenario : public ::testing::TestWithParam<scenarios::Scenario> {};

void run(Win32Driver& window, const scenarios::Step& step)
{
    int messages = 0;
    const Control in = step.target;
    if (step.action == "retype" || step.action == "type" || step.action == "erase") {
        window.tab_to(in);
        std::string typed = step.action == "type" ? window.text(in) : "";
        if (step.action == "type") {
            window.press(VK_END);
        } else {
            window.press(VK_HOME);
            window.press(VK_END, true);
        }
        if (step.action == "erase") {
            window.press(VK_DELETE);
            driver::wait_for_text(window.at(in), L"");
            messages += window.answer_message() ? 1 : 0;
        }
        const auto characters = scenarios::characters(step.keys);
        for (std::size_t i = 0; i < characters.size(); ++i) {
            typed += characters[i];
            window.type(in, characters[i], typed);
            messages += window.answer_message() ? 1 : 0;
            for (const auto& [id, texts] : step.each) EXPECT_EQ(window.text(id), texts.at(i)) << ui::name(id);
        }
    } else if (step.action == "tick") {
        window.tab_to(in);
        const LRESULT before = SendMessageW(window.at(in), BM_GETCHECK, 0, 0);
        window.press(VK_SPACE);
        driver::wait_until([&] { return SendMessageW(window.at(in), BM_GETCHECK, 0, 0) != before; }, "a tick");
        messages += window.answer_message() ? 1 : 0;
    } else if (step.action == "press") {
        window.tab_to(in);
        window.press(VK_SPACE);
        for (int i = 0; i < step.messages; ++i) {
            window.wait_for_message();
            messages += window.answer_message() ? 1 : 0;
        }
    } else if (step.action == "enter_escape") {
        window.tab_to(in);
        window.press(VK_RETURN);
        window.press(VK_ESCAPE);
        Sleep(300);  // nothing to wait for: nothing is to happen
    } else if (step.action == "tab" || step.action == "backtab") {
        window.tab_to(in);
        for (const Control next : step.order) {
            window.press(VK_TAB, step.action == "backtab");
            driver::wait_until([&] { return window.focused() == next; }, "Tab reaches the next control");
        }
    }
    for (const auto& [id, text] : step.see) driver::wait_for_text(window.at(id), wide(text));
    EXPECT_FALSE(window.answer_message()) << "a message that the step does not show";
    EXPECT_EQ(messages, step.messages);
    for (const Control id : step.shown) EXPECT_TRUE(IsWindowVisible(window.at(id))) << ui::name(id);
    for (const Control id : step.hidden) EXPECT_FALSE(IsWindowVisible(window.at(id))) << ui::name(id);
    // The box repaints after its text has changed: its pixels come in a moment.
    const auto shows_in_time = [&](Control id, const std::string& end) {
        try {
            driver::wait_until([&] { return window.shows_ending(id, end); }, "the figure's pixels", 5s);
            return true;
        } catch (const driver::DriverError&) {
            return false;
        }
    };
    for (const auto& [id, end] : step.ends) EXPECT_TRUE(shows_in_time(id, end)) << ui::name(id);
}

TEST_P(Scenario, runs_on_korvantelo_exe)
{
    Win32Driver window;
    for (std::size_t i = 0; i < GetParam().steps.size(); ++i) {
        SCOPED_TRACE("step " + std::to_string(i + 1));
        run(window, GetParam().steps[i]);
        if (HasFatalFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(All, Scenario, ::testing::ValuesIn(scenarios::read(SCENARIOS)),
                         [](const auto& info) { return info.param.name; });

}  // namespace
