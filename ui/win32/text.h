#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// The one place where texts cross between the model (UTF-8) and Windows
// (UTF-16). Only the W functions of Windows are called with the results.
namespace ui::win32 {

// A text for Windows. Our own texts (control names, captions, numbers,
// messages) are UTF-8. A text that is not, such as the error text of a
// library that speaks the ANSI code page as Windows' A functions do, is read
// in that code page, so that a fault's text shows with its umlauts instead of
// failing the report of the fault. Throws only when memory runs out.
[[nodiscard]] std::wstring wide(std::string_view text);

// What a control holds, typed or pasted by the user. A lone surrogate, which
// UTF-8 cannot carry, becomes U+FFFD; no text is refused.
[[nodiscard]] std::string utf8(std::wstring_view utf16);

// A failed call of the Windows API, with what we were doing and Windows' own
// reason (from FormatMessageW), as UTF-8.
class WindowsError : public std::runtime_error {
public:
    // Takes the reason from GetLastError().
    explicit WindowsError(std::string_view what);
    WindowsError(std::string_view what, unsigned long error);
};

}  // namespace ui::win32
