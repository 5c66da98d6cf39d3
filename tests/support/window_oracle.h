#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/controls.h"

// The oracle of the window stress tests, shared by the headless window and
// the Qt view so that both are judged by one: a model of what the window must
// show, worked out from the inputs alone (the reference reading and writing
// of number texts and plain double arithmetic, not calc's formulas or the
// handlers); seeded random user actions; and the comparison of everything a
// window shows with the model.
namespace stress {

inline constexpr std::uint64_t default_seed = 20240611;

// The boxes whose text only the user writes.
inline constexpr std::array<ui::Control, 4> typed_boxes = {
    ui::Control::txt_impulse, ui::Control::txt_wh, ui::Control::txt_stromwandler,
    ui::Control::txt_spannungswandler};

// A whole number from the environment variable, or the fallback when it is
// unset or empty. Throws std::invalid_argument for any other text.
[[nodiscard]] std::uint64_t setting(const char* variable, std::uint64_t fallback);

enum class ActionKind { edit, replace, toggle, press };

struct Action {
    ActionKind kind = ActionKind::press;
    ui::Control control = ui::Control::cmd_berechnen;
    std::size_t position = 0;  // edit only
    std::size_t length = 0;    // edit only
    std::string text;          // edit: inserted; replace: the new text
};

[[nodiscard]] std::string describe(const Action& action);

// Plain arithmetic with the failure of a step carried along.
using Outcome = std::optional<double>;

// The reference reading of a number text; nothing for a text that is not one.
[[nodiscard]] Outcome number(const std::string& text);

// What the window must show.
class Model {
public:
    Model();

    [[nodiscard]] const std::string& shown(ui::Control id) const { return shown_[index(id)]; }
    [[nodiscard]] bool ticked() const { return ticked_; }
    [[nodiscard]] std::size_t messages() const { return messages_; }
    [[nodiscard]] bool visible(ui::Control id) const;

    [[nodiscard]] bool accepts(const Action& action) const;
    // Whether the accepted action changes the text of its box (and so raises Change).
    [[nodiscard]] static bool changes_text(const Action& action);
    // Applies an accepted action. Counts the outcome for the summary.
    void apply(const Action& action);

    struct Tally {
        std::size_t outputs_written = 0;
        std::size_t failures = 0;
        std::size_t results = 0;
        std::size_t failed_presses = 0;
    };
    [[nodiscard]] const Tally& tally() const { return tally_; }

private:
    [[nodiscard]] Outcome value_of(ui::Control id) const { return number(shown(id)); }
    [[nodiscard]] Outcome ratio() const;
    bool settle(ui::Control output, Outcome value);
    void text_changed(ui::Control box);
    void press();

    std::array<std::string, ui::control_count> shown_;
    bool ticked_ = false;
    std::size_t messages_ = 0;
    Tally tally_;
};

// Picks the actions: mostly on the boxes the user types into, with texts that
// are numbers often enough for the formulas to run. The texts it makes are
// there for other drivers too.
class Driver {
public:
    explicit Driver(std::uint64_t seed) : random_(seed) {}

    Action next(const Model& model);

    // Below n; 0 for n 0.
    std::uint64_t below(std::uint64_t n) { return n == 0 ? 0 : random_() % n; }
    ui::Control any_control() { return ui::control_table[below(ui::control_count)].id; }
    // One character as UTF-8: mostly digits and the number syntax's signs,
    // also blanks, letters and characters outside ASCII up to four bytes.
    std::string_view some_character();
    // A text of the number syntax, its digits roughly `size` long.
    std::string number_text(std::size_t size);
    std::string junk(std::size_t size);
    std::string short_number();
    std::string some_text();

private:
    ui::Control pick_target();
    static std::vector<std::size_t> boundaries(const std::string& text);
    std::size_t some_position(const std::string& text);
    std::pair<std::size_t, std::size_t> some_range(const std::string& text);
    void type_character(Action& action, const std::string& text);
    void delete_range(Action& action, const std::string& text);
    void paste(Action& action, const std::string& text);
    std::string digits(std::size_t count);

    std::mt19937_64 random_;
};

// What a window shows, read from it for the comparison.
class WindowReading {
public:
    virtual ~WindowReading() = default;
    [[nodiscard]] virtual bool visible(ui::Control id) const = 0;
    // The text of a text box; the caption of a label, check box or button.
    [[nodiscard]] virtual std::string shown(ui::Control id) const = 0;
    [[nodiscard]] virtual int check_box_value() const = 0;
    // The messages shown so far.
    [[nodiscard]] virtual std::size_t messages() const = 0;
};

// Everything the window shows against the model; the first difference, if any.
[[nodiscard]] std::optional<std::string> difference(const WindowReading& window,
                                                    const Model& model);

}  // namespace stress
