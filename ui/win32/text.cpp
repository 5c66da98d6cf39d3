#include "ui/win32/text.h"

#include <windows.h>

#include <limits>
#include <stdexcept>

namespace ui::win32 {
namespace {

int length_of(std::size_t size)
{
    if (size > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        throw std::length_error("text too long for Windows");
    }
    return static_cast<int>(size);
}

}  // namespace

std::wstring wide(std::string_view utf8)
{
    if (utf8.empty()) return {};
    const int size = length_of(utf8.size());
    const int needed = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (needed <= 0) throw std::runtime_error("text is not UTF-8");
    std::wstring result(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, result.data(), needed);
    return result;
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

}  // namespace ui::win32
