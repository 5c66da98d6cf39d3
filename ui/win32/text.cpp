#include "ui/win32/text.h"

#include <windows.h>

#include <limits>
#include <memory>

namespace ui::win32 {
namespace {

int length_of(std::size_t size)
{
    if (size > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        throw std::length_error("text too long for Windows");
    }
    return static_cast<int>(size);
}

// The text in the code page, or nothing where it is not valid there.
std::wstring decode(UINT code_page, DWORD flags, std::string_view text)
{
    const int size = length_of(text.size());
    const int needed = MultiByteToWideChar(code_page, flags, text.data(), size, nullptr, 0);
    if (needed <= 0) return {};
    std::wstring result(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(code_page, flags, text.data(), size, result.data(), needed);
    return result;
}

std::string reason(DWORD error)
{
    wchar_t* message = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    const std::unique_ptr<wchar_t, decltype(&LocalFree)> owned(message, &LocalFree);
    std::wstring_view text(message, length);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.remove_suffix(1);
    }
    return text.empty() ? "Fehler " + std::to_string(error) : utf8(text);
}

}  // namespace

std::wstring wide(std::string_view text)
{
    if (text.empty()) return {};
    std::wstring result = decode(CP_UTF8, MB_ERR_INVALID_CHARS, text);
    return result.empty() ? decode(CP_ACP, 0, text) : result;
}

std::string utf8(std::wstring_view utf16)
{
    if (utf16.empty()) return {};
    const int size = length_of(utf16.size());
    const int needed = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) throw std::runtime_error("text cannot be written as UTF-8");
    std::string result(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, result.data(), needed, nullptr, nullptr);
    return result;
}

WindowsError::WindowsError(std::string_view what) : WindowsError(what, GetLastError()) {}

WindowsError::WindowsError(std::string_view what, unsigned long error)
    : std::runtime_error(std::string(what).append(": ").append(reason(error)))
{
}

}  // namespace ui::win32
