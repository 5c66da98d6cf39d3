#include "ui/qt/window_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QResource>
#include <QSpacerItem>
#include <QStyle>
#include <QStyleFactory>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <string>
#include <stdexcept>
#include <utility>

#include "ui/art/art.h"
#include "ui/art/pixel_file.h"
#include "ui/layout.h"
#include "ui/presentation.h"

namespace ui::qt {
namespace {

QString qt_text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The faces the window's fonts ask for: the first is drawn with, the others
// are tried in turn for characters it lacks. "MS Sans Serif" where it is
// present. Otherwise faces of about the same pixel sizes and widths (the
// labels cut their text at fixed edges, so a wide face would cut words such
// as "Wandlerverhältnis"): the first of them that is present, then all of
// them in order, which is what Qt makes of them as substitutes for the
// missing face. Asked for the missing face itself, Qt would first sort every
// installed font against it, at every start, only to take the same face.
QStringList window_faces()
{
    const QString face = QString::fromLatin1(layout::font_face);
    if (QFontDatabase::hasFamily(face)) return {face};
    const QStringList stand_ins{QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans"),
                                QStringLiteral("Arimo"), QStringLiteral("Arial"), QStringLiteral("Nimbus Sans")};
    const QStringList installed = QFontDatabase::families();
    const auto is_installed = [&installed](const QString& family) {
        // A face from several foundries is listed once for each, as "Face [Foundry]".
        const QString of_a_foundry = family + QStringLiteral(" [");
        return std::any_of(installed.begin(), installed.end(), [&](const QString& listed) {
            return listed.compare(family, Qt::CaseInsensitive) == 0 ||
                   (listed.startsWith(of_a_foundry, Qt::CaseInsensitive) && listed.endsWith(u']'));
        });
    };
    const auto first = std::find_if(stand_ins.begin(), stand_ins.end(), is_installed);
    return QStringList{first != stand_ins.end() ? *first : face} + stand_ins;
}

QFont font_of(layout::Font font, const QStringList& faces)
{
    const auto [pixel_height, bold] = layout::font_info(font);
    QFont result(faces.front());
    result.setFamilies(faces);
    result.setPixelSize(pixel_height);
    result.setBold(bold);
    return result;
}

QRect qt_rect(const layout::Rect& r)
{
    return {r.left, r.top, r.width, r.height};
}

QColor qt_colour(Rgb colour)
{
    return {colour.red, colour.green, colour.blue};
}

// A picture of the window, from the pixel file that the build decoded it
// into: copied, not decoded, so that no image reader runs at start. A
// picture the window cannot show is a fault of the build, never something to
// pass over quietly.
QPixmap load_picture(std::string_view resource)
{
    const QResource file(qt_text(resource));
    if (!file.isValid()) throw std::runtime_error("picture missing: " + std::string(resource));
    return QPixmap::fromImage(art::from_pixel_file(file.uncompressedData()));
}

// The window icon at every size the program carries.
QIcon window_icon()
{
    QIcon icon(load_picture(art::icon_pixels_path));
    for (std::string_view path : art::icon_size_pixels_paths) icon.addPixmap(load_picture(path));
    return icon;
}

}  // namespace

WindowView::WindowView(Window& model) : model_(model)
{
    setObjectName(qt_text(window_name));
    setWindowTitle(qt_text(window_caption));
    // A fixed tool window: narrow title bar, close button only.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    // Qt lets a tool window's closing go unnoticed by the application; this
    // window is the program, so closing it ends the event loop.
    setAttribute(Qt::WA_QuitOnClose, true);
    setFixedSize(layout::pixels(layout::client_width), layout::pixels(layout::client_height));
    setWindowIcon(window_icon());
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    const QStringList faces = window_faces();
    setFont(font_of(layout::Font::regular_8, faces));

    for (const auto& control : control_table) {
        QWidget* w = visit(control.id, [this](auto id) { return create(id); });
        w->setObjectName(qt_text(control.name));
        if (const auto place = layout::placement(control.id)) {
            w->setGeometry(qt_rect(layout::pixel_rect(*place)));
            w->setFont(font_of(place->font, faces));
        }
        w->setEnabled(control.enabled);
        w->setFocusPolicy(control.tab_stop ? Qt::StrongFocus : Qt::NoFocus);
        if (!control.visible) w->setVisible(false);
        present(w, presentation(control.id));
        widgets_[index(control.id)] = w;
    }
    apply_classic_style();
    stack_controls();
    chain_focus();
    model_.add_observer([this](const Change& change) { mirror(change); });
}

QWidget* WindowView::widget(Control id) const
{
    return widgets_.at(index(id));
}

QWidget* WindowView::create(TextBox id)
{
    // Made empty and then given its text: a box made with its text lays it
    // out at once in the application's font, which this window never shows.
    auto* edit = new QLineEdit(this);
    edit->setMaxLength(std::numeric_limits<int>::max());  // no length limit
    edit->setText(qt_text(model_.text(id)));
    // textEdited follows every change the user makes (typing, deleting,
    // pasting, cutting, undo and redo, drag and drop, input methods), and
    // never a change made by setText.
    connect(edit, &QLineEdit::textEdited, this, [this, id](const QString& text) {
        guarded([&] { model_.user_replace_text(id, text.toStdString()); });
    });
    return edit;
}

QWidget* WindowView::create(Label id)
{
    auto* label = new QLabel(qt_text(model_.caption(id)), this);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setBackgroundRole(QPalette::Button);
    label->setForegroundRole(QPalette::ButtonText);
    label->setAutoFillBackground(true);  // opaque
    return label;
}

QWidget* WindowView::create(CheckBox id)
{
    auto* box = new QCheckBox(qt_text(model_.caption(id)), this);
    box->setChecked(model_.value(id) == 1);
    box->setBackgroundRole(QPalette::Button);
    box->setAutoFillBackground(true);
    connect(box, &QCheckBox::clicked, this, [this, id] { guarded([&] { model_.user_toggle(id); }); });
    return box;
}

QWidget* WindowView::create(CommandButton id)
{
    auto* button = new QPushButton(qt_text(model_.caption(id)), this);
    button->setAutoDefault(false);  // Enter and Esc never press it
    button->setDefault(false);
    connect(button, &QPushButton::clicked, this, [this, id] { guarded([&] { model_.user_press(id); }); });
    return button;
}

QWidget* WindowView::create(ImageBox /*id*/)
{
    auto* image = new QLabel(this);
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return image;
}

// A line in the window-text colour: the window's lines all run straight
// across or down, so each is its own small filled widget, which takes its
// place in the stacking like any other control.
QWidget* WindowView::create(Line id)
{
    auto* line = new QWidget(this);
    line->setGeometry(qt_rect(layout::line_rect(*layout::line_placement(id))));
    line->setBackgroundRole(QPalette::Text);
    line->setAutoFillBackground(true);
    line->setAttribute(Qt::WA_TransparentForMouseEvents);
    return line;
}

// What the control presents beyond its state: its accessible name and hint,
// its tooltip, its fixed colours, its picture.
void WindowView::present(QWidget* w, const Presentation& p)
{
    if (!p.accessible_name.empty()) w->setAccessibleName(qt_text(p.accessible_name));
    if (!p.hint.empty()) w->setAccessibleDescription(qt_text(p.hint));
    if (p.tooltip) w->setToolTip(qt_text(p.hint));
    if (p.colours) {
        // A label is drawn in button colours, a box in base colours; the pair
        // holds in every colour group, so a disabled box keeps it too.
        const bool box = qobject_cast<QLineEdit*>(w) != nullptr;
        QPalette palette = w->palette();
        for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            palette.setColor(group, box ? QPalette::Base : QPalette::Button, qt_colour(p.colours->ground));
            palette.setColor(group, box ? QPalette::Text : QPalette::ButtonText, qt_colour(p.colours->text));
        }
        w->setPalette(palette);
    }
    if (p.picture) {
        static_cast<QLabel*>(w)->setPixmap(*p.picture == Picture::panel
                                               ? load_picture(art::panel_pixels_path)
                                               : load_picture(art::banner_pixels_path));
    }
}

// The layout is made for classic controls: sunken 3D text boxes 19 pixels
// high, a small square tick box, a plain raised button. Qt's "Windows" style
// draws exactly these, with the system's colours, on every platform.
void WindowView::apply_classic_style()
{
    QStyle* classic = QStyleFactory::create(QStringLiteral("Windows"));
    if (classic == nullptr) throw std::runtime_error("Qt's Windows style is missing");
    classic->setParent(this);
    for (QWidget* w : widgets_) w->setStyle(classic);
}

// Each raised in turn from the bottom of the stacking up.
void WindowView::stack_controls()
{
    for (auto it = stacking_order.rbegin(); it != stacking_order.rend(); ++it) widget(*it)->raise();
}

// Focus follows TabIndex through the controls that take it; Qt wraps around
// and skips hidden and disabled widgets.
void WindowView::chain_focus()
{
    QWidget* previous = nullptr;
    for (const Control id : input_order) {
        if (!info(id).tab_stop) continue;
        if (previous != nullptr) setTabOrder(previous, widget(id));
        previous = widget(id);
    }
    widget(input_order.front())->setFocus();
}

void WindowView::mirror(const Change& change)
{
    if (!needs_showing(change)) return;
    QWidget* w = widget(change.id);
    if (change.field == Field::visible) {
        w->setVisible(model_.visible(change.id));
        return;
    }
    visit(change.id, [this, w](auto id) { show_state(w, id); });
}

void WindowView::show_state(QWidget* w, TextBox id)
{
    auto* edit = static_cast<QLineEdit*>(w);
    edit->setText(qt_text(model_.text(id)));
    edit->setCursorPosition(0);
}

void WindowView::show_state(QWidget* w, Label id)
{
    static_cast<QLabel*>(w)->setText(qt_text(model_.caption(id)));
}

void WindowView::show_state(QWidget* w, CommandButton id)
{
    static_cast<QPushButton*>(w)->setText(qt_text(model_.caption(id)));
}

void WindowView::show_state(QWidget* w, CheckBox id)
{
    auto* box = static_cast<QCheckBox*>(w);
    box->setText(qt_text(model_.caption(id)));
    box->setChecked(model_.value(id) == 1);
}

// Qt does not let an exception pass through its event loop: a fault that
// reaches a slot is told through the window's message path, and the program
// ends with a failure.
template <typename Action>
void WindowView::guarded(Action&& action) noexcept
{
    try {
        std::forward<Action>(action)();
    } catch (...) {
        model_.report_fault(std::current_exception());
        QCoreApplication::exit(EXIT_FAILURE);
    }
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

void MessageBoxPort::show(const Message& message)
{
    QMessageBox box(QMessageBox::Warning, qt_text(message.title), qt_text(message.prompt),
                    QMessageBox::Ok, parent_);
    box.setDefaultButton(QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    widen_for_title(box);
    box.exec();
}

}  // namespace ui::qt
