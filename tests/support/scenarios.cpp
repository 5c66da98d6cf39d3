#include "tests/support/scenarios.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace scenarios {
namespace {

using nlohmann::json;

ui::Control control(const std::string& name)
{
    const auto* found = std::find_if(ui::control_table.begin(), ui::control_table.end(),
                                     [&](const ui::ControlInfo& c) { return c.name == name; });
    if (found == ui::control_table.end()) throw std::runtime_error("no control " + name);
    return found->id;
}

std::vector<ui::Control> controls(const json& names)
{
    std::vector<ui::Control> found;
    for (const auto& name : names) found.push_back(control(name.get<std::string>()));
    return found;
}

template <typename Value>
PerControl<Value> per_control(const json& object)
{
    PerControl<Value> found;
    for (const auto& [name, value] : object.items()) found.emplace_back(control(name), value.template get<Value>());
    return found;
}

Step step(const json& s)
{
    Step step;
    step.action = s.value("do", "");
    if (s.contains("in")) step.target = control(s["in"].get<std::string>());
    step.keys = s.value("keys", "");
    step.each = per_control<std::vector<std::string>>(s.value("each", json::object()));
    step.see = per_control<std::string>(s.value("see", json::object()));
    step.shown = controls(s.value("shown", json::array()));
    step.hidden = controls(s.value("hidden", json::array()));
    step.order = controls(s.value("order", json::array()));
    step.messages = s.value("messages", 0);
    step.ends = per_control<std::string>(s.value("ends", json::object()));
    return step;
}

}  // namespace

std::vector<Scenario> read(const std::string& path)
{
    std::ifstream file(path);
    if (!file) throw std::runtime_error("cannot read " + path);
    const json all = json::parse(file);
    std::vector<Scenario> found;
    for (const auto& s : all.at("scenarios")) {
        Scenario scenario{s.at("name").get<std::string>(), {}};
        for (const auto& each : s.at("steps")) scenario.steps.push_back(step(each));
        found.push_back(std::move(scenario));
    }
    return found;
}

std::vector<std::string> characters(const std::string& text)
{
    std::vector<std::string> keys;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0U) == 0x80U && !keys.empty()) {
            keys.back() += c;  // a continuation byte of the character before
        } else {
            keys.emplace_back(1, c);
        }
    }
    return keys;
}

}  // namespace scenarios
