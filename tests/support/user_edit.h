#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "ui/window.h"

namespace support {

// What a text box does with one edit of the user: replaces `length` bytes at
// byte `position` by `insert` and hands the new text to the model, which
// raises Change. An edit that removes and inserts nothing changes nothing.
inline void user_edit(ui::Window& window, ui::TextBox box, std::size_t position, std::size_t length,
                      std::string_view insert)
{
    if (!window.takes_user_action(box)) throw ui::ActionRefused("the box takes no typing now");
    std::string text = window.text(box);
    if (position > text.size() || length > text.size() - position) {
        throw ui::ActionRefused("edit beyond the end of the text");
    }
    if (length == 0 && insert.empty()) return;
    text.replace(position, length, insert);
    window.user_replace_text(box, std::move(text));
}

}  // namespace support
