#include "ui/qt/window_view.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHelpEvent>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QResource>
#include <QSpacerItem>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionFrame>
#include <QToolTip>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/art/art.h"
#include "ui/art/pixel_file.h"
#include "ui/qt/fonts.h"

namespace ui::qt {
namespace {

QString qt_text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect qt_rect(const layout::Rect& r)
{
    return {r.left, r.top, r.width, r.height};
}

QColor qt_colour(Rgb colour)
{
    return {colour.red, colour.green, colour.blue};
}

QPalette::ColorRole qt_role(SystemColour colour)
{
    switch (colour) {
    case SystemColour::face: return QPalette::Button;
    case SystemColour::button_text: return QPalette::ButtonText;
    case SystemColour::field: return QPalette::Base;
    case SystemColour::field_text: break;
    }
    return QPalette::Text;
}

// A picture of the window, from the pixel file that the build decoded it
// into: copied, not decoded, so that no image reader runs at start. A
// picture the window cannot show is a fault of the build, never something to
// pass over quietly.
QPixmap load_picture(const QString& resource)
{
    const QResource file(resource);
    if (!file.isValid()) throw std::runtime_error("picture missing: " + resource.toStdString());
    return QPixmap::fromImage(art::from_pixel_file(file.uncompressedData()));
}

QPixmap load_picture(std::string_view resource)
{
    return load_picture(qt_text(resource));
}

// The window icon at every size the program carries.
QIcon window_icon()
{
    QIcon icon(load_picture(art::icon_pixels_path));
    for (const int size : art::icon::window_sizes) {
        icon.addPixmap(load_picture(qt_text(art::icon_size_pixels_pattern).arg(size)));
    }
    return icon;
}

// The figure as it fits `room` pixels in the widget's font.
QString fitted(const QString& figure, int room, const QFontMetrics& metrics)
{
    return qt_text(plan::fitted_figure(figure.toStdString(), room, [&metrics](std::string_view text) {
        return metrics.horizontalAdvance(qt_text(text));
    }));
}

// Whether the widget shows its figure shortened in `room` pixels.
bool shortened(const QWidget& w, const QString& figure, int room)
{
    return plan::shows_shortened(w.hasFocus(), w.fontMetrics().horizontalAdvance(figure), room);
}

// A shortened figure offers itself whole on hovering, beside the hint the
// control may have.
bool show_whole_figure(QWidget& w, QEvent* event, const QString& figure, int room)
{
    if (event->type() != QEvent::ToolTip || !shortened(w, figure, room)) return false;
    QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), figure, &w);
    return true;
}

// A box that shows a figure the program writes: while it has no focus and
// the figure is wider than the box, it draws the figure shortened, its
// exponent in sight. Its text stays whole, for copying and screen readers;
// with the focus it is the ordinary box.
class FigureBox final : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    bool event(QEvent* event) override
    {
        return show_whole_figure(*this, event, text(), contents().width()) || QLineEdit::event(event);
    }

    void paintEvent(QPaintEvent* event) override
    {
        const QRect room = contents();
        if (!shortened(*this, text(), room.width())) {
            QLineEdit::paintEvent(event);
            return;
        }
        QStyleOptionFrame panel;
        initStyleOption(&panel);
        QPainter painter(this);
        style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
        painter.setClipRect(room);
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
        const QFontMetrics metrics = fontMetrics();
        const int baseline = room.top() + (room.height() - metrics.height() + 1) / 2 + metrics.ascent();
        painter.drawText(room.left(), baseline, fitted(text(), room.width(), metrics));
    }

private:
    // Where the text goes: the box's inside, the plan's inset in from its
    // left, cut at its right edge.
    [[nodiscard]] QRect contents() const
    {
        QStyleOptionFrame panel;
        initStyleOption(&panel);
        return style()
            ->subElementRect(QStyle::SE_LineEditContents, &panel, this)
            .marginsRemoved(textMargins())
            .adjusted(plan::box_text_inset, 0, 0, 0);
    }
};

// The same for a label: its caption stays whole as its accessible name.
class FigureLabel final : public QLabel {
public:
    using QLabel::QLabel;

protected:
    bool event(QEvent* event) override
    {
        return show_whole_figure(*this, event, text(), contentsRect().width()) || QLabel::event(event);
    }

    void paintEvent(QPaintEvent* event) override
    {
        const QRect contents = contentsRect();
        if (!shortened(*this, text(), contents.width())) {
            QLabel::paintEvent(event);
            return;
        }
        QPainter painter(this);
        style()->drawItemText(&painter, contents, static_cast<int>(alignment()), palette(), isEnabled(),
                              fitted(text(), contents.width(), fontMetrics()), foregroundRole());
    }
};

// One of the three boxes, as a group for assistive technology, named by its
// title. It draws nothing: the window's lines are the box.
class Group final : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent* /*event*/) override {}
};

// What the control presents beyond its state: the desktop's colours of its
// kind, or its fixed pair, which holds in every colour group, so that a
// disabled box keeps it too; its accessible name and hint, its tooltip.
void present(QWidget* w, Kind kind, const Presentation& p)
{
    const SystemColours roles = system_colours(kind);
    w->setBackgroundRole(qt_role(roles.ground));
    w->setForegroundRole(qt_role(roles.text));
    if (!p.accessible_name.empty()) w->setAccessibleName(qt_text(p.accessible_name));
    if (!p.hint.empty()) w->setAccessibleDescription(qt_text(p.hint));
    if (p.tooltip) w->setToolTip(qt_text(p.hint));
    if (p.colours) {
        QPalette palette = w->palette();
        for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            palette.setColor(group, qt_role(roles.ground), qt_colour(p.colours->ground));
            palette.setColor(group, qt_role(roles.text), qt_colour(p.colours->text));
        }
        w->setPalette(palette);
    }
}

}  // namespace

WindowView::WindowView(const Window& model, UserActions& actions) : actions_(actions)
{
    const plan::Plan& plan = plan::base;  // Qt scales the whole window on dense screens
    setObjectName(qt_text(window_name));
    setWindowTitle(qt_text(window_caption));
    // A title bar with the caption and the close button only.
    setWindowFlags((frame.tool_window ? Qt::Tool : Qt::Window) | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    // Qt lets a tool window's closing go unnoticed by the application; this
    // window is the program, so closing it ends the event loop.
    setAttribute(Qt::WA_QuitOnClose, true);
    if (frame.resizable) {
        resize(plan.width(), plan.height());
    } else {
        setFixedSize(plan.width(), plan.height());
    }
    setWindowIcon(window_icon());
    setBackgroundRole(qt_role(window_colours.ground));
    setForegroundRole(qt_role(window_colours.text));
    setAutoFillBackground(true);
    const QStringList faces = window_faces();
    setFont(window_font(plan.font(), faces));

    // The layout is made for classic controls: sunken 3D text boxes 19
    // pixels high, a small square tick box, a plain raised button. Qt's
    // "Windows" style draws exactly these, with the system's colours, on
    // every platform.
    QStyle* classic = QStyleFactory::create(QStringLiteral("Windows"));
    if (classic == nullptr) throw std::runtime_error("Qt's Windows style is missing");
    classic->setParent(this);

    std::array<Group*, 3> groups{};
    for (const plan::GroupEntry& g : plan.groups()) {
        auto* group = new Group(qt_text(model.caption(g.title)), this);
        group->setGeometry(qt_rect(g.rect));
        groups[static_cast<std::size_t>(g.id)] = group;
    }
    for (const plan::Entry& e : plan.entries()) {
        QWidget* parent = e.group ? static_cast<QWidget*>(groups[static_cast<std::size_t>(*e.group)]) : this;
        QWidget* w = visit(e.id, [&](auto id) { return create(model, id, parent); });
        w->setObjectName(qt_text(e.name));
        const QPoint origin = parent->mapTo(this, QPoint(0, 0));
        w->setGeometry(qt_rect(e.rect).translated(-origin));
        w->setFont(window_font(e.font, faces));
        w->setEnabled(e.enabled);
        w->setFocusPolicy(e.focus != 0 ? Qt::StrongFocus : Qt::NoFocus);
        if (!e.visible) w->setVisible(false);
        w->setStyle(classic);
        present(w, e.kind, e.look);
        widgets_[index(e.id)] = w;
    }
    const auto stacking = plan.stacking();
    for (auto it = stacking.rbegin(); it != stacking.rend(); ++it) widget(*it)->raise();
    // Focus follows the plan through the controls that take it; Qt wraps
    // around and skips hidden and disabled widgets.
    const std::vector<Control> focus = plan.focus_order();
    for (std::size_t i = 1; i < focus.size(); ++i) setTabOrder(widget(focus[i - 1]), widget(focus[i]));
}

QWidget* WindowView::widget(Control id) const
{
    return widgets_.at(index(id));
}

QWidget* WindowView::create(const Window& model, TextBox id, QWidget* parent)
{
    // Made empty and then given its text: a box made with its text lays it
    // out at once in the application's font, which this window never shows.
    QLineEdit* edit = plan::base[id].look.figure ? new FigureBox(parent) : new QLineEdit(parent);
    if (plan::base[id].unlimited) edit->setMaxLength(std::numeric_limits<int>::max());
    edit->setText(qt_text(model.text(id)));
    // textEdited follows every change the user makes (typing, deleting,
    // pasting, cutting, undo and redo, drag and drop, input methods), and
    // never a change made by setText.
    connect(edit, &QLineEdit::textEdited, this,
            [this, id](const QString& text) { actions_.edited(id, text.toStdString()); });
    return edit;
}

QWidget* WindowView::create(const Window& model, Label id, QWidget* parent)
{
    const QString caption = qt_text(model.caption(id));
    QLabel* label = plan::base[id].look.figure ? new FigureLabel(caption, parent) : new QLabel(caption, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setAutoFillBackground(true);  // opaque
    return label;
}

QWidget* WindowView::create(const Window& model, CheckBox id, QWidget* parent)
{
    auto* box = new QCheckBox(qt_text(model.caption(id)), parent);
    box->setChecked(model.value(id) == 1);
    box->setAutoFillBackground(true);
    connect(box, &QCheckBox::clicked, this, [this, id] { actions_.toggled(id); });
    return box;
}

QWidget* WindowView::create(const Window& model, CommandButton id, QWidget* parent)
{
    auto* button = new QPushButton(qt_text(model.caption(id)), parent);
    button->setAutoDefault(false);  // Enter and Esc never press it
    button->setDefault(false);
    connect(button, &QPushButton::clicked, this, [this, id] { actions_.pressed(id); });
    return button;
}

QWidget* WindowView::create(const Window& /*model*/, ImageBox id, QWidget* parent)
{
    auto* image = new QLabel(parent);
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image->setPixmap(load_picture(plan::base[id].look.picture == Picture::panel ? art::panel_pixels_path
                                                                                 : art::banner_pixels_path));
    return image;
}

// A line: the window's lines all run straight across or down, so each is
// its own small widget filled with its colour, which takes its place in the
// stacking like any other control.
QWidget* WindowView::create(const Window& /*model*/, Line /*id*/, QWidget* parent)
{
    auto* line = new QWidget(parent);
    line->setAutoFillBackground(true);
    line->setAttribute(Qt::WA_TransparentForMouseEvents);
    return line;
}

// A text the program writes shows from its first character.
void WindowView::show_text(TextBox id, std::string_view text)
{
    auto* edit = static_cast<QLineEdit*>(widget(id));
    edit->setText(qt_text(text));
    edit->setCursorPosition(0);
}

void WindowView::show_caption(Captioned id, std::string_view text)
{
    QWidget* w = widget(id);
    if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(qt_text(text));
    } else {
        static_cast<QAbstractButton*>(w)->setText(qt_text(text));
    }
}

void WindowView::show_value(CheckBox id, std::int16_t value)
{
    static_cast<QCheckBox*>(widget(id))->setChecked(value == 1);
}

void WindowView::show_visible(Control id, bool visible)
{
    widget(id)->setVisible(visible);
}

void WindowView::show()
{
    widget(plan::base.first_focus())->setFocus();
    QWidget::show();
}

// A fault ends the program with a failure, once it has been told.
void WindowView::end() noexcept
{
    QCoreApplication::exit(EXIT_FAILURE);
}

namespace {

// Where the program draws its own title bar (Qt's decoration on a Wayland
// compositor that draws none, such as weston), the title is centred over the
// whole bar but shown only between the window icon on the left and three
// buttons on the right, some 80 pixels in from each edge. Sized to its
// contents, the box was too narrow for that: "Fehler!" read "Fehle". A
// spacer across the box's grid makes it wide enough for the whole title
// centred between that room on both sides, in the title-bar font or the
// 14-pixel face such a bar uses, whichever is wider.
void widen_for_title(QMessageBox& box)
{
    constexpr int title_bar_room = 80;  // each side of a centred title
    QFont bar_font = QApplication::font("QMdiSubWindowTitleBar");
    const int bar = QFontMetrics(bar_font).horizontalAdvance(box.windowTitle());
    bar_font.setPixelSize(14);
    const int fixed = QFontMetrics(bar_font).horizontalAdvance(box.windowTitle());
    // The box lays itself out in a grid today; should that change, it keeps
    // its own width rather than fail the message.
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) return;
    grid->addItem(new QSpacerItem(std::max(bar, fixed) + 2 * title_bar_room, 0, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

void WindowView::show_message(const Message& message)
{
    QMessageBox box(QMessageBox::Warning, qt_text(message.title), qt_text(message.prompt), QMessageBox::Ok,
                    this);
    box.setDefaultButton(QMessageBox::Ok);
    box.setWindowModality(message_modality == Modality::application ? Qt::ApplicationModal : Qt::WindowModal);
    widen_for_title(box);
    box.exec();
}

}  // namespace ui::qt
