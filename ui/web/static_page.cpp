#include "ui/web/static_page.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdio>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ui/controls.h"
#include "ui/handlers.h"
#include "ui/message_port.h"
#include "ui/plan.h"
#include "ui/presentation.h"
#include "ui/window.h"

namespace ui::web {
namespace {

constexpr std::array<std::string_view, 6> kind_names{"text_box", "label", "check_box", "command_button",
                                                     "image_box", "line"};

std::string colour(Rgb rgb)
{
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "#%02x%02x%02x", rgb.red, rgb.green, rgb.blue);
    return text.data();
}

std::string px(int pixels)
{
    return std::to_string(pixels) + "px";
}

// The page's palette: its own rendering of the desktop's colours, which a
// browser does not give a page. Each colour's name as a custom property of
// the stylesheet, and the colour under the light and the dark scheme.
struct Shade {
    std::string_view name;
    Rgb light;
    Rgb dark;
};

constexpr std::array<Shade, 7> shades{{
    // The plan's system colours, in the order of SystemColour.
    {"face", {0xef, 0xef, 0xef}, {0x35, 0x35, 0x35}},
    {"button-text", black, white},
    {"field", white, {0x1e, 0x1e, 0x1e}},
    {"field-text", black, white},
    // The page's own: the desktop window's outline, and the two sides of a
    // sunken or raised edge, since each engine shades an inset or outset
    // border its own way (Firefox hardly at all).
    {"edge", {0xa0, 0xa0, 0xa0}, {0x70, 0x70, 0x70}},
    {"edge-shadow", {0x4c, 0x4c, 0x4c}, {0x1b, 0x1b, 0x1b}},
    {"edge-light", {0xf5, 0xf5, 0xf5}, {0xc4, 0xc4, 0xc4}},
}};
static_assert(shades[static_cast<std::size_t>(SystemColour::field_text)].name == "field-text");

const Shade& shade(SystemColour colour)
{
    return shades.at(static_cast<std::size_t>(colour));
}

// One scheme's palette as custom properties, and the check box's tick drawn
// in the colour of a field's text.
std::string palette(Rgb Shade::*scheme, std::string_view indent)
{
    std::string text;
    for (const Shade& s : shades) text.append(indent) += "--" + std::string(s.name) + ": " + colour(s.*scheme) + ";\n";
    const std::string tick = colour(shade(SystemColour::field_text).*scheme).substr(1);
    return text.append(indent) +
           "--tick: url(\"data:image/svg+xml,%3Csvg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 8 8'%3E%3Cpath "
           "d='M1 4l2 2 4-4' fill='none' stroke='%23" +
           tick + "' stroke-width='1.5'/%3E%3C/svg%3E\");\n";
}

// The custom properties --ground and --text of what shows in `colours`.
std::string colour_roles(const SystemColours& colours)
{
    return "    --ground: var(--" + std::string(shade(colours.ground).name) + ");\n    --text: var(--" +
           std::string(shade(colours.text).name) + ");\n";
}

// The custom properties of a control: its place in the window, stacking,
// font and colours. The place is the window's, not its box's: in the
// desktop window the controls that take the focus stand outside their boxes
// (index.html).
std::string style(const plan::Entry& e)
{
    const layout::Rect& r = e.rect;
    std::string text = "--x:" + px(r.left) + ";--y:" + px(r.top) + ";--w:" + px(r.width) + ";--h:" + px(r.height) +
                       ";--z:" + std::to_string(control_count - e.stacking);
    if (e.kind != Kind::line) {
        text += ";--size:" + px(e.font.pixel_height) + ";--weight:" + (e.font.bold ? "bold" : "normal");
    }
    if (e.look.colours) {
        text += ";--pair-text:" + colour(e.look.colours->text) + ";--pair-ground:" + colour(e.look.colours->ground);
    }
    return text;
}

std::string attribute(std::string_view name, std::string_view value)
{
    return std::string(" ").append(name).append("=\"").append(html_text(value)).append("\"");
}

// The names of `controls`, for an attribute that lists ids.
std::string names(const std::vector<Control>& controls)
{
    std::string text;
    for (const Control id : controls) text.append(text.empty() ? "" : " ").append(name(id));
    return text;
}

// The port of a window that the build makes: a message there is a fault
// of the build.
struct Refused final : MessagePort {
    void show(const Message& message) override
    {
        throw std::logic_error("a message while the first window is made: " + std::string(message.prompt));
    }
};

// The controls whose state the handler bound to `source` writes, in the
// order it writes them; none where no handler is bound to it. Found by
// running the handler on a window in its stored state, so that the page
// knows what an action will change before the module is there to change it.
std::vector<Control> written_by(Control source)
{
    Refused port;
    Window window(port);
    std::vector<Control> written;
    window.add_observer([&written](const Change& change) {
        if (change.origin == Origin::program && std::find(written.begin(), written.end(), change.id) == written.end()) {
            written.push_back(change.id);
        }
    });
    for (const Binding& binding : event_bindings) {
        if (binding.source == source) binding.handler(window);
    }
    return written;
}

class Writer {
public:
    Writer(const Window& model, std::ostream& out) : model_(model), out_(out) {}

    void window()
    {
        const plan::Plan& plan = plan::base;
        // The window's focus order, which the page gives the desktop window
        // by the document's order (index.html).
        out_ << "<main class=\"window\"" << attribute("id", window_name)
             << attribute("style", "--width:" + px(plan.width()) + ";--height:" + px(plan.height()))
             << attribute("data-focus-order", names(plan.focus_order())) << ">\n";
        for (const plan::GroupEntry& g : plan.groups()) group(g);
        for (const Control id : plan.reading()) {
            if (!plan[id].group) control(plan[id]);
        }
        out_ << "</main>\n";
    }

private:
    // A box: its controls in rows, each row followed by the hints and
    // descriptions of its controls, then its lines. It owns its controls
    // for assistive technology, in reading order, also where they stand
    // outside it in the document (the desktop window's focus order).
    void group(const plan::GroupEntry& g)
    {
        const plan::Plan& plan = plan::base;
        std::string members;
        for (const Control id : plan.reading()) {
            if (plan[id].group == g.id) members.append(members.empty() ? "" : " ").append(member(plan[id]));
        }
        out_ << "<div class=\"group\" role=\"group\"" << attribute("aria-labelledby", name(g.title))
             << attribute("aria-owns", members) << ">\n";
        for (int row = 0;; ++row) {
            std::string hints;
            bool any = false;
            for (const Control id : plan.reading()) {
                const plan::Entry& e = plan[id];
                if (e.group != g.id || e.row != row) continue;
                if (!any) out_ << "<div class=\"row\">";
                any = true;
                control(e);
                if (!e.look.hint.empty()) {
                    // A hint the mouse shows on hovering shows on a touch screen under its row.
                    hints += "<span" + attribute("class", e.look.tooltip ? "hint" : "description") +
                             attribute("id", hint_id(e)) + " aria-hidden=\"true\"" +
                             (model_.visible(e.id) ? "" : " hidden") + ">" + html_text(e.look.hint) + "</span>";
                }
            }
            if (!any) break;
            out_ << hints << "</div>\n";
        }
        for (const plan::Entry& e : plan.entries()) {
            if (e.group == g.id && e.kind == Kind::line) control(e);
        }
        out_ << "</div>\n";
    }

    static std::string hint_id(const plan::Entry& e) { return std::string(e.name) + "-hint"; }
    // The element that stands for the control in its box: the check box
    // with its caption, else the control's own.
    static std::string member(const plan::Entry& e)
    {
        return std::string(e.name) + (e.kind == Kind::check_box ? "-box" : "");
    }

    // What names and describes the element for assistive technology, and
    // what its action changes. Its place in the focus order is its place in
    // the document (index.html), never a tabindex.
    static std::string naming(const plan::Entry& e)
    {
        std::string text = attribute("id", e.name);
        if (e.id == plan::base.first_focus()) text += " autofocus";  // the focus from the first frame
        if (const auto written = written_by(e.id); !written.empty()) {
            text += attribute("aria-controls", names(written));
        }
        if (!e.look.accessible_name.empty()) text += attribute("aria-label", e.look.accessible_name);
        if (e.look.titled_by) text += " role=\"status\"" + attribute("aria-labelledby", name(*e.look.titled_by));
        if (!e.look.hint.empty()) text += attribute("aria-describedby", hint_id(e));
        return text;
    }

    // The element that places the control: its classes and custom
    // properties, whether it shows, its tooltip.
    static std::string box(const plan::Entry& e, bool visible)
    {
        std::string classes = "control " + std::string(kind_names.at(static_cast<std::size_t>(e.kind)));
        if (e.look.colours) classes += " paired";
        if (e.look.figure) classes += " figure";
        std::string text = attribute("class", classes) + attribute("style", style(e));
        if (!visible) text += " hidden";
        if (e.look.tooltip) text += attribute("title", e.look.hint);
        return text;
    }

    void control(const plan::Entry& e)
    {
        const bool visible = model_.visible(e.id);
        const std::string shown = html_text(shown_text(model_, e.id));
        if (e.look.figure) out_ << "<span class=\"cell\">";
        // autocomplete off: no browser fills in a box or puts back its text
        // on a reload; the program starts anew then. (Not on the tick: WebKit
        // unticks such a box as it brings a page back from its cache, after
        // the page was told; index.html undoes what a browser put back.)
        switch (e.kind) {
        case Kind::text_box:
            out_ << "<input type=\"text\" inputmode=\"decimal\" autocomplete=\"off\" spellcheck=\"false\" "
                    "autocapitalize=\"off\""
                 << naming(e) << box(e, visible) << " value=\"" << shown << "\""
                 << (e.enabled ? "" : " disabled") << ">";
            break;
        case Kind::label: out_ << "<span" << naming(e) << box(e, visible) << ">" << shown << "</span>"; break;
        case Kind::check_box:
            out_ << "<label" << attribute("id", member(e)) << box(e, visible) << "><input type=\"checkbox\"" << naming(e)
                 << (shown_value(model_, e.id) == 1 ? " checked" : "")
                 << "><span>" << shown << "</span></label>";
            break;
        case Kind::command_button:
            out_ << "<button type=\"button\"" << naming(e) << box(e, visible) << ">" << shown << "</button>";
            break;
        case Kind::image_box:
            out_ << "<img alt=\"\"" << naming(e) << box(e, visible)
                 << attribute("src", picture_file(*e.look.picture)) << " width=\"" << e.rect.width
                 << "\" height=\"" << e.rect.height << "\">";
            break;
        case Kind::line:
            out_ << "<div aria-hidden=\"true\"" << attribute("id", e.name) << box(e, visible) << "></div>";
            break;
        }
        if (e.look.figure) {
            // The figure as it shows where it does not fit its box
            // (PageView::fit), in the colours of its box's kind.
            std::string classes = "fitted " + std::string(kind_names.at(static_cast<std::size_t>(e.kind)));
            if (e.look.colours) classes += " paired";
            out_ << "<span" << attribute("class", classes) << attribute("style", style(e))
                 << " aria-hidden=\"true\" hidden></span></span>";
        }
        out_ << "\n";
    }

    const Window& model_;
    std::ostream& out_;
};

}  // namespace

std::string html_text(std::string_view text)
{
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&#39;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string window_style()
{
    std::string faces;
    for (const std::string_view face : layout::faces) faces.append("\"").append(face).append("\", ");
    std::string text = ":root {\n    --faces: " + faces + "sans-serif;\n    --box-text-inset: " +
                       px(plan::box_text_inset) + ";\n    --check-box-size: " + px(check_box_size) + ";\n" +
                       palette(&Shade::light, "    ") + colour_roles(window_colours) + "}\n\n" +
                       "@media (prefers-color-scheme: dark) {\n    :root {\n" + palette(&Shade::dark, "        ") +
                       "    }\n}\n";
    for (std::size_t kind = 0; kind < kind_names.size(); ++kind) {
        text.append("\n.").append(kind_names.at(kind));
        // Where the lines do not show (one column), a box draws its frame itself.
        if (static_cast<Kind>(kind) == Kind::line) text += ",\n.group";
        text += " {\n" + colour_roles(system_colours(static_cast<Kind>(kind))) + "}\n";
    }
    return text;
}

std::string window_ground()
{
    return colour(shade(window_colours.ground).light);
}

void write_window(std::ostream& out)
{
    Refused port;
    Window model(port);
    bind_event_handlers(model);
    model.load();
    Writer(model, out).window();
}

}  // namespace ui::web
