// The floors: the least that Qt 6 Widgets costs for a window like ours. The
// same kinds and numbers of widgets (6 line edits, 17 text labels, 2
// pictures, 1 check box, 1 push button, 12 one-pixel line widgets) at the
// same absolute places and in the same fonts, in a fixed-size tool window,
// and nothing else: no model, no handlers, no style, no translation, no
// icon. Typing into the current transformer box puts its text into the ratio
// label, so that a keystroke repaints the same two widgets as in our window.
//
// Built twice. korvantelo_floor shows our two pictures, read from Qt
// resources by file name as a plain Qt program would (the JPEG through
// Qt's image plugin). korvantelo_bare_floor (FLOOR_PAINTED_PICTURES) has no
// resources and loads no image: each picture is an image of the same size
// filled in code, which its widget draws itself.
//
// bench/startup and bench/keystroke run them beside our program; what we
// spend beyond them is our own.

#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>

#include <algorithm>
#include <array>

#include "ui/controls.h"
#include "ui/layout.h"

namespace {

QString qt_text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The face that our window's font resolves to on Debian.
QFont floor_font(ui::layout::Font font)
{
    const auto [pixel_height, bold] = ui::layout::font_info(font);
    QFont result(QStringLiteral("Liberation Sans"));
    result.setPixelSize(pixel_height);
    result.setBold(bold);
    return result;
}

#ifdef FLOOR_PAINTED_PICTURES
// A picture of the given size, drawn by its widget.
class PaintedPicture : public QWidget {
public:
    PaintedPicture(QSize size, QColor colour, QWidget* parent) : QWidget(parent), image_(size, QImage::Format_RGB32)
    {
        image_.fill(colour);
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override
    {
        QPainter painter(this);
        painter.drawImage(0, 0, image_);
    }

private:
    QImage image_;
};
#endif

QWidget* make_picture(ui::Control id, QWidget* parent)
{
    const bool panel = id == ui::Control::Image1;
#ifdef FLOOR_PAINTED_PICTURES
    return new PaintedPicture(panel ? QSize(184, 157) : QSize(584, 39), panel ? Qt::darkBlue : Qt::darkCyan,
                              parent);
#else
    auto* label = new QLabel(parent);
    label->setPixmap(QPixmap(panel ? QStringLiteral(":/art/image1.jpg") : QStringLiteral(":/art/image2.bmp")));
    return label;
#endif
}

QWidget* make_widget(const ui::ControlInfo& control, QWidget* parent)
{
    const QString text = qt_text(control.initial);
    switch (control.kind) {
    case ui::Kind::text_box: return new QLineEdit(text, parent);
    case ui::Kind::label: return new QLabel(text, parent);
    case ui::Kind::check_box: return new QCheckBox(text, parent);
    case ui::Kind::command_button: return new QPushButton(text, parent);
    case ui::Kind::image_box: return make_picture(control.id, parent);
    case ui::Kind::line: {
        auto* line = new QWidget(parent);
        line->setBackgroundRole(QPalette::Text);
        line->setAutoFillBackground(true);
        return line;
    }
    }
    return nullptr;
}

void place(QWidget* w, ui::Control id)
{
    if (const auto p = ui::layout::placement(id)) {
        const auto r = ui::layout::pixel_rect(*p);
        w->setGeometry(r.left, r.top, r.width, r.height);
        w->setFont(floor_font(p->font));
    } else if (const auto l = ui::layout::line_placement(id)) {
        const auto r = ui::layout::line_rect(*l);
        w->setGeometry(r.left, r.top, r.width, r.height);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint);
    window.setAttribute(Qt::WA_QuitOnClose, true);
    window.setFixedSize(ui::layout::pixels(ui::layout::client_width),
                        ui::layout::pixels(ui::layout::client_height));
    window.setFont(floor_font(ui::layout::Font::regular_8));

    std::array<QWidget*, ui::control_count> widgets{};
    for (const auto& control : ui::control_table) {
        QWidget* w = make_widget(control, &window);
        place(w, control.id);
        if (!control.visible) w->hide();
        widgets[ui::index(control.id)] = w;
    }

    auto* current = static_cast<QLineEdit*>(widgets[ui::index(ui::Control::txt_stromwandler)]);
    auto* ratio = static_cast<QLabel*>(widgets[ui::index(ui::Control::label_wandlerverhaeltnis)]);
    ratio->setText(current->text());
    QObject::connect(current, &QLineEdit::textEdited, ratio, &QLabel::setText);

    window.show();
    return QApplication::exec();
}
