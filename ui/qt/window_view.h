#pragma once

#include <QWidget>

#include <array>
#include <cstdint>
#include <string_view>

#include "ui/controls.h"
#include "ui/message_port.h"
#include "ui/plan.h"
#include "ui/program.h"
#include "ui/window.h"

// The window drawn with Qt widgets: one widget per entry of the view plan,
// inside the group of its box, and the model's changes mirrored into them.
// Every user change of a widget goes to the program as a user action, so the
// handlers run exactly as they do headless.
namespace ui::qt {

class WindowView final : public QWidget {
public:
    WindowView(const Window& model, UserActions& actions);

    // The widget of a control; its objectName is the control's name.
    [[nodiscard]] QWidget* widget(Control id) const;

    void show_text(TextBox id, std::string_view text);
    void show_caption(Captioned id, std::string_view text);
    void show_value(CheckBox id, std::int16_t value);
    void show_visible(Control id, bool visible);
    // A message box with the warning icon, modal to the application.
    void show_message(const Message& message);
    void show();
    static void end() noexcept;

private:
    QWidget* create(const Window& model, TextBox id, QWidget* parent);
    static QWidget* create(const Window& model, Label id, QWidget* parent);
    QWidget* create(const Window& model, CheckBox id, QWidget* parent);
    QWidget* create(const Window& model, CommandButton id, QWidget* parent);
    static QWidget* create(const Window& model, ImageBox id, QWidget* parent);
    static QWidget* create(const Window& model, Line id, QWidget* parent);

    UserActions& actions_;
    std::array<QWidget*, control_count> widgets_{};
};

// The program with this view, as the shell, the screenshot tool and the
// widget tests run it.
using Program = ui::Program<WindowView>;

}  // namespace ui::qt
