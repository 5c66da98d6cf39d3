#pragma once

#include <string>
#include <vector>

#include "ui/message_port.h"

namespace support {

// A message port for headless tests: records every message instead of
// showing it.
class RecordingPort final : public ui::MessagePort {
public:
    struct Shown {
        std::string prompt;
        std::string title;
        bool operator==(const Shown&) const = default;
    };

    void show(const ui::Message& message) override
    {
        shown_.push_back({std::string(message.prompt), std::string(message.title)});
    }

    [[nodiscard]] const std::vector<Shown>& shown() const { return shown_; }
    [[nodiscard]] std::size_t count() const { return shown_.size(); }
    void clear() { shown_.clear(); }

private:
    std::vector<Shown> shown_;
};

// The input-error message as the port records it.
inline const RecordingPort::Shown input_error{"Eingabefehler!", "Fehler!"};

}  // namespace support
