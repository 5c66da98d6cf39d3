#pragma once

#include <string>
#include <utility>
#include <vector>

#include "ui/controls.h"

// The scenarios of tests/scenarios.json, which every front-end's driver
// runs: what the user does, step by step, and what the window then shows.
namespace scenarios {

template <typename Value>
using PerControl = std::vector<std::pair<ui::Control, Value>>;

struct Step {
    std::string action;  // retype, type, erase, tick, press, enter_escape, tab, backtab; empty: none
    ui::Control target = ui::Control::txt_impulse;
    std::string keys;                              // UTF-8, typed one character at a time
    PerControl<std::vector<std::string>> each;     // texts after every key
    PerControl<std::string> see;                   // texts after the step
    std::vector<ui::Control> shown;
    std::vector<ui::Control> hidden;
    std::vector<ui::Control> order;                // the focus after each Tab
    int messages = 0;                              // input-error messages the step shows
    PerControl<std::string> ends;                  // how a figure too wide for its box ends as shown
};

struct Scenario {
    std::string name;
    std::vector<Step> steps;
};

// The scenarios of the file; std::runtime_error for a file that is not one.
[[nodiscard]] std::vector<Scenario> read(const std::string& path);

// The keys of a text, one character (its UTF-8 bytes) each.
[[nodiscard]] std::vector<std::string> characters(const std::string& text);

}  // namespace scenarios
