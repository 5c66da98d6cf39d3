#pragma once

#include <string>
#include <string_view>

// The one place where texts cross between the model (UTF-8) and Windows
// (UTF-16). Only the W functions of Windows are called with the results.
namespace ui::win32 {

// Our own texts: control names, captions, numbers, messages. Throws
// std::runtime_error for a text that is not valid UTF-8, a fault of the program.
[[nodiscard]] std::wstring wide(std::string_view utf8);

// What a control holds, typed or pasted by the user. A lone surrogate, which
// UTF-8 cannot carry, becomes U+FFFD; no text is refused.
[[nodiscard]] std::string utf8(std::wstring_view utf16);

}  // namespace ui::win32
