#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

// How the window tells the user something: a message with a prompt and a
// title, shown with the warning icon and a single OK button, modal to the
// whole application: while it is open, the window takes no input.
namespace ui {

struct Message {
    std::string_view prompt;
    std::string_view title;
};

enum class Modality : std::uint8_t { window, application };
inline constexpr Modality message_modality = Modality::application;

// The one message of the window: some input is not a number, or a formula
// step failed. It does not say which input.
inline constexpr Message input_error_message{"Eingabefehler!", "Fehler!"};

// What the window says when a fault of the program itself (never bad input)
// reaches the edge of an event: this line, then the fault's own text. The
// program then ends, since the window can no longer be trusted.
inline constexpr std::string_view fault_prompt = "Korvantelo kann nicht weiterlaufen:";
inline constexpr std::string_view fault_title = "Korvantelo";

// The prompt of the fault message: the line above, then the fault's text
// where it has one.
[[nodiscard]] std::string fault_text(const std::exception_ptr& fault);

class MessagePort {
public:
    virtual ~MessagePort() = default;
    // Shows the message and returns when the user has closed it.
    virtual void show(const Message& message) = 0;
};

}  // namespace ui
