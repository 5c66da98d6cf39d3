// Renders the window offscreen into PNG files, for the README and for looking
// at the layout: render_window <folder> [<name>]
//   window.png          as the program starts
//   window-voltage.png  voltage transformer ticked, figures typed, Berechnen pressed
//   window-dark.png     the same under a dark colour scheme of the desktop
//   window-exponent.png Wh 1, Impulse 350000, Berechnen: a result too wide
//                       for its box, its exponent in sight
//   message.png         the input-error message
// With a name, only the second of these, as <folder>/<name>.png; with
// QT_SCALE_FACTOR set it shows the window as a HiDPI screen does:
//   QT_SCALE_FACTOR=2 render_window docs window-hidpi
// scripts/render-screenshots runs it so for `make screenshot` and for the
// test that the pictures in docs/ are what it renders.

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <string>

#include "ui/qt/window_view.h"
#include "tests/widget_testing.h"

namespace {

void save(QWidget& widget, const QString& path)
{
    if (!widget.grab().save(path)) throw std::runtime_error("cannot write " + path.toStdString());
    std::printf("%s\n", qPrintable(path));
}

// Types over the whole text of a box, as the user does: in the widget.
void type(const ui::qt::WindowView& view, ui::Control box, const QString& text)
{
    auto* edit = static_cast<QLineEdit*>(view.widget(box));
    edit->selectAll();
    edit->insert(text);
}

void press_berechnen(const ui::qt::WindowView& view)
{
    static_cast<QAbstractButton*>(view.widget(ui::Control::cmd_berechnen))->click();
}

// Ticks the voltage transformer, types the figures and presses Berechnen.
void fill_in(const ui::qt::WindowView& view)
{
    static_cast<QAbstractButton*>(view.widget(ui::Control::chk_Spannungswandler))->click();
    type(view, ui::Control::txt_spannungswandler, QStringLiteral("20000"));
    type(view, ui::Control::txt_stromwandler, QStringLiteral("400"));
    type(view, ui::Control::txt_impulse, QStringLiteral("1000"));
    press_berechnen(view);
}

// A window of its own, filled in, saved under the application's palette.
void save_filled_in(const QString& path)
{
    ui::qt::Program window;
    window.start();
    fill_in(window.view());
    save(window.view(), path);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // The offscreen platform says so each time a window is raised or resized.
    static const QtMessageHandler previous = qInstallMessageHandler(nullptr);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (!text.startsWith("This plugin does not support")) previous(type, context, text);
    });
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: render_window <folder> [<name>]\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    // The message box is drawn in the application's font, the face the
    // platform finds for "Sans Serif" among those installed: DejaVu Sans on
    // one machine, Nimbus Sans on the next. The pictures must come out the
    // same wherever they are rendered, so the box shows the face the window's
    // own font stands in with, which the Makefile installs.
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("Liberation Sans")});
    QApplication::setFont(font);
    if (argc == 3) {
        save_filled_in(folder.filePath(QString::fromLocal8Bit(argv[2]) + ".png"));
        return 0;
    }

    ui::qt::Program window;
    ui::Window& model = window.model();
    ui::qt::WindowView& view = window.view();
    window.start();
    save(view, folder.filePath("window.png"));
    fill_in(view);
    save(view, folder.filePath("window-voltage.png"));

    {
        ui::qt::Program exponent;
        exponent.start();
        type(exponent.view(), ui::Control::txt_impulse, QStringLiteral("350000"));
        type(exponent.view(), ui::Control::txt_wh, QStringLiteral("1"));
        press_berechnen(exponent.view());
        save(exponent.view(), folder.filePath("window-exponent.png"));
    }

    const QPalette desktop = QApplication::palette();
    QApplication::setPalette(widget_testing::dark_palette());
    save_filled_in(folder.filePath("window-dark.png"));
    QApplication::setPalette(desktop);

    QTimer::singleShot(50, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            save(*box, folder.filePath("message.png"));
            box->accept();
        }
    });
    model.user_replace_text(ui::Control::txt_wh, "");
    return 0;
}
