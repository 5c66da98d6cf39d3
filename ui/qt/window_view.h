#pragma once

#include <QWidget>

#include <array>

#include "ui/controls.h"
#include "ui/message_port.h"
#include "ui/window.h"

class QLineEdit;

// The window model drawn as the real window: one widget per control, at its
// place, with its font, colours and stacking. The view keeps no state of its
// own, but for the moment a user's edit passes into the model. Every write to
// the model shows at once, and every user change of a widget goes into the
// model as a user action, so the handlers run exactly as they do headless.
namespace ui::qt {

class WindowView final : public QWidget {
public:
    explicit WindowView(Window& model);

    // The widget of a control; its objectName is the control's name.
    [[nodiscard]] QWidget* widget(Control id) const;

private:
    void create_controls();
    void apply_classic_style();
    void stack_controls();
    void chain_focus();
    void mirror(Control id, Field field);
    void connect_text_box(Control id, QLineEdit* edit);

    Window& model_;
    std::array<QWidget*, control_count> widgets_{};
    // The box whose user edit is going into the model at this moment, if any:
    // the one write to a box that is the user's own rather than the program's.
    const QLineEdit* typing_ = nullptr;
};

// The message port as a real message box, modal to the application: the
// window takes no input while it is open.
class MessageBoxPort final : public MessagePort {
public:
    // The window the box belongs to; none until the view exists.
    void set_parent(QWidget* parent) { parent_ = parent; }
    void show(const Message& message) override;

private:
    QWidget* parent_ = nullptr;
};

// Lets Qt stand a similar face in for "MS Sans Serif" where that face is
// missing. Call once before the first window is created.
void install_font_substitutes();

}  // namespace ui::qt
