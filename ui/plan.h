#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/controls.h"
#include "ui/layout.h"
#include "ui/presentation.h"

// The view plan: everything a front-end needs to build the window, worked
// out once from the tables for a given density. A front-end makes one native
// control per entry, at its rectangle, in its font, with its presentation,
// in its place in the focus order and the stacking, inside its group, and
// then only mirrors the model's changes; it decides none of these itself.
namespace ui::plan {

// The three boxes that the lines draw, each a group for assistive
// technology, named by its title.
enum class Group : std::uint8_t { pulse_rating, transformers, result };

struct Font {
    int pixel_height;
    bool bold;
    bool operator==(const Font&) const = default;
};

struct Entry {
    Control id;
    std::string_view name;
    Kind kind;
    // In pixels of the plan's density, from the top-left corner of the
    // client area; a line's rectangle is the pixels it covers.
    layout::Rect rect;
    Font font;
    Presentation look;
    // The position in the focus order among the controls that take the
    // focus, from 1; 0 for a control that never takes it. Tab walks the
    // positions upwards, skipping hidden controls, and wraps around.
    int focus;
    // The position in the stacking, 0 on top: the controls that take input
    // above everything else, in focus order (they never overlap, so that a
    // toolkit that tabs through its stacking, as Windows does, tabs in focus
    // order), then the others as the control table lists them.
    int stacking;
    // The box the control stands in; the pictures stand in none.
    std::optional<Group> group;
    // The row of its box that the control stands in where the boxes are
    // laid out as one column (a phone): a row goes on while the next
    // control stands beside the one before it. -1 outside the boxes.
    int row;
    bool visible;
    bool enabled;
    // Every text box takes a text of any length.
    bool unlimited;
};

struct GroupEntry {
    Group id;
    Label title;
    layout::Rect rect;  // the box, its edge lines included
};

namespace detail {

struct Box {
    Group id;
    Label title;
    Line top;
    Line bottom;
};

inline constexpr std::array<Box, 3> boxes{{
    {Group::pulse_rating, Control::Label4, Control::Line1, Control::Line3},
    {Group::transformers, Control::Label3, Control::Line8, Control::Line6},
    {Group::result, Control::Label11, Control::Line11, Control::Line9},
}};

// A box in twips: left, top, right, bottom.
struct Span {
    int left;
    int top;
    int right;
    int bottom;
};

constexpr Span span(const Box& box)
{
    const auto& top = layout::place(box.top);
    const auto& bottom = layout::place(box.bottom);
    return {std::min({top.x1, top.x2, bottom.x1, bottom.x2}), top.y1,
            std::max({top.x1, top.x2, bottom.x1, bottom.x2}), bottom.y1};
}

constexpr bool inside(const Span& s, int x, int y)
{
    return x >= s.left && x <= s.right && y >= s.top && y <= s.bottom;
}

constexpr std::optional<Group> group_of(Control id)
{
    for (const Box& box : boxes) {
        const Span s = span(box);
        if (const auto line = layout::line_placement(id)) {
            if (inside(s, line->x1, line->y1) && inside(s, line->x2, line->y2)) return box.id;
        } else if (const auto& place = layout::place(id); inside(s, place.left, place.top)) {
            return box.id;
        }
    }
    return std::nullopt;
}

// Whether `next` stands beside `before`: further right, overlapping it in height.
constexpr bool beside(const layout::Placement& before, const layout::Placement& next)
{
    return next.left >= before.left && next.top < before.top + before.height &&
           before.top < next.top + next.height;
}

constexpr int scaled(int pixels, int dpi)
{
    return (pixels * dpi + layout::base_dpi / 2) / layout::base_dpi;
}

constexpr Font font(layout::Font font, int dpi)
{
    const auto [pixel_height, bold] = layout::font_info(font);
    return {scaled(pixel_height, dpi), bold};
}

// A control's TabIndex; -1 for the lines and pictures, which have none.
constexpr int tab_index(const ControlInfo& c)
{
    return c.tab_index ? *c.tab_index : -1;
}

// The position of a control that takes the focus among those, from 1.
constexpr int focus_of(const ControlInfo& c)
{
    if (!c.tab_stop) return 0;
    return 1 + static_cast<int>(std::count_if(control_table.begin(), control_table.end(),
                                              [&c](const ControlInfo& other) {
                                                  return other.tab_stop && tab_index(other) < tab_index(c);
                                              }));
}

constexpr int stacking_of(const ControlInfo& c)
{
    int above = 0;
    for (const ControlInfo& other : control_table) {
        const bool higher = takes_input(c.kind)
                                ? takes_input(other.kind) && tab_index(other) < tab_index(c)
                                : takes_input(other.kind) || index(other.id) < index(c.id);
        if (higher) ++above;
    }
    return above;
}

constexpr int row_of(Control id)
{
    const auto group = group_of(id);
    if (!group || layout::line_placement(id)) return -1;
    int row = -1;
    std::optional<layout::Placement> last;
    for (const layout::Placement& place : layout::placements) {
        if (group_of(place.id) != group) continue;
        if (!last || !beside(*last, place)) ++row;
        if (place.id == id) return row;
        last = place;
    }
    return row;
}

constexpr Entry entry(const ControlInfo& c, int dpi)
{
    const auto line = layout::line_placement(c.id);
    return {c.id,
            c.name,
            c.kind,
            line ? layout::line_rect(*line, dpi) : layout::pixel_rect(layout::place(c.id), dpi),
            font(line ? layout::Font::regular_8 : layout::place(c.id).font, dpi),
            presentation(c.id),
            focus_of(c),
            stacking_of(c),
            group_of(c.id),
            row_of(c.id),
            c.visible,
            c.enabled,
            c.kind == Kind::text_box};
}

constexpr GroupEntry group_entry(const Box& box, int dpi)
{
    const layout::Rect top = layout::line_rect(layout::place(box.top), dpi);
    const layout::Rect bottom = layout::line_rect(layout::place(box.bottom), dpi);
    const int left = std::min(top.left, bottom.left);
    const int right = std::max(top.left + top.width, bottom.left + bottom.width);
    return {box.id, box.title, {left, top.top, right - left, bottom.top + bottom.height - top.top}};
}

template <typename T, std::size_t N, typename Make>
constexpr std::array<T, N> array_of(Make&& make)
{
    return [&]<std::size_t... I>(std::index_sequence<I...>) {
        return std::array<T, N>{make(I)...};
    }(std::make_index_sequence<N>{});
}

}  // namespace detail

class Plan {
public:
    explicit constexpr Plan(int dpi = layout::base_dpi)
        : dpi_(dpi),
          entries_(detail::array_of<Entry, control_count>(
              [dpi](std::size_t i) { return detail::entry(control_table[i], dpi); })),
          groups_(detail::array_of<GroupEntry, 3>(
              [dpi](std::size_t i) { return detail::group_entry(detail::boxes[i], dpi); }))
    {
    }

    [[nodiscard]] constexpr const Entry& operator[](Control id) const { return entries_[index(id)]; }
    // In the order of the control table.
    [[nodiscard]] constexpr const std::array<Entry, control_count>& entries() const { return entries_; }
    [[nodiscard]] constexpr const std::array<GroupEntry, 3>& groups() const { return groups_; }
    [[nodiscard]] constexpr const GroupEntry& group(Group id) const
    {
        return groups_[static_cast<std::size_t>(id)];
    }
    // The client area in pixels of the plan's density.
    [[nodiscard]] constexpr int width() const { return layout::pixels(layout::client_width, dpi_); }
    [[nodiscard]] constexpr int height() const { return layout::pixels(layout::client_height, dpi_); }
    [[nodiscard]] constexpr int dpi() const { return dpi_; }
    // The window's own font: that of every control the layout names no other for.
    [[nodiscard]] constexpr Font font() const { return detail::font(layout::Font::regular_8, dpi_); }

    // The controls from the top of the stacking down.
    [[nodiscard]] constexpr std::array<Control, control_count> stacking() const
    {
        return detail::array_of<Control, control_count>([this](std::size_t at) {
            return std::find_if(entries_.begin(), entries_.end(), [at](const Entry& e) {
                       return e.stacking == static_cast<int>(at);
                   })->id;
        });
    }
    // The controls but the lines as the window reads, box by box, row by row.
    [[nodiscard]] static constexpr std::array<Control, layout::placements.size()> reading()
    {
        return detail::array_of<Control, layout::placements.size()>(
            [](std::size_t at) { return layout::placements[at].id; });
    }
    // The controls that take the focus, in focus order (Tab's, from the first).
    [[nodiscard]] std::vector<Control> focus_order() const
    {
        std::vector<Control> order;
        for (int at = 1;; ++at) {
            const auto e = std::find_if(entries_.begin(), entries_.end(), [at](const Entry& e) { return e.focus == at; });
            if (e == entries_.end()) return order;
            order.push_back(e->id);
        }
    }
    // The first control in focus order: it has the focus when the window shows.
    [[nodiscard]] constexpr Control first_focus() const
    {
        return std::find_if(entries_.begin(), entries_.end(), [](const Entry& e) { return e.focus == 1; })->id;
    }

private:
    int dpi_;
    std::array<Entry, control_count> entries_;
    std::array<GroupEntry, 3> groups_;
};

// The plan at the layout's own density, where its pixels are CSS pixels and
// those of a toolkit that scales as a whole.
inline constexpr Plan base{};

static_assert([] {
    // The controls that take input never overlap, so that the stacking can
    // hold them in focus order without changing what is seen.
    for (const Entry& a : base.entries()) {
        for (const Entry& b : base.entries()) {
            if (a.id == b.id || !takes_input(a.kind) || !takes_input(b.kind)) continue;
            const auto& r = a.rect;
            const auto& s = b.rect;
            if (r.left < s.left + s.width && s.left < r.left + r.width && r.top < s.top + s.height &&
                s.top < r.top + r.height) {
                return false;
            }
        }
    }
    return true;
}(), "focus order and stacking would disagree");

static_assert(base.group(Group::pulse_rating).title == Control::Label4 && base[Control::txt_kwh].group &&
                  !base[Control::Image1].group && !base[Control::Image2].group,
              "every box holds its controls, and the pictures stand outside them");

// Where a text box's text starts: this many pixels (at the layout's density)
// in from the inside of its border, as the classic text box draws it.
inline constexpr int box_text_inset = 2;

// Whether a figure shows shortened (fitted_figure below): never while its
// box has the focus, where it reads and copies as it stands, else where it
// is wider than the room its box gives it.
[[nodiscard]] constexpr bool shows_shortened(bool focused, double width, double room)
{
    return !focused && width > room;
}

// The window's faces in the order a front-end asks for them: the first of
// the layout's faces that `installed` says is there, then the others in
// turn, for characters it lacks. Asked for a missing face, a toolkit would
// look for a stand-in of its own.
template <typename Installed>
[[nodiscard]] std::array<std::string_view, layout::faces.size()> faces(Installed&& installed)
{
    std::array<std::string_view, layout::faces.size()> ordered = layout::faces;
    const auto present = std::find_if(ordered.begin(), ordered.end(), installed);
    if (present != ordered.end()) std::rotate(ordered.begin(), present, present + 1);
    return ordered;
}

// The mark that stands for the digits a figure leaves out.
inline constexpr std::string_view elision_mark = "\u2026";

// How a figure that the program wrote shows in a box `room` wide, as
// `width_of` measures texts in the box's font: whole where it fits;
// otherwise as many of its first characters as fit, the elision mark and,
// where it has one, its exponent, so that "2,85714285714286E-06" reads
// "2,857142…E-06" and is never taken for a figure a million times larger,
// and "1234,567" reads "1234,5…" and is never taken for whole. Where not
// even the mark and the exponent fit, they are all that shows. Only the
// showing changes: the figure itself (the model's text, what is copied,
// what a screen reader reads) stays whole.
template <typename WidthOf>
[[nodiscard]] std::string fitted_figure(std::string_view figure, double room, WidthOf&& width_of)
{
    if (width_of(figure) <= room) return std::string(figure);
    const std::size_t e = std::min(figure.find('E'), figure.size());
    const std::string_view exponent = figure.substr(e);
    std::string shown;
    for (std::size_t keep = e; keep-- > 0;) {
        shown.assign(figure.substr(0, keep)).append(elision_mark).append(exponent);
        if (width_of(std::string_view(shown)) <= room) return shown;
    }
    return shown.empty() ? std::string(elision_mark).append(exponent) : shown;
}

}  // namespace ui::plan
