#include "ui/web/page_view.h"

#include <emscripten/em_js.h>
#include <emscripten/em_macros.h>

#include <string>

#include "ui/plan.h"

// The page's side of the view: the functions of the object `page` that the
// page's script hands the module (page.js), each called with a control's
// index in the control table and, for a text, a pointer to its UTF-8 bytes.
// NOLINTBEGIN: the declarations are emscripten's, JavaScript inside C++.
EM_JS(void, page_adopt, (int index, const char* name), { Module.page.adopt(index, UTF8ToString(name)); });
EM_JS(void, page_show_text, (int index, const char* text), { Module.page.show_text(index, UTF8ToString(text)); });
EM_JS(void, page_show_caption, (int index, const char* text),
      { Module.page.show_caption(index, UTF8ToString(text)); });
EM_JS(void, page_show_value, (int index, int value), { Module.page.show_value(index, value); });
EM_JS(void, page_show_visible, (int index, int visible), { Module.page.show_visible(index, !!visible); });
EM_JS(void, page_show_state, (int index, const char* text, int value, int visible),
      { Module.page.show_state(index, UTF8ToString(text), value, !!visible); });
EM_JS(void, page_show_fitted, (int index, const char* shown),
      { Module.page.show_fitted(index, shown ? UTF8ToString(shown) : null); });
EM_JS(double, page_room, (int index), { return Module.page.room(index); });
EM_JS(int, page_focused, (int index), { return Module.page.focused(index) ? 1 : 0; });
EM_JS(double, page_text_width, (int index, const char* text),
      { return Module.page.text_width(index, UTF8ToString(text)); });
EM_JS(void, page_show_message, (const char* title, const char* prompt),
      { Module.page.show_message(UTF8ToString(title), UTF8ToString(prompt)); });
EM_JS(void, page_show, (int first), { Module.page.show(first); });
EM_JS(void, page_end, (), { Module.page.end(); });
// NOLINTEND

namespace ui::web {
namespace {

int at(Control id)
{
    return static_cast<int>(index(id));
}

}  // namespace

PageView::PageView(const Window& model, UserActions& /*actions*/) : model_(model)
{
    for (const plan::Entry& e : plan::base.entries()) page_adopt(at(e.id), std::string(e.name).c_str());
}

void PageView::show_text(TextBox id, std::string_view text)
{
    page_show_text(at(id), std::string(text).c_str());
    fit(id, text);
}

void PageView::show_caption(Captioned id, std::string_view text)
{
    page_show_caption(at(id), std::string(text).c_str());
    fit(id, text);
}

void PageView::show_value(CheckBox id, std::int16_t value)
{
    page_show_value(at(id), value);
}

void PageView::show_visible(Control id, bool visible)
{
    page_show_visible(at(id), visible ? 1 : 0);
}

void PageView::show_message(const Message& message)
{
    page_show_message(std::string(message.title).c_str(), std::string(message.prompt).c_str());
}

void PageView::show()
{
    page_show(at(plan::base.first_focus()));
}

void PageView::end() noexcept
{
    page_end();
}

void PageView::refit()
{
    for (const plan::Entry& e : plan::base.entries()) {
        if (e.look.figure) fit(e.id, shown_text(model_, e.id));
    }
}

void PageView::show_state()
{
    for (const plan::Entry& e : plan::base.entries()) {
        if (!takes_input(e.kind) && e.kind != Kind::label) continue;
        page_show_state(at(e.id), std::string(shown_text(model_, e.id)).c_str(), shown_value(model_, e.id),
                        model_.visible(e.id) ? 1 : 0);
    }
    refit();
}

// A figure as it shows in its box in the page's present layout and fonts
// and focus; the element keeps the whole figure.
void PageView::fit(Control id, std::string_view figure)
{
    if (!plan::base[id].look.figure) return;
    const double room = page_room(at(id));
    const auto width = [id](std::string_view text) { return page_text_width(at(id), std::string(text).c_str()); };
    if (plan::shows_shortened(page_focused(at(id)) != 0, width(figure), room)) {
        page_show_fitted(at(id), plan::fitted_figure(figure, room, width).c_str());
    } else {
        page_show_fitted(at(id), nullptr);
    }
}

}  // namespace ui::web
