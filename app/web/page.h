#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ui/message_port.h"
#include "ui/window.h"

// The window as the page runs it: the model with the six handlers bound, the
// message port in front of it, and what the page has yet to show. The page's
// script calls it through the C interface of entry.cpp; every call answers
// with a JSON text that says what to show:
//
//   {"shown":[[index,"text"|"caption","…"],[index,"value",0|1],[index,"visible",true|false]],
//    "messages":[["title","prompt"]],"ended":false}
//
// `shown` lists the program's changes in the order made, each with the
// control's state at the end of the call; `index` is the control's position
// in ui::control_table. `messages` come after the changes, each to be shown
// modally in turn. `ended`: a fault reached the edge of the call and was
// reported in `messages`; the page takes no more input.
namespace app::web {

class Page final : ui::MessagePort {
public:
    // Every control in its stored state, the handlers bound; Load has not run.
    Page();

    // The tables the page builds its controls from, with each control's
    // present state (see page.cpp for the fields).
    [[nodiscard]] const std::string& tables() noexcept;

    // Runs Load.
    [[nodiscard]] const std::string& load() noexcept;
    // The user's actions on the control at `index`; a control of another kind,
    // or one that cannot take the action, is a fault of the page.
    [[nodiscard]] const std::string& replace_text(std::size_t index, std::string_view text) noexcept;
    [[nodiscard]] const std::string& toggle(std::size_t index) noexcept;
    [[nodiscard]] const std::string& press(std::size_t index) noexcept;

private:
    struct Shown {
        std::string title;
        std::string prompt;
    };

    void show(const ui::Message& message) override;
    template <typename Action>
    const std::string& answer(Action&& action) noexcept;
    [[nodiscard]] std::string answer_text() const;
    [[nodiscard]] std::string tables_text() const;

    ui::Window window_{*this};
    std::vector<ui::Change> shown_;
    std::vector<Shown> messages_;
    bool ended_ = false;
    std::string answer_;  // the last answer, read by the script before the next call
};

// `text` as a JSON string, quotes included. Bytes from 0x80 up pass as they
// are: every text here is UTF-8.
[[nodiscard]] std::string json_string(std::string_view text);

}  // namespace app::web
