#pragma once

#include <string>
#include <string_view>
#include <vector>

// How the window tells the user something: a modal message with a prompt, a
// title and a style. The Qt view shows it as a message box; headless, a
// recording port keeps each message for the tests.
namespace ui {

// Style 48: the exclamation (warning) icon and a single OK button.
inline constexpr int warning_ok_style = 48;

struct Message {
    std::string_view prompt;
    std::string_view title;
    int style = warning_ok_style;
};

// The one message of the window: some input is not a number, or a formula
// step failed. It does not say which input.
inline constexpr Message input_error_message{"Eingabefehler!", "Fehler!", warning_ok_style};

class MessagePort {
public:
    virtual ~MessagePort() = default;
    // Shows the message and returns when the user has closed it.
    virtual void show(const Message& message) = 0;
};

// Records every message instead of showing it.
class RecordingPort final : public MessagePort {
public:
    struct Shown {
        std::string prompt;
        std::string title;
        int style;
        bool operator==(const Shown&) const = default;
    };

    void show(const Message& message) override
    {
        shown_.push_back({std::string(message.prompt), std::string(message.title), message.style});
    }

    [[nodiscard]] const std::vector<Shown>& shown() const { return shown_; }
    [[nodiscard]] std::size_t count() const { return shown_.size(); }
    void clear() { shown_.clear(); }

private:
    std::vector<Shown> shown_;
};

}  // namespace ui
