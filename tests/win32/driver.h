#pragma once

#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "ui/controls.h"
#include "ui/win32/resources.h"

// Drives Korvantelo.exe from a second process, as a user does: starts it,
// finds its window by the caption, types with real keyboard input and reads
// what the controls show. Every wait is bounded; what does not come in time
// throws DriverError.
namespace driver {

class DriverError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using namespace std::chrono_literals;
inline constexpr auto patience = 20s;  // Wine's first start of a process can take seconds

// Waits until `done` holds, checking every few milliseconds.
inline void wait_until(const std::function<bool()>& done, const char* what,
                       std::chrono::milliseconds limit = patience)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) throw DriverError(std::string("timed out: ") + what);
        std::this_thread::sleep_for(5ms);
    }
}

// A started program; ended at the latest when this goes.
class Process {
public:
    explicit Process(const std::wstring& program)
    {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring command = L"\"" + program + L"\"";
        if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &info_)) {
            throw DriverError("cannot start the program");
        }
    }
    ~Process()
    {
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, 5000);
        }
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    [[nodiscard]] DWORD id() const { return info_.dwProcessId; }
    [[nodiscard]] HANDLE handle() const { return info_.hProcess; }

    // The exit status once the process has ended; throws if it does not end in time.
    [[nodiscard]] DWORD wait_for_exit(DWORD milliseconds = 20000) const
    {
        if (WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0) {
            throw DriverError("the program did not end");
        }
        DWORD status = 0;
        GetExitCodeProcess(info_.hProcess, &status);
        return status;
    }

private:
    PROCESS_INFORMATION info_{};
};

// The visible top-level window of that process with that caption (and class, if given).
inline HWND find_window(const Process& process, const wchar_t* caption, const wchar_t* window_class = nullptr)
{
    HWND found = nullptr;
    wait_until(
        [&] {
            HWND candidate = nullptr;
            while ((candidate = FindWindowExW(nullptr, candidate, window_class, caption)) != nullptr) {
                DWORD owner = 0;
                GetWindowThreadProcessId(candidate, &owner);
                if (owner == process.id() && IsWindowVisible(candidate)) {
                    found = candidate;
                    return true;
                }
            }
            return false;
        },
        "window not found");
    return found;
}

inline HWND control(HWND window, ui::Control id)
{
    HWND hwnd = GetDlgItem(window, ui::win32::control_id(id));
    if (hwnd == nullptr) throw DriverError("no such control in the window");
    return hwnd;
}

// What a window of another process shows, asked through WM_GETTEXT.
inline std::wstring text(HWND hwnd)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
        throw DriverError("the window does not answer");
    }
    std::wstring result(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, result.size(), reinterpret_cast<LPARAM>(result.data()),
                             SMTO_ABORTIFHUNG, 5000, &copied)) {
        throw DriverError("the window does not answer");
    }
    result.resize(copied);
    return result;
}

inline void wait_for_text(HWND hwnd, const std::wstring& expected)
{
    wait_until([&] { return text(hwnd) == expected; }, "a control did not show the expected text");
}

// The control with the keyboard focus in the window's thread.
inline HWND focus(HWND window)
{
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread)) return nullptr;
    return thread.hwndFocus;
}

// The tooltip windows of the process.
inline std::vector<HWND> tooltip_windows(const Process& process)
{
    struct Search {
        DWORD owner;
        std::vector<HWND> found;
    } search{process.id(), {}};
    EnumWindows(
        [](HWND hwnd, LPARAM l) -> BOOL {
            auto* s = reinterpret_cast<Search*>(l);
            wchar_t name[64] = {};
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            GetClassNameW(hwnd, name, 64);
            if (owner == s->owner && std::wstring_view(name) == TOOLTIPS_CLASSW) s->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A tool's description and a text, in memory of the process, where its
// tooltips answer the questions asked here.
class RemoteTool {
public:
    static constexpr std::size_t text_size = 1024;
    struct Layout {
        TTTOOLINFOW tool;
        wchar_t text[text_size];
    };

    explicit RemoteTool(const Process& process)
        : process_(process),
          remote_(static_cast<Layout*>(
              VirtualAllocEx(process.handle(), nullptr, sizeof(Layout), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)))
    {
        if (remote_ == nullptr) throw DriverError("cannot reach the program's memory");
    }
    ~RemoteTool() { VirtualFreeEx(process_.handle(), remote_, 0, MEM_RELEASE); }
    RemoteTool(const RemoteTool&) = delete;
    RemoteTool& operator=(const RemoteTool&) = delete;

    // Sends the tooltip `message` about `tool` (its text empty, to be
    // filled in); returns the tool as the answer left it.
    Layout ask(HWND tooltip, UINT message, WPARAM w, TTTOOLINFOW tool)
    {
        Layout local{};
        local.tool = tool;
        local.tool.cbSize = TTTOOLINFOW_V2_SIZE;
        local.tool.lpszText = remote_->text;
        if (!WriteProcessMemory(process_.handle(), remote_, &local, sizeof local, nullptr)) {
            throw DriverError("cannot ask a tooltip");
        }
        SendMessageW(tooltip, message, w, reinterpret_cast<LPARAM>(&remote_->tool));
        if (!ReadProcessMemory(process_.handle(), remote_, &local, sizeof local, nullptr)) {
            throw DriverError("cannot read a tooltip's answer");
        }
        local.text[text_size - 1] = L'\0';
        return local;
    }

private:
    const Process& process_;
    Layout* remote_;
};

// The tooltips of the process's windows with a text of their own: for each
// tool (a control), the text it shows. Read with TTM_ENUMTOOLSW.
inline std::map<HWND, std::wstring> tooltips(const Process& process)
{
    RemoteTool remote(process);
    std::map<HWND, std::wstring> tips;
    for (HWND tooltip : tooltip_windows(process)) {
        const auto count = SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            const auto found = remote.ask(tooltip, TTM_ENUMTOOLSW, static_cast<WPARAM>(i), {});
            if (found.tool.lpszText != LPSTR_TEXTCALLBACKW) tips[reinterpret_cast<HWND>(found.tool.uId)] = found.text;
        }
    }
    return tips;
}

// What the tooltip of a control shows at the moment, its text given on
// asking (TTM_GETTEXTW): a tool of the window, the control itself where it
// takes the mouse, else its identifier.
inline std::wstring tooltip_now(const Process& process, HWND window, HWND control, bool by_window)
{
    RemoteTool remote(process);
    TTTOOLINFOW tool{};
    tool.hwnd = window;
    tool.uId = by_window ? static_cast<UINT_PTR>(GetDlgCtrlID(control)) : reinterpret_cast<UINT_PTR>(control);
    for (HWND tooltip : tooltip_windows(process)) {
        if (SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0) == 0) continue;
        return remote.ask(tooltip, TTM_GETTEXTW, RemoteTool::text_size, tool).text;
    }
    throw DriverError("no tooltips");
}

// Real keyboard input: key presses that reach whatever has the focus.
class Keyboard {
public:
    void press(WORD key, bool shift = false)
    {
        if (shift) add(VK_SHIFT, false);
        add(key, false);
        add(key, true);
        if (shift) add(VK_SHIFT, true);
        send();
    }

    // A key pressed while `modifier` (such as VK_CONTROL) is held down.
    void chord(WORD modifier, WORD key)
    {
        add(modifier, false);
        add(key, false);
        add(key, true);
        add(modifier, true);
        send();
    }

    // Types the text key by key through the keyboard layout.
    void type(std::wstring_view text)
    {
        for (const wchar_t c : text) {
            const SHORT scan = VkKeyScanW(c);
            if (scan == -1) throw DriverError("character not on the keyboard");
            press(static_cast<WORD>(scan & 0xFF), (scan & 0x100) != 0);
        }
    }

private:
    void add(WORD key, bool up)
    {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs_.push_back(input);
    }
    void send()
    {
        if (SendInput(static_cast<UINT>(inputs_.size()), inputs_.data(), sizeof(INPUT)) != inputs_.size()) {
            throw DriverError("keyboard input refused");
        }
        inputs_.clear();
    }
    std::vector<INPUT> inputs_;
};

// Brings the window to the front, so that the keyboard reaches it.
inline void bring_to_front(HWND window)
{
    wait_until(
        [&] {
            if (GetForegroundWindow() == window) return true;
            SetForegroundWindow(window);
            return false;
        },
        "the window does not come to the front");
}

}  // namespace driver
