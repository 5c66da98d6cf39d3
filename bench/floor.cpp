// The floors: the least that Qt 6 Widgets costs for a window like ours. The
// same kinds and numbers of widgets (6 line edits, 17 text labels, 2
// pictures, 1 check box, 1 push button, 12 one-pixel line widgets) at the
// places and in the fonts of the view plan that our window is built from,
// in a fixed-size tool window, and nothing else: no model, no handlers, no
// style, no groups, no translation, no icon. Typing into the current
// transformer box puts its text into the ratio label, so that a keystroke
// repaints the same two widgets as in our window.
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
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>

#include <array>

#include "ui/plan.h"
#include "ui/qt/fonts.h"

namespace {

QString qt_text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
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

QWidget* make_picture(const ui::plan::Entry& e, QWidget* parent)
{
#ifdef FLOOR_PAINTED_PICTURES
    const bool panel = *e.look.picture == ui::Picture::panel;
    return new PaintedPicture(QSize(e.rect.width, e.rect.height), panel ? Qt::darkBlue : Qt::darkCyan, parent);
#else
    auto* label = new QLabel(parent);
    label->setPixmap(QPixmap(QStringLiteral(":/art/") + qt_text(ui::picture_file(*e.look.picture))));
    return label;
#endif
}

QWidget* make_widget(const ui::plan::Entry& e, QWidget* parent)
{
    const QString text = qt_text(ui::info(e.id).initial);
    switch (e.kind) {
    case ui::Kind::text_box: return new QLineEdit(text, parent);
    case ui::Kind::label: return new QLabel(text, parent);
    case ui::Kind::check_box: return new QCheckBox(text, parent);
    case ui::Kind::command_button: return new QPushButton(text, parent);
    case ui::Kind::image_box: return make_picture(e, parent);
    case ui::Kind::line: {
        auto* line = new QWidget(parent);
        line->setBackgroundRole(QPalette::Text);
        line->setAutoFillBackground(true);
        return line;
    }
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const ui::plan::Plan& plan = ui::plan::base;
    QWidget window;
    window.setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    window.setAttribute(Qt::WA_QuitOnClose, true);
    window.setFixedSize(plan.width(), plan.height());
    const QStringList faces = ui::qt::window_faces();
    window.setFont(ui::qt::window_font(plan.font(), faces));

    std::array<QWidget*, ui::control_count> widgets{};
    for (const ui::plan::Entry& e : plan.entries()) {
        QWidget* w = make_widget(e, &window);
        w->setGeometry(e.rect.left, e.rect.top, e.rect.width, e.rect.height);
        if (e.kind != ui::Kind::line) w->setFont(ui::qt::window_font(e.font, faces));
        if (!e.visible) w->hide();
        widgets[ui::index(e.id)] = w;
    }

    auto* current = static_cast<QLineEdit*>(widgets[ui::index(ui::Control::txt_stromwandler)]);
    auto* ratio = static_cast<QLabel*>(widgets[ui::index(ui::Control::label_wandlerverhaeltnis)]);
    ratio->setText(current->text());
    QObject::connect(current, &QLineEdit::textEdited, ratio, &QLabel::setText);

    window.show();
    return QApplication::exec();
}
