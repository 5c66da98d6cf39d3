#include "ui/qt/window_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScopeGuard>
#include <QSpacerItem>
#include <QStyle>
#include <QStyleFactory>

#include <algorithm>
#include <limits>
#include <string>
#include <stdexcept>
#include <utility>

#include "ui/art/art.h"
#include "ui/layout.h"

namespace ui::qt {
namespace {

QString qt_text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont font_of(layout::Font font)
{
    const auto [pixel_height, bold] = layout::font_info(font);
    QFont result(QString::fromLatin1(layout::font_face));
    result.setPixelSize(pixel_height);
    result.setBold(bold);
    return result;
}

QRect pixel_rect(const layout::Placement& p)
{
    using layout::pixels;
    return {pixels(p.left), pixels(p.top), pixels(p.width), pixels(p.height)};
}

// A line one pixel wide in the window-text colour. The window's lines are all
// horizontal or vertical, so the line is its own small filled widget, which
// takes its place in the stacking like any other control.
QWidget* make_line(QWidget* parent, const layout::LinePlacement& l)
{
    using layout::pixels;
    if (l.x1 != l.x2 && l.y1 != l.y2) throw std::logic_error("only straight lines are drawn");
    auto* line = new QWidget(parent);
    const QPoint a(pixels(l.x1), pixels(l.y1));
    const QPoint b(pixels(l.x2), pixels(l.y2));
    // Both end points included, whichever way the line runs.
    line->setGeometry(QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                            QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y()))));
    line->setBackgroundRole(QPalette::Text);
    line->setAutoFillBackground(true);
    line->setAttribute(Qt::WA_TransparentForMouseEvents);
    return line;
}

// What a screen reader says of a box, and the tooltip that heads off the
// commonest mistakes of this job. The visible window does not change for it.
struct Accessible {
    Control id;
    const char* name;         // empty: the control's own text is its name
    const char* description;  // also the tooltip of an input
    bool tooltip;
};

constexpr std::array<Accessible, 8> accessible_texts = {{
    {Control::txt_impulse, "Impulse",
     "Impulszahl P vom Typenschild des Zählers, „P Impulse je W Wh“ – nicht aus imp/kWh umrechnen",
     true},
    {Control::txt_wh, "Energie in Wh",
     "Energie W in Wh vom Typenschild des Zählers, „P Impulse je W Wh“ – nicht aus imp/kWh umrechnen",
     true},
    {Control::txt_kwh, "Energie in kWh", "", false},
    {Control::txt_stromwandler, "Stromwandler primär in A",
     "Nur den Primärstrom des Stromwandlers in A eintragen; sekundär sind fest 5 A", true},
    {Control::txt_spannungswandler, "Spannungswandler primär in V",
     "Nur die Primärspannung des Spannungswandlers in V eintragen; sekundär sind fest 100 V", true},
    {Control::chk_Spannungswandler, "",
     "Nur ankreuzen, wenn der Zähler über einen Spannungswandler angeschlossen ist", true},
    {Control::txt_ergebnis, "Ergebnis in Wh pro Impuls", "", false},
    // A name set on a label would replace its text for assistive technology.
    {Control::label_wandlerverhaeltnis, "", "Wandlerverhältnis", false},
}};

struct Picture {
    Control id;
    std::string_view resource;
    const char* format;
};

constexpr std::array<Picture, 2> pictures = {{
    {Control::Image1, art::decoded_panel_path, "bmp"},
    {Control::Image2, art::banner_path, "bmp"},
}};

// Reads a picture with the reader that Qt has built in for its format. Asked
// for a picture by file name alone, Qt loads every image plugin (and libjpeg)
// to ask each whether it reads the file; with the format named and guessing
// turned off it loads none. A picture the window cannot show is a fault of
// the build, never something to pass over quietly.
QPixmap load_picture(std::string_view resource, const char* format)
{
    QImageReader reader(qt_text(resource), format);
    reader.setAutoDetectImageFormat(false);
    QImage picture = reader.read();
    if (picture.isNull()) throw std::runtime_error("cannot load picture " + std::string(resource));
    return QPixmap::fromImage(std::move(picture));
}

// The window icon at every size the program carries, each read with the
// PNG reader built into Qt, so that no image plugin is loaded.
QIcon window_icon()
{
    QIcon icon(load_picture(art::decoded_icon_path, "png"));
    for (std::string_view path : art::icon_size_paths) icon.addPixmap(load_picture(path, "png"));
    return icon;
}

}  // namespace

void install_font_substitutes()
{
    const QString face = QString::fromLatin1(layout::font_face);
    if (QFontDatabase::hasFamily(face)) return;
    // Faces of about the same pixel sizes and widths, the first one present
    // wins. The labels cut their text at fixed edges, so a wide face would cut
    // words such as "Wandlerverhältnis".
    QFont::insertSubstitutions(face, {QStringLiteral("Microsoft Sans Serif"),
                                      QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                      QStringLiteral("Arial"), QStringLiteral("Nimbus Sans")});
}

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
    setFont(font_of(layout::Font::regular_8));

    create_controls();
    apply_classic_style();
    stack_controls();
    chain_focus();
    model_.add_observer([this](Control id, Field field) { mirror(id, field); });
}

QWidget* WindowView::widget(Control id) const
{
    return widgets_.at(index(id));
}

void WindowView::create_controls()
{
    for (const auto& control : control_table) {
        QWidget* w = nullptr;
        const QString initial = qt_text(control.initial);
        switch (control.kind) {
        case Kind::text_box: {
            auto* edit = new QLineEdit(initial, this);
            edit->setMaxLength(std::numeric_limits<int>::max());  // no length limit
            connect_text_box(control.id, edit);
            w = edit;
            break;
        }
        case Kind::label: {
            auto* label = new QLabel(initial, this);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setBackgroundRole(QPalette::Button);
            label->setForegroundRole(QPalette::ButtonText);
            label->setAutoFillBackground(true);  // opaque
            w = label;
            break;
        }
        case Kind::check_box: {
            auto* box = new QCheckBox(initial, this);
            box->setBackgroundRole(QPalette::Button);
            box->setAutoFillBackground(true);
            const Control id = control.id;
            connect(box, &QCheckBox::clicked, this, [this, id] { model_.user_toggle(id); });
            w = box;
            break;
        }
        case Kind::command_button: {
            auto* button = new QPushButton(initial, this);
            button->setAutoDefault(false);  // Enter and Esc never press it
            button->setDefault(false);
            const Control id = control.id;
            connect(button, &QPushButton::clicked, this, [this, id] { model_.user_press(id); });
            w = button;
            break;
        }
        case Kind::image_box: {
            auto* image = new QLabel(this);
            image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            for (const auto& picture : pictures) {
                if (picture.id == control.id) image->setPixmap(load_picture(picture.resource, picture.format));
            }
            w = image;
            break;
        }
        case Kind::line:
            w = make_line(this, *layout::line_placement(control.id));
            break;
        }
        w->setObjectName(qt_text(control.name));
        if (const auto place = layout::placement(control.id)) {
            w->setGeometry(pixel_rect(*place));
            w->setFont(font_of(place->font));
        }
        w->setEnabled(control.enabled);
        w->setFocusPolicy(control.tab_stop ? Qt::StrongFocus : Qt::NoFocus);
        if (!control.visible) w->setVisible(false);
        widgets_[index(control.id)] = w;
    }

    // The two controls with colours of their own. Each fixes its text colour
    // with its ground, so that no colour scheme of the desktop (a dark one, a
    // high-contrast one) puts a light text on the ratio's light grey. Every
    // other control takes both colours from the desktop.
    QWidget* ratio = widget(Control::label_wandlerverhaeltnis);
    QPalette grey = ratio->palette();
    grey.setColor(QPalette::Button, QColor(192, 192, 192));
    grey.setColor(QPalette::ButtonText, Qt::black);
    ratio->setPalette(grey);
    QWidget* kwh = widget(Control::txt_kwh);
    QPalette white = kwh->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        white.setColor(group, QPalette::Base, Qt::white);
        white.setColor(group, QPalette::Text, Qt::black);
    }
    kwh->setPalette(white);

    for (const auto& a : accessible_texts) {
        QWidget* w = widget(a.id);
        if (*a.name != '\0') w->setAccessibleName(QString::fromUtf8(a.name));
        if (*a.description != '\0') w->setAccessibleDescription(QString::fromUtf8(a.description));
        if (a.tooltip) w->setToolTip(QString::fromUtf8(a.description));
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

void WindowView::connect_text_box(Control id, QLineEdit* edit)
{
    // textEdited follows every change the user makes (typing, deleting,
    // pasting, cutting, undo and redo, drag and drop, input methods), and
    // never a change made by setText.
    connect(edit, &QLineEdit::textEdited, this, [this, id, edit](const QString& text) {
        typing_ = edit;
        const auto done = qScopeGuard([this] { typing_ = nullptr; });
        model_.user_replace_text(id, text.toStdString());
    });
}

// Text boxes, the check box and the button lie above labels, lines and
// pictures; within each group a control listed earlier lies higher.
void WindowView::stack_controls()
{
    for (const bool upper : {false, true}) {
        for (auto it = control_table.rbegin(); it != control_table.rend(); ++it) {
            if (takes_input(it->kind) == upper) widget(it->id)->raise();
        }
    }
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

void WindowView::mirror(Control id, Field field)
{
    QWidget* w = widget(id);
    switch (field) {
    case Field::text: {
        auto* edit = static_cast<QLineEdit*>(w);
        const QString text = qt_text(model_.text(id));
        // The user's own edit is there already, and the cursor where they type.
        if (edit == typing_ && edit->text() == text) break;
        // A text the program writes shows from its first character, as in a
        // classic text box: a long figure scrolled to its end (QLineEdit puts
        // the cursor behind the text) would read as a different figure.
        if (edit->text() != text) edit->setText(text);
        edit->setCursorPosition(0);
        break;
    }
    case Field::caption: {
        const QString caption = qt_text(model_.caption(id));
        if (auto* label = qobject_cast<QLabel*>(w)) {
            label->setText(caption);
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            button->setText(caption);
        }
        break;
    }
    case Field::value:
        static_cast<QCheckBox*>(w)->setChecked(model_.value(id) == 1);
        break;
    case Field::visible:
        w->setVisible(model_.visible(id));
        break;
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
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) throw std::logic_error("the message box is laid out in a grid");
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
