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

// The tooltips of the process's windows: for each tool (a control), the text
// it shows. Read from the tooltip windows with TTM_ENUMTOOLSW, whose answer
// is written into memory of that process.
inline std::map<HWND, std::wstring> tooltips(const Process& process)
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

    constexpr std::size_t text_size = 1024;
    struct Remote {
        TTTOOLINFOW tool;
        wchar_t text[text_size];
    };
    auto* remote = static_cast<Remote*>(
        VirtualAllocEx(process.handle(), nullptr, sizeof(Remote), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (remote == nullptr) throw DriverError("cannot reach the program's memory");
    std::map<HWND, std::wstring> tips;
    for (HWND tooltip : search.found) {
        const auto count = SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            Remote local{};
            local.tool.cbSize = TTTOOLINFOW_V2_SIZE;
            local.tool.lpszText = remote->text;
            if (!WriteProcessMemory(process.handle(), remote, &local, sizeof local, nullptr) ||
                !SendMessageW(tooltip, TTM_ENUMTOOLSW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&remote->tool)) ||
                !ReadProcessMemory(process.handle(), remote, &local, sizeof local, nullptr)) {
                throw DriverError("cannot read a tooltip");
            }
            local.text[text_size - 1] = L'\0';
            tips[reinterpret_cast<HWND>(local.tool.uId)] = local.text;
        }
    }
    VirtualFreeEx(process.handle(), remote, 0, MEM_RELEASE);
    return tips;
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
