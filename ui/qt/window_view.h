#pragma once

#include <QWidget>

#include <array>

#include "ui/controls.h"
#include "ui/message_port.h"
#include "ui/presentation.h"
#include "ui/window.h"

// The window model drawn as the real window: one widget per control, built
// from the tables, at its place, with its font, colours and stacking. The
// view keeps no state of its own: every write of the program shows at once,
// and every user change of a widget goes into the model as a user action, so
// the handlers run exactly as they do headless.
namespace ui::qt {

class WindowView final : public QWidget {
public:
    explicit WindowView(Window& model);

    // The widget of a control; its objectName is the control's name.
    [[nodiscard]] QWidget* widget(Control id) const;

private:
    QWidget* create(TextBox id);
    QWidget* create(Label id);
    QWidget* create(CheckBox id);
    QWidget* create(CommandButton id);
    QWidget* create(ImageBox id);
    QWidget* create(Line id);
    static void present(QWidget* w, const Presentation& presentation);
    void apply_classic_style();
    void stack_controls();
    void chain_focus();
    void mirror(const Change& change);
    void show_state(QWidget* w, TextBox id);
    void show_state(QWidget* w, Label id);
    void show_state(QWidget* w, CheckBox id);
    void show_state(QWidget* w, CommandButton id);
    static void show_state(QWidget* /*w*/, ImageBox /*id*/) {}
    static void show_state(QWidget* /*w*/, Line /*id*/) {}
    template <typename Action>
    void guarded(Action&& action) noexcept;

    Window& model_;
    std::array<QWidget*, control_count> widgets_{};
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

}  // namespace ui::qt
